#include "CaptureStressPlan.h"

#include "ir/CaptureStore.h"

#include <QDeadlineTimer>

#include <chrono>
#include <thread>

namespace CaptureStressPlan {

QVector<int> frame(int seq, int length)
{
    QVector<int> d;
    d << 200 + 20 * length << 200 + 20 * (seq % 128) << 200 + 20 * ((seq / 128) % 128);
    for (int k = 3; k < length; ++k)
        d << 100 + 20 * ((seq * 31 + k * 7) % 95);
    return d;
}

QVector<Capture> plan(QRandomGenerator &rng, const Options &options)
{
    QVector<Capture> captures;
    int seq = 0;
    while (seq < options.frames) {
        Capture c;
        c.durations << 300020 + 20 * rng.bounded(50000);
        const int frames = 1 + rng.bounded(12);
        int messages = 0;
        for (int f = 0; f < frames && seq < options.frames; ++f, ++seq) {
            if (rng.bounded(6) == 0) // noise: dropped, not a message
                c.durations << QVector<int>(1 + rng.bounded(2), 500) << 30000 + 20 * rng.bounded(10000);
            const bool last = f + 1 == frames || seq + 1 == options.frames;
            const bool countClosed = options.countCloses && !last && rng.bounded(8) == 0;
            const int length = countClosed ? CaptureStore::kMaxDurations : 3 + rng.bounded(options.maxLength - 2);
            c.durations << frame(seq, length);
            c.lastKept = messages++ < CaptureStore::kMessages;
            if (c.lastKept)
                c.kept << seq;
            c.lastLength = length;
            c.endsInGap = !last || rng.bounded(3) != 0;
            // A frame of 131 durations closes by count: the next one follows at once.
            if (!countClosed && c.endsInGap)
                c.durations << 30000 + 20 * rng.bounded(11000);
        }
        captures << c;
    }
    return captures;
}

void Checker::check(int n)
{
    // From here the receiver side may start the next capture: the copy is ours.
    taken.fetch_add(1);
    const int *row = m_store.captureSnapshot[n];
    QVector<int> raw;
    for (int k = 0; k < CaptureStore::kRowLength && row[k] != 0; ++k)
        raw << (k % 2 == 0 ? row[k] : -row[k] - 20);
    if (raw.size() < 3) {
        faults << QStringLiteral("message %1 holds %2 durations").arg(n).arg(raw.size());
        return;
    }
    const int length = (raw[0] - 200) / 20;
    const int seq = (raw[1] - 200) / 20 + 128 * ((raw[2] - 200) / 20);
    if (raw != frame(seq, length))
        faults << QStringLiteral("message %1 is not frame %2 intact").arg(n).arg(seq);
    if (n != 0 && n != m_expectedN)
        faults << QStringLiteral("message %1 handed on after message %2").arg(n).arg(m_expectedN - 1);
    m_expectedN = n + 1;
    handed << seq;
    if (m_rng.bounded(16) == 0) // a slow recogniser now and then
        std::this_thread::sleep_for(std::chrono::microseconds(50));
}

bool waitForWindow(const CaptureStore &store, Checker &checker, const Capture &c, unsigned generation,
                   int keptSoFar, std::atomic<bool> &allowPause, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    const int kept = c.kept.size();
    bool ok = true;
    for (;;) {
        const CaptureStore::Counters k = store.counters();
        if (deadline.hasExpired() || (k.generation == generation && k.messageCount > kept)) {
            ok = false;
            break;
        }
        if (k.generation != generation) {
            std::this_thread::yield();
            continue;
        }
        const bool openLastFrameIn = !c.endsInGap && c.lastKept && k.messageCount == kept - 1 &&
                                     k.idx == c.lastLength;
        if (k.messageCount == kept || k.messageCount == CaptureStore::kMessages || openLastFrameIn)
            break;
        std::this_thread::yield();
    }
    allowPause.store(true);
    while (ok && checker.taken.load() < keptSoFar) {
        if (store.counters().messageCount > kept || deadline.hasExpired())
            ok = false;
        std::this_thread::yield();
    }
    allowPause.store(false);
    return ok;
}

void runWindow(CaptureStore &store, Checker &checker, const std::atomic<bool> &allowPause,
               const std::atomic<bool> &done)
{
    const auto handOn = [&](int n) { checker.check(n); };
    while (!done.load()) {
        const int quiet = store.counters().quietTicks;
        if (!allowPause.load() && (quiet == CaptureStore::kPauseTicks - 1 || quiet == CaptureStore::kPauseTicks)) {
            std::this_thread::yield();
            continue;
        }
        store.tick(handOn);
    }
    store.tick(handOn);
}

} // namespace CaptureStressPlan
