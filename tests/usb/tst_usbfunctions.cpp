// The request worker on the simulated devices, running beside the connection
// and capture threads: every command's reports, what the simulated flash holds
// afterwards, the window's signals, the mailbox's carry-next rule, and
// devices unplugged or silenced in the middle of a sequence.
#include "LinkRig.h"
#include "usb/DeviceInfo.h"
#include "usb/sim/SimulatedRemote1.h"
#include "usb/sim/SimulatedRemote2.h"

#include <QtTest>

#include <mutex>

namespace {

const QStringList kRemote1Read = {"updateUsb2", "updateCustomerNumber(4)", "updateUsb5", "updateUsb3"};
const QStringList kRemote2Read = {"updateUsb2", "updateCustomerNumber(4)", "updateUsb6", "updateUsb7", "updateUsb3"};
const QStringList kReread = {"worker:updateUsb2", "worker:updateCustomerNumber(4)", "worker:updateUsb6",
                             "worker:updateUsb7"};

// An image whose byte i is (i * 7 + seed) & 0xFF, as upper-case hex text.
QString image(int bytes, int seed = 3)
{
    QString text;
    for (int i = 0; i < bytes; ++i)
        text += QStringLiteral("%1").arg((i * 7 + seed) & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
    return text;
}

QByteArray bytesOf(const QString &hex)
{
    return QByteArray::fromHex(hex.toLatin1());
}

UsbRequestData request(int command, int nPult = 0, const QString &flashData = QString())
{
    UsbRequestData r;
    r.command = command;
    r.nPult = nPult;
    r.flashData = flashData;
    return r;
}

// Output reports written to a device since the trace was cleared.
int reportsTo(const LinkRig &rig, const QString &device)
{
    int n = 0;
    for (const SimTraceEntry &e : rig.sim.trace())
        n += e.output && e.channel.startsWith(device + '.');
    return n;
}

QStringList failures(const QStringList &events)
{
    return events.filter(QRegularExpression("^worker:updateFunctionsFailed"));
}

} // namespace

class TestUsbFunctions : public QObject
{
    Q_OBJECT

    // Plugs the devices, starts the three threads and waits until the
    // connection thread has read the remote (and opened the receiver).
    static void connect(LinkRig &rig, const QList<std::shared_ptr<SimulatedDevice>> &devices, int events)
    {
        for (const auto &d : devices)
            rig.sim.plug(d);
        rig.start();
        QVERIFY(rig.waitForEvents(events));
        rig.eventsDuring(3);
        rig.takeEvents();
        rig.sim.clearTrace();
    }

private slots:
    // A first-generation slot: both halves hold exactly the image, page by
    // page from the record's first pages; the other slots keep their pages;
    // the header snapshot holds the new header before the window hears of it.
    void remote1SlotWrite_data()
    {
        QTest::addColumn<int>("pageSize");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("imageBytes");
        QTest::addRow("P 64, slot 0") << 64 << 0 << 2048;
        QTest::addRow("P 64, slot 7") << 64 << 7 << 2048;
        QTest::addRow("P 128, slot 5") << 128 << 5 << 2048;
        QTest::addRow("P 8, slot 1") << 8 << 1 << 2048;
        QTest::addRow("short image") << 64 << 2 << 896;
    }
    void remote1SlotWrite()
    {
        QFETCH(int, pageSize);
        QFETCH(int, slot);
        QFETCH(int, imageBytes);
        LinkRig rig;
        auto remote = rig.sim.addRemote1();
        // Halves of 1024 bytes laid out one after the other in page numbers.
        const int pagesPerHalf = 1024 / pageSize;
        QByteArray info = remote->information();
        info[3] = static_cast<char>(pageSize);
        for (int s = 0; s < 8; ++s) {
            info[32 + 16 * s + 3] = static_cast<char>((2 * s * pagesPerHalf) & 0xFF);
            info[32 + 16 * s + 2] = static_cast<char>(((2 * s + 1) * pagesPerHalf) & 0xFF);
        }
        remote->setInformation(info);
        connect(rig, {remote}, 2 + kRemote1Read.size());

        const QString text = image(imageBytes);
        QVERIFY(rig.carryOut(request(UsbCommand::WriteSlotRemote1, slot, text)));
        QCOMPARE(rig.takeEvents(), QStringList{"worker:updateFunctions1"});
        QByteArray expected = bytesOf(text);
        expected.append(QByteArray(2048 - expected.size(), '\0'));
        QByteArray flash;
        for (int k = 0; k < 2 * pagesPerHalf; ++k)
            flash += remote->page((2 * slot * pagesPerHalf + k) & 0xFF);
        QCOMPARE(flash, expected);
        // Only this slot's pages were written.
        for (int p = 0; p < 256 && 16 * pagesPerHalf <= 256; ++p) {
            const int owner = (p / pagesPerHalf) / 2;
            if (owner != slot && pageSize * p < 8 * 2048)
                QCOMPARE(remote->page(p), QByteArray(pageSize, '\0'));
        }
        QVERIFY(!remote->programmingMode());
        const Remote1SlotHeaders headers = rig.state.remote1SlotHeaders();
        QCOMPARE(headers.slotsRead, 8);
        for (int b = 0; b < Remote1SlotHeaders::kBytes; ++b)
            QCOMPARE(headers.at(slot, b), int(quint8(expected.at(b))));
        QVERIFY2(rig.sim.violations().isEmpty(), qPrintable(rig.sim.violations().join('\n')));
    }

    // The clear zeroes the slot's first page only, after reading it.
    void remote1SlotClear()
    {
        LinkRig rig;
        auto remote = rig.sim.addRemote1();
        for (int p = 64; p < 96; ++p)
            remote->setPage(p, bytesOf(image(64, p)));
        connect(rig, {remote}, 2 + kRemote1Read.size());
        QVERIFY(rig.state.remote1SlotHeaders().at(2, 1) != 0);

        QVERIFY(rig.carryOut(request(UsbCommand::DeleteSlot, 2)));
        QCOMPARE(rig.takeEvents(), QStringList{"worker:updateFunctions2"});
        QCOMPARE(remote->page(64), QByteArray(64, '\0'));
        for (int p = 65; p < 96; ++p)
            QCOMPARE(remote->page(p), bytesOf(image(64, p)));
        QCOMPARE(rig.state.remote1SlotHeaders().at(2, 1), 0);
        QCOMPARE(rig.state.remote1SlotHeaders().at(2, 64), int(quint8(bytesOf(image(64, 65)).at(0))));
        const QStringList trace = rig.traceLines();
        QCOMPARE(trace.mid(0, 3), (QStringList{"remote1.2 > 00 03 01 [9]", "remote1.2 > 00 06 40 [9]",
                                               "remote1.3 < 8 reports"}));
        QVERIFY2(rig.sim.violations().isEmpty(), qPrintable(rig.sim.violations().join('\n')));
    }

    // A second-generation slot: the image padded to whole pages, then the
    // remote reopened and read again (its header page is the image's start).
    void remote2SlotWrite()
    {
        LinkRig rig;
        auto remote = rig.sim.addRemote2();
        connect(rig, {remote}, 2 + kRemote2Read.size() + 1);
        const QByteArray before0 = remote->slotData(0);

        const QString text = image(500);
        QVERIFY(rig.carryOut(request(UsbCommand::WriteSlotRemote2, 1, text)));
        QCOMPARE(rig.takeEvents(), kReread);
        QByteArray expected = bytesOf(text);
        expected.append(QByteArray(512 - expected.size(), '\0'));
        QCOMPARE(remote->slotData(1).left(512), expected);
        QCOMPARE(remote->slotData(0), before0);
        const SlotHeaderPages pages = rig.state.slotHeaderPages();
        for (int b = 0; b < 64; ++b)
            QCOMPARE(pages[size_t(64 + b)], int(quint8(expected.at(b))));
        QVERIFY(rig.traceLines().contains("remote2.2 > 00 a5 01 08 [9]"));
        QVERIFY2(rig.sim.violations().isEmpty(), qPrintable(rig.sim.violations().join('\n')));
    }

    // {"NONEED", "DELETE", image, "FALSE"}: slot index 1 cleared, index 2
    // written, 0 and 3 left; the remote read again after each of the two.
    // Messages count slots from 1, as the buttons do.
    void simpleSlots()
    {
        LinkRig rig;
        auto remote = rig.sim.addRemote2();
        remote->setSlotHeader(1, bytesOf("0541424344450000"));
        connect(rig, {remote}, 2 + kRemote2Read.size() + 1);
        const QByteArray before0 = remote->slotData(0), before3 = remote->slotData(3);
        const QByteArray header1 = remote->slotHeader(1);

        UsbRequestData r = request(UsbCommand::WriteSimpleSlots);
        const QString text = image(300);
        r.slotFlashData = {"NONEED", "DELETE", text, "FALSE"};
        QVERIFY(rig.carryOut(r));
        // The slot left out is told, with its reason, after the two rereads.
        QCOMPARE(rig.takeEvents(),
                 kReread + kReread
                     + QStringList{"worker:updateFunctionsFailed(simple slots: 1 written, 1 cleared, 1 skipped\n"
                                   "simple slot 4 skipped: its image could not be built)"});
        QByteArray cleared = header1;
        cleared[0] = 0;
        QCOMPARE(remote->slotHeader(1), cleared);
        QCOMPARE(remote->slotData(2).left(300), bytesOf(text));
        QCOMPARE(remote->slotData(0), before0);
        QCOMPARE(remote->slotData(3), before3);
        QVERIFY2(rig.sim.violations().isEmpty(), qPrintable(rig.sim.violations().join('\n')));
    }

    // The header clear changes byte 0 of the header page, nothing else.
    void remote2HeaderClear()
    {
        LinkRig rig;
        auto remote = rig.sim.addRemote2();
        QByteArray header = bytesOf("054142434445");
        header.append(bytesOf(image(58, 9)));
        remote->setSlotHeader(3, header);
        connect(rig, {remote}, 2 + kRemote2Read.size() + 1);
        const QByteArray rest = remote->slotData(3).mid(64);

        QVERIFY(rig.carryOut(request(UsbCommand::DeleteSlot, 3)));
        QCOMPARE(rig.takeEvents(), kReread);
        QByteArray expected = header;
        expected[0] = 0;
        QCOMPARE(remote->slotHeader(3), expected);
        QCOMPARE(remote->slotData(3).mid(64), rest);
        QCOMPARE(rig.state.slotHeaderPages()[size_t(3 * 64)], 0);
        QCOMPARE(rig.state.slotHeaderPages()[size_t(3 * 64 + 1)], 0x41);
        QVERIFY(!remote->programmingMode());
        QVERIFY2(rig.sim.violations().isEmpty(), qPrintable(rig.sim.violations().join('\n')));
    }

    void macroPage_data()
    {
        QTest::addColumn<int>("characters");
        QTest::addColumn<bool>("written");
        QTest::addRow("256 characters") << 256 << true;
        QTest::addRow("shorter") << 40 << true;
        QTest::addRow("258 characters") << 258 << false;
    }
    void macroPage()
    {
        QFETCH(int, characters);
        QFETCH(bool, written);
        LinkRig rig;
        auto remote = rig.sim.addRemote2();
        connect(rig, {remote}, 2 + kRemote2Read.size() + 1);
        const QByteArray before = remote->macroPage();

        const QString block = image(characters / 2, 11);
        QVERIFY(rig.carryOut(request(UsbCommand::WriteMacroPage, 0, block)));
        const QStringList events = rig.takeEvents();
        if (!written) {
            QCOMPARE(failures(events).size(), 1);
            QVERIFY(events.first().contains("Too many macro keys"));
            QCOMPARE(remote->macroPage(), before);
            QCOMPARE(reportsTo(rig, "remote2"), 0);
            return;
        }
        QCOMPARE(events, kReread);
        QByteArray expected = bytesOf(block);
        expected.append(QByteArray(128 - expected.size(), '\0'));
        QCOMPARE(remote->macroPage(), expected);
        const DeviceInfo info = rig.state.deviceInfo();
        for (int i = 0; i < 128; ++i)
            QCOMPARE(info.at(256 + i), int(quint8(expected.at(i))));
    }

    // The receiver's requests, on a second-generation device and beside a
    // first-generation remote.
    void receiverRequests_data()
    {
        QTest::addColumn<bool>("withRemote1");
        QTest::addRow("remote2 alone") << false;
        QTest::addRow("remote1 is the remote") << true;
    }
    void receiverRequests()
    {
        QFETCH(bool, withRemote1);
        LinkRig rig;
        auto remote2 = rig.sim.addRemote2();
        QList<std::shared_ptr<SimulatedDevice>> devices{remote2};
        if (withRemote1)
            devices.prepend(rig.sim.addRemote1());
        connect(rig, devices, 2 + (withRemote1 ? kRemote1Read.size() : kRemote2Read.size()) + 1);

        const int releases = remote2->keyReleaseCount();
        UsbRequestData press = request(UsbCommand::TransmitPressed);
        press.transmitFrame = "7A02" + image(18);
        QVERIFY(rig.carryOut(press));
        QVERIFY(rig.carryOut(request(UsbCommand::TransmitReleased)));
        QVERIFY(rig.carryOut(request(UsbCommand::SignalNonModulated)));
        QCOMPARE(remote2->receiveMode(), 0x08);
        QVERIFY(rig.carryOut(request(UsbCommand::SignalModulated)));
        QCOMPARE(remote2->receiveMode(), 0x19);
        // 20 bytes make two reports of 8; the last 4 are not sent.
        QCOMPARE(remote2->transmittedFrames(), QList<QByteArray>{bytesOf("7A06" + image(18)).left(16)});
        QCOMPARE(remote2->keyReleaseCount(), releases + 1);
        QCOMPARE(rig.takeEvents(), QStringList{});
        // Only the receiver's channel was written to, in this order.
        const QStringList trace = rig.traceLines();
        QCOMPARE(trace.size(), 6);
        const QString channel = trace.first().section(' ', 0, 0);
        QCOMPARE(trace.filter(QRegularExpression("^" + QRegularExpression::escape(channel) + " > ")).size(), 6);
        QVERIFY(trace[0].contains(" > 00 99 02 "));
        QVERIFY(trace[1].contains(" > 00 7a 06 "));
        QVERIFY(trace[3].contains(" > 00 03 00 "));
        QVERIFY(trace[4].contains(" > 00 98 08 "));
        QVERIFY(trace[5].contains(" > 00 98 19 "));
        QVERIFY2(rig.sim.violations().isEmpty(), qPrintable(rig.sim.violations().join('\n')));
    }

    // A release posted while the press runs is carried out after it, not
    // lost: the mailbox keeps the post made during a request.
    void releasePostedDuringThePress()
    {
        LinkRig rig;
        auto remote2 = rig.sim.addRemote2();
        connect(rig, {remote2}, 2 + kRemote2Read.size() + 1);
        const int releases = remote2->keyReleaseCount();
        UsbRequestData press = request(UsbCommand::TransmitPressed);
        press.transmitFrame = image(16);
        QTRY_VERIFY(rig.functions.polling());
        {
            // The worker takes the press and waits for the link to be free.
            std::lock_guard<std::mutex> hold(rig.state.linkLock);
            QVERIFY(rig.state.request.post(press));
            QThread::msleep(10 * rig.functions.timings().pollMs);
            QVERIFY(rig.state.request.post(request(UsbCommand::TransmitReleased)));
        }
        QTRY_VERIFY(!rig.state.transmitRequested.load());
        QCOMPARE(remote2->transmittedFrames(), QList<QByteArray>{bytesOf(image(16))});
        QCOMPARE(remote2->keyReleaseCount(), releases + 1);
        // The press (its command and two reports), then the release.
        const QStringList trace = rig.traceLines();
        QCOMPARE(trace.size(), 4);
        QVERIFY(trace.first().contains(" > 00 99 02 "));
        QVERIFY(trace.last().contains(" > 00 03 00 "));

    }

    // Unplugged at a chosen report of a slot write: the request ends and is
    // reported (never as written), the threads go on, and the remote plugged
    // in again is read as any other.
    void unpluggedDuringAWrite_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("after"); // reports the device takes before it goes; -1: all but the last
        QTest::addRow("remote1, first page") << "remote1" << 1;
        QTest::addRow("remote1, middle") << "remote1" << 130;
        QTest::addRow("remote1, last report") << "remote1" << -1;
        QTest::addRow("remote2, first page") << "remote2" << 2;
        QTest::addRow("remote2, middle") << "remote2" << 20;
        QTest::addRow("remote2, last report") << "remote2" << -1;
    }
    void unpluggedDuringAWrite()
    {
        QFETCH(QString, device);
        QFETCH(int, after);
        LinkRig rig;
        std::shared_ptr<SimulatedDevice> remote;
        UsbRequestData write;
        int total = 0;
        if (device == "remote1") {
            remote = rig.sim.addRemote1();
            connect(rig, {remote}, 2 + kRemote1Read.size());
            write = request(UsbCommand::WriteSlotRemote1, 4, image(2048));
            total = 2 + 32 * 9; // mode on, 32 pages of a command and 8 reports, mode off
        } else {
            remote = rig.sim.addRemote2();
            connect(rig, {remote}, 2 + kRemote2Read.size() + 1);
            write = request(UsbCommand::WriteSlotRemote2, 2, image(512));
            total = 3 + 8 * 8; // mode on, {0xA5, 2, 8}, 8 pages of 8 reports, mode off
        }
        rig.sim.unplugAfterReports(remote, after < 0 ? total - 1 : after);
        QVERIFY(rig.carryOut(write));
        const QStringList events = rig.takeEvents();
        QCOMPARE(failures(events).size(), 1);
        QVERIFY2(failures(events).first().contains("ended"), qPrintable(failures(events).first()));
        QVERIFY(!events.contains("worker:updateFunctions1"));
        QVERIFY(!events.contains("worker:updateUsb2"));
        // The report after the last one taken failed, and nothing followed it.
        QCOMPARE(reportsTo(rig, device), after < 0 ? total - 1 : after);
        QVERIFY(rig.functions.isRunning());
        QVERIFY(rig.connection.isRunning());

        // Gone for the connection thread too (told to the window); then back
        // and read again.
        // (The connection thread may have looked already, right after the request.)
        QTRY_VERIFY((events + rig.events()).contains("updateUsb4"));
        if (device == "remote2")
            QTRY_VERIFY((events + rig.events()).contains("updateReceiver1"));
        QCOMPARE(rig.state.remoteKind(), QString(""));
        rig.takeEvents();
        rig.sim.plug(remote);
        const QStringList read = device == "remote1" ? kRemote1Read : kRemote2Read;
        QVERIFY(rig.waitForEvents(read.size()));
        QCOMPARE(rig.takeEvents().mid(0, read.size()), read);
        QCOMPARE(rig.state.remoteKind(), device);
    }

    // A remote that falls silent mid-sequence: every read has its time-out,
    // the request ends and says so, and nothing is published.
    void silentDuringTheReread()
    {
        LinkRig rig;
        auto remote = rig.sim.addRemote2();
        connect(rig, {remote}, 2 + kRemote2Read.size() + 1);
        remote->setFault(SimulatedDevice::Fault::Silent);
        const DeviceInfo before = rig.state.deviceInfo();
        QVERIFY(rig.carryOut(request(UsbCommand::DeleteSlot, 0)));
        const QStringList events = rig.takeEvents();
        QCOMPARE(events.size(), 1);
        QVERIFY2(events.first().contains("did not answer"), qPrintable(events.first()));
        QCOMPARE(rig.state.deviceInfo().entries, before.entries);
        remote->setFault(SimulatedDevice::Fault::None);
        QVERIFY(rig.carryOut(request(UsbCommand::DeleteSlot, 0)));
        QCOMPARE(rig.takeEvents(), kReread);
    }

    // Requests the worker must not carry out: refused with a reason, and not
    // one report reaches the remote.
    void refusedRequests_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("nPult");
        QTest::addColumn<QString>("payload");
        QTest::addColumn<QString>("reason");
        QTest::addRow("remote1 slot beyond the count") << "remote1" << 81 << 8 << image(64) << "slot 9 write refused: slot 9 is outside the remote's 8 slots";
        QTest::addRow("remote1 negative slot") << "remote1" << 82 << -1 << QString() << "outside";
        QTest::addRow("remote1 odd image") << "remote1" << 81 << 0 << image(64) + "0" << "odd length 129";
        QTest::addRow("remote1 not hex") << "remote1" << 81 << 0 << "00GG" << "not a hex digit";
        QTest::addRow("remote1 empty image") << "remote1" << 81 << 0 << "" << "the image is empty";
        QTest::addRow("remote1 image too long") << "remote1" << 81 << 0 << image(2049) << "4098 characters";
        QTest::addRow("remote2 slot beyond the count") << "remote2" << 165 << 4 << image(64) << "slot 5 write refused: slot 5 is outside the remote's 4 slots";
        QTest::addRow("remote2 not enough flash") << "remote2" << 165 << 0 << image(2561) << "slot 1 write refused: not enough flash: the image has 5122 characters, slot 1 takes";
        QTest::addRow("remote2 clear beyond the count") << "remote2" << 82 << 9 << QString() << "slot 10 clear refused: slot 10 is outside";
        // The count byte would be cut and the reports after it taken for commands.
        QTest::addRow("frame beyond its count") << "remote2" << int(UsbCommand::TransmitPressed) << 0 << image(256 * 8) << "key transmission refused: the frame has 256 reports";
    }
    void refusedRequests()
    {
        QFETCH(QString, device);
        QFETCH(int, command);
        QFETCH(int, nPult);
        QFETCH(QString, payload);
        QFETCH(QString, reason);
        LinkRig rig;
        if (device == "remote1")
            connect(rig, {rig.sim.addRemote1()}, 2 + kRemote1Read.size());
        else
            connect(rig, {rig.sim.addRemote2()}, 2 + kRemote2Read.size() + 1);
        UsbRequestData posted = request(command, nPult, payload);
        if (command == UsbCommand::TransmitPressed)
            posted.transmitFrame = payload;
        QVERIFY(rig.carryOut(posted));
        const QStringList events = rig.takeEvents();
        QCOMPARE(events.size(), 1);
        QVERIFY2(events.first().contains(reason), qPrintable(events.first()));
        QCOMPARE(reportsTo(rig, device), 0);
    }
};

QTEST_GUILESS_MAIN(TestUsbFunctions)
#include "tst_usbfunctions.moc"
