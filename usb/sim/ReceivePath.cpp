#include "usb/sim/ReceivePath.h"

#include "ir/CaptureStore.h"
#include "usb/ReceiverReport.h"
#include "usb/sim/SimulatedRemote2.h"

#include <QElapsedTimer>

#include <algorithm>
#include <memory>

ReceivePath::ReceivePath(ReceiveMode mode) : m_mode(mode)
{
}

ReceivedPress ReceivePath::run(const QVector<int> &durationsUs, int tickPhaseUs)
{
    ReceivedPress press;
    // The simulated remote's replay of one key press: the pause before it,
    // then its durations paced into reports as the device sends them.
    const QVector<int> timeline =
        SimulatedRemote2::replayTimeline({durationsUs}, SimulatedRemote2::kMinReplayGapMs);
    const QList<SimulatedRemote2::TimedPayload> reports = SimulatedRemote2::pacedPayloads(timeline);
    if (reports.isEmpty())
        return press;

    auto store = std::make_unique<CaptureStore>();
    const auto handOn = [&](int n) {
        QElapsedTimer clock;
        clock.start();
        m_protocol.recognizeFrame(*store, n, m_mode);
        press.keyCode = Protocol::resolveKeyCode(*store, n);
        press.messageNanoseconds.append(clock.nsecsElapsed());
        press.recognizerIds = QVector<int>(store->messageRecognizerId, store->messageRecognizerId + n + 1);
        ++press.messages;
    };

    // Reports and window ticks in the order of the signal's time line; a
    // report that leaves at the moment of a tick is in the store before it.
    qint64 tickUs = std::clamp(tickPhaseUs, 0, kTickUs);
    int next = 0;
    for (;;) {
        while (next < reports.size() && reports[next].offsetUs <= tickUs) {
            const ReceiverDurations d = ReceiverReport::decode(
                reinterpret_cast<const std::uint8_t *>(reports[next].payload.constData()));
            store->appendDurations(d.values.data(), d.count);
            ++next;
        }
        store->tick(handOn);
        tickUs += kTickUs;
        if (next < reports.size())
            continue;
        // All received: done once every closed message is handed on and no
        // pause close can follow any more.
        const CaptureStore::Counters c = store->counters();
        if (c.processedCount >= c.messageCount && (c.quietTicks > CaptureStore::kPauseTicks || c.idx == 0))
            break;
    }
    press.restarts = std::max(0, static_cast<int>(store->counters().generation) - 1);
    return press;
}
