// The program as a child process: start-up failures, a clean start and stop.
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QElapsedTimer>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using TestSupport::RunResult;

namespace {

// The photos' work folder stays for the next photo, with its mark.
bool workFolderKept(const QString &folder, const QString &mark)
{
    return QFileInfo(folder).isDir() && QFileInfo(folder + mark).isFile();
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void missingDatabase()
    {
        QTemporaryDir dir;
        const RunResult r = TestSupport::runProgram(dir.path());
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 255);
        QCOMPARE(r.boxes.size(), 1);
        QCOMPARE(r.boxes[0].kind, QStringLiteral("warning"));
        QCOMPARE(r.boxes[0].title, QStringLiteral("Information"));
        QCOMPARE(r.boxes[0].text, QStringLiteral("Can not find database"));
        QVERIFY(!r.output.contains(QLatin1String("Application: stopped")));
    }

    void unusableDatabase_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("expectedText");
        QTest::addRow("directory") << "directory" << "rc.db: not a regular file but a folder";
        QTest::addRow("not a database") << "garbage" << "file is not a database";
        QTest::addRow("no rcmodels table") << "empty-db" << "no such table: rcmodels";
        QTest::addRow("empty file") << "empty-file" << "no such table: rcmodels";
    }
    void unusableDatabase()
    {
        QFETCH(QString, kind);
        QFETCH(QString, expectedText);
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("rc.db"));
        if (kind == QLatin1String("directory")) {
            QVERIFY(QDir().mkdir(db));
        } else {
            QFile f(db);
            QVERIFY(f.open(QIODevice::WriteOnly));
            if (kind == QLatin1String("garbage"))
                f.write(QByteArray(4096, 'x'));
            f.close();
            if (kind == QLatin1String("empty-db")) {
                // A real SQLite file holding some other table.
                QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
                other.setDatabaseName(db);
                QVERIFY(other.open());
                QSqlQuery(other).exec(QStringLiteral("CREATE TABLE something (x)"));
                other.close();
                other = QSqlDatabase();
                QSqlDatabase::removeDatabase(QStringLiteral("other"));
            }
        }
        const RunResult r = TestSupport::runProgram(dir.path());
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 255);
        QCOMPARE(r.boxes.size(), 1);
        QCOMPARE(r.boxes[0].title, QStringLiteral("Information"));
        QVERIFY2(r.boxes[0].text.contains(expectedText, Qt::CaseInsensitive), qPrintable(r.boxes[0].text));
    }

    void photosParkedByAnInterruptedDeleteComeBack()
    {
        // The state a deletion leaves when the program is killed between
        // moving the photos aside and the commit: the rows are back (SQLite
        // rolled back), the photos are still parked.
        QTemporaryDir dir;
        QVERIFY(TestSupport::writeSampleDirectory(dir.path()));
        QString master;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("probe"));
            db.setDatabaseName(dir.filePath(QStringLiteral("rc.db")));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("SELECT Rcid FROM rcmodels WHERE Rcid=Link ORDER BY Rcid LIMIT 1")) && q.next());
            master = q.value(0).toString();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("probe"));
        const QDir photos(dir.filePath(QStringLiteral("RCImages")));
        for (int n = 1; n <= 5; ++n)
            QFile::remove(photos.filePath(QStringLiteral("%1_%2.jpg").arg(master).arg(n)));
        // Parked in the photos' work folder, named by the deletion of the
        // master; 99999999 is above any process number the system hands out.
        const QDir parked(photos.filePath(QStringLiteral(".irvanta-work")));
        QVERIFY(parked.mkpath(QStringLiteral(".")));
        QVERIFY(TestSupport::writeFile(parked.filePath(QStringLiteral(".irvanta-unfinished")), "mark"));
        QVERIFY(TestSupport::writeFile(parked.filePath(master + "_1.jpg.irvanta-deleting-99999999-all"), "photo one"));
        QVERIFY(TestSupport::writeFile(parked.filePath(master + "_2.jpg.irvanta-deleting-99999999-all"), "photo two"));
        QVERIFY(TestSupport::writeFile(parked.filePath("0badf00d_1.jpg.irvanta-deleting-99999999-all"), "deleted model"));

        const RunResult r = TestSupport::runProgram(dir.path(), {QStringLiteral("IRVANTA_CLOSE_AFTER_MS=300")});
        QVERIFY2(r.finished, qPrintable(r.output));
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.boxes.isEmpty(), qPrintable(r.boxes.value(0).text));
        QCOMPARE(TestSupport::readText(photos.filePath(master + QStringLiteral("_1.jpg"))), QStringLiteral("photo one"));
        QCOMPARE(TestSupport::readText(photos.filePath(master + QStringLiteral("_2.jpg"))), QStringLiteral("photo two"));
        QCOMPARE(parked.entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral(".irvanta-unfinished")});
    }

    // What writes of an earlier run left when it was killed, as the program
    // marks them: the start removes those (their process has ended) and
    // nothing that only looks like them, whatever its name.
    void startClearsLeftoversOfKilledWrites()
    {
        QTemporaryDir dir;
        QTemporaryDir tmp; // the program's system temporary folder
        QVERIFY(TestSupport::writeSampleDirectory(dir.path()));
        QProcess ended;
        ended.start(QStringLiteral("true"), QStringList());
        QVERIFY(ended.waitForStarted());
        const QString dead = QString::number(ended.processId());
        QVERIFY(ended.waitForFinished());
        const QDir work(dir.path());
        QVERIFY(work.mkpath(QStringLiteral("update-tmp")));
        QVERIFY(work.mkpath(QStringLiteral("xml")));
        const QString mark = QStringLiteral("/.irvanta-unfinished");
        const QString photoWork = QStringLiteral("RCImages/.irvanta-work");
        // Folders of unfinished work hold the program's mark.
        const QStringList markedFolders{".config.ini.irvanta-tmp-" + dead + "-4", ".update.irvanta-tmp-" + dead + "-9",
                                        photoWork};
        for (const QString &name : markedFolders) {
            QVERIFY(work.mkpath(name));
            QVERIFY(TestSupport::writeFile(work.filePath(name + mark), "Unfinished work of Irvanta"));
        }
        const QStringList leftovers{".config.ini.irvanta-tmp-" + dead + "-3",
                                    ".config.ini.irvanta-tmp-" + dead + "-4/before.ini",
                                    ".update.irvanta-tmp-" + dead + "-9/new/v-ivizuziz.exe",
                                    "update-tmp/.main.zip.irvanta-tmp-" + dead + "-1",
                                    "xml/.Sony RM-1.xml.irvanta-tmp-" + dead + "-2",
                                    "xml/.Sony RM-1 0badf00d_1.jpg.irvanta-tmp-" + dead + "-5",
                                    photoWork + "/.0badf00d_1.jpg.irvanta-tmp-" + dead + "-0",
                                    photoWork + "/..0badf00d_1.jpg.irvanta-tmp-" + dead + "-0.irvanta-tmp-" + dead + "-1",
                                    // parked by a deletion of a master the catalogue no longer holds
                                    photoWork + "/0badf00d_2.jpg.irvanta-deleting-" + dead + "-all"};
        // The user's files with names of the shapes the program once went by,
        // and names with the program's tag where it never puts one or
        // without the mark a folder of its own would hold.
        const QStringList kept{".unpack-backup/thesis.odt",
                               ".unpack-Ab12Cd/v-ivizuziz.exe",
                               ".user-notes.tmp-999999-1",
                               ".backup.tmp-999998-2/notes.txt",
                               ".config.ini.tmp-old",
                               ".config.ini.tmp-" + dead + "-3",
                               ".notes.irvanta-tmp-" + dead + "-1",
                               ".update.irvanta-tmp-" + dead + "-7/keep.txt",
                               "RCImages/holiday_1.jpg.deleting",
                               "RCImages/.holiday_1.jpg.irvanta-tmp-" + dead + "-1",
                               "RCImages/.notes.tmp-" + dead,
                               "update-tmp/main.zip.tmp-" + dead + "-1",
                               "update-tmp/.main.zip.tmp-" + dead + "-1",
                               "xml/.Sony RM-1.xml.tmp-" + dead + "-2"};
        for (const QString &name : leftovers + kept) {
            QVERIFY(work.mkpath(QFileInfo(name).path()));
            QVERIFY(TestSupport::writeFile(work.filePath(name), "left"));
        }
        // A link with a leftover's name is not followed, nor removed.
        const QString link = ".config.ini.irvanta-tmp-" + dead + "-8";
        QVERIFY(QFile::link(work.filePath("RCImages/holiday_1.jpg.deleting"), work.filePath(link)));

        // A folder of the program's in the system's temporary folder holds
        // its mark; folders that only look like one (by name and content, as
        // a user's own copy of the settings may) are not its.
        const QDir temp(tmp.path());
        const QStringList oldCopies{"irvanta-Q1w2E3" + mark, "irvanta-Q1w2E3/before.ini",
                                    "irvanta-Q1w2E3/after.ini", "irvanta-Q1w2E3/after.ini.lock"};
        QStringList otherTemp{"irvanta-Q1w2E4/before.ini", "irvanta-Q1w2E4/photo.jpg", "other-Q1w2E5/before.ini",
                              "irvanta-backup/before.ini", "irvanta-backup/after.ini.orig"};
        const QStringList othersCopies{"irvanta-Q1w2E6" + mark, "irvanta-Q1w2E6/before.ini",
                                       "irvanta-Q1w2E6/after.ini"};
        for (const QString &name : oldCopies + otherTemp + othersCopies) {
            QVERIFY(temp.mkpath(QFileInfo(name).path()));
            QVERIFY(TestSupport::writeFile(temp.filePath(name), "left"));
        }
        // Another user's copies are never the program's, even for root; a
        // normal user cannot give a folder away, and then only its own are there.
        if (::geteuid() == 0) {
            for (const QString &name : QStringList{"irvanta-Q1w2E6"} + othersCopies)
                QCOMPARE(::lchown(QFile::encodeName(temp.filePath(name)).constData(), 4242, 4242), 0);
            otherTemp += othersCopies;
        }

        const RunResult r = TestSupport::runProgram(
            dir.path(), {QStringLiteral("IRVANTA_CLOSE_AFTER_MS=300"), QStringLiteral("TMPDIR=") + tmp.path()});
        QVERIFY2(r.finished, qPrintable(r.output));
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.boxes.isEmpty(), qPrintable(r.boxes.value(0).text));
        for (const QString &name : leftovers)
            QVERIFY2(!QFileInfo::exists(work.filePath(name)), qPrintable(name));
        QVERIFY(!QFileInfo::exists(work.filePath(markedFolders.at(0))));
        QVERIFY(!QFileInfo::exists(work.filePath(markedFolders.at(1))));
        QVERIFY(workFolderKept(work.filePath(photoWork), mark));
        for (const QString &name : kept)
            QVERIFY2(TestSupport::readText(work.filePath(name)) == QStringLiteral("left"), qPrintable(name));
        QVERIFY(QFileInfo(work.filePath(link)).isSymLink());
        QCOMPARE(TestSupport::readText(work.filePath("RCImages/holiday_1.jpg.deleting")), QStringLiteral("left"));
        for (const QString &name : otherTemp)
            QVERIFY2(TestSupport::readText(temp.filePath(name)) == QStringLiteral("left"), qPrintable(name));
        QVERIFY(!QFileInfo::exists(temp.filePath("irvanta-Q1w2E3")));
    }

    void cleanStartAndStop()
    {
        QTemporaryDir dir;
        QVERIFY(TestSupport::writeSampleDirectory(dir.path()));
        const RunResult r = TestSupport::runProgram(dir.path(), {QStringLiteral("IRVANTA_CLOSE_AFTER_MS=300")});
        QVERIFY2(r.finished, qPrintable(r.output));
        QCOMPARE(r.exitStatus, QProcess::NormalExit);
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.boxes.isEmpty(), qPrintable(r.boxes.value(0).text));
        // The workers stop receiver first, request worker last.
        const int receiver = r.output.indexOf(QLatin1String("Application: stopped UsbReceiverDots"));
        const int connection = r.output.indexOf(QLatin1String("Application: stopped UsbConnection"));
        const int functions = r.output.indexOf(QLatin1String("Application: stopped UsbFunctions"));
        QVERIFY2(receiver >= 0 && connection > receiver && functions > connection, qPrintable(r.output));
    }

    // The first model's documentation is shown at every start: markup that
    // names a device or a FIFO, or nests deep, must not end or hold it.
    void hostileDocumentationStillStarts_data()
    {
        QTest::addColumn<QString>("documentation");
        QTest::addRow("picture on /dev/zero") << "<b>Power</b><img src=\"/dev/zero\">";
        QTest::addRow("picture on a FIFO") << "<b>Power</b><img src=\"%FIFO%\">";
        QTest::addRow("20 nested tables") << QStringLiteral("<table><tr><td>").repeated(20) + "Power"
                                                 + QStringLiteral("</td></tr></table>").repeated(20);
    }
    void hostileDocumentationStillStarts()
    {
        QFETCH(QString, documentation);
        QTemporaryDir dir;
        QVERIFY(TestSupport::writeSampleDirectory(dir.path()));
        const QString fifo = dir.filePath(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        documentation.replace(QLatin1String("%FIFO%"), fifo);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("probe"));
            db.setDatabaseName(dir.filePath(QStringLiteral("rc.db")));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.prepare(QStringLiteral("UPDATE rcmodels SET Documentation=?")));
            q.addBindValue(documentation);
            QVERIFY(q.exec());
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("probe"));
        QElapsedTimer timer;
        timer.start();
        // Generous for a loaded machine; the deep tables alone took over 60 s.
        const RunResult r = TestSupport::runProgram(dir.path(), {QStringLiteral("IRVANTA_CLOSE_AFTER_MS=300")}, {},
                                                    30000);
        QVERIFY2(r.finished, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(r.exitStatus, QProcess::NormalExit);
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.boxes.isEmpty(), qPrintable(r.boxes.value(0).text));
    }

    // A named pipe where the start reads a file would hold it in open() for
    // good. The start goes on without the file and says which one it did not
    // read and why, or, for the catalogue, ends with its message.
    void pipeWhereTheStartReadsAFile_data()
    {
        QTest::addColumn<QString>("file"); // below the working directory; "*" stands for every type picture
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("also"); // what else the message says
        QTest::addRow("settings") << "config.ini" << 0 << "The program's default settings are used.";
        QTest::addRow("window icon") << "rc.ico" << 0 << "";
        QTest::addRow("translation") << "Languages/English.qm" << 0 << "";
        QTest::addRow("Qt's translation") << "Languages/qt_English.qm" << 0 << "";
        QTest::addRow("flag") << "Languages/flags/English.png" << 0 << "";
        QTest::addRow("remote-type picture") << "images/*" << 0 << "";
        QTest::addRow("catalogue") << "rc.db" << 255 << "";
        // SQLite opens a rollback journal beside the catalogue on its own, to
        // see whether it is hot, and would wait in that open.
        QTest::addRow("catalogue's journal") << "rc.db-journal" << 255 << "";
    }
    void pipeWhereTheStartReadsAFile()
    {
        QFETCH(QString, file);
        QFETCH(int, exitCode);
        QFETCH(QString, also);
        QTemporaryDir dir;
        QVERIFY(TestSupport::writeSampleDirectory(dir.path()));
        const QDir work(dir.path());
        QStringList pipes{file};
        if (file == QLatin1String("images/*")) {
            pipes.clear();
            for (const QString &name : QDir(work.filePath(QStringLiteral("images"))).entryList(QDir::Files))
                if (!name.startsWith(QLatin1String("print")))
                    pipes << QStringLiteral("images/") + name;
            QVERIFY(!pipes.isEmpty());
        }
        for (const QString &pipe : std::as_const(pipes)) {
            QVERIFY(work.mkpath(QFileInfo(pipe).path()));
            QFile::remove(work.filePath(pipe));
            QCOMPARE(::mkfifo(QFile::encodeName(work.filePath(pipe)).constData(), 0600), 0);
        }
        // A start that waits on the pipe is ended after this time, and fails.
        const RunResult r = TestSupport::runProgram(dir.path(), {QStringLiteral("IRVANTA_CLOSE_AFTER_MS=300")}, {},
                                                    30000);
        QVERIFY2(r.finished, qPrintable(r.output));
        QCOMPARE(r.exitStatus, QProcess::NormalExit);
        QCOMPARE(r.exitCode, exitCode);
        const QString named = file == QLatin1String("images/*") ? QStringLiteral("images/") : file;
        bool told = false;
        for (const TestSupport::BoxLine &box : r.boxes)
            told = told
                || (box.text.contains(named) && box.text.contains(QLatin1String("not a regular file but a named pipe"))
                    && box.text.contains(also));
        QStringList texts;
        for (const TestSupport::BoxLine &box : r.boxes)
            texts << box.text;
        QVERIFY2(told, qPrintable(texts.join(QLatin1String("\n--\n"))));
    }

    void malformedConfigStillStarts()
    {
        QTemporaryDir dir;
        QVERIFY(TestSupport::writeSampleDirectory(dir.path()));
        QFile ini(dir.filePath(QStringLiteral("config.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[Settings\n\x01\x02garbage=\n=nothing\n[[[\n");
        ini.close();
        const RunResult r = TestSupport::runProgram(dir.path(), {QStringLiteral("IRVANTA_CLOSE_AFTER_MS=200")});
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.boxes.isEmpty());
    }

    void configuredLanguage_data()
    {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("qmFiles");
        QTest::addColumn<QString>("expected");
        QTest::addRow("configured") << "German" << "fr_FR.UTF-8" << QStringList{"German"} << "German";
        QTest::addRow("locale") << "" << "fr_FR.UTF-8" << QStringList{"French"} << "French";
        QTest::addRow("locale without file") << "" << "fr_FR.UTF-8" << QStringList{} << "English";
        QTest::addRow("configured without file") << "Klingon" << "fr_FR.UTF-8" << QStringList{} << "English";
    }
    void configuredLanguage()
    {
        QFETCH(QString, configured);
        QFETCH(QString, locale);
        QFETCH(QStringList, qmFiles);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(TestSupport::writeSampleDirectory(dir.path()));
        QFile ini(dir.filePath(QStringLiteral("config.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        if (!configured.isEmpty())
            ini.write("[Settings]\nlanguage=" + configured.toUtf8() + "\n");
        ini.close();
        for (const QString &qm : qmFiles) {
            QFile f(dir.filePath(QStringLiteral("Languages/%1.qm").arg(qm)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const RunResult r = TestSupport::runProgram(
            dir.path(), {QStringLiteral("IRVANTA_CLOSE_AFTER_MS=100"), QStringLiteral("LC_ALL=") + locale,
                         QStringLiteral("LANG=") + locale, QStringLiteral("LANGUAGE=")});
        QVERIFY(r.finished);
        QVERIFY2(r.output.contains(QStringLiteral("Application: language ") + expected), qPrintable(r.output));
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
