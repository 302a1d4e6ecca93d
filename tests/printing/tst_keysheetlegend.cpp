// The catalogue's part of the key sheet: the named-key count and the legend
// rows of one customer, read under the link master with bound values.
#include "TestSupport.h"

#include "CatalogueFixture.h"
#include "printing/KeySheetLegend.h"

#include <QtTest>

using CatalogueFixture::Key;

class TestKeySheetLegend : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

    void order(int type, int customer, int nkey, const QVariant &printOrder)
    {
        QVERIFY(CatalogueFixture::exec(m_db, QStringLiteral("INSERT INTO rctypeprint VALUES (%1,%2,%3,%4)")
                                                 .arg(type)
                                                 .arg(customer)
                                                 .arg(nkey)
                                                 .arg(printOrder.isNull() ? QStringLiteral("NULL")
                                                                          : printOrder.toString())));
    }

    static QStringList texts(const QList<KeySheetLegend::Entry> &entries)
    {
        QStringList out;
        for (const KeySheetLegend::Entry &e : entries)
            out << QStringLiteral("%1@%2").arg(e.text).arg(e.printOrder);
        out.sort();
        return out;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = TestSupport::openFixtureCatalogue(m_dir.path());
        const QString m = QStringLiteral("0000000a");
        // Master a, type 1: two named keys, one empty name, one NULL name.
        for (const Key &k : {Key{m, 1, "POWER", "x", 0}, Key{m, 1, "MUTE", "x", 1}, Key{m, 1, "", "x", 2},
                             Key{m, 1, QVariant(), "x", 3}, Key{m, 1, "NO PLACE", "x", 4},
                             // type 2 of the same master: no names at all
                             Key{m, 2, "", "x", 0}, Key{m, 2, QVariant(), "x", 1},
                             // another master whose link has an apostrophe
                             Key{"o'brien", 1, "OK", "x", 0}})
            QVERIFY(CatalogueFixture::addKey(m_db, k));
        for (int nkey = 0; nkey < 4; ++nkey)
            order(1, 0, nkey, nkey * 40); // 0, 40, 80, 120
        order(1, 4, 0, 5);
        order(1, 4, 1, QVariant()); // a NULL order reads as 0
        order(2, 0, 0, 7);
        order(2, 0, 1, 8);
        order(3, 0, 0, 1); // another type's order never shows
    }

    void namedKeyCount_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("count");
        QTest::addRow("named keys") << "0000000a" << "1" << 3;
        QTest::addRow("no names") << "0000000a" << "2" << 0;
        QTest::addRow("no keys of the type") << "0000000a" << "5" << 0;
        QTest::addRow("apostrophe in link") << "o'brien" << "1" << 1;
        QTest::addRow("quote cannot widen the query") << "x' OR '1'='1" << "1" << 0;
        QTest::addRow("no model") << "" << "" << 0;
    }
    void namedKeyCount()
    {
        QFETCH(QString, link);
        QFETCH(QString, type);
        QFETCH(int, count);
        QString error;
        QCOMPARE(KeySheetLegend::namedKeyCount(m_db, link, type, &error), count);
        QVERIFY(error.isEmpty());
    }

    void entries_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("customer");
        QTest::addColumn<int>("namedKeys");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("shared order, stars for unnamed keys")
            << "0000000a" << "1" << "0" << 3
            << QStringList{"            *@120", "            *@80", "MUTE@40", "POWER@0"};
        QTest::addRow("customer's own order") << "0000000a" << "1" << "4" << 3 << QStringList{"MUTE@0", "POWER@5"};
        QTest::addRow("no stars without named keys") << "0000000a" << "2" << "0" << 0 << QStringList{"@7", "@8"};
        QTest::addRow("customer without rows") << "0000000a" << "1" << "9" << 3 << QStringList{};
        QTest::addRow("other master") << "o'brien" << "1" << "0" << 1 << QStringList{"OK@0"};
    }
    void entries()
    {
        QFETCH(QString, link);
        QFETCH(QString, type);
        QFETCH(QString, customer);
        QFETCH(int, namedKeys);
        QFETCH(QStringList, expected);
        QList<KeySheetLegend::Entry> out{{QStringLiteral("stale"), 1}};
        QString error;
        QVERIFY(KeySheetLegend::entries(m_db, link, type, customer, namedKeys, &out, &error));
        QCOMPARE(texts(out), expected);
    }

    void failedQueriesAreReported()
    {
        QVERIFY(CatalogueFixture::exec(m_db, QStringLiteral("ALTER TABLE rctypeprint RENAME TO rctypeprint_gone")));
        QList<KeySheetLegend::Entry> out;
        QString error;
        QVERIFY(!KeySheetLegend::entries(m_db, QStringLiteral("0000000a"), QStringLiteral("1"), QStringLiteral("0"),
                                         3, &out, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(CatalogueFixture::exec(m_db, QStringLiteral("ALTER TABLE rctypeprint_gone RENAME TO rctypeprint")));

        QVERIFY(CatalogueFixture::exec(m_db, QStringLiteral("ALTER TABLE rckeys RENAME TO rckeys_gone")));
        error.clear();
        QCOMPARE(KeySheetLegend::namedKeyCount(m_db, QStringLiteral("0000000a"), QStringLiteral("1"), &error), -1);
        QVERIFY(!error.isEmpty());
        QVERIFY(CatalogueFixture::exec(m_db, QStringLiteral("ALTER TABLE rckeys_gone RENAME TO rckeys")));
    }
};

QTEST_GUILESS_MAIN(TestKeySheetLegend)
#include "tst_keysheetlegend.moc"
