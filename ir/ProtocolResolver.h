#pragma once

#include <QString>
#include <QVector>

#include <vector>

class CaptureStore;

// The key-code resolver's cases. Most of them share one shape: a guard on the
// RecognizerIds and on n, an agreement count over the messages, a threshold
// that the count must reach, a bit recipe and a four-digit prefix. Those are
// rows of data; the few that do not fit the shape are named special cases
// (a function that decides the whole case). The list is tried in order and
// the first case that accepts ends the search.
namespace KeyCodeResolver {

// The messages 0..9 as the resolver reads them.
struct Messages
{
    const int *ids;
    const QString *address;
    const QString *command;
    int n;

    int id(int k) const { return ids[k]; }
    const QString &adr(int k) const { return address[k]; }
    const QString &cmd(int k) const { return command[k]; }
};

// Minimum counts as integer predicates (no floating point): "normal" is
// count >= 0.7 x (n + 1) with the single-precision 0.7, which never rounds up.
enum class Threshold {
    Normal,         // 10c >= 7(n + 1)
    Any,            // c >= 1
    ThreeFromThird, // n >= 2: c >= 3; before that as Normal
    SevenTenthsOfN, // 10c >= 7n (the newest message is not counted)
    AtLeastTwo,     // c >= 2
    Half,           // 2c >= n + 1
    FortyNine,      // 100c >= 49(n + 1)
    TwoFifths,      // 5c > 2(n + 1): 0.4 x 5 is a hair above 2, so it needs 3
};
bool reaches(Threshold threshold, int count, int n);

// How a later message is compared in a counted case.
enum class Reference {
    Message0, // Adr[0], Cmd[0]
    Message1, // Adr[1], Cmd[1]
};

// What odd-numbered messages are compared with in the alternating kinds.
enum class OddRule {
    SameAsEven,          // not alternating
    Command1,            // Adr[0] and Cmd[1]
    InvertedCommand,     // Adr[0] and the inversion of Cmd[0]
    InvertedBoth,        // the inversions of Adr[0] and Cmd[0]
    Message1WithOddId,   // ID = oddId, Adr[1], Cmd[1]
};

// The agreement count of a data row: base + the number of k in from..to
// (to = n, or n - 1 when the newest is left out) whose id is one of ids and
// whose texts equal the reference (as far as compared).
struct Count
{
    int base = 0;
    int from = 0;
    bool leaveNewest = false;
    int ids[2] = {0, 0}; // 0 = unused; ids[0] = 0 means the case's own id
    bool compareAddress = true;
    bool compareCommand = true;
    Reference reference = Reference::Message0;
    bool invertAddress = false;          // later frames carry the inverted address
    QVector<QString> commandVariants;    // further commands that agree
    OddRule odd = OddRule::SameAsEven;
    int oddId = 0;
};

// One piece of a bit recipe.
struct BitPiece
{
    enum class Kind { Address, Command, Literal, FlagFromN } kind = Kind::Literal;
    int message = 0;         // 0, 1, or kNewest for message n
    int start = 0;
    int length = -1;         // -1 = the whole text
    QString literal;         // Literal
    int fromN = 0;           // FlagFromN: "1" when n >= fromN, else "0"
};
constexpr int kNewest = -1;

struct Case;
enum class Outcome { Pass, Accept, AcceptNoCode };
// A named special case decides everything itself; on Accept it sets code.
using Special = Outcome (*)(const Case &c, const Messages &m, QString &code);
// A count of a shape only a few rows share (framed, end frame, sliced).
using CountFn = int (*)(const Case &c, const Messages &m);
// A bit string that is not a join of texts (number readings).
using BitsFn = QString (*)(const Messages &m);

struct Case
{
    const char *name = "";
    int id = 0;            // guard ID[0]; 0 = ID[0] not tested
    int id0Alt = 0;        // ID[0] may also be this
    int id1 = 0;           // guard ID[1] (0 = not tested)
    int minN = 0;          // guard n >= minN
    QString command0Prefix; // guard: Cmd[0] starts with it
    bool immediate = false; // accepts when the guard holds, no count
    Count count;
    Threshold threshold = Threshold::Normal;
    QVector<BitPiece> bits;
    const char *prefix = nullptr; // nullptr: accepting ends the search with no code
    Special special = nullptr;
    CountFn countFn = nullptr;
    BitsFn bitsFn = nullptr;
    // Parameters of the special cases that take them.
    QString pattern;
    QString addressPattern;
};

// The cases in the order they are tried.
const std::vector<Case> &cases();

// "A0+C0", "'1'+A0+C0", "C0+A0+'11'", "A0+C0:0:9" (mid 0, 9), "Cn" (message
// n), "N3" ("1" when n >= 3, else "0"): the pieces of a bit string.
QVector<BitPiece> recipe(const char *text);
QString assemble(const QVector<BitPiece> &pieces, const Messages &m);

// The guard fields of a case (ids, n, command start).
bool guardHolds(const Case &c, const Messages &m);

// The agreement count of a data row (not used for specials).
int countOf(const Case &c, const Messages &m);

// Tries the cases in order; "UNKNOWN" when none gives a code. nameOut, when
// given, receives the name of the case that ended the search ("" if none).
QString resolve(const Messages &m, const char **nameOut = nullptr);

// Readings of digit texts used by a few cases.
int hexDigitValue(const QString &digit);
// The text read as an unsigned number in base (16 or 8; anything that is
// not such a number is 0), written in base 2 and padded on the left to width.
QString numberBits(const QString &digits, int base, int width);

} // namespace KeyCodeResolver
