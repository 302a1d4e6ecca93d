// Remote-type conversion on a fixture catalogue: which conversions are offered
// for a master's keys, and what a conversion leaves in the key table, also
// when it is refused or a statement fails half-way.
#include "CatalogueFixture.h"
#include "TestSupport.h"

#include "search/KeyConversion.h"

#include <QSqlQuery>
#include <QtTest>

class TestKeyConversion : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    QSqlDatabase m_db;

    QStringList keys(const QString &rcid, int type)
    {
        return CatalogueFixture::column(m_db,
                                        "SELECT Nkey || ':' || ifnull(Name,'<null>') || ':' || ID FROM rckeys "
                                        "WHERE Rcid=? AND RCTypeId=? ORDER BY Nkey",
                                        {rcid, type});
    }
    QStringList allKeys() { return TestSupport::tableRows(m_db, QStringLiteral("rckeys"), "Rcid,RCTypeId,Nkey"); }

    // "from:description" of every conversion offered, in the order given.
    QStringList offered(const QString &link, const QStringList &configured)
    {
        QSqlQuery q = KeyConversion::offered(link, configured, m_db);
        QStringList rows;
        while (q.isActive() && q.next())
            rows << q.value(2).toString() + QLatin1Char(':') + q.value(1).toString();
        return rows;
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        m_db = TestSupport::openFixtureCatalogue(m_dir->path(), QStringLiteral("conversion"));
        QVERIFY(m_db.isOpen());
        QVERIFY(CatalogueFixture::exec(m_db, "INSERT INTO rcconvert VALUES (1,'10 and 11 onto 20',1,2),"
                                             "(2,'10 onto 20 and 21',1,2),(3,'onto itself',1,1),(4,'five to two',5,2),"
                                             "(5,'three to one',3,1),(6,'one to four',1,4)"));
        QVERIFY(CatalogueFixture::exec(m_db, "INSERT INTO rcconvertmap VALUES (1,10,20),(1,11,20),(2,10,20),"
                                             "(2,10,21),(3,10,11),(4,1,1)"));
        // Master m1: type 1 keys 10 to 12 (12 has no map row), type 2 keys
        // that the conversion replaces; master m2 keeps its type 2 keys.
        const QList<CatalogueFixture::Key> fixture = {
            {"m1", 1, "Vol'up", "C'10", 10}, {"m1", 1, {}, "C11", 11},   {"m1", 1, "Twelve", "C12", 12},
            {"m1", 2, "Old", "O5", 5},       {"m1", 2, "Old20", "O20", 20}, {"m1", 5, "Five", "F1", 1},
            {"m2", 2, "Other", "X20", 20},
        };
        for (const CatalogueFixture::Key &k : fixture)
            QVERIFY(CatalogueFixture::addKey(m_db, k));
    }
    void cleanup()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("conversion"));
        delete m_dir;
        m_dir = nullptr;
    }

    void offeredConversions_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QStringList>("configured");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("source types of the keys, both ends configured, by source type")
            << "m1" << QStringList{"1", "2", "5"}
            << QStringList{"1:10 and 11 onto 20", "1:10 onto 20 and 21", "1:onto itself", "5:five to two"};
        QTest::addRow("a target type not configured") << "m1" << QStringList{"1", "5", "4"}
                                                      << QStringList{"1:onto itself", "1:one to four"};
        QTest::addRow("no configured type offers nothing") << "m1" << QStringList() << QStringList();
        QTest::addRow("ids that are not numbers are left out")
            << "m1" << QStringList{"1", "2')OR(1", "5"} << QStringList{"1:onto itself"};
        QTest::addRow("a master without keys") << "none" << QStringList{"1", "2", "3", "5"} << QStringList();
        QTest::addRow("no model selected") << "" << QStringList{"1", "2"} << QStringList();
        // More ids than SQLite binds to one statement (32,766, or 250,000 as
        // Debian builds it), were each id a value of its own.
        QStringList many;
        for (int id = 300000; id >= 1; --id)
            many << QString::number(id);
        QTest::addRow("a list of 300,000 types")
            << "m1" << many
            << QStringList{"1:10 and 11 onto 20", "1:10 onto 20 and 21", "1:onto itself", "5:five to two",
                           "1:one to four"};
    }
    void offeredConversions()
    {
        QFETCH(QString, link);
        QFETCH(QStringList, configured);
        QFETCH(QStringList, expected);
        const QStringList got = offered(link, configured);
        // By source type; rows of one source type come in the database's order.
        for (int i = 1; i < got.size(); ++i)
            QVERIFY2(got.at(i - 1).section(':', 0, 0).toInt() <= got.at(i).section(':', 0, 0).toInt(),
                     qPrintable(got.join(", ")));
        QStringList sortedGot = got, sortedExpected = expected;
        sortedGot.sort();
        sortedExpected.sort();
        QCOMPARE(sortedGot, sortedExpected);
    }

    void twoSourcesOntoOneTarget()
    {
        // The copy the join returns last is the one that stays.
        const QStringList order = CatalogueFixture::column(
            m_db, "SELECT rckeys.ID FROM rckeys JOIN rcconvertmap WHERE (rckeys.Nkey=rcconvertmap.NkeyFrom) AND "
                  "(rckeys.Rcid='m1') AND (rckeys.RCTypeId=1) AND (rcconvertmap.ConvertId=1)");
        QCOMPARE(order.size(), 2);
        const KeyConversion::Result r = KeyConversion::convert(m_db, "m1", 1, 1, 2);
        QCOMPARE(int(r.status), int(KeyConversion::Status::Converted));
        QCOMPARE(r.keys, 1);
        const QString name = order.last() == QLatin1String("C11") ? QStringLiteral("<null>") : QStringLiteral("Vol'up");
        QCOMPARE(keys("m1", 2), QStringList{"20:" + name + ":" + order.last()});
    }

    void oneSourceOntoTwoTargets()
    {
        const QStringList sourceBefore = keys("m1", 1);
        const KeyConversion::Result r = KeyConversion::convert(m_db, "m1", 2, 1, 2);
        QCOMPARE(int(r.status), int(KeyConversion::Status::Converted));
        QCOMPARE(r.keys, 2);
        // Keys 5 and 20 that the type held are gone, the copies keep name and
        // code exactly; the source keys and the other master stay.
        QCOMPARE(keys("m1", 2), (QStringList{"20:Vol'up:C'10", "21:Vol'up:C'10"}));
        QCOMPARE(keys("m1", 1), sourceBefore);
        QCOMPARE(keys("m2", 2), QStringList{"20:Other:X20"});
        QCOMPARE(keys("m1", 5), QStringList{"1:Five:F1"});
    }

    void nothingToCarryOverEmptiesTheTarget()
    {
        QVERIFY(CatalogueFixture::exec(m_db, "DELETE FROM rckeys WHERE Rcid='m1' AND RCTypeId=1"));
        const KeyConversion::Result r = KeyConversion::convert(m_db, "m1", 1, 1, 2);
        QCOMPARE(int(r.status), int(KeyConversion::Status::Converted));
        QCOMPARE(keys("m1", 2), QStringList());
    }

    void changesNothing_data()
    {
        QTest::addColumn<QVariant>("convertId");
        QTest::addColumn<QVariant>("from");
        QTest::addColumn<QVariant>("to");
        QTest::addColumn<int>("status");
        QTest::addRow("onto itself") << QVariant(3) << QVariant(1) << QVariant(1)
                                     << int(KeyConversion::Status::Refused);
        QTest::addRow("no conversion chosen") << QVariant() << QVariant() << QVariant()
                                              << int(KeyConversion::Status::Nothing);
    }
    void changesNothing()
    {
        QFETCH(QVariant, convertId);
        QFETCH(QVariant, from);
        QFETCH(QVariant, to);
        QFETCH(int, status);
        const QStringList before = allKeys();
        QCOMPARE(int(KeyConversion::convert(m_db, "m1", convertId, from, to).status), status);
        QCOMPARE(allKeys(), before);
    }

    void failingStatementRollsBack_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addRow("second insert") << "BEFORE INSERT ON rckeys WHEN NEW.Nkey=21";
        QTest::addRow("first delete of a target key") << "BEFORE DELETE ON rckeys WHEN OLD.Nkey=5";
    }
    void failingStatementRollsBack()
    {
        QFETCH(QString, trigger);
        QVERIFY(CatalogueFixture::exec(m_db, "CREATE TRIGGER stop " + trigger +
                                                 " BEGIN SELECT RAISE(ABORT, 'disk is full'); END"));
        const QStringList before = allKeys();
        const KeyConversion::Result r = KeyConversion::convert(m_db, "m1", 2, 1, 2);
        QCOMPARE(int(r.status), int(KeyConversion::Status::Failed));
        QVERIFY2(r.error.contains(QLatin1String("disk is full")), qPrintable(r.error));
        QCOMPARE(allKeys(), before);
        // The connection is usable afterwards: no transaction left open.
        QVERIFY(CatalogueFixture::exec(m_db, "DROP TRIGGER stop"));
        QCOMPARE(int(KeyConversion::convert(m_db, "m1", 2, 1, 2).status), int(KeyConversion::Status::Converted));
    }
};

QTEST_GUILESS_MAIN(TestKeyConversion)
#include "tst_keyconversion.moc"
