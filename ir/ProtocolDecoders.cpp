// Protocol: the timing-template decoders, one walker driven by a family table.
#include "ir/Protocol.h"

#include <cstdint>

namespace {

// One data symbol: `length` consecutive values of the message compared with
// timings[first ...], appending `text` when every value lies in its window.
struct Symbol
{
    int first;
    int length;
    const char *text;
};

// What tells one decoder from another.
struct Family
{
    // PulseDistance and Biphase: a token is a letter run when its first
    // character is b, o or z. The others: when it has a second character and
    // that one is b, o or z (so a lone "o" is a number there, read as 0).
    bool letterRunOnFirst;
    // PulseDistance: a mark token is a window, a space token is tested on the
    // period with the value before it, and 0 fails. The others: every number
    // token, 0 included, is a plain window.
    bool periodSpaces;
    // Values left over after the last token fail the match (all but Mixed).
    bool usedUpTest;
    int timingCount;
    int symbolCount;
    const Symbol *symbols; // in trial order: the first that fits wins
};

constexpr Symbol kPairBits[] = {{0, 2, "1"}, {2, 2, "0"}};
constexpr Symbol kOctal[] = {{0, 2, "0"},  {2, 2, "1"},  {4, 2, "2"},  {6, 2, "3"},
                             {8, 2, "4"},  {10, 2, "5"}, {12, 2, "6"}, {14, 2, "7"}};
constexpr Symbol kHex[] = {{0, 2, "0"},  {2, 2, "1"},  {4, 2, "2"},  {6, 2, "3"},  {8, 2, "4"},  {10, 2, "5"},
                           {12, 2, "6"}, {14, 2, "7"}, {16, 2, "8"}, {18, 2, "9"}, {20, 2, "a"}, {22, 2, "b"},
                           {24, 2, "c"}, {26, 2, "d"}, {28, 2, "e"}, {30, 2, "f"}};
constexpr Symbol kPairTwoBits[] = {{0, 2, "11"}, {2, 2, "10"}, {4, 2, "01"}, {6, 2, "00"}};
constexpr Symbol kQuadTwoBits[] = {{0, 4, "11"}, {4, 4, "10"}, {8, 4, "01"}, {12, 4, "00"}};
constexpr Symbol kMixedTwoBits[] = {{0, 3, "11"}, {3, 4, "10"}, {7, 4, "01"}, {11, 4, "00"}};
constexpr Symbol kQuadBits[] = {{0, 4, "1"}, {4, 4, "0"}};
constexpr Symbol kQuadOrPairBits[] = {{0, 4, "1"}, {4, 2, "0"}};

// Indexed by DecoderKind.
constexpr Family kFamilies[] = {
    {true, true, true, 4, 2, kPairBits},           // PulseDistance
    {false, false, true, 16, 8, kOctal},           // Symbols8
    {false, false, true, 32, 16, kHex},            // Symbols16
    {false, false, true, 8, 4, kPairTwoBits},      // Symbols4
    {false, false, true, 16, 4, kQuadTwoBits},     // FlashPairs
    {false, false, false, 15, 4, kMixedTwoBits},   // Mixed
    {false, false, true, 8, 2, kQuadBits},         // SymbolPairs4
    {false, false, true, 6, 2, kQuadOrPairBits},   // Symbols3
    {true, false, true, 4, 2, kPairBits},          // Biphase
};

const Family &familyOf(DecoderKind kind)
{
    return kFamilies[static_cast<int>(kind)];
}

// A template has at most this many tokens (the token table's 20 slots hold
// one more, the end mark).
constexpr int kMaxTokens = 19;

// Splits a template at its commas as the decoders read it: a comma at the
// very start of the rest makes the whole rest one token, and an empty rest
// (an empty template, or one that ends with a comma) is a token that fails.
class TemplateTokens
{
public:
    enum class Next { Token, End, Fail };

    explicit TemplateTokens(std::string_view text) : m_rest(text) {}

    Next next(std::string_view &token)
    {
        if (m_last)
            return Next::End;
        if (m_count == kMaxTokens || m_rest.empty())
            return Next::Fail;
        const std::size_t comma = m_rest.find(',');
        if (comma == std::string_view::npos || comma == 0) {
            token = m_rest;
            m_rest = {};
            m_last = true;
        } else {
            token = m_rest.substr(0, comma);
            m_rest.remove_prefix(comma + 1);
        }
        ++m_count;
        return Next::Token;
    }

private:
    std::string_view m_rest;
    int m_count = 0;
    bool m_last = false;
};

bool isRunLetter(char c)
{
    return c == 'b' || c == 'o' || c == 'z';
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// A number token: a decimal integer with an optional sign, whitespace around
// it allowed. Anything else, or a number that does not fit an int, reads 0.
int tokenNumber(std::string_view token)
{
    while (!token.empty() && isSpace(token.front()))
        token.remove_prefix(1);
    while (!token.empty() && isSpace(token.back()))
        token.remove_suffix(1);
    bool negative = false;
    if (!token.empty() && (token.front() == '+' || token.front() == '-')) {
        negative = token.front() == '-';
        token.remove_prefix(1);
    }
    if (token.empty() || token.size() > 10)
        return 0;
    std::int64_t value = 0;
    for (const char c : token) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return 0;
    return static_cast<int>(value);
}

// Open window around nominal. Wide types, so that neither the message's nor
// the template's extreme values can overflow.
bool inWindow(double value, std::int64_t nominal, std::int64_t tol)
{
    return static_cast<double>(nominal - tol) < value && value < static_cast<double>(nominal + tol);
}

template <typename T>
QString walk(DecoderKind kind, int &slot, int recognizerId, const T *row, int size, const int *timings, int tolA,
             int tolB, std::string_view timingTemplate)
{
    const Family &family = familyOf(kind);
    slot = recognizerId;
    QString bits;
    int pos = 0;
    // Number of the token before the current one; 0 after a letter run.
    std::int64_t previous = 0;
    const auto fail = [&slot, &bits]() {
        slot = -1;
        bits.clear();
        return QString();
    };
    const auto inRow = [size](std::int64_t p) { return p >= 0 && p < size; };

    TemplateTokens tokens(timingTemplate);
    std::string_view token;
    for (;;) {
        const TemplateTokens::Next next = tokens.next(token);
        if (next == TemplateTokens::Next::End)
            break;
        if (next == TemplateTokens::Next::Fail)
            return fail();

        const bool letterRun = family.letterRunOnFirst ? isRunLetter(token.front())
                                                       : token.size() >= 2 && isRunLetter(token[1]);
        if (letterRun) {
            for (const char c : token) {
                if (c == 'o') {
                    bits.append(QLatin1Char('1'));
                    continue;
                }
                if (c == 'z') {
                    bits.append(QLatin1Char('0'));
                    continue;
                }
                const Symbol *found = nullptr;
                for (int s = 0; s < family.symbolCount && !found; ++s) {
                    const Symbol &symbol = family.symbols[s];
                    bool fits = true;
                    // Stops at the first value outside its window, so a
                    // symbol never reads past a value that failed.
                    for (int v = 0; v < symbol.length && fits; ++v)
                        fits = inRow(pos + v) && inWindow(row[pos + v], timings[symbol.first + v], tolB);
                    if (fits)
                        found = &symbol;
                }
                if (!found)
                    return fail();
                bits.append(QLatin1String(found->text));
                pos += found->length;
            }
            previous = 0;
            continue;
        }

        const int t = tokenNumber(token);
        if (!inRow(pos))
            return fail();
        if (!family.periodSpaces) {
            if (!inWindow(row[pos], t, tolA))
                return fail();
        } else if (t > 0) {
            if (!inWindow(row[pos], t, tolA))
                return fail();
        } else if (t < 0) {
            // A space is judged together with the value before it, so the
            // split between a mark and its space does not matter.
            if (!inRow(pos - 1))
                return fail();
            const double period = static_cast<double>(row[pos - 1]) - static_cast<double>(row[pos]);
            if (!inWindow(period, previous - t, tolA))
                return fail();
        } else {
            return fail();
        }
        ++pos;
        previous = t;
    }

    if (family.usedUpTest && !(inRow(pos) && row[pos] == 0))
        return fail();
    return bits;
}

} // namespace

int Protocol::symbolTimingCount(DecoderKind kind)
{
    return familyOf(kind).timingCount;
}

int Protocol::symbolCount(DecoderKind kind)
{
    return familyOf(kind).symbolCount;
}

Protocol::SymbolShape Protocol::symbolShape(DecoderKind kind, int index)
{
    const Symbol &s = familyOf(kind).symbols[index];
    return {s.first, s.length, s.text};
}

bool Protocol::letterRunOnFirstCharacter(DecoderKind kind)
{
    return familyOf(kind).letterRunOnFirst;
}

QString Protocol::decode(DecoderKind kind, int &slot, int recognizerId, const int *row, int size, const int *timings,
                         int tolA, int tolB, std::string_view timingTemplate)
{
    return walk(kind, slot, recognizerId, row, size, timings, tolA, tolB, timingTemplate);
}

QString Protocol::decode(DecoderKind kind, int &slot, int recognizerId, const float *row, int size,
                         const int *timings, int tolA, int tolB, std::string_view timingTemplate)
{
    return walk(kind, slot, recognizerId, row, size, timings, tolA, tolB, timingTemplate);
}
