#pragma once

#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// A named pipe for a test of code that must never wait on one. Should
// anything still be holding the pipe open or waiting in open() once the time
// is up, the watchdog opens the other end and closes it again, so that the
// waiting open or read ends (with nothing) and the test goes on to fail on
// fired() instead of blocking the test run for good.
class FifoWatchdog
{
public:
    explicit FifoWatchdog(const QString &path, int timeoutMs = 10000);
    ~FifoWatchdog(); // stops watching (the pipe itself stays)
    FifoWatchdog(const FifoWatchdog &) = delete;
    FifoWatchdog &operator=(const FifoWatchdog &) = delete;

    bool made() const { return m_made; }
    // Whether something waited on the pipe past the time.
    bool fired() const { return m_fired.load(); }
    QString path() const { return m_path; }

private:
    void watch(int timeoutMs);

    QString m_path;
    bool m_made = false;
    std::atomic<bool> m_fired{false};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread;
};
