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
