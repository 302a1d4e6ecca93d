#include "ir/ProtocolCandidate.h"

#include <QDebug>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// Merge of the two long cells after a 2650/888 header (the double-length
// trailer bit): c[1] takes c[2]; c[10] and c[11] become the means of the
// pairs 11/12 and 13/14; the rest moves down by three up to `last`.
void mergeTrailer(Protocol::CellBuffer &c, int last)
{
    float old[80];
    std::copy(c, c + 80, old);
    c[1] = old[1] + old[2];
    for (int k = 2; k <= 9; ++k)
        c[k] = old[k + 1];
    c[10] = (old[11] + old[12]) * 0.5f;
    c[11] = (old[13] + old[14]) * 0.5f;
    for (int k = 12; k <= last; ++k)
        c[k] = old[k + 3];
}

// Four repairs of the long middle space of the 889 us code with 20 bits; the
// first that fits is applied.
void correctSpaces(Protocol::CellBuffer &c)
{
    const auto between = [](float v, float low, float high) { return low < v && v < high; };
    if (between(c[15], -5480.0f, -5080.0f)) {
        std::copy_backward(c + 16, c + 39, c + 40);
        c[15] = c[16] = (c[15] + 3500.0f) * 0.5f;
        if (c[39] == 0.0f)
            c[39] = -889.0f;
        qDebug("T1");
    } else if (between(c[15], -4590.0f, -4190.0f)) {
        c[15] += 3500.0f;
        qDebug("T2");
    } else if (between(c[16], -4590.0f, -4190.0f)) {
        c[16] += 3500.0f;
        qDebug("T3");
    } else if (between(c[16], -3700.0f, -3300.0f)) {
        std::copy(c + 17, c + 41, c + 16);
        if (c[39] == 0.0f)
            c[39] = -889.0f;
        c[40] = 0.0f;
        c[41] = 0.0f;
        qDebug("T4");
    }
}

} // namespace

ProtocolCandidate::ProtocolCandidate(int id, DecoderKind decoder, const char *tpl,
                                     std::initializer_list<int> symbolTimings, int a, int b)
    : recognizerId(id), kind(decoder), timingTemplate(tpl), tolA(a), tolB(b)
{
    std::copy_n(symbolTimings.begin(), std::min<std::size_t>(symbolTimings.size(), 32), timings);
}

ProtocolCandidate::ProtocolCandidate(int id, DecoderKind decoder) : recognizerId(id), kind(decoder)
{
}

ProtocolCandidate &ProtocolCandidate::cut(const char *addressRecipe, const char *commandRecipe)
{
    address = recipe(addressRecipe);
    command = recipe(commandRecipe);
    return *this;
}

ProtocolCandidate &ProtocolCandidate::spanOf(int microseconds)
{
    span = microseconds;
    return *this;
}

ProtocolCandidate &ProtocolCandidate::pattern(const char *runs)
{
    labelPattern = expandPattern(runs);
    return *this;
}

ProtocolCandidate &ProtocolCandidate::cutAfter87()
{
    preparation = Preparation::CutAfter87;
    return *this;
}

ProtocolCandidate &ProtocolCandidate::halves(int r, int o, int u, int t)
{
    preparation = Preparation::Halves;
    rowStart = r;
    outStart = o;
    unit = u;
    splitTol = t;
    return *this;
}

ProtocolCandidate &ProtocolCandidate::markHalves(int r, int o, int u, int t)
{
    halves(r, o, u, t);
    preparation = Preparation::MarkHalves;
    return *this;
}

ProtocolCandidate &ProtocolCandidate::bufferOfRowBefore()
{
    preparation = Preparation::BufferOfRowBefore;
    return *this;
}

ProtocolCandidate &ProtocolCandidate::firstEntry(float v)
{
    firstEntryValue = v;
    return *this;
}

ProtocolCandidate &ProtocolCandidate::pad(int e, float v)
{
    padAt = e;
    padValue = v;
    return *this;
}

ProtocolCandidate &ProtocolCandidate::merge(int last)
{
    mergeLast = last;
    return *this;
}

ProtocolCandidate &ProtocolCandidate::with(unsigned step)
{
    steps |= step;
    return *this;
}

ProtocolCandidate &ProtocolCandidate::complement(int a, int b, int length, int second, int secondB, int secondLength)
{
    checks[0] = {BitCheck::Kind::Complement, a, b, length};
    if (secondLength > 0)
        checks[1] = {BitCheck::Kind::Complement, second, secondB, secondLength};
    return *this;
}

ProtocolCandidate &ProtocolCandidate::differ(int a, int b, int length)
{
    checks[0] = {BitCheck::Kind::Differ, a, b, length};
    return *this;
}

QVector<ProtocolCandidate::Piece> ProtocolCandidate::recipe(const char *text)
{
    QVector<Piece> pieces;
    const QString all = QString::fromLatin1(text);
    if (all.isEmpty() || all == QLatin1String("-"))
        return pieces;
    for (const QString &part : all.split(QLatin1Char('+'))) {
        Piece piece;
        if (part.startsWith(QLatin1Char('\''))) {
            piece.fixed = part.mid(1, part.size() - 2);
        } else {
            const int slash = part.indexOf(QLatin1Char('/'));
            piece.start = part.left(slash).toInt();
            piece.length = part.mid(slash + 1).toInt();
        }
        pieces.append(piece);
    }
    return pieces;
}

QString ProtocolCandidate::expandPattern(const char *runs)
{
    QString out;
    const std::size_t n = std::strlen(runs);
    for (std::size_t k = 0; k < n;) {
        const char c = runs[k];
        if (c == '(') {
            const char *close = std::strchr(runs + k, ')');
            const QString group = QString::fromLatin1(runs + k + 1, static_cast<int>(close - (runs + k + 1)));
            char *end = nullptr;
            const long count = std::strtol(close + 1, &end, 10);
            out += group.repeated(static_cast<int>(count));
            k = static_cast<std::size_t>(end - runs);
        } else {
            if (c != ' ')
                out += QLatin1Char(c);
            ++k;
        }
    }
    return out;
}

QString ProtocolCandidate::assemble(const QVector<Piece> &pieces, const QString &bits)
{
    QString out;
    for (const Piece &piece : pieces)
        out += piece.fixed.isEmpty() ? bits.mid(piece.start, piece.length) : piece.fixed;
    return out;
}

bool ProtocolCandidate::prepareCells(const int *row, int rowSize, Protocol::CellBuffer &cells, bool &cellsValid) const
{
    if (preparation == Preparation::Halves)
        cellsValid = Protocol::splitFrameHalves(row, rowSize, cells, rowStart, outStart, unit, splitTol);
    else if (preparation == Preparation::MarkHalves)
        cellsValid = Protocol::splitMarkHalves(row, rowSize, cells, rowStart, outStart, unit, splitTol);
    // A message that does not fit the split area is no match here, nor for
    // a row that reads the buffer it left.
    if (!cellsValid)
        return false;

    if (firstEntryValue != 0.0f)
        cells[0] = firstEntryValue;
    if (steps & RawHead) {
        cells[0] = static_cast<float>(row[0]);
        cells[1] = static_cast<float>(row[1]) + 550.0f;
        cells[2] = -550.0f;
    }
    if (mergeLast > 0)
        mergeTrailer(cells, mergeLast);
    if (padAt > 0) {
        if (cells[padAt] == 0.0f)
            cells[padAt] = padValue;
        cells[padAt + 1] = 0.0f;
    }
    if (steps & SpaceCorrections)
        correctSpaces(cells);
    return true;
}
