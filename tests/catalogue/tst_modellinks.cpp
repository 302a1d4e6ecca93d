// The links list: the master first, then the group by brand and model,
// hidden rows by the debug switches, the link bound as a value.
#include "TestSupport.h"

#include "catalogue/ModelLinks.h"

#include <QSqlQuery>
#include <QtTest>

class TestModelLinks : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

    void addModel(const QString &rcid, const QString &brand, const QString &model, const QString &link, int hidden = 0,
                  int hidden1 = 0)
    {
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("INSERT INTO rcmodels (Rcid, Brand, Type, Model, Link, Hidden, Hidden1) "
                                 "VALUES (?,?,'TV',?,?,?,?)"));
        for (const QVariant &v : QVariantList{rcid, brand, model, link, hidden, hidden1})
            q.addBindValue(v);
        QVERIFY(q.exec());
    }
    QStringList rcids(QSqlQuery &q)
    {
        QStringList out;
        while (q.next())
            out << q.value(0).toString() + QLatin1Char('/') + q.value(4).toString();
        return out;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = TestSupport::openFixtureCatalogue(m_dir.path());
        addModel(QStringLiteral("0000000m"), QStringLiteral("ZETA"), QStringLiteral("M1"), QStringLiteral("0000000m"));
        addModel(QStringLiteral("0000000b"), QStringLiteral("BETA"), QStringLiteral("B2"), QStringLiteral("0000000m"));
        addModel(QStringLiteral("0000000a"), QStringLiteral("BETA"), QStringLiteral("A1"), QStringLiteral("0000000m"));
        addModel(QStringLiteral("0000000h"), QStringLiteral("ALFA"), QStringLiteral("H"), QStringLiteral("0000000m"), 1);
        addModel(QStringLiteral("0000000i"), QStringLiteral("ALFA"), QStringLiteral("I"), QStringLiteral("0000000m"), 0, 2);
        addModel(QStringLiteral("0000000x"), QStringLiteral("ALFA"), QStringLiteral("X"), QStringLiteral("0000000x"));
        addModel(QStringLiteral("q'uote"), QStringLiteral("ALFA"), QStringLiteral("Q"), QStringLiteral("q'uote"));
    }

    void statement()
    {
        QCOMPARE(ModelLinks::statement(false, false),
                 QStringLiteral("SELECT Rcid,Brand,Type,Model,(CASE WHEN rcid=link THEN 0 ELSE 1 END) AS sortlink FROM "
                                "rcmodels WHERE (Link=?)AND(Hidden=0)AND(Hidden1=0) ORDER BY sortlink,Brand,Model"));
        QVERIFY(ModelLinks::statement(true, false).contains(QLatin1String("WHERE (Link=?)AND(Hidden1=0) ORDER")));
    }

    void rows_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("showHidden");
        QTest::addColumn<bool>("showHidden1");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("group") << "0000000m" << false << false
                               << QStringList{"0000000m/0", "0000000a/1", "0000000b/1"};
        QTest::addRow("show hidden") << "0000000m" << true << false
                                     << QStringList{"0000000m/0", "0000000h/1", "0000000a/1", "0000000b/1"};
        QTest::addRow("show both") << "0000000m" << true << true
                                   << QStringList{"0000000m/0", "0000000h/1", "0000000i/1", "0000000a/1",
                                                  "0000000b/1"};
        QTest::addRow("alone") << "0000000x" << false << false << QStringList{"0000000x/0"};
        QTest::addRow("quote") << "q'uote" << false << false << QStringList{"q'uote/0"};
        QTest::addRow("injection") << "x')OR('1'='1" << false << false << QStringList{};
        QTest::addRow("no model") << "" << false << false << QStringList{};
    }
    void rows()
    {
        QFETCH(QString, link);
        QFETCH(bool, showHidden);
        QFETCH(bool, showHidden1);
        QFETCH(QStringList, expected);
        QSqlQuery q = ModelLinks::query(m_db, link, showHidden, showHidden1);
        QVERIFY(q.isActive());
        QCOMPARE(rcids(q), expected);
    }
};

QTEST_GUILESS_MAIN(TestModelLinks)
#include "tst_modellinks.moc"
