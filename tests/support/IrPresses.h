#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Key presses of our own making for the receive path as a whole, with the key
// codes the resolver gives them.
namespace IrPresses {

// SIRC, 12 bits: 2.4 ms header, a 1200 (one) or 600 (zero) us mark per bit,
// each after a 600 us space; 7 command bits, then 5 address bits, least
// significant first. Ends with the last mark.
QVector<int> sony12Frame(int command, int address);
// The frame `count` times, one every periodUs (start to start), then the
// silence after the press.
QVector<int> press(const QVector<int> &frame, int count, int periodUs);
// Three SIRC frames 45 ms apart; RC5 frames (toggle 1) 113.778 ms apart.
QVector<int> sonyPress(int command, int address, int count = 3);
QVector<int> rc5Press(int address, int command, int count = 3);
// Durations no remote sends: a fixed pseudo-random walk of 150..2500 us.
QVector<int> noise(int count);
// a without its trailing silence, then silenceUs, then b.
QVector<int> joined(QVector<int> a, int silenceUs, const QVector<int> &b);

QString sonyCode(int command, int address);
QString rc5Code(int address, int command);

// "d1 d2 ..." as a capture file's durations field.
QByteArray field(const QVector<int> &durations);

} // namespace IrPresses
