// bench_importfiles [--repeat N] [--sizes A,B]
//
// Times the VRC and KESTRUL readers on files of A and B MiB (2 and 16 unless
// given) made of ordinary key records, and prints each time with the ratio
// to the first size's time: reading in time linear in the size gives a ratio
// near B/A (8 for the default sizes), time growing with the square of the
// size near (B/A)^2. "skipped" is a KESTRUL file of key lines without
// codes, which the reader skips and counts.
#include "exchange/KestrulFile.h"
#include "exchange/VrcFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QStringList>
#include <QTextStream>

#include <algorithm>

namespace {

QTextStream out(stdout);

constexpr qsizetype MiB = 1024 * 1024;

// A VRC file of about size bytes: the header, then key records cycling over
// the key positions of a TV remote, then the end marker and a short text.
QByteArray vrcFile(qsizetype size)
{
    QByteArray bytes = "VARNO Infrared Remote Control File v1.00\r\nACME\r\nTV\r\nX-1\r\nchanger TV.bmp\r\n";
    for (int n = 0; bytes.size() < size; ++n) {
        bytes += "key\r\nKey " + QByteArray::number(n) + "\r\n0013" + QByteArray::number(0xA000 + n % 4096, 16)
            + "\r\n" + QByteArray::number(n / 56 % 2) + ' ' + QByteArray::number(n % 56).rightJustified(2, '0')
            + "\r\n";
    }
    return bytes + "<end_of_file>\r\nsome documentation\r\n";
}

// A KESTRUL file of about size bytes: the header, then key lines over the
// format's 86 key numbers.
QByteArray kestrulFile(qsizetype size)
{
    QByteArray bytes = "FileFormat=KESTRUL\r\nVersion=1\r\nKeyMap=K5\r\nType=TV\r\nBrand=ACME\r\nModel=K-1\r\n\r\n"
                       "Buttons=86\r\n";
    for (int n = 0; bytes.size() < size; ++n)
        bytes += QByteArray::number(n % 86) + ",Key " + QByteArray::number(n) + "=0051 04 "
            + QByteArray::number(n % 256, 16) + " 08\r\n";
    return bytes;
}

// A KESTRUL file of about size bytes whose key lines have no code: every
// one is skipped, and the reader only counts them.
QByteArray kestrulWithoutCodes(qsizetype size)
{
    QByteArray bytes = "FileFormat=KESTRUL\r\nVersion=1\r\nKeyMap=K5\r\nType=TV\r\nBrand=ACME\r\nModel=K-1\r\n\r\n"
                       "Buttons=86\r\n";
    const QByteArray line = "a key line without its code\r\n";
    bytes.reserve(size + line.size());
    while (bytes.size() < size)
        bytes += line;
    return bytes;
}

// The shortest of repeat runs, in milliseconds; the key count goes to *keys.
template <typename Parse>
double timeParse(const QByteArray &bytes, int repeat, Parse parse, int *keys)
{
    double best = 1e300;
    for (int i = 0; i < repeat; ++i) {
        ImportedRemote remote;
        QString error;
        QElapsedTimer timer;
        timer.start();
        const bool ok = parse(bytes, &remote, &error);
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
        if (!ok) {
            out << "parse failed: " << error << Qt::endl;
            return -1;
        }
        *keys = int(remote.keys.size());
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int repeat = 3;
    QList<qsizetype> sizes = {2, 16};
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--repeat"))
            repeat = std::max(1, args.at(i + 1).toInt());
        if (args.at(i) == QLatin1String("--sizes")) {
            sizes.clear();
            for (const QString &part : args.at(i + 1).split(QLatin1Char(',')))
                sizes << std::max(1, part.toInt());
        }
    }
    // The KESTRUL reader logs its header lines; only the table is wanted here.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});

    struct Format
    {
        const char *name;
        QByteArray (*make)(qsizetype);
        bool (*parse)(const QByteArray &, ImportedRemote *, QString *);
    };
    const Format formats[] = {{"VRC", vrcFile, VrcFile::parse},
                              {"KESTRUL", kestrulFile, KestrulFile::parse},
                              {"skipped", kestrulWithoutCodes, KestrulFile::parse}};
    out << "format     size      keys     time ms   ratio to first size" << Qt::endl;
    for (const Format &f : formats) {
        double first = 0;
        for (const qsizetype size : sizes) {
            const QByteArray bytes = f.make(size * MiB);
            int keys = 0;
            const double ms = timeParse(bytes, repeat, f.parse, &keys);
            if (ms < 0)
                return 1;
            if (first == 0)
                first = ms;
            out << QString::asprintf("%-8s %4lld MiB %9d %11.1f   %6.1f", f.name, static_cast<long long>(size), keys, ms,
                                     first > 0 ? ms / first : 0.0)
                << Qt::endl;
        }
    }
    return 0;
}
