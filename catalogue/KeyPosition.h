#pragma once

#include <QtGlobal>

// One key hot-spot on a remote-type picture, in units of the nominal picture
// (582 x 2261, origin top-left). Shift 0 is the normal layer; any other value
// draws as the shift layer, but only 1 is hit in the shift layer.
struct KeyPosition
{
    qint32 X = 0;
    qint32 Y = 0;
    qint32 Shift = 0;

    bool operator==(const KeyPosition &o) const { return X == o.X && Y == o.Y && Shift == o.Shift; }
    bool operator!=(const KeyPosition &o) const { return !(*this == o); }
};
