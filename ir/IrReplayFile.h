#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVector>

// One key press of a capture file: its name and its durations in microseconds
// (marks positive, spaces negative).
struct IrReplayRow
{
    QString id;
    QVector<int> durations;
    int line = 0; // 1-based line of the file
};

// A row of a capture file that could not be read.
struct IrReplayProblem
{
    int line = 0;    // 1-based line of the file
    QString id;      // the row's id, empty when the row has no field for it
    QString message; // what is wrong, without the line
};

// Reads capture files for replay into the simulated receiver and for the
// recognition tool: UTF-8 text (a byte-order mark is allowed; lines end at
// LF, CR LF or a CR alone), a header line naming the TAB-separated columns
// (one of them "durations", and usually "id"), then one row per key press
// whose "durations" field holds space-separated non-zero integers.
class IrReplayFile
{
public:
    // One key press is at most a few thousand durations; a row far beyond
    // that is not a capture and would only cost time.
    static constexpr int kMaxRowDurations = 10000;
    static constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

    // All or nothing, for the replay: false with a message naming the line
    // when the text is not such a file or one of its rows is not sound; rows
    // is then left empty.
    static bool parse(const QByteArray &text, QList<IrReplayRow> *rows, QString *error);
    static bool load(const QString &path, QList<IrReplayRow> *rows, QString *error);

    // Row by row, for the tool: every sound row goes to rows, every other row
    // to problems. False with error only when the file as a whole cannot be
    // read (it cannot be opened, is empty or too large, or its header names no
    // "durations" column).
    static bool parseRows(const QByteArray &text, QList<IrReplayRow> *rows, QList<IrReplayProblem> *problems,
                          QString *error);
    static bool loadRows(const QString &path, QList<IrReplayRow> *rows, QList<IrReplayProblem> *problems,
                         QString *error);

private:
    static bool readFile(const QString &path, QByteArray *text, QString *error);
};
