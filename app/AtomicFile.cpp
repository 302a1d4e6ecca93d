#include "app/AtomicFile.h"

#include "app/CheckedFile.h"
#include "app/KillPoint.h"
#include "app/OwnMark.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<qint64> failAfterBytes{-1};

QString systemError(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

// The file a write to path replaces: through symbolic links, their target,
// so the link stays a link (as with QSaveFile). A dangling link names the
// file to create, as a shell's ">" would. Empty with *errorNumber on a loop.
QString linkTarget(const QString &path, int *errorNumber)
{
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < 40; ++hop) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        // Qt gives a loop's own name as its canonical path: only a link that
        // leads to something is resolved at once.
        if (info.exists()) {
            const QString canonical = info.canonicalFilePath();
            if (!canonical.isEmpty())
                return canonical;
        }
        current = info.symLinkTarget();
        if (current.isEmpty())
            break;
    }
    *errorNumber = ELOOP;
    return QString();
}

// Gives the new file the owner and the permission bits of the file it
// replaces; the errno of a failed change of mode, else 0.
int takeOwnerAndMode(int fd, const struct stat &old)
{
    // The owner first: a change of owner clears set-id bits. Only the
    // superuser may give a file away; a refusal leaves the writer's own.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
        // Neither owner nor group could be taken over.
    }
    // A file kept private (mode 0600) must not become readable by all.
    return ::fchmod(fd, old.st_mode & 07777) == 0 ? 0 : errno;
}

} // namespace

AtomicFile::AtomicFile(const QString &path)
    : m_path(path)
{
}

AtomicFile::~AtomicFile()
{
    cancel();
}

void AtomicFile::setFailAfterBytesForTesting(qint64 bytes)
{
    failAfterBytes.store(bytes, std::memory_order_release);
}

bool AtomicFile::fail(int errorNumber, const QString &what)
{
    if (!m_failed) {
        m_failed = true;
        m_reason = systemError(errorNumber);
        m_error = tr("%1: %2").arg(what, m_reason);
    }
    cancel();
    return false;
}

bool AtomicFile::open()
{
    cancel();
    m_failed = false;
    m_error.clear();
    m_reason.clear();
    m_written = 0;
    int linkError = 0;
    m_target = linkTarget(m_path, &linkError);
    if (m_target.isEmpty())
        return fail(linkError, QDir::toNativeSeparators(m_path));
    const QFileInfo target(m_target);
    if (target.isDir())
        return fail(EISDIR, QDir::toNativeSeparators(m_path));
    // What the new file replaces; a device or pipe is never renamed over.
    struct stat old;
    const bool replaces = ::stat(QFile::encodeName(m_target).constData(), &old) == 0;
    if (replaces && !S_ISREG(old.st_mode))
        return fail(EINVAL, QDir::toNativeSeparators(m_path));
    // A hidden name in the target's own folder: the rename stays on one file
    // system and a crash leaves a stray ".name.irvanta-tmp-..." rather than a damaged file.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = target.absoluteDir().filePath(temporaryName(target.fileName()));
        const QByteArray native = QFile::encodeName(candidate);
        const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            m_fd = fd;
            m_tempPath = candidate;
            const int modeError = replaces ? takeOwnerAndMode(fd, old) : 0;
            return modeError == 0 || fail(modeError, QDir::toNativeSeparators(m_path));
        }
        if (errno != EEXIST)
            return fail(errno, QDir::toNativeSeparators(m_path));
    }
    return fail(EEXIST, QDir::toNativeSeparators(m_path));
}

QString AtomicFile::temporaryName(const QString &fileName)
{
    return OwnMark::temporaryName(fileName);
}

qint64 AtomicFile::temporaryOwner(const QString &fileName)
{
    return OwnMark::temporaryOwner(fileName);
}

QString AtomicFile::makeTemporaryFolder(const QString &path, QString *error)
{
    const QFileInfo target(path);
    // The mark is written before anything else goes in, so a start after a
    // crash can tell the folder from one of the user's.
    QString reason;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = target.absoluteDir().filePath(temporaryName(target.fileName()));
        if (OwnMark::makeMarkedFolder(candidate, &reason))
            return candidate;
        if (!QFileInfo::exists(candidate))
            break;
    }
    if (error)
        *error = tr("%1: %2").arg(QDir::toNativeSeparators(path), reason);
    return QString();
}

bool AtomicFile::write(const QByteArray &data)
{
    return write(data.constData(), data.size());
}

bool AtomicFile::write(const char *data, qint64 size)
{
    if (m_failed || m_fd < 0)
        return false;
    while (size > 0) {
        qint64 chunk = size;
        const qint64 limit = failAfterBytes.load(std::memory_order_acquire);
        if (limit >= 0) {
            if (m_written >= limit) {
                errno = ENOSPC;
                return fail(ENOSPC, QDir::toNativeSeparators(m_path));
            }
            chunk = qMin(chunk, limit - m_written);
        }
        const ssize_t n = ::write(m_fd, data, static_cast<size_t>(chunk));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno, QDir::toNativeSeparators(m_path));
        }
        if (n == 0)
            return fail(ENOSPC, QDir::toNativeSeparators(m_path));
        data += n;
        size -= n;
        m_written += n;
    }
    return true;
}

bool AtomicFile::commit()
{
    if (m_failed || m_fd < 0) {
        if (!m_failed)
            return fail(EBADF, QDir::toNativeSeparators(m_path));
        return false;
    }
    const QString shown = QDir::toNativeSeparators(m_path);
    // Some file systems report a full disk only here.
    if (::fsync(m_fd) != 0)
        return fail(errno, shown);
    struct stat st;
    if (::fstat(m_fd, &st) != 0)
        return fail(errno, shown);
    if (st.st_size != m_written)
        return fail(ENOSPC, shown);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return fail(errno, shown);
    killPoint("file-synced");
    const QByteArray from = QFile::encodeName(m_tempPath);
    const QByteArray to = QFile::encodeName(m_target);
    if (::rename(from.constData(), to.constData()) != 0)
        return fail(errno, shown);
    m_tempPath.clear();
    // The new name lasts a crash only once the folder itself is synced; a
    // failure here leaves a whole file in place, so it is not reported.
    const QByteArray dir = QFile::encodeName(QFileInfo(m_target).absolutePath());
    const int dirFd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

void AtomicFile::cancel()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_tempPath.isEmpty()) {
        ::unlink(QFile::encodeName(m_tempPath).constData());
        m_tempPath.clear();
    }
}

bool AtomicFile::writeWhole(const QString &path, const QByteArray &data, QString *error)
{
    AtomicFile file(path);
    if (file.open() && file.write(data) && file.commit())
        return true;
    // The system's reason closes the sentence, whatever the language's word order.
    if (error)
        *error = tr("Cannot write the file %1: %2").arg(QDir::toNativeSeparators(path), file.reason());
    return false;
}

bool AtomicFile::readWhole(const QString &path, QByteArray *data, QString *error)
{
    return CheckedFile::read(path, CheckedFile::Unbounded, data, error) == CheckedFile::Result::Done;
}

bool AtomicFile::copyWhole(const QString &from, const QString &to, QString *error)
{
    return CheckedFile::copy(from, to, CheckedFile::Unbounded, error) == CheckedFile::Result::Done;
}
