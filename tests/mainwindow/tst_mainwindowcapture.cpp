// The window's side of the capture store: its start values and the receive
// timer's slot, which hands closed messages on and keeps the timer running.
#include "TestSupport.h"
#include "app/MessageBox.h"
#include "mainwindow/MainWindowImpl.h"

#include <QDir>
#include <QSqlDatabase>
#include <QTimer>
#include <QtTest>

class TestMainWindowCapture : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_previousDir;
    MainWindowImpl *m_window = nullptr;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(TestSupport::writeSampleDirectory(m_dir.path()));
        m_previousDir = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        MessageBox::setAutomatic(true);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(QStringLiteral("rc.db"));
        QVERIFY(db.open());
    }
    void cleanupTestCase() { QDir::setCurrent(m_previousDir); }
    void init() { m_window = new MainWindowImpl; }
    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
        MessageBox::takeLog();
    }

    void storeStartValues()
    {
        const CaptureStore::Counters c = m_window->captureStore.counters();
        QCOMPARE(c.messageCount, 0);
        QCOMPARE(c.processedCount, 0);
        QCOMPARE(c.quietTicks, 1000);
        QCOMPARE(c.gapThreshold, 20000);
        QCOMPARE(c.messageLengthLimit, 1000000);
    }

    void lastMessageHandsOnClosedMessages()
    {
        CaptureStore &store = m_window->captureStore;
        const int frames[] = {2000, 1000, 2000, 1000, 2000, 8000, 2000, 1000, 2000, 1000, 8000};
        store.appendDurations(frames, int(std::size(frames)));
        QCOMPARE(store.counters().messageCount, 2);
        m_window->lastMessage();
        QCOMPARE(store.counters().processedCount, 2);
        QCOMPARE(store.captureSnapshot[0][4], 2000);
        QCOMPARE(store.captureSnapshot[1][3], -1020);
        QVERIFY(m_window->receiveTimer->isActive());
        QCOMPARE(m_window->receiveTimer->interval(), 50);
    }

    // Driven by its own timer: a message without a gap is closed by the pause.
    void receiveTimerClosesAfterAPause()
    {
        CaptureStore &store = m_window->captureStore;
        const int frame[] = {2000, 1000, 2000, 1000, 2000};
        store.appendDurations(frame, int(std::size(frame)));
        QTRY_COMPARE_WITH_TIMEOUT(store.counters().processedCount, 1, 3000);
        QCOMPARE(store.counters().messageCount, 1);
    }
};

QTEST_MAIN(TestMainWindowCapture)
#include "tst_mainwindowcapture.moc"
