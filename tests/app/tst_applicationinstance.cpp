// Application::getInstance() with no application object.
#include "app/Application.h"
#include "app/MessageBox.h"

#include <QtTest>

class TestApplicationInstance : public QObject
{
    Q_OBJECT
private slots:
    void noApplicationAtAll()
    {
        // Once every application object is gone no widget may be made: the
        // call only returns null.
        QVERIFY(!QCoreApplication::instance());
        QTest::ignoreMessage(QtDebugMsg,
                             "ERROR: Application::getInstance(): qApp is null now, but you try to access it...");
        QCOMPARE(Application::getInstance(), nullptr);
    }

    void plainQApplicationShowsErrorBox()
    {
        int argc = 1;
        char name[] = "tst";
        char *argv[] = {name, nullptr};
        QApplication app(argc, argv);
        MessageBox::setAutomatic(true);
        MessageBox::takeLog();
        QCOMPARE(Application::getInstance(), nullptr);
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].title, QStringLiteral("Error"));
        QCOMPARE(log[0].text, QStringLiteral("Attempt to access application instance after application termination"));
    }
};

QTEST_APPLESS_MAIN(TestApplicationInstance)
#include "tst_applicationinstance.moc"
