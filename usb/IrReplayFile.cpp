#include "usb/IrReplayFile.h"

#include <QFile>
#include <QStringList>

namespace {

constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

} // namespace

bool IrReplayFile::parse(const QByteArray &text, QList<IrReplayRow> *rows, QString *error)
{
    rows->clear();
    const QList<QByteArray> lines = text.split('\n');
    int durationsColumn = -1, idColumn = -1, columns = 0;
    QList<IrReplayRow> result;
    bool headerSeen = false;
    for (int i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
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
                return false;
            }
            continue;
        }
        if (fields.size() != columns) {
            *error = QStringLiteral("line %1: %2 fields, the header has %3").arg(lineNo).arg(fields.size()).arg(columns);
            return false;
        }
        IrReplayRow row;
        row.id = idColumn >= 0 ? QString::fromUtf8(fields[idColumn]) : QStringLiteral("row %1").arg(lineNo);
        const QList<QByteArray> values = fields[durationsColumn].split(' ');
        for (const QByteArray &v : values) {
            if (v.isEmpty())
                continue;
            bool ok = false;
            const int d = v.toInt(&ok);
            if (!ok || d == 0) {
                *error = QStringLiteral("line %1: \"%2\" is not a duration").arg(lineNo).arg(QString::fromUtf8(v));
                return false;
            }
            row.durations.append(d);
        }
        if (row.durations.isEmpty()) {
            *error = QStringLiteral("line %1: no durations").arg(lineNo);
            return false;
        }
        result.append(row);
    }
    if (!headerSeen) {
        *error = QStringLiteral("the file is empty");
        return false;
    }
    *rows = result;
    return true;
}

bool IrReplayFile::load(const QString &path, QList<IrReplayRow> *rows, QString *error)
{
    rows->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    if (file.size() > kMaxFileBytes) {
        *error = QStringLiteral("%1: larger than %2 bytes").arg(path).arg(kMaxFileBytes);
        return false;
    }
    const QByteArray text = file.readAll();
    if (!parse(text, rows, error)) {
        *error = QStringLiteral("%1: %2").arg(path, *error);
        return false;
    }
    return true;
}
