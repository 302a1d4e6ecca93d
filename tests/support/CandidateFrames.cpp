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
