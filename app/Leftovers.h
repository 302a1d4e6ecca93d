#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// What a write of this program leaves when the program is killed in its
// middle: temporary files and folders named ".name.tmp-<process>-<n>" beside
// config.ini, the photos and the update's files, staging folders of an
// unpacking, and private copies of config.ini that earlier versions kept in
// the system's temporary folder. Only those names are touched, and only when
// the process that made them has ended.
class Leftovers
{
    Q_DECLARE_TR_FUNCTIONS(Leftovers)

public:
    // Clears the leftovers in the working directory and the folders below it
    // that the program writes to. Returns one line per leftover that could
    // not be removed.
    static QStringList clear(const QString &workDir);

    // Clears private copies of config.ini in tempDir: folders named
    // appName + "-" + six letters or digits that hold nothing but such copies.
    static QStringList clearOldSettingsCopies(const QString &tempDir, const QString &appName);
};
