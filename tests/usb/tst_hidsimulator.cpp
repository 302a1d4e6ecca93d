// The simulated devices from the host's side of the channels: the answers to
// every command, plug and unplug, strict mode, the trace, and infrared
// injection into the receiver.
#include "usb/HidReport.h"
#include "usb/HidSimulator.h"
#include "usb/SimulatedRemote1.h"
#include "usb/SimulatedRemote2.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text));
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
