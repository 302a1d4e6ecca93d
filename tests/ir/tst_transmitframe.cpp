// The frame text of a transmitted key: its length from the code's byte-count
// digit and the blob, the "7F" fill, the frame bits and the bit-7 marking.
#include "ir/Decode.h"
#include "ir/TransmitFrame.h"

#include <QtTest>

namespace {

// A key code of protocol 005 with this byte-count digit carrying these bits.
QString keyCode(char digit, const QString &bits)
{
    return QStringLiteral("005") + QLatin1Char(digit) + Decode::encode(bits);
}

QString times(const char *pair, int count)
{
    return QString::fromLatin1(pair).repeated(count);
}

} // namespace

class TestTransmitFrame : public QObject
{
    Q_OBJECT

private slots:
    void frameBits_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("expected");
        QTest::addRow("twelve bits") << keyCode('2', "101010110011")
                                     << "0000101010110011" + QString(112, QLatin1Char('0'));
        // Two blocks of 60 ones: only the first 112 bits go into the frame.
        QTest::addRow("cut at 112") << keyCode('9', QString(120, QLatin1Char('1')))
                                    << "0000" + QString(112, QLatin1Char('1')) + QString(12, QLatin1Char('0'));
    }
    void frameBits()
    {
        QFETCH(QString, code);
        QFETCH(QString, expected);
        QCOMPARE(TransmitFrame::frameBits(code), expected);
    }

    // Whatever the stored code holds, the bits are 128 and start with "0000".
    void frameBitsOfOddCodes_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addRow("empty") << QString();
        QTest::addRow("no blocks") << QStringLiteral("0050");
        QTest::addRow("UNKNOWN") << QStringLiteral("UNKNOWN");
        QTest::addRow("not hex") << QStringLiteral("0052xyz!-+");
        QTest::addRow("400 digits") << QStringLiteral("0059") + QString(400, QLatin1Char('F'));
    }
    void frameBitsOfOddCodes()
    {
        QFETCH(QString, code);
        const QString bits = TransmitFrame::frameBits(code);
        QCOMPARE(bits.size(), 128);
        QVERIFY(bits.startsWith(QLatin1String("0000")));
        QVERIFY(bits.endsWith(QString(12, QLatin1Char('0'))));
    }

    void frameBytes_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("blobLength");
        QTest::addColumn<int>("expected");
        QTest::addRow("digit 2, 5 bytes") << QStringLiteral("0052") << 10 << 16;
        QTest::addRow("digit 0, 3 bytes") << QStringLiteral("0050") << 6 << 8;
        QTest::addRow("digit 9, 1 byte") << QStringLiteral("0059") << 2 << 72;
        QTest::addRow("digit 0, empty") << QStringLiteral("0050") << 0 << 0;
        QTest::addRow("150 bytes") << QStringLiteral("0050") << 300 << 152;
        QTest::addRow("exactly 16 bytes") << QStringLiteral("0051") << 32 << 16;
        QTest::addRow("odd 33 digits") << QStringLiteral("0050") << 33 << 16;
        QTest::addRow("odd 3 digits") << QStringLiteral("0050") << 3 << 8;
        QTest::addRow("digit not a digit") << QStringLiteral("005X") << 2 << 8;
        QTest::addRow("code too short") << QStringLiteral("005") << 0 << 0;
    }
    void frameBytes()
    {
        QFETCH(QString, code);
        QFETCH(int, blobLength);
        QFETCH(int, expected);
        QCOMPARE(TransmitFrame::frameBytes(code, QString(blobLength, QLatin1Char('1'))), expected);
    }

    void build_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("blob");
        QTest::addColumn<QString>("expected");
        // Bytes 0-3 keep their value (frame bits "0000"); from byte 4 on bit 7
        // follows the code bits 1,0,1,0,1,0,1,1,0,0,1,1; eleven "7F" fill it.
        QTest::addRow("5 byte blob, digit 2")
            << keyCode('2', "101010110011") << "0102030405"
            << "01020304" "85" "7F" "FF" "7F" "FF" "7F" "FF" "FF" "7F" "7F" "FF" "FF";
        QTest::addRow("3 byte blob raised to 8")
            << keyCode('0', "1010") << "102030" << "102030" "7F" "FF" "7F" "FF" "7F";
        QTest::addRow("digit 9, short blob")
            << keyCode('9', QString(112, QLatin1Char('1'))) << "aa"
            << "AA" + times("7F", 3) + times("FF", 68);
        QTest::addRow("digit 0, empty blob") << keyCode('0', "1111") << QString() << QString();
        QTest::addRow("150 byte blob")
            << keyCode('0', QString(112, QLatin1Char('1'))) << times("01", 150)
            << times("01", 4) + times("81", 112) + times("01", 12) + times("01", 22) + times("7F", 2);
        QTest::addRow("high bytes kept, lower case raised")
            << keyCode('1', "111") << "0000000080C3057f" << "0000000080C3857F";
        QTest::addRow("not hex is zero")
            << keyCode('1', "11") << "G1+F-1 F" "G1-1" "0000" << "00000000" "8080" "0000";
        // Odd blobs: the lone last digit is dropped, the padding stays whole
        // "7F" bytes and the code bits after the blob still set bit 7.
        QTest::addRow("odd blob filled")
            << keyCode('0', "0000") << "ABC" << "AB7F7F7F7F7F7F7F";
        QTest::addRow("odd blob marked")
            << keyCode('0', "111") << "1122334455667" << "11223344" "D5" "E6" "FF" "7F";
        QTest::addRow("odd blob, code bits in the padding")
            << keyCode('1', "0101") << "0102030" << "010203" "7F" "7F" "FF" "7F" "FF";
        QTest::addRow("odd blob past the frame")
            << keyCode('0', "0000") << times("12", 16) + "F" << times("12", 16);
        QTest::addRow("odd blob of one digit")
            << keyCode('1', "0000") << "5" << times("7F", 8);
        QTest::addRow("one digit, no byte") << keyCode('0', "1111") << "5" << QString();
    }
    void build()
    {
        QFETCH(QString, code);
        QFETCH(QString, blob);
        QFETCH(QString, expected);
        const QString frame = TransmitFrame::build(code, blob);
        QCOMPARE(frame, expected);
        QCOMPARE(frame.size(), 2 * TransmitFrame::frameBytes(code, blob));
        QCOMPARE(frame.toUpper(), frame);
    }

    // The dropped digit of an odd blob is said; a whole blob says nothing.
    void oddBlobNoted_data()
    {
        QTest::addColumn<QString>("blob");
        QTest::addColumn<QString>("note");
        QTest::addRow("odd") << "ABC" << "code blob of odd length 3: last digit \"C\" dropped";
        QTest::addRow("even") << "ABCD" << QString();
        QTest::addRow("empty") << QString() << QString();
    }
    void oddBlobNoted()
    {
        QFETCH(QString, blob);
        QFETCH(QString, note);
        QString said;
        TransmitFrame::build(keyCode('1', "1"), blob, &said);
        QCOMPARE(said, note);
    }
};

QTEST_MAIN(TestTransmitFrame)
#include "tst_transmitframe.moc"
