#include "FullDisk.h"

#include "app/AtomicFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

FullDisk::FullDisk(qint64 sizeBytes)
{
    if (!m_dir.isValid())
        return;
    const QByteArray target = QFile::encodeName(m_dir.path());
    const QByteArray options = "size=" + QByteArray::number(sizeBytes) + ",mode=0755";
    m_mounted = ::mount("irvanta-test", target.constData(), "tmpfs", 0, options.constData()) == 0;
    m_valid = true;
}

FullDisk::~FullDisk()
{
    release();
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

bool FullDisk::fill(qint64 leaveBytes)
{
    if (!m_mounted) {
        AtomicFile::setFailAfterBytesForTesting(leaveBytes);
        m_injected = true;
        return true;
    }
    m_filler = QDir(m_dir.path()).filePath(QStringLiteral(".filler"));
    const int fd = ::open(QFile::encodeName(m_filler).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const QByteArray block(4096, 'x');
    for (;;) {
        const ssize_t n = ::write(fd, block.constData(), block.size());
        if (n > 0)
            continue;
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    // Single bytes too, so not even a small file fits.
    while (::write(fd, "x", 1) == 1) {
    }
    bool ok = true;
    if (leaveBytes > 0) {
        const off_t size = ::lseek(fd, 0, SEEK_END);
        ok = size >= leaveBytes && ::ftruncate(fd, size - leaveBytes) == 0;
    }
    ::close(fd);
    return ok;
}

void FullDisk::release()
{
    if (m_injected) {
        AtomicFile::setFailAfterBytesForTesting(-1);
        m_injected = false;
    }
    if (!m_filler.isEmpty()) {
        QFile::remove(m_filler);
        m_filler.clear();
    }
}
