#include "app/MessageBox.h"

#include <QLabel>
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

    // Names and codes from the catalogue or a device must not be drawn as markup:
    // a picture tag would grow the box past the screen.
    void textsArePlain_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("information") << QStringLiteral("information");
        QTest::newRow("warning") << QStringLiteral("warning");
        QTest::newRow("critical") << QStringLiteral("critical");
        QTest::newRow("question") << QStringLiteral("question");
    }

    void textsArePlain()
    {
        QFETCH(QString, kind);
        const QString hostile = QStringLiteral("Delete  ACME  <img src=\"/tmp/x.jpg\"><b>B</b>  ?");
        if (kind == QLatin1String("information"))
            MessageBox::information(nullptr, QStringLiteral("T"), hostile);
        else if (kind == QLatin1String("warning"))
            MessageBox::warning(nullptr, QStringLiteral("T"), hostile);
        else if (kind == QLatin1String("critical"))
            MessageBox::critical(nullptr, QStringLiteral("T"), hostile);
        else
            MessageBox::question(nullptr, QStringLiteral("T"), hostile);
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].kind, kind);
        QCOMPARE(log[0].text, hostile);
        QCOMPARE(log[0].textFormat, Qt::PlainText);
    }

    void boxByHandIsPlainUnlessChosen()
    {
        QMessageBox box;
        box.setText(QStringLiteral("<a href=\"x\">link</a>"));
        box.addButton(QMessageBox::Ok);
        MessageBox::exec(box);
        QCOMPARE(box.textFormat(), Qt::PlainText);
        auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label);
        QCOMPARE(label->textFormat(), Qt::PlainText);

        QMessageBox rich;
        rich.setTextFormat(Qt::RichText);
        rich.setText(QStringLiteral("<b>ours</b>"));
        MessageBox::exec(rich);
        QCOMPARE(rich.textFormat(), Qt::RichText);

        MessageBox::about(nullptr, QStringLiteral("About"), QStringLiteral("<b>ours</b>"));
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 3);
        QCOMPARE(log[0].textFormat, Qt::PlainText);
        QCOMPARE(log[1].textFormat, Qt::RichText);
        QCOMPARE(log[2].textFormat, Qt::RichText);
    }
};

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
