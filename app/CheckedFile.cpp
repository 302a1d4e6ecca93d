#include "app/CheckedFile.h"

#include "app/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <atomic>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<qint64> g_bytesRead{0};

QString systemError(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

} // namespace

// An open, checked source: a regular file within the bound, its descriptor
// back in blocking mode. Closed with the object.
class CheckedFile::Source
{
public:
    Source() = default;
    Source(const Source &) = delete;
    Source &operator=(const Source &) = delete;
    ~Source()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    Result open(const QString &path, qint64 maxBytes, QString *error);
    // Reads up to size bytes; the count, or -1 with errno.
    qint64 readSome(char *data, qint64 size);

    int fd() const { return m_fd; }
    qint64 size() const { return m_size; }

private:
    Result refuse(const QString &path, const QString &reason, QString *error, Result result = Result::Refused)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        if (error)
            *error = message(path, reason);
        return result;
    }

    int m_fd = -1;
    qint64 m_size = 0;
};

QString CheckedFile::kindReason(unsigned mode)
{
    if (S_ISDIR(mode))
        return tr("not a regular file but a folder");
    if (S_ISFIFO(mode))
        return tr("not a regular file but a named pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return tr("not a regular file but a device");
    if (S_ISSOCK(mode))
        return tr("not a regular file but a socket");
    return tr("not a regular file");
}

QString CheckedFile::sizeReason(qint64 maxBytes)
{
    if (maxBytes % MiB == 0)
        return tr("larger than %1 MiB").arg(maxBytes / MiB);
    return tr("larger than %1 bytes").arg(maxBytes);
}

CheckedFile::Result CheckedFile::Source::open(const QString &path, qint64 maxBytes, QString *error)
{
    const QByteArray native = QFile::encodeName(path);
    // Judged by its name first, so that a pipe or a device is never opened
    // at all (opening some devices does something).
    struct stat info = {};
    if (::stat(native.constData(), &info) != 0) {
        const int e = errno;
        return refuse(path, systemError(e), error,
                      e == ENOENT || e == ENOTDIR ? Result::Missing : Result::Refused);
    }
    if (!S_ISREG(info.st_mode))
        return refuse(path, kindReason(info.st_mode), error);
    if (maxBytes >= 0 && info.st_size > maxBytes)
        return refuse(path, sizeReason(maxBytes), error);

    // The name may have changed hands since: the opened file itself is
    // judged again. O_NONBLOCK keeps a pipe put there meanwhile from
    // holding the open.
    m_fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0) {
        const int e = errno;
        return refuse(path, systemError(e), error, e == ENOENT ? Result::Missing : Result::Refused);
    }
    if (::fstat(m_fd, &info) != 0)
        return refuse(path, systemError(errno), error);
    if (!S_ISREG(info.st_mode))
        return refuse(path, kindReason(info.st_mode), error);
    if (maxBytes >= 0 && info.st_size > maxBytes)
        return refuse(path, sizeReason(maxBytes), error);
    const int flags = ::fcntl(m_fd, F_GETFL);
    if (flags < 0 || ::fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK) < 0)
        return refuse(path, systemError(errno), error);
    m_size = info.st_size;
    return Result::Done;
}

qint64 CheckedFile::Source::readSome(char *data, qint64 size)
{
    for (;;) {
        const ssize_t got = ::read(m_fd, data, size_t(size));
        if (got > 0)
            g_bytesRead += got;
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

QString CheckedFile::message(const QString &path, const QString &reason)
{
    // The reason closes the sentence, whatever the language's word order.
    return tr("Cannot read the file %1: %2").arg(QDir::toNativeSeparators(path), reason);
}

CheckedFile::Result CheckedFile::check(const QString &path, qint64 maxBytes, QString *error)
{
    Source source;
    return source.open(path, maxBytes, error);
}

CheckedFile::Result CheckedFile::read(const QString &path, qint64 maxBytes, QByteArray *data, QString *error)
{
    data->clear();
    Source source;
    const Result opened = source.open(path, maxBytes, error);
    if (opened != Result::Done)
        return opened;
    QByteArray bytes(source.size(), Qt::Uninitialized);
    qint64 total = 0;
    // One byte more than the size: a file that grows while it is read is
    // not taken from a part of it, nor read past its bound.
    char extra = 0;
    for (;;) {
        char *into = total < bytes.size() ? bytes.data() + total : &extra;
        const qint64 room = total < bytes.size() ? bytes.size() - total : 1;
        const qint64 got = source.readSome(into, room);
        if (got < 0) {
            if (error)
                *error = message(path, systemError(errno));
            return Result::Refused;
        }
        if (got == 0)
            break;
        total += got;
        if (total > bytes.size())
            break;
    }
    if (total != bytes.size()) {
        if (error)
            *error = message(path, tr("it changed while it was read"));
        return Result::Refused;
    }
    *data = bytes;
    return Result::Done;
}

CheckedFile::Result CheckedFile::copy(const QString &from, const QString &to, qint64 maxBytes, QString *error)
{
    Source source;
    const Result opened = source.open(from, maxBytes, error);
    if (opened != Result::Done)
        return opened;
    AtomicFile target(to);
    auto cannotWrite = [&] {
        if (error)
            *error = tr("Cannot write the file %1: %2").arg(QDir::toNativeSeparators(to), target.reason());
        return Result::Refused;
    };
    if (!target.open())
        return cannotWrite();
    QByteArray piece(CopyPiece, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const qint64 got = source.readSome(piece.data(), piece.size());
        if (got < 0) {
            if (error)
                *error = message(from, systemError(errno));
            return Result::Refused; // the target's temporary file goes with it
        }
        if (got == 0)
            break;
        total += got;
        if (total > source.size())
            break;
        if (!target.write(piece.constData(), got))
            return cannotWrite();
    }
    if (total != source.size()) {
        if (error)
            *error = message(from, tr("it changed while it was read"));
        return Result::Refused;
    }
    if (!target.commit())
        return cannotWrite();
    return Result::Done;
}

CheckedFile::Pieces::Pieces() = default;
CheckedFile::Pieces::~Pieces() = default;

CheckedFile::Result CheckedFile::Pieces::open(const QString &path, qint64 maxBytes, QString *error)
{
    m_path = path;
    m_source = std::make_unique<Source>();
    const Result result = m_source->open(path, maxBytes, error);
    if (result != Result::Done)
        m_source.reset();
    return result;
}

qint64 CheckedFile::Pieces::size() const
{
    return m_source ? m_source->size() : 0;
}

bool CheckedFile::Pieces::readAt(qint64 offset, char *data, qint64 size, QString *error)
{
    if (!m_source || offset < 0 || size < 0) {
        if (error)
            *error = message(m_path, systemError(EBADF));
        return false;
    }
    qint64 total = 0;
    while (total < size) {
        const ssize_t got = ::pread(m_source->fd(), data + total, size_t(size - total), off_t(offset + total));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            if (error)
                *error = message(m_path, systemError(errno));
            return false;
        }
        if (got == 0) {
            if (error)
                *error = message(m_path, CheckedFile::tr("it changed while it was read"));
            return false;
        }
        g_bytesRead += got;
        total += got;
    }
    return true;
}

qint64 CheckedFile::bytesRead()
{
    return g_bytesRead.load();
}

std::unique_ptr<QSettings> CheckedFile::settings(const QString &path, QString *error)
{
    QString why;
    if (check(path, SettingsBytes, &why) == Result::Refused) {
        if (error)
            *error = why;
        // Without a file name QSettings reads and writes nothing.
        return std::make_unique<QSettings>(QString(), QSettings::IniFormat);
    }
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

bool CheckedFile::sync(QSettings &settings)
{
    const QString path = settings.fileName();
    if (!path.isEmpty() && check(path, SettingsBytes) == Result::Refused)
        return false;
    settings.sync();
    return true;
}
