#pragma once

#include <QObject>
#include <QString>

class CaptureStore;

// Operations on the capture store that set how messages close, clear the
// capture, and invert bit texts. The object holds no data: the window owns one
// and the operations act on the store they are given. The store operations run
// in the receiver thread with the store's lock held (or on a store no other
// thread sees).
class Message : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~Message() override;

    // Compares the first three durations of row 0 with one lead-in (open
    // windows: 10 % on the first mark and space, 15 % on the second mark,
    // 50 us either way). Sets leadInMatched; on a match also the gap
    // threshold and the length limit (countLimit truncated toward zero).
    static void matchLeadIn(CaptureStore &store, int mark, int space, int mark2, int gap, float countLimit);
    // Picks the first matching row of the lead-in table, or a 7000 us gap, and
    // makes the threshold exclusive by adding 1.
    static void selectFrameGap(CaptureStore &store);
    // Zeroes every duration of every row and starts a new capture generation,
    // which makes the window drop the results of the old one.
    static void clearCapture(CaptureStore &store);
    // '0' <-> '1'; any other character is dropped.
    static QString invertBits(const QString &bits);
};
