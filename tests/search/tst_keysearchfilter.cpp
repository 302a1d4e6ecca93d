// The key search's filter: the models it lists on a small fixture catalogue,
// its text where quoting and skipped positions show, the search positions it
// reads, and, on the sample catalogue, agreement with the plain rule (one
// bound look-up per row and type).
#include "CatalogueFixture.h"
#include "TestSupport.h"

#include "catalogue/RCModelsModel.h"
#include "search/KeySearchFilter.h"
#include "tools/samplekit/SampleKit.h"

#include <QRandomGenerator>
#include <QSet>
#include <QSqlQuery>
#include <QtTest>

using CatalogueFixture::Key;
using CatalogueFixture::Model;

namespace {

// "1=P1", "X1=X": row 1 holds P1, row X1 holds X.
QStringList rowsOf(const QStringList &filled)
{
    QStringList rows;
    for (int i = 0; i < KeySearchFilter::kRows; ++i)
        rows << QString();
    for (const QString &entry : filled) {
        const int eq = entry.indexOf(QLatin1Char('='));
        const QString name = entry.left(eq);
        const int row = name == QLatin1String("X1")   ? 20
                        : name == QLatin1String("X2") ? 21
                                                      : name.toInt() - 1;
        rows[row] = entry.mid(eq + 1);
    }
    return rows;
}

QStringList listedBy(QSqlDatabase db, const QString &filter)
{
    RCModelsModel model(nullptr, db);
    model.setTable(QStringLiteral("rcmodels"));
    model.setFilter(filter);
    model.setEditStrategy(QSqlTableModel::OnManualSubmit);
    if (!model.select())
        return {QStringLiteral("select failed")};
    while (model.canFetchMore())
        model.fetchMore();
    QStringList rcids;
    for (int row = 0; row < model.rowCount(); ++row)
        rcids << model.index(row, 0).data().toString();
    return rcids;
}

} // namespace

class TestKeySearchFilter : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;
    KeySearchFilter::PositionMap m_positions;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = TestSupport::openFixtureCatalogue(m_dir.path());
        QVERIFY(m_db.isOpen());
        // Type 1: position 1 on key 12, position 2 on key 3. Type 4: position 1
        // on key 10; positions 3 to 5 hold no usable key number. Type 5: no
        // position 1, position 2 on key 7, position 3 on key 10. The repeated
        // type 1 position 2 row comes last and wins.
        QVERIFY(CatalogueFixture::exec(m_db, "INSERT INTO rctypesearch VALUES (1,12,1),(1,40,2),(1,3,2),(4,10,1),"
                                             "(4,-1,3),(4,'x',4),(4,'',5),(5,7,2),(5,10,3)"));
        const QList<Model> models = {
            {"a1", "BRAVO", "TV", "B1", "", "a1", ""},   {"a2", "ALPHA", "TV", "M9", "", "a2", ""},
            {"a3", "AAA", "TV", "LINKED", "", "a1", ""}, {"a4", "CHARLIE", "TV", "C1", "", "a4", ""},
            {"a5", "ALPHA", "TV", "M1", "", "a5", "", 1, 1, 1, 1}, // hidden on both flags
            {"a6", "DELTA", "TV", "D1", "", "a6", ""},   {"a7", "ECHO", "TV", "E1", "", "a7", ""},
            {"a8", "FOX", "TV", "F1", "", "a8", ""},     {"a9", "GOLF", "TV", "G1", "", "a9", ""},
            {"b1", "HOTEL", "TV", "H1", "", "b1", ""},   {"b2", "INDIA", "TV", "I1", "", "b2", ""},
            {"b3", "JULIET", "TV", "J1", "", "b3", ""},
        };
        for (const Model &m : models)
            QVERIFY(CatalogueFixture::addModel(m_db, m));
        const QList<Key> keys = {
            {"a1", 1, "POWER", "P1", 12}, {"a1", 1, "ANY", "X", 30},     // position 1 and any key
            {"a2", 1, "S-POWER", "P1", 68}, {"a2", 1, "ANY", "X", 5},    // shift twin of 12 (12 + 56)
            {"a4", 5, "ANY", "X", 20},    {"a4", 5, "MUTE", "M", 7},     // type 5 only
            {"a5", 1, "POWER", "P1", 12},                                 // hidden model
            {"a6", 1, "NEXT", "P1", 13},  {"a6", 1, "MUTE", "M", 3},     // beside position 1; position 2
            {"b3", 1, "MUTE", "M", 40},                                   // the overridden position 2 row
            {"a7", 2, "POWER", "P1", 12},                                 // a type not listed
            {"a8", 1, "POWER", "O'1", 12},                                // a code with an apostrophe
            {"a9", 4, "S-KEY", "S4", 66},  {"b1", 4, "KEY", "S4", 53},   // type 4: 10 + 56 and 10 + 43
            {"b2", 5, "S-KEY", "S5", 53},  {"b3", 5, "KEY", "S5", 66},   // type 5: 10 + 43 and 10 + 56
        };
        for (const Key &k : keys)
            QVERIFY(CatalogueFixture::addKey(m_db, k));
        QString error;
        m_positions = KeySearchFilter::readPositions(m_db, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void listed_data()
    {
        QTest::addColumn<QStringList>("filled");
        QTest::addColumn<QStringList>("types");
        QTest::addColumn<QStringList>("expected"); // by brand, then model
        const QStringList t1{"1"}, t15{"1", "5"};
        QTest::addRow("nothing filled") << QStringList() << t15 << QStringList();
        QTest::addRow("one row: key or its shift twin, hidden models too, masters only")
            << QStringList{"1=P1"} << t1 << QStringList{"a5", "a2", "a1"};
        QTest::addRow("rows 1 and X1 over types 1 and 5")
            << QStringList{"1=P1", "X1=X"} << t15 << QStringList{"a2", "a1", "a4"};
        QTest::addRow("a code with an apostrophe") << QStringList{"1=O'1"} << t1 << QStringList{"a8"};
        QTest::addRow("a missing position leaves the type out") << QStringList{"1=P1"} << QStringList{"5"}
                                                                << QStringList();
        QTest::addRow("missing, -1, non-number and empty key numbers are skipped")
            << QStringList{"1=S4", "3=S4", "4=S4", "5=S4"} << QStringList{"4"} << QStringList{"a9"};
        QTest::addRow("a type whose rows are all skipped adds nothing")
            << QStringList{"3=S4", "4=S4", "5=S4"} << QStringList{"4"} << QStringList();
        QTest::addRow("shift twin on type 5 is 43 keys up") << QStringList{"3=S5"} << QStringList{"5"}
                                                            << QStringList{"b2"};
        QTest::addRow("the later of two position rows wins") << QStringList{"2=M"} << t1 << QStringList{"a6"};
        QTest::addRow("X1 alone: any key of any listed type") << QStringList{"X1=X"} << t15
                                                              << QStringList{"a2", "a1", "a4"};
        QTest::addRow("one key satisfies two rows") << QStringList{"1=P1", "X2=P1"} << t1
                                                    << QStringList{"a5", "a2", "a1"};
        QTest::addRow("every row of a type must match") << QStringList{"1=P1", "2=M"} << t1 << QStringList();
        QTest::addRow("letter case counts") << QStringList{"1=p1"} << t1 << QStringList();
        QTest::addRow("spaces count") << QStringList{"1= P1"} << t1 << QStringList();
        QTest::addRow("a type not listed is not searched") << QStringList{"X1=P1"} << QStringList{"1", "5"}
                                                           << QStringList{"a5", "a2", "a1", "a6"};
    }
    void listed()
    {
        QFETCH(QStringList, filled);
        QFETCH(QStringList, types);
        QFETCH(QStringList, expected);
        const QString filter = KeySearchFilter::filter(rowsOf(filled), types, m_positions);
        QVERIFY2(filter.endsWith(QLatin1String(" ORDER BY Brand,Model")), qPrintable(filter));
        QCOMPARE(listedBy(m_db, filter), expected);
    }

    void filterText_data()
    {
        QTest::addColumn<QStringList>("filled");
        QTest::addColumn<QStringList>("types");
        QTest::addColumn<QStringList>("contains");
        QTest::addColumn<QStringList>("lacks");
        QTest::addRow("nothing filled") << QStringList() << QStringList{"1"} << QStringList{"(0)"}
                                        << QStringList{"rckeys"};
        QTest::addRow("one row on type 1") << QStringList{"1=P1"} << QStringList{"1"}
                                           << QStringList{"(rcTypeId='1')", "(Nkey=12)OR(Nkey=(12+56))", "ID='P1'"}
                                           << QStringList();
        QTest::addRow("apostrophe doubled") << QStringList{"1=O'1"} << QStringList{"1"}
                                            << QStringList{"'O''1'"} << QStringList{"'O'1'"};
        QTest::addRow("type 5 offset") << QStringList{"3=S5"} << QStringList{"5"}
                                       << QStringList{"(Nkey=10)OR(Nkey=(10+43))"} << QStringList();
        QTest::addRow("skipped key numbers never reach the text")
            << QStringList{"3=S4", "4=S4", "5=S4"} << QStringList{"4"} << QStringList{"(0)"}
            << QStringList{"Nkey=)", "Nkey=-1", "Nkey=x", "rckeys"};
        QTest::addRow("a quote in a type id is doubled")
            << QStringList{"X1=X"} << QStringList{"1')OR(1"} << QStringList{"(rcTypeId='1'')OR(1')"}
            << QStringList();
    }
    void filterText()
    {
        QFETCH(QStringList, filled);
        QFETCH(QStringList, types);
        QFETCH(QStringList, contains);
        QFETCH(QStringList, lacks);
        const QString text = KeySearchFilter::conditions(rowsOf(filled), types, m_positions);
        for (const QString &part : contains)
            QVERIFY2(text.contains(part), qPrintable(text + " lacks " + part));
        for (const QString &part : lacks)
            QVERIFY2(!text.contains(part), qPrintable(text + " holds " + part));
        // Whatever the text, the statement it makes is valid SQL.
        QVERIFY(!listedBy(m_db, text).contains(QStringLiteral("select failed")));
    }

    void shiftOffset_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("offset");
        QTest::addRow("1") << "1" << 56;
        QTest::addRow("4") << "4" << 56;
        QTest::addRow("5") << "5" << 43;
        QTest::addRow("12") << "12" << 43;
        QTest::addRow("not a number reads as 0") << "x" << 56;
    }
    void shiftOffset()
    {
        QFETCH(QString, type);
        QFETCH(int, offset);
        QCOMPARE(KeySearchFilter::shiftOffset(type), offset);
    }

    void positionsThatCannotBeRead()
    {
        QTemporaryDir dir;
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bare"));
        db.setDatabaseName(dir.filePath(QStringLiteral("bare.db")));
        QVERIFY(db.open());
        QVERIFY(CatalogueFixture::exec(db, "CREATE TABLE rcmodels (Rcid TEXT, Brand TEXT, Model TEXT)"));
        QVERIFY(CatalogueFixture::exec(db, "CREATE TABLE rckeys (Rcid TEXT, RCTypeId INTEGER, Name TEXT, ID TEXT, "
                                           "Nkey INTEGER)"));
        QVERIFY(CatalogueFixture::exec(db, "INSERT INTO rcmodels VALUES ('m1','B','M')"));
        QVERIFY(CatalogueFixture::exec(db, "INSERT INTO rckeys VALUES ('m1',1,'K','C',0)"));
        QString error;
        const KeySearchFilter::PositionMap positions = KeySearchFilter::readPositions(db, &error);
        QVERIFY(positions.isEmpty());
        QVERIFY(!error.isEmpty());
        // Numbered rows then match nothing; the any-key rows still work.
        QCOMPARE(listedBy(db, KeySearchFilter::filter(rowsOf({"1=C"}), {"1"}, positions)), QStringList());
        QCOMPARE(listedBy(db, KeySearchFilter::filter(rowsOf({"1=C", "X1=C"}), {"1"}, positions)),
                 QStringList{"m1"});
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("bare"));
    }

    // The filter against the rule itself, on the sample catalogue: per type a
    // bound look-up of each row that applies, intersected; the types united.
    void agreesWithThePlainRule()
    {
        QTemporaryDir dir;
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("sample"));
        db.setDatabaseName(dir.filePath(QStringLiteral("rc.db")));
        QVERIFY(db.open());
        QVERIFY(SampleKit::createSchema(db));
        SampleKit::Options options;
        options.models = 120;
        QVERIFY(SampleKit::fillCatalogue(db, options));
        const KeySearchFilter::PositionMap positions = KeySearchFilter::readPositions(db);
        // Keys to search for, with the row that stands for their position.
        struct Pick
        {
            QString code;
            int row;
        };
        QList<Pick> picks;
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("SELECT RCTypeId, Nkey, ID FROM rckeys ORDER BY Rcid,RCTypeId,Nkey")));
        while (q.next()) {
            int row = 20;
            for (int order = 1; order <= KeySearchFilter::kPositionRows; ++order) {
                const QString t = q.value(0).toString();
                const int k = positions.value(t + "_" + QString::number(order), QStringLiteral("-1")).toInt();
                if (k >= 0 && (q.value(1).toInt() == k || q.value(1).toInt() == k + KeySearchFilter::shiftOffset(t)))
                    row = order - 1;
            }
            picks.append({q.value(2).toString(), row});
        }
        QVERIFY(picks.size() > 1000);
        const QStringList allTypes{"1", "2", "3", "4", "5"};

        QRandomGenerator rng(25);
        int nonEmpty = 0;
        for (int round = 0; round < 80; ++round) {
            QStringList rows = rowsOf({});
            // Mostly codes in the row of their own key, now and then anywhere.
            const Pick &first = picks.at(int(rng.bounded(picks.size())));
            rows[first.row] = first.code;
            for (int extra = int(rng.bounded(3)); extra > 0; --extra) {
                const Pick &p = picks.at(int(rng.bounded(picks.size())));
                rows[rng.bounded(4) == 0 ? int(rng.bounded(KeySearchFilter::kRows)) : p.row] = p.code;
            }
            QStringList types;
            for (const QString &t : allTypes)
                if (rng.bounded(3) != 0)
                    types << t;

            QSet<QString> expected;
            for (const QString &t : types) {
                QSet<QString> typeMatches;
                bool applies = false;
                for (int row = 0; row < KeySearchFilter::kRows; ++row) {
                    if (rows.at(row).isEmpty())
                        continue;
                    QStringList found;
                    if (row >= KeySearchFilter::kPositionRows) {
                        found = CatalogueFixture::column(db, "SELECT Rcid FROM rckeys WHERE RCTypeId=? AND ID=?",
                                                         {t.toInt(), rows.at(row)});
                    } else {
                        const QString k = positions.value(t + "_" + QString::number(row + 1));
                        if (k.isEmpty() || k == QLatin1String("-1"))
                            continue;
                        found = CatalogueFixture::column(
                            db, "SELECT Rcid FROM rckeys WHERE RCTypeId=? AND ID=? AND (Nkey=? OR Nkey=?)",
                            {t.toInt(), rows.at(row), k.toInt(), k.toInt() + (t.toInt() <= 4 ? 56 : 43)});
                    }
                    const QSet<QString> set(found.begin(), found.end());
                    typeMatches = applies ? typeMatches & set : set;
                    applies = true;
                }
                expected |= typeMatches;
            }
            const QStringList got = listedBy(db, KeySearchFilter::filter(rows, types, positions));
            const QSet<QString> gotSet(got.begin(), got.end());
            QCOMPARE(got.size(), gotSet.size());
            QCOMPARE(gotSet, expected);
            nonEmpty += got.isEmpty() ? 0 : 1;
        }
        QVERIFY(nonEmpty > 20); // the rounds found something to compare
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("sample"));
    }
};

QTEST_GUILESS_MAIN(TestKeySearchFilter)
#include "tst_keysearchfilter.moc"
