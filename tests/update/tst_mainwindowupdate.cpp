// The start-up update check and the update dialog as the main window runs
// them: in process for the check's behaviour, and the whole program as a
// child process for the road from the question to the updater and the end.
#include "TestHttpServer.h"
#include "TestSupport.h"
#include "app/MessageBox.h"
#include "mainwindow/MainWindowImpl.h"
#include "update/UpdateCheck.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QSqlDatabase>
#include <QtTest>

constexpr QFile::Permissions executable = TestSupport::executablePermissions;

namespace {

// The boxes the update check asked; boxes of other features are not its business.
QList<MessageBox::Record> updateQuestions()
{
    QList<MessageBox::Record> asked;
    for (const MessageBox::Record &r : MessageBox::takeLog()) {
        if (r.title == QLatin1String("Automatic updates checking"))
            asked.append(r);
    }
    return asked;
}

} // namespace

class TestMainWindowUpdate : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    TestHttpServer *m_server = nullptr;
    QString m_previousDir;

    // A sample working directory whose config.ini asks for the check at start
    // and points at the test server; the stand-in updater waits in update/.
    void scene(const QString &serverAddress = QString(), bool atStart = true)
    {
        QVERIFY(TestSupport::writeSampleDirectory(m_dir->path()));
        const QDir d(m_dir->path());
        QVERIFY(TestSupport::writeFile(d.filePath("update/v-ivizuziz.exe"), TestSupport::updaterStandIn(), executable));
        QSettings s(d.filePath("config.ini"), QSettings::IniFormat);
        s.setValue("UpdateInfo/automaticUpdatesCheking", atStart);
        s.setValue("UpdateInfo/server", serverAddress.isNull() ? m_server->url("/srv/") : serverAddress);
        s.setValue("UpdateInfo/main", "2024-01-01");
        s.setValue("UpdateInfo/database", "2024-01-01");
        s.setValue("UpdateInfo/other", "2024-01-01");
    }

    // In process the test starts the check itself, once.
    void inProcessScene(const QString &serverAddress = QString()) { scene(serverAddress, false); }

    QString path(const QString &relative) const { return QDir(m_dir->path()).filePath(relative); }

    void openCatalogue()
    {
        QVERIFY(QDir::setCurrent(m_dir->path()));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(QStringLiteral("rc.db"));
        QVERIFY(db.open());
    }

private slots:
    void initTestCase()
    {
        MessageBox::setAutomatic(true);
        m_previousDir = QDir::currentPath();
    }
    void init()
    {
        m_dir = new QTemporaryDir;
        m_server = new TestHttpServer;
        QVERIFY(m_server->listen());
    }
    void cleanup()
    {
        QDir::setCurrent(m_previousDir);
        if (QSqlDatabase::contains(QSqlDatabase::defaultConnection)) {
            QSqlDatabase::database().close();
            QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
        }
        delete m_server;
        delete m_dir;
        MessageBox::takeLog();
    }

    // A server that never answers: the window goes on working while the
    // check waits, and the check gives up on its time-out without a word.
    void silentServerKeepsWindowUsable()
    {
        inProcessScene();
        m_server->setAnswer("/srv/config.ini", {200, {}, -1, true});
        openCatalogue();
        MainWindowImpl w;
        w.show();
        QElapsedTimer t;
        t.start();
        w.checkUpdatesAtStart();
        QVERIFY(t.elapsed() < 2000); // returns at once, not after the time-out
        QTRY_COMPARE(m_server->requests().size(), 1);
        QVERIFY(w.findChild<UpdateCheck *>());

        // Meanwhile the window answers: timers tick, a tab change goes through.
        bool fired = false;
        QTimer::singleShot(50, &w, [&fired] { fired = true; });
        QTRY_VERIFY_WITH_TIMEOUT(fired, 1000);
        w.tabWidget->setCurrentIndex(3);
        QCOMPARE(w.tabWidget->currentIndex(), 3);
        QVERIFY(w.findChild<UpdateCheck *>()); // all that while the check was still waiting

        QTRY_VERIFY_WITH_TIMEOUT(!w.findChild<UpdateCheck *>(), 10000);
        QVERIFY(t.elapsed() >= UpdateCheck::defaultTimeoutMs - 100);
        QVERIFY(updateQuestions().isEmpty());
        QVERIFY(!w.updateDialog);
    }

    void unreachableServer()
    {
        inProcessScene(QStringLiteral("http://127.0.0.1:1/"));
        openCatalogue();
        MainWindowImpl w;
        w.checkUpdatesAtStart();
        QTRY_VERIFY_WITH_TIMEOUT(!w.findChild<UpdateCheck *>(), 4000);
        QVERIFY(updateQuestions().isEmpty());
        QVERIFY(!w.updateDialog);
    }

    void answerNo()
    {
        inProcessScene();
        m_server->setFile("/srv/config.ini", "[UpdateInfo]\nmain=2024-01-01\ndatabase=2024-06-01\n");
        openCatalogue();
        MainWindowImpl w;
        MessageBox::takeLog();
        MessageBox::setNextAnswer(QMessageBox::No);
        w.checkUpdatesAtStart();
        QTRY_VERIFY(!w.findChild<UpdateCheck *>());
        const auto log = updateQuestions();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].kind, QStringLiteral("question"));
        QCOMPARE(log[0].title, QStringLiteral("Automatic updates checking"));
        QCOMPARE(log[0].text, QStringLiteral("Updates are available. Do you want to update?"));
        QVERIFY(!w.updateDialog);
        QCOMPARE(m_server->requests(), QStringList{"/srv/config.ini"});
        QCOMPARE(TestSupport::readText(path("update-tmp/config-check.ini")),
                 QStringLiteral("[UpdateInfo]\nmain=2024-01-01\ndatabase=2024-06-01\n"));
    }

    void nothingNewerAsksNothing()
    {
        inProcessScene();
        m_server->setFile("/srv/config.ini", "[UpdateInfo]\nmain=2024-01-01\nupdate=2030-01-01\n");
        openCatalogue();
        MainWindowImpl w;
        MessageBox::takeLog();
        w.checkUpdatesAtStart();
        QTRY_VERIFY(!w.findChild<UpdateCheck *>());
        QVERIFY(updateQuestions().isEmpty());
    }

    void windowClosedWhileChecking()
    {
        inProcessScene();
        m_server->setAnswer("/srv/config.ini", {200, {}, -1, true});
        openCatalogue();
        auto *w = new MainWindowImpl;
        w->checkUpdatesAtStart();
        QTRY_COMPARE(m_server->requests().size(), 1);
        delete w;
        QTest::qWait(100);
        QVERIFY(updateQuestions().isEmpty());
    }

    // The whole road: question at start, Yes, the dialog fetches the newer
    // package, the updater runs in update/ with "-A true", and the program
    // ends in order with status 0.
    void fullRoad()
    {
        scene();
        const QByteArray info = "[UpdateInfo]\nmain=2024-01-01\ndatabase=2024-03-01\nother=2024-01-01\n";
        m_server->setFile("/srv/config.ini", info);
        m_server->setFile("/srv/rcdb.zip", QByteArray(50000, 'c'));
        const TestSupport::RunResult r = TestSupport::runProgram(m_dir->path(), {}, {"Yes"}, 60000);
        QVERIFY2(r.finished, qPrintable(r.output));
        QCOMPARE(r.exitStatus, QProcess::NormalExit);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.boxes.size(), 1);
        QCOMPARE(r.boxes[0].kind, QStringLiteral("question"));
        QCOMPARE(r.boxes[0].title, QStringLiteral("Automatic updates checking"));
        QCOMPARE(r.boxes[0].answer, QStringLiteral("Yes"));
        QCOMPARE(m_server->requests(), (QStringList{"/srv/config.ini", "/srv/config.ini", "/srv/rcdb.zip"}));
        QCOMPARE(QFileInfo(path("update-tmp/rcdb.zip")).size(), 50000);
        QTRY_COMPARE(TestSupport::readText(path("update/updater-ran.txt")),
                     QFileInfo(path("update")).absoluteFilePath() + "\n-A\ntrue\n");
        // Every worker stopped on the way out.
        QVERIFY2(r.output.contains("Application: stopped UsbReceiverDots"), qPrintable(r.output));
        QVERIFY(r.output.contains("Application: stopped UsbConnection"));
        QVERIFY(r.output.contains("Application: stopped UsbFunctions"));
    }

    void failedDownloadKeepsProgramRunning()
    {
        scene();
        m_server->setFile("/srv/config.ini", "[UpdateInfo]\nmain=2024-02-01\n");
        // main.zip is not there: 404.
        const TestSupport::RunResult r =
            TestSupport::runProgram(m_dir->path(), {"IRVANTA_CLOSE_AFTER_MS=3000"}, {"Yes"}, 60000);
        QVERIFY2(r.finished, qPrintable(r.output));
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(m_server->requests(), (QStringList{"/srv/config.ini", "/srv/config.ini", "/srv/main.zip"}));
        QVERIFY(!QFile::exists(path("update-tmp/main.zip")));
        QVERIFY(!QFile::exists(path("update/updater-ran.txt")));
    }
};

QTEST_MAIN(TestMainWindowUpdate)
#include "tst_mainwindowupdate.moc"
