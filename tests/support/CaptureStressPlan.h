#pragma once

#include <QRandomGenerator>
#include <QStringList>
#include <QVector>

#include <atomic>

class CaptureStore;

// Frames for racing the receiver side against the window tick. Each frame
// carries its sequence number and length in its durations, so the window can
// tell that what it was handed is one whole frame, and which.
namespace CaptureStressPlan {

// Durations of frame seq: the first three carry length and number, the rest a
// pattern of the number. All are multiples of 20 us below 3000 us, under every
// gap threshold a lead-in can choose from them, and none starts a lead-in with
// a count limit.
QVector<int> frame(int seq, int length);

struct Capture
{
    QVector<int> durations; // starting with the long pause that opens it
    QVector<int> kept;      // sequence numbers the store keeps, in order
    bool endsInGap = true;
    int lastLength = 0;     // durations of the last frame
    bool lastKept = true;   // the last frame is within the ten the store keeps
};

struct Options
{
    int frames = 6000;
    int maxLength = 128;     // frames have 3 .. maxLength durations
    bool countCloses = true; // now and then a frame of 131 followed at once by the next
};

// Captures of 1 to 12 frames (the store keeps ten), with dropped noise bursts
// between frames; a capture ends with a gap or, now and then, with a frame the
// window must close after a pause.
QVector<Capture> plan(QRandomGenerator &rng, const Options &options);

// The window's side: checks each handed-on message against the frames.
class Checker
{
public:
    explicit Checker(CaptureStore &store) : m_store(store) {}

    // The hand-on callback of CaptureStore::tick.
    void check(int n);

    // Messages the window has started to take.
    std::atomic<int> taken{0};
    QVector<int> handed; // sequence numbers, in the order handed on
    QStringList faults;

private:
    CaptureStore &m_store;
    int m_expectedN = 0;
    QRandomGenerator m_rng{7};
};

// The receiver side's wait after it has sent the durations of capture c, the
// one that starts store generation `generation`: until they have all been
// applied (seen in the counters), then, with the pause
// close allowed, until the window has taken every message up to keptSoFar, but
// not until it has finished with them, so the next capture's clear races the
// window's processing. A real long pause lasts more than six ticks, so the
// window would have taken them too. False when the store closed more messages
// than planned or nothing moved for timeoutMs.
bool waitForWindow(const CaptureStore &store, Checker &checker, const Capture &c, unsigned generation,
                   int keptSoFar, std::atomic<bool> &allowPause, int timeoutMs = 10000);

// Ticks the store until done. Without allowPause the window holds back the
// tick that would close the open message, so frames are closed only where the
// plan says; the receiver side sets it once the last frame of a capture is in.
void runWindow(CaptureStore &store, Checker &checker, const std::atomic<bool> &allowPause,
               const std::atomic<bool> &done);

} // namespace CaptureStressPlan
