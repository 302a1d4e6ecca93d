// The hot-spot table of a remote type: loading from rctypekeys (reset first,
// bad rows skipped) and the hit test's square, layers and key range.
#include "TestSupport.h"

#include "catalogue/KeyPositionTable.h"

#include <QSqlQuery>
#include <QtTest>

class TestKeyPositionTable : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

    void addPosition(const QVariant &type, const QVariant &customer, const QVariant &n, const QVariant &x,
                     const QVariant &y, const QVariant &shift)
    {
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("INSERT INTO rctypekeys (RCTypeId, CustomerId, NKey, X, Y, Shift) VALUES (?,?,?,?,?,?)"));
        for (const QVariant &v : {type, customer, n, x, y, shift})
            q.addBindValue(v);
        QVERIFY2(q.exec(), qPrintable(q.lastQuery()));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = TestSupport::openFixtureCatalogue(m_dir.path());
        QVERIFY(m_db.isOpen());
        // Type 3, customer 4: a layout with gaps, a duplicate and bad rows.
        addPosition(3, 4, 0, 100, 200, 0);
        addPosition(3, 4, 5, 150, 300, 0);
        addPosition(3, 4, 5, 160, 310, 0); // duplicate: the later row wins
        addPosition(3, 4, 61, 150, 300, 1);
        addPosition(3, 4, 127, 400, 2000, 0);
        addPosition(3, 4, 128, 1, 1, 0);   // out of range
        addPosition(3, 4, -1, 1, 1, 0);    // out of range
        addPosition(3, 4, 1000, 1, 1, 0);  // out of range
        addPosition(3, 4, QStringLiteral("x"), 1, 1, 0); // not a number
        addPosition(3, 4, 7, 120, 500, QVariant()); // NULL Shift: normal layer
        // Same type, other customer; other type, same customer.
        addPosition(3, 9, 1, 10, 10, 0);
        addPosition(2, 4, 2, 20, 20, 0);
        addPosition(2, 4, 5, 22, 22, 0);
    }

    void loadFillsOnlyNamedEntries()
    {
        KeyPositionTable t;
        const KeyPositionTable::LoadResult r = t.load(m_db, QStringLiteral("3"), QStringLiteral("4"));
        QVERIFY(r.ok);
        QCOMPARE(r.rows, 10);
        QCOMPARE(r.ignored, 4);
        QCOMPARE(r.duplicates, 1);
        QCOMPARE(t.count(), 5);
        QCOMPARE(t.at(0), (KeyPosition{100, 200, 0}));
        QCOMPARE(t.at(5), (KeyPosition{160, 310, 0}));
        QCOMPARE(t.at(61), (KeyPosition{150, 300, 1}));
        QCOMPARE(t.at(127), (KeyPosition{400, 2000, 0}));
        QCOMPARE(t.at(7), (KeyPosition{120, 500, 0}));
        QVERIFY(!t.contains(1));
        QVERIFY(!t.contains(2));
        // Outside the table nothing is read.
        QVERIFY(!t.contains(-1));
        QVERIFY(!t.contains(128));
        QCOMPARE(t.at(128), KeyPosition());
        QVERIFY(!t.set(128, KeyPosition{1, 1, 0}));
        QVERIFY(!t.set(-5, KeyPosition{1, 1, 0}));
        QCOMPARE(t.count(), 5);
    }

    void loadResetsFirst()
    {
        KeyPositionTable t;
        QVERIFY(t.load(m_db, QStringLiteral("3"), QStringLiteral("4")).ok);
        QVERIFY(t.contains(0) && t.contains(61));
        QVERIFY(t.load(m_db, QStringLiteral("2"), QStringLiteral("4")).ok);
        QCOMPARE(t.count(), 2);
        QVERIFY(!t.contains(0));
        QVERIFY(!t.contains(61));
        QCOMPARE(t.at(5), (KeyPosition{22, 22, 0}));
    }

    void loadWithoutUsableSelection_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("customer");
        QTest::addRow("no type") << "" << "4";
        QTest::addRow("no customer") << "3" << "";
        QTest::addRow("customer not a number") << "3" << "4 OR 1=1";
        QTest::addRow("unknown customer") << "3" << "77";
        QTest::addRow("unknown type") << "8" << "4";
    }
    void loadWithoutUsableSelection()
    {
        QFETCH(QString, type);
        QFETCH(QString, customer);
        KeyPositionTable t;
        QVERIFY(t.load(m_db, QStringLiteral("3"), QStringLiteral("4")).ok);
        const KeyPositionTable::LoadResult r = t.load(m_db, type, customer);
        QVERIFY(r.ok);
        QCOMPARE(r.rows, 0);
        QCOMPARE(t.count(), 0);
    }

    void loadReportsFailedQuery()
    {
        QTemporaryDir empty;
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("empty"));
        db.setDatabaseName(empty.filePath(QStringLiteral("rc.db")));
        QVERIFY(db.open());
        KeyPositionTable t;
        t.set(3, KeyPosition{1, 2, 0});
        const KeyPositionTable::LoadResult r = t.load(db, QStringLiteral("3"), QStringLiteral("4"));
        QVERIFY(!r.ok);
        QVERIFY(!r.error.isEmpty());
        QCOMPARE(t.count(), 0);
        db.close();
    }

    void hitTest_data()
    {
        QTest::addColumn<int>("ux");
        QTest::addColumn<int>("uy");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<int>("expected");
        // Key 10 at (300, 1000) normal layer, key 66 there in the shift layer.
        QTest::addRow("centre") << 300 << 1000 << false << 10;
        QTest::addRow("29 right and down") << 329 << 1029 << false << 10;
        QTest::addRow("29 left and up") << 271 << 971 << false << 10;
        QTest::addRow("30 right") << 330 << 1000 << false << -1;
        QTest::addRow("30 left") << 270 << 1000 << false << -1;
        QTest::addRow("30 down") << 300 << 1030 << false << -1;
        QTest::addRow("30 up") << 300 << 970 << false << -1;
        QTest::addRow("shift layer") << 300 << 1000 << true << 66;
        QTest::addRow("shift edge") << 329 << 971 << true << 66;
        // Keys 20 and 21 overlap around (500, 1500): the lower number wins.
        QTest::addRow("overlap") << 505 << 1500 << false << 20;
        QTest::addRow("only the higher") << 535 << 1500 << false << 21;
        // Shift 2 is drawn as the shift layer but hit in neither.
        QTest::addRow("shift 2, normal") << 100 << 100 << false << -1;
        QTest::addRow("shift 2, shift") << 100 << 100 << true << -1;
        // Keys 112..127 are never hit.
        QTest::addRow("key 112") << 200 << 2100 << false << -1;
        QTest::addRow("key 111") << 400 << 2100 << false << 111;
        QTest::addRow("far away") << -5000 << 90000 << false << -1;
        QTest::addRow("int limits") << std::numeric_limits<int>::min() << std::numeric_limits<int>::max() << false
                                    << -1;
    }
    void hitTest()
    {
        QFETCH(int, ux);
        QFETCH(int, uy);
        QFETCH(bool, shift);
        QFETCH(int, expected);
        KeyPositionTable t;
        t.set(10, KeyPosition{300, 1000, 0});
        t.set(66, KeyPosition{300, 1000, 1});
        t.set(20, KeyPosition{500, 1500, 0});
        t.set(21, KeyPosition{520, 1500, 0});
        t.set(30, KeyPosition{100, 100, 2});
        t.set(112, KeyPosition{200, 2100, 0});
        t.set(111, KeyPosition{400, 2100, 0});
        t.set(40, KeyPosition{std::numeric_limits<qint32>::max(), std::numeric_limits<qint32>::min(), 0});
        QCOMPARE(t.hitTest(ux, uy, shift), expected);
    }

    void shiftLayerOffset_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("twinOf10");
        QTest::addRow("type 1") << 1 << 66;
        QTest::addRow("type 3") << 3 << 66;
        QTest::addRow("type 4") << 4 << 66;
        QTest::addRow("type 5") << 5 << 53;
        QTest::addRow("type 12") << 12 << 53;
    }
    void shiftLayerOffset()
    {
        QFETCH(int, type);
        QFETCH(int, twinOf10);
        QCOMPARE(10 + KeyPositionTable::shiftLayerOffset(type), twinOf10);
    }
};

QTEST_GUILESS_MAIN(TestKeyPositionTable)
#include "tst_keypositiontable.moc"
