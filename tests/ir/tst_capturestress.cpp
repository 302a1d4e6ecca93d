// The receiver side and the window tick race over thousands of frames, on the
// store alone: a plain thread decodes receiver payloads and appends them as
// the capture thread does, the test thread ticks as the window does.
#include "CaptureStressPlan.h"
#include "ir/CaptureStore.h"
#include "usb/ReceiverReport.h"

#include <QtTest>

#include <array>
#include <memory>
#include <thread>

using namespace CaptureStressPlan;

namespace {

using Payload = std::array<std::uint8_t, ReceiverReport::kPayloadSize>;

// Durations as the device sends them: single bytes, escapes for longer values
// (never starting where their value bytes would not fit), zero padding here
// and there.
QVector<Payload> payloads(const QVector<int> &durations, QRandomGenerator &rng)
{
    QVector<Payload> out;
    Payload cur{};
    int pos = 0;
    auto flush = [&] {
        out << cur;
        cur = {};
        pos = 0;
    };
    for (int d : durations) {
        const int units = d / ReceiverReport::kUnitMicroseconds;
        if (rng.bounded(10) == 0 && pos < ReceiverReport::kPayloadSize)
            ++pos;
        if (units >= 1 && units <= 254) {
            if (pos >= ReceiverReport::kPayloadSize)
                flush();
            cur[pos++] = static_cast<std::uint8_t>(units);
        } else {
            if (pos > ReceiverReport::kPayloadSize - 3)
                flush();
            cur[pos++] = ReceiverReport::kEscape;
            cur[pos++] = static_cast<std::uint8_t>(units >> 8);
            cur[pos++] = static_cast<std::uint8_t>(units & 0xFF);
        }
    }
    if (pos > 0)
        flush();
    return out;
}

} // namespace

class TestCaptureStress : public QObject
{
    Q_OBJECT

private slots:
    void framesCloseOnGapsOnly()
    {
        // What the plan relies on: whatever lead-in a frame chooses, its own
        // durations neither close it nor hit a count limit.
        for (int length : {3, 64, CaptureStore::kMaxDurations})
            for (int seq = 0; seq < 128 * 128; seq += 7) {
                const QVector<int> d = frame(seq, length);
                auto store = std::make_unique<CaptureStore>();
                store->appendDurations(d.constData(), 3);
                const CaptureStore::Counters c = store->counters();
                QVERIFY2(c.gapThreshold > 3000, qPrintable(QString::number(seq)));
                QCOMPARE(c.messageLengthLimit, CaptureStore::kNoLengthLimit);
            }
    }

    void everyKeptFrameHandedOnOnceAndIntact()
    {
        QRandomGenerator rng(0x1a2b3c);
        const QVector<Capture> captures = plan(rng, Options{});
        QVector<int> expected;
        for (const Capture &c : captures)
            expected += c.kept;

        auto store = std::make_unique<CaptureStore>();
        Checker checker(*store);
        std::atomic<bool> allowPause{false};
        std::atomic<bool> done{false};
        std::atomic<int> stuckAt{-1};

        std::thread receiver([&] {
            QRandomGenerator prng(99);
            int keptSoFar = 0;
            unsigned generation = store->counters().generation;
            for (const Capture &c : captures) {
                for (const Payload &p : payloads(c.durations, prng)) {
                    const ReceiverDurations d = ReceiverReport::decode(p.data());
                    store->appendDurations(d.values.data(), d.count);
                }
                keptSoFar += c.kept.size();
                if (!waitForWindow(*store, checker, c, ++generation, keptSoFar, allowPause)) {
                    stuckAt.store(keptSoFar);
                    break;
                }
            }
            done.store(true);
        });
        runWindow(*store, checker, allowPause, done);
        receiver.join();

        QCOMPARE(stuckAt.load(), -1);
        QVERIFY2(checker.faults.isEmpty(), qPrintable(checker.faults.mid(0, 5).join(QLatin1Char('\n'))));
        QCOMPARE(checker.handed, expected);
        QVERIFY(expected.size() > Options{}.frames / 2);
    }
};

QTEST_GUILESS_MAIN(TestCaptureStress)
#include "tst_capturestress.moc"
