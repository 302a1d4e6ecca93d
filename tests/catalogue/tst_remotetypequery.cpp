// The remote types offered: the configured ids reach SQL only as bound numbers.
#include "DamagedCatalogue.h"
#include "TestSupport.h"
#include "catalogue/RemoteTypeQuery.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

class TestRemoteTypeQuery : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

private slots:
    void initTestCase()
    {
        m_db = TestSupport::openFixtureCatalogue(m_dir.path(), QStringLiteral("types"));
        QVERIFY(m_db.isOpen());
        QSqlQuery q(m_db);
        QVERIFY(q.prepare(QStringLiteral("INSERT INTO rctypes (RCTypeId, RCTypeName) VALUES (?, ?)")));
        for (int id : {5, 1, 3, 12, 2}) {
            q.addBindValue(id);
            q.addBindValue(QStringLiteral("Type %1").arg(id));
            QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        }
    }

    void typeIds_data()
    {
        QTest::addColumn<QStringList>("configured");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("nothing configured: every type") << QStringList{} << QStringList{"1", "2", "3", "5", "12"};
        QTest::addRow("two types") << QStringList{"1", "3"} << QStringList{"1", "3"};
        QTest::addRow("id order, not list order") << QStringList{"12", "2"} << QStringList{"2", "12"};
        QTest::addRow("unknown id") << QStringList{"7"} << QStringList{};
        QTest::addRow("text is no id") << QStringList{"1) OR (1=1", "3"} << QStringList{"3"};
        QTest::addRow("only text") << QStringList{"x"} << QStringList{};
        QTest::addRow("blanks around") << QStringList{" 5 "} << QStringList{"5"};
    }
    void typeIds()
    {
        QFETCH(QStringList, configured);
        QFETCH(QStringList, expected);
        QCOMPARE(RemoteTypeQuery::typeIds(configured, m_db), expected);
    }

    void selectTypes_data()
    {
        QTest::addColumn<QStringList>("configured");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("nothing configured: no row") << QStringList{} << QStringList{};
        QTest::addRow("two types") << QStringList{"3", "1"} << QStringList{"1", "3"};
        QTest::addRow("text is no id") << QStringList{"1' OR '1'='1"} << QStringList{};
    }
    void selectTypes()
    {
        QFETCH(QStringList, configured);
        QFETCH(QStringList, expected);
        QSqlQuery q = RemoteTypeQuery::selectTypes(configured, m_db);
        QVERIFY(q.isActive());
        QStringList ids;
        while (q.next())
            ids << q.value(0).toString();
        QCOMPARE(ids, expected);
    }

    void knownIds_data()
    {
        QTest::addColumn<QStringList>("configured");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("nothing configured") << QStringList{} << QStringList{};
        QTest::addRow("list order kept") << QStringList{"12", "1", "5"} << QStringList{"12", "1", "5"};
        QTest::addRow("unknown ids dropped") << QStringList{"7", "3", "99", "2"} << QStringList{"3", "2"};
        QTest::addRow("each once") << QStringList{"5", "1", "5", "1"} << QStringList{"5", "1"};
        QTest::addRow("the same number written twice") << QStringList{"005", "5"} << QStringList{"5"};
        QTest::addRow("text is no id") << QStringList{"1) OR (1=1", "x", "3"} << QStringList{"3"};
        QTest::addRow("too large for a number") << QStringList{"99999999999999999999", "1"} << QStringList{"1"};
        QTest::addRow("none known") << QStringList{"8", "9"} << QStringList{};
    }
    void knownIds()
    {
        QFETCH(QStringList, configured);
        QFETCH(QStringList, expected);
        QStringList known{"left over"};
        QString error;
        QVERIFY2(RemoteTypeQuery::knownIds(configured, &known, &error, m_db), qPrintable(error));
        QCOMPARE(known, expected);
    }

    // A hand-made list of 150,000 ids, twice over, with the catalogue's five
    // among them: more than SQLite binds to one statement (32,766, or 250,000
    // as Debian builds it), were each id a value of its own.
    void longListOfIds()
    {
        QStringList configured;
        for (int round = 0; round < 2; ++round)
            for (int id = 150000; id >= 1; --id)
                configured << QString::number(id);
        QStringList known;
        QString error;
        QVERIFY2(RemoteTypeQuery::knownIds(configured, &known, &error, m_db), qPrintable(error));
        QCOMPARE(known, QStringList({"12", "5", "3", "2", "1"}));
        QCOMPARE(RemoteTypeQuery::typeIds(configured, m_db), QStringList({"1", "2", "3", "5", "12"}));
        QSqlQuery q = RemoteTypeQuery::selectTypes(configured, m_db);
        QVERIFY2(q.isActive(), qPrintable(q.lastError().text()));
        QStringList ids;
        while (q.next())
            ids << q.value(0).toString();
        QCOMPARE(ids, QStringList({"1", "2", "3", "5", "12"}));
    }

    // Types read part-way would pass for the catalogue's whole list and drop
    // configured types it holds: the read fails instead.
    void damagedTypesAreAFailure()
    {
        QTemporaryDir dir;
        {
            QSqlDatabase db = TestSupport::openFixtureCatalogue(dir.path(), QStringLiteral("damaged"));
            QVERIFY(db.isOpen());
            QVERIFY(db.transaction());
            QSqlQuery q(db);
            QVERIFY(q.prepare(QStringLiteral("INSERT INTO rctypes (RCTypeId, RCTypeName) VALUES (?, ?)")));
            for (int id = 1; id <= 2000; ++id) {
                q.addBindValue(id);
                q.addBindValue(QString(200, QLatin1Char('n')));
                QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
            }
            QVERIFY(db.commit());
            QVERIFY(DamagedCatalogue::damageLeaf(db, QStringLiteral("rctypes"), -1));
            QStringList known{"left over"};
            QString error;
            QVERIFY(!RemoteTypeQuery::knownIds({"1", "2000"}, &known, &error, db));
            QVERIFY(!error.isEmpty());
            QVERIFY(known.isEmpty());
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("damaged"));
    }

    void failingQueryGivesNothing()
    {
        QSqlDatabase closed = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("closed"));
        QVERIFY(RemoteTypeQuery::typeIds({}, closed).isEmpty());
        QVERIFY(!RemoteTypeQuery::selectTypes({"1"}, closed).isActive());
        QStringList known;
        QString error;
        QVERIFY(!RemoteTypeQuery::knownIds({"1"}, &known, &error, closed));
        QVERIFY(known.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRemoteTypeQuery)
#include "tst_remotetypequery.moc"
