#include "ir/IrReplayFile.h"

#include "app/CheckedFile.h"
#include "app/QuotedValue.h"

#include <QStringList>

namespace {

// A duration is written as digits with an optional leading minus and nothing
// else: toInt() alone would read "9000<NUL>12345" as 9000.
bool durationValue(const QByteArray &v, int *value)
{
    const qsizetype start = v.startsWith('-') ? 1 : 0;
    if (v.size() == start)
        return false;
    for (qsizetype i = start; i < v.size(); ++i) {
        if (v[i] < '0' || v[i] > '9')
            return false;
    }
    bool ok = false;
    *value = v.toInt(&ok);
    return ok;
}

// A bad value as the message quotes it: not a whole line of it, and control
// characters (a NUL above all) written out.
QString quoted(const QByteArray &v)
{
    // Cut first, then show control characters as escapes, so a NUL or a
    // form feed reads as what it is.
    QString shown;
    for (const QChar c : QuotedValue::cut(v)) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

// The lines of the text as the other readers see them: a UTF-8 byte-order
// mark is not part of the first line, and a line ends at LF, CR LF or a CR
// alone (a file saved with old Mac line ends is not one long line).
QList<QByteArray> splitLines(const QByteArray &text)
{
    QList<QByteArray> lines;
    const qsizetype size = text.size();
    qsizetype start = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    for (qsizetype i = start; i < size; ++i) {
        if (text[i] != '\n' && text[i] != '\r')
            continue;
        lines.append(text.mid(start, i - start));
        if (text[i] == '\r' && i + 1 < size && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    lines.append(text.mid(start));
    return lines;
}

} // namespace

bool IrReplayFile::parseRows(const QByteArray &text, QList<IrReplayRow> *rows, QList<IrReplayProblem> *problems,
                             QString *error)
{
    rows->clear();
    problems->clear();
    const QList<QByteArray> lines = splitLines(text);
    int durationsColumn = -1, idColumn = -1, columns = 0;
    bool headerSeen = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        if (line.trimmed().isEmpty())
            continue;
        const QList<QByteArray> fields = line.split('\t');
        const int lineNo = i + 1;
        if (!headerSeen) {
            headerSeen = true;
            columns = fields.size();
            for (int c = 0; c < fields.size(); ++c) {
                const QByteArray name = fields[c].trimmed();
                if (name == "durations")
                    durationsColumn = c;
                else if (name == "id")
                    idColumn = c;
            }
            if (durationsColumn < 0) {
                *error = QStringLiteral("line %1: the header names no \"durations\" column").arg(lineNo);
                rows->clear();
                problems->clear();
                return false;
            }
            continue;
        }
        IrReplayProblem problem;
        problem.line = lineNo;
        if (idColumn >= 0 && idColumn < fields.size())
            problem.id = QString::fromUtf8(fields[idColumn]);
        if (fields.size() != columns) {
            problem.message = QStringLiteral("%1 fields, the header has %2").arg(fields.size()).arg(columns);
            problems->append(problem);
            continue;
        }
        IrReplayRow row;
        row.line = lineNo;
        row.id = idColumn >= 0 ? QString::fromUtf8(fields[idColumn]) : QStringLiteral("row %1").arg(lineNo);
        const QList<QByteArray> values = fields[durationsColumn].split(' ');
        for (const QByteArray &v : values) {
            if (v.isEmpty())
                continue;
            int d = 0;
            if (!durationValue(v, &d) || d == 0) {
                problem.message = QStringLiteral("\"%1\" is not a duration").arg(quoted(v));
                break;
            }
            if (row.durations.size() == kMaxRowDurations) {
                int count = 0;
                for (const QByteArray &w : values)
                    count += w.isEmpty() ? 0 : 1;
                problem.message = QStringLiteral("%1 durations, more than the %2 a row may hold")
                                      .arg(count)
                                      .arg(kMaxRowDurations);
                break;
            }
            row.durations.append(d);
        }
        if (problem.message.isEmpty() && row.durations.isEmpty())
            problem.message = QStringLiteral("no durations");
        if (!problem.message.isEmpty()) {
            problems->append(problem);
            continue;
        }
        rows->append(row);
    }
    if (!headerSeen) {
        *error = QStringLiteral("the file is empty");
        return false;
    }
    return true;
}

bool IrReplayFile::parse(const QByteArray &text, QList<IrReplayRow> *rows, QString *error)
{
    QList<IrReplayRow> result;
    QList<IrReplayProblem> problems;
    rows->clear();
    if (!parseRows(text, &result, &problems, error))
        return false;
    if (!problems.isEmpty()) {
        const IrReplayProblem &first = problems.first();
        *error = first.id.isEmpty()
            ? QStringLiteral("line %1: %2").arg(first.line).arg(first.message)
            : QStringLiteral("line %1 (row \"%2\"): %3").arg(first.line).arg(first.id, first.message);
        return false;
    }
    *rows = result;
    return true;
}

bool IrReplayFile::readFile(const QString &path, QByteArray *text, QString *error)
{
    // Through the checked reader: a FIFO would block the open until a writer
    // comes, and a device such as /dev/zero has no size and never ends.
    return CheckedFile::read(path, kMaxFileBytes, text, error) == CheckedFile::Result::Done;
}

bool IrReplayFile::load(const QString &path, QList<IrReplayRow> *rows, QString *error)
{
    rows->clear();
    QByteArray text;
    if (!readFile(path, &text, error))
        return false;
    if (!parse(text, rows, error)) {
        *error = QStringLiteral("%1: %2").arg(path, *error);
        return false;
    }
    return true;
}

bool IrReplayFile::loadRows(const QString &path, QList<IrReplayRow> *rows, QList<IrReplayProblem> *problems,
                            QString *error)
{
    rows->clear();
    problems->clear();
    QByteArray text;
    if (!readFile(path, &text, error))
        return false;
    if (!parseRows(text, rows, problems, error)) {
        *error = QStringLiteral("%1: %2").arg(path, *error);
        return false;
    }
    return true;
}
