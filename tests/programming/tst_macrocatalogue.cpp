// The catalogue's macro rows: the key list of a remote type and the macro
// names of a name set, on a small fixture catalogue.
#include "TestSupport.h"
#include "programming/MacroCatalogue.h"

#include <QSqlQuery>
#include <QtTest>

class TestMacroCatalogue : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

    bool exec(const QString &sql)
    {
        QSqlQuery q(m_db);
        return q.exec(sql);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = TestSupport::openFixtureCatalogue(m_dir.path());
        QVERIFY(m_db.isOpen());
        // Type 3: key 7 twice (the later name wins, the list keeps both), a
        // key without a name, rows entered out of their sort order; type 4
        // as a neighbour that must not leak in.
        QVERIFY(exec("INSERT INTO rctypemacro (RCTypeId, Nkey, Name, SortOrder) VALUES "
                     "(3, 7, 'PLAY', 2), (3, 12, '', 3), (3, 0, 'POWER', 1), (3, 7, 'PLAY/PAUSE', 4), "
                     "(4, 1, 'ONE', 1)"));
        QVERIFY(exec("INSERT INTO rcconfig (Key, ID, Value) VALUES "
                     "('macro', 1283, 'Morning;It''s late;'), ('other', 1284, 'Not;Names;'), "
                     "('macro', 1285, ';')"));
    }

    void keys()
    {
        MacroCatalogue::KeyList list;
        QString error;
        QVERIFY(MacroCatalogue::keys(m_db, 3, &list, &error));
        QCOMPARE(list.order, (QList<int>{0, 7, 12, 7}));
        QCOMPARE(list.names.keys(), (QList<int>{0, 7, 12}));
        QCOMPARE(list.names.values(), (QStringList{"POWER", "PLAY/PAUSE", " - 12 - "}));

        QVERIFY(MacroCatalogue::keys(m_db, 9, &list, &error));
        QVERIFY(list.order.isEmpty() && list.names.isEmpty());
    }

    void names_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QStringList>("names");
        QTest::addRow("stored as typed") << 1283 << QStringList{"Morning", "It's late"};
        QTest::addRow("only macro rows") << 1284 << QStringList{};
        QTest::addRow("empty first name") << 1285 << QStringList{};
        QTest::addRow("no row") << 1286 << QStringList{};
    }
    void names()
    {
        QFETCH(int, id);
        QFETCH(QStringList, names);
        QStringList out{"stale"};
        QString error;
        QVERIFY(MacroCatalogue::macroNames(m_db, id, &out, &error));
        QCOMPARE(out, names);
    }

    void missingTables()
    {
        QVERIFY(exec("DROP TABLE rctypemacro"));
        QVERIFY(exec("DROP TABLE rcconfig"));
        MacroCatalogue::KeyList list;
        list.order = {1};
        QStringList names{"stale"};
        QString error;
        QVERIFY(!MacroCatalogue::keys(m_db, 3, &list, &error));
        QVERIFY2(error.contains("rctypemacro"), qPrintable(error));
        QVERIFY(list.order.isEmpty());
        QVERIFY(!MacroCatalogue::macroNames(m_db, 1283, &names, &error));
        QVERIFY2(error.contains("rcconfig"), qPrintable(error));
        QVERIFY(names.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMacroCatalogue)
#include "tst_macrocatalogue.moc"
