#include "programming/SlotImageText.h"

#include "ir/Decode.h"

#include <QVariant>

namespace SlotImageText {

namespace {

bool isHexDigit(QChar c, bool upperOnly)
{
    const ushort u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (!upperOnly && u >= 'a' && u <= 'f');
}

} // namespace

QByteArray latin1(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text)
        out.append(c.unicode() > 0xFF ? '?' : char(c.unicode()));
    return out;
}

QString hexByte(int value)
{
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

QString hexBytes(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex()).toUpper();
}

QString bitsToHex(const QString &bits)
{
    QString out;
    out.reserve(bits.size() / 4);
    for (int i = 0; i + 4 <= bits.size(); i += 4)
        out += QLatin1Char(Decode::binToHex(bits.mid(i, 4)));
    return out;
}

bool isHexBytes(const QString &text)
{
    if (text.size() % 2)
        return false;
    for (QChar c : text)
        if (!isHexDigit(c, false))
            return false;
    return true;
}

bool isKeyCode(const QString &id)
{
    if (id.size() < 4 + 15 || (id.size() - 4) % 15)
        return false;
    for (int i = 0; i < 4; ++i)
        if (!id.at(i).isDigit() || id.at(i).unicode() > '9')
            return false;
    for (int i = 4; i < id.size(); ++i)
        if (!isHexDigit(id.at(i), true))
            return false;
    return true;
}

bool keyNumber(const QVariant &nkey, int *number)
{
    if (nkey.isNull())
        return false;
    bool ok = false;
    const int k = nkey.toString().toInt(&ok);
    if (ok && number)
        *number = k;
    return ok;
}

} // namespace SlotImageText
