// Capture files as the simulator's replay and irvanta-recognize read them,
// and each row read through the whole receive path (receiver reports, capture
// rules, message closing, recognition, resolution).
#include "ir/IrReplayFile.h"
#include "usb/sim/ReceivePath.h"

#include <QtGlobal>

namespace {

void quiet(QtMsgType, const QMessageLogContext &, const QString &)
{
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler(quiet);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(bytes), static_cast<qsizetype>(size));
    QList<IrReplayRow> rows;
    QList<IrReplayProblem> problems;
    QString error;
    const bool ok = IrReplayFile::parseRows(text, &rows, &problems, &error);
    for (const IrReplayRow &row : rows) {
        if (row.durations.isEmpty() || row.durations.size() > IrReplayFile::kMaxRowDurations || row.line <= 0)
            __builtin_trap();
        for (int d : row.durations) {
            if (d == 0)
                __builtin_trap();
        }
    }
    if (!ok && (!rows.isEmpty() || !problems.isEmpty() || error.isEmpty()))
        __builtin_trap();

    // The replay's reading agrees: all rows when none is wrong, else nothing.
    QList<IrReplayRow> all;
    QString replayError;
    if (IrReplayFile::parse(text, &all, &replayError) != (ok && problems.isEmpty()))
        __builtin_trap();

    // A few rows through the receive path, in both signal modes.
    static ReceivePath modulated(ReceiveMode::Modulated);
    static ReceivePath unmodulated(ReceiveMode::NonModulated);
    for (int i = 0; i < rows.size() && i < 4; ++i) {
        modulated.run(rows[i].durations, static_cast<int>(size % 50001));
        unmodulated.run(rows[i].durations);
    }
    return 0;
}
