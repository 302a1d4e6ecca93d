#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Checks and conversions shared by the import readers: values from a file
// are plain text until one of these has accepted them.
namespace ImportValues {

// A decimal number made only of ASCII digits, within [min, max] (min >= 0);
// -1 otherwise (signs, blanks and other characters are refused).
int integer(const QString &text, int min, int max);

// A timing correction: a finite decimal number from -20 to 20.
bool isCorrection(const QString &text);

// The lines of an 8-bit text file as Latin-1 text, each without its own
// line end (LF or CR LF); a last line without line end is kept, and a file
// ending in a line end has no empty line after it.
QList<QString> latin1Lines(const QByteArray &bytes);

} // namespace ImportValues
