// The sample kit writes a catalogue with every table and column the program
// reads, in the positions and with the affinities it relies on.
#include "TestSupport.h"

#include "ir/Decode.h"
#include "tools/samplekit/SampleKit.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

class TestSampleSchema : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

    QStringList columns(const QString &table, QStringList *types = nullptr)
    {
        QSqlQuery q(m_db);
        QStringList names;
        if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)))
            return names;
        while (q.next()) {
            names << q.value(1).toString();
            if (types)
                *types << q.value(2).toString().toUpper();
        }
        return names;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(TestSupport::writeSampleDirectory(m_dir.path()));
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        m_db.setDatabaseName(m_dir.filePath(QStringLiteral("rc.db")));
        QVERIFY(m_db.open());
    }

    void tables_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QStringList>("affinity");
        const QString T = QStringLiteral("TEXT"), I = QStringLiteral("INTEGER"), R = QStringLiteral("REAL");
        QTest::addRow("rcmodels") << "rcmodels"
                                  << QStringList{"Rcid", "Brand", "Type", "Model", "Documentation", "Link", "Author",
                                                 "Correction", "Own", "Hidden", "Flag", "Hidden1", "Prot"}
                                  << QStringList{T, T, T, T, T, T, T, R, I, I, I, I, I};
        QTest::addRow("rckeys") << "rckeys" << QStringList{"Rcid", "RCTypeId", "Name", "ID", "Nkey"}
                                << QStringList{T, I, T, T, I};
        QTest::addRow("rctypes") << "rctypes" << QStringList{"RCTypeId", "RCTypeName", "KeyCount", "Note"}
                                 << QStringList{I, T, I, T};
        QTest::addRow("rcbrands") << "rcbrands" << QStringList{"Brand"} << QStringList{T};
        QTest::addRow("rctypesearch") << "rctypesearch" << QStringList{"RCTypeId", "Nkey", "SearchOrder"}
                                      << QStringList{I, I, I};
        QTest::addRow("rctypekeys") << "rctypekeys" << QStringList{"RCTypeId", "CustomerId", "NKey", "X", "Y", "Shift"}
                                    << QStringList{I, I, I, I, I, I};
        QTest::addRow("rccustomers") << "rccustomers" << QStringList{"RCTypeId", "CustomerIdFrom", "CustomerIdTo"}
                                     << QStringList{I, I, I};
        QTest::addRow("rctypeprint") << "rctypeprint" << QStringList{"RCTypeId", "CustomerId", "Nkey", "PrintOrder"}
                                     << QStringList{I, I, I, I};
        QTest::addRow("rctypemacro") << "rctypemacro" << QStringList{"RCTypeId", "Nkey", "Name", "SortOrder"}
                                     << QStringList{I, I, T, I};
        QTest::addRow("rcconfig") << "rcconfig" << QStringList{"Key", "ID", "Value"} << QStringList{T, I, T};
        QTest::addRow("rcconvert") << "rcconvert"
                                   << QStringList{"ConvertId", "Description", "RCTypeIdFrom", "RCTypeIdTo"}
                                   << QStringList{I, T, I, I};
        QTest::addRow("rcconvertmap") << "rcconvertmap" << QStringList{"ConvertId", "NkeyFrom", "NkeyTo"}
                                      << QStringList{I, I, I};
        QTest::addRow("prhistory") << "prhistory"
                                   << QStringList{"hid", "RCTypeId", "maxdevices", "rcid1", "rcid2", "rcid3", "rcid4",
                                                  "rcid5", "rcid6", "rcid7", "rcid8"}
                                   << QStringList{I, I, I, T, T, T, T, T, T, T, T};
        QTest::addRow("usbprotocols") << "usbprotocols" << QStringList{"DevID", "Prot", "Nrc", "Code"}
                                      << QStringList{I, I, I, T};
        QTest::addRow("protocols11") << "protocols11" << QStringList{"Prot", "Code"} << QStringList{I, T};
        QTest::addRow("protocols21") << "protocols21" << QStringList{"Prot", "Nrc", "Code"} << QStringList{I, I, T};
        QTest::addRow("protocols41") << "protocols41" << QStringList{"Prot", "Nrc", "Code"} << QStringList{I, I, T};
        QTest::addRow("protocolsirt") << "protocolsirt" << QStringList{"Prot", "Code"} << QStringList{I, T};
    }
    void tables()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, affinity);
        QStringList types;
        QCOMPARE(columns(table, &types), expected);
        QCOMPARE(types, affinity);
    }

    void defaultsOfInsertedModels()
    {
        QSqlQuery q(m_db);
        QVERIFY(q.exec(QStringLiteral("INSERT INTO rcmodels (Rcid,Brand,Type,Model,Documentation,Own,Link) "
                                      "VALUES('00000001','B','T','M','D','1','00000001')")));
        QVERIFY(q.exec(QStringLiteral("SELECT Hidden, Hidden1, Flag FROM rcmodels WHERE Rcid='00000001'")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0);
        QCOMPARE(q.value(1).toInt(), 0);
        QCOMPARE(q.value(2).toInt(), 0);
        QVERIFY(q.exec(QStringLiteral("DELETE FROM rcmodels WHERE Rcid='00000001'")));
    }

    void quotedAndBareNumbersMatchAlike()
    {
        QSqlQuery a(m_db), b(m_db);
        QVERIFY(a.exec(QStringLiteral("SELECT count(*) FROM rcmodels WHERE Own='1'")));
        QVERIFY(b.exec(QStringLiteral("SELECT count(*) FROM rcmodels WHERE Own=1")));
        QVERIFY(a.next() && b.next());
        QVERIFY(a.value(0).toInt() > 0);
        QCOMPARE(a.value(0).toInt(), b.value(0).toInt());
    }

    void catalogueContent()
    {
        QSqlQuery q(m_db);
        QVERIFY(q.exec(QStringLiteral("SELECT count(*), count(DISTINCT Brand), sum(Rcid=Link), sum(Rcid!=Link), "
                                      "sum(Own=1), sum(Own=0), sum(Hidden!=0) FROM rcmodels")));
        QVERIFY(q.next());
        QVERIFY(q.value(0).toInt() >= 30);
        QVERIFY(q.value(1).toInt() >= 4);
        QVERIFY(q.value(2).toInt() > 0);
        QVERIFY(q.value(3).toInt() > 0);
        QVERIFY(q.value(4).toInt() > 0);
        QVERIFY(q.value(5).toInt() > 0);
        QVERIFY(q.value(6).toInt() > 0);

        // Identities are eight lower-case hex digits; every link names a master.
        QVERIFY(q.exec(QStringLiteral("SELECT Rcid, Link FROM rcmodels")));
        const QRegularExpression rcid(QStringLiteral("^[0-9a-f]{8}$"));
        while (q.next()) {
            QVERIFY(rcid.match(q.value(0).toString()).hasMatch());
            QVERIFY(rcid.match(q.value(1).toString()).hasMatch());
        }
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM rcmodels m WHERE NOT EXISTS "
                                      "(SELECT 1 FROM rcmodels x WHERE x.Rcid=m.Link AND x.Rcid=x.Link)")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0);

        // Keys only under masters, one per (Rcid, type, key), 0..127.
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM rckeys k JOIN rcmodels m ON m.Rcid=k.Rcid "
                                      "WHERE m.Rcid!=m.Link")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0);
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM rckeys GROUP BY Rcid,RCTypeId,Nkey "
                                      "HAVING count(*)>1)")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0);
        QVERIFY(q.exec(QStringLiteral("SELECT min(Nkey), max(Nkey) FROM rckeys")));
        QVERIFY(q.next());
        QVERIFY(q.value(0).toInt() >= 0 && q.value(1).toInt() <= 127);
    }

    // What the model list and its filters are tried on: a brand with an
    // apostrophe and one beyond ASCII, link groups of three, hidden rows, and
    // masters with every key of every remote type.
    void catalogueVariety()
    {
        QSqlQuery q(m_db);
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM rcmodels WHERE Brand LIKE '%''%'")));
        QVERIFY(q.next() && q.value(0).toInt() > 0);
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM rcbrands WHERE Brand LIKE '%''%'")));
        QVERIFY(q.next() && q.value(0).toInt() > 0);
        q.prepare(QStringLiteral("SELECT count(*) FROM rcmodels WHERE Brand=?"));
        q.addBindValue(QString::fromUtf8("\u00D8STLUND"));
        QVERIFY(q.exec() && q.next() && q.value(0).toInt() > 0);
        QVERIFY(q.exec(QStringLiteral("SELECT max(n) FROM (SELECT count(*) AS n FROM rcmodels GROUP BY Link)")));
        QVERIFY(q.next() && q.value(0).toInt() >= 3);
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM rcmodels WHERE Hidden!=0 AND Rcid=Link AND EXISTS "
                                      "(SELECT 1 FROM rckeys k WHERE k.Rcid=rcmodels.Rcid)")));
        QVERIFY(q.next());
        // Full masters: every key of every type on both layers.
        int total = 0;
        for (const SampleKit::RemoteType &t : SampleKit::remoteTypes())
            total += 2 * t.keyCount;
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM (SELECT Rcid FROM rckeys GROUP BY Rcid HAVING count(*)=%1)")
                           .arg(total)));
        QVERIFY(q.next() && q.value(0).toInt() >= 2);
    }

    void keyedMastersCanBeThinnedOut()
    {
        QTemporaryDir dir;
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("thin"));
        db.setDatabaseName(dir.filePath(QStringLiteral("rc.db")));
        QVERIFY(db.open());
        QVERIFY(SampleKit::createSchema(db));
        SampleKit::Options options;
        options.models = 200;
        options.keyedMasterEvery = 4;
        QVERIFY(SampleKit::fillCatalogue(db, options));
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("SELECT (SELECT count(*) FROM rcmodels WHERE Rcid=Link), "
                                      "(SELECT count(DISTINCT Rcid) FROM rckeys)")));
        QVERIFY(q.next());
        QCOMPARE(q.value(1).toInt(), (q.value(0).toInt() + 3) / 4);
        q = QSqlQuery();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("thin"));
    }

    void keyCodesDecode()
    {
        // Stored codes are whole key codes: prefix, then blocks that decode
        // and encode back to themselves.
        QSqlQuery q(m_db);
        QVERIFY(q.exec(QStringLiteral("SELECT ID FROM rckeys")));
        int codes = 0;
        while (q.next()) {
            const QString id = q.value(0).toString();
            QVERIFY2((id.size() - 4) % 15 == 0 && id.size() > 4, qPrintable(id));
            const QString bits = Decode::decode(id.mid(4));
            QCOMPARE(bits.size() % 60, 0);
            QCOMPARE(Decode::encode(bits), id.mid(4));
            ++codes;
        }
        QVERIFY(codes > 100);
    }

    // A sample remote is one handset: its keys differ from each other, a key
    // sends the same code on every remote type, and the model's protocol is
    // the one its codes name.
    void keysOfAMasterAreOneRemote()
    {
        QSqlQuery q(m_db);
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM rckeys GROUP BY Rcid, RCTypeId, ID "
                                      "HAVING count(*)>1)")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0);
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM rckeys GROUP BY Rcid, Name "
                                      "HAVING count(DISTINCT ID)>1)")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0);
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM rckeys k JOIN rcmodels m ON m.Rcid=k.Rcid "
                                      "WHERE CAST(substr(k.ID, 1, 3) AS INTEGER)<>m.Prot")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0);
        // Every sample protocol number is used, and the look-up tables have
        // its slot codes.
        for (int prot : SampleKit::protocolNumbers()) {
            q.prepare(QStringLiteral("SELECT (SELECT count(*) FROM rcmodels WHERE Prot=?), "
                                     "(SELECT count(*) FROM usbprotocols WHERE Prot=?)"));
            q.addBindValue(prot);
            q.addBindValue(prot);
            QVERIFY(q.exec() && q.next());
            QVERIFY2(q.value(0).toInt() > 0, qPrintable(QString::number(prot)));
            QVERIFY2(q.value(1).toInt() > 0, qPrintable(QString::number(prot)));
        }
    }

    void shiftLayerKeysPresent()
    {
        QSqlQuery q(m_db);
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM rckeys WHERE (RCTypeId<=4 AND Nkey>=56) OR "
                                      "(RCTypeId>4 AND Nkey>=43)")));
        QVERIFY(q.next());
        QVERIFY(q.value(0).toInt() > 0);
    }
};

QTEST_GUILESS_MAIN(TestSampleSchema)
#include "tst_sampleschema.moc"
