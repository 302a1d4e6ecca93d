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

// Unpacks a zip archive into a folder, all or nothing: the folder's new
// content (what it held, with the archive's entries added or replacing
// files of the same name) is put together in a staging folder beside it,
// and only a complete, checked result takes the folder's place, in one
// swap of names; on any failure the folder stays exactly as it was, and no
// file of it is removed before its replacement is in place. An entry whose
// path would leave the target folder (absolute, or holding a ".."
// component) or that is a symbolic link refuses the whole archive, and so
// does one over its limits.
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

    // For tests: the swap is made as on a file system that cannot swap two
    // names in one step (the old folder moved aside, then the new one in).
    static void setSwapByTwoRenamesForTesting(bool on);
};
