// Report lengths from report descriptors of our own making.
#include "usb/Device.h"
#include "usb/HidReportDescriptor.h"

#include <QtTest>

namespace {

// A vendor collection with one input and one output item of count bytes each.
QByteArray vendorDevice(const char *count)
{
    return QByteArray::fromHex(QByteArray("0600ff 0901 a101 1500 26ff00 7508 95") + count +
                               " 0901 8102 0902 9102 c0");
}

} // namespace

class TestHidReportDescriptor : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("descriptor");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<bool>("numbered");
        QTest::addColumn<int>("input");
        QTest::addColumn<int>("output");

        QTest::addRow("8-byte reports") << vendorDevice("08") << true << false << 9 << 9;
        QTest::addRow("64-byte reports") << vendorDevice("40") << true << false << 65 << 65;
        QTest::addRow("oversize") << vendorDevice("80") << true << false << 129 << 129;
        // Report 1 has 4 input bytes, report 2 has 16; the longest counts.
        QTest::addRow("numbered reports")
            << QByteArray::fromHex("0600ff 0901 a101 8501 7508 9504 0901 8102 9502 9102"
                                   " 8502 9510 0902 8102 c0")
            << true << true << 17 << 3;
        // 3 bits, 5 bits of padding, two bytes: three bytes in all.
        QTest::addRow("bit fields") << QByteArray::fromHex("a101 7501 9503 8102 7505 9501 8103 7508 9502 8102 c0")
                                    << true << false << 4 << 0;
        QTest::addRow("uneven bits round up") << QByteArray::fromHex("7501 9509 8102") << true << false << 3 << 0;
        // Push keeps size 8 and count 8; the two-byte item in between does not change them.
        QTest::addRow("push and pop") << QByteArray::fromHex("7508 9508 a4 9502 8102 b4 8102") << true << false << 11
                                      << 0;
        QTest::addRow("long item skipped") << QByteArray::fromHex("fe0210aabb 7508 9508 8102") << true << false << 9
                                           << 0;
        QTest::addRow("feature only") << QByteArray::fromHex("7508 9540 b102") << true << false << 0 << 0;
        QTest::addRow("empty") << QByteArray() << true << false << 0 << 0;
        QTest::addRow("item cut short") << QByteArray::fromHex("7508 9508 8102 26ff") << false << false << 9 << 0;
        QTest::addRow("long item cut short") << QByteArray::fromHex("7508 9508 8102 fe0510aa") << false << false << 9
                                             << 0;
        QTest::addRow("pop without push") << QByteArray::fromHex("b4 7508 9508 8102") << false << false << 9 << 0;
        // Four-byte size and count: the length is huge, never negative.
        QTest::addRow("hostile sizes") << QByteArray::fromHex("77ffffffff 97ffffffff 8102 8102") << true << false
                                       << 0x7FFFFFFF << 0;
    }
    void parse()
    {
        QFETCH(QByteArray, descriptor);
        QFETCH(bool, valid);
        QFETCH(bool, numbered);
        QFETCH(int, input);
        QFETCH(int, output);
        const HidReportDescriptor d = HidReportDescriptor::parse(descriptor);
        QCOMPARE(d.valid, valid);
        QCOMPARE(d.numberedReports, numbered);
        QCOMPARE(d.inputReportLength, input);
        QCOMPARE(d.outputReportLength, output);
    }

    void featureLength()
    {
        const HidReportDescriptor d = HidReportDescriptor::parse(QByteArray::fromHex("7508 9540 b102"));
        QCOMPARE(d.featureReportLength, 65);
    }

    void deepPushRefused()
    {
        QByteArray descriptor = QByteArray::fromHex("7508 9508");
        descriptor += QByteArray(1000, char(0xA4));
        descriptor += QByteArray::fromHex("8102");
        const HidReportDescriptor d = HidReportDescriptor::parse(descriptor);
        QVERIFY(!d.valid);
        QCOMPARE(d.inputReportLength, 9);
    }

    void lengthsTheLinkAccepts()
    {
        // What the device link makes of the parsed lengths.
        QCOMPARE(Device::reportSizeFromLength(HidReportDescriptor::parse(vendorDevice("08")).inputReportLength), 8);
        QCOMPARE(Device::reportSizeFromLength(HidReportDescriptor::parse(vendorDevice("40")).inputReportLength), 64);
        QCOMPARE(Device::reportSizeFromLength(HidReportDescriptor::parse(vendorDevice("80")).inputReportLength), -1);
        QCOMPARE(Device::reportSizeFromLength(HidReportDescriptor::parse(QByteArray()).inputReportLength), -1);
    }
};

QTEST_GUILESS_MAIN(TestHidReportDescriptor)
#include "tst_hidreportdescriptor.moc"
