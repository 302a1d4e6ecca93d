// Reads of a damaged catalogue: SQLite hands out some rows and then reports
// the file malformed. Every read that feeds an action must end as a failure
// with the reason, never as the rows it got before the damage.
#include "CatalogueFixture.h"
#include "DamagedCatalogue.h"
#include "TestSupport.h"

#include "catalogue/CatalogueRead.h"
#include "catalogue/KeyPositionTable.h"
#include "catalogue/RemoteTypePicture.h"
#include "exchange/IdentityConversion.h"
#include "exchange/OwnDataExport.h"
#include "exchange/RemoteExport.h"
#include "ir/SameKeyMarks.h"
#include "printing/KeySheetLegend.h"
#include "programming/KeyImage.h"
#include "programming/Remote1SlotImage.h"
#include "search/KeyConversion.h"

#include <QSqlError>
#include <QtTest>

#include <functional>

using DamagedCatalogue::Damage;

namespace {

const QString kLink = QStringLiteral("d0000001");
constexpr int kKeys = 1500;

// One read that feeds an action: true when it reports its rows as whole.
// *rows gets how many rows it handed on, where it says so (-1 otherwise).
using Read = std::function<bool(QSqlDatabase db, int *rows)>;

QList<QPair<const char *, Read>> reads()
{
    return {
        {"slot keys",
         [](QSqlDatabase db, int *rows) {
             QList<KeyImage::Key> keys;
             QString error;
             const bool ok = KeyImage::readKeys(db, kLink, 1, &keys, &error);
             *rows = int(keys.size());
             return ok && error.isEmpty();
         }},
        {"key image of a link",
         [](QSqlDatabase db, int *rows) {
             *rows = -1;
             return !KeyImage::forLink(db, kLink).startsWith(QLatin1String("FALSE"));
         }},
        {"first-generation key part",
         [](QSqlDatabase db, int *rows) {
             QStringList log;
             QString readError;
             const KeyImage::Result part = Remote1SlotImage::keysOf(db, kLink, 1, &log, &readError);
             *rows = -1;
             return readError.isEmpty() && !part.image.isEmpty();
         }},
        {"same-key marks",
         [](QSqlDatabase db, int *rows) {
             // Every key's code differs; ask for the last one's.
             const SameKeyMarks::Keys keys = SameKeyMarks::keysWithCode(
                 db, kLink, QStringLiteral("1"), QStringLiteral("0013%1").arg(kKeys - 1, 60, 16, QLatin1Char('A')));
             *rows = int(keys.numbers.size());
             return keys.ok;
         }},
        {"picture marks",
         [](QSqlDatabase db, int *rows) {
             const QList<int> keys = RemoteTypePicture::modelKeys(db, kLink, QStringLiteral("1"));
             *rows = int(keys.size());
             return keys.size() == kKeys;
         }},
        {"remote export",
         [](QSqlDatabase db, int *rows) {
             RemoteExport::Selection s;
             s.rcid = s.link = kLink;
             s.rcTypeId = QStringLiteral("1");
             ExchangeFile::Document d;
             QString error;
             const bool ok = RemoteExport::document(db, s, &d, &error);
             *rows = int(d.keys.size());
             return ok;
         }},
        {"own-data export",
         [](QSqlDatabase db, int *rows) {
             QByteArray xml;
             QString error;
             *rows = -1;
             return OwnDataExport::document(db, QStringLiteral("absent.ini"), &xml, &error);
         }},
        {"key legend",
         [](QSqlDatabase db, int *rows) {
             QList<KeySheetLegend::Entry> entries;
             QString error;
             const bool ok = KeySheetLegend::entries(db, kLink, QStringLiteral("1"), QStringLiteral("7"), 0,
                                                     &entries, &error);
             *rows = int(entries.size());
             return ok;
         }},
        {"identity conversion",
         [](QSqlDatabase db, int *rows) {
             IdentityConversion::Result result;
             QString error;
             QTemporaryDir work;
             *rows = -1;
             return IdentityConversion::convert(db, work.path(), false, &result, &error);
         }},
    };
}

} // namespace

class TestCatalogueRead : public QObject
{
    Q_OBJECT

    QTemporaryDir m_wholeDir, m_damagedDir;
    QSqlDatabase m_whole, m_damaged;

    static bool fill(QSqlDatabase db, Damage damage)
    {
        TestSupport::FixtureModel m;
        m.rcid = m.link = kLink;
        m.brand = QStringLiteral("NORDA");
        m.type = QStringLiteral("TV");
        m.model = QStringLiteral("KD-1");
        m.flag = 0;
        if (!TestSupport::insertModel(db, m))
            return false;
        // A legend line for every key number, so the legend reads them all.
        for (int n = 0; n < 112; ++n)
            if (!CatalogueFixture::exec(db, QStringLiteral("INSERT INTO rctypeprint (RCTypeId,CustomerId,Nkey,"
                                                           "PrintOrder) VALUES (1,7,%1,%1)")
                                                .arg(n)))
                return false;
        return DamagedCatalogue::addKeys(db, kLink, 1, damage, kKeys);
    }

private slots:
    void initTestCase()
    {
        m_whole = TestSupport::openFixtureCatalogue(m_wholeDir.path(), QStringLiteral("whole"));
        m_damaged = TestSupport::openFixtureCatalogue(m_damagedDir.path(), QStringLiteral("damaged"));
        QVERIFY(m_whole.isOpen() && m_damaged.isOpen());
        QVERIFY(fill(m_whole, Damage::None));
        QVERIFY(fill(m_damaged, Damage::Middle));
    }

    // The fixture itself: a plain loop gets some rows, then the error.
    void damageShowsPartWay()
    {
        QSqlQuery q(m_damaged);
        QVERIFY(q.exec(QStringLiteral("SELECT ID FROM rckeys WHERE Rcid='%1'").arg(kLink)));
        int rows = 0;
        while (q.next())
            ++rows;
        QVERIFY2(rows > 0 && rows < kKeys, qPrintable(QString::number(rows)));
        QVERIFY(q.lastError().isValid());
        QVERIFY2(CatalogueRead::damaged(q.lastError().text()), qPrintable(q.lastError().text()));
    }

    void eachTellsEndFromError()
    {
        for (QSqlDatabase db : {m_whole, m_damaged}) {
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("SELECT ID FROM rckeys WHERE Rcid='%1'").arg(kLink)));
            int rows = 0;
            QString error;
            const bool whole = CatalogueRead::each(q, [&](const QSqlQuery &) { ++rows; }, &error);
            QCOMPARE(whole, db.connectionName() == QLatin1String("whole"));
            QCOMPARE(error.isEmpty(), whole);
            if (whole)
                QCOMPARE(rows, kKeys);
        }
        // A query that never ran read nothing to its end either.
        QSqlQuery idle(m_whole);
        QString error;
        QVERIFY(!CatalogueRead::each(idle, [](const QSqlQuery &) {}, &error));
        QVERIFY(!error.isEmpty());
    }

    void readsFailOnDamage_data()
    {
        QTest::addColumn<int>("read");
        const auto all = reads();
        for (int i = 0; i < all.size(); ++i)
            QTest::newRow(all.at(i).first) << i;
    }

    void readsFailOnDamage()
    {
        QFETCH(int, read);
        const Read r = reads().at(read).second;
        int rows = -1;
        QVERIFY2(r(m_whole, &rows), "the read fails on the whole catalogue");
        QVERIFY(rows == -1 || rows > 0);
        rows = -1;
        QVERIFY2(!r(m_damaged, &rows), "part of the rows passed for all of them");
        // Nothing read before the damage is handed on.
        QVERIFY2(rows <= 0, qPrintable(QString::number(rows)));
    }

    void message_data()
    {
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("advice");
        QTest::newRow("malformed") << "database disk image is malformed Unable to fetch row" << true;
        QTest::newRow("not a database") << "file is not a database Unable to execute statement" << true;
        QTest::newRow("locked") << "database is locked Unable to fetch row" << false;
    }

    void message()
    {
        QFETCH(QString, error);
        QFETCH(bool, advice);
        const QString text = CatalogueRead::message(error);
        QVERIFY(text.startsWith(QStringLiteral("The catalogue could not be read: ") + error));
        QCOMPARE(text.contains(QLatin1String("restore rc.db from a copy")), advice);
    }
};

QTEST_GUILESS_MAIN(TestCatalogueRead)
#include "tst_catalogueread.moc"
