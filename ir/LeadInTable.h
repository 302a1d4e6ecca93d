#pragma once

#include <array>

// One known lead-in: the first mark, space and second mark of a protocol's
// frame, and how its messages are closed (a gap in microseconds, and a count
// of durations; kNoCountLimit means none).
struct LeadIn
{
    int mark;
    int space; // negative, as spaces are stored
    int mark2;
    int gap;
    float countLimit;
};

// The lead-ins tried, in order, on the first three durations of a capture.
// The first row that matches wins, so a looser row placed early shadows a
// tighter one placed later; the order is part of the data.
class LeadInTable
{
public:
    static constexpr int kRowCount = 108;
    static constexpr float kNoCountLimit = 1000000.0f;
    // A gap no duration can reach: such rows close their messages by count only.
    static constexpr int kCountOnlyGap = 1000000000;

    static const std::array<LeadIn, kRowCount> &rows();
};
