// The remote types offered: the configured ids reach SQL only as bound numbers.
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

    void failingQueryGivesNothing()
    {
        QSqlDatabase closed = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("closed"));
        QVERIFY(RemoteTypeQuery::typeIds({}, closed).isEmpty());
        QVERIFY(!RemoteTypeQuery::selectTypes({"1"}, closed).isActive());
    }
};

QTEST_GUILESS_MAIN(TestRemoteTypeQuery)
#include "tst_remotetypequery.moc"
