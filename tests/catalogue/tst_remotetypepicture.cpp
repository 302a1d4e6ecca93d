// Which customer's picture and layout a remote type is shown with, and the
// key look-ups of the picture.
#include "TestSupport.h"

#include "catalogue/RemoteTypePicture.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QtTest>

class TestRemoteTypePicture : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

    void touch(const QString &name)
    {
        QFile f(QDir(m_dir.path()).filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("png");
    }
    void exec(const QString &sql)
    {
        QSqlQuery q(m_db);
        QVERIFY2(q.exec(sql), qPrintable(sql));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = TestSupport::openFixtureCatalogue(m_dir.path());
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("images")));
        touch(QStringLiteral("images/4-1.png"));
        touch(QStringLiteral("images/4-2.png"));
        touch(QStringLiteral("images/9-1.png"));
        touch(QStringLiteral("images/7-1.png"));
        exec(QStringLiteral("INSERT INTO rccustomers VALUES (1, 7, 9)")); // picture present
        exec(QStringLiteral("INSERT INTO rccustomers VALUES (2, 7, 8)")); // no picture 8-2
        exec(QStringLiteral("INSERT INTO rccustomers VALUES (1, 12, 12)"));
    }

    void fileName()
    {
        QCOMPARE(RemoteTypePicture::fileName(QStringLiteral("4"), QStringLiteral("3")), QStringLiteral("images/4-3.png"));
        QCOMPARE(RemoteTypePicture::fileName(QString(), QStringLiteral("3")), QStringLiteral("images/-3.png"));
    }

    void chooseCustomer_data()
    {
        QTest::addColumn<QString>("customerId");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("expected");
        QTest::addRow("mapped, picture present") << "7" << "1" << "9";
        QTest::addRow("mapped, picture missing") << "7" << "2" << "4";
        // Without a mapping the installation's own picture is not looked at.
        QTest::addRow("not mapped") << "7" << "3" << "4";
        QTest::addRow("mapped to itself, no picture") << "12" << "1" << "4";
        QTest::addRow("empty customer") << "" << "1" << "4";
        QTest::addRow("customer not a number") << "7)OR(1=1" << "1" << "4";
        QTest::addRow("no type") << "7" << "" << "4";
    }
    void chooseCustomer()
    {
        QFETCH(QString, customerId);
        QFETCH(QString, type);
        QFETCH(QString, expected);
        QCOMPARE(RemoteTypePicture::chooseCustomer(m_db, customerId, QStringLiteral("4"), type, m_dir.path()), expected);
    }

    void memoLastsForThePair()
    {
        QMap<QString, QString> memo;
        QCOMPARE(RemoteTypePicture::customerFor(memo, m_db, QStringLiteral("7"), QStringLiteral("4"), QStringLiteral("1"),
                                                m_dir.path()),
                 QStringLiteral("9"));
        QCOMPARE(memo.value(QStringLiteral("7-1")), QStringLiteral("9"));
        // Later changes of the mapping or the folder are not seen for that pair.
        exec(QStringLiteral("DELETE FROM rccustomers WHERE RCTypeId=1 AND CustomerIdFrom=7"));
        QCOMPARE(RemoteTypePicture::customerFor(memo, m_db, QStringLiteral("7"), QStringLiteral("4"), QStringLiteral("1"),
                                                m_dir.path()),
                 QStringLiteral("9"));
        QCOMPARE(RemoteTypePicture::chooseCustomer(m_db, QStringLiteral("7"), QStringLiteral("4"), QStringLiteral("1"),
                                                   m_dir.path()),
                 QStringLiteral("4"));
        exec(QStringLiteral("INSERT INTO rccustomers VALUES (1, 7, 9)"));
    }

    void keysOfModel()
    {
        const QString link = QStringLiteral("a'b')OR(1=1");
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("INSERT INTO rckeys (Rcid, RCTypeId, Name, ID, Nkey) VALUES (?,?,'',?,?)"));
        const QList<QVariantList> rows = {{link, 1, QStringLiteral("c1"), 3},
                                          {link, 1, QStringLiteral("c2"), 60},
                                          {link, 2, QStringLiteral("c3"), 4},
                                          {QStringLiteral("other"), 1, QStringLiteral("c4"), 5}};
        for (const QVariantList &r : rows) {
            for (const QVariant &v : r)
                q.addBindValue(v);
            QVERIFY(q.exec());
        }
        QList<int> keys = RemoteTypePicture::modelKeys(m_db, link, QStringLiteral("1"));
        std::sort(keys.begin(), keys.end());
        QCOMPARE(keys, (QList<int>{3, 60}));
        QVERIFY(RemoteTypePicture::modelKeys(m_db, link, QString()).isEmpty());
        QVERIFY(RemoteTypePicture::modelKeys(m_db, QStringLiteral("a"), QStringLiteral("1")).isEmpty());
        QVERIFY(RemoteTypePicture::modelHasKey(m_db, link, 1, 60));
        QVERIFY(!RemoteTypePicture::modelHasKey(m_db, link, 2, 60));
        QVERIFY(!RemoteTypePicture::modelHasKey(m_db, link, 1, 5));
    }
};

QTEST_GUILESS_MAIN(TestRemoteTypePicture)
#include "tst_remotetypepicture.moc"
