// The request worker's pure part: hex payloads to bytes, the infrared frame
// reports and the page plans of both remote generations, without a device.
#include "usb/DeviceWritePlan.h"
#include "usb/HidReport.h"

#include <QtTest>

using namespace DeviceWritePlan;

namespace {

// An image whose byte i is (i * 7 + 3) & 0xFF, as upper-case hex text.
QString image(int bytes)
{
    QString text;
    for (int i = 0; i < bytes; ++i)
        text += QStringLiteral("%1").arg((i * 7 + 3) & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
    return text;
}

QByteArray bytesOf(const QString &hex)
{
    return QByteArray::fromHex(hex.toLatin1());
}

Step cmd(std::initializer_list<int> bytes)
{
    QByteArray b;
    for (int v : bytes)
        b.append(char(v));
    return {Step::Command, b, 0};
}

// The data bytes of a plan, in order.
QByteArray dataOf(const Plan &p)
{
    QByteArray out;
    for (const Step &s : p.steps) {
        if (s.kind == Step::Data)
            out += s.bytes;
    }
    return out;
}

QList<Step> stepsOf(const Plan &p, Step::Kind kind)
{
    QList<Step> out;
    for (const Step &s : p.steps) {
        if (s.kind == kind)
            out << s;
    }
    return out;
}

} // namespace

class TestDeviceWritePlan : public QObject
{
    Q_OBJECT

private slots:
    void hexByte_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("byte");
        QTest::addRow("first pair") << "7A02" << 0 << 0x7A;
        QTest::addRow("second pair") << "7A02" << 1 << 0x02;
        QTest::addRow("lower case") << "ff" << 0 << 0xFF;
        QTest::addRow("G1 is no hex number") << "G1" << 0 << 0;
        QTest::addRow("1G is no hex number") << "1G" << 0 << 0;
        QTest::addRow("a blank is no digit") << " 1" << 0 << 0;
        QTest::addRow("a sign is no digit") << "+1" << 0 << 0;
        QTest::addRow("odd length: the lone last character") << "ABC" << 1 << 0;
        QTest::addRow("odd length: whole pairs stand") << "ABC" << 0 << 0xAB;
        QTest::addRow("at the end") << "ABCD" << 2 << 0;
        QTest::addRow("far past the end") << "AB" << 1000 << 0;
        QTest::addRow("negative index") << "AB" << -1 << 0;
        QTest::addRow("empty") << "" << 0 << 0;
        QTest::addRow("beyond Latin-1") << QString::fromUtf8("\xE2\x82\xAC" "1") << 0 << 0;
    }
    void hexByte()
    {
        QFETCH(QString, text);
        QFETCH(int, index);
        QFETCH(int, byte);
        QCOMPARE(int(DeviceWritePlan::hexByte(text, index)), byte);
    }

    void hexBytesRunOnWithZeros()
    {
        QCOMPARE(hexBytes("0102G3", 0, 5), QByteArray::fromHex("0102000000"));
        QCOMPARE(hexBytes("01020304", 2, 2), QByteArray::fromHex("0304"));
    }

    void hexProblem_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("problem");
        QTest::addRow("fine") << "00FFa0" << "";
        QTest::addRow("empty is hex") << "" << "";
        QTest::addRow("odd") << "0A1" << "odd length 3: not whole bytes";
        QTest::addRow("not a digit") << "0AG1" << "character G at position 2 is not a hex digit";
    }
    void hexProblem()
    {
        QFETCH(QString, text);
        QFETCH(QString, problem);
        QCOMPARE(DeviceWritePlan::hexProblem(text), problem);
    }

    // {0x99, count} and count reports of 8 bytes; characters after the last
    // whole 16 are not sent.
    void transmitFrameReports_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<int>("count");
        QTest::addRow("empty") << QString() << 0;
        QTest::addRow("20 characters") << image(10) << 1;
        QTest::addRow("40 characters") << image(20) << 2;
        QTest::addRow("31 characters") << image(15) + "A" << 1;
        QTest::addRow("255 reports, the most a count holds") << image(255 * 8) << 255;
    }
    void transmitFrameReports()
    {
        QFETCH(QString, frame);
        QFETCH(int, count);
        const Plan p = transmitFrame(frame);
        QVERIFY(!p.refused());
        QCOMPARE(p.steps.value(0), cmd({0x99, count}));
        QCOMPARE(p.steps.size(), 1 + count);
        QCOMPARE(dataOf(p), bytesOf(frame.left(16 * count)));
        for (const Step &s : stepsOf(p, Step::Data))
            QCOMPARE(s.bytes.size(), 8);
    }

    // A frame of more reports than its count byte holds is refused whole: the
    // reports after a cut count would reach the device as commands.
    void transmitFrameBeyondTheCount_data()
    {
        QTest::addColumn<qsizetype>("characters");
        QTest::addRow("256 reports") << qsizetype(256 * 16);
        QTest::addRow("4200 digits") << qsizetype(4200);
        QTest::addRow("20 million digits") << qsizetype(20 * 1000 * 1000);
    }
    void transmitFrameBeyondTheCount()
    {
        QFETCH(qsizetype, characters);
        const Plan p = transmitFrame(QString(characters, QLatin1Char('3')));
        QVERIFY(p.refused());
        QVERIFY2(p.refusal.contains(QStringLiteral("%1 reports").arg(characters / 16)) && p.refusal.contains("255"),
                 qPrintable(p.refusal));
        QVERIFY(p.steps.isEmpty());
    }

    // In the first report only: after 0x7A or 0xFA, a second byte of 0x00-0x03
    // or 0x81-0x83 is raised by 4.
    void transmitTweak_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("sent");
        QTest::addRow("7A 02") << "7A02" << "7A06";
        QTest::addRow("7A 00") << "7A00" << "7A04";
        QTest::addRow("7A 03") << "7A03" << "7A07";
        QTest::addRow("FA 82") << "FA82" << "FA86";
        QTest::addRow("FA 81") << "FA81" << "FA85";
        QTest::addRow("7A 83") << "7A83" << "7A87";
        QTest::addRow("7A 80 unchanged") << "7A80" << "7A80";
        QTest::addRow("7A 04 unchanged") << "7A04" << "7A04";
        QTest::addRow("FA 84 unchanged") << "FA84" << "FA84";
        QTest::addRow("7B 02 unchanged") << "7B02" << "7B02";
        QTest::addRow("3A 02 unchanged") << "3A02" << "3A02";
    }
    void transmitTweak()
    {
        QFETCH(QString, first);
        QFETCH(QString, sent);
        const QString rest = "010203040506";
        // The second report starts the same way and is never touched.
        const Plan p = transmitFrame(first + rest + first + rest);
        const QList<Step> data = stepsOf(p, Step::Data);
        QCOMPARE(data.size(), 2);
        QCOMPARE(data[0].bytes, bytesOf(sent + rest));
        QCOMPARE(data[1].bytes, bytesOf(first + rest));
    }

    // Both halves page by page from their first page; the image runs on
    // through them and a short one is completed with zeros.
    void remote1Write_data()
    {
        QTest::addColumn<int>("pageSize");
        QTest::addColumn<int>("reportSize");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("imageBytes");
        for (int p : {8, 32, 64, 128}) {
            for (int s : {0, 7})
                QTest::addRow("P %d, slot %d", p, s) << p << 8 << s << 2048;
        }
        QTest::addRow("reports of 64 bytes") << 64 << 64 << 3 << 2048;
        QTest::addRow("short image") << 64 << 8 << 1 << 896;
    }
    void remote1Write()
    {
        QFETCH(int, pageSize);
        QFETCH(int, reportSize);
        QFETCH(int, slot);
        QFETCH(int, imageBytes);
        const int first = 32 * slot, second = 32 * slot + 16;
        const QString text = image(imageBytes);
        const Plan p = remote1SlotWrite(pageSize, reportSize, first, second, text);
        QVERIFY2(!p.refused(), qPrintable(p.refusal));

        const int pagesPerHalf = 1024 / pageSize;
        QList<Step> expectedCommands{cmd({0x03, 0x01})};
        for (int half : {first, second})
            for (int k = 0; k < pagesPerHalf; ++k)
                expectedCommands << cmd({0x05, (half + k) & 0xFF});
        expectedCommands << cmd({0x03, 0x00});
        QCOMPARE(stepsOf(p, Step::Command), expectedCommands);
        QCOMPARE(p.steps.first(), expectedCommands.first());
        QCOMPARE(p.steps.last(), expectedCommands.last());
        // Each page command is followed by exactly its data reports.
        int reports = 0;
        for (const Step &s : p.steps) {
            if (s.kind == Step::Data) {
                QCOMPARE(s.bytes.size(), reportSize);
                ++reports;
            } else if (s.bytes.at(0) == 0x05 || s.bytes == QByteArray::fromHex("0300")) {
                QVERIFY(reports == 0 || reports == pageSize / reportSize);
                reports = 0;
            }
        }
        QByteArray expected = bytesOf(text);
        expected.append(QByteArray(2048 - expected.size(), '\0'));
        QCOMPARE(dataOf(p), expected);
        QVERIFY(stepsOf(p, Step::Sleep).isEmpty());
    }

    void remote1PageNumbersWrap()
    {
        const Plan p = remote1SlotWrite(64, 8, 250, 10, image(2048));
        QList<int> pages;
        for (const Step &s : stepsOf(p, Step::Command)) {
            if (quint8(s.bytes.at(0)) == 0x05)
                pages << quint8(s.bytes.at(1));
        }
        QCOMPARE(pages.mid(0, 8), (QList<int>{250, 251, 252, 253, 254, 255, 0, 1}));
        QCOMPARE(pages.at(15), 9);
        QCOMPARE(pages.at(16), 10);
    }

    void remote1Refusals_data()
    {
        QTest::addColumn<int>("pageSize");
        QTest::addColumn<int>("reportSize");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason");
        QTest::addRow("page size 0") << 0 << 8 << image(8) << "page size 0";
        QTest::addRow("page size above 128") << 255 << 8 << image(8) << "page size 255";
        QTest::addRow("page size not dividing the halves") << 96 << 8 << image(8) << "page size 96";
        QTest::addRow("report size not dividing the page") << 64 << 24 << image(8) << "report size 24";
        QTest::addRow("image longer than a slot") << 64 << 8 << image(2049) << "the image has 4098 characters";
        QTest::addRow("odd image") << 64 << 8 << image(8) + "A" << "odd length 17";
        QTest::addRow("not hex") << 64 << 8 << "00ZZ" << "character Z at position 2";
        QTest::addRow("empty") << 64 << 8 << "" << "the image is empty";
    }
    void remote1Refusals()
    {
        QFETCH(int, pageSize);
        QFETCH(int, reportSize);
        QFETCH(QString, text);
        QFETCH(QString, reason);
        const Plan p = remote1SlotWrite(pageSize, reportSize, 0, 16, text);
        QVERIFY(p.refused());
        QVERIFY2(p.refusal.contains(reason), qPrintable(p.refusal));
        QVERIFY(p.steps.isEmpty());
    }

    void remote1Clear()
    {
        const Plan p = remote1SlotClear(64, 8, 67, 100);
        QList<Step> expected{cmd({0x03, 0x01}), cmd({0x06, 67}), Step{Step::Read, {}, 8}, cmd({0x05, 67})};
        for (int r = 0; r < 8; ++r)
            expected << Step{Step::Data, QByteArray(8, '\0'), 0};
        expected << cmd({0x03, 0x00}) << Step{Step::Sleep, {}, 100};
        QCOMPARE(p.steps, expected);
        QVERIFY(remote1SlotClear(256, 8, 0, 100).refused());
        QVERIFY(remote1SlotClear(64, 7, 0, 100).refused());
    }

    // P = 64, room for 10 units of 64 bytes: 1000 characters fit, padded to
    // 1024 (8 pages); 1281 do not.
    void remote2Write_data()
    {
        QTest::addColumn<int>("characters");
        QTest::addColumn<int>("pages");
        QTest::addRow("1000 characters") << 1000 << 8;
        QTest::addRow("whole pages stay as they are") << 1024 << 8;
        QTest::addRow("the whole room") << 1280 << 10;
        QTest::addRow("one byte") << 2 << 1;
    }
    void remote2Write()
    {
        QFETCH(int, characters);
        QFETCH(int, pages);
        const QString text = image(characters / 2);
        const Plan p = remote2SlotWrite(64, 8, 3, 10, text, 300);
        QVERIFY2(!p.refused(), qPrintable(p.refusal));
        QCOMPARE(stepsOf(p, Step::Command),
                 (QList<Step>{cmd({0x03, 0x01}), cmd({0xA5, 3, pages}), cmd({0x03, 0x00})}));
        QCOMPARE(stepsOf(p, Step::Sleep).size(), pages);
        QByteArray expected = bytesOf(text);
        expected.append(QByteArray(pages * 64 - expected.size(), '\0'));
        QCOMPARE(dataOf(p), expected);
        // Eight data reports, then the pause, page after page.
        for (int page = 0; page < pages; ++page) {
            QCOMPARE(p.steps.at(2 + page * 9 + 8).kind, Step::Sleep);
            QCOMPARE(p.steps.at(2 + page * 9 + 8).count, 300);
        }
    }

    void remote2Refusals_data()
    {
        QTest::addColumn<int>("reportSize");
        QTest::addColumn<int>("pageSize");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("capacity");
        QTest::addRow("odd") << 8 << 64 << image(640) + "A" << "odd length" << 10;
        QTest::addRow("1281 characters") << 8 << 64 << image(641) << "not enough flash" << 10;
        QTest::addRow("report size 16") << 16 << 64 << image(8) << "report size 16" << 10;
        QTest::addRow("page size 0") << 8 << 0 << image(8) << "page size 0" << 10;
        QTest::addRow("page size 60") << 8 << 60 << image(8) << "page size 60" << 10;
        QTest::addRow("empty") << 8 << 64 << "" << "the image is empty" << 10;
        QTest::addRow("not hex") << 8 << 64 << "0X" << "character X" << 10;
        // It fits the slot, but not the page count byte.
        QTest::addRow("256 pages of 8 bytes") << 8 << 8 << image(256 * 8) << "256 pages" << 255;
    }
    void remote2Refusals()
    {
        QFETCH(int, reportSize);
        QFETCH(int, pageSize);
        QFETCH(QString, text);
        QFETCH(QString, reason);
        QFETCH(int, capacity);
        const Plan p = remote2SlotWrite(pageSize, reportSize, 0, capacity, text, 300);
        QVERIFY(p.refused());
        QVERIFY2(p.refusal.contains(reason), qPrintable(p.refusal));
        QVERIFY(p.steps.isEmpty());
    }

    void macroPage_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<bool>("written");
        QTest::addRow("256 characters") << image(128) << true;
        QTest::addRow("shorter, completed with zeros") << image(20) << true;
        QTest::addRow("258 characters") << image(129) << false;
        QTest::addRow("not hex") << "0Q" << false;
    }
    void macroPage()
    {
        QFETCH(QString, block);
        QFETCH(bool, written);
        const Plan p = remote2MacroWrite(8, block, 300);
        QCOMPARE(!p.refused(), written);
        if (!written) {
            QVERIFY(p.steps.isEmpty());
            if (block.size() > 256)
                QCOMPARE(p.refusal, QStringLiteral("Too many macro keys"));
            return;
        }
        QCOMPARE(stepsOf(p, Step::Command), (QList<Step>{cmd({0x03, 0x01}), cmd({0xA5, 0x81}), cmd({0x03, 0x00})}));
        QByteArray expected = bytesOf(block);
        expected.append(QByteArray(128 - expected.size(), '\0'));
        QCOMPARE(dataOf(p), expected);
        QCOMPARE(p.steps.at(2 + 8).kind, Step::Sleep);
        QCOMPARE(p.steps.at(2 + 17).kind, Step::Sleep);
        QVERIFY(remote2MacroWrite(16, image(128), 300).refused());
    }
};

QTEST_GUILESS_MAIN(TestDeviceWritePlan)
#include "tst_devicewriteplan.moc"
