#pragma once

#include <QByteArray>
#include <QString>

// A value read from a file as a message or a log line quotes it: whole when
// it is short, else its first characters and "…". A file may hold a value of
// megabytes, and quoted whole it would stall a message box or the log and
// spread it past the screen.
namespace QuotedValue {

constexpr int MaxCharacters = 40;

QString cut(const QString &value, int maxCharacters = MaxCharacters);

// The same for UTF-8 bytes; only the start of a long value is decoded.
QString cut(const QByteArray &utf8, int maxCharacters = MaxCharacters);

} // namespace QuotedValue
