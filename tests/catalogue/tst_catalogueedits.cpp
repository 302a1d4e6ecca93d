// The catalogue writes behind the model list and the key list, and the lists
// of the filter panel, on fixture catalogues made per test.
#include "CatalogueFixture.h"
#include "TestSupport.h"

#include "catalogue/CatalogueEdits.h"
#include "catalogue/CatalogueLists.h"

#include <QtTest>

using CatalogueFixture::Key;
using CatalogueFixture::Model;
using Status = CatalogueEdits::Status;
Q_DECLARE_METATYPE(CatalogueEdits::Status)

class TestCatalogueEdits : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    QSqlDatabase m_db;

    // A link group: own master m1 with a linked factory model l1; factory
    // master f1 with an own linked model l2; keys under both masters.
    void fillGroups()
    {
        QVERIFY(CatalogueFixture::addModel(m_db, {"m1", "NORDA", "TV", "KD-1", "", "m1", "", 1}));
        QVERIFY(CatalogueFixture::addModel(m_db, {"l1", "NORDA", "TV", "KD-2", "", "m1", "", 0}));
        QVERIFY(CatalogueFixture::addModel(m_db, {"f1", "ALTORA", "DVD", "X-1", "", "f1", "Irvanta", 0}));
        QVERIFY(CatalogueFixture::addModel(m_db, {"l2", "ALTORA", "DVD", "X-2", "", "f1", "", 1}));
        for (const char *master : {"m1", "f1"})
            for (int n = 0; n < 3; ++n)
                QVERIFY(CatalogueFixture::addKey(m_db, {master, 2, QString("K%1").arg(n), "0014ABC", n}));
        QVERIFY(CatalogueFixture::addKey(m_db, {"m1", 3, "OTHER TYPE", "0014ABC", 1}));
        QVERIFY(CatalogueFixture::addKey(m_db, {"orphan", 2, "ORPHAN", "0014ABC", 0}));
    }

    QVariant flagOf(const QString &rcid)
    {
        return CatalogueFixture::value(m_db, "SELECT Flag FROM rcmodels WHERE Rcid=?", {rcid});
    }
    int keyCount(const QString &rcid)
    {
        return CatalogueFixture::value(m_db, "SELECT count(*) FROM rckeys WHERE Rcid=?", {rcid}).toInt();
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        m_db = TestSupport::openFixtureCatalogue(m_dir->path(), QStringLiteral("edits"));
        QVERIFY(m_db.isOpen());
        fillGroups();
    }
    void cleanup()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("edits"));
        delete m_dir;
    }

    void modelNames_data()
    {
        QTest::addColumn<QString>("rcid");
        QTest::addColumn<QString>("brand");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("model");
        QTest::addColumn<Status>("status");
        QTest::addColumn<QStringList>("stored"); // Brand, Type, Model, Flag afterwards
        QTest::addRow("brand lower case stored upper case")
            << "m1" << "altora" << "TV" << "KD-1" << Status::Written << QStringList{"ALTORA", "TV", "KD-1", "0"};
        QTest::addRow("own brand in lower case writes nothing")
            << "m1" << "norda" << "TV" << "KD-1" << Status::Unchanged << QStringList{"NORDA", "TV", "KD-1", "1"};
        QTest::addRow("type and model as typed")
            << "m1" << "NORDA" << "dvd" << "kd-9x" << Status::Written << QStringList{"NORDA", "dvd", "kd-9x", "0"};
        QTest::addRow("quotes kept") << "m1" << "O'Neil" << "O'TV" << "A'1" << Status::Written
                                     << QStringList{"O'NEIL", "O'TV", "A'1", "0"};
        QTest::addRow("SQL-like text kept") << "m1" << "')or(1=1" << "TV" << "KD-1" << Status::Written
                                            << QStringList{"')OR(1=1", "TV", "KD-1", "0"};
        QTest::addRow("non-ASCII") << "m1" << QString::fromUtf8("österberg") << QString::fromUtf8("fernseher ä")
                                   << QString::fromUtf8("ÄÖ-12") << Status::Written
                                   << QStringList{QString::fromUtf8("ÖSTERBERG"), QString::fromUtf8("fernseher ä"),
                                                  QString::fromUtf8("ÄÖ-12"), "0"};
        QTest::addRow("no such model") << "zz" << "A" << "B" << "C" << Status::NotFound << QStringList();
    }
    void modelNames()
    {
        QFETCH(QString, rcid);
        QFETCH(QString, brand);
        QFETCH(QString, type);
        QFETCH(QString, model);
        QFETCH(Status, status);
        QFETCH(QStringList, stored);
        const CatalogueEdits::Result r = CatalogueEdits::updateModelNames(m_db, rcid, brand, type, model);
        QCOMPARE(r.status, status);
        QCOMPARE(CatalogueFixture::column(m_db, "SELECT Brand||'|'||Type||'|'||Model||'|'||Flag FROM rcmodels "
                                                "WHERE Rcid=?",
                                          {rcid}),
                 stored.isEmpty() ? QStringList() : QStringList{stored.join('|')});
        // Only the edited row changes.
        QCOMPARE(flagOf("l1").toInt(), 1);
    }

    void modelNamesFailureIsReported()
    {
        QVERIFY(CatalogueFixture::exec(m_db, "CREATE TRIGGER no_update BEFORE UPDATE ON rcmodels BEGIN "
                                             "SELECT RAISE(ABORT, 'catalogue is read-only'); END"));
        const CatalogueEdits::Result r = CatalogueEdits::updateModelNames(m_db, "m1", "X", "TV", "KD-1");
        QCOMPARE(r.status, Status::Failed);
        QVERIFY2(r.error.contains("read-only"), qPrintable(r.error));
        QCOMPARE(CatalogueFixture::value(m_db, "SELECT Brand FROM rcmodels WHERE Rcid='m1'").toString(),
                 QStringLiteral("NORDA"));
    }

    void keyEdit_data()
    {
        QTest::addColumn<QVariant>("rcid");
        QTest::addColumn<QVariant>("typeId");
        QTest::addColumn<QVariant>("nkey");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("id");
        QTest::addColumn<Status>("status");
        QTest::addRow("name") << QVariant("m1") << QVariant(2) << QVariant(1) << "VOL'+" << "0014ABC" << Status::Written;
        QTest::addRow("type and key as text") << QVariant("m1") << QVariant("2") << QVariant("1") << "N" << "0022XY"
                                              << Status::Written;
        QTest::addRow("no such key") << QVariant("m1") << QVariant(2) << QVariant(99) << "N" << "X" << Status::NotFound;
        QTest::addRow("NULL key number")
            << QVariant("m1") << QVariant(2) << QVariant() << "N" << "X" << Status::NotFound;
    }
    void keyEdit()
    {
        QFETCH(QVariant, rcid);
        QFETCH(QVariant, typeId);
        QFETCH(QVariant, nkey);
        QFETCH(QString, name);
        QFETCH(QString, id);
        QFETCH(Status, status);
        const QStringList before = CatalogueFixture::column(m_db, "SELECT Name||ID FROM rckeys ORDER BY rowid");
        QCOMPARE(CatalogueEdits::updateKey(m_db, rcid, typeId, nkey, name, id).status, status);
        const QStringList after = CatalogueFixture::column(m_db, "SELECT Name||ID FROM rckeys ORDER BY rowid");
        if (status == Status::Written) {
            QCOMPARE(CatalogueFixture::column(m_db, "SELECT Name||'|'||ID FROM rckeys WHERE Rcid='m1' AND "
                                                    "RCTypeId=2 AND Nkey=1"),
                     QStringList{name + '|' + id});
            // Exactly one row changed; the same key number of another type did not.
            int changed = 0;
            for (int i = 0; i < before.size(); ++i)
                changed += before[i] != after[i];
            QCOMPARE(changed, 1);
        } else {
            QCOMPARE(after, before);
        }
        // A key edit never marks the model changed.
        QCOMPARE(flagOf("m1").toInt(), 1);
    }

    void keyDeletion_data()
    {
        QTest::addColumn<QString>("rcid");
        QTest::addColumn<int>("nkey");
        QTest::addColumn<Status>("status");
        QTest::addRow("own master") << "m1" << 1 << Status::Written;
        QTest::addRow("factory master") << "f1" << 1 << Status::Refused;
        QTest::addRow("no such key") << "m1" << 7 << Status::NotFound;
        QTest::addRow("keys without a model") << "orphan" << 0 << Status::Refused;
    }
    void keyDeletion()
    {
        QFETCH(QString, rcid);
        QFETCH(int, nkey);
        QFETCH(Status, status);
        const int keysBefore = CatalogueFixture::value(m_db, "SELECT count(*) FROM rckeys").toInt();
        const QVariant flagBefore = flagOf(rcid);
        QCOMPARE(CatalogueEdits::deleteKey(m_db, rcid, nkey, 2).status, status);
        const int keysAfter = CatalogueFixture::value(m_db, "SELECT count(*) FROM rckeys").toInt();
        const int present = CatalogueFixture::value(
                                m_db, "SELECT count(*) FROM rckeys WHERE Rcid=? AND Nkey=? AND RCTypeId=2", {rcid, nkey})
                                .toInt();
        if (status == Status::Written) {
            QCOMPARE(keysAfter, keysBefore - 1);
            QCOMPARE(present, 0);
            QCOMPARE(flagOf(rcid).toInt(), 0);
            // The same key number of another remote type stays.
            QCOMPARE(CatalogueFixture::value(m_db, "SELECT count(*) FROM rckeys WHERE Rcid=? AND RCTypeId=3", {rcid})
                         .toInt(),
                     1);
        } else {
            QCOMPARE(keysAfter, keysBefore);
            QCOMPARE(flagOf(rcid), flagBefore);
        }
    }

    // Keys belong to the master: a model's own Own does not decide.
    void keyDeletionJudgedOnTheMaster()
    {
        QVERIFY(CatalogueEdits::isOwn(m_db, "l2")); // own model ...
        QVERIFY(!CatalogueEdits::isOwn(m_db, "f1")); // ... linked to a factory master
        QVERIFY(!CatalogueEdits::isOwn(m_db, "l1"));
        QVERIFY(!CatalogueEdits::isOwn(m_db, "none"));
        QCOMPARE(CatalogueEdits::deleteKey(m_db, "f1", 0, 2).status, Status::Refused);
        QCOMPARE(CatalogueEdits::deleteKey(m_db, "m1", 0, 2).status, Status::Written);
        QCOMPARE(flagOf("l1").toInt(), 1); // the linked model is not marked; the master is
        QCOMPARE(flagOf("m1").toInt(), 0);
    }

    void keyDeletionRolledBackWhenTheMarkFails()
    {
        QVERIFY(CatalogueFixture::exec(m_db, "CREATE TRIGGER no_update BEFORE UPDATE ON rcmodels BEGIN "
                                             "SELECT RAISE(ABORT, 'no marks'); END"));
        const CatalogueEdits::Result r = CatalogueEdits::deleteKey(m_db, "m1", 1, 2);
        QCOMPARE(r.status, Status::Failed);
        QVERIFY(!r.error.isEmpty());
        QCOMPARE(keyCount("m1"), 4);
        // The connection is usable afterwards: no transaction left open.
        QVERIFY(CatalogueFixture::exec(m_db, "DROP TRIGGER no_update"));
        QCOMPARE(CatalogueEdits::deleteKey(m_db, "m1", 1, 2).status, Status::Written);
        QCOMPARE(keyCount("m1"), 3);
    }

    void missingTablesFail()
    {
        QVERIFY(CatalogueFixture::exec(m_db, "DROP TABLE rckeys"));
        QCOMPARE(CatalogueEdits::deleteKey(m_db, "m1", 1, 2).status, Status::Failed);
        QCOMPARE(flagOf("m1").toInt(), 1);
        QCOMPARE(CatalogueEdits::updateKey(m_db, "m1", 2, 1, "A", "B").status, Status::Failed);
        QVERIFY(CatalogueFixture::exec(m_db, "DROP TABLE rcmodels"));
        QCOMPARE(CatalogueEdits::updateModelNames(m_db, "m1", "A", "B", "C").status, Status::Failed);
        QCOMPARE(CatalogueEdits::deleteKey(m_db, "m1", 1, 2).status, Status::Failed);
    }

    void brandsAndTypes()
    {
        QVERIFY(CatalogueFixture::exec(m_db, "INSERT INTO rcbrands (Brand) VALUES ('KESTREL'),('NORDA'),(NULL),('')"));
        QVERIFY(CatalogueFixture::addModel(m_db, {"n1", {}, {}, {}, {}, "n1", {}}));
        QVERIFY(CatalogueFixture::addModel(m_db, {"n2", "O'NEIL", "", "", {}, "n2", {}}));
        QString error;
        QCOMPARE(CatalogueLists::brands(m_db, &error), (QStringList{"ALTORA", "KESTREL", "NORDA", "O'NEIL"}));
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(CatalogueLists::types(m_db), (QStringList{"DVD", "TV"}));

        // Without the optional brand table the models' own brands are offered.
        QVERIFY(CatalogueFixture::exec(m_db, "DROP TABLE rcbrands"));
        QCOMPARE(CatalogueLists::brands(m_db, &error), (QStringList{"ALTORA", "NORDA", "O'NEIL"}));
        QVERIFY2(error.isEmpty(), qPrintable(error));

        QVERIFY(CatalogueFixture::exec(m_db, "DROP TABLE rcmodels"));
        QCOMPARE(CatalogueLists::brands(m_db, &error), QStringList());
        QVERIFY(!error.isEmpty());
        QCOMPARE(CatalogueLists::types(m_db), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestCatalogueEdits)
#include "tst_catalogueedits.moc"
