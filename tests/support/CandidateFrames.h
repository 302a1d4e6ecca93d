#pragma once

#include "ir/ProtocolCandidate.h"

#include <QRandomGenerator>
#include <QString>
#include <QVector>

// Messages made from a candidate of the recogniser's table: its template
// walked with random data, every value jittered within half of its
// tolerance, as the receiver stores them (marks positive, spaces negative;
// half cells of the biphase and mixed codes merged where two of one level
// meet).
namespace CandidateFrames {

// Ways to spoil a frame so that its candidate must not take it.
enum class Twin {
    None,
    ExtraBit,    // one data symbol more before the stop mark
    WrongStop,   // the last mark far outside its window
    BrokenCheck, // the complement (or difference) the candidate checks broken
};

struct Frame
{
    QVector<int> durations; // without the terminating 0
    QString bits;           // what the candidate's decoder reads from it
    int values = 0;         // how many values (cells) the decoder reads
    bool made = false;      // false when no valid rendering was found
};

// Whether the table gives the candidate in full (the others never match).
bool fullyGiven(const ProtocolCandidate &candidate);

// A message that row `index` of chain takes (or, for a twin, must not
// take). The row before matters to a row that reads the buffer it left.
// Rows with the space corrections are not made (a test builds their frame).
Frame make(const std::vector<ProtocolCandidate> &chain, int index, QRandomGenerator &rng, Twin twin = Twin::None);

} // namespace CandidateFrames

// Key presses of real remotes, rendered from the protocols' published
// timings (not from the table), with a receiver's jitter: what the chain and
// the resolver must make a key code of.
namespace RemoteFrames {

enum class Remote {
    Nec,        // 9000/4500, 32 bits, 9000/2250 ditto as repeat
    Nec2,       // the same frame sent again as repeat
    Jvc,        // 8400/4200, 16 bits; repeats without the header
    Kaseikyo,   // 3456/1728, 48 bits (Panasonic and its relatives)
    Samsung32,  // 4500/4500, 32 bits, the frame again as repeat
    Denon,      // 15 bits, no header; the second frame inverts the command
    Rca,        // 4000/4000, 24 bits, most significant bit first
    Mitsubishi, // 16 bits of 300 us marks, no header
    Nokia32,    // 412/276 leader, sixteen 2-bit symbols
    Samsung20,  // 4500/4500, 20 bits (6 device, 6 subdevice, 8 function)
    Necx,       // 4500/4500, 32 bits; repeats: the header, one bit, a mark
};

// A remote whose clock runs off (clock 1.05: every duration and period 5%
// longer) and a receiver whose jitter is a share of each duration rather than
// the fixed microseconds of each protocol.
struct Drift
{
    double clock = 1.0;
    double jitterShare = 0.0; // 0: the protocol's fixed jitter
};

struct Press
{
    QVector<QVector<int>> frames; // marks positive, spaces negative, each ending with a mark
    QVector<int> gaps;            // the silence after each frame, microseconds
};

// One key press: the first frame and frames - 1 repeats. `device` and
// `command` are the protocol's own fields (for Kaseikyo `device` holds the
// vendor in bits 0-15, the device nibble in 16-19, the subdevice in 24-31; for Nokia32 device
// and subdevice bytes, and bit 8 of `command` is the toggle; for Samsung20
// bits 0-5 the device and 8-13 the subdevice).
Press press(Remote remote, quint32 device, quint32 command, int frames, QRandomGenerator &rng,
            const Drift &drift = {});

} // namespace RemoteFrames
