// The sample directory carries our own photos under link masters only, as
// JPEG files in the photo places, with one master whose numbers have a gap.
#include "TestSupport.h"

#include "catalogue/PhotoPlaces.h"

#include <QDir>
#include <QImageReader>
#include <QSqlQuery>
#include <QtTest>

class TestSamplePhotos : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

    QString photoDir() const { return m_dir.filePath(QStringLiteral("RCImages")); }

    // Master -> taken places, from the files.
    QMap<QString, QList<int>> places() const
    {
        QMap<QString, QList<int>> out;
        const QRegularExpression name(QStringLiteral("^([0-9a-f]{8})_([1-5])\\.jpg$"));
        for (const QString &file : QDir(photoDir()).entryList(QDir::Files, QDir::Name)) {
            const QRegularExpressionMatch m = name.match(file);
            if (m.hasMatch())
                out[m.captured(1)].append(m.captured(2).toInt());
        }
        return out;
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

    void everyFileIsAPhotoPlaceOfAMaster()
    {
        const QStringList files = QDir(photoDir()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
        QVERIFY(files.size() >= 5);
        const QMap<QString, QList<int>> taken = places();
        int counted = 0;
        for (auto it = taken.cbegin(); it != taken.cend(); ++it)
            counted += it.value().size();
        QCOMPARE(counted, files.size()); // nothing but photo places in the folder

        for (auto it = taken.cbegin(); it != taken.cend(); ++it) {
            QSqlQuery q(m_db);
            q.prepare(QStringLiteral("SELECT count(*) FROM rcmodels WHERE Rcid=? AND Link=Rcid"));
            q.addBindValue(it.key());
            QVERIFY(q.exec() && q.next());
            QVERIFY2(q.value(0).toInt() == 1, qPrintable(it.key()));
            for (int n : it.value()) {
                QImageReader reader(PhotoPlaces(m_dir.path(), it.key()).path(n));
                QCOMPARE(reader.format(), QByteArray("jpeg"));
                QVERIFY(!reader.read().isNull());
            }
        }
    }

    void groupsThatShowThePhotoRules()
    {
        const QMap<QString, QList<int>> taken = places();
        bool gap = false, linkedGroup = false;
        for (auto it = taken.cbegin(); it != taken.cend(); ++it) {
            gap = gap || it.value() == QList<int>{1, 3};
            QSqlQuery q(m_db);
            q.prepare(QStringLiteral("SELECT count(*) FROM rcmodels WHERE Link=? AND Rcid!=Link"));
            q.addBindValue(it.key());
            QVERIFY(q.exec() && q.next());
            linkedGroup = linkedGroup || (q.value(0).toInt() > 0 && it.value().size() >= 2);
        }
        QVERIFY2(gap, "a master with photos 1 and 3 only");
        QVERIFY2(linkedGroup, "a master with links and several photos");
    }

    void sameFilesEveryTime()
    {
        QTemporaryDir again;
        QVERIFY(TestSupport::writeSampleDirectory(again.path()));
        const QDir a(photoDir()), b(again.filePath(QStringLiteral("RCImages")));
        QCOMPARE(b.entryList(QDir::Files, QDir::Name), a.entryList(QDir::Files, QDir::Name));
        for (const QString &file : a.entryList(QDir::Files)) {
            QFile fa(a.filePath(file)), fb(b.filePath(file));
            QVERIFY(fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly));
            QVERIFY2(fa.readAll() == fb.readAll(), qPrintable(file));
        }
    }
};

QTEST_MAIN(TestSamplePhotos)
#include "tst_samplephotos.moc"
