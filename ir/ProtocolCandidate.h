#pragma once

#include "ir/Protocol.h"

#include <QString>
#include <QVector>

#include <initializer_list>
#include <vector>

// One protocol candidate of the recogniser's chain: a decoder with its
// template and timings, what prepares the message for it, what must hold of
// its bits, and what a match hands on. The chain is a table of these walked
// in order by Protocol::recognizeFrame; the first that matches decides.
struct ProtocolCandidate
{
    // How the message is prepared before the decoder runs.
    enum class Preparation {
        None,
        CutAfter87,        // the message ends after 87 durations (kept cut on a match)
        Halves,            // splitFrameHalves into the cell buffer
        MarkHalves,        // splitMarkHalves into the cell buffer
        BufferOfRowBefore, // the cell buffer as the row before left it
    };
    // Special steps, in the order the walker applies them.
    enum Step : unsigned {
        RawHead = 1u << 0,          // c[0], c[1] := durations 0, 1 (+550); c[2] := -550
        SpaceCorrections = 1u << 1, // the four space corrections before decoding
        Rule223 = 1u << 2,          // second bit '0' makes the RecognizerId 223
        Double1011 = 1u << 3,       // c[10] and c[11] doubled before the store back
        StoreBack = 1u << 4,        // the cell buffer becomes the message row
        Insert3500 = 1u << 5,       // -3500 inserted at index 16 of the row
        Prepend8134 = 1u << 6,      // 8134 and durations 0..3 reversed in sign
    };
    // A test of the bits after a match; a failed test is a non-match.
    struct BitCheck
    {
        enum class Kind { None, Complement, Differ } kind = Kind::None;
        int a = 0;
        int b = 0;
        int length = 0;
    };
    // One piece of an address or command text: a slice of the bits, or fixed
    // characters.
    struct Piece
    {
        int start = 0;
        int length = 0;
        QString fixed;
    };

    int recognizerId = -1;
    DecoderKind kind = DecoderKind::PulseDistance;
    // Empty for a candidate whose template is still to come: it never matches.
    const char *timingTemplate = "";
    int timings[32] = {};
    int tolA = 0;
    int tolB = 0;

    Preparation preparation = Preparation::None;
    int rowStart = 0;
    int outStart = 0;
    int unit = 0;
    int splitTol = 0;
    float firstEntryValue = 0.0f; // c[0] after the split; 0 = none
    int padAt = 0;                // pad: c[padAt] := padValue if it is 0, c[padAt + 1] := 0
    float padValue = 0.0f;
    int mergeLast = 0;            // merge: the last cell moved down by three; 0 = no merge
    unsigned steps = 0;
    BitCheck checks[2];

    QVector<Piece> address;
    QVector<Piece> command;
    int span = 0;
    QString labelPattern;

    // ---- building a row: chained setters keep each row of the table on a
    // few named lines.
    ProtocolCandidate(int id, DecoderKind decoder, const char *tpl, std::initializer_list<int> symbolTimings,
                      int a, int b);
    // A candidate known by id and decoder only; its data is still to come.
    ProtocolCandidate(int id, DecoderKind decoder);
    ProtocolCandidate &cut(const char *addressRecipe, const char *commandRecipe);
    ProtocolCandidate &spanOf(int microseconds);
    ProtocolCandidate &pattern(const char *runs);
    ProtocolCandidate &cutAfter87();
    ProtocolCandidate &halves(int r, int o, int u, int t);
    ProtocolCandidate &markHalves(int r, int o, int u, int t);
    ProtocolCandidate &bufferOfRowBefore();
    ProtocolCandidate &firstEntry(float v);
    ProtocolCandidate &pad(int e, float v);
    ProtocolCandidate &merge(int last);
    ProtocolCandidate &with(unsigned step);
    ProtocolCandidate &complement(int a, int b, int length, int second = 0, int secondB = 0, int secondLength = 0);
    ProtocolCandidate &differ(int a, int b, int length);

    // "0/16+'00'+18/6": slices start/length of the bits and fixed characters
    // in single quotes, joined by '+'; "" or "-" is the empty text.
    static QVector<Piece> recipe(const char *text);
    // "HH (AAaa)13 H": a group in parentheses followed by a count is
    // repeated, other letters stand as they are; blanks are dropped.
    static QString expandPattern(const char *runs);
    // Fills the cell buffer from row as this candidate's decoder reads it:
    // the split (or the buffer the row before left, when cellsValid says it
    // holds this message) and the fix-ups. False when the message does not
    // fit, which makes the candidate a non-match.
    bool prepareCells(const int *row, int rowSize, Protocol::CellBuffer &cells, bool &cellsValid) const;

    // The text a recipe makes of the bits.
    static QString assemble(const QVector<Piece> &pieces, const QString &bits);

    // The two chains, in the order they are tried.
    static const std::vector<ProtocolCandidate> &modulatedChain();
    static const std::vector<ProtocolCandidate> &nonModulatedChain();
};
