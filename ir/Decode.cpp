#include "ir/Decode.h"

#include "ir/Misc.h"

namespace {

constexpr int kBlockBits = 60;
constexpr int kBlockDigits = 15;
constexpr int kScrambled = 13;

bool isBitGroup(const QString &group)
{
    if (group.size() != 4)
        return false;
    for (QChar c : group)
        if (c != QLatin1Char('0') && c != QLatin1Char('1'))
            return false;
    return true;
}

// Value of one hex digit of either case; 0 for anything else.
int anyCaseHexValue(QChar c)
{
    return qMax(0, Misc::hexValue(c));
}

bool isUpperHexDigit(QChar c)
{
    const ushort u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'F');
}

QString digitAt(const QString &text, int i)
{
    return i < text.size() ? QString(text.at(i)) : QString();
}

} // namespace

int Decode::hexToInt(const QString &digit)
{
    if (digit.size() != 1 || !isUpperHexDigit(digit.at(0)))
        return 0;
    return anyCaseHexValue(digit.at(0));
}

char Decode::binToHex(const QString &bits)
{
    if (!isBitGroup(bits))
        return '0';
    int v = 0;
    for (QChar c : bits)
        v = v * 2 + (c == QLatin1Char('1') ? 1 : 0);
    return Misc::hexDigit(v);
}

QString Decode::encode(const QString &bits)
{
    if (bits.size() > kBlockBits)
        return encodeBlock(bits.left(kBlockBits)) + encode(bits.mid(kBlockBits));
    return encodeBlock(bits);
}

QString Decode::encodeBlock(const QString &input)
{
    const QString piece = input.leftJustified(kBlockBits, QLatin1Char('0'));

    // A group that is no bit pattern gives no digit; later digits move up.
    QString digits;
    for (int g = 0; g < kBlockDigits; ++g) {
        const QString group = piece.mid(4 * g, 4);
        if (isBitGroup(group))
            digits.append(QLatin1Char(binToHex(group)));
    }

    const int key = 16 * hexToInt(digitAt(digits, 0)) + hexToInt(digitAt(digits, 1));

    // Missing digits count as 0 and take their own position.
    QString plain = digits.leftJustified(kBlockDigits, QLatin1Char('0'));
    for (int i = 2; i < kBlockDigits; ++i) {
        int v = hexToInt(QString(plain.at(i))) + substitutionTable[key][i - 2];
        if (v > 15)
            v -= 16;
        plain[i] = QLatin1Char(Misc::hexDigit(v));
    }

    QString block(kBlockDigits, QLatin1Char('0'));
    block[0] = plain.at(0);
    block[1] = plain.at(1);
    for (int i = 2; i < kBlockDigits; ++i)
        block[permutationTable[key][i - 2] + 2] = plain.at(i);
    return block;
}

QString Decode::decode(const QString &blocks)
{
    if (blocks.size() > kBlockDigits)
        return decodeBlock(blocks.left(kBlockDigits)) + decode(blocks.mid(kBlockDigits));
    return decodeBlock(blocks);
}

QString Decode::decodeBlock(const QString &b)
{
    const int key = 16 * hexToInt(digitAt(b, 0)) + hexToInt(digitAt(b, 1));

    QString w = b.left(2) + QString(kScrambled, QLatin1Char('0'));

    // Gather: a short block shifts the working text, exactly as the stored
    // codes of partial blocks have always been read.
    for (int i = 2; i < kBlockDigits; ++i) {
        const int pos = permutationTable[key][i - 2] + 2;
        if (pos < b.size()) {
            if (i < w.size())
                w[i] = b.at(pos);
            else if (i == w.size())
                w.append(b.at(pos));
        } else if (i < w.size()) {
            w.remove(i, 1);
        }
    }

    for (int i = 2; i < kBlockDigits; ++i) {
        int v = i < w.size() ? anyCaseHexValue(w.at(i)) : 0;
        v -= substitutionTable[key][i - 2];
        if (v < 0)
            v += 16;
        const QChar digit = QLatin1Char(Misc::hexDigit(v));
        if (i < w.size())
            w[i] = digit;
        else if (i == w.size())
            w.append(digit);
    }

    static const char *const patterns[16] = {"0000", "0001", "0010", "0011", "0100", "0101",
                                             "0110", "0111", "1000", "1001", "1010", "1011",
                                             "1100", "1101", "1110", "1111"};
    QString bits;
    bits.reserve(kBlockBits);
    for (int i = 0; i < kBlockDigits && i < w.size(); ++i) {
        if (isUpperHexDigit(w.at(i)))
            bits.append(QLatin1String(patterns[anyCaseHexValue(w.at(i))]));
    }
    return bits;
}
