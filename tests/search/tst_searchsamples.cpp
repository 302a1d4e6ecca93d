// The sample catalogue's rows for the key search and the type conversion: a
// fresh checkout can search by the named positions and convert between its
// remote types without surprises.
#include "CatalogueFixture.h"
#include "TestSupport.h"

#include "tools/samplekit/SampleKit.h"

#include <QSqlQuery>
#include <QtTest>

class TestSearchSamples : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = TestSupport::openFixtureCatalogue(m_dir.path(), QStringLiteral("sample"));
        QVERIFY(m_db.isOpen());
        QVERIFY(SampleKit::fillCatalogue(m_db, SampleKit::Options()));
    }

    // Each position names the key whose label the search row carries ("P+"
    // and "P-" are the sample's "CH+" and "CH-"), on every type that has it.
    void positionsNameTheirKeys()
    {
        const QStringList rowNames{"POWER", "MUTE", "1",    "2",     "3",    "0",    "VOL+",
                                   "VOL-",  "CH+",  "CH-",  "RED",   "GREEN", "YELLOW", "BLUE",
                                   "EJECT", "PLAY", "STOP", "PAUSE", "MENU", "OK"};
        for (const SampleKit::RemoteType &t : SampleKit::remoteTypes()) {
            int positions = 0;
            for (int order = 1; order <= 20; ++order) {
                const QStringList keys = CatalogueFixture::column(
                    m_db, "SELECT Nkey FROM rctypesearch WHERE RCTypeId=? AND SearchOrder=?", {t.id, order});
                QVERIFY(keys.size() <= 1);
                if (keys.isEmpty())
                    continue;
                ++positions;
                const int n = keys.first().toInt();
                QVERIFY(n >= 0 && n < t.keyCount);
                QCOMPARE(QString::fromLatin1(SampleKit::keyName(n)), rowNames.at(order - 1));
            }
            QVERIFY2(positions >= 10, qPrintable(QString::number(t.id)));
        }
    }

    // No two map rows of a conversion meet on one target key, and every
    // target key exists on the target type (normal or shift layer).
    void conversionsAreClean()
    {
        QSqlQuery q(m_db);
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM rcconvertmap GROUP BY ConvertId, NkeyTo "
                                      "HAVING count(*)>1)")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0);
        QVERIFY(q.exec(QStringLiteral("SELECT c.RCTypeIdTo, c.RCTypeIdFrom, m.NkeyTo, m.NkeyFrom FROM rcconvert c "
                                      "JOIN rcconvertmap m ON m.ConvertId=c.ConvertId")));
        int rows = 0;
        while (q.next()) {
            ++rows;
            for (int side = 0; side < 2; ++side) {
                const int type = q.value(side).toInt();
                const int n = q.value(2 + side).toInt();
                int count = 0;
                for (const SampleKit::RemoteType &t : SampleKit::remoteTypes())
                    if (t.id == type)
                        count = t.keyCount;
                const int offset = SampleKit::shiftOffset(type);
                QVERIFY2(n < count || (n >= offset && n < offset + count), qPrintable(QString::number(n)));
            }
        }
        QVERIFY(rows > 100);
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM rcconvert WHERE RCTypeIdFrom=RCTypeIdTo")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0);
    }

    void keysPerModel()
    {
        QTemporaryDir dir;
        QSqlDatabase db = TestSupport::openFixtureCatalogue(dir.path(), QStringLiteral("thirty"));
        SampleKit::Options options;
        options.models = 500;
        options.keysPerModel = 30;
        QVERIFY(SampleKit::fillCatalogue(db, options));
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("SELECT min(n), max(n), avg(n) FROM (SELECT count(*) AS n FROM rckeys GROUP BY "
                                      "Rcid)")));
        QVERIFY(q.next());
        QVERIFY2(q.value(2).toDouble() > 25 && q.value(2).toDouble() < 35, qPrintable(q.value(2).toString()));
        QVERIFY(q.value(1).toInt() <= 40);
        q.finish();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("thirty"));
    }
};

QTEST_GUILESS_MAIN(TestSearchSamples)
#include "tst_searchsamples.moc"
