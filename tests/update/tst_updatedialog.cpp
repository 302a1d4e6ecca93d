// The update dialog on top of the update sequence, offscreen, against a real
// HTTP server on 127.0.0.1.
#include "TestHttpServer.h"
#include "TestSupport.h"
#include "update/UpdateDialog.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <cerrno>
#include <cstring>

constexpr QFile::Permissions executable = TestSupport::executablePermissions;

class TestUpdateDialog : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    TestHttpServer *m_server = nullptr;
    QString m_oldCurrent;

    // The dialog works in the current directory, as the program does.
    void scene(const QByteArray &localUpdateInfo, const QByteArray &serverUpdateInfo)
    {
        QDir d(m_dir->path());
        QVERIFY(d.mkpath("update-tmp"));
        QVERIFY(d.mkpath("update"));
        QVERIFY(TestSupport::writeFile(d.filePath("update/v-ivizuziz.exe"), TestSupport::updaterStandIn(), executable));
        QVERIFY(TestSupport::writeFile(d.filePath("config.ini"), "[UpdateInfo]\nserver="
                                           + m_server->url("/up/").toUtf8() + "\n" + localUpdateInfo));
        m_server->setFile("/up/config.ini", "[UpdateInfo]\n" + serverUpdateInfo);
    }

    QString path(const QString &relative) const { return QDir(m_dir->path()).filePath(relative); }

    static QString colour(const UpdateDialog &d) { return d.statusLabel->styleSheet(); }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        m_server = new TestHttpServer;
        QVERIFY(m_server->listen());
        m_oldCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir->path()));
    }
    void cleanup()
    {
        QDir::setCurrent(m_oldCurrent);
        delete m_server;
        delete m_dir;
    }

    void form()
    {
        scene("main=2024-01-01\n", "main=2024-01-01\n");
        UpdateDialog d;
        QCOMPARE(d.objectName(), QStringLiteral("UpdateDialog"));
        QCOMPARE(d.windowTitle(), QStringLiteral("Update"));
        QCOMPARE(d.minimumSize(), QSize(400, 140));
        QCOMPARE(d.maximumSize(), QSize(400, 140));
        QCOMPARE(d.progressBar->geometry(), QRect(10, 20, 380, 23));
        QCOMPARE(d.cancelPB->geometry(), QRect(130, 100, 140, 23));
        QCOMPARE(d.statusLabel->geometry(), QRect(10, 60, 380, 23));
        // Started before it is shown.
        QCOMPARE(d.statusLabel->text(), QStringLiteral("Check for updates"));
        QCOMPARE(colour(d), QStringLiteral("QLabel { color: black}"));
    }

    void nothingToFetch()
    {
        scene("main=2024-01-01\n", "main=2024-01-01\nupdate=2030-01-01\n");
        UpdateDialog d;
        d.show();
        QTRY_COMPARE(d.statusLabel->text(), QStringLiteral("You have new software version. No need update."));
        QCOMPARE(colour(d), QStringLiteral("QLabel { color: green}"));
        QCOMPARE(d.cancelPB->text(), QStringLiteral("Ok"));
        // Nothing was measured: no "0%".
        QVERIFY2(d.progressBar->text().isEmpty(), qPrintable(d.progressBar->text()));
        QVERIFY(!d.handedOver());
        QTest::mouseClick(d.cancelPB, Qt::LeftButton);
        QTRY_VERIFY(!d.isVisible());
    }

    void failureInRed_data()
    {
        QTest::addColumn<QByteArray>("serverInfo");
        QTest::addColumn<bool>("withMain");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("redirect");
        QTest::addRow("404") << QByteArray("main=2024-02-01\n") << false << "Update server not found" << false;
        QTest::addRow("no dates") << QByteArray("main=someday\n") << true
                                  << "The update information on the server cannot be read." << false;
        QTest::addRow("redirect elsewhere")
            << QByteArray("main=2024-02-01\n") << true
            << "The update was stopped: the server sent the request on to another address, %1." << true;
    }
    void failureInRed()
    {
        QFETCH(QByteArray, serverInfo);
        QFETCH(bool, withMain);
        QFETCH(QString, text);
        QFETCH(bool, redirect);
        scene("main=2024-01-01\n", serverInfo);
        if (withMain)
            m_server->setFile("/up/main.zip", "zip");
        TestHttpServer other;
        QVERIFY(other.listen());
        if (redirect) {
            other.setFile("/up/config.ini", "[UpdateInfo]\n" + serverInfo);
            m_server->setRedirect("/up/config.ini", other.url("/up/config.ini"));
            text = text.arg(QStringLiteral("http://") + other.hostAndPort());
        }
        UpdateDialog d;
        d.show();
        QTRY_COMPARE(d.statusLabel->text(), text);
        QCOMPARE(colour(d), QStringLiteral("QLabel { color: red}"));
        // Nothing is left to cancel.
        QCOMPARE(d.cancelPB->text(), QStringLiteral("Close"));
        QVERIFY(d.progressBar->text().isEmpty());
        QVERIFY(!QFile::exists(path("update-tmp/main.zip")));
        QVERIFY(!d.handedOver());
    }

    void cannotSaveNamesTheFile()
    {
        scene("main=2024-01-01\n", "main=2024-02-01\n");
        QVERIFY(QDir().mkpath(path("update-tmp/main.zip")));
        UpdateDialog d;
        QTRY_VERIFY(d.statusLabel->text().startsWith("Unable to save the file update-tmp/main.zip: "));
        QCOMPARE(colour(d), QStringLiteral("QLabel { color: red}"));
        QCOMPARE(d.cancelPB->text(), QStringLiteral("Close"));
    }

    // Closing the dialog stops the transfer and removes the partial file.
    void closeAborts_data()
    {
        QTest::addColumn<bool>("byButton");
        QTest::addRow("Cancel button") << true;
        QTest::addRow("window closed") << false;
    }
    void closeAborts()
    {
        QFETCH(bool, byButton);
        scene("main=2024-01-01\nother=2024-01-01\n", "main=2024-02-01\nother=2024-02-01\n");
        m_server->setAnswer("/up/main.zip", {200, {}, -1, true});
        m_server->setFile("/up/other.zip", "other");
        UpdateDialog d;
        d.show();
        QTRY_COMPARE(m_server->requests().size(), 2);
        QVERIFY(d.downloader().isRunning());
        // The transfer writes to a temporary file beside update-tmp/main.zip.
        const auto tmpFiles = [this] {
            return QDir(path("update-tmp")).entryList(QDir::Files | QDir::Hidden);
        };
        QTRY_COMPARE(tmpFiles().size(), 2);
        if (byButton)
            QTest::mouseClick(d.cancelPB, Qt::LeftButton);
        else
            d.close();
        QVERIFY(!d.isVisible());
        QVERIFY(!d.downloader().isRunning());
        QVERIFY(!QFile::exists(path("update-tmp/main.zip")));
        QCOMPARE(tmpFiles(), QStringList{"config.ini"});
        QTest::qWait(300);
        QCOMPARE(m_server->requests().size(), 2);
        QVERIFY(!QFile::exists(path("update/updater-ran.txt")));
    }

    // A refused updater package: the whole reason is readable and the bar no
    // longer claims the work is done.
    void unpackFailureShowsItsReason()
    {
        scene("main=2024-01-01\nupdate=2024-01-01\n", "main=2024-02-01\nupdate=2024-02-01\n");
        const QString zip = path("package.zip");
        QVERIFY(TestSupport::writeZip(zip, {{"../escaped-everywhere/and-further/updater-part.txt", "x"}}));
        QFile package(zip);
        QVERIFY(package.open(QIODevice::ReadOnly));
        m_server->setFile("/up/update-software.zip", package.readAll());
        m_server->setFile("/up/main.zip", QByteArray(50000, 'm'));
        UpdateDialog d;
        int fullest = 0;
        connect(d.progressBar, &QProgressBar::valueChanged, this,
                [&] { fullest = qMax(fullest, d.progressBar->value()); });
        d.show();
        QTRY_VERIFY(d.statusLabel->text().startsWith("Unable to unpack update-software.zip: "));
        QVERIFY2(d.statusLabel->text().contains("\"../escaped-everywhere/and-further/updater-part.txt\""),
                 qPrintable(d.statusLabel->text()));
        QCOMPARE(colour(d), QStringLiteral("QLabel { color: red}"));
        // A name from the package is shown as it stands, never as markup.
        QCOMPARE(d.statusLabel->textFormat(), Qt::PlainText);
        QVERIFY(!d.handedOver());
        QVERIFY(!QFile::exists(path("update/updater-ran.txt")));

        // Every word fits the line's width, every line its height, and the
        // line lies inside the dialog, clear of the button.
        QVERIFY(d.statusLabel->wordWrap());
        const QFontMetrics metrics = d.statusLabel->fontMetrics();
        for (const QString &word : d.statusLabel->text().split(' ', Qt::SkipEmptyParts))
            QVERIFY2(metrics.horizontalAdvance(word) <= d.statusLabel->contentsRect().width(), qPrintable(word));
        QVERIFY(d.statusLabel->heightForWidth(d.statusLabel->width()) <= d.statusLabel->height());
        QVERIFY(d.rect().contains(d.statusLabel->geometry()));
        QVERIFY(d.rect().contains(d.cancelPB->geometry()));
        QVERIFY(d.rect().contains(d.progressBar->geometry()));
        QVERIFY(!d.statusLabel->geometry().intersects(d.cancelPB->geometry()));
        QVERIFY(!d.statusLabel->geometry().intersects(d.progressBar->geometry()));
        QVERIFY(d.statusLabel->height() > 23); // it did need more than the form's one line

        // The downloads had filled the bar; the failure empties it.
        QCOMPARE(fullest, d.progressBar->maximum());
        QCOMPARE(d.progressBar->value(), d.progressBar->minimum() - 1);
        QVERIFY(d.progressBar->text().isEmpty());
    }

    // The record of the update in config.ini fails (a folder stands in its
    // place): the dialog's text gives the reason, not only its tooltip.
    void recordFailureShowsItsReason()
    {
        scene("main=2024-01-01\nupdate=2024-01-01\n", "main=2024-02-01\nupdate=2024-02-01\n");
        const QString zip = path("package.zip");
        QVERIFY(TestSupport::writeZip(zip, {{"v-ivizuziz.exe", TestSupport::updaterStandIn(), executable}}));
        QFile package(zip);
        QVERIFY(package.open(QIODevice::ReadOnly));
        // Without a readable config.ini the maker's server is asked.
        QVERIFY(QFile::remove(path("config.ini")));
        QVERIFY(QDir().mkpath(path("config.ini")));
        qputenv("IRVANTA_TEST_UPDATE_HOST", m_server->hostAndPort().toLatin1());
        m_server->setFile("/Irvanta/config.ini", "[UpdateInfo]\nupdate=2024-02-01\nmain=2024-02-01\n");
        m_server->setFile("/Irvanta/update-software.zip", package.readAll());
        m_server->setFile("/Irvanta/main.zip", "main");
        UpdateDialog d;
        d.show();
        QTRY_VERIFY(d.statusLabel->text().startsWith("Unable to record the update in config.ini: "));
        qunsetenv("IRVANTA_TEST_UPDATE_HOST");
        const QString reason = QString::fromLocal8Bit(std::strerror(EISDIR));
        QVERIFY2(d.statusLabel->text().contains(reason), qPrintable(d.statusLabel->text()));
        QCOMPARE(colour(d), QStringLiteral("QLabel { color: red}"));
        QVERIFY(!d.handedOver());
        QVERIFY(!QFile::exists(path("update/updater-ran.txt")));
    }

    void progressAndHandOver()
    {
        scene("main=2024-01-01\ndatabase=2024-01-01\n", "main=2024-02-01\ndatabase=2024-02-01\n");
        m_server->setFile("/up/main.zip", QByteArray(300000, 'm'));
        m_server->setFile("/up/rcdb.zip", QByteArray(100000, 'd'));
        UpdateDialog d;
        QList<QPair<int, int>> seen;
        connect(d.progressBar, &QProgressBar::valueChanged, this,
                [&] { seen.append({d.progressBar->value(), d.progressBar->maximum()}); });
        d.show();
        QTRY_VERIFY(d.handedOver());
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QTRY_VERIFY(QFile::exists(path("update/updater-ran.txt")));
        QVERIFY(!seen.isEmpty());
        // The last package ends the bar full.
        QCOMPARE(d.progressBar->value(), d.progressBar->maximum());
        QCOMPARE(d.progressBar->maximum(), 100000);
        for (const auto &p : std::as_const(seen))
            QVERIFY(p.first <= p.second);
    }
};

QTEST_MAIN(TestUpdateDialog)
#include "tst_updatedialog.moc"
