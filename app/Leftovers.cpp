#include "app/Leftovers.h"

#include "app/AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <climits>
#include <csignal>

#include <unistd.h>

namespace {

// A process that still runs may be writing its temporary file right now.
bool running(qint64 pid)
{
    if (pid == QCoreApplication::applicationPid())
        return true;
    if (pid <= 0 || pid > qint64(INT_MAX))
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

bool removeEntry(const QFileInfo &entry)
{
    if (entry.isDir() && !entry.isSymLink())
        return QDir(entry.absoluteFilePath()).removeRecursively();
    return QFile::remove(entry.absoluteFilePath());
}

} // namespace

QStringList Leftovers::clear(const QString &workDir)
{
    // Staging folders of the unpacking as earlier versions named them.
    static const QRegularExpression oldStaging(QStringLiteral("^\\.unpack-[A-Za-z0-9]{6}$"));
    QStringList problems;
    const QDir work(workDir);
    const QStringList folders{QString(), QStringLiteral("RCImages"), QStringLiteral("update-tmp"),
                              QStringLiteral("update")};
    for (const QString &name : folders) {
        const QDir folder(name.isEmpty() ? work.absolutePath() : work.filePath(name));
        if (!folder.exists())
            continue;
        const QFileInfoList entries =
            folder.entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QFileInfo &entry : entries) {
            const qint64 owner = AtomicFile::temporaryOwner(entry.fileName());
            const bool leftover = (owner > 0 && !running(owner))
                                  || (name.isEmpty() && entry.isDir() && !entry.isSymLink()
                                      && oldStaging.match(entry.fileName()).hasMatch());
            if (leftover && !removeEntry(entry))
                problems << tr("The leftover %1 of an interrupted write cannot be removed.")
                                .arg(QDir::toNativeSeparators(entry.absoluteFilePath()));
        }
    }
    return problems;
}

QStringList Leftovers::clearOldSettingsCopies(const QString &tempDir, const QString &appName)
{
    QStringList problems;
    if (appName.isEmpty())
        return problems;
    const QRegularExpression folderName(QStringLiteral("^") + QRegularExpression::escape(appName)
                                        + QStringLiteral("-[A-Za-z0-9]{6}$"));
    // The three copies, QSettings' lock file and the temporary files of a
    // write cut short; a folder holding anything else is not one of ours.
    static const QRegularExpression copyName(QStringLiteral("^\\.?(before|after|check)\\.ini(\\..*)?$"));
    const QFileInfoList folders = QDir(tempDir).entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &folder : folders) {
        if (folder.isSymLink() || !folderName.match(folder.fileName()).hasMatch())
            continue;
        const QFileInfoList inside =
            QDir(folder.absoluteFilePath()).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        bool ours = !inside.isEmpty();
        for (const QFileInfo &entry : inside)
            ours = ours && entry.isFile() && !entry.isSymLink() && copyName.match(entry.fileName()).hasMatch();
        if (ours && !removeEntry(folder))
            problems << tr("The leftover %1 of an interrupted write cannot be removed.")
                            .arg(QDir::toNativeSeparators(folder.absoluteFilePath()));
    }
    return problems;
}
