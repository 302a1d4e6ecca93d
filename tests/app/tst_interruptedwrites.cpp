// Writes killed at chosen steps, as kill -9 or a crash would end them: a child
// process (this program, started with "--child") carries out one write and is
// killed at the step named in IRVANTA_TEST_KILL_AT. What it leaves is then
// cleared or settled as a start does, and nothing else is touched.
#include "CatalogueFixture.h"
#include "TestSupport.h"
#include "app/AtomicFile.h"
#include "app/Leftovers.h"
#include "app/OwnMark.h"
#include "app/SettingsWriter.h"
#include "catalogue/PhotoPlaces.h"
#include "exchange/ExchangeFile.h"
#include "exchange/ExchangeImport.h"
#include "exchange/PhotosFirst.h"
#include "exchange/RemoteExport.h"
#include "update/ZipUnpacker.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString kMaster = QStringLiteral("1a2b3c4d");

// The child's side: one write, 0 when it went through.
int childMain(const QStringList &args)
{
    const QString operation = args.value(0);
    const QDir dir(args.value(1));
    QString error;
    bool ok = false;
    if (operation == QLatin1String("settings")) {
        ok = SettingsWriter::write(dir.filePath(QStringLiteral("config.ini")),
                                   {{QStringLiteral("Settings/company"), QStringLiteral("New Ltd.")}}, &error);
    } else if (operation == QLatin1String("settings-loop")) {
        // Keys of its own, one a save, so none is written twice.
        ok = true;
        for (int i = 0; i < 150 && ok; ++i)
            ok = SettingsWriter::write(dir.filePath(QStringLiteral("config.ini")),
                                       {{QStringLiteral("Settings/%1_%2").arg(args.value(2)).arg(i), QStringLiteral("1")}},
                                       &error);
    } else if (operation == QLatin1String("photo")) {
        ok = PhotoPlaces(dir.path(), kMaster).store(2, QByteArray(200 * 1024, 'p'), &error);
    } else if (operation == QLatin1String("unpack") || operation == QLatin1String("unpack-by-two-renames")) {
        ZipUnpacker::setSwapByTwoRenamesForTesting(operation != QLatin1String("unpack"));
        ok = ZipUnpacker::unpack(dir.filePath(QStringLiteral("package.zip")), dir.filePath(QStringLiteral("update")),
                                 &error);
    } else if (operation == QLatin1String("export") || operation == QLatin1String("import")) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(dir.filePath(QStringLiteral("rc.db")));
        if (!db.open())
            return 2;
        if (operation == QLatin1String("export")) {
            QStringList problems;
            ok = RemoteExport::exportTo(db, dir.path(), {kMaster, "SONY", "RM-1", kMaster, "1", "TV"}, "SONY RM-1",
                                        dir.filePath(QStringLiteral("xml/SONY RM-1.xml")), &error, &problems)
                 && problems.isEmpty();
        } else {
            // As the window imports: the photos beside the file first.
            QByteArray bytes;
            ExchangeFile::Document document;
            ExchangeImport::Outcome outcome;
            const QString in = dir.filePath(QStringLiteral("in"));
            PhotosFirst photos(dir.path(), [&](const QString &rcid) {
                return ExchangeImport::copyPhotos(in, document.master.rcid, dir.path(), rcid);
            });
            ok = AtomicFile::readWhole(in + QStringLiteral("/file.xml"), &bytes, &error)
                 && ExchangeFile::read(bytes, &document, &error)
                 && ExchangeImport::write(db, document, ExchangeImport::Mode::Replace, &outcome, &error, &photos)
                        == ExchangeImport::Result::Written;
        }
    } else if (operation == QLatin1String("remove")) {
        PhotoPlaces places(dir.path(), kMaster);
        ok = places.remove(args.value(2).toInt(), &error);
    }
    if (!ok)
        qWarning("child: %s failed: %s", qPrintable(operation), qPrintable(error));
    return ok ? 0 : 1;
}

// Every entry below dir (folders end in "/"), sorted.
QStringList tree(const QString &dir)
{
    QStringList names;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        names << QDir(dir).relativeFilePath(path) + (it.fileInfo().isDir() ? QStringLiteral("/") : QString());
    }
    names.sort();
    return names;
}

QByteArray bytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Every file below dir with its bytes, sorted.
QStringList filesWithBytes(const QString &dir)
{
    QStringList out;
    for (const QString &name : tree(dir))
        if (!name.endsWith(QLatin1Char('/')))
            out << name + QLatin1Char('=') + QString::fromUtf8(bytes(QDir(dir).filePath(name)));
    return out;
}

} // namespace

class TestInterruptedWrites : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QTemporaryDir m_tmp; // the child's system temporary folder

    QString work() const { return m_dir.path(); }

    // A catalogue with the master kMaster, as the program's own.
    void writeCatalogue()
    {
        {
            QSqlDatabase db = TestSupport::openFixtureCatalogue(work(), QStringLiteral("fixture"));
            QVERIFY(db.isOpen());
            QVERIFY(CatalogueFixture::addModel(db, {kMaster, "SONY", "TV", "RM-1", "", kMaster, ""}));
            QVERIFY(CatalogueFixture::addKey(db, {kMaster, 1, "Power", "0013AB", 1}));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
    }

    // Runs one write in a child killed at killAt; true when it was killed.
    bool runKilled(const QStringList &args, const QString &killAt)
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("IRVANTA_TEST_KILL_AT"), killAt);
        env.insert(QStringLiteral("TMPDIR"), m_tmp.path());
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--child")} + args);
        if (!child.waitForFinished(30000)) {
            child.kill();
            child.waitForFinished();
            return false;
        }
        return child.exitStatus() == QProcess::CrashExit;
    }

    // Files a user may keep whose names look like the program's temporary
    // names (some with the program's tag, in places the program never puts
    // one), and a temporary file of a process that still runs (this one).
    // 99999999 is above any process number the system hands out.
    QStringList lookAlikes() const
    {
        return {QStringLiteral(".config.ini.tmp-old"),
                QStringLiteral("config.ini.tmp-123-4"),
                QStringLiteral(".config.ini.irvanta-tmp-%1-7").arg(QCoreApplication::applicationPid()),
                QStringLiteral(".unpack-backup/thesis.odt"),
                QStringLiteral(".user-notes.tmp-999999-1"),
                QStringLiteral(".backup.tmp-999998-2/notes.txt"),
                QStringLiteral(".thesis.odt.irvanta-tmp-99999999-1"),
                QStringLiteral(".update.irvanta-tmp-99999999-2/unmarked.txt"),
                QStringLiteral("RCImages/holiday_1.jpg.deleting"),
                QStringLiteral("RCImages/.notes.tmp-backup"),
                QStringLiteral("RCImages/.1a2b3c4d_9.jpg.irvanta-tmp-99999999-1"),
                QStringLiteral("RCImages/1a2b3c4d_9.jpg.tmp-1-1"),
                QStringLiteral("update-tmp/.main.zip.tmp-x-1"),
                QStringLiteral("update-tmp/.main.zip.tmp-99999999-1"),
                QStringLiteral("xml/.Sony.xml.tmp-99999999-1"),
                QStringLiteral("update/.tool.irvanta-tmp-99999999-1")};
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid() && m_tmp.isValid());
        QVERIFY(QDir(work()).removeRecursively());
        QVERIFY(QDir().mkpath(work() + QStringLiteral("/RCImages")));
        QVERIFY(QDir().mkpath(work() + QStringLiteral("/update-tmp")));
        QVERIFY(QDir().mkpath(work() + QStringLiteral("/update")));
        QVERIFY(QDir().mkpath(work() + QStringLiteral("/xml")));
        // The photos' work folder as the first photo write makes it.
        QString reason;
        QVERIFY2(OwnMark::makeMarkedFolder(work() + "/RCImages/" + OwnMark::workFolderName(), &reason),
                 qPrintable(reason));
        QVERIFY(QDir(m_tmp.path()).removeRecursively());
        QVERIFY(QDir().mkpath(m_tmp.path()));
    }

    // A write killed part-way leaves its temporary files beside its target
    // (never copies of config.ini in the system's temporary folder); the
    // clearing a start does removes exactly those and keeps the old files.
    void killedWritesAreCleared_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("killAt");
        QTest::addColumn<QString>("leftover"); // the start of the left name
        QTest::addRow("settings: copies made") << "settings" << "settings-copied" << ".config.ini.irvanta-tmp-";
        QTest::addRow("settings: before the final rename")
            << "settings" << "file-synced:4" << ".config.ini.irvanta-tmp-";
        QTest::addRow("photo: before the rename")
            << "photo" << "file-synced" << "RCImages/.irvanta-work/..1a2b3c4d_2.jpg.irvanta-tmp-";
        QTest::addRow("photo: written, not yet in its place")
            << "photo" << "photo-staged" << "RCImages/.irvanta-work/.1a2b3c4d_2.jpg.irvanta-tmp-";
        QTest::addRow("unpacking: one entry staged") << "unpack" << "unpack-entry" << ".update.irvanta-tmp-";
    }
    void killedWritesAreCleared()
    {
        QFETCH(QString, operation);
        QFETCH(QString, killAt);
        QFETCH(QString, leftover);
        QVERIFY(TestSupport::writeFile(work() + "/config.ini", "[Settings]\ncompany=Old Ltd.\n"));
        QVERIFY(TestSupport::writeFile(work() + "/RCImages/1a2b3c4d_1.jpg", "photo 1"));
        QVERIFY(TestSupport::writeZip(work() + "/package.zip",
                                      {{"a.txt", QByteArray(1000, 'a')}, {"b.txt", QByteArray(1000, 'b')}}));
        for (const QString &name : lookAlikes()) {
            QVERIFY(QDir(work()).mkpath(QFileInfo(name).path()));
            QVERIFY(TestSupport::writeFile(QDir(work()).filePath(name), "the user's"));
        }
        const QStringList before = tree(work());

        QVERIFY(runKilled({operation, work()}, killAt));
        QStringList left = tree(work());
        for (const QString &name : before)
            left.removeOne(name);
        QVERIFY2(!left.isEmpty() && left.first().startsWith(leftover), qPrintable(left.join(' ')));
        QCOMPARE(tree(m_tmp.path()), QStringList());
        QCOMPARE(bytes(work() + "/config.ini"), QByteArray("[Settings]\ncompany=Old Ltd.\n"));

        const QStringList problems = Leftovers::clear(work());
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        QCOMPARE(tree(work()), before);
        for (const QString &name : lookAlikes())
            QCOMPARE(bytes(QDir(work()).filePath(name)), QByteArray("the user's"));
    }

    // The updater package unpacked into update/, killed between its files,
    // before and after the swap, and between the two renames a file system
    // that cannot swap needs: after the start's sweep update/ holds the old
    // content or the new one, whole, and nothing is left beside it.
    void killedUnpackLeavesOldOrNew_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("killAt");
        QTest::addColumn<bool>("replaced");
        QTest::addRow("between the first files") << "unpack" << "unpack-entry:1" << false;
        QTest::addRow("between the last files") << "unpack" << "unpack-entry:2" << false;
        QTest::addRow("all staged") << "unpack" << "unpack-staged" << false;
        QTest::addRow("swapped, the old not yet removed") << "unpack" << "unpack-swapped" << true;
        QTest::addRow("two renames: the old moved aside")
            << "unpack-by-two-renames" << "unpack-half-swapped" << false;
        QTest::addRow("two renames: both done") << "unpack-by-two-renames" << "unpack-swapped" << true;
    }
    void killedUnpackLeavesOldOrNew()
    {
        QFETCH(QString, operation);
        QFETCH(QString, killAt);
        QFETCH(bool, replaced);
        QVERIFY(TestSupport::writeZip(work() + "/package.zip",
                                      {{"a.txt", "new a"}, {"b.txt", "new b"}, {"tool/updater", "new updater"}}));
        QVERIFY(QDir().mkpath(work() + "/update/tool"));
        QVERIFY(TestSupport::writeFile(work() + "/update/a.txt", "old a"));
        QVERIFY(TestSupport::writeFile(work() + "/update/tool/updater", "old updater"));
        QVERIFY(TestSupport::writeFile(work() + "/update/notes.txt", "kept"));
        const QStringList outside = tree(work()).filter(QRegularExpression(QStringLiteral("^(?!update/)")));
        const QStringList old = filesWithBytes(work() + "/update");

        QVERIFY(runKilled({operation, work()}, killAt));
        const QStringList problems = Leftovers::clear(work());
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        const QStringList replacement{"a.txt=new a", "b.txt=new b", "notes.txt=kept", "tool/updater=new updater"};
        QCOMPARE(filesWithBytes(work() + "/update"), replaced ? replacement : old);
        QCOMPARE(tree(work()).filter(QRegularExpression(QStringLiteral("^(?!update/)"))), outside);
    }

    // config.ini as a link to a file elsewhere is written through the link,
    // the new file made beside the one it leads to: a save killed before its
    // final rename leaves nothing there after the start.
    void killedSettingsThroughLinkAreCleared()
    {
        QVERIFY(QDir().mkpath(work() + "/kept"));
        QVERIFY(TestSupport::writeFile(work() + "/kept/settings.ini", "[Settings]\ncompany=Old Ltd.\n"));
        QVERIFY(TestSupport::writeFile(work() + "/kept/.notes.irvanta-tmp-99999999-1", "the user's"));
        QVERIFY(QFile::link(work() + "/kept/settings.ini", work() + "/config.ini"));
        const QStringList before = tree(work() + "/kept");

        QVERIFY(runKilled({QStringLiteral("settings"), work()}, QStringLiteral("file-synced:4")));
        QVERIFY(tree(work() + "/kept") != before);
        const QStringList problems = Leftovers::clear(work());
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        QCOMPARE(tree(work() + "/kept"), before);
        QVERIFY(QFileInfo(work() + "/config.ini").isSymLink());
        QCOMPARE(bytes(work() + "/config.ini"), QByteArray("[Settings]\ncompany=Old Ltd.\n"));
    }

    // update/ as a link to a folder elsewhere (the link stays a link): an
    // unpack killed part-way, or between the two renames, is cleared or put
    // back by the start like one into a plain update/.
    void killedUnpackThroughLinkLeavesOldOrNew_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("killAt");
        QTest::addColumn<bool>("replaced");
        QTest::addRow("between the files") << "unpack" << "unpack-entry:1" << false;
        QTest::addRow("two renames: the old moved aside")
            << "unpack-by-two-renames" << "unpack-half-swapped" << false;
        QTest::addRow("swapped") << "unpack" << "unpack-swapped" << true;
    }
    void killedUnpackThroughLinkLeavesOldOrNew()
    {
        QFETCH(QString, operation);
        QFETCH(QString, killAt);
        QFETCH(bool, replaced);
        QVERIFY(TestSupport::writeZip(work() + "/package.zip", {{"a.txt", "new a"}, {"b.txt", "new b"}}));
        QVERIFY(QDir(work() + "/update").removeRecursively());
        QVERIFY(QDir().mkpath(work() + "/kept/updates"));
        QVERIFY(TestSupport::writeFile(work() + "/kept/updates/a.txt", "old a"));
        QVERIFY(QFile::link(work() + "/kept/updates", work() + "/update"));
        const QStringList outside = tree(work() + "/kept").filter(QRegularExpression(QStringLiteral("^(?!updates/)")));

        QVERIFY(runKilled({operation, work()}, killAt));
        const QStringList problems = Leftovers::clear(work());
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        QVERIFY(QFileInfo(work() + "/update").isSymLink());
        const QStringList expected = replaced ? QStringList{"a.txt=new a", "b.txt=new b"} : QStringList{"a.txt=old a"};
        QCOMPARE(filesWithBytes(work() + "/update"), expected);
        QCOMPARE(tree(work() + "/kept").filter(QRegularExpression(QStringLiteral("^(?!updates/)"))), outside);
    }

    // An export into the program's own folder xml/ killed while the file
    // is written, and while a photo is copied beside it: the start removes
    // the temporary files and leaves whatever the export had finished.
    void killedExportIsCleared_data()
    {
        QTest::addColumn<QString>("killAt");
        QTest::addColumn<QStringList>("finished");
        QTest::addRow("the file") << "file-synced:1" << QStringList();
        QTest::addRow("the photo beside it") << "file-synced:2" << QStringList{"SONY RM-1.xml"};
    }
    void killedExportIsCleared()
    {
        QFETCH(QString, killAt);
        QFETCH(QStringList, finished);
        writeCatalogue();
        QVERIFY(TestSupport::writeFile(work() + "/RCImages/1a2b3c4d_1.jpg", "photo 1"));
        QVERIFY(TestSupport::writeFile(work() + "/xml/.Sony.xml.tmp-99999999-1", "the user's"));
        QVERIFY(runKilled({QStringLiteral("export"), work()}, killAt));
        QCOMPARE(tree(work() + "/xml").filter(QStringLiteral(".irvanta-tmp-")).size(), 1);
        const QStringList problems = Leftovers::clear(work());
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        QCOMPARE(tree(work() + "/xml"), QStringList{".Sony.xml.tmp-99999999-1"} + finished);
    }

    // An import killed between copying its photos and committing the
    // catalogue write, and right after the commit: a model the catalogue
    // holds has its photos.
    void killedImportLeavesNoModelWithoutItsPhotos_data()
    {
        QTest::addColumn<QString>("killAt");
        QTest::addColumn<bool>("written");
        QTest::addRow("photos copied, not committed") << "import-photos-copied" << false;
        QTest::addRow("committed") << "import-committed" << true;
    }
    void killedImportLeavesNoModelWithoutItsPhotos()
    {
        QFETCH(QString, killAt);
        QFETCH(bool, written);
        writeCatalogue();
        QVERIFY(QDir().mkpath(work() + "/in"));
        QVERIFY(TestSupport::writeFile(
            work() + "/in/file.xml",
            "<Irvanta><RCDescription><IrvantaVersion>2.5.10</IrvantaVersion><Rcid>0badf00d</Rcid><Brand>FILE</Brand>"
            "<Type>TV</Type><Model>FROM FILE</Model><RCTypeId>1</RCTypeId></RCDescription><RCKeys><RCKey><Name>k"
            "</Name><ID>0013AB</ID><Nkey>1</Nkey></RCKey></RCKeys><RCLinks/></Irvanta>"));
        QVERIFY(TestSupport::writeFile(work() + "/in/FILE 0badf00d_1.jpg", "photo 1"));
        QVERIFY(TestSupport::writeFile(work() + "/in/FILE 0badf00d_2.jpg", "photo 2"));
        QVERIFY(runKilled({QStringLiteral("import"), work()}, killAt));

        int models = -1;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("after"));
            db.setDatabaseName(work() + "/rc.db");
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM rcmodels WHERE Rcid='0badf00d'")) && q.next());
            models = q.value(0).toInt();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("after"));
        QCOMPARE(models, written ? 1 : 0);
        const PhotoPlaces places(work(), QStringLiteral("0badf00d"));
        QCOMPARE(bytes(places.path(1)), QByteArray("photo 1"));
        QCOMPARE(bytes(places.path(2)), QByteArray("photo 2"));
    }

    // Two programs saving their own keys into one config.ini at the same
    // time: every key of both is in the file at the end.
    void twoWritersAtOnceKeepEveryKey()
    {
        QVERIFY(TestSupport::writeFile(work() + "/config.ini", "[Settings]\ncompany=Old Ltd.\n"));
        QProcess a, b;
        a.setProcessChannelMode(QProcess::ForwardedChannels);
        b.setProcessChannelMode(QProcess::ForwardedChannels);
        a.start(QCoreApplication::applicationFilePath(), {"--child", "settings-loop", work(), "A"});
        b.start(QCoreApplication::applicationFilePath(), {"--child", "settings-loop", work(), "B"});
        QVERIFY(a.waitForFinished(120000) && b.waitForFinished(120000));
        QCOMPARE(a.exitCode(), 0);
        QCOMPARE(b.exitCode(), 0);
        const QSettings settings(work() + "/config.ini", QSettings::IniFormat);
        QCOMPARE(settings.allKeys().size(), 301);
    }

    // Another program holding the folder's lock for good: the save gives
    // up after a short wait, says why, and leaves the file as it was.
    void heldFolderLockFailsTheSaveInTime()
    {
        const QString file = work() + "/config.ini";
        QVERIFY(TestSupport::writeFile(file, "[Settings]\ncompany=Old Ltd.\n"));
        const int fd = ::open(QFile::encodeName(work()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        QCOMPARE(::flock(fd, LOCK_EX), 0);
        QElapsedTimer timer;
        timer.start();
        QString error;
        const bool written =
            SettingsWriter::write(file, {{QStringLiteral("Settings/company"), QStringLiteral("New Ltd.")}}, &error);
        const qint64 ms = timer.elapsed();
        ::close(fd);
        QVERIFY(!written);
        QVERIFY2(error.contains(QLatin1String("another program")), qPrintable(error));
        QVERIFY2(ms < 30000, qPrintable(QString::number(ms)));
        QCOMPARE(TestSupport::readText(file), QStringLiteral("[Settings]\ncompany=Old Ltd.\n"));
        // With the lock gone the same save goes through.
        QVERIFY2(SettingsWriter::write(file, {{QStringLiteral("Settings/company"), QStringLiteral("New Ltd.")}}, &error),
                 qPrintable(error));
    }

    // A photo deletion killed at each of its steps, gaps in the numbers
    // too: a start gives every photo its number from before the deletion,
    // or, once every later photo had moved down, finishes the deletion.
    // Photo n holds "photo n".
    void killedPhotoDeletionIsSettled_data()
    {
        QTest::addColumn<QList<int>>("taken");
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("killAt");
        QTest::addColumn<bool>("finished");
        const QList<int> four{1, 2, 3, 4};
        QTest::addRow("1 of 1-4: parked") << four << 1 << "photo-parked" << false;
        QTest::addRow("1 of 1-4: one moved") << four << 1 << "photo-moved:1" << false;
        QTest::addRow("1 of 1-4: two moved") << four << 1 << "photo-moved:2" << false;
        QTest::addRow("1 of 1-4: all moved") << four << 1 << "photo-moved:3" << true;
        QTest::addRow("2 of 1-4: one moved") << four << 2 << "photo-moved:1" << false;
        QTest::addRow("2 of 1-4: all moved") << four << 2 << "photo-moved:2" << true;
        QTest::addRow("3 of 1-4: parked") << four << 3 << "photo-parked" << false;
        QTest::addRow("4 of 1-4, the last: parked") << four << 4 << "photo-parked" << true;
        QTest::addRow("1 of 1,3: parked") << QList<int>{1, 3} << 1 << "photo-parked" << false;
        QTest::addRow("1 of 1,3: moved") << QList<int>{1, 3} << 1 << "photo-moved:1" << true;
        QTest::addRow("1 of 1,3,5: parked") << QList<int>{1, 3, 5} << 1 << "photo-parked" << false;
        QTest::addRow("1 of 1,3,5: one moved") << QList<int>{1, 3, 5} << 1 << "photo-moved:1" << false;
        QTest::addRow("1 of 1,3,5: both moved") << QList<int>{1, 3, 5} << 1 << "photo-moved:2" << true;
        QTest::addRow("2 of 2,4: parked") << QList<int>{2, 4} << 2 << "photo-parked" << false;
        QTest::addRow("2 of 2,4: moved") << QList<int>{2, 4} << 2 << "photo-moved:1" << true;
        QTest::addRow("2 of 1,2,4,5: one moved") << QList<int>{1, 2, 4, 5} << 2 << "photo-moved:1" << false;
        QTest::addRow("2 of 1,2,4,5: both moved") << QList<int>{1, 2, 4, 5} << 2 << "photo-moved:2" << true;
        QTest::addRow("3, the only one: parked") << QList<int>{3} << 3 << "photo-parked" << true;
    }
    void killedPhotoDeletionIsSettled()
    {
        QFETCH(QList<int>, taken);
        QFETCH(int, k);
        QFETCH(QString, killAt);
        QFETCH(bool, finished);
        const PhotoPlaces places(work(), kMaster);
        for (int n : taken)
            QVERIFY(TestSupport::writeFile(places.path(n), "photo " + QByteArray::number(n)));
        QVERIFY(runKilled({QStringLiteral("remove"), work(), QString::number(k)}, killAt));
        QCOMPARE(PhotoPlaces::parked(work()).size(), 1);

        QMap<QString, QList<PhotoPlaces::Parked>> byMaster;
        for (const PhotoPlaces::Parked &p : PhotoPlaces::parked(work()))
            byMaster[p.master].append(p);
        QString error;
        QVERIFY2(places.settle(byMaster.value(kMaster), &error), qPrintable(error));

        // Before: every photo in its place. After: photo k gone, the later
        // ones one place lower, the gaps between them kept.
        QList<QByteArray> expected(PhotoPlaces::Count, "<missing>");
        for (int n : taken) {
            if (finished && n == k)
                continue;
            expected[(finished && n > k ? n - 1 : n) - 1] = "photo " + QByteArray::number(n);
        }
        QList<QByteArray> actual;
        for (int n = 1; n <= PhotoPlaces::Count; ++n)
            actual << bytes(places.path(n));
        QCOMPARE(actual, expected);
        QCOMPARE(tree(work() + "/RCImages").filter(QStringLiteral("deleting")), QStringList());
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc >= 2 && qstrcmp(argv[1], "--child") == 0)
        return childMain(QCoreApplication::arguments().mid(2));
    TestInterruptedWrites test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_interruptedwrites.moc"
