#include "FifoWatchdog.h"

#include <QFile>

#include <chrono>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FifoWatchdog::FifoWatchdog(const QString &path, int timeoutMs) : m_path(path)
{
    m_made = ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (m_made)
        m_thread = std::thread([this, timeoutMs] { watch(timeoutMs); });
}

FifoWatchdog::~FifoWatchdog()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void FifoWatchdog::watch(int timeoutMs)
{
    const QByteArray native = QFile::encodeName(m_path);
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_wake.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_stop; }))
        return;
    // From now on every reader the pipe has is let go, until the test ends.
    while (!m_stop) {
        // Without a reader this open fails at once (ENXIO); with one it
        // succeeds, and closing the only writer gives the reader its end.
        const int fd = ::open(native.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            ::close(fd);
            m_fired = true;
        }
        m_wake.wait_for(lock, std::chrono::milliseconds(50), [this] { return m_stop; });
    }
}
