// The sample directory's remote-type pictures: one per sample type under the
// name the program looks for, at the nominal size, with every key drawn
// centred on the hot-spot that rctypekeys gives it.
#include "TestSupport.h"

#include "tools/samplekit/SamplePicture.h"

#include <QDir>
#include <QImage>
#include <QSqlQuery>
#include <QtTest>

class TestSamplePictures : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(TestSupport::writeSampleDirectory(m_dir.path(), 5));
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        m_db.setDatabaseName(m_dir.filePath(QStringLiteral("rc.db")));
        QVERIFY(m_db.open());
    }

    void keysSitOnTheirHotSpots_data()
    {
        QTest::addColumn<int>("type");
        for (const SampleKit::RemoteType &t : SampleKit::remoteTypes())
            QTest::addRow("%s", t.name) << t.id;
    }
    void keysSitOnTheirHotSpots()
    {
        QFETCH(int, type);
        const QString path = m_dir.filePath(QStringLiteral("images/4-%1.png").arg(type));
        QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        QCOMPARE(image.size(), QSize(582, 2261));
        const QRgb body = SamplePicture::bodyColor().rgb();

        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("SELECT NKey, X, Y FROM rctypekeys WHERE RCTypeId=? AND CustomerId=4 AND Shift=0"));
        q.addBindValue(type);
        QVERIFY(q.exec());
        int keys = 0;
        while (q.next()) {
            ++keys;
            const int x = q.value(1).toInt(), y = q.value(2).toInt();
            const int hw = SamplePicture::KeyWidth / 2, hh = SamplePicture::KeyHeight / 2;
            // Inside the key's face on all four sides, body just outside them.
            for (const QPoint &in : {QPoint(x - hw + 5, y), QPoint(x + hw - 5, y), QPoint(x, y - hh + 5),
                                     QPoint(x, y + hh - 5)})
                QVERIFY2(image.pixel(in) != body, qPrintable(QStringLiteral("key %1 at (%2,%3) missing near (%4,%5)")
                                                               .arg(q.value(0).toInt()).arg(x).arg(y)
                                                               .arg(in.x()).arg(in.y())));
            for (const QPoint &out : {QPoint(x - hw - 5, y), QPoint(x + hw + 5, y), QPoint(x, y - hh - 5),
                                      QPoint(x, y + hh + 5)})
                QVERIFY2(image.pixel(out) == body, qPrintable(QStringLiteral("key %1 at (%2,%3) not centred: (%4,%5)")
                                                                .arg(q.value(0).toInt()).arg(x).arg(y)
                                                                .arg(out.x()).arg(out.y())));
        }
        QVERIFY(keys > 0);
        QSqlQuery count(m_db);
        count.prepare(QStringLiteral("SELECT KeyCount FROM rctypes WHERE RCTypeId=?"));
        count.addBindValue(type);
        QVERIFY(count.exec() && count.next());
        QCOMPARE(keys, count.value(0).toInt());
    }

    void sameFilesEveryTime()
    {
        QTemporaryDir again;
        QVERIFY(TestSupport::writeSampleDirectory(again.path(), 5));
        for (const SampleKit::RemoteType &t : SampleKit::remoteTypes()) {
            const QString name = QStringLiteral("images/4-%1.png").arg(t.id);
            QCOMPARE(QImage(again.filePath(name)), QImage(m_dir.filePath(name)));
        }
    }

    void unwritableImagesFolderIsReported()
    {
        QTemporaryDir dir;
        // A file where a picture should go: its write fails.
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("images/4-1.png")));
        QString error;
        QVERIFY(!SamplePicture::writeAll(dir.filePath(QStringLiteral("images")), &error));
        QVERIFY(error.contains(QLatin1String("4-1.png")));
    }
};

QTEST_GUILESS_MAIN(TestSamplePictures)
#include "tst_samplepictures.moc"
