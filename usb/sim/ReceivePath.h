#pragma once

#include "ir/Protocol.h"

#include <QString>
#include <QVector>

// What the program makes of one key press.
struct ReceivedPress
{
    // The key code the window shows after the last message: "UNKNOWN" when
    // nothing was resolved (or no message was closed at all).
    QString keyCode = QStringLiteral("UNKNOWN");
    // RecognizerIds of messages 0..n behind keyCode (-1: not recognised).
    QVector<int> recognizerIds;
    // Messages closed and handed on in all, over every capture of the press.
    int messages = 0;
    // Captures started by a silence over the long-pause limit inside the press.
    int restarts = 0;
    // Per handed-on message, how long recognition and resolution took.
    QVector<qint64> messageNanoseconds;
};

// The whole receive path of the program without device, window or timers:
// the durations of a key press are played through the receiver as the
// simulated remote sends them (20 us ticks, eight-byte reports that leave when
// full or when the signal pauses), decoded as the capture thread decodes them
// into the capture store, closed into messages by window ticks taken every
// 50 ms of the signal's own time line, and each closed message recognised and
// resolved as the window does.
class ReceivePath
{
public:
    static constexpr int kTickUs = 50000;

    explicit ReceivePath(ReceiveMode mode = ReceiveMode::Modulated);

    // durationsUs: marks positive, spaces negative, 0 ignored; a trailing
    // silence is what follows the press and is never received. The press is
    // preceded by the pause between presses, so it starts a capture of its
    // own. tickPhaseUs: when the first window tick falls, from the start of
    // that pause (0..kTickUs).
    ReceivedPress run(const QVector<int> &durationsUs, int tickPhaseUs = 0);

private:
    ReceiveMode m_mode;
    Protocol m_protocol;
};
