// Device on top of the HID layer, against the simulated devices.
#include "usb/Device.h"
#include "usb/sim/HidSimulator.h"
#include "usb/sim/SimulatedRemote1.h"
#include "usb/sim/SimulatedRemote2.h"
#include "usb/UsbState.h"

#include <QElapsedTimer>
#include <QtTest>

#include <thread>

namespace {

// The HID layer as the link sees it: a simulator behind the shared state.
struct Bench
{
    HidSimulator sim;
    UsbState state;
    Device device{&state};
    Bench() { state.setBackend(&sim); }
};

} // namespace

class TestDevice : public QObject
{
    Q_OBJECT

private:
    static HidReport command(quint8 c, quint8 a = 0, quint8 b = 0)
    {
        HidReport r{};
        setCommandReport(r, c, a, b);
        return r;
    }

private slots:
    void productString_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("expected");
        QTest::addRow("plain") << "IR Remote" << "IR Remote";
        QTest::addRow("empty") << "" << "";
        QTest::addRow("latin-1 kept") << QString::fromUtf8("Fernbedienung Ü") << QString::fromUtf8("Fernbedienung Ü");
        // U+0141 has the low byte 0x41.
        QTest::addRow("low byte of a wide character") << QString::fromUtf8("Ł1") << "A1";
        // U+0100 has the low byte 0: the text ends there.
        QTest::addRow("zero low byte ends") << QString::fromUtf8("ab\u0100cd") << "ab";
        QTest::addRow("embedded zero ends") << QString::fromLatin1("ab\0cd", 5) << "ab";
        QTest::addRow("exactly 50") << QString(50, QLatin1Char('x')) << QString(50, QLatin1Char('x'));
        QTest::addRow("cut to 50") << QString(51, QLatin1Char('x')) + "yz" << QString(50, QLatin1Char('x'));
        // A character beyond U+FFFF is two code units, each giving its low byte.
        // U+1F600 is D83D DE00: 0x3D, then 0x00 ends the text.
        QTest::addRow("surrogate pair") << QString::fromUtf8("a\U0001F600") << "a=";
    }
    void productString()
    {
        QFETCH(QString, device);
        QFETCH(QString, expected);
        QCOMPARE(Device::productStringFromDevice(device), expected);
    }

    void reportSize_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("size");
        QTest::addRow("9 bytes") << 9 << 8;
        QTest::addRow("65 bytes") << 65 << 64;
        QTest::addRow("2 bytes") << 2 << 1;
        QTest::addRow("66 bytes refused") << 66 << -1;
        QTest::addRow("1 byte refused") << 1 << -1;
        QTest::addRow("unknown") << 0 << -1;
    }
    void reportSize()
    {
        QFETCH(int, length);
        QFETCH(int, size);
        QCOMPARE(Device::reportSizeFromLength(length), size);
    }

    void noBackendFailsCleanly()
    {
        UsbState state;
        Device device(&state);
        QVERIFY(!device.isPresent(HidIds::kVendor, HidIds::kRemote2));
        QVERIFY(!device.openRemote(HidIds::kVendor, HidIds::kRemote2));
        QVERIFY(!device.openReceiver(HidIds::kVendor, HidIds::kRemote2));
        device.closeRemote();
        device.closeReceiver();
        HidReport r{};
        QVERIFY(!device.writeReport(state.remoteWriteHandle(), 8, r));
        QCOMPARE(device.readReport(state.remoteReadHandle(), 8, r, 10), -1);

        Device detached;
        QVERIFY(!detached.isPresent(HidIds::kVendor, HidIds::kRemote2));
        QVERIFY(!detached.openRemote(HidIds::kVendor, HidIds::kRemote2));
    }

    void presence()
    {
        Bench bench;
        HidSimulator &sim = bench.sim;
        Device &device = bench.device;
        auto remote = sim.addRemote2();
        QVERIFY(!device.isPresent(HidIds::kVendor, HidIds::kRemote2));
        sim.plug(remote);
        QVERIFY(device.isPresent(HidIds::kVendor, HidIds::kRemote2));
        QVERIFY(!device.isPresent(HidIds::kVendor, HidIds::kRemote1));
        // The probe leaves nothing open.
        QCOMPARE(sim.openChannelCount(), 0);
        sim.unplug(remote);
        QVERIFY(!device.isPresent(HidIds::kVendor, HidIds::kRemote2));
    }

    void presenceWhileUnplugging()
    {
        HidSimulator sim;
        UsbState state;
        state.setBackend(&sim);
        auto remote = sim.addRemote2();
        std::atomic<bool> done{false};
        std::thread plugger([&] {
            for (int i = 0; i < 300; ++i) {
                sim.plug(remote);
                sim.unplug(remote);
            }
            done = true;
        });
        Device device(&state);
        while (!done)
            device.isPresent(HidIds::kVendor, HidIds::kRemote2);
        plugger.join();
        QCOMPARE(sim.openChannelCount(), 0);
    }

    void firstMatchInEnumerationOrder()
    {
        Bench bench;
        HidSimulator &sim = bench.sim;
        UsbState &state = bench.state;
        Device &device = bench.device;
        auto a = sim.addRemote1();
        auto b = sim.addRemote1();
        a->setProductString(QStringLiteral("first"));
        b->setProductString(QStringLiteral("second"));
        b->setReportSize(64);
        sim.plug(a);
        sim.plug(b);
        QVERIFY(device.openRemote(HidIds::kVendor, HidIds::kRemote1));
        QCOMPARE(state.productString(), QStringLiteral("first"));
        QCOMPARE(state.remoteReportSize.load(), 8);
        device.closeRemote();

        // Plugged in again, a comes after b.
        sim.unplug(a);
        sim.plug(a);
        QVERIFY(device.openRemote(HidIds::kVendor, HidIds::kRemote1));
        QCOMPARE(state.productString(), QStringLiteral("second"));
        QCOMPARE(state.remoteReportSize.load(), 64);
        device.closeRemote();
        QCOMPARE(sim.openChannelCount(), 0);
    }

    void remoteAndReceiverOnOneDevice()
    {
        Bench bench;
        HidSimulator &sim = bench.sim;
        UsbState &state = bench.state;
        Device &device = bench.device;
        auto remote = sim.addRemote2();
        sim.plug(remote);
        QVERIFY(device.openRemote(HidIds::kVendor, HidIds::kRemote2));
        QVERIFY(device.openReceiver(HidIds::kVendor, HidIds::kRemote2));
        QCOMPARE(state.receiverReportSize.load(), 8);
        QCOMPARE(state.productString(), QStringLiteral("Simulated Remote 2"));
        QCOMPARE(sim.openChannelCount(), 4);
        QVERIFY(state.remoteReadHandle() && state.remoteWriteHandle());
        QVERIFY(state.receiverReadHandle() && state.receiverWriteHandle());

        // An infrared report reaches both read channels.
        remote->injectDurations({900, -1500});
        HidReport a{}, b{};
        QCOMPARE(device.readReport(state.receiverReadHandle(), 8, a, 1000), 9);
        QCOMPARE(device.readReport(state.remoteReadHandle(), 8, b, 1000), 9);
        QCOMPARE(a, b);
        QCOMPARE(a[1], quint8(0x2D));
        QCOMPARE(a[2], quint8(0x4B));

        device.closeReceiver();
        QVERIFY(!state.receiverReadHandle() && !state.receiverWriteHandle());
        QVERIFY(state.remoteReadHandle());
        QCOMPARE(sim.openChannelCount(), 2);
        device.closeRemote();
        QCOMPARE(sim.openChannelCount(), 0);
    }

    void unsupportedReportSizeRefused_data()
    {
        QTest::addColumn<int>("size");
        QTest::addRow("65 payload bytes") << 65;
        QTest::addRow("no payload") << 0;
    }
    void unsupportedReportSizeRefused()
    {
        QFETCH(int, size);
        Bench bench;
        HidSimulator &sim = bench.sim;
        UsbState &state = bench.state;
        Device &device = bench.device;
        auto remote = sim.addRemote1();
        remote->setReportSize(size);
        sim.plug(remote);
        QVERIFY(device.isPresent(HidIds::kVendor, HidIds::kRemote1));
        QVERIFY(!device.openRemote(HidIds::kVendor, HidIds::kRemote1));
        QVERIFY(!state.remoteReadHandle());
        QVERIFY(!state.remoteWriteHandle());
        QCOMPARE(sim.openChannelCount(), 0);
    }

    void informationRead_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("reports");
        QTest::addRow("8 bytes") << 8 << 32;
        QTest::addRow("64 bytes") << 64 << 4;
    }
    void informationRead()
    {
        QFETCH(int, size);
        QFETCH(int, reports);
        Bench bench;
        HidSimulator &sim = bench.sim;
        UsbState &state = bench.state;
        Device &device = bench.device;
        sim.setStrict(true);
        auto remote = sim.addRemote1();
        remote->setReportSize(size);
        QByteArray info(256, '\0');
        for (int i = 0; i < 256; ++i)
            info[i] = static_cast<char>(255 - i);
        remote->setInformation(info);
        sim.plug(remote);
        QVERIFY(device.openRemote(HidIds::kVendor, HidIds::kRemote1));
        const int n = state.remoteReportSize.load();
        QCOMPARE(n, size);

        HidReport out{};
        for (const auto &c : {std::array<quint8, 2>{0x03, 0x01}, {0x03, 0x00}, {0x04, 0}, {0x88, 0}}) {
            setCommandReport(out, c[0], c[1]);
            QVERIFY(device.writeReport(state.remoteWriteHandle(), n, out));
        }
        QByteArray got;
        HidReport in{};
        for (int r = 0; r < 256 / n; ++r) {
            QCOMPARE(device.readReport(state.remoteReadHandle(), n, in, 1000), n + 1);
            got.append(reinterpret_cast<const char *>(in.data()) + 1, n);
        }
        QCOMPARE(256 / n, reports);
        QCOMPARE(got, info);
        // Nothing more comes.
        QCOMPARE(device.readReport(state.remoteReadHandle(), n, in, 20), 0);
        QVERIFY2(sim.violations().isEmpty(), qPrintable(sim.violations().join('\n')));
    }

    void closedChannelFailsCleanly()
    {
        Bench bench;
        HidSimulator &sim = bench.sim;
        UsbState &state = bench.state;
        Device &device = bench.device;
        auto remote = sim.addRemote2();
        sim.plug(remote);
        QVERIFY(device.openRemote(HidIds::kVendor, HidIds::kRemote2));
        HidHandle write = state.remoteWriteHandle();
        HidHandle read = state.remoteReadHandle();
        device.closeRemote();
        QVERIFY(!device.writeReport(state.remoteWriteHandle(), 8, command(0x03, 0x01)));
        HidReport in{};
        in.fill(0x5A);
        QCOMPARE(device.readReport(state.remoteReadHandle(), 8, in, 10), -1);

        // A channel closed under a holder fails too, and leaves the buffer alone.
        write->close();
        read->close();
        QVERIFY(!device.writeReport(write, 8, command(0x03, 0x01)));
        QCOMPARE(device.readReport(read, 8, in, 10), -1);
        HidReport untouched{};
        untouched.fill(0x5A);
        QCOMPARE(in, untouched);
        QVERIFY(!remote->programmingMode());

        // Sizes outside 1..64 are refused before any transfer.
        QVERIFY(device.openRemote(HidIds::kVendor, HidIds::kRemote2));
        QVERIFY(!device.writeReport(state.remoteWriteHandle(), 0, command(0x03, 0x01)));
        QVERIFY(!device.writeReport(state.remoteWriteHandle(), 65, command(0x03, 0x01)));
        QCOMPARE(device.readReport(state.remoteReadHandle(), 65, in, 10), -1);
        QVERIFY(!remote->programmingMode());
    }

    void readTimeOutLeavesBuffer()
    {
        Bench bench;
        HidSimulator &sim = bench.sim;
        UsbState &state = bench.state;
        Device &device = bench.device;
        auto remote = sim.addRemote2();
        sim.plug(remote);
        QVERIFY(device.openReceiver(HidIds::kVendor, HidIds::kRemote2));
        HidReport in{};
        in.fill(0x77);
        QCOMPARE(device.readReport(state.receiverReadHandle(), 8, in, 15), 0);
        HidReport untouched{};
        untouched.fill(0x77);
        QCOMPARE(in, untouched);
    }

    void unplugMidTransfer()
    {
        Bench bench;
        HidSimulator &sim = bench.sim;
        UsbState &state = bench.state;
        Device &device = bench.device;
        auto remote = sim.addRemote2();
        sim.plug(remote);
        QVERIFY(device.openRemote(HidIds::kVendor, HidIds::kRemote2));

        // A read waiting for an answer ends as soon as the device goes.
        QElapsedTimer t;
        t.start();
        std::thread unplugger([&] {
            QThread::msleep(50);
            sim.unplug(remote);
        });
        HidReport in{};
        const int got = device.readReport(state.remoteReadHandle(), 8, in, 10000);
        unplugger.join();
        QCOMPARE(got, -1);
        QVERIFY2(t.elapsed() < 5000, "the read waited for its whole time-out");

        // Half-way through an information read: the rest fails, nothing hangs.
        sim.plug(remote);
        QVERIFY(device.openRemote(HidIds::kVendor, HidIds::kRemote2));
        QVERIFY(device.writeReport(state.remoteWriteHandle(), 8, command(0xA6, 0x80)));
        QCOMPARE(device.readReport(state.remoteReadHandle(), 8, in, 1000), 9);
        sim.unplug(remote);
        QCOMPARE(device.readReport(state.remoteReadHandle(), 8, in, 1000), -1);
        QVERIFY(!device.writeReport(state.remoteWriteHandle(), 8, command(0xA6, 0x81)));
        // Plugged in again, the old channels stay dead; a new open works.
        sim.plug(remote);
        QCOMPARE(device.readReport(state.remoteReadHandle(), 8, in, 10), -1);
        QVERIFY(device.openRemote(HidIds::kVendor, HidIds::kRemote2));
        QVERIFY(device.writeReport(state.remoteWriteHandle(), 8, command(0xA6, 0x80)));
        QCOMPARE(device.readReport(state.remoteReadHandle(), 8, in, 1000), 9);
    }

    void shortAndGarbageAnswers()
    {
        Bench bench;
        HidSimulator &sim = bench.sim;
        UsbState &state = bench.state;
        Device &device = bench.device;
        auto remote = sim.addRemote1();
        sim.plug(remote);
        QVERIFY(device.openRemote(HidIds::kVendor, HidIds::kRemote1));
        HidReport in{};

        // A page of 64 bytes comes as eight reports.
        remote->setFault(SimulatedDevice::Fault::Short);
        QVERIFY(device.writeReport(state.remoteWriteHandle(), 8, command(0x06, 0)));
        for (int r = 0; r < 8; ++r) {
            const int got = device.readReport(state.remoteReadHandle(), 8, in, 1000);
            QVERIFY2(got > 0 && got < 9, qPrintable(QString::number(got)));
        }

        remote->setFault(SimulatedDevice::Fault::Garbage);
        QVERIFY(device.writeReport(state.remoteWriteHandle(), 8, command(0x06, 0)));
        int nonZero = 0;
        for (int r = 0; r < 8; ++r) {
            QCOMPARE(device.readReport(state.remoteReadHandle(), 8, in, 1000), 9);
            nonZero += int(std::count_if(in.begin() + 1, in.begin() + 9, [](quint8 b) { return b != 0; }));
        }
        QVERIFY(nonZero > 0); // the page itself is all zeros

        remote->setFault(SimulatedDevice::Fault::Silent);
        QVERIFY(device.writeReport(state.remoteWriteHandle(), 8, command(0x06, 0)));
        QCOMPARE(device.readReport(state.remoteReadHandle(), 8, in, 20), 0);
    }
};

QTEST_GUILESS_MAIN(TestDevice)
#include "tst_device.moc"
