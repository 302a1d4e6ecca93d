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
};

// Reads capture files for replay into the simulated receiver: UTF-8 text, a
// header line naming the TAB-separated columns (one of them "durations", and
// usually "id"), then one row per key press whose "durations" field holds
// space-separated integers.
class IrReplayFile
{
public:
    // False with a message naming the line when the text is not such a file;
    // rows is then left empty.
    static bool parse(const QByteArray &text, QList<IrReplayRow> *rows, QString *error);
    static bool load(const QString &path, QList<IrReplayRow> *rows, QString *error);
};
