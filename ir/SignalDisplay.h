#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

// The two pictures of received messages: the protocol bar (one box per
// message, green when recognised) and the oscillograph (one level trace per
// message, its cells coloured by field, with its RecognizerId and texts).
// The window owns the pixmaps and the colour matrix; these draw on them.
class SignalDisplay
{
public:
    // The bar image holds ten boxes, 60 pixels apart.
    static constexpr int kBoxPitch = 60;
    // Every oscillograph row is this many pixels below the one before.
    static constexpr int kRowPitch = 60;
    // Where the trace starts; the texts stand left of it.
    static constexpr int kTraceLeft = 200;
    // Span used when a message has none.
    static constexpr int kDefaultSpan = 30000;
    static const QColor kBackground;

    // Box of message n (0..9) on the bar: red for a RecognizerId below 1.
    static void drawProtocolBox(QPixmap &bar, int n, int recognizerId);

    // One oscillograph row; what the caller knows of message n.
    struct Trace
    {
        const int *durations; // marks positive, spaces negative, up to a 0
        int size;             // the row's length, never read past
        int recognizerId;
        QString addressText;
        QString commandText;
        int span;             // microseconds across the width right of the texts
        const QColor *cellColors; // one per duration
    };
    static void drawOscillographRow(QPixmap &picture, int n, const Trace &trace);

    // Colour of a field letter of a label pattern; invalid for any other.
    static QColor fieldColor(QChar letter);
    // Sets cells[k] from letter k of pattern (at most count cells); other
    // characters leave their cell as it was.
    static void colorFields(QColor *cells, int count, const QString &pattern);
};
