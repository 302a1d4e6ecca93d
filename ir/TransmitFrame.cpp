#include "ir/TransmitFrame.h"

#include "ir/Decode.h"
#include "ir/Misc.h"
#include "programming/ProtocolLookup.h"

namespace {

constexpr int kCodeStart = 4;      // the key code's blocks follow its four leading digits
constexpr int kMaxCodeDigits = 200;
constexpr int kByteCountDigit = 3; // the fourth character of a key code

// The byte at character position pos: 0 when the pair is not two hex digits
// (signs, spaces and prefixes are not hex).
int byteAt(const QString &text, int pos)
{
    if (pos + 1 >= text.size())
        return 0;
    const int hi = Misc::hexValue(text.at(pos));
    const int lo = Misc::hexValue(text.at(pos + 1));
    return hi < 0 || lo < 0 ? 0 : hi * 16 + lo;
}

} // namespace

namespace TransmitFrame {

QString frameBits(const QString &keyCode)
{
    const QString code = Decode::decode(keyCode.mid(kCodeStart, kMaxCodeDigits)).left(kCodeBits);
    return QStringLiteral("0000") + code.leftJustified(kFrameBits - 4, QLatin1Char('0'));
}

int frameBytes(const QString &keyCode, const QString &blob)
{
    int digit = 0;
    if (keyCode.size() > kByteCountDigit) {
        const QChar c = keyCode.at(kByteCountDigit);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digit = c.unicode() - '0';
    }
    int n = qMax(8 * digit, int(blob.size() / 2));
    if (n % 8 != 0)
        n += 8 - n % 8;
    return n;
}

QString build(const QString &keyCode, const QString &blob, QString *note)
{
    const int n = frameBytes(keyCode, blob);
    const QString bits = frameBits(keyCode).left(n);

    // Whole bytes only: a lone last digit would pair with the padding's
    // first digit and shift every "7F" after it by half a byte.
    QString text = blob;
    if (text.size() % 2 != 0) {
        if (note)
            *note = QStringLiteral("code blob of odd length %1: last digit \"%2\" dropped")
                        .arg(text.size())
                        .arg(text.back());
        text.chop(1);
    }
    while (text.size() < 2 * n)
        text += QStringLiteral("7F");
    text.truncate(2 * n);

    QString frame;
    frame.reserve(2 * n);
    for (int i = 0; i < n; ++i) {
        int v = byteAt(text, 2 * i);
        if (i < bits.size() && bits.at(i) == QLatin1Char('1') && v <= 127)
            v += 128;
        frame += QLatin1Char(Misc::hexDigit(v / 16));
        frame += QLatin1Char(Misc::hexDigit(v % 16));
    }
    return frame;
}

QString codeBlob(QSqlDatabase db, int deviceId, const QString &keyCode)
{
    QString blob;
    // Without a slot code: the second-generation device's one row per protocol.
    if (!ProtocolLookup::usbProtocol(db, deviceId, keyCode.left(3), -1, &blob))
        return ProtocolLookup::notFound();
    return blob;
}

} // namespace TransmitFrame
