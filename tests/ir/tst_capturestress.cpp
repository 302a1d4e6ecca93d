#include "ir/CaptureStore.h"
#include "ir/Message.h"
#include "usb/ReceiverReport.h"

#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QVector>
#include <QtTest>

#include <atomic>
#include <memory>
#include <thread>

// The receiver side and the window tick race over thousands of frames. Each
// frame carries its sequence number and length in its durations, so the
// window can tell that what it was handed is one whole frame, and which.
namespace {

constexpr int kFrames = 6000;

// Durations of frame seq: the first three carry length and number, the rest a
// pattern of the number. All stay below 3000 us, under every gap threshold a
// lead-in can choose here, and none is a lead-in with a count limit.
QVector<int> frame(int seq, int length)
{
    QVector<int> d;
    d << 200 + 20 * length << 200 + 20 * (seq % 128) << 200 + 20 * ((seq / 128) % 128);
    for (int k = 3; k < length; ++k)
        d << 100 + 20 * ((seq * 31 + k * 7) % 95);
    return d;
}

struct Capture
{
    QVector<int> durations; // starting with the long pause that opens it
    QVector<int> kept;      // sequence numbers the store keeps, in order
    bool endsInGap = true;
};

// Turns durations into receiver payloads as the device sends them: single
// bytes, escapes for longer values (never starting where its value bytes would
// not fit), zero padding here and there.
QVector<std::array<std::uint8_t, 8>> reports(const QVector<int> &durations, QRandomGenerator &rng)
{
    QVector<std::array<std::uint8_t, 8>> out;
    std::array<std::uint8_t, 8> cur{};
    int pos = 0;
    auto flush = [&] {
        out << cur;
        cur = {};
        pos = 0;
    };
    for (int d : durations) {
        const int units = d / 20;
        if (rng.bounded(10) == 0 && pos < 8)
            ++pos; // a padding zero
        if (units >= 1 && units <= 254) {
            if (pos >= 8)
                flush();
            cur[pos++] = static_cast<std::uint8_t>(units);
        } else {
            if (pos > 5)
                flush();
            cur[pos++] = 0xFF;
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

private:
    static QVector<Capture> plan(QRandomGenerator &rng)
    {
        QVector<Capture> captures;
        int seq = 0;
        while (seq < kFrames) {
            Capture c;
            c.durations << 300020 + 20 * rng.bounded(50000);
            const int frames = 1 + rng.bounded(12);
            int messages = 0;
            for (int f = 0; f < frames && seq < kFrames; ++f, ++seq) {
                if (rng.bounded(6) == 0) // noise: dropped, not a message
                    c.durations << QVector<int>(1 + rng.bounded(2), 500) << 30000 + 20 * rng.bounded(10000);
                const bool countClosed = f + 1 < frames && rng.bounded(8) == 0;
                const int length = countClosed ? CaptureStore::kMaxDurations : 3 + rng.bounded(129);
                c.durations << frame(seq, length);
                if (messages++ < CaptureStore::kMessages)
                    c.kept << seq;
                const bool last = f + 1 == frames || seq + 1 == kFrames;
                c.endsInGap = !last || rng.bounded(3) != 0;
                // A frame of 131 durations closes by count: the next one follows at once.
                if (!countClosed && c.endsInGap)
                    c.durations << 30000 + 20 * rng.bounded(11000);
            }
            captures << c;
        }
        return captures;
    }

private slots:
    void leadInsOfThePlanCloseOnGapsOnly()
    {
        // What the frames rely on: whatever lead-in a frame chooses, its own
        // durations neither close it nor hit a count limit.
        for (int length : {3, 64, 131})
            for (int seq = 0; seq < 128 * 128; seq += 7) {
                const QVector<int> d = frame(seq, length);
                CaptureStore store;
                const int three[] = {d[0], d[1], d[2]};
                store.appendDurations(three, 3);
                const CaptureStore::Counters c = store.counters();
                QVERIFY2(c.gapThreshold > 3000, qPrintable(QString::number(seq)));
                QCOMPARE(c.messageLengthLimit, CaptureStore::kNoLengthLimit);
            }
    }

    void everyKeptFrameHandedOnOnceAndIntact()
    {
        QRandomGenerator rng(0x1a2b3c);
        const QVector<Capture> captures = plan(rng);
        QVector<int> expected;
        for (const Capture &c : captures)
            expected += c.kept;

        auto store = std::make_unique<CaptureStore>();
        std::atomic<bool> allowPause{false};
        std::atomic<bool> done{false};
        std::atomic<int> overshoot{-1};
        std::atomic<int> taken{0};

        std::thread receiver([&] {
            QRandomGenerator prng(99);
            int keptSoFar = 0;
            for (const Capture &c : captures) {
                for (const auto &payload : reports(c.durations, prng)) {
                    const ReceiverDurations d = ReceiverReport::decode(payload.data());
                    store->appendDurations(d.values.data(), d.count);
                }
                // The next long pause would drop what the window has not taken
                // yet; a real pause lasts over six ticks, so wait until the
                // window has taken the last message, but not until it has
                // finished with it: the clear races its processing.
                keptSoFar += c.kept.size();
                allowPause.store(true);
                const QDeadlineTimer deadline(10000);
                for (;;) {
                    const CaptureStore::Counters k = store->counters();
                    if (taken.load() >= keptSoFar)
                        break;
                    if (k.messageCount > c.kept.size() || deadline.hasExpired()) {
                        overshoot.store(k.messageCount);
                        break;
                    }
                    std::this_thread::yield();
                }
                allowPause.store(false);
                if (overshoot.load() >= 0)
                    break;
            }
            done.store(true);
        });

        QVector<int> handed;
        QStringList faults;
        int expectedN = 0;
        QRandomGenerator wrng(7);
        auto check = [&](int n) {
            // From here the receiver may start the next capture: the copy is ours.
            taken.fetch_add(1);
            const int *row = store->captureSnapshot[n];
            QVector<int> raw;
            for (int k = 0; row[k] != 0 && k < CaptureStore::kRowLength; ++k)
                raw << (k % 2 == 0 ? row[k] : -row[k] - 20);
            if (raw.size() < 3) {
                faults << QStringLiteral("short message %1").arg(n);
                return;
            }
            const int length = (raw[0] - 200) / 20;
            const int seq = (raw[1] - 200) / 20 + 128 * ((raw[2] - 200) / 20);
            if (raw != frame(seq, length))
                faults << QStringLiteral("message %1 is not frame %2 intact").arg(n).arg(seq);
            if (!handed.isEmpty() && n != 0 && n != expectedN)
                faults << QStringLiteral("message %1 out of order").arg(n);
            expectedN = n + 1;
            handed << seq;
            if (wrng.bounded(16) == 0) // a slow recogniser now and then
                std::this_thread::sleep_for(std::chrono::microseconds(50));
        };
        // Without a pause wanted, the window holds back the tick that would
        // close the open message, so frames are closed only where the plan says.
        while (!done.load()) {
            const int quiet = store->counters().quietTicks;
            if (!allowPause.load() && (quiet == 3 || quiet == 4)) {
                std::this_thread::yield();
                continue;
            }
            store->tick(check);
        }
        receiver.join();
        store->tick(check);

        QCOMPARE(overshoot.load(), -1);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.mid(0, 5).join(QLatin1Char('\n'))));
        QCOMPARE(handed.size(), expected.size());
        QCOMPARE(handed, expected);
        QVERIFY(expected.size() > kFrames / 2);
    }
};

QTEST_GUILESS_MAIN(TestCaptureStress)
#include "tst_capturestress.moc"
