// The connection thread against the simulated devices, with fast timings:
// signal order and report trace of each connection, the information block
// and slot header pages it reads, devices that come, go, come back, stop
// answering or report impossible values.
#include "ConnectionRig.h"
#include "WarningCounter.h"
#include "usb/Device.h"
#include "usb/DeviceInfo.h"
#include "usb/sim/SimulatedRemote1.h"
#include "usb/sim/SimulatedRemote2.h"

#include <QElapsedTimer>
#include <QMutexLocker>
#include <QtTest>

#include <deque>
#include <mutex>

namespace {

// A device byte pattern that differs between blocks and positions.
QByteArray pattern(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 37 + seed * 11 + 5) & 0xFF);
    return bytes;
}

constexpr int kUnread = -1; // no device byte has this value

DeviceInfo unreadInfo()
{
    DeviceInfo info;
    info.entries.fill(kUnread);
    return info;
}

SlotHeaderPages unreadPages()
{
    SlotHeaderPages pages;
    pages.fill(kUnread);
    return pages;
}

QVector<int> entries(const DeviceInfo &info, int from, int count)
{
    return QVector<int>(info.entries.begin() + from, info.entries.begin() + from + count);
}

QVector<int> bytesOf(const QByteArray &bytes)
{
    QVector<int> out;
    for (char c : bytes)
        out.append(static_cast<quint8>(c));
    return out;
}

const QStringList kStart = {"updateReceiver1", "updateUsb1"};

// The slot headers of the simulated remote1 read after its information
// block: two pages of 64 bytes from the first page of each slot's first half.
QStringList remote1HeaderReads()
{
    QStringList lines;
    for (int s = 0; s < 8; ++s)
        for (int p = 0; p < 2; ++p)
            lines << (32 * s + p == 0 ? QStringLiteral("remote1.2 > 00 06 [9]") // trailing zeros are not shown
                                      : QStringLiteral("remote1.2 > 00 06 %1 [9]").arg(32 * s + p, 2, 16, QLatin1Char('0')))
                  << QStringLiteral("remote1.3 < 8 reports");
    return lines;
}
const QStringList kRemote1Read = {"updateUsb2", "updateCustomerNumber(4)", "updateUsb5", "updateUsb3"};
const QStringList kRemote2Read = {"updateUsb2", "updateCustomerNumber(4)", "updateUsb6", "updateUsb7", "updateUsb3"};

// A remote1 whose information answer stops after a few reports: the
// simulator's devices answer whole blocks, so this one is scripted here.
class StallingRemote : public HidBackend
{
public:
    explicit StallingRemote(int answered) : m_answered(answered) {}

    QList<HidDeviceEntry> enumerate(int vendorId, int productId) override
    {
        if (vendorId == HidIds::kVendor && productId == HidIds::kRemote1)
            return {{QStringLiteral("stall:0"), vendorId, productId}};
        return {};
    }
    HidHandle open(const QString &) override { return std::make_shared<Channel>(this); }

    std::mutex mutex;
    std::deque<QByteArray> queue;
    int waitedMs = 0; // summed time-outs of reads that got nothing
    int requests = 0; // information requests (0x88) received
    bool reading = false;

private:
    class Channel : public HidChannel
    {
    public:
        explicit Channel(StallingRemote *owner) : m_owner(owner) {}
        int inputReportLength() const override { return 9; }
        int outputReportLength() const override { return 9; }
        QString productString() const override { return QStringLiteral("Stalling"); }
        int write(const quint8 *data, int length) override
        {
            QMutexLocker lock(&m_owner->mutex);
            if (length > 1 && data[1] == HidCommand::kInfoRequest2) {
                ++m_owner->requests;
                for (int r = 0; r < m_owner->m_answered; ++r)
                    m_owner->queue.push_back(QByteArray(1, '\0') + pattern(8, r));
            }
            return length;
        }
        int read(quint8 *data, int length, int timeoutMs) override
        {
            QMutexLocker lock(&m_owner->mutex);
            if (!m_owner->queue.empty()) {
                const QByteArray r = m_owner->queue.front();
                m_owner->queue.pop_front();
                std::copy_n(r.constData(), std::min<int>(length, r.size()), data);
                return std::min<int>(length, r.size());
            }
            if (timeoutMs > 0) {
                m_owner->reading = true;
                lock.unlock();
                QThread::msleep(static_cast<unsigned long>(timeoutMs));
                lock.relock();
                m_owner->waitedMs += timeoutMs;
            }
            return 0;
        }
        void close() override {}

    private:
        StallingRemote *m_owner;
    };

    const int m_answered;
};

} // namespace

class TestUsbConnection : public QObject
{
    Q_OBJECT

private slots:
    // One connection of each kind, from the first look to the quiet cycles
    // after it: the signals in order and every report on the bus.
    void connection_data()
    {
        QTest::addColumn<QStringList>("devices");
        QTest::addColumn<QStringList>("signalOrder");
        QTest::addColumn<QStringList>("trace");
        QTest::addColumn<QString>("remoteKind");
        QTest::addColumn<QString>("receiverKind");

        QTest::addRow("no device") << QStringList{} << kStart << QStringList{} << "" << "";
        QTest::addRow("remote1") << QStringList{"remote1"} << kStart + kRemote1Read
                                 << QStringList{"remote1.2 > 00 03 01 [9]", "remote1.2 > 00 03 [9]",
                                                "remote1.2 > 00 04 [9]", "remote1.2 > 00 88 [9]",
                                                "remote1.3 < 32 reports"} +
                                        remote1HeaderReads()
                                 << "remote1" << "";
        // The remote is opened and read first, then the same device is opened
        // again as receiver.
        QTest::addRow("remote2 and receiver2")
            << QStringList{"remote2"} << kStart + kRemote2Read + QStringList{"updateReceiver2"}
            << QStringList{"remote2.2 > 00 03 01 [9]", "remote2.2 > 00 03 [9]",    "remote2.2 > 00 a6 80 [9]",
                           "remote2.3 < 16 reports",   "remote2.2 > 00 a6 81 [9]", "remote2.3 < 16 reports",
                           "remote2.2 > 00 a6 [9]",    "remote2.3 < 8 reports",    "remote2.2 > 00 a6 01 [9]",
                           "remote2.3 < 8 reports",    "remote2.2 > 00 a6 02 [9]", "remote2.3 < 8 reports",
                           "remote2.2 > 00 a6 03 [9]", "remote2.3 < 8 reports",    "remote2.2 > 00 98 19 [9]",
                           "remote2.6 > 00 98 19 [9]"}
            << "remote2" << "receiver2";
        // With both, the first generation is the remote and the second only
        // the receiver.
        QTest::addRow("remote1 and receiver2")
            << QStringList{"remote1", "remote2"} << kStart + kRemote1Read + QStringList{"updateReceiver2"}
            << QStringList{"remote1.2 > 00 03 01 [9]", "remote1.2 > 00 03 [9]", "remote1.2 > 00 04 [9]",
                           "remote1.2 > 00 88 [9]", "remote1.3 < 32 reports"} +
                   remote1HeaderReads() + QStringList{"remote2.3 > 00 98 19 [9]"}
            << "remote1" << "receiver2";
    }
    void connection()
    {
        QFETCH(QStringList, devices);
        QFETCH(QStringList, signalOrder);
        QFETCH(QStringList, trace);
        QFETCH(QString, remoteKind);
        QFETCH(QString, receiverKind);

        ConnectionRig rig;
        for (const QString &d : devices) {
            if (d == "remote1")
                rig.sim.plug(rig.sim.addRemote1());
            else
                rig.sim.plug(rig.sim.addRemote2());
        }
        rig.connection.start();
        QVERIFY(rig.waitForEvents(signalOrder.size()));
        QCOMPARE(rig.eventsDuring(20), signalOrder);
        QCOMPARE(rig.traceLines(), trace);
        QCOMPARE(rig.state.remoteKind(), remoteKind);
        QCOMPARE(rig.state.receiverKind(), receiverKind);
        QCOMPARE(rig.state.usbReady.load(), !receiverKind.isEmpty());
        QVERIFY2(rig.sim.violations().isEmpty(), qPrintable(rig.sim.violations().join('\n')));
        // Two channels per open device, no probe left behind. Each look
        // opens a probe for a moment, so the thread is stopped before the
        // count: a count taken while it runs can catch one mid-look.
        rig.connection.stop();
        QCOMPARE(rig.sim.openChannelCount(), 2 * (int(!remoteKind.isEmpty()) + int(!receiverKind.isEmpty())));
    }

    // The information block lands entry by entry; a new connection's block
    // keeps nothing of an earlier device's (what the device does not send is
    // 0).
    void remote1Information_data()
    {
        QTest::addColumn<int>("reportSize");
        QTest::addRow("8 bytes per report") << 8;
        QTest::addRow("64 bytes per report") << 64;
    }
    void remote1Information()
    {
        QFETCH(int, reportSize);
        ConnectionRig rig;
        rig.state.setDeviceInfo(unreadInfo());
        auto remote = rig.sim.addRemote1();
        remote->setReportSize(reportSize);
        QByteArray info = pattern(256, 1);
        info[3] = 64;
        info[11] = 4;
        info[31] = 8;
        remote->setInformation(info);
        rig.sim.plug(remote);
        rig.connection.start();
        QVERIFY(rig.waitForEvents(kStart.size() + kRemote1Read.size()));

        const DeviceInfo got = rig.state.deviceInfo();
        QCOMPARE(entries(got, 0, 256), bytesOf(info));
        QCOMPARE(entries(got, 256, 128), QVector<int>(128, 0));
        QCOMPARE(rig.traceLines().at(4), QStringLiteral("remote1.3 < %1 reports").arg(256 / reportSize));
        QCOMPARE(rig.state.remoteReportSize.load(), reportSize);
    }

    void remote2Information_data()
    {
        QTest::addColumn<int>("reportSize");
        QTest::addColumn<bool>("macroPage");
        QTest::addRow("8 bytes per report") << 8 << true;
        QTest::addRow("64 bytes per report") << 64 << true;
        // Each report fills the next reportSize bytes of a header page.
        QTest::addRow("32 bytes per report") << 32 << true;
        QTest::addRow("no macro page") << 8 << false;
    }
    void remote2Information()
    {
        QFETCH(int, reportSize);
        QFETCH(bool, macroPage);
        ConnectionRig rig;
        rig.state.setDeviceInfo(unreadInfo());
        rig.state.setSlotHeaderPages(unreadPages());
        auto remote = rig.sim.addRemote2();
        remote->setReportSize(reportSize);
        QByteArray page = pattern(128, 2);
        page[3] = 64;
        page[11] = 4;
        page[29] = macroPage ? 1 : 0;
        page[31] = 3;
        for (int s = 0; s < 3; ++s)
            page[33 + 2 * s] = 2;
        remote->setInformationPage(page);
        const QByteArray macro = pattern(128, 3);
        remote->setMacroPage(macro);
        for (int s = 0; s < 3; ++s)
            remote->setSlotHeader(s, pattern(64, 10 + s));
        rig.sim.plug(remote);
        rig.connection.start();
        QVERIFY(rig.waitForEvents(kStart.size() + kRemote2Read.size() + 1));

        const DeviceInfo got = rig.state.deviceInfo();
        QCOMPARE(entries(got, 0, 128), bytesOf(page));
        QCOMPARE(entries(got, 128, 128), QVector<int>(128, 0));
        QCOMPARE(entries(got, 256, 128), macroPage ? bytesOf(macro) : QVector<int>(128, 0));
        const SlotHeaderPages pages = rig.state.slotHeaderPages();
        for (int s = 0; s < 3; ++s)
            QCOMPARE(QVector<int>(pages.begin() + 64 * s, pages.begin() + 64 * (s + 1)), bytesOf(pattern(64, 10 + s)));
        QCOMPARE(QVector<int>(pages.begin() + 64 * 3, pages.end()), QVector<int>(64 * 13, kUnread));
        QCOMPARE(rig.traceLines().contains(QStringLiteral("remote2.2 > 00 a6 81 [%1]").arg(reportSize + 1)), macroPage);
        QVERIFY2(rig.sim.violations().isEmpty(), qPrintable(rig.sim.violations().join('\n')));
    }

    // The program keeps 16 slot header pages: a larger count reads 16, no
    // more, and says so (a count of 0 is a block not taken over, below).
    void slotCounts_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("pagesRead");
        QTest::addColumn<QString>("warning");
        QTest::addRow("one") << 1 << 1 << "";
        QTest::addRow("all pages") << 16 << 16 << "";
        QTest::addRow("one beyond") << 17 << 16 << "slot count 17 is above the 16 slot header pages";
        QTest::addRow("as many as the page holds") << 48 << 16 << "slot count 48 is above the 16 slot header pages";
    }
    void slotCounts()
    {
        QFETCH(int, count);
        QFETCH(int, pagesRead);
        QFETCH(QString, warning);
        WarningCounter warnings(warning.isEmpty() ? QStringLiteral("Device information:") : warning);
        ConnectionRig rig;
        rig.state.setSlotHeaderPages(unreadPages());
        auto remote = rig.sim.addRemote2();
        QByteArray page = remote->informationPage();
        page[31] = static_cast<char>(count);
        remote->setInformationPage(page);
        for (int s = 0; s < 16; ++s)
            remote->setSlotHeader(s, pattern(64, 20 + s));
        rig.sim.plug(remote);
        rig.connection.start();
        QVERIFY(rig.waitForEvents(kStart.size() + kRemote2Read.size() + 1));

        int headerReads = 0;
        for (const QString &line : rig.traceLines()) {
            if (line.startsWith("remote2.2 > 00 a6") && !line.contains(" 80 ") && !line.contains(" 81 "))
                ++headerReads;
        }
        QCOMPARE(headerReads, pagesRead);
        const SlotHeaderPages pages = rig.state.slotHeaderPages();
        for (int s = 0; s < 16; ++s) {
            const QVector<int> expected = s < pagesRead ? bytesOf(pattern(64, 20 + s)) : QVector<int>(64, kUnread);
            QCOMPARE(QVector<int>(pages.begin() + 64 * s, pages.begin() + 64 * (s + 1)), expected);
        }
        QCOMPARE(warnings.count(), warning.isEmpty() ? 0 : 1);
        QCOMPARE(rig.state.remoteKind(), QStringLiteral("remote2"));
    }

    // A block that fails its checks (impossible values, noise, no answer)
    // is not taken over: nothing is published or signalled for the remote,
    // the log says why once, and the block is read again at every look until
    // it passes; then the remote connects as any other.
    void blocksNotTakenOver_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("entry"); // -1: a fault of the device instead
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("warning");
        const int none = int(SimulatedDevice::Fault::None);
        QTest::addRow("remote1 page size 0") << "remote1" << 3 << 0 << none << "page size 0";
        QTest::addRow("remote2 page size 0") << "remote2" << 3 << 0 << none << "page size 0";
        QTest::addRow("remote1 page size 96") << "remote1" << 3 << 96 << none << "does not divide";
        QTest::addRow("remote1 no slots") << "remote1" << 31 << 0 << none << "no slots";
        QTest::addRow("remote2 no slots") << "remote2" << 31 << 0 << none << "no slots";
        QTest::addRow("remote1 records past the block")
            << "remote1" << 31 << 15 << none << "run past the information block";
        QTest::addRow("remote2 capacities past the page")
            << "remote2" << 31 << 49 << none << "run past the information page";
        QTest::addRow("remote1 garbage") << "remote1" << -1 << 0 << int(SimulatedDevice::Fault::Garbage) << "";
        QTest::addRow("remote2 garbage") << "remote2" << -1 << 0 << int(SimulatedDevice::Fault::Garbage) << "";
        QTest::addRow("remote1 silent") << "remote1" << -1 << 0 << int(SimulatedDevice::Fault::Silent)
                                        << "stopped answering at report 1 of 32 of the information block";
        QTest::addRow("remote2 silent") << "remote2" << -1 << 0 << int(SimulatedDevice::Fault::Silent)
                                        << "stopped answering at report 1 of 16 of information page 0x80";
        QTest::addRow("remote2 short reports") << "remote2" << -1 << 0 << int(SimulatedDevice::Fault::Short)
                                               << "report 1 of 16 of information page 0x80 is short (4 of 9 bytes)";
    }
    void blocksNotTakenOver()
    {
        QFETCH(QString, device);
        QFETCH(int, entry);
        QFETCH(int, value);
        QFETCH(int, fault);
        QFETCH(QString, warning);
        // Noise gives another reason at every read, and each is told.
        WarningCounter warnings(warning.isEmpty() ? QStringLiteral("is not taken over: ") : warning);
        UsbConnection::Timings t = ConnectionRig::fastTimings();
        t.readTimeoutMs = 50;
        ConnectionRig rig(t);
        rig.state.setDeviceInfo(unreadInfo());
        std::shared_ptr<SimulatedDevice> remote;
        QByteArray good;
        const auto setBlock = [&](const QByteArray &block) {
            if (device == "remote1")
                std::static_pointer_cast<SimulatedRemote1>(remote)->setInformation(block);
            else
                std::static_pointer_cast<SimulatedRemote2>(remote)->setInformationPage(block);
        };
        if (device == "remote1") {
            remote = rig.sim.addRemote1();
            good = std::static_pointer_cast<SimulatedRemote1>(remote)->information();
        } else {
            remote = rig.sim.addRemote2();
            good = std::static_pointer_cast<SimulatedRemote2>(remote)->informationPage();
        }
        if (entry >= 0) {
            QByteArray bad = good;
            bad[entry] = static_cast<char>(value);
            setBlock(bad);
        }
        remote->setFault(SimulatedDevice::Fault(fault));
        rig.sim.plug(remote);
        rig.connection.start();

        const QStringList quiet = device == "remote1" ? kStart : kStart + QStringList{"updateReceiver2"};
        QVERIFY(rig.waitForEvents(quiet.size()));
        // Several looks, each reading the block again.
        const QRegularExpression modeOn("^" + device + "\\.\\d+ > 00 03 01 ");
        QTRY_VERIFY(rig.traceLines().filter(modeOn).size() >= 4);
        QCOMPARE(rig.eventsDuring(5), quiet);
        QCOMPARE(rig.state.remoteKind(), QString(""));
        QCOMPARE(rig.state.deviceInfo().entries, unreadInfo().entries);
        if (warning.isEmpty())
            QVERIFY(warnings.count() >= 1);
        else
            QCOMPARE(warnings.count(), 1);

        rig.takeEvents();
        remote->setFault(SimulatedDevice::Fault::None);
        setBlock(good);
        const QStringList read = device == "remote1" ? kRemote1Read : kRemote2Read;
        QVERIFY(rig.waitForEvents(read.size()));
        QCOMPARE(rig.eventsDuring(5), read);
        QCOMPARE(rig.state.remoteKind(), device);
        QCOMPARE(rig.state.deviceInfo().at(7), device == "remote1" ? 21 : 33);
    }

    // remote1 is the remote and remote2, silent, the receiver. When remote1
    // goes, remote2's read gets no answer: remote1's block must not be
    // published for remote2, nor its customer number, device id or type.
    void anotherDevicesBlockIsNotPublished()
    {
        UsbConnection::Timings t = ConnectionRig::fastTimings();
        t.readTimeoutMs = 50;
        ConnectionRig rig(t);
        auto remote1 = rig.sim.addRemote1();
        auto remote2 = rig.sim.addRemote2();
        remote2->setFault(SimulatedDevice::Fault::Silent);
        rig.sim.plug(remote1);
        rig.sim.plug(remote2);
        rig.connection.start();
        const QStringList first = kStart + kRemote1Read + QStringList{"updateReceiver2"};
        QVERIFY(rig.waitForEvents(first.size()));
        QCOMPARE(rig.eventsDuring(5), first);
        QCOMPARE(rig.state.deviceInfo().at(7), 21);
        rig.takeEvents();

        rig.sim.unplug(remote1);
        QVERIFY(rig.waitForEvents(1));
        QCOMPARE(rig.eventsDuring(20), QStringList{"updateUsb4"});
        QCOMPARE(rig.state.remoteKind(), QString(""));
        rig.takeEvents();

        remote2->setFault(SimulatedDevice::Fault::None);
        QVERIFY(rig.waitForEvents(kRemote2Read.size()));
        QCOMPARE(rig.eventsDuring(5), kRemote2Read);
        const DeviceInfo info = rig.state.deviceInfo();
        QCOMPARE(info.deviceId(), 33);
        QCOMPARE(info.remoteTypeId(), 2);
        // Nothing of remote1's block stays in remote2's.
        QCOMPARE(entries(info, 128, 128), QVector<int>(128, 0));
    }

    // Present but not to be opened (no rights to the device node): the
    // window is told, the log says so once, and the remote connects once it
    // can be opened; gone again, the window shows no remote.
    void refusedOpen_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addRow("remote1") << "remote1";
        QTest::addRow("remote2") << "remote2";
    }
    void refusedOpen()
    {
        QFETCH(QString, device);
        WarningCounter warnings(QStringLiteral("is present but cannot be opened"));
        ConnectionRig rig;
        const std::shared_ptr<SimulatedDevice> remote = rig.addRemote(device);
        remote->setRefusesOpen(true);
        rig.sim.plug(remote);
        rig.connection.start();
        const QStringList refused = kStart + QStringList{"updateUsbRefused(" + device + ")"};
        QVERIFY(rig.waitForEvents(refused.size()));
        QCOMPARE(rig.eventsDuring(20), refused);
        QCOMPARE(warnings.count(), 1);
        QCOMPARE(rig.state.remoteKind(), QString(""));
        QVERIFY(rig.sim.trace().isEmpty());
        rig.takeEvents();

        rig.sim.unplug(remote);
        QVERIFY(rig.waitForEvents(1));
        QCOMPARE(rig.eventsDuring(10), QStringList{"updateUsb4"});
        rig.takeEvents();

        // Plugged again with the rights: connected; told once per run.
        remote->setRefusesOpen(false);
        rig.sim.plug(remote);
        const QStringList read = device == "remote1" ? kRemote1Read : kRemote2Read + QStringList{"updateReceiver2"};
        QVERIFY(rig.waitForEvents(read.size()));
        QCOMPARE(rig.eventsDuring(5), read);
        QCOMPARE(warnings.count(), 1);
    }

    // Unplugged and plugged back between two looks: the old channels fail,
    // so the device is closed, opened anew and read again, and the window
    // hears of it as of a device plugged in.
    void fastReplug_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QStringList>("again");
        QTest::addRow("remote1") << "remote1" << kRemote1Read;
        QTest::addRow("remote2") << "remote2" << kRemote2Read + QStringList{"updateReceiver2"};
    }
    void fastReplug()
    {
        QFETCH(QString, device);
        QFETCH(QStringList, again);
        ConnectionRig rig;
        const std::shared_ptr<SimulatedDevice> remote = rig.addRemote(device);
        rig.sim.plug(remote);
        rig.connection.start();
        QTRY_COMPARE(rig.state.remoteKind(), device);
        QTRY_COMPARE(rig.state.receiverKind(), device == "remote2" ? QStringLiteral("receiver2") : QString(""));
        rig.eventsDuring(5);
        const QStringList firstTrace = rig.traceLines();
        rig.takeEvents();
        {
            // The thread looks at the bus only with this lock held.
            QMutexLocker lock(&rig.state.linkLock);
            rig.sim.unplug(remote);
            rig.sim.plug(remote);
        }
        QVERIFY(rig.waitForEvents(again.size()));
        QCOMPARE(rig.eventsDuring(10), again);
        QCOMPARE(rig.state.remoteKind(), device);
        // The second connection sends what the first did, on new channels.
        const QStringList trace = rig.traceLines();
        QCOMPARE(trace.size(), 2 * firstTrace.size());
        QVERIFY(trace.mid(firstTrace.size()) != firstTrace);
        QCOMPARE(rig.sim.openChannelCount(), device == "remote2" ? 4 : 2);
        QVERIFY2(rig.sim.violations().isEmpty(), qPrintable(rig.sim.violations().join('\n')));
    }

    // Gone for good: closed, and the window is told.
    void unplugged_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QStringList>("gone");
        QTest::addRow("remote1") << "remote1" << QStringList{"updateUsb4"};
        QTest::addRow("remote2") << "remote2" << QStringList{"updateUsb4", "updateReceiver1"};
    }
    void unplugged()
    {
        QFETCH(QString, device);
        QFETCH(QStringList, gone);
        ConnectionRig rig;
        const std::shared_ptr<SimulatedDevice> remote = rig.addRemote(device);
        rig.sim.plug(remote);
        rig.connection.start();
        QTRY_COMPARE(rig.state.remoteKind(), device);
        rig.eventsDuring(5);
        rig.takeEvents();
        rig.sim.unplug(remote);
        QVERIFY(rig.waitForEvents(gone.size()));
        QCOMPARE(rig.eventsDuring(10), gone);
        QCOMPARE(rig.state.remoteKind(), QString(""));
        QCOMPARE(rig.state.receiverKind(), QString(""));
        QCOMPARE(rig.sim.openChannelCount(), 0);
    }

    void unplugAndSwitch()
    {
        ConnectionRig rig;
        auto remote1 = rig.sim.addRemote1();
        auto remote2 = rig.sim.addRemote2();
        rig.sim.plug(remote2);
        rig.connection.start();
        QVERIFY(rig.waitForEvents(kStart.size() + kRemote2Read.size() + 1));
        rig.takeEvents();

        // A first-generation remote takes over; the second generation stays
        // the receiver.
        rig.sim.plug(remote1);
        QVERIFY(rig.waitForEvents(kRemote1Read.size()));
        QCOMPARE(rig.eventsDuring(5), kRemote1Read);
        QCOMPARE(rig.state.remoteKind(), QStringLiteral("remote1"));
        QCOMPARE(rig.state.receiverKind(), QStringLiteral("receiver2"));
        rig.takeEvents();

        // Without it the second generation is the remote again.
        rig.sim.unplug(remote1);
        QVERIFY(rig.waitForEvents(kRemote2Read.size()));
        QCOMPARE(rig.eventsDuring(5), kRemote2Read);
        QCOMPARE(rig.state.remoteKind(), QStringLiteral("remote2"));
        rig.takeEvents();

        rig.sim.unplug(remote2);
        QVERIFY(rig.waitForEvents(2));
        QCOMPARE(rig.eventsDuring(5), (QStringList{"updateUsb4", "updateReceiver1"}));
        QCOMPARE(rig.state.remoteKind(), QString(""));
        QCOMPARE(rig.state.receiverKind(), QString(""));
        QCOMPARE(rig.sim.openChannelCount(), 0);
    }

    // Removed during the programming-mode pause: the read runs to its end
    // without the device, and the remote is not taken over: no signal, no
    // block, and the next looks find nothing.
    void removedDuringTheRead()
    {
        UsbConnection::Timings t = ConnectionRig::fastTimings();
        t.programmingModeMs = 300;
        WarningCounter warnings(QStringLiteral("is not taken over: the remote took no report 0x03"));
        ConnectionRig rig(t);
        rig.state.setDeviceInfo(unreadInfo());
        auto remote = rig.sim.addRemote1();
        rig.sim.plug(remote);
        rig.connection.start();
        QTRY_VERIFY(!rig.sim.trace().isEmpty());
        rig.sim.unplug(remote);
        QTRY_COMPARE(warnings.count(), 1);
        QCOMPARE(rig.eventsDuring(5), kStart);
        QCOMPARE(rig.state.deviceInfo().entries, unreadInfo().entries);
        QCOMPARE(rig.traceLines(), QStringList{"remote1.2 > 00 03 01 [9]"});
        QCOMPARE(warnings.count(), 1);
        QCOMPARE(rig.state.remoteKind(), QString(""));
    }

    // A remote that stops answering in the middle of its information block
    // costs one time-out per read, not one per missing report, and is not
    // taken over (its customer number neither).
    void stopsAnsweringMidRead()
    {
        StallingRemote stalling(5);
        UsbConnection::Timings t = ConnectionRig::fastTimings();
        t.readTimeoutMs = 200;
        WarningCounter warnings(QStringLiteral("stopped answering at report 6 of 32"));
        ConnectionRig rig(t);
        rig.state.setBackend(&stalling);
        rig.state.setDeviceInfo(unreadInfo());
        rig.connection.start();
        QTRY_VERIFY([&] {
            QMutexLocker lock(&stalling.mutex);
            return stalling.requests >= 3;
        }());
        rig.connection.stop();
        QCOMPARE(rig.events(), kStart);
        QCOMPARE(rig.state.deviceInfo().entries, unreadInfo().entries);
        {
            QMutexLocker lock(&stalling.mutex);
            // One time-out of 200 ms (in slices) per read; a wait per
            // missing report would be 27 of them.
            QVERIFY2(stalling.waitedMs > 0 && stalling.waitedMs < 400 * stalling.requests,
                     qPrintable(QStringLiteral("%1 ms in %2 reads").arg(stalling.waitedMs).arg(stalling.requests)));
        }
        // Told once, though read again at every look.
        QCOMPARE(warnings.count(), 1);
    }

    // Asked to stop while it waits for a silent device, the thread ends at
    // once, not after the read's time-out.
    void stopsDuringARead()
    {
        StallingRemote stalling(0);
        UsbConnection::Timings t = ConnectionRig::fastTimings();
        t.readTimeoutMs = 60000;
        ConnectionRig rig(t);
        rig.state.setBackend(&stalling);
        rig.connection.start();
        QTRY_VERIFY([&] {
            QMutexLocker lock(&stalling.mutex);
            return stalling.reading;
        }());
        QElapsedTimer timer;
        timer.start();
        rig.connection.stop();
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(rig.events(), kStart);
    }

    // A device the program cannot work with is not claimed as connected, and
    // the failed open is told once, not every second.
    void unopenableRemote()
    {
        WarningCounter warnings(QStringLiteral("could not be opened"));
        ConnectionRig rig;
        auto remote = rig.sim.addRemote1();
        remote->setReportSize(65);
        rig.sim.plug(remote);
        rig.connection.start();
        QVERIFY(rig.waitForEvents(kStart.size()));
        QCOMPARE(rig.eventsDuring(20), kStart);
        QCOMPARE(rig.state.remoteKind(), QString(""));
        QCOMPARE(warnings.count(), 1);
        QVERIFY(rig.sim.trace().isEmpty());
    }

    // A failed transfer on a device's current channels marks it lost, from
    // whichever thread; one on the channels of an earlier connection does not.
    void failedTransferMarksLost()
    {
        HidSimulator sim;
        UsbState state;
        state.setBackend(&sim);
        Device device(&state);
        auto remote = sim.addRemote2();
        sim.plug(remote);
        QVERIFY(device.openReceiver(HidIds::kVendor, HidIds::kRemote2));
        QVERIFY(device.openRemote(HidIds::kVendor, HidIds::kRemote2));
        const HidHandle oldReceiver = state.receiverReadHandle();
        sim.unplug(remote);
        sim.plug(remote);
        QVERIFY(!state.receiverLost.load());
        HidReport r{};
        QCOMPARE(device.readReport(oldReceiver, 8, r, 0), -1);
        QVERIFY(state.receiverLost.load());
        QVERIFY(!state.remoteLost.load());
        QVERIFY(!device.drainReports(state.remoteReadHandle(), 8));
        QVERIFY(state.remoteLost.load());

        QVERIFY(device.openReceiver(HidIds::kVendor, HidIds::kRemote2));
        QVERIFY(!state.receiverLost.load());
        QCOMPARE(device.readReport(oldReceiver, 8, r, 0), -1);
        QVERIFY(!state.receiverLost.load());
        QVERIFY(device.drainReports(state.receiverWriteHandle(), 8));
    }
};

QTEST_GUILESS_MAIN(TestUsbConnection)
#include "tst_usbconnection.moc"
