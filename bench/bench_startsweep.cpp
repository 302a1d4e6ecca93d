// bench_startsweep [--photos A,B] [--repeat N]
//
// Times what a start does about leftovers of interrupted writes (the sweep
// of the program's own folders and the look for parked photos) in a working
// directory whose RCImages/ holds A and then B photos (1000 and 200000
// unless given), and prints each time, its ratio to the first, and the
// process's peak memory. The photos are never listed, so the time should
// not grow with their number (a ratio near 1, not near B/A).
#include "app/Leftovers.h"
#include "catalogue/PhotoPlaces.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QTextStream out(stdout);

// Empty photo files "<master>_<n>.jpg", five per master, until count.
bool fillPhotos(const QString &folder, int count)
{
    for (int i = 0; i < count; ++i) {
        const QByteArray name = QFile::encodeName(
            QStringLiteral("%1/%2_%3.jpg").arg(folder).arg(i / 5, 8, 16, QLatin1Char('0')).arg(i % 5 + 1));
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        ::close(fd);
    }
    return true;
}

long peakKiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QList<int> counts{1000, 200000};
    int repeat = 5;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args.at(i) == QLatin1String("--photos")) {
            counts.clear();
            for (const QString &n : args.at(i + 1).split(QLatin1Char(',')))
                counts << n.toInt();
        } else if (args.at(i) == QLatin1String("--repeat")) {
            repeat = std::max(1, args.at(i + 1).toInt());
        }
    }
    double first = -1;
    for (const int count : std::as_const(counts)) {
        QTemporaryDir dir;
        const QString photos = dir.filePath(QStringLiteral("RCImages"));
        if (!QDir().mkpath(photos) || !fillPhotos(photos, count)) {
            out << "cannot make " << count << " photos" << Qt::endl;
            return 1;
        }
        double best = 1e300;
        for (int r = 0; r < repeat; ++r) {
            QElapsedTimer timer;
            timer.start();
            const QStringList problems = Leftovers::clear(dir.path());
            const auto parked = PhotoPlaces::parked(dir.path());
            best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
            if (!problems.isEmpty() || !parked.isEmpty()) {
                out << "unexpected leftovers" << Qt::endl;
                return 1;
            }
        }
        if (first < 0)
            first = best;
        out << count << " photos: " << QString::number(best, 'f', 3) << " ms, ratio "
            << QString::number(best / std::max(first, 1e-6), 'f', 2) << ", peak " << peakKiB() / 1024 << " MiB"
            << Qt::endl;
    }
    return 0;
}
