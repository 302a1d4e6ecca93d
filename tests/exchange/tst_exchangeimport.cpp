// Export of a link master and import of the file back into the catalogue:
// round trip, the replace and copy paths, and files that must change nothing.
#include "CatalogueFixture.h"
#include "FifoWatchdog.h"
#include "FullDisk.h"
#include "TestSupport.h"

#include "app/OwnMark.h"
#include "catalogue/ModelRecords.h"
#include "catalogue/PhotoPlaces.h"
#include "exchange/ExchangeFile.h"
#include "exchange/ExchangeImport.h"
#include "exchange/PhotosFirst.h"
#include "exchange/RemoteExport.h"

#include <QDir>
#include <QSqlQuery>
#include <QtTest>

#include <cerrno>
#include <memory>
#include <sys/stat.h>
#include <cstring>

#include <sys/resource.h>

using CatalogueFixture::Key;
using CatalogueFixture::Model;

class TestExchangeImport : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    QSqlDatabase m_db;

    QString work() const { return m_dir->path(); }
    QString path(const QString &name) const { return QDir(work()).filePath(name); }

    QStringList dump()
    {
        return TestSupport::tableRows(m_db, QStringLiteral("rcmodels"), QStringLiteral("Rcid"))
            + TestSupport::tableRows(m_db, QStringLiteral("rckeys"), QStringLiteral("Rcid,RCTypeId,Nkey,Name"));
    }

    QStringList photos() const
    {
        return QDir(path(QStringLiteral("RCImages"))).entryList(QDir::Files, QDir::Name);
    }

    static RemoteExport::Selection selectionOf(const QString &rcid, const QString &brand, const QString &model,
                                               const QString &link, const QString &typeId = QStringLiteral("1"))
    {
        return {rcid, brand, model, link, typeId, QStringLiteral("TV")};
    }

    QByteArray exportFile(const RemoteExport::Selection &s, const QString &folder)
    {
        QDir().mkpath(path(folder));
        QString name, error;
        if (!RemoteExport::proposedName(m_db, s, &name, &error))
            return QByteArray("no name: ") + error.toUtf8();
        QStringList problems;
        const QString file = QDir(path(folder)).filePath(name + QStringLiteral(".xml"));
        if (!RemoteExport::exportTo(m_db, work(), s, name, file, &error, &problems))
            return QByteArray("not written: ") + error.toUtf8();
        if (!problems.isEmpty())
            return QByteArray("photo problems");
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

    ExchangeImport::Result import(const QByteArray &bytes, ExchangeImport::Mode mode, QString *rcid = nullptr,
                                  QStringList *log = nullptr, QString *why = nullptr)
    {
        ExchangeFile::Document d;
        QString discarded;
        QString *error = why ? why : &discarded;
        if (!ExchangeFile::read(bytes, &d, error))
            return ExchangeImport::Result::WrongFile;
        ExchangeImport::Outcome outcome;
        const auto result = ExchangeImport::write(m_db, d, mode, &outcome, error);
        if (rcid)
            *rcid = outcome.rcid;
        if (log)
            *log = outcome.log;
        return result;
    }

    void writePhoto(const QString &name, const QByteArray &data)
    {
        QVERIFY(TestSupport::writeFile(path(name), data));
    }

    // No transaction or lock stays behind: a second connection can write.
    void verifyUnlocked()
    {
        QVERIFY(m_db.transaction());
        QVERIFY(m_db.rollback());
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(path(QStringLiteral("rc.db")));
        QVERIFY(other.open());
        {
            QSqlQuery q(other);
            QVERIFY(q.exec(QStringLiteral("BEGIN IMMEDIATE")));
            QVERIFY(q.exec(QStringLiteral("ROLLBACK")));
        }
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir(work()).mkdir(QStringLiteral("RCImages")));
        m_db = TestSupport::openFixtureCatalogue(work());
        QVERIFY(m_db.isOpen());
        // An own master with two own links and a factory link, keys of two
        // types; a factory master with keys of two types.
        Model master{"1a2b3c4d", "ACME", "TV", "X-1", "first line\nsecond & <third>", {}, {}};
        master.flag = 0;
        master.prot = 17;
        master.correction = 1.5;
        QVERIFY(CatalogueFixture::addModel(m_db, master));
        Model link1{"1a2b0001", "DEF", "TV", "Y-2", "", "1a2b3c4d", {}};
        link1.flag = 0;
        QVERIFY(CatalogueFixture::addModel(m_db, link1));
        Model link2{"1a2b0002", "GHI", "DVD", "Z-3", {}, "1a2b3c4d", {}};
        link2.flag = 0;
        link2.correction = -2.5;
        QVERIFY(CatalogueFixture::addModel(m_db, link2));
        Model factory{"ffff0000", "SONY", "TV", "F-1", "factory", {}, "maker"};
        factory.own = 0;
        factory.hidden = 1;
        QVERIFY(CatalogueFixture::addModel(m_db, factory));
        for (int n = 0; n < 3; ++n) {
            QVERIFY(CatalogueFixture::addKey(m_db, {"1a2b3c4d", 1, QStringLiteral("key %1").arg(n),
                                                    QStringLiteral("0013%1").arg(n), n * 3}));
            QVERIFY(CatalogueFixture::addKey(m_db, {"ffff0000", 1, "f", QStringLiteral("0070%1").arg(n), n}));
            QVERIFY(CatalogueFixture::addKey(m_db, {"ffff0000", 2, "g", QStringLiteral("0080%1").arg(n), n}));
        }
        writePhoto(QStringLiteral("RCImages/1a2b3c4d_1.jpg"), "photo one");
        writePhoto(QStringLiteral("RCImages/1a2b3c4d_3.jpg"), "photo three");
    }
    void cleanup()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
        delete m_dir;
        m_dir = nullptr;
    }

    void roundTripGivesTheSameFileAndRows()
    {
        const auto selection = selectionOf("1a2b3c4d", "ACME", "X-1", "1a2b3c4d");
        const QStringList before = dump();
        const QByteArray first = exportFile(selection, QStringLiteral("out1"));
        QVERIFY2(first.startsWith("<?xml"), first.constData());
        QVERIFY(first.contains("<Rcid>1a2b0002</Rcid>"));
        QCOMPARE(QDir(path(QStringLiteral("out1"))).entryList(QDir::Files, QDir::Name),
                 QStringList({"ACME__X-1__TV 1a2b3c4d_1.jpg", "ACME__X-1__TV 1a2b3c4d_3.jpg", "ACME__X-1__TV.xml"}));

        QString error;
        QCOMPARE(ModelRecords::deleteModel(m_db, work(), QStringLiteral("1a2b3c4d"), &error),
                 ModelRecords::DeleteResult::Deleted);
        QVERIFY(photos().isEmpty());

        ExchangeFile::Document d;
        QVERIFY(ExchangeFile::read(first, &d, &error));
        QCOMPARE(ExchangeImport::before(m_db, d, &error), ExchangeImport::Before::Write);
        QString rcid;
        QCOMPARE(import(first, ExchangeImport::Mode::Replace, &rcid), ExchangeImport::Result::Written);
        QCOMPARE(rcid, QStringLiteral("1a2b3c4d"));
        QVERIFY(ExchangeImport::copyPhotos(path(QStringLiteral("out1")), d.master.rcid, work(), rcid).isEmpty());

        QCOMPARE(dump(), before);
        QCOMPARE(photos(), QStringList({"1a2b3c4d_1.jpg", "1a2b3c4d_3.jpg"}));
        QCOMPARE(TestSupport::readText(path(QStringLiteral("RCImages/1a2b3c4d_3.jpg"))), QStringLiteral("photo three"));
        QCOMPARE(exportFile(selection, QStringLiteral("out2")), first);
    }

    // A master with 20,000 own links exports to a file of megabytes and some
    // 300,000 elements and texts; the import takes it back whole.
    void largeMasterRoundTrips()
    {
        QVERIFY(m_db.transaction());
        for (int n = 0; n < 20000; ++n) {
            Model link{QStringLiteral("5%1").arg(n, 7, 16, QLatin1Char('0')), "LINKED", "TV",
                       QStringLiteral("L-%1").arg(n), QStringLiteral("notes %1").arg(n), "1a2b3c4d", {}};
            link.flag = 0;
            link.prot = n % 1000;
            link.correction = 0.5;
            QVERIFY(CatalogueFixture::addModel(m_db, link));
        }
        QVERIFY(m_db.commit());
        const auto selection = selectionOf("1a2b3c4d", "ACME", "X-1", "1a2b3c4d");
        const QStringList before = dump();
        const QByteArray file = exportFile(selection, QStringLiteral("out"));
        QVERIFY2(file.startsWith("<?xml"), file.left(200).constData());
        QVERIFY(file.size() > 4 * 1024 * 1024);

        QVERIFY(CatalogueFixture::exec(m_db, QStringLiteral("DELETE FROM rckeys WHERE Rcid='1a2b3c4d'")));
        QVERIFY(CatalogueFixture::exec(m_db, QStringLiteral("DELETE FROM rcmodels WHERE Link='1a2b3c4d'")));
        QString rcid, why;
        QCOMPARE(import(file, ExchangeImport::Mode::Replace, &rcid, nullptr, &why), ExchangeImport::Result::Written);
        QVERIFY2(why.isEmpty(), qPrintable(why));
        QCOMPARE(rcid, QStringLiteral("1a2b3c4d"));
        QCOMPARE(dump(), before);
        QCOMPARE(exportFile(selection, QStringLiteral("again")), file);
    }

    void linkedModelExportsItsMaster()
    {
        QString name, error;
        QVERIFY(RemoteExport::proposedName(m_db, selectionOf("1a2b0001", "DEF", "Y-2", "1a2b3c4d"), &name, &error));
        QCOMPARE(name, QStringLiteral("ACME__X-1__TV (DEF__Y-2)"));
        const QByteArray file = exportFile(selectionOf("1a2b0001", "DEF", "Y-2", "1a2b3c4d"), QStringLiteral("out"));
        QVERIFY(file.contains("<Rcid>1a2b3c4d</Rcid>"));
        QVERIFY(file.contains("<Rcid>1a2b0001</Rcid>"));
        // A linked model whose master is gone exports nothing.
        QVERIFY(!RemoteExport::proposedName(m_db, selectionOf("1a2b0001", "DEF", "Y-2", "99999999"), &name, &error));
        QVERIFY(error.isEmpty());
    }

    void namesStayInTheChosenFolder_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("safe");
        QTest::addRow("forbidden characters") << "ABC__Q:R*S?T<U>V__TV" << "ABC__QRSTUV__TV";
        QTest::addRow("slashes") << "../../evil__A/B\\C__TV" << "___.._evil__A_B_C__TV";
        QTest::addRow("leading dots") << "..hidden" << "__hidden";
        QTest::addRow("no selection") << "____TV" << "____TV";
    }
    void namesStayInTheChosenFolder()
    {
        QFETCH(QString, text);
        QFETCH(QString, safe);
        QCOMPARE(RemoteExport::safeFileName(text), safe);
    }

    void evilBrandWritesOnlyIntoTheFolder()
    {
        QVERIFY(CatalogueFixture::exec(m_db, QStringLiteral("UPDATE rcmodels SET Brand='../../evil' WHERE Rcid='1a2b3c4d'")));
        const QByteArray file = exportFile(selectionOf("1a2b3c4d", "../../evil", "X-1", "1a2b3c4d"),
                                           QStringLiteral("a/b/out"));
        QVERIFY(file.contains("<Brand>../../evil</Brand>"));
        QCOMPARE(QDir(path(QStringLiteral("a/b/out"))).entryList(QDir::Files).size(), 3);
        QCOMPARE(QDir(path(QStringLiteral("a"))).entryList(QDir::Files), QStringList());
        QCOMPARE(QDir(work()).entryList(QDir::Files), QStringList({"rc.db"}));
    }

    // An export that is refused leaves the chosen folder as it was: no
    // file and no photo (the master has two).
    void refusedExportWritesNothing_data()
    {
        QTest::addColumn<bool>("controlCharacter");
        QTest::addRow("text XML cannot carry") << true;
        QTest::addRow("a folder where the file belongs") << false;
    }
    void refusedExportWritesNothing()
    {
        QFETCH(bool, controlCharacter);
        QVERIFY(QDir(work()).mkpath(QStringLiteral("out")));
        QString file = path(QStringLiteral("out/refused.xml"));
        if (controlCharacter)
            QVERIFY(CatalogueFixture::exec(
                m_db, QStringLiteral("UPDATE rcmodels SET Documentation='ctl'||char(1) WHERE Rcid='1a2b3c4d'")));
        else
            QVERIFY(QDir(work()).mkpath(QStringLiteral("out/refused.xml")));
        const QStringList before = QDir(path(QStringLiteral("out"))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
        QString error;
        QStringList problems;
        QVERIFY(!RemoteExport::exportTo(m_db, work(), selectionOf("1a2b3c4d", "ACME", "X-1", "1a2b3c4d"),
                                        QStringLiteral("p"), file, &error, &problems));
        QVERIFY(!error.isEmpty());
        QVERIFY(problems.isEmpty());
        QCOMPARE(QDir(path(QStringLiteral("out"))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 before);
    }

    // Once the file is there, a photo that cannot be copied is named with
    // its reason; the file and the other photo stay.
    void photoThatCannotBeCopiedIsReported()
    {
        QVERIFY(QDir(work()).mkpath(QStringLiteral("RCImages/1a2b3c4d_2.jpg"))); // a folder, not a photo
        QVERIFY(QDir(work()).mkpath(QStringLiteral("out")));
        QString error;
        QStringList problems;
        QVERIFY2(RemoteExport::exportTo(m_db, work(), selectionOf("1a2b3c4d", "ACME", "X-1", "1a2b3c4d"),
                                        QStringLiteral("p"), path(QStringLiteral("out/p.xml")), &error, &problems),
                 qPrintable(error));
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems[0].contains(QLatin1String("1a2b3c4d_2.jpg")), qPrintable(problems[0]));
        QCOMPARE(QDir(path(QStringLiteral("out"))).entryList(QDir::Files, QDir::Name),
                 QStringList({"p 1a2b3c4d_1.jpg", "p 1a2b3c4d_3.jpg", "p.xml"}));
    }

    // An export over a file the user keeps private, reached through a link,
    // replaces the content only: the link stays and so does the mode.
    void replacedExportKeepsLinkAndMode()
    {
        QVERIFY(QDir(work()).mkpath(QStringLiteral("out")));
        QVERIFY(QDir(work()).mkpath(QStringLiteral("kept")));
        const QString real = path(QStringLiteral("kept/p.xml"));
        const QString file = path(QStringLiteral("out/p.xml"));
        QVERIFY(TestSupport::writeFile(real, "the old export"));
        QVERIFY(QFile::setPermissions(real, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(QFile::link(QStringLiteral("../kept/p.xml"), file));
        QString error;
        QStringList problems;
        QVERIFY2(RemoteExport::exportTo(m_db, work(), selectionOf("1a2b3c4d", "ACME", "X-1", "1a2b3c4d"),
                                        QStringLiteral("p"), file, &error, &problems),
                 qPrintable(error));
        QVERIFY(QFileInfo(file).isSymLink());
        QVERIFY(TestSupport::readText(real).contains(QLatin1String("1a2b3c4d")));
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(real).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 07777), 0600);
        QCOMPARE(QDir(path(QStringLiteral("kept"))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList{"p.xml"});
    }

    // A photo is copied only when it is a regular file within the photo
    // bound, and in pieces: a link to /dev/zero, a named pipe or a huge
    // sparse file is left out and named with its reason, the file and the
    // other photos are written, and memory stays small (the bound is
    // generous: reading the huge photo alone would pass it many times).
    void photoThatIsNoPhotoIsLeftOutOfAnExport_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::addRow("link to /dev/zero") << "device" << "not a regular file but a device";
        QTest::addRow("named pipe") << "pipe" << "not a regular file but a named pipe";
        QTest::addRow("past the photo bound") << "huge" << "larger than 64 MiB";
    }
    void photoThatIsNoPhotoIsLeftOutOfAnExport()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QString photo = path(PhotoPlaces::relativePath(QStringLiteral("1a2b3c4d"), 2));
        QVERIFY(!QFileInfo::exists(photo));
        std::unique_ptr<FifoWatchdog> pipe;
        if (kind == QLatin1String("device")) {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), photo));
        } else if (kind == QLatin1String("pipe")) {
            pipe = std::make_unique<FifoWatchdog>(photo);
            QVERIFY(pipe->made());
        } else {
            QFile f(photo);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.write("\xFF\xD8\xFF") == 3);
            QVERIFY(f.resize(qint64(300) * 1024 * 1024));
        }
        QVERIFY(QDir(work()).mkpath(QStringLiteral("out")));
        rusage usage = {};
        getrusage(RUSAGE_SELF, &usage);
        const long before = usage.ru_maxrss;
        QString error;
        QStringList problems;
        QVERIFY2(RemoteExport::exportTo(m_db, work(), selectionOf("1a2b3c4d", "ACME", "X-1", "1a2b3c4d"),
                                        QStringLiteral("p"), path(QStringLiteral("out/p.xml")), &error, &problems),
                 qPrintable(error));
        getrusage(RUSAGE_SELF, &usage);
        const long grown = usage.ru_maxrss - before;
        if (pipe)
            QVERIFY2(!pipe->fired(), "the export waited on the pipe");
        QVERIFY2(grown < 64 * 1024, qPrintable(QStringLiteral("%1 KiB more at the peak").arg(grown)));
        QCOMPARE(problems,
                 QStringList{QStringLiteral("Cannot read the file %1: %2").arg(QDir::toNativeSeparators(photo), reason)});
        QCOMPARE(QDir(path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 QStringList({"p 1a2b3c4d_1.jpg", "p 1a2b3c4d_3.jpg", "p.xml"}));
    }

    // The same bound on an import: a huge photo beside the file is left out
    // and named, the others are copied, memory stays small.
    void hugePhotoBesideAnImportIsLeftOut()
    {
        QVERIFY(QDir(work()).mkpath(QStringLiteral("in")));
        writePhoto(QStringLiteral("in/SOME NAME 1a2b3c4d_1.jpg"), "first photo");
        const QString huge = path(QStringLiteral("in/SOME NAME 1a2b3c4d_2.jpg"));
        {
            QFile f(huge);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.write("\xFF\xD8\xFF") == 3);
            QVERIFY(f.resize(qint64(300) * 1024 * 1024));
        }
        rusage usage = {};
        getrusage(RUSAGE_SELF, &usage);
        const long before = usage.ru_maxrss;
        const QStringList problems = ExchangeImport::copyPhotos(path(QStringLiteral("in")), QStringLiteral("1a2b3c4d"),
                                                                work(), QStringLiteral("0badf00d"));
        getrusage(RUSAGE_SELF, &usage);
        const long grown = usage.ru_maxrss - before;
        QVERIFY2(grown < 64 * 1024, qPrintable(QStringLiteral("%1 KiB more at the peak").arg(grown)));
        QCOMPARE(problems, QStringList{QStringLiteral("Cannot read the file %1: larger than 64 MiB")
                                           .arg(QDir::toNativeSeparators(huge))});
        QCOMPARE(TestSupport::readText(path(PhotoPlaces::relativePath(QStringLiteral("0badf00d"), 1))),
                 QStringLiteral("first photo"));
        QVERIFY(!QFileInfo::exists(path(PhotoPlaces::relativePath(QStringLiteral("0badf00d"), 2))));
    }

    void fullDiskKeepsTheOldExportAndSaysWhy()
    {
        FullDisk disk(256 * 1024);
        QVERIFY(disk.isValid());
        const QDir out(disk.path());
        const QString file = out.filePath(QStringLiteral("p.xml"));
        QVERIFY(TestSupport::writeFile(file, "the old export"));
        const QStringList sources = photos().filter(QStringLiteral("1a2b3c4d_"));
        QVERIFY(!sources.isEmpty());
        QVERIFY(disk.fill());
        QString error;
        QStringList problems;
        QVERIFY(!RemoteExport::exportTo(m_db, work(), selectionOf("1a2b3c4d", "ACME", "X-1", "1a2b3c4d"),
                                        QStringLiteral("p"), file, &error, &problems));
        const QString full = QString::fromLocal8Bit(std::strerror(ENOSPC));
        QVERIFY2(error.contains(QDir::toNativeSeparators(file)) && error.contains(full), qPrintable(error));
        // Without its file no photo is tried.
        QVERIFY(problems.isEmpty());
        disk.release();
        QCOMPARE(TestSupport::readText(file), QStringLiteral("the old export"));
        QCOMPARE(out.entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden), QStringList{"p.xml"});
    }

    void fullDiskCopiesNoHalfPhotosOnImport()
    {
        FullDisk disk(256 * 1024);
        QVERIFY(disk.isValid());
        const QDir target(disk.path());
        QVERIFY(target.mkpath(QStringLiteral("RCImages")));
        QVERIFY(QDir(work()).mkpath(QStringLiteral("in")));
        writePhoto(QStringLiteral("in/SOME NAME 1a2b3c4d_1.jpg"), QByteArray(2000, 'p'));
        QVERIFY(disk.fill());
        const QStringList problems =
            ExchangeImport::copyPhotos(path(QStringLiteral("in")), QStringLiteral("1a2b3c4d"), disk.path(),
                                       QStringLiteral("0badf00d"));
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems.at(0).contains(QString::fromLocal8Bit(std::strerror(ENOSPC))), qPrintable(problems.at(0)));
        // The user knows the photo by its place, not by the work file.
        const PhotoPlaces places(disk.path(), QStringLiteral("0badf00d"));
        QVERIFY2(problems.at(0).contains(QDir::toNativeSeparators(places.path(1))), qPrintable(problems.at(0)));
        disk.release();
        // Nothing among the photos, nothing left in their work folder but its mark.
        QStringList left = QDir(target.filePath(QStringLiteral("RCImages")))
                               .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
        if (left.removeOne(OwnMark::workFolderName()))
            QCOMPARE(QDir(places.workFolder()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                     QStringList{OwnMark::markName()});
        QCOMPARE(left, QStringList());
    }

    // The photos come before the commit; when the commit then fails (a
    // reader holds the catalogue), the photos the import added go again and
    // a photo that was there before stays.
    void photosOfAnImportThatIsNotWrittenGo()
    {
        QVERIFY(QDir(work()).mkpath(QStringLiteral("in")));
        writePhoto(QStringLiteral("in/FILE 0badf00d_1.jpg"), "file photo 1");
        writePhoto(QStringLiteral("in/FILE 0badf00d_2.jpg"), "file photo 2");
        const PhotoPlaces places(work(), QStringLiteral("0badf00d"));
        writePhoto(PhotoPlaces::relativePath(QStringLiteral("0badf00d"), 2), "there before");
        ExchangeFile::Document d;
        QString error;
        QVERIFY(ExchangeFile::read(
            "<Irvanta><RCDescription><IrvantaVersion>2.5.10</IrvantaVersion><Rcid>0badf00d</Rcid><Brand>FILE</Brand>"
            "<Type>TV</Type><Model>F-1</Model><RCTypeId>1</RCTypeId></RCDescription><RCKeys><RCKey><Name>k</Name>"
            "<ID>0013AB</ID><Nkey>1</Nkey></RCKey></RCKeys><RCLinks/></Irvanta>",
            &d, &error));
        const QStringList models = TestSupport::tableRows(m_db, QStringLiteral("rcmodels"), QStringLiteral("Rcid"));
        {
            QSqlDatabase writer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
            writer.setDatabaseName(path(QStringLiteral("rc.db")));
            writer.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=50"));
            QVERIFY(writer.open());
            QSqlQuery reading(m_db);
            QVERIFY(reading.exec(QStringLiteral("SELECT Rcid FROM rcmodels")) && reading.next());
            QStringList copiedFor;
            PhotosFirst photos(work(), [&](const QString &rcid) {
                copiedFor << rcid;
                return ExchangeImport::copyPhotos(path(QStringLiteral("in")), d.master.rcid, work(), rcid);
            });
            ExchangeImport::Outcome outcome;
            QCOMPARE(ExchangeImport::write(writer, d, ExchangeImport::Mode::Replace, &outcome, &error, &photos),
                     ExchangeImport::Result::Failed);
            QCOMPARE(copiedFor, QStringList{"0badf00d"});
        }
        QSqlDatabase::removeDatabase(QStringLiteral("writer"));
        QVERIFY(!QFileInfo::exists(places.path(1)));
        QCOMPARE(TestSupport::readText(places.path(2)), QStringLiteral("there before"));
        QCOMPARE(TestSupport::tableRows(m_db, QStringLiteral("rcmodels"), QStringLiteral("Rcid")), models);
    }

    void copyAnswerMakesANewOwnMaster()
    {
        const QByteArray file = exportFile(selectionOf("ffff0000", "SONY", "F-1", "ffff0000"), QStringLiteral("out"));
        ExchangeFile::Document d;
        QString error;
        QVERIFY(ExchangeFile::read(file, &d, &error));
        QCOMPARE(ExchangeImport::before(m_db, d, &error), ExchangeImport::Before::Ask);
        writePhoto(QStringLiteral("out/SOME NAME ffff0000_2.JPG"), "factory photo");
        const QStringList before = dump();

        QString rcid;
        QCOMPARE(import(file, ExchangeImport::Mode::Copy, &rcid), ExchangeImport::Result::Written);
        QVERIFY(ExchangeFile::isRcid(rcid));
        QVERIFY(rcid != QStringLiteral("ffff0000"));
        const QVariantMap row = TestSupport::modelRow(m_db, rcid);
        QCOMPARE(row.value("Own").toInt(), 1);
        QCOMPARE(row.value("Link").toString(), rcid);
        QCOMPARE(CatalogueFixture::column(m_db, "SELECT ID FROM rckeys WHERE Rcid=? ORDER BY Nkey", {rcid}),
                 QStringList({"00700", "00701", "00702"}));
        QCOMPARE(CatalogueFixture::value(m_db, "SELECT count(*) FROM rcmodels WHERE Link=?", {rcid}).toInt(), 1);
        // Everything that was there stays.
        for (const QString &line : before)
            QVERIFY2(dump().contains(line), qPrintable(line));
        QVERIFY(ExchangeImport::copyPhotos(path(QStringLiteral("out")), d.master.rcid, work(), rcid).isEmpty());
        QCOMPARE(TestSupport::readText(path(PhotoPlaces::relativePath(rcid, 2))), QStringLiteral("factory photo"));
    }

    void replaceAnswerKeepsFactoryAndOtherTypes()
    {
        QByteArray file = exportFile(selectionOf("ffff0000", "SONY", "F-1", "ffff0000"), QStringLiteral("out"));
        file.replace("<Model>F-1</Model>", "<Model>F-1 NEW</Model>").replace("<ID>00701</ID>", "<ID>0079X</ID>");
        QVERIFY(CatalogueFixture::exec(m_db, QStringLiteral("UPDATE rcmodels SET Flag=1 WHERE Rcid='ffff0000'")));
        QCOMPARE(import(file, ExchangeImport::Mode::Replace), ExchangeImport::Result::Written);
        const QVariantMap row = TestSupport::modelRow(m_db, "ffff0000");
        QCOMPARE(row.value("Model").toString(), QStringLiteral("F-1 NEW"));
        QCOMPARE(row.value("Own").toInt(), 0);
        QCOMPARE(row.value("Author").toString(), QStringLiteral("maker"));
        QCOMPARE(row.value("Hidden").toInt(), 1);
        QCOMPARE(row.value("Flag").toInt(), 0);
        QCOMPARE(CatalogueFixture::column(m_db, "SELECT ID FROM rckeys WHERE Rcid='ffff0000' ORDER BY RCTypeId,Nkey"),
                 QStringList({"00700", "0079X", "00702", "00800", "00801", "00802"}));
    }

    void linksThatWouldTakeOtherKeysAreSkipped()
    {
        const QByteArray file = exportFile(selectionOf("1a2b3c4d", "ACME", "X-1", "1a2b3c4d"), QStringLiteral("out"));
        QByteArray forged = file;
        forged.replace("<Rcid>1a2b0001</Rcid>", "<Rcid>1a2b3c4d</Rcid>")
            .replace("<Rcid>1a2b0002</Rcid>", "<Rcid>ffff0000</Rcid>");
        const QStringList factoryKeys =
            CatalogueFixture::column(m_db, "SELECT ID FROM rckeys WHERE Rcid='ffff0000' ORDER BY RCTypeId,Nkey");
        QStringList log;
        QCOMPARE(import(forged, ExchangeImport::Mode::Replace, nullptr, &log), ExchangeImport::Result::Written);
        QCOMPARE(log.size(), 2);
        QCOMPARE(CatalogueFixture::column(m_db, "SELECT ID FROM rckeys WHERE Rcid='ffff0000' ORDER BY RCTypeId,Nkey"),
                 factoryKeys);
        QCOMPARE(TestSupport::modelRow(m_db, "ffff0000").value("Link").toString(), QStringLiteral("ffff0000"));
        QCOMPARE(TestSupport::modelRow(m_db, "1a2b3c4d").value("Link").toString(), QStringLiteral("1a2b3c4d"));
    }

    // A link naming a row that another master holds (factory or own) leaves
    // that row as it was; the file's own links are still written.
    // A text XML cannot carry is never written shortened: no file, and the
    // reason names the model and the field.
    void exportRefusesTextsXmlCannotCarry()
    {
        QVERIFY(CatalogueFixture::exec(
            m_db, QStringLiteral("UPDATE rcmodels SET Documentation='ctl'||char(1)||' end' WHERE Rcid='1a2b3c4d'")));
        QDir().mkpath(path(QStringLiteral("out")));
        const QString file = path(QStringLiteral("out/refused.xml"));
        QString error;
        QStringList problems;
        QVERIFY(!RemoteExport::exportTo(m_db, work(), selectionOf("1a2b3c4d", "ACME", "X-1", "1a2b3c4d"),
                                        QStringLiteral("refused"), file, &error, &problems));
        QVERIFY(!QFileInfo::exists(file));
        QVERIFY2(error.contains(QLatin1String("Documentation")) && error.contains(QLatin1String("ACME TV X-1")),
                 qPrintable(error));
    }

    void linksOfAnotherMasterAreNotTakenOver_data()
    {
        QTest::addColumn<int>("own");
        QTest::addRow("factory row") << 0;
        QTest::addRow("own row") << 1;
    }
    void linksOfAnotherMasterAreNotTakenOver()
    {
        QFETCH(int, own);
        Model taken{"ffff0001", "SONY", "TV", "F-2", "theirs", "ffff0000", "maker"};
        taken.own = own;
        QVERIFY(CatalogueFixture::addModel(m_db, taken));
        const QVariantMap before = TestSupport::modelRow(m_db, "ffff0001");
        QByteArray file = exportFile(selectionOf("1a2b3c4d", "ACME", "X-1", "1a2b3c4d"), QStringLiteral("out"));
        file.replace("<Rcid>1a2b0002</Rcid>", "<Rcid>ffff0001</Rcid>")
            .replace("<Model>Y-2</Model>", "<Model>Y-2 NEW</Model>");
        QStringList log;
        QCOMPARE(import(file, ExchangeImport::Mode::Replace, nullptr, &log), ExchangeImport::Result::Written);
        QCOMPARE(TestSupport::modelRow(m_db, "ffff0001"), before);
        QCOMPARE(log.size(), 1);
        QVERIFY2(log.constFirst().contains(QLatin1String("ffff0001")), qPrintable(log.constFirst()));
        QCOMPARE(TestSupport::modelRow(m_db, "1a2b0001").value("Model").toString(), QStringLiteral("Y-2 NEW"));
    }

    // A file whose master is a row linked to another master (factory or
    // own, or to a master that is gone) is refused whole: that row stays
    // its master's, and the reason names the row and its master.
    void masterThatIsALinkOfAnotherMasterIsRefused_data()
    {
        QTest::addColumn<int>("own");
        QTest::addColumn<QString>("master");
        QTest::addRow("factory link") << 0 << "ffff0000";
        QTest::addRow("own link") << 1 << "ffff0000";
        QTest::addRow("link of the file's own links' master") << 1 << "1a2b3c4d";
        QTest::addRow("link of a master that is gone") << 0 << "99999999";
    }
    void masterThatIsALinkOfAnotherMasterIsRefused()
    {
        QFETCH(int, own);
        QFETCH(QString, master);
        Model taken{"ffff0001", "SONY", "TV", "F-2", "theirs", master, "maker"};
        taken.own = own;
        QVERIFY(CatalogueFixture::addModel(m_db, taken));
        QByteArray file = exportFile(selectionOf("1a2b3c4d", "ACME", "X-1", "1a2b3c4d"), QStringLiteral("out"));
        QVERIFY(file.contains("<Rcid>1a2b3c4d</Rcid>"));
        file.replace("<Rcid>1a2b3c4d</Rcid>", "<Rcid>ffff0001</Rcid>");
        const QStringList before = dump();
        QString why;
        QVERIFY(import(file, ExchangeImport::Mode::Replace, nullptr, nullptr, &why) != ExchangeImport::Result::Written);
        QCOMPARE(dump(), before);
        QVERIFY2(why.contains(QLatin1String("ffff0001")) && why.contains(master), qPrintable(why));
        verifyUnlocked();
    }

    // What the window must do before it writes the file's master.
    void beforeTellsWhatComesFirst_data()
    {
        QTest::addColumn<QString>("rcid");
        QTest::addColumn<QString>("typeId");
        QTest::addColumn<int>("expected");
        QTest::addRow("new model") << "0badf00d" << "1" << int(ExchangeImport::Before::Write);
        QTest::addRow("own master without keys of the type") << "1a2b3c4d" << "2" << int(ExchangeImport::Before::Write);
        QTest::addRow("own master with keys of the type") << "1a2b3c4d" << "1" << int(ExchangeImport::Before::Ask);
        QTest::addRow("factory master with keys of the type") << "ffff0000" << "1" << int(ExchangeImport::Before::Ask);
        QTest::addRow("factory master without keys of the type")
            << "ffff0000" << "3" << int(ExchangeImport::Before::Ask);
        QTest::addRow("own link") << "1a2b0001" << "1" << int(ExchangeImport::Before::Refused);
    }
    void beforeTellsWhatComesFirst()
    {
        QFETCH(QString, rcid);
        QFETCH(QString, typeId);
        QFETCH(int, expected);
        ExchangeFile::Document d;
        d.hasMaster = true;
        d.master.rcid = rcid;
        d.rcTypeId = typeId;
        QString why;
        QCOMPARE(int(ExchangeImport::before(m_db, d, &why)), expected);
        if (expected == int(ExchangeImport::Before::Refused))
            QVERIFY2(why.contains(rcid) && why.contains(QLatin1String("1a2b3c4d")), qPrintable(why));
    }

    // An empty value of the file is stored as an empty text, as the other
    // imports store it, on the master and its links, new rows and old.
    void emptyValuesAreStoredAsEmptyTexts_data()
    {
        QTest::addColumn<bool>("newRows");
        QTest::addColumn<int>("mode");
        QTest::addRow("replace, rows there") << false << 0;
        QTest::addRow("replace, new rows") << true << 0;
        QTest::addRow("copy") << false << 1;
    }
    void emptyValuesAreStoredAsEmptyTexts()
    {
        QFETCH(bool, newRows);
        QFETCH(int, mode);
        QString text = QString::fromUtf8(
            exportFile(selectionOf("1a2b3c4d", "ACME", "X-1", "1a2b3c4d"), QStringLiteral("out")));
        text.replace(QRegularExpression(QStringLiteral("<Correction>[^<]*</Correction>")), QStringLiteral("<Correction/>"))
            .replace(QRegularExpression(QStringLiteral("<Prot>[^<]*</Prot>")), QStringLiteral("<Prot></Prot>"))
            .replace(QRegularExpression(QStringLiteral("<Documentation>[^<]*</Documentation>")),
                     QStringLiteral("<Documentation/>"));
        QCOMPARE(text.count(QLatin1String("<Correction/>")), 3);
        const QByteArray file = text.toUtf8();
        if (newRows)
            QVERIFY(CatalogueFixture::exec(m_db, QStringLiteral("DELETE FROM rcmodels")));
        QString rcid;
        QCOMPARE(import(file, mode ? ExchangeImport::Mode::Copy : ExchangeImport::Mode::Replace, &rcid),
                 ExchangeImport::Result::Written);
        // The master, and on replace its links (written with empty values).
        const QStringList rows = CatalogueFixture::column(
            m_db,
            "SELECT Rcid||':'||typeof(Documentation)||typeof(Correction)||typeof(Prot) FROM rcmodels "
            "WHERE Rcid=? OR (Link=? AND ?=0) ORDER BY Rcid",
            {rcid, rcid, mode});
        QCOMPARE(rows.size(), mode ? 1 : 3);
        for (const QString &row : rows)
            QCOMPARE(row.section(QLatin1Char(':'), 1), QStringLiteral("texttexttext"));
    }

    // A file of the old version for remote type 5 drops only the keys at
    // positions without a key, and the import's log says which.
    void type5PositionWithoutKeyIsSkippedAndLogged()
    {
        const QByteArray file =
            "<Irvanta><RCDescription><IrvantaVersion>1.1</IrvantaVersion><Rcid>0badf00d</Rcid><Brand>OLD</Brand>"
            "<Type>TV</Type><Model>O-1</Model><RCTypeId>5</RCTypeId></RCDescription><RCKeys>"
            "<RCKey><Name>one</Name><ID>00131</ID><PCB>0 52</PCB></RCKey>"
            "<RCKey><Name>none</Name><ID>00132</ID><PCB>0 54</PCB></RCKey>"
            "<RCKey><Name>two</Name><ID>00133</ID><PCB>1 41</PCB></RCKey>"
            "</RCKeys><RCLinks/></Irvanta>";
        QStringList log;
        QCOMPARE(import(file, ExchangeImport::Mode::Replace, nullptr, &log), ExchangeImport::Result::Written);
        QCOMPARE(CatalogueFixture::column(m_db, "SELECT Nkey||' '||ID FROM rckeys WHERE Rcid='0badf00d' ORDER BY Nkey"),
                 QStringList({"1 00131", "45 00133"}));
        QCOMPARE(log.size(), 1);
        QVERIFY2(log[0].contains(QLatin1String("\"none\"")) && log[0].contains(QLatin1String("0 54")),
                 qPrintable(log[0]));
    }

    void failedImportsChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<int>("mode");
        QTest::addRow("missing RCLinks on replace") << QByteArray("<RCLinks>") << QByteArray("<Other>") << 0;
        QTest::addRow("bad link Rcid on replace")
            << QByteArray("<Rcid>1a2b0002</Rcid>") << QByteArray("<Rcid>x') OR ('1'='1</Rcid>") << 0;
        QTest::addRow("key number x") << QByteArray("<Nkey>3</Nkey>") << QByteArray("<Nkey>x</Nkey>") << 1;
        QTest::addRow("master Rcid injection")
            << QByteArray("<Rcid>1a2b3c4d</Rcid>") << QByteArray("<Rcid>x') OR ('1'='1</Rcid>") << 0;
        QTest::addRow("truncated") << QByteArray("</Irvanta>") << QByteArray("</Irv") << 0;
    }
    void failedImportsChangeNothing()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(int, mode);
        QByteArray file = exportFile(selectionOf("1a2b3c4d", "ACME", "X-1", "1a2b3c4d"), QStringLiteral("out"));
        file.replace("</RCLinks>", "</Other>");
        if (from != "<RCLinks>")
            file.replace("</Other>", "</RCLinks>");
        QVERIFY(file.contains(from));
        file.replace(from, to);
        // Make the import go as far as it can before it meets the fault.
        QVERIFY(CatalogueFixture::exec(m_db, QStringLiteral("UPDATE rcmodels SET Model='OLD' WHERE Rcid='1a2b3c4d'")));
        const QStringList before = dump();
        QCOMPARE(import(file, mode ? ExchangeImport::Mode::Copy : ExchangeImport::Mode::Replace),
                 ExchangeImport::Result::WrongFile);
        QCOMPARE(dump(), before);
        verifyUnlocked();
    }

    void failedStatementRollsBack()
    {
        QByteArray file = exportFile(selectionOf("1a2b3c4d", "ACME", "X-1", "1a2b3c4d"), QStringLiteral("out"));
        // The key table refuses inserts from now on: the model row written
        // before must go back too.
        QVERIFY(CatalogueFixture::exec(m_db, QStringLiteral(
            "CREATE TRIGGER refuse BEFORE INSERT ON rckeys BEGIN SELECT RAISE(ABORT, 'refused'); END")));
        file.replace("<Model>X-1</Model>", "<Model>CHANGED</Model>");
        const QStringList before = dump();
        QCOMPARE(import(file, ExchangeImport::Mode::Replace), ExchangeImport::Result::Failed);
        QCOMPARE(dump(), before);
        verifyUnlocked();
    }
};

QTEST_GUILESS_MAIN(TestExchangeImport)
#include "tst_exchangeimport.moc"
