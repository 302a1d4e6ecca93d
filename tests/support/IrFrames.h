#pragma once

#include <QVector>

#include <functional>

class CaptureStore;

// Infrared frames for tests of the capture path, and the window's side of the
// capture store as a test plays it.
namespace IrFrames {

// Message number, then its row up to and including the terminating 0.
using Handed = QVector<QVector<int>>;

// NEC: 9 ms mark, 4.5 ms space, 32 bits of a 560 us mark and a 560 or 1680 us
// space, a final mark.
QVector<int> necFrame(quint32 bits);
// RC5: 14 Manchester bits of two 889 us halves (a 1 is space then mark); the
// idle space before the first mark is not a duration.
QVector<int> rc5Frame(int toggle, int address, int command);
// What the store keeps of durations sent on the 20 us grid: each to the
// nearest 20 us, spaces negative and 20 us longer; message number first.
QVector<int> row(int n, const QVector<int> &raw);

// Ticks the store every 50 ms, as the window's timer does, until `count`
// messages were handed on or the time is up, then four more ticks for
// anything extra. `between` runs before each tick (it may be empty).
Handed collect(CaptureStore &store, int count, int timeoutMs = 5000,
               const std::function<void()> &between = {});

} // namespace IrFrames
