// The information block's rules without a device: where report bytes land,
// which values are reported as impossible, the customer-number rule, and the
// request mailbox.
#include "usb/DeviceInfo.h"
#include "usb/UsbRequest.h"

#include <QtTest>

class TestDeviceInfo : public QObject
{
    Q_OBJECT

private slots:
    void storeReport_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("first"); // first index written
        QTest::addColumn<int>("written");
        QTest::addRow("first report") << 64 << 0 << 0 << 8 << 8 << 0 << 8;
        QTest::addRow("last report of a page") << 64 << 0 << 7 << 8 << 8 << 56 << 8;
        QTest::addRow("one report fills the page") << 64 << 0 << 0 << 64 << 64 << 0 << 64;
        QTest::addRow("offset") << 384 << 256 << 1 << 8 << 8 << 264 << 8;
        QTest::addRow("short report") << 64 << 0 << 2 << 8 << 3 << 16 << 3;
        QTest::addRow("cut at the limit") << 64 << 0 << 1 << 48 << 48 << 48 << 16;
        QTest::addRow("wholly past the limit") << 64 << 0 << 2 << 32 << 32 << 64 << 0;
        QTest::addRow("count beyond the report size") << 64 << 0 << 0 << 8 << 60 << 0 << 8;
    }
    void storeReport()
    {
        QFETCH(int, limit);
        QFETCH(int, offset);
        QFETCH(int, r);
        QFETCH(int, n);
        QFETCH(int, count);
        QFETCH(int, first);
        QFETCH(int, written);
        // A guard zone after the limit shows any write past it.
        std::array<int, 512> target;
        target.fill(-1);
        HidReport report{};
        for (int i = 1; i < HidLimits::kReportBuffer; ++i)
            report[i] = static_cast<quint8>(i);
        DeviceInfo::storeReport(target.data(), limit, offset, r, n, report, count);
        for (int i = 0; i < int(target.size()); ++i) {
            const bool inside = i >= first && i < first + written;
            QCOMPARE(target[i], inside ? i - first + 1 : -1);
        }
    }

    void problems_data()
    {
        QTest::addColumn<bool>("remote2");
        QTest::addColumn<int>("pageSize");
        QTest::addColumn<int>("slotCount");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("fine") << true << 64 << 4 << QStringList{};
        QTest::addRow("page size 0") << false << 0 << 8
                                     << QStringList{"page size 0: the slots cannot be read or written page by page"};
        QTest::addRow("no slots") << true << 64 << 0 << QStringList{"the remote reports no slots"};
        QTest::addRow("16 header pages") << true << 64 << 16 << QStringList{};
        // Worked around (see notes), not a problem.
        QTest::addRow("17 header pages") << true << 64 << 17 << QStringList{};
        QTest::addRow("remote2 with 48 capacities") << true << 64 << 48 << QStringList{};
        QTest::addRow("remote2 with 49 capacities")
            << true << 64 << 49 << QStringList{"slot count 49: the slot capacities run past the information page"};
        QTest::addRow("remote1 page size 128") << false << 128 << 8 << QStringList{};
        QTest::addRow("remote1 page size 96")
            << false << 96 << 8 << QStringList{"page size 96 does not divide the 1024-byte slot halves"};
        QTest::addRow("remote2 page size 96") << true << 96 << 4 << QStringList{};
        QTest::addRow("remote2 page size 60")
            << true << 60 << 4 << QStringList{"page size 60 is not a whole number of 8-byte reports"};
        QTest::addRow("remote1 with 14 records") << false << 64 << 14 << QStringList{};
        QTest::addRow("remote1 with 15 records")
            << false << 64 << 15 << QStringList{"slot count 15: the slot records run past the information block"};
        QTest::addRow("both") << false << 0 << 0
                              << QStringList{"page size 0: the slots cannot be read or written page by page",
                                             "the remote reports no slots"};
    }
    void problems()
    {
        QFETCH(bool, remote2);
        QFETCH(int, pageSize);
        QFETCH(int, slotCount);
        QFETCH(QStringList, expected);
        DeviceInfo info;
        info.entries[3] = pageSize;
        info.entries[31] = slotCount;
        QCOMPARE(info.problems(remote2 ? DeviceInfo::Generation::Remote2 : DeviceInfo::Generation::Remote1), expected);
        QCOMPARE(info.headerPagesToRead(), std::min(slotCount, 16));
    }

    void notes()
    {
        DeviceInfo info;
        info.entries[3] = 64;
        info.entries[31] = 17;
        QCOMPARE(info.notes(DeviceInfo::Generation::Remote2),
                 QStringList{"slot count 17 is above the 16 slot header pages; only the first 16 are read"});
        QVERIFY(info.notes(DeviceInfo::Generation::Remote1).isEmpty());
        info.entries[31] = 16;
        QVERIFY(info.notes(DeviceInfo::Generation::Remote2).isEmpty());
    }

    void customerNumber_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("reported");
        QTest::addColumn<bool>("replaces");
        QTest::addRow("differs") << "12" << "7" << true;
        QTest::addRow("same") << "7" << "7" << false;
        QTest::addRow("empty is never replaced") << "" << "7" << false;
        QTest::addRow("null is never replaced") << QString() << "0" << false;
        QTest::addRow("compared as text") << "07" << "7" << true;
    }
    void customerNumber()
    {
        QFETCH(QString, stored);
        QFETCH(QString, reported);
        QFETCH(bool, replaces);
        QCOMPARE(DeviceInfo::replacesCustomerId(stored, reported), replaces);
    }

    void entriesOutsideReadAsZero()
    {
        DeviceInfo info;
        info.entries.fill(9);
        QCOMPARE(info.at(-1), 0);
        QCOMPARE(info.at(DeviceInfo::kSize), 0);
        QCOMPARE(info.at(DeviceInfo::kSize - 1), 9);
    }

    // One entry, not a queue: a later post replaces a waiting one, and a post
    // made while a request runs is carried out next.
    void mailbox()
    {
        std::atomic<bool> flag{false};
        UsbRequest mailbox(flag);
        UsbRequestData got;
        quint64 ticket = 0;
        QVERIFY(!mailbox.take(&got, &ticket));

        UsbRequestData a;
        a.command = UsbCommand::SignalNonModulated;
        UsbRequestData b;
        b.command = UsbCommand::SignalModulated;
        b.nPult = 3;
        b.slotFlashData[2] = QStringLiteral("DELETE");
        mailbox.post(a);
        mailbox.post(b);
        QVERIFY(flag.load());
        QVERIFY(mailbox.take(&got, &ticket));
        QCOMPARE(got.command, UsbCommand::SignalModulated);
        QCOMPARE(got.nPult, 3);
        QCOMPARE(got.slotFlashData[2], QStringLiteral("DELETE"));

        // Posted while b runs.
        mailbox.post(a);
        mailbox.finish(ticket);
        QVERIFY(flag.load());
        QVERIFY(mailbox.take(&got, &ticket));
        QCOMPARE(got.command, UsbCommand::SignalNonModulated);
        mailbox.finish(ticket);
        QVERIFY(!flag.load());
        QVERIFY(!mailbox.take(&got, &ticket));
    }

    // The busy rule: while a request is pending, a programming request is
    // refused and leaves the pending one alone; transmit and receiver-mode
    // requests are never refused. Without a pending request all are taken.
    void busyRule_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("refusedWhileBusy");
        QTest::addRow("transmit pressed") << 2 << false;
        QTest::addRow("transmit released") << 3 << false;
        QTest::addRow("remote1 slot write") << 81 << true;
        QTest::addRow("slot clear") << 82 << true;
        QTest::addRow("macro page") << 129 << true;
        QTest::addRow("remote2 slot write") << 165 << true;
        QTest::addRow("simple slots") << 166 << true;
        QTest::addRow("non-modulated") << 9805 << false;
        QTest::addRow("modulated") << 9825 << false;
    }
    void busyRule()
    {
        QFETCH(int, command);
        QFETCH(bool, refusedWhileBusy);
        std::atomic<bool> flag{false};
        UsbRequest mailbox(flag);
        UsbRequestData r;
        r.command = command;
        QVERIFY(mailbox.post(r));
        UsbRequestData pending;
        pending.command = UsbCommand::TransmitPressed;
        quint64 ticket = 0;
        QVERIFY(mailbox.take(nullptr, &ticket));
        mailbox.finish(ticket);
        QVERIFY(mailbox.post(pending));
        QCOMPARE(mailbox.post(r), !refusedWhileBusy);
        UsbRequestData got;
        QVERIFY(mailbox.take(&got, nullptr));
        QCOMPARE(got.command, refusedWhileBusy ? int(UsbCommand::TransmitPressed) : command);
    }

    void discardDropsThePending()
    {
        std::atomic<bool> flag{false};
        UsbRequest mailbox(flag);
        UsbRequestData r;
        r.command = UsbCommand::SignalModulated;
        mailbox.post(r);
        quint64 ticket = 0;
        QVERIFY(mailbox.take(nullptr, &ticket));
        mailbox.discard();
        QVERIFY(!flag.load());
        // The old ticket no longer matches anything.
        mailbox.finish(ticket);
        QVERIFY(!mailbox.take(nullptr, nullptr));
    }
};

QTEST_GUILESS_MAIN(TestDeviceInfo)
#include "tst_deviceinfo.moc"
