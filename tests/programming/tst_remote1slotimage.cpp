// The first-generation slot image: header with date and texts, the records of
// each key on its remote type, the two code blobs of the slot, and what is
// refused or skipped. Expected images are written out from the format.
#include "TestSupport.h"
#include "CatalogueFixture.h"

#include "KeyImageRows.h"
#include "programming/Remote1SlotImage.h"

#include <QSqlQuery>
#include <QtTest>

using KeyImageRows::code;
using KeyImageRows::first;
using KeyImageRows::other;
using Status = Remote1SlotImage::Status;

Q_DECLARE_METATYPE(Remote1SlotImage::Status)

namespace {

const QString A = QStringLiteral("0123456789ABCDE");
const QString B = QStringLiteral("FEDCBA987654321");
const QString C = QStringLiteral("13579BDF02468AC");
const QString kTail = QStringLiteral("FFFFFFFFFFFFFF00000000000000000000000000000000000000000000000000");
const QString kLink = QStringLiteral("5a000000");

struct Row
{
    QVariant nkey;
    QString id;
};

QString hexOf(const QString &ascii)
{
    return QString::fromLatin1(ascii.toLatin1().toHex().toUpper());
}

// Records as a map record -> 14 digits; the rest are empty.
QString body(const QMap<int, QString> &records)
{
    QString out;
    for (int r = 0; r < Remote1SlotImage::Records; ++r)
        out += records.value(r, QStringLiteral("00000000000000"));
    return out;
}

} // namespace

Q_DECLARE_METATYPE(QList<Row>)

class TestRemote1SlotImage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

    void setKeys(const QList<Row> &rows, int typeId)
    {
        QVERIFY(CatalogueFixture::exec(m_db, QStringLiteral("DELETE FROM rckeys")));
        for (const Row &r : rows)
            QVERIFY(CatalogueFixture::addKey(m_db, {kLink, typeId, QStringLiteral("K"), r.id, r.nkey}));
    }
    void addCode(int dev, int prot, int nrc, const QString &blob)
    {
        QSqlQuery q(m_db);
        QVERIFY(q.prepare(QStringLiteral("INSERT INTO usbprotocols (DevID, Prot, Nrc, Code) VALUES (?,?,?,?)")));
        q.addBindValue(dev);
        q.addBindValue(prot);
        q.addBindValue(nrc);
        q.addBindValue(blob);
        QVERIFY(q.exec());
    }
    static Remote1SlotImage::Inputs inputs(int nPult)
    {
        Remote1SlotImage::Inputs in;
        in.brand = QStringLiteral("ALTORA");
        in.type = QStringLiteral("TV");
        in.model = QStringLiteral("X-1");
        in.deviceId = 21;
        in.nPult = nPult;
        in.now = QDateTime(QDate(2026, 12, 10), QTime(17, 5));
        return in;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = TestSupport::openFixtureCatalogue(m_dir.path());
        QVERIFY(m_db.isOpen());
        for (int prot = 1; prot <= 3; ++prot)
            for (int nrc = 0; nrc < 16; ++nrc)
                addCode(21, prot, nrc, QStringLiteral("%1%2AABB").arg(prot, 2, 10, QLatin1Char('0')).arg(nrc, 2, 16, QLatin1Char('0')).toUpper());
        addCode(22, 1, 0, QStringLiteral("B10B"));   // another device
        addCode(21, 4, 4, QStringLiteral("12 34"));  // not hex bytes
        addCode(21, 4, 5, QStringLiteral("1234"));
        addCode(21, 5, 0, QString(1200, QLatin1Char('A'))); // 600 bytes: two do not fit 1024
        addCode(21, 5, 1, QString(1200, QLatin1Char('B')));
    }

    // Worked by hand: header bytes, two records, the blobs of slot 2 (slot
    // codes 4 and 5), and the total length.
    void workedExample()
    {
        setKeys({{0, code("001", A)}, {57, code("002", B)}}, 1);
        const auto r = Remote1SlotImage::build(m_db, kLink, 1, inputs(2));
        QCOMPARE(r.status, Status::Ok);
        const QString header = QStringLiteral("01" "1A" "0C" "0A" "11" "05"       // 2026-12-10 17:05
                                              "06" "414C544F5241"                 // ALTORA
                                              "02" "5456"                         // TV
                                              "03" "582D31");
        const QString expected = header + QString(128 - header.size(), QLatin1Char('0')) + kTail + kTail +
                                 body({{0, "F0123456789ABC"}, {65, "EFEDCBA9876543"}}) + "0104AABB" + "0205AABB";
        QCOMPARE(r.image, expected);
        QCOMPARE(r.image.size(), 256 + 1792 + 16);
        QVERIFY(r.log.isEmpty());
    }

    void recordIndex_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QVariant>("nkey");
        QTest::addColumn<int>("record");
        QTest::addRow("first layer") << 1 << QVariant(55) << 55;
        QTest::addRow("second layer starts after the gap") << 1 << QVariant(56) << 64;
        QTest::addRow("last key") << 4 << QVariant(119) << 127;
        QTest::addRow("beyond the records") << 1 << QVariant(120) << -1;
        QTest::addRow("negative") << 2 << QVariant(-1) << -1;
        QTest::addRow("NULL") << 1 << QVariant() << -1;
        QTest::addRow("words") << 1 << QVariant(QStringLiteral("abc")) << -1;
        QTest::addRow("number as text") << 1 << QVariant(QStringLiteral("7")) << 7;
        QTest::addRow("type 5 key 0") << 5 << QVariant(0) << 53;
        QTest::addRow("type 5 key 42") << 5 << QVariant(42) << 14;
        QTest::addRow("type 5 key 43") << 5 << QVariant(43) << 117;
        QTest::addRow("type 5 key 85") << 5 << QVariant(85) << 78;
        QTest::addRow("type 5 key 86") << 5 << QVariant(86) << -1;
        QTest::addRow("type 6 is not mapped") << 6 << QVariant(43) << 43;
    }
    void recordIndex()
    {
        QFETCH(int, type);
        QFETCH(QVariant, nkey);
        QFETCH(int, record);
        QCOMPARE(Remote1SlotImage::recordIndex(type, nkey), record);
    }

    // The key part: protocols, records and what is left out, on the records
    // between the header and the blobs.
    void keyPart_data()
    {
        QTest::addColumn<QList<Row>>("rows");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("expected"); // "FALSE" mark, p1, p2, body
        QTest::addColumn<int>("skipped");
        QTest::addRow("one protocol twice")
            << QList<Row>{{3, code("002", A)}, {70, code("002", B)}} << 2
            << "002002" + body({{3, first(A)}, {78, first(B)}}) << 0;
        QTest::addRow("records 56..63 stay empty")
            << QList<Row>{{55, code("001", A)}, {56, code("001", B)}} << 1
            << "001001" + body({{55, first(A)}, {64, first(B)}}) << 0;
        QTest::addRow("type 5 mapping")
            << QList<Row>{{0, code("001", A)}, {43, code("003", B)}} << 5
            << "001003" + body({{53, first(A)}, {117, other(B)}}) << 0;
        QTest::addRow("later key wins") << QList<Row>{{1, code("001", A)}, {1, code("001", C)}} << 1
                                        << "001001" + body({{1, first(C)}}) << 0;
        QTest::addRow("third protocol") << QList<Row>{{0, code("001", A)}, {1, code("002", B)}, {2, code("003", C)}}
                                        << 1 << "FALSE001002" + body({{0, first(A)}, {1, other(B)}, {2, other(C)}})
                                        << 0;
        QTest::addRow("no keys") << QList<Row>{} << 1 << "FALSE" + body({}) << 0;
        QTest::addRow("numbers outside the records")
            << QList<Row>{{120, code("003", C)}, {QVariant(), code("003", C)}, {-4, code("003", C)}, {2, code("001", A)}}
            << 1 << "001001" + body({{2, first(A)}}) << 3;
        QTest::addRow("codes that are no key codes")
            << QList<Row>{{0, "UNKNOWN"}, {1, "0014" + A.left(10)}, {2, "001" "4" + A.toLower()}, {3, code("002", B)}}
            << 1 << "002002" + body({{3, first(B)}}) << 3;
    }
    void keyPart()
    {
        QFETCH(QList<Row>, rows);
        QFETCH(int, type);
        QFETCH(QString, expected);
        QFETCH(int, skipped);
        setKeys(rows, type);
        QStringList log;
        const KeyImage::Result part = Remote1SlotImage::keysOf(m_db, kLink, type, &log);
        QCOMPARE(part.image, expected);
        QCOMPARE(log.size(), skipped);
        QCOMPARE(part.valid, !expected.startsWith("FALSE"));
    }

    // The blobs of a slot and what stops the image.
    void blobs_data()
    {
        QTest::addColumn<QString>("p");
        QTest::addColumn<int>("nPult");
        QTest::addColumn<int>("device");
        QTest::addColumn<Status>("status");
        QTest::addColumn<QString>("tail");
        QTest::addRow("slot 0") << "001002" << 0 << 21 << Status::Ok << "0100AABB0201AABB";
        QTest::addRow("slot 7") << "003003" << 7 << 21 << Status::Ok << "030EAABB030FAABB";
        QTest::addRow("protocol as stored number") << "001001" << 3 << 21 << Status::Ok << "0106AABB0107AABB";
        QTest::addRow("no row for the device") << "001001" << 0 << 22 << Status::CodeMissing << "";
        QTest::addRow("no row for the slot code") << "001001" << 8 << 21 << Status::CodeMissing << "";
        QTest::addRow("second blob missing") << "001004" << 0 << 21 << Status::CodeMissing << "";
        QTest::addRow("blob not hex") << "004004" << 2 << 21 << Status::CodeDamaged << "";
        QTest::addRow("blobs beyond the slot") << "005005" << 0 << 21 << Status::TooLarge << "";
    }
    void blobs()
    {
        QFETCH(QString, p);
        QFETCH(int, nPult);
        QFETCH(int, device);
        QFETCH(Status, status);
        QFETCH(QString, tail);
        Remote1SlotImage::Inputs in = inputs(nPult);
        in.deviceId = device;
        const QString keyPart = p + body({{0, first(A)}});
        const auto r = Remote1SlotImage::complete(m_db, keyPart, in);
        QCOMPARE(r.status, status);
        if (status == Status::Ok) {
            QCOMPARE(r.image.mid(256, 1792), body({{0, first(A)}}));
            QCOMPARE(r.image.mid(256 + 1792), tail);
        } else {
            QVERIFY(r.image.isEmpty());
            QCOMPARE(r.log.size(), 1);
        }
    }

    // Texts beyond the room are cut model first, then type, then brand; the
    // header keeps 128 bytes; characters are Latin-1 bytes.
    void headerTexts_data()
    {
        QTest::addColumn<QString>("brand");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("texts"); // hex from byte 6
        QTest::addRow("empty type") << "ABCD" << "" << "M" << "0441424344" "00" "014D";
        QTest::addRow("exactly 55")
            << QString(30, 'B') << QString(20, 'T') << QString(5, 'M')
            << "1E" + hexOf(QString(30, 'B')) + "14" + hexOf(QString(20, 'T')) + "05" + hexOf(QString(5, 'M'));
        QTest::addRow("model cut first")
            << QString(30, 'B') << QString(20, 'T') << QString(9, 'M')
            << "1E" + hexOf(QString(30, 'B')) + "14" + hexOf(QString(20, 'T')) + "05" + hexOf(QString(5, 'M'));
        QTest::addRow("then the type, then the brand")
            << QString(60, 'B') << QString(20, 'T') << QString(9, 'M')
            << "37" + hexOf(QString(55, 'B')) + "00" "00";
        QTest::addRow("Latin-1 and beyond") << QStringLiteral("\u00D8STLUND") << QStringLiteral("\u20AC") << "O'X"
                                            << "07D853544C554E44" "013F" "034F2758";
    }
    void headerTexts()
    {
        QFETCH(QString, brand);
        QFETCH(QString, type);
        QFETCH(QString, model);
        QFETCH(QString, texts);
        const QString h = Remote1SlotImage::header(QDateTime(QDate(2031, 1, 2), QTime(3, 4)), brand, type, model);
        QCOMPARE(h.size(), 256);
        QCOMPARE(h.left(12), QStringLiteral("011F01020304"));
        QCOMPARE(h.mid(12, texts.size()), texts);
        QCOMPARE(h.mid(12 + texts.size(), 128 - 12 - texts.size()), QString(128 - 12 - texts.size(), QLatin1Char('0')));
        QCOMPARE(h.mid(128), kTail + kTail);
    }

    // A clock before 2001 would write year 0, which marks an empty slot.
    void earlyClockStillMarksTheSlotUsed()
    {
        QCOMPARE(Remote1SlotImage::header(QDateTime(QDate(1999, 5, 6), QTime(0, 0)), "", "", "").mid(2, 2),
                 QStringLiteral("01"));
    }

    // A quote or NULL in the catalogue is a plain value, never part of SQL.
    void quotedLinkReadsNothingElse()
    {
        setKeys({{0, code("001", A)}}, 1);
        QStringList log;
        const KeyImage::Result part = Remote1SlotImage::keysOf(m_db, "x' OR '1'='1", 1, &log);
        QVERIFY(!part.valid);
        QCOMPARE(part.image, "FALSE" + body({}));
    }
};

QTEST_GUILESS_MAIN(TestRemote1SlotImage)
#include "tst_remote1slotimage.moc"
