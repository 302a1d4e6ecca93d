// Writes of model records: new models and links, edits of chosen fields, and
// the all-or-nothing deletion of a model or link group with keys and photos.
#include "TestSupport.h"

#include "app/OwnMark.h"
#include "catalogue/ModelRecords.h"
#include "catalogue/PhotoPlaces.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {

struct Row
{
    const char *rcid, *brand, *type, *model, *doc, *link;
    double correction;
    int own, flag, prot;
};

// Two own groups (A with two links, B with one), a lone own model, and a
// factory group F with an own model linked to it.
const Row kRows[] = {
    {"aaaa0000", "alpha", "TV", "A-1", "<b>rich</b> text", "aaaa0000", 1.25, 1, 1, 12},
    {"aaaa0001", "ALPHA", "TV", "A-2", "", "aaaa0000", 0, 1, 1, 0},
    {"aaaa0002", "ALPHA", "DVD", "A-3", "", "aaaa0000", 0, 1, 1, 0},
    {"bbbb0000", "BETA", "SAT", "B-1", "plain", "bbbb0000", -3.5, 1, 1, 4},
    {"bbbb0001", "BETA", "SAT", "B-2", "", "bbbb0000", 0, 1, 1, 0},
    {"cccc0000", "GAMMA", "TV", "C-1", "", "cccc0000", 0, 1, 1, 0},
    {"ffff0000", "sony", "tv", "F-1", "factory", "ffff0000", 25.0, 0, 1, 1234},
    {"ffff0001", "OWN", "TV", "F-2", "", "ffff0000", 0, 1, 1, 0},
};

} // namespace

class TestModelRecords : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    QSqlDatabase m_db;

    QString work() const { return m_dir->path(); }

    QStringList dump(const QString &table)
    {
        return TestSupport::tableRows(m_db, table,
                                      table == QLatin1String("rcmodels") ? QStringLiteral("Rcid")
                                                                         : QStringLiteral("Rcid,RCTypeId,Nkey"));
    }

    QStringList photoFiles()
    {
        QStringList names = QDir(QDir(work()).filePath(QStringLiteral("RCImages")))
                                .entryList(QDir::NoDotAndDotDot | QDir::AllEntries, QDir::Name);
        return names;
    }

    QVariantMap row(const QString &rcid) { return TestSupport::modelRow(m_db, rcid); }

    void exec(const QString &sql)
    {
        QSqlQuery q(m_db);
        QVERIFY2(q.exec(sql), qPrintable(sql));
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        m_db = TestSupport::openFixtureCatalogue(work());
        QVERIFY(m_db.isOpen());
        QVERIFY(QDir(work()).mkpath(QStringLiteral("RCImages")));

        QVERIFY(m_db.transaction()); // one commit keeps the fixture quick
        QSqlQuery key(m_db);
        key.prepare(QStringLiteral("INSERT INTO rckeys (Rcid,RCTypeId,Name,ID,Nkey) VALUES (?,?,?,?,?)"));
        for (const Row &r : kRows) {
            QVERIFY(TestSupport::insertModel(
                m_db, {QString::fromUtf8(r.rcid), QString::fromUtf8(r.brand), QString::fromUtf8(r.type),
                       QString::fromUtf8(r.model), QString::fromUtf8(r.doc), QString::fromUtf8(r.link), r.correction,
                       r.own, r.flag, r.prot}));
            if (qstrcmp(r.rcid, r.link) != 0)
                continue;
            // Keys of two remote types and photos 1 and 3 under every master.
            for (int type = 1; type <= 2; ++type)
                for (int n = 0; n < 3; ++n) {
                    for (const QVariant &v : {QVariant(QString::fromUtf8(r.rcid)), QVariant(type),
                                              QVariant(QStringLiteral("K%1").arg(n)),
                                              QVariant(QStringLiteral("0014ABC%1").arg(n)), QVariant(n)})
                        key.addBindValue(v);
                    QVERIFY(key.exec());
                }
            for (int n : {1, 3}) {
                QFile f(PhotoPlaces(work(), QString::fromUtf8(r.rcid)).path(n));
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write("jpeg");
            }
        }
        QVERIFY(m_db.commit());
    }
    void cleanup()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
        delete m_dir;
        m_dir = nullptr;
    }

    void newRcidShape()
    {
        const QRegularExpression shape(QStringLiteral("^[0-9a-f]{8}$"));
        QSet<QString> seen;
        for (int i = 0; i < 500; ++i) {
            const QString id = ModelRecords::newRcid();
            QVERIFY2(shape.match(id).hasMatch(), qPrintable(id));
            seen.insert(id);
        }
        QVERIFY(seen.size() > 490);
    }

    void correctionText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::addRow("1.5") << 1.5 << "1.5";
        QTest::addRow("zero") << 0.0 << "0";
        QTest::addRow("-20") << -20.0 << "-20";
        QTest::addRow("-0.1") << -0.1 << "-0.1";
        QTest::addRow("seven digits") << 12.345678 << "12.3457";
    }
    void correctionText()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(ModelRecords::correctionText(value), text);
    }

    void insertStoresTextsExactly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addRow("apostrophe") << QStringLiteral("O'NEIL");
        QTest::addRow("injection") << QStringLiteral("')OR(1=1");
        QTest::addRow("percent and underscore") << QStringLiteral("100% _A_");
        QTest::addRow("non-ASCII") << QStringLiteral("ÄÖÜ ÉLAN ŁÓDŹ 東芝");
        QTest::addRow("blanks") << QStringLiteral("  ");
        QTest::addRow("quotes and backslash") << QStringLiteral("\"a\" \\n; --");
    }
    void insertStoresTextsExactly()
    {
        QFETCH(QString, text);
        const QStringList before = dump(QStringLiteral("rcmodels"));
        ModelRecords::NewModel m{text, text + QStringLiteral("T"), text + QStringLiteral("M"),
                                 text + QStringLiteral("\nsecond line"), QString()};
        QString rcid, error;
        QVERIFY2(ModelRecords::insertModel(m_db, m, &rcid, &error), qPrintable(error));
        const QVariantMap r = row(rcid);
        QCOMPARE(r.value(QStringLiteral("Brand")).toString(), text);
        QCOMPARE(r.value(QStringLiteral("Type")).toString(), text + QStringLiteral("T"));
        QCOMPARE(r.value(QStringLiteral("Model")).toString(), text + QStringLiteral("M"));
        QCOMPARE(r.value(QStringLiteral("Documentation")).toString(), text + QStringLiteral("\nsecond line"));
        QCOMPARE(r.value(QStringLiteral("Link")).toString(), rcid);
        QCOMPARE(r.value(QStringLiteral("Own")).toInt(), 1);
        QCOMPARE(r.value(QStringLiteral("Hidden")).toInt(), 0);
        QCOMPARE(r.value(QStringLiteral("Hidden1")).toInt(), 0);
        QCOMPARE(r.value(QStringLiteral("Flag")).toInt(), 0);
        // Exactly one row more, the others untouched.
        QStringList after = dump(QStringLiteral("rcmodels"));
        QCOMPARE(after.size(), before.size() + 1);
        after.removeIf([&](const QString &s) { return s.startsWith(rcid + QLatin1Char('|')); });
        QCOMPARE(after, before);
    }

    void insertLinked()
    {
        QString rcid, error;
        ModelRecords::NewModel m{QStringLiteral("NEW"), QStringLiteral("TV"), QStringLiteral("N-1"), QString(),
                                 QStringLiteral("bbbb0000")};
        QVERIFY2(ModelRecords::insertModel(m_db, m, &rcid, &error), qPrintable(error));
        QVERIFY(rcid != QLatin1String("bbbb0000"));
        QCOMPARE(row(rcid).value(QStringLiteral("Link")).toString(), QStringLiteral("bbbb0000"));
        QCOMPARE(ModelRecords::linkCount(m_db, QStringLiteral("bbbb0000")), 2);
    }

    void insertLinkedToMissingMaster_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addRow("no such model") << QStringLiteral("deadbeef");
        QTest::addRow("a linked model is no master") << QStringLiteral("aaaa0001");
    }
    void insertLinkedToMissingMaster()
    {
        QFETCH(QString, link);
        const QStringList before = dump(QStringLiteral("rcmodels"));
        QString rcid, error;
        ModelRecords::NewModel m{QStringLiteral("NEW"), QStringLiteral("TV"), QStringLiteral("N-1"), QString(), link};
        QVERIFY(!ModelRecords::insertModel(m_db, m, &rcid, &error));
        QVERIFY(error.contains(link));
        QVERIFY(rcid.isEmpty());
        QCOMPARE(dump(QStringLiteral("rcmodels")), before);
    }

    void updateWritesOnlyChosenFields()
    {
        const QVariantMap before = row(QStringLiteral("aaaa0000"));
        ModelRecords::Edit e;
        e.rcid = QStringLiteral("aaaa0000");
        e.type = QStringLiteral("O'NEIL 50%");
        QString error;
        QVERIFY2(ModelRecords::updateModel(m_db, e, &error), qPrintable(error));
        QVariantMap expected = before;
        expected[QStringLiteral("Type")] = QStringLiteral("O'NEIL 50%");
        expected[QStringLiteral("Flag")] = 0;
        const QVariantMap after = row(QStringLiteral("aaaa0000"));
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(after.value(it.key()).toString(), it.value().toString());
        // Stored exactly: a lower-case brand, a two-decimal correction.
        QCOMPARE(after.value(QStringLiteral("Brand")).toString(), QStringLiteral("alpha"));
        QCOMPARE(after.value(QStringLiteral("Correction")).toDouble(), 1.25);
    }

    void updateAllFields()
    {
        ModelRecords::Edit e;
        e.rcid = QStringLiteral("ffff0000");
        e.brand = QStringLiteral("B");
        e.type = QStringLiteral("T");
        e.model = QStringLiteral("M");
        e.documentation = QStringLiteral("d'oc");
        e.own = true;
        e.correction = -0.1;
        e.prot = 999;
        QString error;
        QVERIFY2(ModelRecords::updateModel(m_db, e, &error), qPrintable(error));
        const QVariantMap r = row(QStringLiteral("ffff0000"));
        QCOMPARE(r.value(QStringLiteral("Brand")).toString(), QStringLiteral("B"));
        QCOMPARE(r.value(QStringLiteral("Documentation")).toString(), QStringLiteral("d'oc"));
        QCOMPARE(r.value(QStringLiteral("Own")).toInt(), 1);
        QCOMPARE(r.value(QStringLiteral("Correction")).toDouble(), -0.1);
        QCOMPARE(r.value(QStringLiteral("Prot")).toInt(), 999);
        QCOMPARE(r.value(QStringLiteral("Flag")).toInt(), 0);
        QCOMPARE(r.value(QStringLiteral("Link")).toString(), QStringLiteral("ffff0000"));
    }

    void emptyEditWritesNothing()
    {
        const QStringList before = dump(QStringLiteral("rcmodels"));
        ModelRecords::Edit e;
        e.rcid = QStringLiteral("ffff0000");
        QString error;
        QVERIFY(ModelRecords::updateModel(m_db, e, &error));
        QCOMPARE(dump(QStringLiteral("rcmodels")), before);
    }

    void updateOfMissingModelFails()
    {
        const QStringList before = dump(QStringLiteral("rcmodels"));
        ModelRecords::Edit e;
        e.rcid = QStringLiteral("deadbeef");
        e.brand = QStringLiteral("X");
        QString error;
        QVERIFY(!ModelRecords::updateModel(m_db, e, &error));
        QVERIFY(error.contains(QLatin1String("deadbeef")));
        QCOMPARE(dump(QStringLiteral("rcmodels")), before);
    }

    void failedWritesAreReported()
    {
        exec(QStringLiteral("CREATE TRIGGER no_writes BEFORE UPDATE ON rcmodels BEGIN SELECT RAISE(ABORT, 'read-only "
                            "catalogue'); END"));
        exec(QStringLiteral("CREATE TRIGGER no_inserts BEFORE INSERT ON rcmodels BEGIN SELECT RAISE(ABORT, "
                            "'read-only catalogue'); END"));
        const QStringList before = dump(QStringLiteral("rcmodels"));
        ModelRecords::Edit e;
        e.rcid = QStringLiteral("aaaa0000");
        e.brand = QStringLiteral("X");
        QString error;
        QVERIFY(!ModelRecords::updateModel(m_db, e, &error));
        QVERIFY2(error.contains(QLatin1String("read-only catalogue")), qPrintable(error));
        error.clear();
        QString rcid;
        QVERIFY(!ModelRecords::insertModel(m_db, {QStringLiteral("B"), QStringLiteral("T"), QStringLiteral("M"),
                                                  QString(), QString()},
                                           &rcid, &error));
        QVERIFY2(error.contains(QLatin1String("read-only catalogue")), qPrintable(error));
        QCOMPARE(dump(QStringLiteral("rcmodels")), before);
    }

    void masterExists()
    {
        QVERIFY(ModelRecords::masterExists(m_db, QStringLiteral("aaaa0000")));
        QVERIFY(!ModelRecords::masterExists(m_db, QStringLiteral("aaaa0001")));
        QVERIFY(!ModelRecords::masterExists(m_db, QStringLiteral("deadbeef")));
        QCOMPARE(ModelRecords::linkCount(m_db, QStringLiteral("aaaa0000")), 2);
        QCOMPARE(ModelRecords::linkCount(m_db, QStringLiteral("cccc0000")), 0);
    }

    void deleteRemovesGroupOnly_data()
    {
        QTest::addColumn<QString>("rcid");
        QTest::addColumn<QStringList>("goneModels");
        QTest::addColumn<bool>("keysAndPhotosGo");
        QTest::addRow("master with links") << QStringLiteral("aaaa0000")
                                           << QStringList{"aaaa0000", "aaaa0001", "aaaa0002"} << true;
        QTest::addRow("lone master") << QStringLiteral("cccc0000") << QStringList{"cccc0000"} << true;
        QTest::addRow("linked model") << QStringLiteral("aaaa0001") << QStringList{"aaaa0001"} << false;
        QTest::addRow("own model linked to a factory master")
            << QStringLiteral("ffff0001") << QStringList{"ffff0001"} << false;
    }
    void deleteRemovesGroupOnly()
    {
        QFETCH(QString, rcid);
        QFETCH(QStringList, goneModels);
        QFETCH(bool, keysAndPhotosGo);
        QStringList models = dump(QStringLiteral("rcmodels"));
        QStringList keys = dump(QStringLiteral("rckeys"));
        QStringList photos = photoFiles();
        QString error;
        QCOMPARE(ModelRecords::deleteModel(m_db, work(), rcid, &error), ModelRecords::DeleteResult::Deleted);

        models.removeIf([&](const QString &s) { return goneModels.contains(s.section(QLatin1Char('|'), 0, 0)); });
        if (keysAndPhotosGo) {
            keys.removeIf([&](const QString &s) { return s.startsWith(rcid + QLatin1Char('|')); });
            photos.removeIf([&](const QString &s) { return s.startsWith(rcid + QLatin1Char('_')); });
        }
        QCOMPARE(dump(QStringLiteral("rcmodels")), models);
        QCOMPARE(dump(QStringLiteral("rckeys")), keys);
        QCOMPARE(photoFiles(), photos);
    }

    void deleteRefusesFactoryData_data()
    {
        QTest::addColumn<QString>("rcid");
        QTest::addRow("factory master") << QStringLiteral("ffff0000");
        QTest::addRow("own master with a factory link") << QStringLiteral("bbbb0000");
    }
    void deleteRefusesFactoryData()
    {
        QFETCH(QString, rcid);
        exec(QStringLiteral("UPDATE rcmodels SET Own=0 WHERE Rcid='bbbb0001'"));
        const QStringList models = dump(QStringLiteral("rcmodels"));
        const QStringList keys = dump(QStringLiteral("rckeys"));
        const QStringList photos = photoFiles();
        QString error;
        QCOMPARE(ModelRecords::factoryCount(m_db, rcid), 1);
        QCOMPARE(ModelRecords::deleteModel(m_db, work(), rcid, &error), ModelRecords::DeleteResult::Refused);
        QVERIFY2(error.contains(QLatin1String("FACTORY")) && !error.contains(QLatin1String("key")), qPrintable(error));
        QCOMPARE(dump(QStringLiteral("rcmodels")), models);
        QCOMPARE(dump(QStringLiteral("rckeys")), keys);
        QCOMPARE(photoFiles(), photos);
    }

    void parkedPhotosAreSettled_data()
    {
        // Left by a deletion the program did not live to finish: the photos
        // are parked in the work folder, and the catalogue either rolled the
        // deletion back (master there) or committed it (master gone). A
        // photo deletion records the places taken before it. "after" lists
        // the master's photos and, after "=", the file each one was before;
        // "W/" is the work folder, 99999999 a process number that never runs.
        QTest::addColumn<QString>("master");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::addRow("rolled back: put back")
            << "aaaa0000"
            << QStringList{"W/aaaa0000_1.jpg.irvanta-deleting-99999999-all",
                           "W/aaaa0000_2.jpg.irvanta-deleting-99999999-all"}
            << QStringList{"aaaa0000_1.jpg=W/aaaa0000_1.jpg.irvanta-deleting-99999999-all",
                           "aaaa0000_2.jpg=W/aaaa0000_2.jpg.irvanta-deleting-99999999-all"};
        QTest::addRow("photo deletion, every later photo moved: finished")
            << "bbbb0000" << QStringList{"bbbb0000_1.jpg", "W/bbbb0000_1.jpg.irvanta-deleting-99999999-12"}
            << QStringList{"bbbb0000_1.jpg=bbbb0000_1.jpg"};
        QTest::addRow("photo deletion, one of two moved: photo 1 stays photo 1")
            << "bbbb0000"
            << QStringList{"bbbb0000_1.jpg", "bbbb0000_3.jpg", "W/bbbb0000_1.jpg.irvanta-deleting-99999999-123"}
            << QStringList{"bbbb0000_1.jpg=W/bbbb0000_1.jpg.irvanta-deleting-99999999-123",
                           "bbbb0000_2.jpg=bbbb0000_1.jpg", "bbbb0000_3.jpg=bbbb0000_3.jpg"};
        QTest::addRow("photo deletion with a gap, the later photo moved: finished")
            << "bbbb0000" << QStringList{"bbbb0000_2.jpg", "W/bbbb0000_1.jpg.irvanta-deleting-99999999-13"}
            << QStringList{"bbbb0000_2.jpg=bbbb0000_2.jpg"};
        QTest::addRow("photo deletion, nothing moved: back in its place")
            << "bbbb0000" << QStringList{"bbbb0000_3.jpg", "W/bbbb0000_1.jpg.irvanta-deleting-99999999-13"}
            << QStringList{"bbbb0000_1.jpg=W/bbbb0000_1.jpg.irvanta-deleting-99999999-13",
                           "bbbb0000_3.jpg=bbbb0000_3.jpg"};
        QTest::addRow("committed: removed")
            << "dddd0000" << QStringList{"W/dddd0000_3.jpg.irvanta-deleting-99999999-all"} << QStringList{};
        QTest::addRow("a linked model is no master: removed")
            << "aaaa0001" << QStringList{"W/aaaa0001_1.jpg.irvanta-deleting-99999999-all"} << QStringList{};
        QTest::addRow("not parked by the program: left alone")
            << "cccc0000" << QStringList{"cccc0000_1.jpg.deleting", "cccc0000_1.jpg"}
            << QStringList{"cccc0000_1.jpg=cccc0000_1.jpg", "cccc0000_1.jpg.deleting=cccc0000_1.jpg.deleting"};
        QTest::addRow("a look-alike of a model the catalogue does not hold: left alone")
            << "holiday" << QStringList{"holiday_1.jpg.deleting"}
            << QStringList{"holiday_1.jpg.deleting=holiday_1.jpg.deleting"};
        QTest::addRow("parked by a process that still runs: left for it")
            << "aaaa0000" << QStringList{"W/aaaa0000_1.jpg.irvanta-deleting-%PID%-all"} << QStringList{};
    }
    void parkedPhotosAreSettled()
    {
        QFETCH(QString, master);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        const QDir folder(QDir(work()).filePath(QStringLiteral("RCImages")));
        const QString workFolder = PhotoPlaces(work(), master).workFolder();
        QString reason;
        QVERIFY2(OwnMark::makeMarkedFolder(workFolder, &reason), qPrintable(reason));
        for (const QString &name : folder.entryList({master + QStringLiteral("_*")}, QDir::Files))
            QVERIFY(QFile::remove(folder.filePath(name))); // the fixture's own photos of master
        // Each file holds its first name, so moves can be traced.
        const auto path = [&](QString name) {
            name.replace(QLatin1String("%PID%"), QString::number(QCoreApplication::applicationPid()));
            return name.startsWith(QLatin1String("W/")) ? QDir(workFolder).filePath(name.mid(2)) : folder.filePath(name);
        };
        for (const QString &name : before)
            QVERIFY(TestSupport::writeFile(path(name), name.toUtf8()));
        const QStringList problems = ModelRecords::settleParkedPhotos(m_db, work());
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        QStringList mine;
        for (const QString &name : photoFiles())
            if (name.startsWith(master + QLatin1Char('_')))
                mine << name + QLatin1Char('=') + TestSupport::readText(folder.filePath(name));
        QCOMPARE(mine, after);
        // Every parked photo is settled but one a running process is working on.
        QStringList parkedLeft = QDir(workFolder).entryList(QDir::Files | QDir::Hidden);
        parkedLeft.removeOne(OwnMark::markName());
        QStringList running = before.filter(QStringLiteral("%PID%"));
        for (QString &name : running)
            name = QFileInfo(path(name)).fileName();
        QCOMPARE(parkedLeft, running);
    }

    void parkedPhotoThatCannotBeSettledIsKeptAndTold()
    {
        // Every place taken, and the catalogue cannot be asked: the parked
        // photos stay, and the reasons come back.
        const QDir photos(QDir(work()).filePath(QStringLiteral("RCImages")));
        const QDir parked(PhotoPlaces(work(), QStringLiteral("aaaa0000")).workFolder());
        QString reason;
        QVERIFY2(OwnMark::makeMarkedFolder(parked.path(), &reason), qPrintable(reason));
        for (int n = 1; n <= PhotoPlaces::Count; ++n)
            QVERIFY(TestSupport::writeFile(photos.filePath(QStringLiteral("aaaa0000_%1.jpg").arg(n)), "photo"));
        const QString one = parked.filePath(QStringLiteral("aaaa0000_2.jpg.irvanta-deleting-99999999-all"));
        QVERIFY(TestSupport::writeFile(one, "parked"));
        QStringList problems = ModelRecords::settleParkedPhotos(m_db, work());
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems.at(0).contains(QLatin1String("aaaa0000_2.jpg.irvanta-deleting")), qPrintable(problems.at(0)));
        QVERIFY(QFileInfo::exists(one));

        const QString other = parked.filePath(QStringLiteral("dddd0000_1.jpg.irvanta-deleting-99999999-all"));
        QVERIFY(TestSupport::writeFile(other, "parked"));
        exec(QStringLiteral("ALTER TABLE rcmodels RENAME TO gone"));
        problems = ModelRecords::settleParkedPhotos(m_db, work());
        QCOMPARE(problems.size(), 2);
        QVERIFY(QFileInfo::exists(other));
        exec(QStringLiteral("ALTER TABLE gone RENAME TO rcmodels"));
    }

    void deleteFailureLeavesEverything_data()
    {
        QTest::addColumn<QString>("sabotage");
        QTest::addRow("keys cannot be deleted") << QStringLiteral("trigger");
        QTest::addRow("a photo cannot be moved") << QStringLiteral("photo");
        QTest::addRow("model is gone") << QStringLiteral("gone");
    }
    void deleteFailureLeavesEverything()
    {
        QFETCH(QString, sabotage);
        QString rcid = QStringLiteral("aaaa0000");
        QString reason;
        if (sabotage == QLatin1String("trigger"))
            exec(QStringLiteral("CREATE TRIGGER keep_keys BEFORE DELETE ON rckeys BEGIN SELECT RAISE(ABORT, 'keys are "
                                "locked'); END"));
        else if (sabotage == QLatin1String("photo"))
            QVERIFY(OwnMark::makeMarkedFolder(PhotoPlaces(work(), rcid).workFolder(), &reason)
                    && QDir().mkpath(PhotoPlaces(work(), rcid).workFolder()
                                  + QStringLiteral("/aaaa0000_3.jpg.irvanta-deleting-%1-all/blocked")
                                        .arg(QCoreApplication::applicationPid())));
        else
            rcid = QStringLiteral("deadbeef");
        const QStringList models = dump(QStringLiteral("rcmodels"));
        const QStringList keys = dump(QStringLiteral("rckeys"));
        const QStringList photos = photoFiles();
        QString error;
        QCOMPARE(ModelRecords::deleteModel(m_db, work(), rcid, &error), ModelRecords::DeleteResult::Failed);
        QVERIFY(!error.isEmpty());
        QCOMPARE(dump(QStringLiteral("rcmodels")), models);
        QCOMPARE(dump(QStringLiteral("rckeys")), keys);
        QCOMPARE(photoFiles(), photos);
        // The connection is usable afterwards: no transaction was left open.
        QVERIFY(m_db.transaction());
        QVERIFY(m_db.rollback());
    }
};

QTEST_GUILESS_MAIN(TestModelRecords)
#include "tst_modelrecords.moc"
