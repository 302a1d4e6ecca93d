#pragma once

#include <QString>

// How the program knows, at its next start, what an interrupted write of its
// own left: never by the shape of a name alone, but by a mark only it makes.
// A temporary file or folder carries the program's own tag in its name,
// ".name.irvanta-tmp-<process>-<n>", and a folder the program creates for
// unfinished work holds a mark file that is written before anything else.
namespace OwnMark {

// A fresh temporary name for fileName, unique within this process.
QString temporaryName(const QString &fileName);
// The process that made a temporary of this name; 0 when the name does not
// carry the program's tag.
qint64 temporaryOwner(const QString &name);
// The name the temporary was made for ("config.ini" of
// ".config.ini.irvanta-tmp-12-3"); empty when the name carries no tag.
QString temporaryTarget(const QString &name);

// True while the process may still be writing its temporaries (this one, or
// any process of that number that still runs).
bool processRunning(qint64 pid);

// The mark file inside a folder of unfinished work.
QString markName();
// Creates path as a new private folder and writes its mark first; false
// with the system's reason when either fails (no folder is left then).
bool makeMarkedFolder(const QString &path, QString *reason);
// True when path is a folder (not a link to one) holding the mark file
// (itself a plain file, not a link).
bool isMarkedFolder(const QString &path);

// A marked folder of temporary name that holds an entry of this name holds
// the earlier content of its target, moved aside while the new one was put
// in place: when the target is missing, it goes back there.
QString replacedName();

// Where path leads through symbolic links, by their texts alone, so a link
// whose end is missing (a folder moved aside) still names it; path itself
// when it is no link, empty on a loop.
QString throughLinks(const QString &path);

// The marked folder where the program keeps unfinished work below a folder
// too large to be looked through at every start (the photos).
QString workFolderName();

} // namespace OwnMark
