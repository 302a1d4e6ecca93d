// The second-generation slot image: two examples worked out by hand byte for
// byte, then the rules one at a time (positions per type, the protocol
// override, the timing correction, refusals) on small fixtures.
#include "TestSupport.h"
#include "CatalogueFixture.h"

#include "ir/Decode.h"
#include "programming/Remote2SlotImage.h"

#include <QSqlQuery>
#include <QtTest>

Q_DECLARE_METATYPE(KeyImage::Key)

namespace {

// A key code carrying exactly these plain bits (padded to whole blocks).
QString code(const QString &prot, const QString &bits)
{
    return prot + QLatin1Char('4') + Decode::encode(bits);
}

// 60 plain bits: the given start, zeros after.
QString bits60(const QString &start)
{
    return start + QString(60 - start.size(), QLatin1Char('0'));
}

QString zeros(int n)
{
    return QString(n, QLatin1Char('0'));
}

QString hexOf(const QString &ascii)
{
    return QString::fromLatin1(ascii.toLatin1().toHex().toUpper());
}

Remote2SlotImage::Inputs inputs(int type, const QList<KeyImage::Key> &keys)
{
    Remote2SlotImage::Inputs in;
    in.typeId = type;
    in.keys = keys;
    in.caption = QStringLiteral("TV");
    in.brand = QStringLiteral("AB");
    in.type = QStringLiteral("T");
    in.model = QStringLiteral("M1");
    in.deviceId = 33;
    return in;
}

} // namespace

class TestRemote2SlotImage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

    void addCode(int dev, int prot, const QString &blob)
    {
        QSqlQuery q(m_db);
        QVERIFY(q.prepare(QStringLiteral("INSERT INTO usbprotocols (DevID, Prot, Nrc, Code) VALUES (?,?,0,?)")));
        q.addBindValue(dev);
        q.addBindValue(prot);
        q.addBindValue(blob);
        QVERIFY(q.exec());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = TestSupport::openFixtureCatalogue(m_dir.path());
        QVERIFY(m_db.isOpen());
        addCode(33, 1, QStringLiteral("7A0B2011"));
        addCode(33, 2, QStringLiteral("AABB"));
        addCode(33, 3, QStringLiteral("112233"));
        addCode(33, 6, QString(512, QLatin1Char('C'))); // 256 bytes: more than a count byte holds
        addCode(33, 7, QStringLiteral("7A0B"));         // a marker without its time bytes
        addCode(33, 8, QStringLiteral("7AZZ20"));       // not hex
        addCode(34, 5, QStringLiteral("55"));           // another device
    }

    // One protocol, timing correction 10 on a blob with the marker.
    // Keys: position 0 "1010...", position 1 "1001..." (last row: ref).
    // Bits 2 and 3 vary: mask 0011, shared 1000; key strings "11"+"10" and
    // "11"+"01", padded to a byte: E0 and D0.
    void workedOneProtocol()
    {
        auto in = inputs(1, {{code("001", bits60("1010")), 0}, {code("001", bits60("1001")), 1}});
        in.correction = 10; // 0x0B,0x20 = 1440 -> 1584 = 0x0C,0x30
        const auto r = Remote2SlotImage::build(m_db, in);
        const QString mask1 = "CC" + zeros(30);  // 11 0011 0...
        const QString const1 = "20" + zeros(30); // 00 1000 0...
        const QString keys = "E0D0" + zeros(2 * 110);
        const QString expected = QStringLiteral("0101" "01" "01" "00" "0B"     // magic, 1 protocol, 1 byte, 0, 11
                                                "02" "5456" "02" "4142" "01" "54" "02" "4D31" // TV, AB, T, M1
                                                "04" "7A0C3011" "00") +
                                 mask1 + const1 + keys;
        QCOMPARE(r.image, expected);
        QVERIFY(r.ok());
        QCOMPARE(r.log.last(), QStringLiteral("numBytes: %1").arg(expected.size()));
        QVERIFY(r.log.contains("h10---" + QStringLiteral("0011") + zeros(56)));
        QVERIFY(r.log.contains("h11---" + QStringLiteral("1000") + zeros(56)));
    }

    // Two protocols, no caption, remote type 6 (86 positions). Protocol 001
    // at positions 0 ("11..") and 85 ("01..", ref): bit 0 varies -> key
    // strings 111 and 110 -> E0, C0; mask 10, shared 01. Protocol 002 at 1
    // ("0000") and 2 ("0001", ref): bit 3 varies -> 100, 101 -> 80, A0;
    // mask 0001, shared 0000. No correction applies with two protocols.
    void workedTwoProtocols()
    {
        auto in = inputs(6, {{code("001", bits60("11")), 0}, {code("002", bits60("0000")), 1},
                             {code("001", bits60("01")), 85}, {code("002", bits60("0001")), 2}});
        in.caption.clear();
        in.brand = "B";
        in.type.clear();
        in.model = "M";
        in.correction = 10;
        const auto r = Remote2SlotImage::build(m_db, in);
        const QString m1 = "E" + zeros(31), c1 = "1" + zeros(31);
        const QString m2 = "C4" + zeros(30), c2 = zeros(32);
        const QString keys = "E080A0" + zeros(2 * 82) + "C0";
        const QString head = QStringLiteral("0101" "02" "01" "01" "06" "00" "0142" "00" "014D");
        const QString blobs = QStringLiteral("04" "7A0B2011" "02" "AABB");
        QCOMPARE(r.image, head + blobs + m1 + c1 + m2 + c2 + keys);
        QCOMPARE(keys.size() / 2, 86);
    }

    // Two protocols never apply the correction, so any value of it gives
    // the same image.
    void twoProtocolsIgnoreTheCorrection_data()
    {
        QTest::addColumn<double>("correction");
        QTest::addRow("beyond 20") << 35.0;
        QTest::addRow("below -20") << -21.0;
    }
    void twoProtocolsIgnoreTheCorrection()
    {
        QFETCH(double, correction);
        auto in = inputs(6, {{code("001", bits60("11")), 0}, {code("002", bits60("0000")), 1}});
        const auto plain = Remote2SlotImage::build(m_db, in);
        QVERIFY2(plain.ok(), qPrintable(plain.reason));
        in.correction = correction;
        const auto r = Remote2SlotImage::build(m_db, in);
        QVERIFY2(r.ok(), qPrintable(r.reason));
        QCOMPARE(r.image, plain.image);
    }

    void positionsPerType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("positions");
        QTest::addRow("type 1") << 1 << 112;
        QTest::addRow("type 4") << 4 << 112;
        QTest::addRow("type 5") << 5 << 86;
        QTest::addRow("type 9") << 9 << 86;
    }
    void positionsPerType()
    {
        QFETCH(int, type);
        QFETCH(int, positions);
        QCOMPARE(Remote2SlotImage::positions(type), positions);
        // Two varying keys on the last position and the first: the key part
        // is one byte per position.
        auto in = inputs(type, {{code("001", bits60("1")), 0}, {code("001", bits60("0")), positions - 1},
                                {code("001", bits60("1")), positions}}); // the last has no position
        const auto r = Remote2SlotImage::build(m_db, in);
        QVERIFY(r.ok());
        QVERIFY(r.image.endsWith("E0" + zeros(2 * (positions - 2)) + "C0"));
        QVERIFY(r.log.contains(QStringLiteral("key %1 has no place among the %2 positions; skipped").arg(positions).arg(positions)));
    }

    void timingCorrection_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<double>("correction");
        QTest::addColumn<int>("corrected");
        QTest::addRow("plus 10") << 1440 << 10.0 << 1584;
        QTest::addRow("minus 10") << 1440 << -10.0 << 1296;
        QTest::addRow("truncated toward zero") << 1001 << 0.5 << 1006;
        QTest::addRow("kept within 14 bits") << 16000 << 20.0 << 16383;
        QTest::addRow("zero stays") << 0 << -20.0 << 0;
    }
    void timingCorrection()
    {
        QFETCH(int, value);
        QFETCH(double, correction);
        QFETCH(int, corrected);
        QCOMPARE(Remote2SlotImage::correctedTime(value, correction), corrected);
    }

    // The blob part of single-protocol images: the override, negative
    // correction, a blob without the marker, a marker without time bytes.
    void blobPart_data()
    {
        QTest::addColumn<QString>("prot");   // the keys' protocol
        QTest::addColumn<int>("override");   // rcmodels.Prot
        QTest::addColumn<double>("correction");
        QTest::addColumn<QString>("blob");   // count and blob as written
        QTest::addRow("no correction") << "001" << 0 << 0.0 << "047A0B2011";
        QTest::addRow("negative correction") << "001" << 0 << -10.0 << "047A0A1011";
        QTest::addRow("no marker") << "002" << 0 << 10.0 << "02AABB";
        QTest::addRow("Prot overrides the keys' protocol") << "002" << 3 << 0.0 << "03112233";
        QTest::addRow("marker without time bytes") << "007" << 0 << 5.0 << "027A0B";
        // A correction outside -20..20 that is not applied is ignored.
        QTest::addRow("no marker, correction beyond 20") << "002" << 0 << 45.0 << "02AABB";
        QTest::addRow("marker without time bytes, correction below -20") << "007" << 0 << -30.0 << "027A0B";
    }
    void blobPart()
    {
        QFETCH(QString, prot);
        QFETCH(int, override);
        QFETCH(double, correction);
        QFETCH(QString, blob);
        auto in = inputs(1, {{code(prot, bits60("1")), 0}, {code(prot, bits60("0")), 1}});
        in.prot = override;
        in.correction = correction;
        const auto r = Remote2SlotImage::build(m_db, in);
        QVERIFY2(r.ok(), qPrintable(r.reason));
        const int head = 12 + 2 * 11; // fixed fields and the four texts
        QCOMPARE(r.image.mid(head, blob.size()), blob);
        QCOMPARE(r.image.mid(head + blob.size(), 2), QStringLiteral("00"));
    }

    // Refusals: the image is exactly "FALSE" and the reason is logged.
    void refused_data()
    {
        QTest::addColumn<QList<KeyImage::Key>>("keys");
        QTest::addColumn<int>("prot");
        QTest::addColumn<double>("correction");
        QTest::addColumn<int>("device");
        QTest::addColumn<QString>("brand");
        QTest::addColumn<QString>("reason");
        const QList<KeyImage::Key> one{{code("001", bits60("1")), 0}};
        QTest::addRow("third protocol")
            << QList<KeyImage::Key>{{code("001", bits60("1")), 0}, {code("002", bits60("1")), 1}, {code("003", bits60("1")), 2}}
            << 0 << 0.0 << 33 << "B" << "more than two protocols";
        QTest::addRow("missing blob of the second protocol")
            << QList<KeyImage::Key>{{code("001", bits60("1")), 0}, {code("005", bits60("1")), 1}} << 0 << 0.0 << 33
            << "B" << "no code of protocol 005";
        QTest::addRow("missing blob for the device") << one << 0 << 0.0 << 34 << "B" << "no code of protocol 001";
        QTest::addRow("no keys") << QList<KeyImage::Key>{} << 0 << 0.0 << 33 << "B" << "no key for remote type";
        QTest::addRow("only keys that are no key codes")
            << QList<KeyImage::Key>{{QStringLiteral("UNKNOWN"), 0}} << 0 << 0.0 << 33 << "B" << "no key for remote type";
        QTest::addRow("blob over 255 bytes") << QList<KeyImage::Key>{{code("006", bits60("1")), 0}} << 0 << 0.0 << 33
                                             << "B" << "more than 255";
        QTest::addRow("blob not hex") << QList<KeyImage::Key>{{code("008", bits60("1")), 0}} << 0 << 0.0 << 33 << "B"
                                      << "not hex";
        QTest::addRow("correction beyond 20") << one << 0 << 20.5 << 33 << "B" << "outside -20..20";
        QTest::addRow("correction below -20") << one << 0 << -25.0 << 33 << "B" << "outside -20..20";
        QTest::addRow("texts over 255 bytes") << one << 0 << 0.0 << 33 << QString(250, 'B') << "more than 255";
        QTest::addRow("one text over 255") << one << 0 << 0.0 << 33 << QString(256, 'B') << "does not fit";
    }
    void refused()
    {
        QFETCH(QList<KeyImage::Key>, keys);
        QFETCH(int, prot);
        QFETCH(double, correction);
        QFETCH(int, device);
        QFETCH(QString, brand);
        QFETCH(QString, reason);
        auto in = inputs(1, keys);
        in.prot = prot;
        in.correction = correction;
        in.deviceId = device;
        in.brand = brand;
        const auto r = Remote2SlotImage::build(m_db, in);
        QCOMPARE(r.image, QStringLiteral("FALSE"));
        QVERIFY2(r.reason.contains(reason), qPrintable(r.reason));
        QVERIFY(r.log.contains(r.reason));
    }

    // No keys but a protocol override: all positions empty.
    void noKeysWithOverride()
    {
        auto in = inputs(5, {});
        in.prot = 2;
        const auto r = Remote2SlotImage::build(m_db, in);
        QCOMPARE(r.image, QStringLiteral("0101" "01" "00" "00" "0B" "025456" "024142" "0154" "024D31" "02AABB" "00") +
                              "C" + zeros(31) + zeros(32) + zeros(2 * 86));
    }

    // Codes of unequal length: the longest key string sets the length of
    // all, whatever position it has, so no position shifts. The long code
    // (two blocks, 116 bits kept) is the reference: bits 60..115 count as
    // varying, which the short codes do not have.
    void unequalLengthsKeepPositions()
    {
        const QString longBits = bits60("1") + "1" + zeros(59);
        auto in = inputs(1, {{code("001", bits60("1")), 1}, {code("001", bits60("0")), 2}, {code("001", longBits), 0}});
        const auto r = Remote2SlotImage::build(m_db, in);
        QVERIFY2(r.ok(), qPrintable(r.reason));
        // Key strings: 11+1+1+55 zeros (59 bits), 11+1, 11+0; all 64 bits.
        QCOMPARE(r.image.mid(4, 6), QStringLiteral("01" "08" "00"));
        QVERIFY(r.image.endsWith("F" + zeros(15) + "E" + zeros(15) + "C" + zeros(15) + zeros(2 * 109)));
    }

    // A model by its Rcid: its own texts, correction and override; its link
    // master's keys; a missing model is refused.
    void forModel()
    {
        QVERIFY(CatalogueFixture::addModel(m_db, {"aaaa0001", "O'HARA", "TV", "Q1", "", "aaaa0002", "", 1, 0, 1, 0, 0, 10.0}));
        QVERIFY(CatalogueFixture::addModel(m_db, {"aaaa0002", "MASTER", "TV", "Q0", "", "aaaa0002", ""}));
        QVERIFY(CatalogueFixture::addKey(m_db, {"aaaa0002", 1, "K", code("001", bits60("1010")), 0}));
        QVERIFY(CatalogueFixture::addKey(m_db, {"aaaa0002", 1, "K", code("001", bits60("1001")), 1}));
        QVERIFY(CatalogueFixture::addKey(m_db, {"aaaa0002", 2, "K", code("003", bits60("1")), 0}));
        const auto r = Remote2SlotImage::forModel(m_db, "aaaa0001", 1, "TV", 33);
        QCOMPARE(r.image.left(12), QStringLiteral("010101010010")); // texts: 4 + 2 + 6 + 2 + 2
        QVERIFY(r.image.contains("02" "5456" "06" + hexOf("O'HARA") + "02" "5456" "02" + hexOf("Q1") + "04" "7A0C3011"));
        const auto gone = Remote2SlotImage::forModel(m_db, "deadbeef", 1, "TV", 33);
        QCOMPARE(gone.image, QStringLiteral("FALSE"));
        QVERIFY(gone.reason.contains("not in the catalogue"));
    }
};

QTEST_GUILESS_MAIN(TestRemote2SlotImage)
#include "tst_remote2slotimage.moc"
