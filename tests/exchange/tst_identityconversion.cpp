// Conversion of old braced model identities in the catalogue and in the
// photo names, and the optional removal of photos without a model.
#include "CatalogueFixture.h"
#include "TestSupport.h"

#include "exchange/IdentityConversion.h"

#include <QDir>
#include <QtTest>

namespace {
const char kOldA[] = "{1a2b3c4d-0000-4000-8000-00000000000a}";
const char kOldB[] = "{5e6f7a8b-0000-4000-8000-00000000000b}";
const char kOldLink[] = "{99aa88bb-0000-4000-8000-0000000000cc}";
} // namespace

class TestIdentityConversion : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    QSqlDatabase m_db;

    QString photoDir() const { return QDir(m_dir->path()).filePath(QStringLiteral("RCImages")); }

    QStringList photos() const { return QDir(photoDir()).entryList(QDir::Files, QDir::Name); }

    QStringList dump()
    {
        return TestSupport::tableRows(m_db, QStringLiteral("rcmodels"), QStringLiteral("Rcid"))
            + TestSupport::tableRows(m_db, QStringLiteral("rckeys"), QStringLiteral("Rcid,RCTypeId,Nkey"));
    }

    void photo(const QString &name) { QVERIFY(TestSupport::writeFile(QDir(photoDir()).filePath(name), name.toUtf8())); }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("RCImages")));
        m_db = TestSupport::openFixtureCatalogue(m_dir->path());
        QVERIFY(CatalogueFixture::addModel(m_db, {kOldA, "OLD", "TV", "A", "", {}, {}}));
        QVERIFY(CatalogueFixture::addModel(m_db, {kOldB, "OLD", "TV", "B", "", kOldA, {}}));
        QVERIFY(CatalogueFixture::addModel(m_db, {"cafe0001", "NEW", "TV", "C", "", {}, {}}));
        QVERIFY(CatalogueFixture::addModel(m_db, {"{bad}", "ODD", "TV", "D", "", {}, {}}));
        QVERIFY(CatalogueFixture::addKey(m_db, {kOldA, 1, "k", "0013", 1}));
        QVERIFY(CatalogueFixture::addKey(m_db, {kOldLink, 1, "k", "0013", 2}));
        photo(QLatin1String(kOldA) + QStringLiteral("_1.jpg"));
        photo(QLatin1String(kOldA) + QStringLiteral("_2.jpg"));
        photo(QStringLiteral("x{y}z_1.jpg"));        // braces, but not an old identity
        photo(QStringLiteral("cafe0001_1.jpg"));     // a model's photo
        photo(QStringLiteral("deadbeef_1.jpg"));     // nobody's photo
        photo(QStringLiteral("cafe0001_12.jpg"));    // a longer ending
    }
    void cleanup()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
        delete m_dir;
    }

    void convertsIdentitiesAndPhotos()
    {
        IdentityConversion::Result result;
        QString error;
        QVERIFY2(IdentityConversion::convert(m_db, m_dir->path(), false, &result, &error), qPrintable(error));
        QCOMPARE(result.identities, 3);
        QCOMPARE(CatalogueFixture::column(m_db, "SELECT Rcid||':'||Link FROM rcmodels ORDER BY Rcid"),
                 QStringList({"1a2b3c4d:1a2b3c4d", "5e6f7a8b:1a2b3c4d", "cafe0001:cafe0001", "{bad}:{bad}"}));
        QCOMPARE(CatalogueFixture::column(m_db, "SELECT Rcid FROM rckeys ORDER BY Rcid"),
                 QStringList({"1a2b3c4d", "99aa88bb"}));
        QCOMPARE(photos(), QStringList({"1a2b3c4d_1.jpg", "1a2b3c4d_2.jpg", "cafe0001_1.jpg", "cafe0001_12.jpg",
                                        "deadbeef_1.jpg", "x{y}z_1.jpg"}));
        QCOMPARE(TestSupport::readText(QDir(photoDir()).filePath("1a2b3c4d_2.jpg")),
                 QLatin1String(kOldA) + QStringLiteral("_2.jpg"));

        // A second run finds nothing to do.
        const QStringList rows = dump();
        QVERIFY(IdentityConversion::convert(m_db, m_dir->path(), false, &result, &error));
        QCOMPARE(result.identities, 0);
        QVERIFY(result.renamed.isEmpty());
        QCOMPARE(dump(), rows);
    }

    void collisionChangesNothing_data()
    {
        QTest::addColumn<QString>("other");
        QTest::addRow("two old identities") << "{1A2B3C4D-1111-4000-8000-00000000000f}";
        QTest::addRow("an old and a stored one") << "1a2b3c4d";
    }
    void collisionChangesNothing()
    {
        QFETCH(QString, other);
        QVERIFY(CatalogueFixture::addModel(m_db, {other, "CLASH", "TV", "E", "", {}, {}}));
        const QStringList rows = dump();
        const QStringList before = photos();
        IdentityConversion::Result result;
        QString error;
        QVERIFY(!IdentityConversion::convert(m_db, m_dir->path(), true, &result, &error));
        QVERIFY(result.collision.contains(QLatin1String(kOldA)));
        QVERIFY(result.collision.contains(other));
        QCOMPARE(dump(), rows);
        QCOMPARE(photos(), before);
    }

    void orphanPhotosGoOnlyOnRequest()
    {
        IdentityConversion::Result result;
        QString error;
        QVERIFY(IdentityConversion::convert(m_db, m_dir->path(), true, &result, &error));
        QCOMPARE(photos(), QStringList({"1a2b3c4d_1.jpg", "1a2b3c4d_2.jpg", "cafe0001_1.jpg"}));
        QCOMPARE(result.deleted.size(), 3);
    }

    // A photo whose new name is taken stays under its old one; when orphans
    // are removed it goes, and the report says so instead of "not renamed".
    void photoReportSaysWhatHappened_data()
    {
        QTest::addColumn<bool>("deleteOrphans");
        QTest::addColumn<bool>("oldStays");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("notSaid");
        QTest::addRow("kept") << false << true << "could not be renamed and keep their old names"
                              << "deleted";
        QTest::addRow("deleted") << true << false << "could not be renamed and were deleted"
                                 << "keep their old names";
    }
    void photoReportSaysWhatHappened()
    {
        QFETCH(bool, deleteOrphans);
        QFETCH(bool, oldStays);
        QFETCH(QString, said);
        QFETCH(QString, notSaid);
        photo(QStringLiteral("1a2b3c4d_1.jpg")); // the new name is taken
        const QString old = QLatin1String(kOldA) + QStringLiteral("_1.jpg");
        IdentityConversion::Result result;
        QString error;
        QVERIFY2(IdentityConversion::convert(m_db, m_dir->path(), deleteOrphans, &result, &error), qPrintable(error));
        QCOMPARE(photos().contains(old), oldStays);
        QCOMPARE(TestSupport::readText(QDir(photoDir()).filePath("1a2b3c4d_1.jpg")), QStringLiteral("1a2b3c4d_1.jpg"));
        const QString report = IdentityConversion::photoReport(result);
        QVERIFY2(report.contains(said) && report.contains(old), qPrintable(report));
        QVERIFY2(!report.contains(notSaid), qPrintable(report));
    }

    void photoReportEmptyWhenAllWent()
    {
        IdentityConversion::Result result;
        QString error;
        QVERIFY(IdentityConversion::convert(m_db, m_dir->path(), true, &result, &error));
        QVERIFY(!result.renamed.isEmpty());
        QCOMPARE(IdentityConversion::photoReport(result), QString());
    }

    void failedLookUpDeletesNothing()
    {
        QVERIFY(CatalogueFixture::exec(m_db, QStringLiteral("ALTER TABLE rcmodels RENAME TO gone")));
        const QStringList before = photos();
        IdentityConversion::Result result;
        IdentityConversion::deleteOrphanPhotos(m_db, m_dir->path(), &result);
        QCOMPARE(photos(), before);
        QVERIFY(result.deleted.isEmpty());
        QCOMPARE(result.problems.size(), before.size());
    }
};

QTEST_GUILESS_MAIN(TestIdentityConversion)
#include "tst_identityconversion.moc"
