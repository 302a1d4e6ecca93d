// irvanta-samplekit DIR [--models N] [--seed S] [--keyed-every N] [--keys-per-model N]
// Writes an invented sample working directory for the program, with the
// languages and help pages the kit carries.
#include "tools/samplekit/SampleKit.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    SampleKit::Options options;
    QString dir;
    for (int i = 0; i < args.size(); ++i) {
        const QString a = args.at(i);
        if ((a == QLatin1String("--models") || a == QLatin1String("--seed") || a == QLatin1String("--keyed-every") ||
             a == QLatin1String("--keys-per-model")) &&
            i + 1 < args.size()) {
            bool ok = false;
            const uint v = args.at(++i).toUInt(&ok);
            if (!ok) {
                err << "samplekit: " << a << " needs a number\n";
                return 2;
            }
            if (a == QLatin1String("--models"))
                options.models = int(v);
            else if (a == QLatin1String("--keyed-every"))
                options.keyedMasterEvery = int(v);
            else if (a == QLatin1String("--keys-per-model"))
                options.keysPerModel = int(v);
            else
                options.seed = v;
        } else if (!a.startsWith(QLatin1String("--")) && dir.isEmpty()) {
            dir = a;
        } else {
            err << "usage: irvanta-samplekit DIR [--models N] [--seed S] [--keyed-every N] [--keys-per-model N]\n";
            return 2;
        }
    }
    if (dir.isEmpty()) {
        err << "usage: irvanta-samplekit DIR [--models N] [--seed S] [--keyed-every N] [--keys-per-model N]\n";
        return 2;
    }
    QString error;
    if (!SampleKit::writeWorkingDirectory(dir, options, &error) ||
        !SampleKit::writeLanguages(dir, QStringLiteral(":/languages"), &error)) {
        err << "samplekit: " << error << "\n";
        return 1;
    }
    return 0;
}
