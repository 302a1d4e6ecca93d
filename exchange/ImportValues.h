#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

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

// The texts an import stores, each bounded in length so a file cannot bring
// megabytes into the catalogue's lists and labels.
enum class Field { Brand, Type, Model, KeyName, KeyCode };

// The most characters an import stores in a field. Real values are tens of
// characters; the bound is the most a line edit of the program takes, so
// every file the program exports comes back.
int maxCharacters(Field field);

// Why value is too long for field ("the brand is longer than … characters"),
// in the program's language; empty when it fits.
QString tooLong(Field field, const QString &value);

// A reason with the line of the file it was found on: "line 12: …".
QString onLine(qsizetype line, const QString &reason);

// Reads an 8-bit text file line by line as Latin-1 text. A line ends at LF,
// CR LF or a CR alone; its text ends at its first NUL byte.
class LineReader
{
public:
    explicit LineReader(const QByteArray &bytes) : m_bytes(bytes) {}

    bool atEnd() const { return m_pos >= m_bytes.size(); }
    // The next line without its own line end; false at the end of the file.
    bool next(QString *line);
    // The rest of the file, each line with its line end as it stands.
    QString rest();
    // The number of the line next() gave last, counted from 1.
    qsizetype lineNumber() const { return m_line; }

private:
    // Where the next line's text stops (at its line end) and where the line
    // after it begins.
    void lineEnd(qsizetype *stop, qsizetype *end) const;
    QString text(qsizetype end) const;

    QByteArray m_bytes;
    qsizetype m_pos = 0;
    qsizetype m_line = 0;
};

// The lines of a file a reader skipped: counted, with the first few kept,
// so a file of nothing but such lines gives one line for the log.
class SkippedLines
{
public:
    static constexpr int Shown = 5;

    // Line number and why it was skipped (with any value already cut).
    void add(qsizetype line, const QString &reason);
    qsizetype count() const { return m_count; }
    // One line: how many were skipped and the first few with their reasons;
    // empty when none was.
    QString summary() const;

private:
    qsizetype m_count = 0;
    QStringList m_first;
};

} // namespace ImportValues
