#include "tools/samplekit/SampleSignals.h"

#include "usb/sim/ReceivePath.h"

#include <QPair>

#include <cmath>
#include <cstdlib>

namespace SampleSignals {

namespace {

// Repeat periods, start of one frame to start of the next.
constexpr double kSircPeriod = 45000;
constexpr double kRc5Period = 113778;
constexpr double kRc6Period = 106667;

constexpr double kNecPeriod = 108000;
// JVC frames end with 45 units of silence instead of keeping a period.
constexpr double kJvcUnit = 525;
constexpr double kJvcGap = 45 * kJvcUnit;

constexpr double kSircUnit = 600;
constexpr double kNecUnit = 564;
constexpr double kSamsungUnit = 550;
constexpr double kRc5Half = 889;    // half of a 1778 us RC5 bit
constexpr double kRc6Unit = 444.44; // RC6's t: 16 carrier periods at 36 kHz

// A signal under construction: levels with exact lengths; consecutive
// stretches of one level merge, and the whole is put on the receiver's grid
// only at the end, so rounding never adds up along a frame.
class Levels
{
public:
    void mark(double us) { add(true, us); }
    void space(double us) { add(false, us); }
    // Biphase cell: the level of its first half, then the other.
    void cell(bool markFirst, double half)
    {
        add(markFirst, half);
        add(!markFirst, half);
    }
    // Signed durations on the 20 us grid, leading and trailing spaces left
    // out (the silence around a frame is not part of it).
    QVector<int> durations() const
    {
        QVector<int> out;
        int first = 0, last = int(m_stretches.size()) - 1;
        while (first <= last && !m_stretches.at(first).mark)
            ++first;
        while (last >= first && !m_stretches.at(last).mark)
            --last;
        for (int i = first; i <= last; ++i) {
            const int ticks = qMax(1, int(std::lround(m_stretches.at(i).us / 20.0)));
            out.append(m_stretches.at(i).mark ? 20 * ticks : -20 * ticks);
        }
        return out;
    }

private:
    struct Stretch
    {
        bool mark;
        double us;
    };
    void add(bool mark, double us)
    {
        if (!m_stretches.isEmpty() && m_stretches.last().mark == mark)
            m_stretches.last().us += us;
        else
            m_stretches.append({mark, us});
    }
    QList<Stretch> m_stretches;
};

int bit(int value, int i)
{
    return (value >> i) & 1;
}

// Sony SIRC: 2400 header, then the bits LSB first, command before address;
// a 1 is a 1200 mark, a 0 a 600 mark, each followed by a 600 space.
Levels sirc(int address, int addressBits, int command)
{
    Levels l;
    l.mark(4 * kSircUnit);
    l.space(kSircUnit);
    for (int i = 0; i < 7; ++i) {
        l.mark(bit(command, i) ? 2 * kSircUnit : kSircUnit);
        l.space(kSircUnit);
    }
    for (int i = 0; i < addressBits; ++i) {
        l.mark(bit(address, i) ? 2 * kSircUnit : kSircUnit);
        l.space(kSircUnit);
    }
    return l;
}

// RC5: two start bits (the second one the inverted command bit 6 of RC5X),
// the toggle, 5 address and 6 command bits MSB first; Manchester coded, a 1
// being space then mark. The idle space before the first mark is no duration.
Levels rc5(int address, int command, int toggle)
{
    QVector<int> bits{1, bit(command, 6) ? 0 : 1, toggle & 1};
    for (int i = 4; i >= 0; --i)
        bits.append(bit(address, i));
    for (int i = 5; i >= 0; --i)
        bits.append(bit(command, i));
    Levels l;
    for (int b : bits)
        l.cell(b == 0, kRc5Half);
    return l;
}

// RC6 mode 0: a 6t leader mark and 2t space, the start bit 1, mode 000, the
// double-length trailer bit holding the toggle, then 8 address and 8 command
// bits MSB first; a 1 is mark then space.
Levels rc6(int address, int command, int toggle)
{
    const double t = kRc6Unit;
    Levels l;
    l.mark(6 * t);
    l.space(2 * t);
    l.cell(true, t);
    for (int i = 0; i < 3; ++i)
        l.cell(false, t);
    l.cell(toggle & 1, 2 * t);
    for (int i = 7; i >= 0; --i)
        l.cell(bit(address, i), t);
    for (int i = 7; i >= 0; --i)
        l.cell(bit(command, i), t);
    return l;
}

// Pulse distance: a header (none when headMark is 0), every bit a mark of
// one unit and a space of one (0) or three (1) units, LSB first, a final mark.
Levels pulseDistance(double unit, double headMark, double headSpace, const QList<QPair<int, int>> &fields)
{
    Levels l;
    if (headMark > 0) {
        l.mark(headMark);
        l.space(headSpace);
    }
    for (const QPair<int, int> &field : fields) {
        for (int i = 0; i < field.second; ++i) {
            l.mark(unit);
            l.space(bit(field.first, i) ? 3 * unit : unit);
        }
    }
    l.mark(unit);
    return l;
}

Levels levels(Kind kind, int address, int command, int toggle)
{
    switch (kind) {
    case Kind::Sirc12:
        return sirc(address, 5, command);
    case Kind::Sirc15:
        return sirc(address, 8, command);
    case Kind::Sirc20:
        return sirc(address, 13, command);
    case Kind::Rc5:
        return rc5(address, command, toggle);
    case Kind::Rc6:
        return rc6(address, command, toggle);
    case Kind::Nec:
        return pulseDistance(kNecUnit, 16 * kNecUnit, 8 * kNecUnit,
                             {{address, 8}, {~address & 0xFF, 8}, {command, 8}, {~command & 0xFF, 8}});
    case Kind::Jvc:
        return pulseDistance(kJvcUnit, 16 * kJvcUnit, 8 * kJvcUnit, {{address, 8}, {command, 8}});
    case Kind::Samsung32:
        return pulseDistance(kSamsungUnit, 8 * kSamsungUnit, 8 * kSamsungUnit,
                             {{address, 8}, {address, 8}, {command, 8}, {~command & 0xFF, 8}});
    }
    return Levels();
}

// The frame a held key sends after the first one.
Levels repeatLevels(Kind kind, int address, int command, int toggle)
{
    switch (kind) {
    case Kind::Nec: // the ditto: header mark, a half-length space, one unit
        return pulseDistance(kNecUnit, 16 * kNecUnit, 4 * kNecUnit, {});
    case Kind::Jvc:
        return pulseDistance(kJvcUnit, 0, 0, {{address, 8}, {command, 8}});
    default:
        return levels(kind, address, command, toggle);
    }
}

double period(Kind kind)
{
    switch (kind) {
    case Kind::Rc5:
        return kRc5Period;
    case Kind::Rc6:
        return kRc6Period;
    case Kind::Nec:
    case Kind::Samsung32:
        return kNecPeriod;
    default:
        return kSircPeriod;
    }
}

} // namespace

const QList<SampleProtocol> &protocols()
{
    static const QList<SampleProtocol> list{
        {Kind::Sirc12, "Sony SIRC 12", 5, 7, 3}, {Kind::Rc5, "RC5", 5, 7, 2},
        {Kind::Rc6, "RC6 mode 0", 8, 8, 2},      {Kind::Sirc15, "Sony SIRC 15", 8, 7, 3},
        {Kind::Sirc20, "Sony SIRC 20", 13, 7, 3}, {Kind::Nec, "NEC", 8, 8, 4},
        {Kind::Jvc, "JVC", 8, 8, 3},             {Kind::Samsung32, "Samsung32", 8, 8, 3},
    };
    return list;
}

const SampleProtocol &protocol(Kind kind)
{
    for (const SampleProtocol &p : protocols())
        if (p.kind == kind)
            return p;
    return protocols().first();
}

QVector<int> frame(Kind kind, int address, int command, int toggle)
{
    const SampleProtocol &p = protocol(kind);
    const int a = address & ((1 << p.addressBits) - 1);
    const int c = command & ((1 << p.commandBits) - 1);
    return levels(kind, a, c, toggle).durations();
}

QVector<int> press(Kind kind, int address, int command, int frames, int toggle)
{
    // A held key repeats with the same toggle.
    const SampleProtocol &p = protocol(kind);
    const int a = address & ((1 << p.addressBits) - 1);
    const int c = command & ((1 << p.commandBits) - 1);
    QVector<int> out;
    QVector<int> previous;
    for (int f = 0; f < frames; ++f) {
        const QVector<int> one = (f == 0 ? levels(kind, a, c, toggle) : repeatLevels(kind, a, c, toggle)).durations();
        if (f > 0) {
            // JVC keeps a fixed silence; the others fill their period.
            int sent = 0;
            for (int d : previous)
                sent += std::abs(d);
            const double silence = kind == Kind::Jvc ? kJvcGap : period(kind) - sent;
            out.append(-20 * int(std::lround(silence / 20.0)));
        }
        out += one;
        previous = one;
    }
    return out;
}

QString resolvePress(const QVector<int> &durations, int *messages)
{
    const ReceivedPress heard = ReceivePath().run(durations);
    if (messages)
        *messages = heard.messages;
    return heard.keyCode;
}

int firstRecognizerId(const QVector<int> &durations)
{
    const ReceivedPress heard = ReceivePath().run(durations);
    return heard.recognizerIds.isEmpty() ? -1 : heard.recognizerIds.first();
}

} // namespace SampleSignals
