// The four protocol code look-ups and the transmit check on a fixture
// catalogue: the code column of each table, the first of several rows, no
// row, the slot code, values that must not change the statement, and a
// catalogue without the tables.
#include "TestSupport.h"
#include "CatalogueFixture.h"

#include "ir/Protocol.h"
#include "programming/ProtocolLookup.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QtTest>

class TestProtocolLookup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;
    QSqlDatabase m_empty; // a catalogue file without any table

    static QString answer(QSqlDatabase db, const QString &table, const QString &prot, int ntp)
    {
        if (table == QLatin1String("11"))
            return ProtocolLookup::protocol11(db, prot);
        if (table == QLatin1String("21"))
            return ProtocolLookup::protocol21(db, prot, ntp);
        if (table == QLatin1String("41"))
            return ProtocolLookup::protocol41(db, prot, ntp);
        return ProtocolLookup::protocolIRT(db, prot);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = TestSupport::openFixtureCatalogue(m_dir.path(), QStringLiteral("lookups"));
        QVERIFY(m_db.isOpen());
        // Where one key has several rows, the first inserted sorts after the
        // second, so neither a sorted read nor the last row passes for it.
        const char *const rows[] = {
            "INSERT INTO protocols11 VALUES (1,'FIRST-11'),(1,'AFTER-11'),(2,'C11-2'),(12,'C11-12')",
            "INSERT INTO protocols21 VALUES (1,0,'21-1-0'),(1,1,'FIRST-21'),(1,1,'AFTER-21'),(3,0,'21-3-0'),"
            "(1,10,'21-1-10')",
            "INSERT INTO protocols41 VALUES (1,0,'41-1-0'),(1,7,'FIRST-41'),(1,7,'AFTER-41'),(2,15,'41-2-15')",
            "INSERT INTO protocolsirt VALUES (4,'FIRST-IRT'),(4,'AFTER-IRT'),(1,'IRT-1')",
        };
        for (const char *sql : rows)
            QVERIFY(CatalogueFixture::exec(m_db, QString::fromLatin1(sql)));

        m_empty = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("empty"));
        m_empty.setDatabaseName(QDir(m_dir.path()).filePath(QStringLiteral("empty.db")));
        QVERIFY(m_empty.open());
    }

    void lookUp_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("prot");
        QTest::addColumn<int>("ntp");
        QTest::addColumn<QString>("expected");

        QTest::addRow("11 found") << "11" << "002" << 0 << "C11-2";
        QTest::addRow("11 two digits") << "11" << "012" << 0 << "C11-12";
        QTest::addRow("11 first of several") << "11" << "001" << 0 << "FIRST-11";
        QTest::addRow("11 not found") << "11" << "004" << 0 << "FALSE";
        QTest::addRow("11 empty number") << "11" << "" << 0 << "FALSE";
        QTest::addRow("11 quote in number") << "11" << "001')OR('1'='1" << 0 << "FALSE";

        QTest::addRow("21 slot code 0") << "21" << "001" << 0 << "21-1-0";
        QTest::addRow("21 first of several") << "21" << "001" << 1 << "FIRST-21";
        QTest::addRow("21 two-digit slot code") << "21" << "001" << 10 << "21-1-10";
        QTest::addRow("21 other protocol") << "21" << "003" << 0 << "21-3-0";
        QTest::addRow("21 no such slot code") << "21" << "001" << 2 << "FALSE";
        QTest::addRow("21 slot code of another protocol") << "21" << "003" << 1 << "FALSE";
        QTest::addRow("21 protocol only in 41") << "21" << "002" << 15 << "FALSE";

        QTest::addRow("41 slot code 0") << "41" << "001" << 0 << "41-1-0";
        QTest::addRow("41 first of several") << "41" << "001" << 7 << "FIRST-41";
        QTest::addRow("41 found") << "41" << "002" << 15 << "41-2-15";
        QTest::addRow("41 not found") << "41" << "002" << 0 << "FALSE";
        QTest::addRow("41 protocol only in 21") << "41" << "003" << 0 << "FALSE";

        QTest::addRow("irt found") << "irt" << "001" << 0 << "IRT-1";
        QTest::addRow("irt first of several") << "irt" << "004" << 0 << "FIRST-IRT";
        QTest::addRow("irt protocol only in 11") << "irt" << "002" << 0 << "FALSE";
        QTest::addRow("irt quote in number") << "irt" << "x' OR Prot=4 OR '" << 0 << "FALSE";
    }
    void lookUp()
    {
        QFETCH(QString, table);
        QFETCH(QString, prot);
        QFETCH(int, ntp);
        QFETCH(QString, expected);
        QCOMPARE(answer(m_db, table, prot, ntp), expected);
    }

    // A catalogue without the tables answers "FALSE" and says why in the
    // debug output.
    void missingTable_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("name");
        QTest::addRow("11") << "11" << "protocols11";
        QTest::addRow("21") << "21" << "protocols21";
        QTest::addRow("41") << "41" << "protocols41";
        QTest::addRow("irt") << "irt" << "protocolsirt";
    }
    void missingTable()
    {
        QFETCH(QString, table);
        QFETCH(QString, name);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^protocol look-up in %1 failed: .+").arg(name)));
        QCOMPARE(answer(m_empty, table, QStringLiteral("001"), 0), QStringLiteral("FALSE"));
    }

    void checkTransmitProtocol_data()
    {
        QTest::addColumn<QString>("prot");
        QTest::addColumn<bool>("expected");
        QTest::addRow("has a transmit code") << "001" << true;
        QTest::addRow("several rows") << "004" << true;
        QTest::addRow("only a protocols11 row") << "002" << false;
        QTest::addRow("no row anywhere") << "009" << false;
    }
    void checkTransmitProtocol()
    {
        QFETCH(QString, prot);
        QFETCH(bool, expected);
        QCOMPARE(Protocol::checkTransmitProtocol(prot, m_db), expected);
    }
    void checkTransmitProtocolWithoutTable()
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^protocol look-up in protocolsirt")));
        QVERIFY(!Protocol::checkTransmitProtocol(QStringLiteral("001"), m_empty));
    }
};

QTEST_GUILESS_MAIN(TestProtocolLookup)
#include "tst_protocollookup.moc"
