#pragma once

#include <QList>
#include <QString>
#include <QVector>

// The infrared side of the sample remotes: each sample protocol renders the
// frames of a key press from public timings, and the press is run through
// the program's own capture store, recogniser and resolver to learn the key
// code it gives. The sample catalogue stores those codes, so a key received
// from a sample remote finds its models.
//
// Durations are signed microseconds (marks positive, spaces negative), start
// with a mark and end with the last frame's final mark; every value lies on
// the receiver's 20 us grid, so what the simulated receiver reports is what
// the kit resolved.
namespace SampleSignals {

enum class Kind {
    Sirc12, // Sony SIRC: 7 command bits, 5 address bits
    Sirc15, // Sony SIRC: 7 command bits, 8 address bits
    Sirc20, // Sony SIRC: 7 command bits, 5 address bits, 8 extension bits
    Rc5,    // Philips RC5 (RC5X: the field bit carries command bit 6)
    Rc6,    // Philips RC6 mode 0: 8 address bits, 8 command bits
    Nec,    // NEC: 8 address bits and their complement, 8 command bits and theirs; ditto repeats
    Jvc,    // JVC: 8 address bits, 8 command bits; repeats without the header
    Samsung32, // Samsung32: the 8 address bits twice, 8 command bits and their complement
};

struct SampleProtocol
{
    Kind kind;
    const char *name;
    int addressBits; // address values are taken modulo 2^addressBits
    int commandBits;
    int frames;      // frames of an ordinary key press
};

// The protocols the sample models use, in the order the models take them.
const QList<SampleProtocol> &protocols();
const SampleProtocol &protocol(Kind kind);

// One frame, without the silence after it. toggle is the toggle bit of the
// protocols that have one (RC5, RC6) and is ignored by the others.
QVector<int> frame(Kind kind, int address, int command, int toggle = 0);
// A key press: the frame and `frames` - 1 repeat frames (the protocol's own
// repeat: the frame again, NEC's ditto, JVC's frame without header), each
// followed by the silence its protocol leaves, except the last.
QVector<int> press(Kind kind, int address, int command, int frames, int toggle = 0);

// What the program shows for a key press: the durations go through the
// program's receive path (receiver reports, capture store, message closing,
// recogniser, resolver) and the resolver's code after the last message is returned
// ("UNKNOWN" when nothing resolved). messages, when given, receives how many
// messages the press closed into.
QString resolvePress(const QVector<int> &durations, int *messages = nullptr);

// The RecognizerId of the first message of a press, -1 when none.
int firstRecognizerId(const QVector<int> &durations);

} // namespace SampleSignals
