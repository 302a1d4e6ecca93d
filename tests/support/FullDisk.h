#pragma once

#include <QString>
#include <QTemporaryDir>

// A folder on a file system that can be filled up: a small tmpfs mounted
// for the test (root, as CI runs). Where nothing can be mounted, fill()
// turns on AtomicFile's injected "No space left on device" instead, so
// writers through it still meet a full disk.
class FullDisk
{
public:
    explicit FullDisk(qint64 sizeBytes = 4 * 1024 * 1024);
    ~FullDisk();
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    bool isValid() const { return m_valid; }
    bool mounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }

    // Takes every free byte (or injects the failure); files made before stay.
    // With leaveBytes, about that much room stays free (whole pages of the
    // mounted disk; injected: files fail after that many bytes).
    bool fill(qint64 leaveBytes = 0);
    // Frees the space again.
    void release();

private:
    QTemporaryDir m_dir;
    QString m_filler;
    bool m_valid = false;
    bool m_mounted = false;
    bool m_injected = false;
};
