#include "ir/CaptureStore.h"

#include "ir/Message.h"

#include <algorithm>
#include <iterator>

namespace {
// quietTicks stops counting here instead of overflowing in a long session.
constexpr int kQuietTicksCap = 1000000000;
// The store's own bound on a row's write position; the count close keeps a
// message well below it.
constexpr int kLastWritable = 145;
} // namespace

CaptureStore::CaptureStore()
{
    for (auto &row : captureDurations)
        std::fill(std::begin(row), std::end(row), 0);
    for (auto &row : captureSnapshot)
        std::fill(std::begin(row), std::end(row), 0);
    std::fill(std::begin(messageRecognizerId), std::end(messageRecognizerId), -1);
}

void CaptureStore::appendDurations(const int *durations, int count)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (int i = 0; i < count; ++i)
        applyDuration(durations[i]);
}

void CaptureStore::applyDuration(int d)
{
    if (d <= 0)
        return;
    int &m = messageCount;

    // Count close: the open message is full, d starts the next one.
    int j = idx;
    if ((idx == messageLengthLimit || idx >= kMaxDurations) && m < kMessages) {
        ++m;
        j = 0;
    }

    // Long pause: a new key press, the capture starts again.
    if (d > kLongPause) {
        Message::clearCapture(*this);
        m = 0;
        processedCount = 0;
        gapThreshold = kStartGapThreshold;
        messageLengthLimit = kNoLengthLimit;
        idx = 0;
        return;
    }

    // Gap close; a message of two durations or fewer is noise and is dropped.
    if ((d > gapThreshold || j == messageLengthLimit) && m < kMessages) {
        if (j <= 2) {
            captureDurations[m][0] = 0;
            captureDurations[m][1] = 0;
            quietTicks = kDroppedTicks;
        } else {
            ++m;
        }
        idx = 0;
        return;
    }

    // Store: marks at even positions, spaces negative (and 20 us longer) at
    // odd ones, always followed by the terminating 0.
    if (m < kMessages && d < gapThreshold && j <= kLastWritable) {
        captureDurations[m][j] = (j % 2 == 0) ? d : -(d + 20);
        captureDurations[m][j + 1] = 0;
        quietTicks = 0;
        idx = j + 1;
    } else {
        idx = j;
    }

    // The first three durations of a capture choose how its messages close.
    if (idx == 3 && m == 0)
        Message::selectFrameGap(*this);
}

int CaptureStore::tick(const std::function<void(int n)> &handOn)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        // Pause close. Only a message that holds durations is closed: after a
        // gap or a clear the open message is empty, and closing it would hand
        // on an empty row ahead of (or instead of) the real ones.
        if (quietTicks == kPauseTicks && messageCount < kMessages && idx > 0) {
            ++messageCount;
            idx = 0;
        }
        if (quietTicks < kQuietTicksCap)
            ++quietTicks;
    }

    int handed = 0;
    while (handed < kMessages) {
        int n = 0;
        bool newCapture = false;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (processedCount >= messageCount)
                break;
            if (generation != m_windowGeneration) {
                m_windowGeneration = generation;
                newCapture = true;
                for (auto &row : captureSnapshot)
                    std::fill(std::begin(row), std::end(row), 0);
            }
            // The message is claimed before it is processed, so a clear that
            // resets processedCount meanwhile is not undone by this thread.
            n = processedCount++;
            std::copy(std::begin(captureDurations[n]), std::end(captureDurations[n]), std::begin(captureSnapshot[n]));
        }
        if (newCapture)
            resetWindowSide();
        handOn(n);
        ++handed;
    }
    return handed;
}

void CaptureStore::resetWindowSide()
{
    std::fill(std::begin(messageRecognizerId), std::end(messageRecognizerId), -1);
    for (int i = 0; i < kMessages; ++i) {
        messageAddressText[i].clear();
        messageCommandText[i].clear();
    }
}

CaptureStore::Counters CaptureStore::counters() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return {messageCount, processedCount, quietTicks, gapThreshold, messageLengthLimit, idx, generation};
}

QVector<int> CaptureStore::durationRow(int n) const
{
    if (n < 0 || n >= kMessages)
        return {};
    std::lock_guard<std::mutex> lock(m_mutex);
    return QVector<int>(std::begin(captureDurations[n]), std::end(captureDurations[n]));
}
