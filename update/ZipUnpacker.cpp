#include "update/ZipUnpacker.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>

#include "app/AtomicFile.h"
#include "app/KillPoint.h"
#include "app/OwnMark.h"
#include "app/QuotedValue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

std::atomic<bool> twoRenames{false};

QString systemError(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

// The names in folder, every one of them: a listing that fails part-way is
// a failure, never a shorter list (the new folder would lack files).
bool entryNames(const QString &folder, QStringList *names, QString *error)
{
    DIR *dir = ::opendir(encoded(folder).constData());
    if (!dir)
        return fail(error, ZipUnpacker::tr("cannot read the folder %1: %2").arg(folder, systemError(errno)));
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir);
        if (!entry)
            break;
        if (qstrcmp(entry->d_name, ".") != 0 && qstrcmp(entry->d_name, "..") != 0)
            names->append(QFile::decodeName(entry->d_name));
    }
    const int why = errno;
    ::closedir(dir);
    if (why != 0)
        return fail(error, ZipUnpacker::tr("cannot read the folder %1: %2").arg(folder, systemError(why)));
    return true;
}

// Makes to a folder holding the same entries as from. Files become second
// names of the same files (hard links): nothing is copied, and the files of
// from stay exactly as they are. Where the file system has no hard links
// they are copied; links are recreated as links, never followed.
bool cloneTree(const QString &from, const QString &to, QString *error)
{
    struct stat st;
    if (::lstat(encoded(from).constData(), &st) != 0 || ::mkdir(encoded(to).constData(), st.st_mode & 07777) != 0)
        return fail(error, ZipUnpacker::tr("cannot create the folder %1").arg(to));
    QStringList names;
    if (!entryNames(from, &names, error))
        return false;
    for (const QString &name : std::as_const(names)) {
        const QString source = from + QLatin1Char('/') + name;
        const QString dest = to + QLatin1Char('/') + name;
        if (::lstat(encoded(source).constData(), &st) != 0)
            return fail(error, ZipUnpacker::tr("cannot read %1: %2").arg(source, systemError(errno)));
        if (S_ISDIR(st.st_mode)) {
            if (!cloneTree(source, dest, error))
                return false;
            continue;
        }
        if (::linkat(AT_FDCWD, encoded(source).constData(), AT_FDCWD, encoded(dest).constData(), 0) == 0)
            continue;
        if (S_ISREG(st.st_mode)) {
            QString reason;
            if (!AtomicFile::copyWhole(source, dest, &reason)
                || ::chmod(encoded(dest).constData(), st.st_mode & 07777) != 0)
                return fail(error, reason.isEmpty() ? ZipUnpacker::tr("cannot write %1").arg(dest) : reason);
        } else if (S_ISLNK(st.st_mode)) {
            QByteArray link(4096, '\0');
            const ssize_t n = ::readlink(encoded(source).constData(), link.data(), size_t(link.size()));
            if (n < 0 || n >= link.size() || ::symlink(link.left(n).constData(), encoded(dest).constData()) != 0)
                return fail(error, ZipUnpacker::tr("cannot write %1").arg(dest));
        } else {
            return fail(error, ZipUnpacker::tr("cannot write %1").arg(dest));
        }
    }
    return true;
}

// Prepares the place of an entry in the staged folder: every folder on the
// way is a real folder (a link there would lead the entry out of it), and
// a file of the old content in the entry's place goes from the staged
// folder only (the old folder keeps it until the swap).
bool preparePlace(const QString &staged, const QString &name, bool isFolder, QString *error)
{
    const QStringList parts = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString path = staged;
    for (int i = 0; i < parts.size(); ++i) {
        path += QLatin1Char('/') + parts.at(i);
        struct stat st;
        if (::lstat(encoded(path).constData(), &st) != 0)
            return true; // the rest is made fresh
        const bool last = i == parts.size() - 1;
        if (S_ISDIR(st.st_mode)) {
            if (last && !isFolder)
                return fail(error, ZipUnpacker::tr("%1 is a folder").arg(shown(name)));
            continue;
        }
        if (!last || isFolder)
            return fail(error, ZipUnpacker::tr("cannot create the folder %1")
                                   .arg(shown(QStringList(parts.mid(0, i + 1)).join(QLatin1Char('/')))));
        if (::unlink(encoded(path).constData()) != 0)
            return fail(error, ZipUnpacker::tr("cannot replace %1").arg(shown(name)));
    }
    return true;
}

void syncFolder(const QString &folder)
{
    const int fd = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Puts the staged folder in the target's place in one step: the two names
// are swapped, so the target is at every moment either the old folder or
// the new one; the old one ends in the staged folder's place. A file
// system that cannot swap gets two renames, the old folder moved into the
// marked work folder first, so a start after a crash between them puts it
// back (Leftovers).
bool swapIn(const QString &staged, const QString &target, bool targetExists, const QString &work, QString *error)
{
    const QByteArray from = encoded(staged);
    const QByteArray to = encoded(target);
    if (!targetExists) {
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0
            || ((errno == EINVAL || errno == ENOSYS) && ::rename(from.constData(), to.constData()) == 0))
            return true;
        return fail(error, ZipUnpacker::tr("cannot write %1").arg(target));
    }
    if (!twoRenames.load()) {
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) == 0)
            return true;
        if (errno != EINVAL && errno != ENOSYS)
            return fail(error, ZipUnpacker::tr("cannot replace %1: %2").arg(target, systemError(errno)));
    }
    const QByteArray aside = encoded(QDir(work).filePath(OwnMark::replacedName()));
    if (::rename(to.constData(), aside.constData()) != 0)
        return fail(error, ZipUnpacker::tr("cannot replace %1: %2").arg(target, systemError(errno)));
    killPoint("unpack-half-swapped");
    if (::rename(from.constData(), to.constData()) != 0) {
        const int why = errno;
        ::rename(aside.constData(), to.constData());
        return fail(error, ZipUnpacker::tr("cannot replace %1: %2").arg(target, systemError(why)));
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

    // A target that is a link to a folder stays a link: the folder it leads
    // to is replaced.
    // The start looks for a cut short unpacking where the link leads by the
    // same reading of it (Leftovers).
    // A link that leads nowhere is not given a folder at its end.
    const QString target = OwnMark::throughLinks(targetDir);
    if (target.isEmpty() || (QFileInfo(targetDir).isSymLink() && !QFileInfo(target).isDir())
        || !QDir().mkpath(QFileInfo(target).absolutePath()))
        return fail(error, tr("cannot create the folder %1").arg(targetDir));
    struct stat st;
    const bool targetExists = ::lstat(encoded(target).constData(), &st) == 0;
    if (targetExists && !S_ISDIR(st.st_mode))
        return fail(error, tr("cannot create the folder %1").arg(targetDir));
    // The new content is put together beside the target, in a marked
    // folder of temporary name (a start after a crash clears it), from the
    // old content and the archive, and replaces the target whole at the end.
    QString reason;
    const QString work = AtomicFile::makeTemporaryFolder(target, &reason);
    if (work.isEmpty())
        return fail(error, tr("cannot create a staging folder: %1").arg(reason));
    const struct Remove
    {
        QString path;
        ~Remove() { QDir(path).removeRecursively(); }
    } removeWork{work};
    const QString staged = QDir(work).filePath(QStringLiteral("new"));
    if (targetExists ? !cloneTree(target, staged, error) : !QDir().mkdir(staged))
        return targetExists ? false : fail(error, tr("cannot create a staging folder: %1").arg(staged));
    const QDir stage(staged);
    qint64 total = 0;

    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        zip.getCurrentFileInfo(&info);
        QString name = info.name;
        name.replace(QLatin1Char('\\'), QLatin1Char('/'));
        const QString dest = stage.filePath(name);
        if (!QDir::cleanPath(dest).startsWith(stage.absolutePath() + QLatin1Char('/')))
            return fail(error, tr("the entry \"%1\" leaves its folder").arg(shown(info.name)));
        if (!preparePlace(staged, name, name.endsWith(QLatin1Char('/')), error))
            return false;
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

    killPoint("unpack-staged");
    if (!swapIn(staged, target, targetExists, work, error))
        return false;
    syncFolder(QFileInfo(target).absolutePath());
    killPoint("unpack-swapped");
    return true; // the old content goes with the work folder
}

void ZipUnpacker::setSwapByTwoRenamesForTesting(bool on)
{
    twoRenames.store(on);
}
