#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// What a write of this program leaves when the program is killed in its
// middle, known by the program's own mark (OwnMark), never by the shape of a
// name: temporary files whose names carry the program's tag, and folders of
// temporary name that hold the mark file. Only those are touched, only when
// the process that made them has ended, and no link is followed.
class Leftovers
{
    Q_DECLARE_TR_FUNCTIONS(Leftovers)

public:
    // Clears the leftovers the program's own writes can leave: beside
    // config.ini and the update folder in the working directory, among the
    // downloads in update-tmp/, the exports in xml/ and in the work folder
    // below RCImages/ (the photos themselves are never listed). Returns one
    // line per leftover that could not be removed.
    static QStringList clear(const QString &workDir);

    // Clears folders the program made in tempDir: named appName + "-" + six
    // letters or digits, owned by the user running the program and holding
    // the program's mark (a folder there without it, such as the unmarked
    // copies of config.ini earlier versions kept, is not known for ours).
    // Returns one line per folder that could not be removed; nothing there is
    // the user's to act on, so it is for the log only.
    static QStringList clearOldSettingsCopies(const QString &tempDir, const QString &appName);
};
