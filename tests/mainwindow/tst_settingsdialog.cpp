#include "mainwindow/SettingsDialogImpl.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

// The dialog on its own; filling, saving and cancelling through the main
// window are tested with the window.
class TestSettingsDialog : public QObject
{
    Q_OBJECT
private slots:
    void widgets_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("inPrintGroup");
        QTest::addRow("company label") << "companyLabel" << "QLabel" << "Company:" << true;
        QTest::addRow("address label") << "addressLabel" << "QLabel" << "Address:" << true;
        QTest::addRow("contact label") << "contactLabel" << "QLabel" << "Contact:" << true;
        QTest::addRow("company") << "companyLineEdit" << "QLineEdit" << "" << true;
        QTest::addRow("address") << "addressLineEdit" << "QLineEdit" << "" << true;
        QTest::addRow("contact") << "contactLineEdit" << "QLineEdit" << "" << true;
        QTest::addRow("first image") << "printOnlyFirstImageCheckBox" << "QCheckBox" << "Print only first image" << true;
        QTest::addRow("advanced filter") << "advancedFilterCheckBox" << "QCheckBox"
                                         << "Advanced filter. Show more results." << false;
        QTest::addRow("simple programming") << "simpleProgrammingCheckBox" << "QCheckBox" << "Simple programming"
                                            << false;
        QTest::addRow("update check") << "automaticUpdatesChekingCheckBox" << "QCheckBox"
                                      << "Check for updates on startup" << false;
        QTest::addRow("save") << "savePushButton" << "QPushButton" << "Save changes" << false;
        QTest::addRow("cancel") << "cancelPushButton" << "QPushButton" << "Cancel" << false;
    }
    void widgets()
    {
        QFETCH(QString, name);
        QFETCH(QString, className);
        QFETCH(QString, text);
        QFETCH(bool, inPrintGroup);
        SettingsDialogImpl dialog;
        QWidget *w = dialog.findChild<QWidget *>(name);
        QVERIFY(w);
        QCOMPARE(QString(w->metaObject()->className()), className);
        QCOMPARE(w->property("text").toString(), text);
        QCOMPARE(dialog.printGroupBox->isAncestorOf(w), inPrintGroup);
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            QCOMPARE(edit->minimumSize(), QSize(0, 20));
    }

    void look()
    {
        SettingsDialogImpl dialog;
        QCOMPARE(dialog.objectName(), QString("SettingsDialog"));
        QCOMPARE(dialog.windowTitle(), QString("Settings"));
        QCOMPARE(dialog.printGroupBox->title(), QString("Print Options"));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
        QVERIFY(!dialog.parentWidget());
        QCOMPARE(dialog.size(), QSize(600, 500));
    }

    void sizeLimits_data()
    {
        QTest::addColumn<QSize>("requested");
        QTest::addColumn<QSize>("expected");
        QTest::addRow("too large") << QSize(900, 900) << QSize(600, 500);
        QTest::addRow("too small") << QSize(100, 100) << QSize(600, 332);
        QTest::addRow("between") << QSize(600, 400) << QSize(600, 400);
    }
    void sizeLimits()
    {
        QFETCH(QSize, requested);
        QFETCH(QSize, expected);
        SettingsDialogImpl dialog;
        dialog.show();
        dialog.resize(requested);
        QCOMPARE(dialog.size(), expected);
    }

    void cancelActsOnPress()
    {
        SettingsDialogImpl dialog;
        QTimer::singleShot(0, &dialog, [&] {
            dialog.companyLineEdit->setText("typed");
            QTest::mousePress(dialog.cancelPushButton, Qt::LeftButton);
            // Still down: the dialog must already be closed.
            QVERIFY(!dialog.isVisible());
            QTest::mouseRelease(dialog.cancelPushButton, Qt::LeftButton);
        });
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, &dialog, [&] { dialog.done(42); });
        guard.start(10000);
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(guard.isActive()); // closed by the button, not by the guard
        QCOMPARE(dialog.companyLineEdit->text(), QString("typed"));
    }

    void escapeCloses()
    {
        SettingsDialogImpl dialog;
        QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, &dialog, [&] { dialog.done(42); });
        guard.start(10000);
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
