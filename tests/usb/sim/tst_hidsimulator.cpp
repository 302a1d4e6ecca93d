// The simulated devices from the host's side of the channels: the answers to
// every command, plug and unplug, strict mode, the trace, and infrared
// injection into the receiver.
#include "usb/HidReport.h"
#include "usb/sim/HidSimulator.h"
#include "usb/ReceiverReport.h"
#include "usb/sim/SimulatedRemote1.h"
#include "usb/sim/SimulatedRemote2.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text));
}

// A command report's payload: the command and its arguments.
QByteArray cmd(int command, int a)
{
    QByteArray r;
    r.append(static_cast<char>(command));
    r.append(static_cast<char>(a & 0xFF));
    return r;
}

// Durations as the receiver's reader takes them from a payload of eight code
// bytes; an escape whose value bytes lie beyond the payload makes the test fail.
QVector<int> decode(const QByteArray &payload, bool *complete)
{
    QVector<int> out;
    *complete = true;
    for (int i = 0; i < 8; ++i) {
        int v = static_cast<quint8>(payload.at(i));
        if (v == 0xFF) {
            if (i + 2 >= 8) {
                *complete = false;
                break;
            }
            v = static_cast<quint8>(payload.at(i + 1)) << 8 | static_cast<quint8>(payload.at(i + 2));
            i += 2;
        }
        if (v > 0)
            out.append(v * 20);
    }
    return out;
}

// A host side of one device: a write and a read channel, reports of N + 1 bytes.
struct Host
{
    HidHandle write, read;
    int n = 8;

    Host(HidSimulator &sim, int vendor, int product)
    {
        const auto entries = sim.enumerate(vendor, product);
        if (!entries.isEmpty()) {
            write = sim.open(entries.first().path);
            read = sim.open(entries.first().path);
            if (read)
                n = read->inputReportLength() - 1;
        }
    }
    bool send(const QByteArray &payload)
    {
        QByteArray r(1, '\0');
        r.append(payload.left(n));
        r.append(QByteArray(n + 1 - r.size(), '\0'));
        return write && write->write(reinterpret_cast<const quint8 *>(r.constData()), r.size()) == r.size();
    }
    // Reads payload bytes until count arrived; empty when a read fails.
    QByteArray receive(int count, int timeoutMs = 1000)
    {
        QByteArray out;
        while (out.size() < count) {
            quint8 buf[65];
            const int got = read ? read->read(buf, n + 1, timeoutMs) : -1;
            if (got != n + 1)
                return QByteArray();
            out.append(reinterpret_cast<const char *>(buf) + 1, n);
        }
        return out;
    }
    bool silent(int timeoutMs = 20)
    {
        quint8 buf[65];
        return read && read->read(buf, n + 1, timeoutMs) == 0;
    }
};

} // namespace

class TestHidSimulator : public QObject
{
    Q_OBJECT

private slots:
    void remote1Commands()
    {
        HidSimulator sim;
        sim.setStrict(true);
        auto remote = sim.addRemote1();
        sim.plug(remote);
        Host host(sim, HidIds::kVendor, HidIds::kRemote1);
        QCOMPARE(host.n, 8);

        // Information: 0x04 then 0x88 brings the 256 bytes.
        QVERIFY(host.send(hex("0301")));
        QVERIFY(remote->programmingMode());
        QVERIFY(host.send(hex("0300")));
        QVERIFY(!remote->programmingMode());
        QVERIFY(host.send(hex("04")));
        QVERIFY(host.send(hex("88")));
        QCOMPARE(host.receive(256), remote->information());
        QVERIFY(host.silent());

        // A page write in programming mode, then reading it back.
        QByteArray page(64, '\0');
        for (int i = 0; i < 64; ++i)
            page[i] = static_cast<char>(i * 3 + 1);
        QVERIFY(host.send(hex("0301")));
        QVERIFY(host.send(hex("0510")));
        for (int r = 0; r < 8; ++r)
            QVERIFY(host.send(page.mid(r * 8, 8)));
        QVERIFY(host.send(hex("0300")));
        QCOMPARE(remote->page(0x10), page);
        QVERIFY(host.send(hex("0610")));
        QCOMPARE(host.receive(64), page);
        QVERIFY2(sim.violations().isEmpty(), qPrintable(sim.violations().join('\n')));
    }

    void remote1SlotWriteAndClear()
    {
        // The whole slot write: both halves of slot 1, sixteen pages each.
        HidSimulator sim;
        sim.setStrict(true);
        auto remote = sim.addRemote1();
        sim.plug(remote);
        Host host(sim, HidIds::kVendor, HidIds::kRemote1);
        const QByteArray info = remote->information();
        const int first = static_cast<quint8>(info.at(35 + 16)), second = static_cast<quint8>(info.at(34 + 16));
        QByteArray image(2048, '\0');
        for (int i = 0; i < image.size(); ++i)
            image[i] = static_cast<char>((i * 7) ^ (i >> 8));
        int pos = 0;
        QVERIFY(host.send(hex("0301")));
        for (int half : {first, second}) {
            for (int k = 0; k < 16; ++k) {
                QVERIFY(host.send(cmd(0x05, (half + k) & 0xFF)));
                for (int r = 0; r < 8; ++r, pos += 8)
                    QVERIFY(host.send(image.mid(pos, 8)));
            }
        }
        QVERIFY(host.send(hex("0300")));
        for (int k = 0; k < 16; ++k) {
            QCOMPARE(remote->page(first + k), image.mid(k * 64, 64));
            QCOMPARE(remote->page(second + k), image.mid(1024 + k * 64, 64));
        }

        // The clear: read the first page, then write it with zeros.
        QVERIFY(host.send(hex("0301")));
        QVERIFY(host.send(cmd(0x06, first)));
        QCOMPARE(host.receive(64), image.left(64));
        QVERIFY(host.send(cmd(0x05, first)));
        for (int r = 0; r < 8; ++r)
            QVERIFY(host.send(QByteArray(8, '\0')));
        QVERIFY(host.send(hex("0300")));
        QCOMPARE(remote->page(first), QByteArray(64, '\0'));
        QCOMPARE(remote->page(first + 1), image.mid(64, 64));
        QVERIFY2(sim.violations().isEmpty(), qPrintable(sim.violations().join('\n')));
    }

    void remote1StrictMode_data()
    {
        QTest::addColumn<QList<QByteArray>>("reports");
        QTest::addColumn<QString>("violation");
        QTest::addColumn<bool>("written"); // whether page 0x10 took the data
        const QByteArray data(8, char(0x03));
        QList<QByteArray> eight;
        for (int i = 0; i < 8; ++i)
            eight.append(QByteArray(8, char(0x55)));
        QTest::addRow("write outside programming mode")
            << (QList<QByteArray>{hex("0510")} + eight) << "page write 0x10 outside programming mode" << false;
        QTest::addRow("page beyond the slots")
            << (QList<QByteArray>{hex("0301"), hex("05f8")} + eight + QList<QByteArray>{hex("0300")})
            << "page write 0xf8 beyond the slots" << false;
        QTest::addRow("unknown command") << QList<QByteArray>{hex("42")} << "unknown command 0x42" << false;
        QTest::addRow("0x88 alone") << QList<QByteArray>{hex("88")} << "information request 0x88 without 0x04" << false;
        // Data reports are data, even when they look like a command.
        QTest::addRow("data is not a command")
            << QList<QByteArray>{hex("0301"), hex("0510"), data, data, data, data, data, data, data, data, hex("0300")}
            << "" << true;
    }
    void remote1StrictMode()
    {
        QFETCH(QList<QByteArray>, reports);
        QFETCH(QString, violation);
        QFETCH(bool, written);
        HidSimulator sim;
        sim.setStrict(true);
        auto remote = sim.addRemote1();
        QByteArray info = remote->information();
        info[31] = 4; // slots 0..3: pages 0 to 127
        remote->setInformation(info);
        sim.plug(remote);
        Host host(sim, HidIds::kVendor, HidIds::kRemote1);
        for (const QByteArray &r : reports)
            QVERIFY(host.send(r));
        const QStringList v = sim.violations();
        if (violation.isEmpty()) {
            QVERIFY2(v.isEmpty(), qPrintable(v.join('\n')));
        } else {
            QCOMPARE(v.size(), 1);
            QVERIFY2(v.first().contains(violation), qPrintable(v.first()));
        }
        QCOMPARE(remote->page(0x10) != QByteArray(64, '\0'), written);
        QVERIFY(!remote->programmingMode());
    }

    void remote1PagesWrapPastTheLast()
    {
        HidSimulator sim;
        sim.setStrict(true);
        auto remote = sim.addRemote1();
        QByteArray info = remote->information();
        info[31] = 1;
        info[35] = char(250); // first half: pages 250..255 and 0..9
        info[34] = char(100); // second half: pages 100..115
        remote->setInformation(info);
        sim.plug(remote);
        Host host(sim, HidIds::kVendor, HidIds::kRemote1);
        QVERIFY(host.send(hex("0301")));
        for (int page : {250, 255, 0, 9, 100, 115, 10, 99, 116}) {
            QVERIFY(host.send(cmd(0x05, page)));
            for (int r = 0; r < 8; ++r)
                QVERIFY(host.send(QByteArray(8, char(page))));
        }
        const QStringList v = sim.violations();
        QCOMPARE(v.size(), 3);
        QVERIFY(v[0].contains("0x0a beyond"));
        QVERIFY(v[1].contains("0x63 beyond"));
        QVERIFY(v[2].contains("0x74 beyond"));
        QCOMPARE(remote->page(0), QByteArray(64, '\0'));
        QCOMPARE(remote->page(9), QByteArray(64, char(9)));
    }

    void remote2Commands()
    {
        HidSimulator sim;
        sim.setStrict(true);
        auto remote = sim.addRemote2();
        QByteArray info = remote->informationPage();
        info[33 + 2] = 2; // slot 1: 128 bytes
        remote->setInformationPage(info);
        QByteArray macro(128, '\0');
        for (int i = 0; i < 128; ++i)
            macro[i] = static_cast<char>(i + 100);
        remote->setMacroPage(macro);
        sim.plug(remote);
        Host host(sim, HidIds::kVendor, HidIds::kRemote2);

        // The information read.
        QVERIFY(host.send(hex("0301")));
        QVERIFY(host.send(hex("0300")));
        QVERIFY(host.send(hex("a680")));
        QCOMPARE(host.receive(128), info);
        QVERIFY(host.send(hex("a681")));
        QCOMPARE(host.receive(128), macro);
        for (int j = 0; j < 4; ++j) {
            QVERIFY(host.send(cmd(0xA6, j)));
            QCOMPARE(host.receive(64), remote->slotHeader(j));
        }
        QCOMPARE(remote->slotHeader(1).mid(6, 4), hex("03534154")); // caption "SAT"
        QVERIFY(host.silent());

        // A slot write of two pages fills the slot's room, header first.
        QByteArray image(128, '\0');
        for (int i = 0; i < 128; ++i)
            image[i] = static_cast<char>(255 - i);
        QVERIFY(host.send(hex("0301")));
        QVERIFY(host.send(hex("a50102")));
        for (int r = 0; r < 16; ++r)
            QVERIFY(host.send(image.mid(r * 8, 8)));
        QVERIFY(host.send(hex("0300")));
        QCOMPARE(remote->slotData(1), image);
        QVERIFY(host.send(hex("a601")));
        QCOMPARE(host.receive(64), image.left(64));

        // The header rewrite.
        QByteArray header = image.left(64);
        header[0] = 0;
        QVERIFY(host.send(hex("0301")));
        QVERIFY(host.send(hex("a50101")));
        for (int r = 0; r < 8; ++r)
            QVERIFY(host.send(header.mid(r * 8, 8)));
        QVERIFY(host.send(hex("0300")));
        QCOMPARE(remote->slotHeader(1), header);
        QCOMPARE(remote->slotData(1).mid(64), image.mid(64));

        // The macro page: byte 3 of the command is whatever the buffer held.
        QByteArray newMacro(128, char(0x11));
        QVERIFY(host.send(hex("0301")));
        QVERIFY(host.send(hex("a58107")));
        for (int r = 0; r < 16; ++r)
            QVERIFY(host.send(newMacro.mid(r * 8, 8)));
        QVERIFY(host.send(hex("0300")));
        QCOMPARE(remote->macroPage(), newMacro);

        // Reception modes and a transmitted key.
        QVERIFY(host.send(hex("9808")));
        QCOMPARE(remote->receiveMode(), 0x08);
        QVERIFY(host.send(hex("9819")));
        QCOMPARE(remote->receiveMode(), 0x19);
        const int releases = remote->keyReleaseCount();
        QVERIFY(host.send(hex("9902")));
        QVERIFY(host.send(hex("7a06010203040506")));
        QVERIFY(host.send(hex("0708090a0b0c0d0e")));
        QVERIFY(host.send(hex("9900")));
        QVERIFY(host.send(hex("0300")));
        QCOMPARE(remote->transmittedFrames(),
                 (QList<QByteArray>{hex("7a060102030405060708090a0b0c0d0e"), QByteArray()}));
        QCOMPARE(remote->keyReleaseCount(), releases + 1);
        QVERIFY2(sim.violations().isEmpty(), qPrintable(sim.violations().join('\n')));
    }

    void remote2StrictMode_data()
    {
        QTest::addColumn<QList<QByteArray>>("reports");
        QTest::addColumn<QString>("violation");
        QList<QByteArray> eight;
        for (int i = 0; i < 8; ++i)
            eight.append(QByteArray(8, char(0x55)));
        QTest::addRow("write outside programming mode") << (QList<QByteArray>{hex("a50001")} + eight)
                                                        << "write 0x00 0x01 outside programming mode";
        QTest::addRow("macro outside programming mode") << (QList<QByteArray>{hex("a581")} + eight + eight)
                                                        << "write 0x81 0x00 outside programming mode";
        QTest::addRow("pages beyond the room") << QList<QByteArray>{hex("0301"), hex("a50029")}
                                               << "write of 41 pages beyond the room of slot 0";
        QTest::addRow("slot beyond the slots") << (QList<QByteArray>{hex("0301"), hex("a50401")} + eight)
                                               << "write to slot 0x04 beyond the slots";
        QTest::addRow("header read beyond the slots") << QList<QByteArray>{hex("a604")}
                                                      << "page read 0x04 beyond the slots";
        QTest::addRow("unknown command") << QList<QByteArray>{hex("05")} << "unknown command 0x05";
        QTest::addRow("unknown reception mode") << QList<QByteArray>{hex("9833")} << "reception mode 0x33";
    }
    void remote2StrictMode()
    {
        QFETCH(QList<QByteArray>, reports);
        QFETCH(QString, violation);
        HidSimulator sim;
        sim.setStrict(true);
        auto remote = sim.addRemote2();
        sim.plug(remote);
        Host host(sim, HidIds::kVendor, HidIds::kRemote2);
        const QByteArray before = remote->slotData(0);
        for (const QByteArray &r : reports)
            QVERIFY(host.send(r));
        const QStringList v = sim.violations();
        QCOMPARE(v.size(), 1);
        QVERIFY2(v.first().contains(violation), qPrintable(v.first()));
        QVERIFY(host.silent());
        if (!QByteArray(QTest::currentDataTag()).startsWith("pages beyond"))
            QCOMPARE(remote->slotData(0), before);
    }

    void strictOffRecordsNothing()
    {
        HidSimulator sim;
        auto remote = sim.addRemote2();
        sim.plug(remote);
        Host host(sim, HidIds::kVendor, HidIds::kRemote2);
        QVERIFY(host.send(hex("42")));
        QVERIFY(host.send(hex("a604")));
        QVERIFY(sim.violations().isEmpty());
    }

    void wrongReportLengthFlagged()
    {
        HidSimulator sim;
        sim.setStrict(true);
        auto remote = sim.addRemote2();
        sim.plug(remote);
        Host host(sim, HidIds::kVendor, HidIds::kRemote2);
        const quint8 report[5] = {0, 0x03, 0x01, 0, 0};
        QCOMPARE(host.write->write(report, 5), 5);
        QCOMPARE(sim.violations().size(), 1);
        QVERIFY(sim.violations().first().contains("report of 5 bytes, the device takes 9"));
        QVERIFY(remote->programmingMode());
    }

    void plugAndUnplug()
    {
        HidSimulator sim;
        auto remote = sim.addRemote2();
        QVERIFY(sim.enumerate(HidIds::kVendor, HidIds::kRemote2).isEmpty());
        sim.plug(remote);
        const auto entries = sim.enumerate(HidIds::kVendor, HidIds::kRemote2);
        QCOMPARE(entries.size(), 1);
        QVERIFY(sim.enumerate(HidIds::kVendor, HidIds::kRemote1).isEmpty());
        Host host(sim, HidIds::kVendor, HidIds::kRemote2);
        QVERIFY(host.send(hex("0301")));
        QVERIFY(host.send(hex("a50001"))); // a write under way when the plug is pulled
        remote->injectDurationsPaced({100000, -100});

        sim.unplug(remote);
        QVERIFY(!sim.isPlugged(remote));
        QVERIFY(sim.enumerate(HidIds::kVendor, HidIds::kRemote2).isEmpty());
        QVERIFY(!host.send(hex("0300")));
        QCOMPARE(host.receive(8), QByteArray());
        QVERIFY(!sim.open(entries.first().path));

        // Plugged in again: a new path, the memory kept, the sequence forgotten.
        sim.plug(remote);
        const auto again = sim.enumerate(HidIds::kVendor, HidIds::kRemote2);
        QCOMPARE(again.size(), 1);
        QVERIFY(again.first().path != entries.first().path);
        QVERIFY(!sim.open(entries.first().path));
        QVERIFY(!host.send(hex("0300")));
        QVERIFY(!remote->programmingMode());
        Host fresh(sim, HidIds::kVendor, HidIds::kRemote2);
        QVERIFY(fresh.send(hex("a600")));
        QCOMPARE(fresh.receive(64), remote->slotHeader(0));
        QVERIFY(fresh.silent(150)); // the paced report died with the plug
        QCOMPARE(sim.openChannelCount(), 4);
    }

    void channelsOutliveTheSimulator()
    {
        HidHandle read;
        std::shared_ptr<SimulatedRemote2> remote;
        {
            HidSimulator sim;
            remote = sim.addRemote2();
            sim.plug(remote);
            read = sim.open(sim.enumerate(HidIds::kVendor, HidIds::kRemote2).first().path);
            QVERIFY(read);
        }
        quint8 buf[9];
        QCOMPARE(read->read(buf, 9, 10), -1);
        remote->injectDurations({900});
        QCOMPARE(remote->slotHeader(0).size(), 64);
    }

    void faults()
    {
        HidSimulator sim;
        auto remote = sim.addRemote2();
        sim.plug(remote);
        Host host(sim, HidIds::kVendor, HidIds::kRemote2);
        quint8 buf[65];

        remote->setFault(SimulatedDevice::Fault::Silent);
        QVERIFY(host.send(hex("a680")));
        QCOMPARE(host.read->read(buf, 9, 20), 0);

        remote->setFault(SimulatedDevice::Fault::Short);
        QVERIFY(host.send(hex("a600")));
        for (int r = 0; r < 8; ++r)
            QCOMPARE(host.read->read(buf, 9, 1000), 4);
        QCOMPARE(host.read->read(buf, 9, 20), 0);

        remote->setFault(SimulatedDevice::Fault::Garbage);
        remote->injectDurations({900, -1500});
        QCOMPARE(host.read->read(buf, 9, 1000), 9);
        QVERIFY(QByteArray(reinterpret_cast<const char *>(buf) + 1, 8) != hex("2d4b000000000000"));

        remote->setFault(SimulatedDevice::Fault::None);
        remote->injectDurations({900, -1500});
        QCOMPARE(host.read->read(buf, 9, 1000), 9);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(buf) + 1, 8), hex("2d4b000000000000"));
    }

    void trace()
    {
        HidSimulator sim;
        auto remote = sim.addRemote1();
        remote->setReportSize(64);
        sim.plug(remote);
        Host host(sim, HidIds::kVendor, HidIds::kRemote1);
        QCOMPARE(host.n, 64);
        QVERIFY(host.send(hex("0610")));
        QCOMPARE(host.receive(64).size(), 64);
        QVERIFY(host.send(hex("04")));
        const QList<SimTraceEntry> t = sim.trace();
        QCOMPARE(t.size(), 3);
        QCOMPARE(t[0].channel, QStringLiteral("remote1.1"));
        QVERIFY(t[0].output);
        QCOMPARE(t[0].bytes, hex("000610") + QByteArray(62, '\0'));
        QCOMPARE(t[1].channel, QStringLiteral("remote1.2"));
        QVERIFY(!t[1].output);
        QCOMPARE(t[1].bytes, QByteArray(65, '\0'));
        QCOMPARE(t[2].bytes.left(2), hex("0004"));
        QVERIFY(t[0].timeUs <= t[1].timeUs && t[1].timeUs <= t[2].timeUs);
        sim.clearTrace();
        QVERIFY(sim.trace().isEmpty());
    }

    void receiverPayloads_data()
    {
        QTest::addColumn<QVector<int>>("durations");
        QTest::addColumn<QList<QByteArray>>("payloads");
        QTest::addRow("mark and space") << QVector<int>{900, -1500} << QList<QByteArray>{hex("2d4b000000000000")};
        QTest::addRow("escape") << QVector<int>{9000} << QList<QByteArray>{hex("ff01c20000000000")};
        QTest::addRow("largest single byte") << QVector<int>{5080} << QList<QByteArray>{hex("fe00000000000000")};
        // 255 ticks cannot be one byte: 0xFF is the escape.
        QTest::addRow("255 ticks") << QVector<int>{5100} << QList<QByteArray>{hex("ff00ff0000000000")};
        QTest::addRow("rounded to the nearest tick") << QVector<int>{569, -570, 29, -30}
                                                      << QList<QByteArray>{hex("1c1d010200000000")};
        QTest::addRow("at least one tick") << QVector<int>{3, -9} << QList<QByteArray>{hex("0101000000000000")};
        QTest::addRow("zero is no duration") << QVector<int>{0, 560, 0} << QList<QByteArray>{hex("1c00000000000000")};
        QTest::addRow("longest") << QVector<int>{1310700} << QList<QByteArray>{hex("ffffff0000000000")};
        QTest::addRow("beyond the longest") << QVector<int>{-5000000} << QList<QByteArray>{hex("ffffff0000000000")};
        QTest::addRow("eight codes fill a report")
            << QVector<int>{20, -40, 60, -80, 100, -120, 140, -160, 180}
            << QList<QByteArray>{hex("0102030405060708"), hex("0900000000000000")};
        // Six single bytes leave two positions: the escape goes to the next report.
        QTest::addRow("escape never split")
            << QVector<int>{20, -20, 20, -20, 20, -20, 9000}
            << QList<QByteArray>{hex("0101010101010000"), hex("ff01c20000000000")};
        // Five single bytes leave exactly three.
        QTest::addRow("escape fits the last three")
            << QVector<int>{20, -20, 20, -20, 20, 9000}
            << QList<QByteArray>{hex("0101010101ff01c2")};
        QTest::addRow("nothing") << QVector<int>{} << QList<QByteArray>{};
    }
    void receiverPayloads()
    {
        QFETCH(QVector<int>, durations);
        QFETCH(QList<QByteArray>, payloads);
        QCOMPARE(SimulatedRemote2::receiverPayloads(durations), payloads);
    }

    void receiverPayloadsRoundTrip()
    {
        // Whatever the durations, the reader gets each one back to the tick.
        QRandomGenerator rng(9);
        QVector<int> durations;
        for (int i = 0; i < 5000; ++i) {
            const int kind = rng.bounded(4);
            int d = kind == 0 ? rng.bounded(1, 5100) : kind == 1 ? rng.bounded(5000, 5200) : kind == 2 ? rng.bounded(5200, 1310700) : rng.bounded(1, 100);
            durations.append(i % 2 ? -d : d);
        }
        QVector<int> decoded;
        for (const QByteArray &p : SimulatedRemote2::receiverPayloads(durations)) {
            QCOMPARE(p.size(), 8);
            bool complete = false;
            decoded += decode(p, &complete);
            QVERIFY(complete);
        }
        QCOMPARE(decoded.size(), durations.size());
        for (int i = 0; i < durations.size(); ++i) {
            const int expected = std::max(1, (std::abs(durations[i]) + 10) / 20) * 20;
            QCOMPARE(decoded[i], expected);
        }
    }

    void linkDecoderReadsWhatTheDeviceSends()
    {
        // The capture side's decoder, fed the reports the simulated receiver
        // makes, gets every duration back to the tick.
        QRandomGenerator rng(11);
        QVector<int> durations;
        for (int i = 0; i < 3000; ++i) {
            const int d = rng.bounded(3) == 0 ? rng.bounded(4000, 400000) : rng.bounded(100, 3000);
            durations.append(i % 2 ? -d : d);
        }
        QVector<int> decoded;
        for (const QByteArray &p : SimulatedRemote2::receiverPayloads(durations)) {
            const ReceiverDurations r = ReceiverReport::decode(reinterpret_cast<const std::uint8_t *>(p.constData()));
            for (int i = 0; i < r.count; ++i)
                decoded.append(r.values[static_cast<size_t>(i)]);
        }
        QCOMPARE(decoded.size(), durations.size());
        for (int i = 0; i < durations.size(); ++i)
            QCOMPARE(decoded[i], (std::abs(durations[i]) + 10) / 20 * 20);
    }

    void injectionReachesEveryOpenChannel()
    {
        HidSimulator sim;
        auto remote = sim.addRemote2();
        remote->injectDurations({900}); // unplugged: nobody hears it
        sim.plug(remote);
        Host first(sim, HidIds::kVendor, HidIds::kRemote2);
        Host second(sim, HidIds::kVendor, HidIds::kRemote2);
        const QVector<int> signal{9000, -4500, 560, -560, 560, -1690, 560, -40000, 9000, -2250, 560};
        remote->injectDurations(signal);
        const QList<QByteArray> expected = SimulatedRemote2::receiverPayloads(signal);
        QByteArray all;
        for (const QByteArray &p : expected)
            all += p;
        QCOMPARE(first.receive(all.size()), all);
        QCOMPARE(second.receive(all.size()), all);
        QVERIFY(first.silent());
    }

    void pacedInjection()
    {
        // A report leaves when full, or when the next duration ends later than
        // the flush gap; at the end of its last duration.
        const QVector<int> signal{9000, -4500, 560, -560, 560, -100000, 560, -560};
        auto paced = SimulatedRemote2::pacedPayloads(signal);
        QCOMPARE(paced.size(), 2);
        QCOMPARE(paced[0].offsetUs, qint64(9000 + 4500 + 560 + 560 + 560));
        QCOMPARE(paced[0].payload, hex("ff01c2e11c1c1c00"));
        QCOMPARE(paced[1].offsetUs, paced[0].offsetUs + 100000 + 560 + 560);
        QCOMPARE(paced[1].payload, hex("ff13881c1c000000"));
        // A report that is not full leaves when the next duration ends too late.
        paced = SimulatedRemote2::pacedPayloads({560, -25000, 560});
        QCOMPARE(paced.size(), 2);
        QCOMPARE(paced[0].offsetUs, qint64(560));
        QCOMPARE(paced[0].payload, hex("1c00000000000000"));
        QCOMPARE(paced[1].offsetUs, qint64(560 + 25000 + 560));
        QCOMPARE(paced[1].payload, hex("ff04e21c00000000"));

        HidSimulator sim;
        auto remote = sim.addRemote2();
        sim.plug(remote);
        Host host(sim, HidIds::kVendor, HidIds::kRemote2);
        QElapsedTimer t;
        t.start();
        remote->injectDurationsPaced({60000, -60000});
        // Nothing is there before the first duration has ended.
        QCOMPARE(host.receive(8, 5000), SimulatedRemote2::receiverPayloads({60000}).first());
        QVERIFY(t.elapsed() >= 59);
        QCOMPARE(host.receive(8, 5000), SimulatedRemote2::receiverPayloads({60000}).first());
        QVERIFY(t.elapsed() >= 119);
    }

    void replayTimeline_data()
    {
        QTest::addColumn<QList<QVector<int>>>("rows");
        QTest::addColumn<int>("gapMs");
        QTest::addColumn<QVector<int>>("timeline");
        QTest::addRow("one press") << QList<QVector<int>>{{900, -450, 560, -500000}} << 2000
                                   << QVector<int>{-2000000, 900, -450, 560};
        QTest::addRow("trailing silence joins the next pause")
            << QList<QVector<int>>{{900, -3000000}, {700, -20}} << 2000
            << QVector<int>{-2000000, 900, -3000000, 700};
        QTest::addRow("gap at least 500 ms") << QList<QVector<int>>{{900}} << 10 << QVector<int>{-500000, 900};
        QTest::addRow("leading space dropped, empty row carried")
            << QList<QVector<int>>{{-100, 900, -2500000}, {-300}, {800}} << 1000
            << QVector<int>{-1000000, 900, -2500300, 800};
        QTest::addRow("no rows") << QList<QVector<int>>{} << 1000 << QVector<int>{};
    }
    void replayTimeline()
    {
        QFETCH(QList<QVector<int>>, rows);
        QFETCH(int, gapMs);
        QFETCH(QVector<int>, timeline);
        QCOMPARE(SimulatedRemote2::replayTimeline(rows, gapMs), timeline);
    }

    void replayStartsWhenReceptionIsSwitchedOn()
    {
        HidSimulator sim;
        auto remote = sim.addRemote2();
        remote->setReplay({{9000, -4500, 560, -500000}}, 500);
        sim.plug(remote);
        Host host(sim, HidIds::kVendor, HidIds::kRemote2);
        QVERIFY(host.silent(100));
        QVERIFY(remote->replayPending());
        QVERIFY(host.send(hex("9819")));
        QVERIFY(!remote->replayPending());
        QCOMPARE(remote->receiveMode(), 0x19);
        // The pause before the press, then the press.
        QCOMPARE(host.receive(8, 5000), hex("ff61a8ff01c2e11c"));
        QVERIFY(host.silent(100));
    }
};

QTEST_GUILESS_MAIN(TestHidSimulator)
#include "tst_hidsimulator.moc"
