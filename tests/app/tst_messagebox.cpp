#include "app/MessageBox.h"

#include <QPushButton>
#include <QtTest>

class TestMessageBox : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        MessageBox::setAutomatic(true);
        MessageBox::takeLog();
    }

    void logsAndAnswers()
    {
        MessageBox::setNextAnswer(QMessageBox::Yes);
        QCOMPARE(MessageBox::question(nullptr, QStringLiteral("Confirm"), QStringLiteral("Sure?")), QMessageBox::Yes);
        QCOMPARE(MessageBox::question(nullptr, QStringLiteral("Confirm"), QStringLiteral("Again?")), QMessageBox::No);
        MessageBox::information(nullptr, QStringLiteral("Information"), QStringLiteral("Done"));
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 3);
        QCOMPARE(log[0].kind, QStringLiteral("question"));
        QCOMPARE(log[0].answer, QStringLiteral("Yes"));
        QCOMPARE(log[1].text, QStringLiteral("Again?"));
        QCOMPARE(log[1].answer, QStringLiteral("No"));
        QCOMPARE(log[2].title, QStringLiteral("Information"));
        QCOMPARE(log[2].answer, QStringLiteral("Ok"));
    }

    void defaultButtonWhenUnanswered()
    {
        QCOMPARE(MessageBox::warning(nullptr, QStringLiteral("W"), QStringLiteral("t"),
                                     QMessageBox::Save | QMessageBox::Discard, QMessageBox::Discard),
                 QMessageBox::Discard);
    }

    void answerNotOfferedFallsBack()
    {
        MessageBox::setNextAnswer(QMessageBox::Yes);
        QCOMPARE(MessageBox::critical(nullptr, QStringLiteral("E"), QStringLiteral("t")), QMessageBox::Ok);
    }

    void boxBuiltByHand()
    {
        QMessageBox box;
        box.setWindowTitle(QStringLiteral("Replace"));
        box.setText(QStringLiteral("are you sure?"));
        QPushButton *replace = box.addButton(QStringLiteral("&Replace"), QMessageBox::AcceptRole);
        box.addButton(QMessageBox::Cancel);
        MessageBox::setNextAnswer(QStringLiteral("Replace"));
        MessageBox::exec(box);
        QCOMPARE(box.clickedButton(), replace);
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].kind, QStringLiteral("custom"));
        QCOMPARE(log[0].answer, QStringLiteral("Replace"));

        QMessageBox second;
        second.addButton(QMessageBox::Cancel);
        second.addButton(QMessageBox::Ok);
        QCOMPARE(MessageBox::exec(second), int(QMessageBox::Ok));
    }
};

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
