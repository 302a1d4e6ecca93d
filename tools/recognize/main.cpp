// irvanta-recognize: what the program makes of key presses in capture files.
// Every row goes through the program's own receive path (receiver reports,
// capture rules, message closing, recognition, resolution) with no device,
// window or timers; one line per row on standard output.
#include "app/QuotedValue.h"
#include "ir/IrReplayFile.h"
#include "usb/sim/ReceivePath.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kExitNoRow = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "usage: irvanta-recognize [--mode modulated|unmodulated] [--time] FILE...\n"
    "Reads capture files (TAB-separated text whose header names the columns \"id\"\n"
    "and \"durations\"; durations in microseconds, marks positive, spaces negative)\n"
    "and prints, per row: id<TAB>key code<TAB>RecognizerIds of its messages.\n"
    "  --mode    the receiver's signal mode (default modulated)\n"
    "  --time    the median and worst time per message on standard error\n";

// The recogniser's diagnostic lines are for a developer at the debugger; the
// tool's standard error is for what the user must know.
void withoutDebugLines(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

QString micro(qint64 ns)
{
    return QString::number(double(ns) / 1000.0, 'f', 1) + QStringLiteral(" us");
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(withoutDebugLines);
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    ReceiveMode mode = ReceiveMode::Modulated;
    bool time = false;
    QStringList files;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--time")) {
            time = true;
        } else if (a == QLatin1String("--mode") || a.startsWith(QLatin1String("--mode="))) {
            QString value;
            if (a.startsWith(QLatin1String("--mode=")))
                value = a.mid(7);
            else if (i + 1 < args.size())
                value = args[++i];
            if (value == QLatin1String("modulated")) {
                mode = ReceiveMode::Modulated;
            } else if (value == QLatin1String("unmodulated")) {
                mode = ReceiveMode::NonModulated;
            } else {
                err << "irvanta-recognize: --mode takes modulated or unmodulated\n" << kUsage;
                return kExitUsage;
            }
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            out << kUsage;
            return 0;
        } else if (a.startsWith(QLatin1String("--"))) {
            err << "irvanta-recognize: unknown option " << a << "\n" << kUsage;
            return kExitUsage;
        } else {
            files << a;
        }
    }
    if (files.isEmpty()) {
        err << kUsage;
        return kExitUsage;
    }

    ReceivePath path(mode);
    int rowsRead = 0;
    QVector<qint64> times;
    for (const QString &file : files) {
        QList<IrReplayRow> rows;
        QList<IrReplayProblem> problems;
        QString error;
        if (!IrReplayFile::loadRows(file, &rows, &problems, &error)) {
            err << "irvanta-recognize: " << error << "\n";
            err.flush();
            continue;
        }
        for (const IrReplayProblem &p : problems) {
            err << "irvanta-recognize: " << file << ": line " << p.line;
            if (!p.id.isEmpty())
                err << " (row \"" << QuotedValue::cut(p.id) << "\")";
            err << ": " << p.message << "; row skipped\n";
        }
        if (rows.isEmpty() && problems.isEmpty())
            err << "irvanta-recognize: " << file << ": no rows\n";
        err.flush();
        for (const IrReplayRow &row : rows) {
            const ReceivedPress press = path.run(row.durations);
            QStringList ids;
            for (int id : press.recognizerIds)
                ids << QString::number(id);
            out << row.id << '\t' << press.keyCode << '\t' << ids.join(QLatin1Char(',')) << '\n';
            times << press.messageNanoseconds;
            ++rowsRead;
        }
        out.flush();
    }

    if (time) {
        if (times.isEmpty()) {
            err << "time per message: no message was closed\n";
        } else {
            std::sort(times.begin(), times.end());
            const qsizetype mid = times.size() / 2;
            const qint64 median = times.size() % 2 ? times[mid] : (times[mid - 1] + times[mid]) / 2;
            err << "time per message (" << times.size() << " messages): median " << micro(median) << ", worst "
                << micro(times.last()) << "\n";
        }
    }
    if (rowsRead == 0) {
        err << "irvanta-recognize: no row could be read\n";
        return kExitNoRow;
    }
    return 0;
}
