// The catalogue side of learning a key: which keys may take a code, what is
// written (the key under the link master, Flag 0 on the selected model) and
// that a refusal writes nothing.
#include "TestSupport.h"
#include "ir/KeyLearning.h"

#include <QSqlQuery>
#include <QtTest>

using KeyLearning::Status;

class TestKeyLearningStore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

    void exec(const QString &sql)
    {
        QSqlQuery q(m_db);
        QVERIFY2(q.exec(sql), qPrintable(sql));
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_db = TestSupport::openFixtureCatalogue(m_dir.path());
        QVERIFY(m_db.isOpen());
        exec(QStringLiteral("DELETE FROM rcmodels"));
        exec(QStringLiteral("DELETE FROM rckeys"));
        exec(QStringLiteral("INSERT INTO rcmodels (Rcid,Brand,Type,Model,Link,Own,Flag) VALUES "
                            "('own00001','A','TV','M','own00001',1,1),('own00002','A','TV','L','own00001',1,1),"
                            "('fac00001','F','TV','M','fac00001',0,1),('own00003','F','TV','L','fac00001',1,1)"));
        exec(QStringLiteral("INSERT INTO rckeys VALUES ('own00001',3,'POWER','OLD',5),('fac00001',3,'P','F',5)"));
    }

    void store_data()
    {
        QTest::addColumn<QString>("rcid");
        QTest::addColumn<QString>("link");
        QTest::addColumn<int>("nkey");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("status");
        QTest::addRow("replace") << "own00001" << "own00001" << 5 << "NEW" << int(Status::Replaced);
        QTest::addRow("insert") << "own00001" << "own00001" << 127 << "NEW" << int(Status::Inserted);
        QTest::addRow("linked model: the master's key") << "own00002" << "own00001" << 5 << "NEW"
                                                        << int(Status::Replaced);
        QTest::addRow("factory master") << "fac00001" << "fac00001" << 5 << "NEW" << int(Status::Refused);
        QTest::addRow("own model of a factory master") << "own00003" << "fac00001" << 6 << "NEW"
                                                       << int(Status::Refused);
        QTest::addRow("no master") << "own00001" << "" << 6 << "NEW" << int(Status::Refused);
        QTest::addRow("UNKNOWN") << "own00001" << "own00001" << 6 << "UNKNOWN" << int(Status::Refused);
        QTest::addRow("empty code") << "own00001" << "own00001" << 6 << "" << int(Status::Refused);
        QTest::addRow("key 128") << "own00001" << "own00001" << 128 << "NEW" << int(Status::Refused);
        QTest::addRow("key -10") << "own00001" << "own00001" << -10 << "NEW" << int(Status::Refused);
        QTest::addRow("apostrophe kept") << "own00001" << "own00001" << 7 << "N'EW" << int(Status::Inserted);
    }
    void store()
    {
        QFETCH(QString, rcid);
        QFETCH(QString, link);
        QFETCH(int, nkey);
        QFETCH(QString, code);
        QFETCH(int, status);
        const QStringList keysBefore = TestSupport::tableRows(m_db, QStringLiteral("rckeys"), QStringLiteral("Rcid,Nkey"));
        const QStringList modelsBefore =
            TestSupport::tableRows(m_db, QStringLiteral("rcmodels"), QStringLiteral("Rcid"));
        const KeyLearning::Result r = KeyLearning::storeCode(m_db, rcid, link, QStringLiteral("3"), nkey, code);
        QCOMPARE(int(r.status), status);
        if (r.status == Status::Refused) {
            QCOMPARE(TestSupport::tableRows(m_db, QStringLiteral("rckeys"), QStringLiteral("Rcid,Nkey")), keysBefore);
            QCOMPARE(TestSupport::tableRows(m_db, QStringLiteral("rcmodels"), QStringLiteral("Rcid")), modelsBefore);
            return;
        }
        const KeyLearning::StoredKey key = KeyLearning::findKey(m_db, link, QStringLiteral("3"), nkey);
        QVERIFY(key.ok && key.exists);
        QCOMPARE(key.id, code);
        QSqlQuery q(m_db);
        QVERIFY(q.exec(QStringLiteral("SELECT Rcid, Flag FROM rcmodels ORDER BY Rcid")));
        while (q.next())
            QCOMPARE(q.value(1).toInt(), q.value(0).toString() == rcid ? 0 : 1);
        QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*) FROM rckeys")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), keysBefore.size() + (r.status == Status::Inserted ? 1 : 0));
    }

    // A write the database refuses is reported and leaves nothing behind.
    void failedWriteChangesNothing()
    {
        exec(QStringLiteral("CREATE TRIGGER noflag BEFORE UPDATE ON rcmodels BEGIN SELECT RAISE(ABORT, 'locked'); END"));
        const QStringList before = TestSupport::tableRows(m_db, QStringLiteral("rckeys"), QStringLiteral("Rcid,Nkey"));
        const KeyLearning::Result r =
            KeyLearning::storeCode(m_db, QStringLiteral("own00001"), QStringLiteral("own00001"), QStringLiteral("3"), 9,
                                   QStringLiteral("NEW"));
        QCOMPARE(int(r.status), int(Status::Failed));
        QVERIFY(r.error.contains(QLatin1String("locked")));
        QCOMPARE(TestSupport::tableRows(m_db, QStringLiteral("rckeys"), QStringLiteral("Rcid,Nkey")), before);
        exec(QStringLiteral("DROP TRIGGER noflag"));
    }
};

QTEST_MAIN(TestKeyLearningStore)
#include "tst_keylearningstore.moc"
