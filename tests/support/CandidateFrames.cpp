#include "CandidateFrames.h"

#include <QStringList>

#include <algorithm>
#include <cstdlib>

namespace CandidateFrames {

namespace {

using C = ProtocolCandidate;

int jitter(int nominal, int half, QRandomGenerator &rng)
{
    const int j = half > 0 ? static_cast<int>(rng.bounded(2 * half + 1)) - half : 0;
    int v = nominal + j;
    // A jitter never turns a short mark into a space.
    if (nominal > 0 && v < 1)
        v = 1;
    if (nominal < 0 && v > -1)
        v = -1;
    return v;
}

bool runLetter(QChar c)
{
    return c == QLatin1Char('b') || c == QLatin1Char('o') || c == QLatin1Char('z');
}

bool isLetterRun(DecoderKind kind, const QString &token)
{
    if (Protocol::letterRunOnFirstCharacter(kind))
        return runLetter(token.at(0));
    return token.size() >= 2 && runLetter(token.at(1));
}

bool onCells(DecoderKind kind)
{
    return kind == DecoderKind::Biphase || kind == DecoderKind::Mixed;
}

// Merges neighbours of one level, as the receiver sees them, and drops the
// spaces before the first and after the last mark.
QVector<int> render(const QVector<int> &cells)
{
    QVector<int> out;
    for (const int c : cells) {
        if (!out.isEmpty() && (out.last() > 0) == (c > 0))
            out.last() += c;
        else
            out << c;
    }
    while (!out.isEmpty() && out.first() < 0)
        out.removeFirst();
    while (!out.isEmpty() && out.last() < 0)
        out.removeLast();
    return out;
}

// The split cells that the merge of the double-length trailer turns into
// `cells`: the header space in two halves, the trailer's cells doubled.
QVector<int> unmerged(const QVector<int> &cells)
{
    QVector<int> out{cells[0], cells[1] / 2, cells[1] - cells[1] / 2};
    out += cells.mid(2, 8);
    out << cells[10] << cells[10] << cells[11] << cells[11];
    out += cells.mid(12);
    return out;
}

// Whether the row's preparation turns durations back into cells the
// decoder reads as `cells`.
bool prepares(const C &prep, const C &candidate, const QVector<int> &durations, const QVector<int> &cells)
{
    QVector<int> row = durations;
    row << 0;
    Protocol::CellBuffer buffer = {};
    bool valid = false;
    // A row that reads the buffer the row before left: that row prepares it.
    if (!prep.prepareCells(row.constData(), row.size(), buffer, valid))
        return false;
    const int tol = std::min(candidate.tolA, candidate.tolB);
    for (int k = 0; k < cells.size(); ++k) {
        if ((buffer[k] > 0) != (cells[k] > 0) || std::abs(buffer[k] - static_cast<float>(cells[k])) >= tol)
            return false;
    }
    return candidate.kind == DecoderKind::Mixed || buffer[cells.size()] == 0.0f;
}

} // namespace

bool fullyGiven(const ProtocolCandidate &candidate)
{
    return candidate.timingTemplate[0] != '\0';
}

Frame make(const std::vector<ProtocolCandidate> &chain, int index, QRandomGenerator &rng, Twin twin)
{
    const C &c = chain[static_cast<std::size_t>(index)];
    const C &prep = c.preparation == C::Preparation::BufferOfRowBefore ? chain[static_cast<std::size_t>(index) - 1] : c;
    Frame frame;
    if (!fullyGiven(c) || (c.steps & C::SpaceCorrections))
        return frame;

    const QStringList tokens = QString::fromLatin1(c.timingTemplate).split(QLatin1Char(','));
    int lastRun = -1;
    int dataSymbols = 0;
    for (int t = 0; t < tokens.size(); ++t) {
        if (isLetterRun(c.kind, tokens[t])) {
            lastRun = t;
            for (const QChar ch : tokens[t])
                dataSymbols += ch != QLatin1Char('o') && ch != QLatin1Char('z');
        }
    }
    const bool cells = onCells(c.kind);
    const int cellHalf = std::min({c.tolA, c.tolB, prep.splitTol > 0 ? prep.splitTol : c.tolA}) / 4;
    const int numberHalf = cells ? cellHalf : c.tolA / 2 - 1;
    const int symbolHalf = cells ? cellHalf : c.tolB / 2 - 1;

    for (int attempt = 0; attempt < 500; ++attempt) {
        // The data, as symbol numbers; bit checks are made to hold (or, for
        // the twin, to fail) on the pulse-distance bits ('1' is symbol 0).
        QVector<int> symbols(dataSymbols + (twin == Twin::ExtraBit ? 1 : 0));
        for (int &s : symbols)
            s = static_cast<int>(rng.bounded(Protocol::symbolCount(c.kind)));
        for (const C::BitCheck &check : c.checks) {
            for (int k = 0; k < check.length; ++k) {
                if (check.kind == C::BitCheck::Kind::Complement)
                    symbols[check.a + k] = 1 - symbols[check.b + k];
            }
            if (check.kind == C::BitCheck::Kind::Differ && symbols.mid(check.a, check.length) ==
                                                                symbols.mid(check.b, check.length))
                symbols[check.a] = 1 - symbols[check.a];
        }
        if (twin == Twin::BrokenCheck) {
            const C::BitCheck &check = c.checks[0];
            if (check.kind == C::BitCheck::Kind::None)
                return frame;
            if (check.kind == C::BitCheck::Kind::Complement)
                symbols[check.a] = 1 - symbols[check.a];
            else
                std::copy(symbols.begin() + check.b, symbols.begin() + check.b + check.length,
                          symbols.begin() + check.a);
        }

        QVector<int> values;
        QString bits;
        int next = 0;
        const auto addSymbol = [&](int s) {
            const Protocol::SymbolShape shape = Protocol::symbolShape(c.kind, s);
            bits += QLatin1String(shape.text);
            for (int v = 0; v < shape.length; ++v)
                values << jitter(c.timings[shape.first + v], symbolHalf, rng);
        };
        for (int t = 0; t < tokens.size(); ++t) {
            const QString &token = tokens[t];
            if (isLetterRun(c.kind, token)) {
                for (const QChar ch : token) {
                    if (ch == QLatin1Char('o'))
                        bits += QLatin1Char('1');
                    else if (ch == QLatin1Char('z'))
                        bits += QLatin1Char('0');
                    else
                        addSymbol(symbols[next++]);
                }
                if (t == lastRun && twin == Twin::ExtraBit)
                    addSymbol(symbols[next++]);
                continue;
            }
            const int nominal = token.trimmed().toInt();
            if (twin == Twin::WrongStop && t == tokens.size() - 1)
                values << nominal + 3 * c.tolA;
            else
                values << jitter(nominal, numberHalf, rng);
        }
        if ((twin == Twin::ExtraBit && lastRun < 0) ||
            (twin == Twin::WrongStop && tokens.last().trimmed().toInt() <= 0))
            return frame;

        if (!cells) {
            frame.durations = values;
        } else {
            frame.durations = render(prep.mergeLast > 0 ? unmerged(values) : values);
            // The leading space a first entry stands for is never seen.
            if (twin == Twin::None && !prepares(prep, c, frame.durations, values))
                continue;
        }
        if (c.preparation == C::Preparation::CutAfter87)
            frame.durations << -20000 << 9000 << -2250 << 560;
        frame.bits = bits;
        frame.values = values.size();
        frame.made = true;
        return frame;
    }
    return frame;
}

} // namespace CandidateFrames

namespace RemoteFrames {

namespace {

// The remote's durations as the receiver hands them over.
struct Jitter
{
    QRandomGenerator &rng;
    Drift drift;

    // nominal at the remote's clock, with the receiver's jitter: jitterUs
    // either way, or the drift's share of the duration.
    int value(int nominal, int jitterUs)
    {
        if (drift.jitterShare > 0.0) {
            const double share = (2.0 * rng.generateDouble() - 1.0) * drift.jitterShare;
            return qRound(nominal * drift.clock * (1.0 + share));
        }
        const int v = nominal + (jitterUs > 0 ? static_cast<int>(rng.bounded(2 * jitterUs + 1)) - jitterUs : 0);
        return drift.clock == 1.0 ? v : qRound(v * drift.clock);
    }
};

// Adds the jittered value, merging it with the last one of the same level.
void put(QVector<int> &out, int nominal, int jitterUs, Jitter &jitter)
{
    const int v = jitter.value(nominal, jitterUs);
    if (!out.isEmpty() && (out.last() > 0) == (v > 0))
        out.last() += v;
    else
        out << v;
}

// `count` bits of value, least significant first unless msbFirst.
QVector<int> bitsOf(quint64 value, int count, bool msbFirst = false)
{
    QVector<int> bits;
    for (int k = 0; k < count; ++k)
        bits << static_cast<int>((value >> (msbFirst ? count - 1 - k : k)) & 1u);
    return bits;
}

// A pulse-distance frame: header (none when 0), a mark and a space per bit,
// a final mark. Headers jitter by 120 us, bits by 60 us.
QVector<int> pulseDistance(int headMark, int headSpace, const QVector<int> &bits, int mark, int one, int zero,
                           Jitter &rng)
{
    QVector<int> out;
    if (headMark > 0) {
        put(out, headMark, 120, rng);
        put(out, -headSpace, 120, rng);
    }
    for (const int b : bits) {
        put(out, mark, 60, rng);
        put(out, -(b ? one : zero), 60, rng);
    }
    put(out, mark, 60, rng);
    return out;
}

int total(const QVector<int> &frame)
{
    int sum = 0;
    for (const int v : frame)
        sum += std::abs(v);
    return sum;
}

} // namespace

Press press(Remote remote, quint32 device, quint32 command, int frames, QRandomGenerator &random, const Drift &drift)
{
    Press p;
    Jitter rng{random, drift};
    // Frames sent at a fixed period: the gap is what the frame leaves of it.
    const auto add = [&p, &drift](const QVector<int> &frame, int periodOrGap, bool period) {
        const int time = qRound(periodOrGap * drift.clock);
        p.frames << frame;
        p.gaps << (period ? time - total(frame) : time);
    };
    const quint32 f = command & 0xFFu;
    switch (remote) {
    case Remote::Nec:
    case Remote::Nec2: {
        // Unit 564 us; the address's second byte is its complement unless
        // the device gives one.
        const quint32 d = device > 0xFFu ? device : (device | ((~device & 0xFFu) << 8));
        const QVector<int> bits = bitsOf(d, 16) + bitsOf(f, 8) + bitsOf(~f & 0xFFu, 8);
        add(pulseDistance(9024, 4512, bits, 564, 1692, 564, rng), 108000, true);
        for (int k = 1; k < frames; ++k) {
            if (remote == Remote::Nec)
                add(pulseDistance(9024, 2256, {}, 564, 0, 0, rng), 108000, true);
            else
                add(pulseDistance(9024, 4512, bits, 564, 1692, 564, rng), 108000, true);
        }
        break;
    }
    case Remote::Jvc: {
        // Unit 525 us; every frame ends with 45 units of silence.
        const QVector<int> bits = bitsOf(device & 0xFFu, 8) + bitsOf(f, 8);
        add(pulseDistance(8400, 4200, bits, 525, 1575, 525, rng), 23625, false);
        for (int k = 1; k < frames; ++k)
            add(pulseDistance(0, 0, bits, 525, 1575, 525, rng), 23625, false);
        break;
    }
    case Remote::Kaseikyo: {
        // Unit 432 us: vendor (16 bits), its 4-bit parity, device (4),
        // subdevice (8), function (8), and a check byte.
        const quint32 vendor = device & 0xFFFFu;
        const quint32 d = (device >> 16) & 0xFu;
        const quint32 s = (device >> 24) & 0xFFu;
        const quint32 vp = (vendor ^ (vendor >> 4) ^ (vendor >> 8) ^ (vendor >> 12)) & 0xFu;
        const QVector<int> bits = bitsOf(vendor, 16) + bitsOf(vp, 4) + bitsOf(d, 4) + bitsOf(s, 8) + bitsOf(f, 8) +
                                  bitsOf(d ^ s ^ f, 8);
        for (int k = 0; k < frames; ++k)
            add(pulseDistance(3456, 1728, bits, 432, 1296, 432, rng), 74736, false);
        break;
    }
    case Remote::Samsung20: {
        // Unit 564 us: device (6 bits), subdevice (6), function (8).
        const QVector<int> bits = bitsOf(device & 0x3Fu, 6) + bitsOf((device >> 8) & 0x3Fu, 6) + bitsOf(f, 8);
        for (int k = 0; k < frames; ++k)
            add(pulseDistance(4512, 4512, bits, 564, 1692, 564, rng), 108000, true);
        break;
    }
    case Remote::Necx: {
        // Unit 564 us; the repeats carry the device's first bit only.
        const QVector<int> bits = bitsOf(device & 0xFFFFu, 16) + bitsOf(f, 8) + bitsOf(~f & 0xFFu, 8);
        add(pulseDistance(4512, 4512, bits, 564, 1692, 564, rng), 108000, true);
        for (int k = 1; k < frames; ++k)
            add(pulseDistance(4512, 4512, bitsOf(device & 1u, 1), 564, 1692, 564, rng), 108000, true);
        break;
    }
    case Remote::Samsung32: {
        // Unit 550 us; repeats are the frame again, 108 ms apart.
        const QVector<int> bits = bitsOf(device & 0xFFFFu, 16) + bitsOf(f, 8) + bitsOf(~f & 0xFFu, 8);
        for (int k = 0; k < frames; ++k)
            add(pulseDistance(4400, 4400, bits, 550, 1650, 550, rng), 108000, true);
        break;
    }
    case Remote::Denon: {
        // Unit 264 us; frames alternate between the command with the
        // extension bits 0 and its inversion with 3, 165 units apart.
        const QVector<int> plain = bitsOf(device & 0x1Fu, 5) + bitsOf(f, 8) + bitsOf(0, 2);
        const QVector<int> inverted = bitsOf(device & 0x1Fu, 5) + bitsOf(~f & 0xFFu, 8) + bitsOf(3, 2);
        for (int k = 0; k < frames; ++k)
            add(pulseDistance(0, 0, k % 2 == 0 ? plain : inverted, 264, 1848, 792, rng), 43560, false);
        break;
    }
    case Remote::Rca: {
        // Unit 460 us, most significant bit first: device (4 bits),
        // function (8), both inverted; 16 units of silence after each frame.
        const quint32 d = device & 0xFu;
        const QVector<int> bits = bitsOf(d, 4, true) + bitsOf(f, 8, true) + bitsOf(~d & 0xFu, 4, true) +
                                  bitsOf(~f & 0xFFu, 8, true);
        for (int k = 0; k < frames; ++k)
            add(pulseDistance(3680, 3680, bits, 460, 1840, 920, rng), 7360, false);
        break;
    }
    case Remote::Mitsubishi: {
        // Unit 300 us: device and function, 80 units of silence after each.
        const QVector<int> bits = bitsOf(device & 0xFFu, 8) + bitsOf(f, 8);
        for (int k = 0; k < frames; ++k)
            add(pulseDistance(0, 0, bits, 300, 2100, 900, rng), 24000, false);
        break;
    }
    case Remote::Nokia32: {
        // 412/276 leader, then two bits per symbol (most significant first):
        // device, subdevice, the toggle (bit 8 of command) and 7 zero bits,
        // function; a 164 mark.
        const quint64 value = (quint64(device & 0xFFFFu) << 16) | (quint64((command >> 8) & 1u) << 15) | f;
        const int spaces[4] = {276, 445, 614, 783};
        for (int k = 0; k < frames; ++k) {
            QVector<int> frame;
            put(frame, 412, 40, rng);
            put(frame, -276, 40, rng);
            for (int s = 15; s >= 0; --s) {
                put(frame, 164, 30, rng);
                put(frame, -spaces[(value >> (2 * s)) & 3u], 30, rng);
            }
            put(frame, 164, 30, rng);
            add(frame, 100000, true);
        }
        break;
    }
    }
    return p;
}

} // namespace RemoteFrames
