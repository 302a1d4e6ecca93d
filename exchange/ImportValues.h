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

// The largest import file taken: bigger ones are refused before they are
// read, so a wrong choice cannot fill the memory.
constexpr qint64 MaxFileSize = qint64(64) * 1024 * 1024;

// Reads an 8-bit text file line by line as Latin-1 text. A line's text ends
// at its first NUL byte.
class LineReader
{
public:
    explicit LineReader(const QByteArray &bytes) : m_bytes(bytes) {}

    bool atEnd() const { return m_pos >= m_bytes.size(); }
    // The next line without its own line end (LF or CR LF, whichever it
    // has); false at the end of the file.
    bool next(QString *line);
    // The rest of the file, each line with its line end as it stands.
    QString rest();

private:
    // Where the next line ends, after its LF.
    qsizetype lineEnd() const;
    QString text(qsizetype end) const;

    QByteArray m_bytes;
    qsizetype m_pos = 0;
};

} // namespace ImportValues
