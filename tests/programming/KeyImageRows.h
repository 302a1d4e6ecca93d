#pragma once

// Key codes and expected key images written out from the format, shared by
// the key-image tests of the builder and of the window.
#include "ir/Decode.h"

#include <QMap>
#include <QString>

namespace KeyImageRows {

// A stored key code whose first block carries the 15 plain hex digits given.
inline QString code(const QString &prot, const QString &plain)
{
    QString bits;
    for (QChar c : plain)
        bits += QStringLiteral("%1").arg(QString(c).toInt(nullptr, 16), 4, 2, QLatin1Char('0'));
    return prot + QLatin1Char('4') + Decode::encode(bits);
}

// The record of a key of protocol 1 ("F") or of another protocol ("E"): the
// tag and the first 13 plain digits.
inline QString first(const QString &plain)
{
    return QLatin1Char('F') + plain.left(13);
}
inline QString other(const QString &plain)
{
    return QLatin1Char('E') + plain.left(13);
}

// The image: mark, two protocol fields, 112 records of 14 digits, empty ones
// all zero.
inline QString image(bool valid, const QString &p1, const QString &p2, const QMap<int, QString> &records)
{
    QString body;
    for (int r = 0; r < 112; ++r)
        body += records.value(r, QStringLiteral("00000000000000"));
    return (valid ? QString() : QStringLiteral("FALSE")) + p1 + p2 + body;
}

} // namespace KeyImageRows
