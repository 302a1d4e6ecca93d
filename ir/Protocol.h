#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <QString>

#include <string_view>

class CaptureStore;

// What recognition hands on for one message: the texts and the span go into
// the store, the label pattern (one letter per duration) colours the
// oscillograph cells.
struct FrameResult
{
    QString labelPattern;
    QString addressText;
    QString commandText;
    int span = 0;
    // Place in its chain (from 0) of the candidate that matched; -1 when a
    // duration-class stage or nothing did.
    int candidateRow = -1;
};

// Which candidate set the receiver's signal mode calls for.
enum class ReceiveMode { Modulated, NonModulated };

// The nine timing-template decoders. They share one template language and
// differ in their data symbols, in how a token is told to be a letter run,
// in how number tokens are tested and in whether unused values fail the
// match (see the family table in ProtocolDecoders.cpp).
enum class DecoderKind {
    PulseDistance, // decodePulseDistance: (mark, space) -> "1", "0"; spaces on the period
    Symbols8,      // decodeSymbols8: eight pairs -> octal digits
    Symbols16,     // decodeSymbols16: sixteen pairs -> hex digits
    Symbols4,      // decodeSymbols4: four pairs -> "11", "10", "01", "00"
    FlashPairs,    // decodeFlashPairs: four groups of four values -> two bits
    Mixed,         // decodeMixed: a group of three, three groups of four -> two bits
    SymbolPairs4,  // decodeSymbolPairs4: two groups of four -> "1", "0"
    Symbols3,      // decodeSymbols3: four values -> "1", a pair -> "0"
    Biphase,       // decodeBiphase: two pairs of half cells -> "1", "0"
};

// Frame recogniser and key-code resolver, with the decoders, normalisers and
// duration-class stages they are built from. None of them keeps state: they
// work on the rows and buffers they are given, and every one of them stops at
// the end of its buffer (a message that would run past it does not match).
class Protocol : public QObject
{
    Q_OBJECT
public:
    // The recogniser's float work buffer: one value per (half) cell.
    static constexpr int kCellBufferSize = 1000;
    // A split clears and fills only this many cells; the normalised message
    // and its terminator must fit there.
    static constexpr int kSplitArea = 200;
    using CellBuffer = float[kCellBufferSize];

    explicit Protocol(QObject *parent = nullptr);
    ~Protocol() override;

    // Recognises closed message i of the store (the window's copy of its row,
    // which it may rewrite), stores its RecognizerId, texts and span, and
    // returns what it stored together with the label pattern.
    FrameResult recognizeFrame(CaptureStore &store, int i, ReceiveMode mode = ReceiveMode::Modulated);
    // Turns the recognised messages 0..n of the store into the key code of
    // the key press, or "UNKNOWN". Reads only the RecognizerIds and texts.
    static QString resolveKeyCode(const CaptureStore &store, int n);

    // True when the catalogue holds a transmit code for the protocol number
    // (the first three characters of a key code) in "protocolsirt".
    static bool checkTransmitProtocol(const QString &protocolNumber, QSqlDatabase db = QSqlDatabase::database());

    // ---- decoders
    // Walks the size values of row (a message row, or a cell buffer for the
    // biphase and mixed kinds) against timingTemplate. Writes recognizerId
    // into slot first and -1 when the walk fails; returns the bit text of a
    // match (empty for a template without data letters) and the empty text
    // otherwise, so callers judge by slot. timings holds the nominal symbol
    // durations in the kind's argument order (symbolTimingCount(kind) values).
    static QString decode(DecoderKind kind, int &slot, int recognizerId, const int *row, int size,
                          const int *timings, int tolA, int tolB, std::string_view timingTemplate);
    static QString decode(DecoderKind kind, int &slot, int recognizerId, const float *row, int size,
                          const int *timings, int tolA, int tolB, std::string_view timingTemplate);
    static int symbolTimingCount(DecoderKind kind);
    // The data symbols of a kind, in trial order: `length` values from
    // timings[first], appending `text`.
    struct SymbolShape
    {
        int first;
        int length;
        const char *text;
    };
    static int symbolCount(DecoderKind kind);
    static SymbolShape symbolShape(DecoderKind kind, int index);
    // Whether a token is a letter run when its first character (rather than
    // its second) is b, o or z.
    static bool letterRunOnFirstCharacter(DecoderKind kind);

    // ---- normalisers
    // Clear out[0..kSplitArea) and write the message from row[rowStart] on
    // into out[outStart...], each duration of about two (or three) units split
    // into equal halves (thirds). splitFrameHalves splits marks and spaces and
    // ends an odd count with a space of one unit; splitMarkHalves splits marks
    // only. False when the row has no terminating 0 or the result would not
    // fit the split area (the candidate then does not match).
    static bool splitFrameHalves(const int *row, int rowSize, CellBuffer &out, int rowStart, int outStart, int unit,
                                 int tol);
    static bool splitMarkHalves(const int *row, int rowSize, CellBuffer &out, int rowStart, int outStart, int unit,
                                int tol);
    // Writes values up to their first 0 into row, truncated toward zero, and
    // terminates the row with 0. False, and the row untouched, when values
    // hold no 0 within the first min(valuesSize, rowSize) entries.
    static bool storeNormalizedFrame(int *row, int rowSize, const float *values, int valuesSize);

    // ---- duration-class stages, tried in this order after the last
    // modulated candidate. Each writes its RecognizerId into slot and fills
    // result on a match; on no match slot and result are left alone.
    // Stages 3 and 4 rewrite row (one entry per cell or unit, 0-terminated).
    static bool runLength1640Stage(const int *row, int rowSize, FrameResult &result, int &slot);
    static bool runLength1110Stage(const int *row, int rowSize, FrameResult &result, int &slot);
    static bool positionCodeStage(int *row, int rowSize, CellBuffer &cells, FrameResult &result, int &slot);
    static bool unitCountStage(int *row, int rowSize, CellBuffer &cells, FrameResult &result, int &slot);
    // All four in order; when none matches, result is the no-match result
    // (span 100000, empty texts and pattern) and slot is left alone.
    static void runStages(int *row, int rowSize, CellBuffer &cells, FrameResult &result, int &slot);

    // Stores span and texts of message i.
    static void complete(CaptureStore &store, int i, const FrameResult &result);

    // Span of a message that nothing recognised.
    static constexpr int kNoMatchSpan = 100000;
};
