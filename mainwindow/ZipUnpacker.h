#pragma once

#include <QString>

// Unpacks a zip archive into a folder, all or nothing: every entry is
// extracted into a staging folder beside the target first, and only a
// complete, checked archive is moved into place. An entry whose path would
// leave the target folder (absolute, or holding a ".." component) or that is
// a symbolic link refuses the whole archive.
class ZipUnpacker
{
public:
    static bool unpack(const QString &zipPath, const QString &targetDir, QString *error = nullptr);

    // True when name, taken as a path inside the archive, stays inside the
    // folder it is extracted into.
    static bool isSafeEntryName(const QString &name);
};
