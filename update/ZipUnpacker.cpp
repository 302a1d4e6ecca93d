#include "update/ZipUnpacker.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>

#include "app/AtomicFile.h"
#include "app/KillPoint.h"
#include "app/QuotedValue.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

// An entry's path as a reason quotes it: whole up to a length no path of a
// real update reaches, cut beyond it, so a hostile name cannot swamp the dialog.
QString shown(const QString &name)
{
    return QuotedValue::cut(name, 160);
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// Moves every file below from into to, replacing files of the same name.
bool moveTree(const QString &from, const QString &to, QString *error)
{
    QDir target(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = QDir(from).relativeFilePath(source);
        const QString dest = target.filePath(relative);
        if (it.fileInfo().isDir()) {
            if (!target.mkpath(relative))
                return fail(error, ZipUnpacker::tr("cannot create the folder %1").arg(dest));
            continue;
        }
        if (!target.mkpath(QFileInfo(relative).path()))
            return fail(error, ZipUnpacker::tr("cannot create the folder %1").arg(QFileInfo(dest).path()));
        if (QFileInfo(dest).isDir())
            return fail(error, ZipUnpacker::tr("%1 is a folder").arg(dest));
        if (QFileInfo::exists(dest) && !QFile::remove(dest))
            return fail(error, ZipUnpacker::tr("cannot replace %1").arg(dest));
        if (!QFile::rename(source, dest))
            return fail(error, ZipUnpacker::tr("cannot write %1").arg(dest));
    }
    return true;
}

} // namespace

bool ZipUnpacker::isSafeEntryName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')))
        return false;
    // A drive letter ("C:...") is absolute on the system the archive came from.
    if (name.size() >= 2 && name.at(1) == QLatin1Char(':'))
        return false;
    QString path = name;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = path.split(QLatin1Char('/'));
    for (const QString &part : parts) {
        if (part == QLatin1String(".."))
            return false;
    }
    return true;
}

bool ZipUnpacker::unpack(const QString &zipPath, const QString &targetDir, QString *error, const ZipLimits &limits,
                         const std::atomic<bool> *stop, const std::function<void(qint64, qint64)> &progress)
{
    const auto stopped = [stop] { return stop && stop->load(); };
    const auto tooLarge = [&limits] {
        return tr("it unpacks to more than %1 bytes").arg(limits.maxTotalBytes);
    };
    QuaZip zip(zipPath);
    if (!zip.open(QuaZip::mdUnzip))
        return fail(error, tr("not a readable zip archive (error %1)").arg(zip.getZipError()));

    // Check every name before anything is written.
    QList<QuaZipFileInfo64> entries;
    qint64 announced = 0;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        if (entries.size() >= limits.maxEntries)
            return fail(error, tr("it holds more than %1 entries").arg(limits.maxEntries));
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info))
            return fail(error, tr("unreadable entry (error %1)").arg(zip.getZipError()));
        if (!isSafeEntryName(info.name))
            return fail(error, tr("the entry \"%1\" leaves its folder").arg(shown(info.name)));
        if (info.isSymbolicLink())
            return fail(error, tr("the entry \"%1\" is a symbolic link").arg(shown(info.name)));
        // The sizes in the directory may lie; the bytes are counted again below.
        announced += qint64(qMin<quint64>(info.uncompressedSize, quint64(limits.maxTotalBytes) + 1));
        if (announced > limits.maxTotalBytes)
            return fail(error, tooLarge());
        entries.append(info);
    }
    if (zip.getZipError() != UNZ_OK)
        return fail(error, tr("damaged archive (error %1)").arg(zip.getZipError()));

    const QFileInfo targetInfo(targetDir);
    if (!QDir().mkpath(targetInfo.absoluteFilePath()))
        return fail(error, tr("cannot create the folder %1").arg(targetDir));
    // Staging beside the target, so the final moves stay on one file system;
    // named as the program's temporary files, so a start after a crash
    // clears what a killed unpacking left.
    QString reason;
    const QString staging = AtomicFile::makeTemporaryFolder(targetInfo.absoluteFilePath(), &reason);
    if (staging.isEmpty())
        return fail(error, tr("cannot create a staging folder: %1").arg(reason));
    const struct Remove
    {
        QString path;
        ~Remove() { QDir(path).removeRecursively(); }
    } removeStaging{staging};
    const QDir stage(staging);
    qint64 total = 0;

    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        zip.getCurrentFileInfo(&info);
        QString name = info.name;
        name.replace(QLatin1Char('\\'), QLatin1Char('/'));
        const QString dest = stage.filePath(name);
        if (!QDir::cleanPath(dest).startsWith(stage.absolutePath() + QLatin1Char('/')))
            return fail(error, tr("the entry \"%1\" leaves its folder").arg(shown(info.name)));
        if (name.endsWith(QLatin1Char('/'))) {
            if (!stage.mkpath(name))
                return fail(error, tr("cannot create the folder %1").arg(name));
            continue;
        }
        if (!stage.mkpath(QFileInfo(name).path()))
            return fail(error, tr("cannot create the folder %1").arg(QFileInfo(name).path()));

        QuaZipFile in(&zip);
        if (!in.open(QIODevice::ReadOnly))
            return fail(error, tr("cannot read the entry \"%1\" (error %2)")
                                   .arg(shown(info.name), QString::number(in.getZipError())));
        AtomicFile out(dest);
        if (!out.open())
            return fail(error, out.errorString());
        char buffer[65536];
        for (;;) {
            if (stopped())
                return fail(error, tr("stopped"));
            const qint64 n = in.read(buffer, sizeof buffer);
            if (n < 0)
                return fail(error, tr("damaged entry \"%1\"").arg(shown(info.name)));
            if (n == 0)
                break;
            total += n;
            if (total > limits.maxTotalBytes)
                return fail(error, tooLarge());
            if (!out.write(buffer, n))
                return fail(error, out.errorString());
            if (progress)
                progress(total, announced);
        }
        in.close();
        // The checksum is compared when the entry is closed.
        if (in.getZipError() != UNZ_OK)
            return fail(error, tr("damaged entry \"%1\" (error %2)")
                                   .arg(shown(info.name), QString::number(in.getZipError())));
        if (!out.commit())
            return fail(error, out.errorString());
        killPoint("unpack-entry");
        const QFile::Permissions permissions = info.getPermissions();
        if (permissions != QFile::Permissions())
            QFile::setPermissions(dest, permissions | QFile::ReadOwner | QFile::WriteOwner);
    }
    if (zip.getZipError() != UNZ_OK)
        return fail(error, tr("damaged archive (error %1)").arg(zip.getZipError()));
    zip.close();
    if (stopped())
        return fail(error, tr("stopped"));

    return moveTree(stage.path(), targetInfo.absoluteFilePath(), error);
}
