#include "app/Leftovers.h"

#include "app/OwnMark.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString cannotRemove(const QString &path)
{
    return Leftovers::tr("The leftover %1 of an interrupted write cannot be removed.").arg(native(path));
}

bool isRealFolder(const QString &path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The names in folder as the directory holds them; nothing is asked about an
// entry beyond its name, so a large folder costs one pass over its names.
// A folder that is not there holds nothing; one that cannot be read in full
// is a problem, never a shorter list.
bool entryNames(const QString &folder, QStringList *names, QString *problem)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir) {
        if (errno == ENOENT || errno == ENOTDIR)
            return true;
        *problem = Leftovers::tr("The folder %1 cannot be searched for leftovers of interrupted writes: %2")
                       .arg(native(folder), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir);
        if (!entry)
            break;
        if (entry->d_name[0] == '.') // every temporary name is hidden
            names->append(QFile::decodeName(entry->d_name));
    }
    const int why = errno;
    ::closedir(dir);
    if (why != 0) {
        *problem = Leftovers::tr("The folder %1 cannot be searched for leftovers of interrupted writes: %2")
                       .arg(native(folder), QString::fromLocal8Bit(std::strerror(why)));
        return false;
    }
    return true;
}

// A marked folder that holds the earlier content of its target gives it back
// when the target is missing (a replacement cut short between its moves).
bool putBackReplaced(const QString &folder, const QString &target, QStringList *problems)
{
    const QString replaced = QDir(folder).filePath(OwnMark::replacedName());
    if (!isRealFolder(replaced))
        return true;
    struct stat st;
    if (::lstat(QFile::encodeName(target).constData(), &st) == 0 || errno != ENOENT)
        return true; // the new content is in place: the old one goes with the folder
    if (::rename(QFile::encodeName(replaced).constData(), QFile::encodeName(target).constData()) == 0)
        return true;
    *problems << Leftovers::tr("The folder %1 cannot be put back from %2: %3")
                     .arg(native(target), native(replaced), QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

// Removes the program's temporaries in folder whose process has ended; when
// targets is not empty, only those made for one of these names.
void clearFolder(const QString &folder, const QStringList &targets, QStringList *problems)
{
    QStringList names;
    QString problem;
    if (!entryNames(folder, &names, &problem)) {
        *problems << problem;
        return;
    }
    const QDir dir(folder);
    for (const QString &name : std::as_const(names)) {
        const qint64 owner = OwnMark::temporaryOwner(name);
        if (owner <= 0 || OwnMark::processRunning(owner))
            continue;
        const QString target = OwnMark::temporaryTarget(name);
        if (!targets.isEmpty() && !targets.contains(target))
            continue;
        const QString path = dir.filePath(name);
        struct stat st;
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
            continue;
        if (S_ISREG(st.st_mode)) {
            if (::unlink(QFile::encodeName(path).constData()) != 0)
                *problems << cannotRemove(path);
        } else if (S_ISDIR(st.st_mode)) {
            if (!OwnMark::isMarkedFolder(path)) {
                // Killed before its mark was written: only an empty one is ours.
                ::rmdir(QFile::encodeName(path).constData());
                continue;
            }
            if (putBackReplaced(path, dir.filePath(target), problems) && !QDir(path).removeRecursively())
                *problems << cannotRemove(path);
        }
        // A link or anything else of that name was not made by the program.
    }
}

} // namespace

QStringList Leftovers::clear(const QString &workDir)
{
    QStringList problems;
    const QDir work(workDir);
    // The working directory is the user's too: only what was made for
    // config.ini (the file, the settings writer's folder) and for update/.
    clearFolder(work.absolutePath(), {QStringLiteral("config.ini"), QStringLiteral("update")}, &problems);
    // config.ini and update/ may be links to a file or folder elsewhere,
    // which the program replaces through the link, writing beside what it
    // leads to. The link is only read, and the folder it leads into is
    // searched for the program's own temporaries made for that one name
    // (after a crash between two renames the link's end is missing, and
    // what was there lies in such a temporary folder).
    for (const QString &name : {QStringLiteral("config.ini"), QStringLiteral("update")}) {
        const QString own = work.filePath(name);
        if (!QFileInfo(own).isSymLink())
            continue;
        const QString linked = OwnMark::throughLinks(own);
        if (!linked.isEmpty())
            clearFolder(QFileInfo(linked).absolutePath(), {QFileInfo(linked).fileName()}, &problems);
    }
    // The program's own folders; a link in their place is left alone.
    for (const QString &name : {QStringLiteral("update-tmp"), QStringLiteral("xml")}) {
        const QString folder = work.filePath(name);
        if (isRealFolder(folder))
            clearFolder(folder, {}, &problems);
    }
    // The photos' unfinished work lies in a marked folder of its own, so the
    // photos are never listed.
    const QString photoWork = QDir(work.filePath(QStringLiteral("RCImages"))).filePath(OwnMark::workFolderName());
    if (isRealFolder(work.filePath(QStringLiteral("RCImages"))) && OwnMark::isMarkedFolder(photoWork))
        clearFolder(photoWork, {}, &problems);
    return problems;
}

QStringList Leftovers::clearOldSettingsCopies(const QString &tempDir, const QString &appName)
{
    QStringList problems;
    if (appName.isEmpty())
        return problems;
    const QRegularExpression folderName(QStringLiteral("^") + QRegularExpression::escape(appName)
                                        + QStringLiteral("-[A-Za-z0-9]{6}$"));
    const QStringList names = QDir(tempDir).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        if (!folderName.match(name).hasMatch())
            continue;
        const QString path = QDir(tempDir).filePath(name);
        // A name and what a folder holds are anyone's to choose: only the
        // program's mark, in a folder of the user's own, makes it ours.
        struct stat st;
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISDIR(st.st_mode)
            || st.st_uid != ::geteuid() || !OwnMark::isMarkedFolder(path))
            continue;
        if (!QDir(path).removeRecursively())
            problems << cannotRemove(path);
    }
    return problems;
}
