#include "app/OwnMark.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<unsigned> temporaryCounter{0};

const QRegularExpression &taggedName()
{
    static const QRegularExpression shape(
        QStringLiteral("^\\.(.+)\\.irvanta-tmp-([1-9][0-9]{0,9})-[0-9]{1,10}$"));
    return shape;
}

} // namespace

namespace OwnMark {

QString temporaryName(const QString &fileName)
{
    return QStringLiteral(".%1.irvanta-tmp-%2-%3")
        .arg(fileName, QString::number(QCoreApplication::applicationPid()),
             QString::number(temporaryCounter.fetch_add(1, std::memory_order_relaxed)));
}

qint64 temporaryOwner(const QString &name)
{
    const QRegularExpressionMatch m = taggedName().match(name);
    return m.hasMatch() ? m.captured(2).toLongLong() : 0;
}

QString temporaryTarget(const QString &name)
{
    const QRegularExpressionMatch m = taggedName().match(name);
    return m.hasMatch() ? m.captured(1) : QString();
}

bool processRunning(qint64 pid)
{
    if (pid == QCoreApplication::applicationPid())
        return true;
    if (pid <= 0 || pid > qint64(INT_MAX))
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

QString markName()
{
    return QStringLiteral(".irvanta-unfinished");
}

QString replacedName()
{
    return QStringLiteral("old");
}

QString workFolderName()
{
    return QStringLiteral(".irvanta-work");
}

QString throughLinks(const QString &path)
{
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < 40; ++hop) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        current = info.symLinkTarget();
        if (current.isEmpty())
            break;
    }
    return QString();
}

bool makeMarkedFolder(const QString &path, QString *reason)
{
    const QByteArray folder = QFile::encodeName(path);
    if (::mkdir(folder.constData(), 0700) != 0) {
        *reason = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // The mark is its name alone: an empty file costs no room on a full disk.
    const QByteArray mark = folder + '/' + QFile::encodeName(markName());
    const int fd = ::open(mark.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 || ::close(fd) != 0) {
        const int why = errno;
        ::unlink(mark.constData());
        ::rmdir(folder.constData());
        *reason = QString::fromLocal8Bit(std::strerror(why));
        return false;
    }
    return true;
}

bool isMarkedFolder(const QString &path)
{
    struct stat st;
    const QByteArray folder = QFile::encodeName(path);
    if (::lstat(folder.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    const QByteArray mark = folder + '/' + QFile::encodeName(markName());
    return ::lstat(mark.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace OwnMark
