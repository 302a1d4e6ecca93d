#include "app/AtomicFile.h"

#include "app/KillPoint.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<qint64> failAfterBytes{-1};
std::atomic<unsigned> temporaryCounter{0};

QString systemError(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
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
    const QFileInfo target(m_path);
    if (target.isDir())
        return fail(EISDIR, QDir::toNativeSeparators(m_path));
    // A hidden name in the target's own folder: the rename stays on one file
    // system and a crash leaves a stray ".name.tmp-..." rather than a damaged file.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = target.absoluteDir().filePath(temporaryName(target.fileName()));
        const QByteArray native = QFile::encodeName(candidate);
        const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            m_fd = fd;
            m_tempPath = candidate;
            return true;
        }
        if (errno != EEXIST)
            return fail(errno, QDir::toNativeSeparators(m_path));
    }
    return fail(EEXIST, QDir::toNativeSeparators(m_path));
}

QString AtomicFile::temporaryName(const QString &fileName)
{
    return QStringLiteral(".%1.tmp-%2-%3")
        .arg(fileName, QString::number(QCoreApplication::applicationPid()),
             QString::number(temporaryCounter.fetch_add(1, std::memory_order_relaxed)));
}

qint64 AtomicFile::temporaryOwner(const QString &fileName)
{
    static const QRegularExpression shape(QStringLiteral("^\\..+\\.tmp-([1-9][0-9]{0,9})-[0-9]{1,10}$"));
    const QRegularExpressionMatch m = shape.match(fileName);
    return m.hasMatch() ? m.captured(1).toLongLong() : 0;
}

QString AtomicFile::makeTemporaryFolder(const QString &path, QString *error)
{
    const QFileInfo target(path);
    int reason = EEXIST;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = target.absoluteDir().filePath(temporaryName(target.fileName()));
        if (::mkdir(QFile::encodeName(candidate).constData(), 0700) == 0)
            return candidate;
        reason = errno;
        if (reason != EEXIST)
            break;
    }
    if (error)
        *error = tr("%1: %2").arg(QDir::toNativeSeparators(path), systemError(reason));
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
    const QByteArray to = QFile::encodeName(m_path);
    if (::rename(from.constData(), to.constData()) != 0)
        return fail(errno, shown);
    m_tempPath.clear();
    // The new name lasts a crash only once the folder itself is synced; a
    // failure here leaves a whole file in place, so it is not reported.
    const QByteArray dir = QFile::encodeName(QFileInfo(m_path).absolutePath());
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
    QFile source(path);
    if (source.open(QIODevice::ReadOnly)) {
        *data = source.readAll();
        if (source.error() == QFileDevice::NoError && data->size() == source.size())
            return true;
    }
    data->clear();
    if (error)
        *error = tr("Cannot read the file %1: %2").arg(QDir::toNativeSeparators(path), source.errorString());
    return false;
}

bool AtomicFile::copyWhole(const QString &from, const QString &to, QString *error)
{
    QByteArray data;
    return readWhole(from, &data, error) && writeWhole(to, data, error);
}
