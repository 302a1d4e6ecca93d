#include "app/SettingsWriter.h"

#include "app/AtomicFile.h"
#include "app/CheckedFile.h"
#include "app/KillPoint.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <QSettings>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// How long a save waits for another writer of the same folder.
constexpr qint64 kTurnWaitMs = 3000;

// What a value reads back as: QSettings writes simple values as text.
QVariant readBack(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::QString:
        return value.toString();
    default:
        return value;
    }
}

QMap<QString, QVariant> contents(const QString &path)
{
    const QSettings settings(path, QSettings::IniFormat);
    QMap<QString, QVariant> all;
    for (const QString &key : settings.allKeys())
        all.insert(key, readBack(settings.value(key)));
    return all;
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// Writes a private copy whole; *reason is the system's reason alone.
bool writeCopy(const QString &path, const QByteArray &data, QString *reason)
{
    AtomicFile file(path);
    if (file.open() && file.write(data) && file.commit())
        return true;
    *reason = file.reason();
    return false;
}

// Writers of this program take turns on a settings file: each reads the file
// as it is and writes it back merged, so two at once would lose one's keys.
// The lock is on the folder holding the file (no extra file is left there)
// and ends when the write ends, however it ends. A turn is waited for a few
// seconds at most: whoever holds the folder's lock longer (another program,
// a stuck writer) must not hold the window with it.
struct TurnLock
{
    int fd = -1;
    bool held = false;
    explicit TurnLock(const QString &path)
    {
        const QFileInfo info(path);
        const QString target = info.isSymLink() ? info.canonicalFilePath() : info.absoluteFilePath();
        fd = ::open(QFile::encodeName(QFileInfo(target.isEmpty() ? path : target).absolutePath()).constData(),
                    O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            held = true; // no folder to lock: the write itself says why it fails
            return;
        }
        QElapsedTimer waited;
        waited.start();
        while (!(held = ::flock(fd, LOCK_EX | LOCK_NB) == 0)) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || waited.hasExpired(kTurnWaitMs))
                break;
            ::usleep(10'000);
        }
    }
    ~TurnLock()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// The private folder goes when the write ends, however it ends.
struct FolderGuard
{
    QString path;
    ~FolderGuard()
    {
        if (!path.isEmpty())
            QDir(path).removeRecursively();
    }
};

} // namespace

QString SettingsWriter::incomplete()
{
    return tr("the settings could not be written in full");
}

bool SettingsWriter::write(const QString &path, const Values &values, QString *error)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo target(path);
    if (target.isDir())
        return AtomicFile::writeWhole(path, QByteArray(), error); // names the file and says why

    const TurnLock turn(path);
    if (!turn.held)
        return fail(error, tr("Cannot write the file %1: another program is writing the settings in its folder.")
                               .arg(shown));
    // The old content, whole; a file that cannot be read fully (or is no
    // regular file, or is past the bound of a settings file) is not
    // rewritten from a part of it.
    QByteArray old;
    if (QString why; CheckedFile::read(path, CheckedFile::SettingsBytes, &old, &why) == CheckedFile::Result::Refused)
        return fail(error, why);

    // The private copies live beside the file, in a folder named as the
    // program names its temporary files: a start after a crash clears it,
    // and the system's temporary folder never collects copies of the file.
    QString reason;
    FolderGuard work{AtomicFile::makeTemporaryFolder(path, &reason)};
    if (work.path.isEmpty())
        return fail(error, tr("Cannot write the file %1: %2").arg(shown, reason));
    // Fresh names that no QSettings of this process has cached.
    const QDir folder(work.path);
    const QString before = folder.filePath(QStringLiteral("before.ini"));
    const QString after = folder.filePath(QStringLiteral("after.ini"));
    const QString check = folder.filePath(QStringLiteral("check.ini"));
    if (!writeCopy(before, old, &reason) || !writeCopy(after, old, &reason))
        return fail(error, tr("Cannot write the file %1: %2").arg(shown, reason));

    QMap<QString, QVariant> expected = contents(before);
    {
        QSettings settings(after, QSettings::IniFormat);
        for (const auto &value : values) {
            settings.setValue(value.first, value.second);
            expected.insert(value.first, readBack(value.second));
        }
        settings.sync();
        if (settings.status() == QSettings::AccessError)
            return fail(error, tr("Cannot write the file %1: %2").arg(shown, incomplete()));
    }
    killPoint("settings-copied");

    QByteArray data;
    if (!AtomicFile::readWhole(after, &data))
        return fail(error, tr("Cannot write the file %1: %2").arg(shown, incomplete()));
    if (!writeCopy(check, data, &reason))
        return fail(error, tr("Cannot write the file %1: %2").arg(shown, reason));
    if (contents(check) != expected)
        return fail(error, tr("Cannot write the file %1: %2").arg(shown, incomplete()));
    return AtomicFile::writeWhole(path, data, error);
}
