// The capture thread on the simulated receiver: infrared durations injected
// into the device arrive in the capture store as closed messages.
#include "CaptureStressPlan.h"
#include "IrFrames.h"
#include "ir/CaptureStore.h"
#include "usb/Device.h"
#include "usb/sim/HidSimulator.h"
#include "usb/sim/SimulatedRemote2.h"
#include "usb/UsbReceiverDots.h"
#include "usb/UsbState.h"

#include <QElapsedTimer>
#include <QtTest>

#include <memory>
#include <thread>

namespace {

using namespace IrFrames;

struct Rig
{
    UsbState state;
    HidSimulator simulator;
    std::shared_ptr<SimulatedRemote2> remote;
    Device device{&state};
    std::unique_ptr<CaptureStore> store = std::make_unique<CaptureStore>();
    std::unique_ptr<UsbReceiverDots> thread;

    // What the connection thread does when the receiver appears.
    explicit Rig(bool ready = true)
    {
        state.setBackend(&simulator);
        remote = simulator.addRemote2();
        simulator.plug(remote);
        device.openReceiver(HidIds::kVendor, HidIds::kRemote2);
        state.setReceiverKind(QStringLiteral("receiver2"));
        state.usbReady.store(ready);
        thread = std::make_unique<UsbReceiverDots>(&state, store.get());
        thread->start();
    }
    ~Rig() { thread->stop(); }

    Handed collect(int count, int timeoutMs = 5000) { return IrFrames::collect(*store, count, timeoutMs); }
};

} // namespace

class TestReceiverDots : public QObject
{
    Q_OBJECT

private slots:
    void framesArriveAsClosedMessages_data()
    {
        QTest::addColumn<QVector<int>>("durations");
        QTest::addColumn<bool>("paced");
        QTest::addColumn<Handed>("handed");

        const QVector<int> nec = necFrame(0xF708FB04);
        const QVector<int> rc5 = rc5Frame(1, 5, 12);
        // The NEC lead-in closes messages on gaps above 10001 us; the RC5 frame
        // after it is closed by the window after a pause.
        QTest::addRow("NEC then RC5") << nec + QVector<int>{40000} + rc5 << false
                                      << Handed{row(0, nec), row(1, rc5)};
        QTest::addRow("RC5 then NEC") << rc5 + QVector<int>{89000} + nec << false
                                      << Handed{row(0, rc5), row(1, nec)};
        // In real time: each frame closed by a pause, the long silence between
        // them starts a new capture.
        QTest::addRow("two key presses, paced") << nec + QVector<int>{600000} + rc5 << true
                                                << Handed{row(0, nec), row(0, rc5)};
    }

    void framesArriveAsClosedMessages()
    {
        QFETCH(QVector<int>, durations);
        QFETCH(bool, paced);
        QFETCH(Handed, handed);
        Rig rig;
        if (paced)
            rig.remote->injectDurationsPaced(durations);
        else
            rig.remote->injectDurations(durations);
        QCOMPARE(rig.collect(handed.size()), handed);
    }

    void frameShapes()
    {
        QCOMPARE(necFrame(0).size(), 67);
        // 1 1 0 00101 001100: a mark first, then runs of one or two halves.
        QCOMPARE(rc5Frame(0, 5, 12), (QVector<int>{889, 889, 1778, 889, 889, 889, 889, 1778, 1778, 1778, 1778, 889,
                                                    889, 1778, 889, 889, 1778, 889, 889}));
    }

    // While an information read or a request holds the device, its reports
    // are read and thrown away.
    void reportsDroppedWhileNotReady()
    {
        Rig rig(false);
        rig.remote->injectDurations(necFrame(0x12345678) + QVector<int>{40000});
        QVERIFY(rig.collect(1, 400).isEmpty());
        QCOMPARE(rig.store->counters().idx, 0);
        QCOMPARE(rig.store->durationRow(0).value(0), 0);

        rig.state.usbReady.store(true);
        const QVector<int> nec = necFrame(0x0BF40EF1);
        rig.remote->injectDurations(nec + QVector<int>{40000});
        QCOMPARE(rig.collect(1), Handed{row(0, nec)});
    }

    void unpluggedReceiverStoresNothing()
    {
        Rig rig;
        rig.simulator.unplug(rig.remote);
        rig.remote->injectDurations(necFrame(1) + QVector<int>{40000});
        QVERIFY(rig.collect(1, 300).isEmpty());
    }

    // A receiver that sends without pause: durations of every size, the
    // largest among them, restarts and gaps. The thread keeps up, the store
    // stays within its rows, a tick never hands on more than ten messages.
    void floodStaysBounded()
    {
        Rig rig;
        QRandomGenerator rng(31337);
        int handed = 0;
        const auto handOn = [&](int n) {
            QVERIFY(n >= 0 && n < CaptureStore::kMessages);
            ++handed;
        };
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 1500) {
            QVector<int> burst;
            for (int i = 0; i < 400; ++i) {
                switch (rng.bounded(12)) {
                case 0:
                    burst << 65535 * 20;
                    break;
                case 1:
                    burst << 20 * rng.bounded(65536);
                    break;
                case 2:
                    burst << 30000;
                    break;
                default:
                    burst << 20 * (1 + rng.bounded(200));
                }
            }
            rig.remote->injectDurations(burst);
            QVERIFY(rig.store->tick(handOn) <= CaptureStore::kMessages);
            QThread::msleep(5);
        }
        QVERIFY(handed > 0);
        // Read under the store's lock: the capture thread is still writing.
        for (int n = 0; n < CaptureStore::kMessages; ++n) {
            const QVector<int> stored = rig.store->durationRow(n);
            for (int k = CaptureStore::kMaxDurations + 1; k < CaptureStore::kRowLength; ++k)
                QCOMPARE(stored[k], 0);
        }
        QVERIFY(rig.thread->isRunning());
    }

    // The capture thread and the window tick race over thousands of frames;
    // the window is driven directly. Every frame the store's rules keep is
    // handed on exactly once, whole, in order.
    void racingTheWindow()
    {
        using namespace CaptureStressPlan;
        QRandomGenerator rng(0xC0FFEE);
        Options options;
        options.frames = 2000;
        options.maxLength = 10;
        options.countCloses = false;
        const QVector<Capture> captures = plan(rng, options);
        QVector<int> expected;
        for (const Capture &c : captures) {
            expected += c.kept;
            // The simulated receiver holds 64 reports; two captures must fit.
            QVERIFY(SimulatedRemote2::receiverPayloads(c.durations).size() <= 32);
        }

        Rig rig;
        Checker checker(*rig.store);
        std::atomic<bool> allowPause{false};
        std::atomic<bool> done{false};
        std::atomic<int> stuckAt{-1};
        std::thread sender([&] {
            int keptSoFar = 0;
            unsigned generation = rig.store->counters().generation;
            for (const Capture &c : captures) {
                rig.remote->injectDurations(c.durations);
                keptSoFar += c.kept.size();
                if (!waitForWindow(*rig.store, checker, c, ++generation, keptSoFar, allowPause)) {
                    stuckAt.store(keptSoFar);
                    break;
                }
            }
            done.store(true);
        });
        runWindow(*rig.store, checker, allowPause, done);
        sender.join();

        QCOMPARE(stuckAt.load(), -1);
        QVERIFY2(checker.faults.isEmpty(), qPrintable(checker.faults.mid(0, 5).join(QLatin1Char('\n'))));
        QCOMPARE(checker.handed, expected);
    }
};

QTEST_GUILESS_MAIN(TestReceiverDots)
#include "tst_receiverdots.moc"
