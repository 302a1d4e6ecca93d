// The start-up update check against a real HTTP server on 127.0.0.1.
#include "TestHttpServer.h"
#include "update/UpdateCheck.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

namespace {

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

struct Outcome
{
    bool done = false;
    UpdateCheck::Result result = UpdateCheck::Failed;
    QString detail;
    int signals_ = 0;
};

Outcome runCheck(const QString &dir, int timeoutMs, qint64 *elapsed = nullptr)
{
    Outcome o;
    UpdateCheck check(dir, timeoutMs);
    QObject::connect(&check, &UpdateCheck::finished, &check, [&o](UpdateCheck::Result r, const QString &detail) {
        o.done = true;
        o.result = r;
        o.detail = detail;
        ++o.signals_;
    });
    QElapsedTimer t;
    t.start();
    check.start();
    while (!o.done && t.elapsed() < 20000)
        QTest::qWait(10);
    if (elapsed)
        *elapsed = t.elapsed();
    QTest::qWait(50); // a second report would show here
    return o;
}

} // namespace

class TestUpdateCheck : public QObject
{
    Q_OBJECT

private slots:
    void compare_data()
    {
        QTest::addColumn<QByteArray>("local");
        QTest::addColumn<QByteArray>("remote");
        QTest::addColumn<int>("result");
        const int available = UpdateCheck::UpdatesAvailable, current = UpdateCheck::UpToDate,
                  failed = UpdateCheck::Failed;
        QTest::addRow("equal") << QByteArray("main=2024-01-01\ndatabase=2024-01-01\n")
                               << QByteArray("main=2024-01-01\ndatabase=2024-01-01\n") << current;
        QTest::addRow("database newer") << QByteArray("main=2024-01-01\ndatabase=2024-01-01\n")
                                        << QByteArray("main=2024-01-01\ndatabase=2024-01-02\n") << available;
        QTest::addRow("other newer, local missing") << QByteArray() << QByteArray("other=2000-01-01\n") << available;
        QTest::addRow("only the updater newer") << QByteArray("update=2024-01-01\nmain=2024-01-01\n")
                                                << QByteArray("update=2025-01-01\nmain=2024-01-01\n") << current;
        QTest::addRow("server older") << QByteArray("main=2024-01-01\n") << QByteArray("main=2023-01-01\n")
                                      << current;
        QTest::addRow("server dates no dates") << QByteArray("main=2024-01-01\n")
                                               << QByteArray("main=today\ndatabase=2024-02-31\n") << failed;
    }
    void compare()
    {
        QFETCH(QByteArray, local);
        QFETCH(QByteArray, remote);
        QFETCH(int, result);
        TestHttpServer server;
        QVERIFY(server.listen());
        server.setFile("/u/config.ini", "[UpdateInfo]\n" + remote);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("update-tmp"));
        QVERIFY(writeFile(dir.filePath("config.ini"),
                          "[UpdateInfo]\nserver=" + server.url("/u/").toUtf8() + "\n" + local));
        const Outcome o = runCheck(dir.path(), 5000);
        QVERIFY(o.done);
        QCOMPARE(o.signals_, 1);
        QCOMPARE(int(o.result), result);
        QCOMPARE(server.requests(), QStringList{"/u/config.ini"});
        QFile copy(dir.filePath("update-tmp/config-check.ini"));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), "[UpdateInfo]\n" + remote);
    }

    // A server that never answers: the check gives up on its time-out.
    void silentServer()
    {
        TestHttpServer server;
        QVERIFY(server.listen());
        server.setAnswer("/config.ini", {200, {}, -1, true});
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("update-tmp"));
        QVERIFY(writeFile(dir.filePath("config.ini"), "[UpdateInfo]\nserver=" + server.url("/").toUtf8() + "\n"));
        qint64 elapsed = 0;
        const Outcome o = runCheck(dir.path(), 400, &elapsed);
        QVERIFY(o.done);
        QCOMPARE(o.result, UpdateCheck::Failed);
        QVERIFY2(elapsed >= 350 && elapsed < 5000, qPrintable(QString::number(elapsed)));
        QVERIFY(!QFile::exists(dir.filePath("update-tmp/config-check.ini")));
    }

    void failures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addRow("nothing listens") << "refused";
        QTest::addRow("404") << "404";
        QTest::addRow("server empty") << "empty";
        QTest::addRow("no update-tmp") << "no-tmp";
        QTest::addRow("copy is a folder") << "folder";
    }
    void failures()
    {
        QFETCH(QString, kind);
        TestHttpServer server;
        QVERIFY(server.listen());
        server.setFile("/config.ini", "[UpdateInfo]\nmain=2030-01-01\n");
        QTemporaryDir dir;
        if (kind != QLatin1String("no-tmp"))
            QVERIFY(QDir(dir.path()).mkdir("update-tmp"));
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir(dir.path()).mkpath("update-tmp/config-check.ini"));
        QString address = server.url(kind == QLatin1String("404") ? "/missing/" : "/");
        if (kind == QLatin1String("refused"))
            address = QStringLiteral("http://127.0.0.1:1/");
        else if (kind == QLatin1String("empty"))
            address.clear();
        QVERIFY(writeFile(dir.filePath("config.ini"), "[UpdateInfo]\nserver=" + address.toUtf8() + "\n"));
        qint64 elapsed = 0;
        const Outcome o = runCheck(dir.path(), 5000, &elapsed);
        QVERIFY(o.done);
        QCOMPARE(o.signals_, 1);
        QCOMPARE(o.result, UpdateCheck::Failed);
        QVERIFY(!o.detail.isEmpty());
        QVERIFY2(elapsed < 4000, qPrintable(QString::number(elapsed)));
    }
    // Redirects to another server and oversized answers fail the check with
    // a message saying why; nothing is asked of the other server.
    void refusedAnswers_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addRow("redirect to another port") << "redirect";
        QTest::addRow("50 MB streamed") << "large";
        // Judged on its headers: neither read nor refused for its size.
        QTest::addRow("redirect with an endless body") << "endless";
        QTest::addRow("redirect announcing 10 GiB") << "announced";
    }
    void refusedAnswers()
    {
        QFETCH(QString, kind);
        TestHttpServer server, other;
        QVERIFY(server.listen());
        QVERIFY(other.listen());
        other.setFile("/config.ini", "[UpdateInfo]\nmain=2030-01-01\n");
        const bool redirect = kind != QLatin1String("large");
        if (kind == QLatin1String("redirect"))
            server.setRedirect("/config.ini", other.url("/config.ini"));
        else if (kind == QLatin1String("endless"))
            server.setRedirectStream("/config.ini", other.url("/config.ini"), -1);
        else if (kind == QLatin1String("announced"))
            server.setRedirectStream("/config.ini", other.url("/config.ini"), 1000,
                                     qint64(10) * 1024 * 1024 * 1024);
        else
            server.setStream("/config.ini", qint64(50) * 1000 * 1000, false);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("update-tmp"));
        QVERIFY(writeFile(dir.filePath("config.ini"), "[UpdateInfo]\nserver=" + server.url("/").toUtf8() + "\n"));
        const Outcome o = runCheck(dir.path(), 10000);
        QVERIFY(o.done);
        QCOMPARE(o.result, UpdateCheck::Failed);
        QVERIFY2(o.detail.contains(redirect ? other.hostAndPort() : QStringLiteral("larger")), qPrintable(o.detail));
        QVERIFY(other.requests().isEmpty());
        if (redirect)
            QVERIFY2(server.bytesSent("/config.ini") < 4 * 1024 * 1024,
                     qPrintable(QString::number(server.bytesSent("/config.ini"))));
        QCOMPARE(QDir(dir.filePath("update-tmp")).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // A redirect loop stores nothing and says so; a refused redirect names
    // the scheme it was sent to.
    void redirectLoopAndScheme_data()
    {
        QTest::addColumn<QStringList>("chain"); // each path redirects to the next; the last to the first
        QTest::addColumn<QString>("message");
        QTest::addRow("to itself") << QStringList{"/config.ini"} << "redirected the request in a loop";
        QTest::addRow("between two addresses") << QStringList{"/config.ini", "/moved/config.ini"}
                                               << "redirected the request in a loop";
        QTest::addRow("to https on the same host and port") << QStringList{"/config.ini", "https"} << "https://";
    }
    void redirectLoopAndScheme()
    {
        QFETCH(QStringList, chain);
        QFETCH(QString, message);
        TestHttpServer server;
        QVERIFY(server.listen());
        if (chain.last() == QLatin1String("https")) {
            server.setRedirect(chain[0], QStringLiteral("https://") + server.hostAndPort() + chain[0]);
            message += server.hostAndPort();
        } else {
            for (int i = 0; i < chain.size(); ++i)
                server.setRedirect(chain[i], server.url(i + 1 < chain.size() ? chain[i + 1] : chain[0]));
        }
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("update-tmp"));
        QVERIFY(writeFile(dir.filePath("config.ini"), "[UpdateInfo]\nserver=" + server.url("/").toUtf8() + "\n"));
        const Outcome o = runCheck(dir.path(), 10000);
        QVERIFY(o.done);
        QCOMPARE(o.result, UpdateCheck::Failed);
        QVERIFY2(o.detail.contains(message), qPrintable(o.detail));
        QCOMPARE(QDir(dir.filePath("update-tmp")).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
