#pragma once

#include <QString>
#include <QVector>

#include <functional>
#include <mutex>

// The infrared messages of one key press: up to ten rows of signed durations
// that the receiver thread appends, closed into messages by gap, count or
// pause, and handed on in order to the window.
//
// Two sides share it. The receiver thread calls appendDurations(); the window
// calls tick() every 50 ms. Everything in the "shared" group below is guarded
// by one lock, held only for short steps. The window never reads those rows
// while they may change: tick() copies each closed row into captureSnapshot
// and recognition, resolution and display work on that copy and on the
// "window" group, which only the window thread touches.
class CaptureStore
{
public:
    static constexpr int kMessages = 10;
    static constexpr int kRowLength = 1000;
    // A message is closed by count when its write position passes this.
    static constexpr int kMaxDurations = 131;
    static constexpr int kStartGapThreshold = 20000;
    static constexpr int kNoLengthLimit = 1000000;
    // A duration above this restarts the whole capture.
    static constexpr int kLongPause = 300000;
    // The open message is closed by the tick that finds this many quiet ticks.
    static constexpr int kPauseTicks = 4;
    // Set after a dropped message, so that pause is not closed.
    static constexpr int kDroppedTicks = 5;
    static constexpr int kStartQuietTicks = 1000;

    using Row = int[kRowLength];

    // Counters and limits read together under the lock.
    struct Counters
    {
        int messageCount;
        int processedCount;
        int quietTicks;
        int gapThreshold;
        int messageLengthLimit;
        int idx;
        unsigned generation;
    };

    CaptureStore();
    CaptureStore(const CaptureStore &) = delete;
    CaptureStore &operator=(const CaptureStore &) = delete;

    // Receiver side: applies the closing rules to each duration (microseconds,
    // > 0) in order, under one hold of the lock.
    void appendDurations(const int *durations, int count);

    // Window side, the body of the receive timer: closes the open message
    // after a pause, then hands every closed message not yet handed on to
    // handOn, in order, with its row copied into captureSnapshot. At most
    // kMessages per call, so a receiver that floods the store cannot hold the
    // window. handOn runs without the lock. Returns how many were handed on.
    int tick(const std::function<void(int n)> &handOn);

    Counters counters() const;
    // A copy of row n of captureDurations, taken under the lock (any thread).
    QVector<int> durationRow(int n) const;

    // --- shared: guarded by the lock (appendDurations and tick take it; the
    // Message operations expect their caller to hold it, or to be alone).
    int captureDurations[kMessages][kRowLength];
    int messageCount = 0;
    int processedCount = 0;
    int quietTicks = kStartQuietTicks;
    int gapThreshold = kStartGapThreshold;
    int messageLengthLimit = kNoLengthLimit;
    bool leadInMatched = false;
    // Write position in the open message. The receiver moves it; a pause
    // close restarts it so that no empty message follows the pause.
    int idx = 0;
    // Counts clears, so the window knows its results belong to an old capture.
    unsigned generation = 0;

    // --- window: touched only by the window thread.
    // The window's copies of the closed rows; recognition may edit them.
    int captureSnapshot[kMessages][kRowLength];
    int messageRecognizerId[kMessages];
    QString messageAddressText[kMessages];
    QString messageCommandText[kMessages];
    int messageSpan = 0;

private:
    void applyDuration(int d);
    // A new capture started since the window last looked: its results go.
    void resetWindowSide();

    mutable std::mutex m_mutex;
    unsigned m_windowGeneration = 0;
};
