#pragma once

#include <QCoreApplication>
#include <QString>

#include <atomic>
#include <functional>

// Bounds for what one archive may unpack to, checked while reading, so a
// small archive cannot fill the disk before it is refused.
struct ZipLimits
{
    qint64 maxTotalBytes = qint64(512) * 1024 * 1024;
    int maxEntries = 10000;
};

// Unpacks a zip archive into a folder, all or nothing: every entry is
// extracted into a staging folder beside the target first, and only a
// complete, checked archive is moved into place. An entry whose path would
// leave the target folder (absolute, or holding a ".." component) or that is
// a symbolic link refuses the whole archive, and so does one over its limits.
class ZipUnpacker
{
    Q_DECLARE_TR_FUNCTIONS(ZipUnpacker)

public:
    // stop (when given) is polled between pieces: once true the unpacking ends
    // with nothing left behind. progress gets (bytes unpacked, bytes announced).
    static bool unpack(const QString &zipPath, const QString &targetDir, QString *error = nullptr,
                       const ZipLimits &limits = ZipLimits(), const std::atomic<bool> *stop = nullptr,
                       const std::function<void(qint64, qint64)> &progress = {});

    // True when name, taken as a path inside the archive, stays inside the
    // folder it is extracted into.
    static bool isSafeEntryName(const QString &name);
};
