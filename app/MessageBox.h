#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>

// Every message box of the program goes through here, so that a test can read
// what was asked and answer it without a person.
//
// Automatic mode (set by a test, or by the environment variable
// IRVANTA_MESSAGEBOX_LOG for a child process) never shows a box: each one is
// logged and answered with the next queued answer, or else with its default.
// In a child process every box is appended to the file named by
// IRVANTA_MESSAGEBOX_LOG as one line "kind<TAB>title<TAB>text<TAB>answer"
// (tabs and newlines in texts are escaped as \t and \n), and answers are taken
// from IRVANTA_MESSAGEBOX_ANSWERS, a comma-separated list of standard button
// names ("Yes", "No", "Ok", ...) or button texts.
class MessageBox
{
public:
    struct Record
    {
        QString kind; // "information", "warning", "critical", "question", "about", "custom"
        QString title;
        QString text;
        QString answer;
        Qt::TextFormat textFormat = Qt::AutoText; // how the box drew its text
    };

    static QMessageBox::StandardButton information(QWidget *parent, const QString &title, const QString &text,
                                                   QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                   QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton warning(QWidget *parent, const QString &title, const QString &text,
                                               QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                               QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton critical(QWidget *parent, const QString &title, const QString &text,
                                                QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton question(QWidget *parent, const QString &title, const QString &text,
                                                QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No,
                                                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static void about(QWidget *parent, const QString &title, const QString &text);

    // Box texts carry names, codes and errors from the catalogue, files and
    // devices, so they are drawn as plain text; only the About box is our own
    // markup. A box built by hand is drawn as plain text too unless its
    // caller chose a format.
    // A box built by hand: shown modally, or answered in automatic mode.
    // Returns what QMessageBox::exec() returns; clickedButton() is set either way.
    static int exec(QMessageBox &box);

    // Test hooks.
    static void setAutomatic(bool on);
    static bool isAutomatic();
    static void setNextAnswer(QMessageBox::StandardButton answer);
    static void setNextAnswer(const QString &buttonText);
    static QList<Record> log();
    static QList<Record> takeLog();
};
