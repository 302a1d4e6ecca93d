#include "app/QuotedValue.h"

namespace QuotedValue {

QString cut(const QString &value, int maxCharacters)
{
    if (value.size() <= maxCharacters)
        return value;
    qsizetype end = maxCharacters;
    // A character of two UTF-16 units is kept whole or not at all.
    if (end > 0 && value.at(end - 1).isHighSurrogate())
        --end;
    return value.left(end) + QChar(0x2026);
}

QString cut(const QByteArray &utf8, int maxCharacters)
{
    // A character takes at most four bytes: more bytes than that many
    // characters can take means the value is longer than the limit.
    const qsizetype enough = qsizetype(maxCharacters) * 4;
    if (utf8.size() <= enough)
        return cut(QString::fromUtf8(utf8), maxCharacters);
    const QString start = QString::fromUtf8(utf8.constData(), enough);
    return start.size() > maxCharacters ? cut(start, maxCharacters) : start + QChar(0x2026);
}

} // namespace QuotedValue
