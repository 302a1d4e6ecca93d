#include "catalogue/PhotoPlaces.h"

#include "app/AtomicFile.h"
#include "app/CheckedFile.h"
#include "app/KillPoint.h"
#include "app/OwnMark.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("PhotoPlaces", text);
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Renames without ever replacing what is at to (errno EEXIST then).
bool renameNew(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: asked first, then renamed.
    struct stat st;
    if (::lstat(target.constData(), &st) == 0 || errno != ENOENT) {
        errno = EEXIST;
        return false;
    }
    return ::rename(source.constData(), target.constData()) == 0;
}

} // namespace

QString PhotoPlaces::relativePath(const QString &master, int n)
{
    return folderName() + QLatin1Char('/') + master + QLatin1Char('_') + QString::number(n) + QStringLiteral(".jpg");
}

PhotoPlaces::PhotoPlaces(const QString &workDir, const QString &master) : m_workDir(workDir), m_master(master) {}

QString PhotoPlaces::path(int n) const
{
    return QDir(m_workDir).filePath(relativePath(m_master, n));
}

bool PhotoPlaces::folderExists() const
{
    return QFileInfo(QDir(m_workDir).filePath(folderName())).isDir();
}

bool PhotoPlaces::folderBlocked() const
{
    const QFileInfo folder(QDir(m_workDir).filePath(folderName()));
    return folder.exists() && !folder.isDir();
}

bool PhotoPlaces::isTaken(int n) const
{
    return QFileInfo::exists(path(n));
}

int PhotoPlaces::firstFree() const
{
    for (int n = 1; n <= Count; ++n)
        if (!isTaken(n))
            return n;
    return 0;
}

bool PhotoPlaces::canStore(int n, QString *error) const
{
    if (folderBlocked()) {
        setError(error, tr("\"%1\" is a file, not the photo folder.").arg(folderName()));
        return false;
    }
    if (!folderExists()) {
        setError(error, tr("The photo folder \"%1/\" does not exist.").arg(folderName()));
        return false;
    }
    if (QFileInfo::exists(path(n))) {
        setError(error, tr("The photo place %1 is already taken.").arg(path(n)));
        return false;
    }
    QString reason;
    if (!prepareWorkFolder(&reason)) {
        setError(error, AtomicFile::tr("Cannot write the file %1: %2").arg(native(path(n)), reason));
        return false;
    }
    return true;
}

QString PhotoPlaces::workFolder() const
{
    return QDir(QDir(m_workDir).filePath(folderName())).filePath(OwnMark::workFolderName());
}

bool PhotoPlaces::prepareWorkFolder(QString *reason) const
{
    const QString folder = workFolder();
    if (OwnMark::isMarkedFolder(folder))
        return true;
    // An empty folder of that name is one whose making was cut short before
    // its mark; anything else there is not the program's and stays.
    ::rmdir(QFile::encodeName(folder).constData());
    return OwnMark::makeMarkedFolder(folder, reason) || OwnMark::isMarkedFolder(folder);
}

bool PhotoPlaces::prepareToRemove(QString *error) const
{
    QString reason;
    if (!prepareWorkFolder(&reason)) {
        setError(error, tr("The folder %1 for unfinished photo work cannot be made: %2")
                            .arg(native(workFolder()), reason));
        return false;
    }
    // A photo parked by an interrupted run may be the only copy of a photo
    // the user still has, and its name tells how to settle it only while
    // the photos stay as that run left them: nothing moves until a start
    // has settled it.
    for (const Parked &photo : parked(m_workDir)) {
        if (photo.master == m_master) {
            setError(error, tr("Cannot remove the photo %1: %2 is in the way.").arg(path(photo.place), photo.path));
            return false;
        }
    }
    return true;
}

// The photo is written whole in the work folder and only then given its
// place, so a write cut short leaves nothing among the photos.
QString PhotoPlaces::stagedPath(int n) const
{
    return QDir(workFolder()).filePath(OwnMark::temporaryName(QFileInfo(path(n)).fileName()));
}

bool PhotoPlaces::placeStaged(const QString &staged, int n, QString *error) const
{
    killPoint("photo-staged");
    if (renameNew(staged, path(n)))
        return true;
    const int why = errno;
    ::unlink(QFile::encodeName(staged).constData());
    if (why == EEXIST)
        setError(error, tr("The photo place %1 is already taken.").arg(path(n)));
    else
        setError(error, AtomicFile::tr("Cannot write the file %1: %2")
                            .arg(native(path(n)), QString::fromLocal8Bit(std::strerror(why))));
    return false;
}

bool PhotoPlaces::store(int n, const QByteArray &data, QString *error) const
{
    if (!canStore(n, error))
        return false;
    // Whole or not at all: a full disk leaves no empty photo behind.
    const QString staged = stagedPath(n);
    AtomicFile file(staged);
    if (!(file.open() && file.write(data) && file.commit())) {
        setError(error, AtomicFile::tr("Cannot write the file %1: %2").arg(native(path(n)), file.reason()));
        return false;
    }
    return placeStaged(staged, n, error);
}

bool PhotoPlaces::copyIn(int n, const QString &source, QString *error) const
{
    if (!canStore(n, error))
        return false;
    const QString staged = stagedPath(n);
    QString reason;
    // In pieces, and only a regular file within the photo bound.
    if (CheckedFile::copy(source, staged, CheckedFile::PhotoBytes, &reason) != CheckedFile::Result::Done) {
        // The user knows the photo by its place, not by the work file.
        setError(error, reason.replace(native(staged), native(path(n))));
        return false;
    }
    return placeStaged(staged, n, error);
}

bool PhotoPlaces::stage(int n, const QString &plan, QString *error)
{
    const QString from = path(n);
    const QString to = QDir(workFolder())
                           .filePath(QStringLiteral("%1_%2.jpg.irvanta-deleting-%3-%4")
                                         .arg(m_master)
                                         .arg(n)
                                         .arg(QCoreApplication::applicationPid())
                                         .arg(plan));
    if (!renameNew(from, to)) {
        if (errno == EEXIST)
            setError(error, tr("Cannot remove the photo %1: %2 is in the way.").arg(from, to));
        else
            setError(error, tr("Cannot remove the photo %1.").arg(from));
        return false;
    }
    m_staged.append({from, to});
    return true;
}

bool PhotoPlaces::stageAll(QString *error)
{
    if (!prepareToRemove(error))
        return false;
    for (int n = 1; n <= Count; ++n) {
        if (isTaken(n) && !stage(n, QStringLiteral("all"), error)) {
            restoreStaged();
            return false;
        }
    }
    return true;
}

void PhotoPlaces::restoreStaged()
{
    for (int i = m_staged.size() - 1; i >= 0; --i)
        if (!QFile::rename(m_staged.at(i).second, m_staged.at(i).first))
            qWarning("photo %s could not be put back from %s", qPrintable(m_staged.at(i).first),
                     qPrintable(m_staged.at(i).second));
    m_staged.clear();
}

void PhotoPlaces::discardStaged()
{
    for (const auto &s : std::as_const(m_staged))
        if (!QFile::remove(s.second))
            qWarning("staged photo %s could not be removed", qPrintable(s.second));
    m_staged.clear();
}

bool PhotoPlaces::remove(int k, QString *error)
{
    if (k < 1 || k > Count || !QFileInfo(path(k)).isFile()) {
        setError(error, tr("There is no photo %1 to delete.").arg(k));
        return false;
    }
    if (!prepareToRemove(error))
        return false;
    // The parked name records the places taken before, so a start after a
    // crash knows how far the moves below had come, gaps and all.
    QString plan;
    for (int n = 1; n <= Count; ++n)
        if (isTaken(n))
            plan += QString::number(n);
    if (!stage(k, plan, error))
        return false;
    killPoint("photo-parked");

    // Close up the places behind k; on a failed move every moved photo goes
    // back, so no photo is lost or left under a wrong number.
    QList<int> moved;
    for (int m = k + 1; m <= Count; ++m) {
        if (!isTaken(m))
            continue;
        if (isTaken(m - 1) || !QFile::rename(path(m), path(m - 1))) {
            setError(error, tr("Cannot rename the photo %1 to %2.").arg(path(m), path(m - 1)));
            for (int i = moved.size() - 1; i >= 0; --i)
                QFile::rename(path(moved.at(i) - 1), path(moved.at(i)));
            restoreStaged();
            return false;
        }
        moved.append(m);
        killPoint("photo-moved");
    }
    discardStaged();
    return true;
}

QList<PhotoPlaces::Parked> PhotoPlaces::parked(const QString &workDir)
{
    static const QRegularExpression shape(
        QStringLiteral("^(.+)_([1-5])\\.jpg\\.irvanta-deleting-([1-9][0-9]{0,9})-(all|[1-5]{1,5})$"));
    QList<Parked> found;
    const QString folder = PhotoPlaces(workDir, QString()).workFolder();
    if (!OwnMark::isMarkedFolder(folder))
        return found;
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::NoSymLinks | QDir::Hidden, QDir::Name);
    for (const QString &name : names) {
        const QRegularExpressionMatch m = shape.match(name);
        if (!m.hasMatch())
            continue;
        Parked photo;
        photo.path = dir.filePath(name);
        photo.master = m.captured(1);
        photo.place = m.captured(2).toInt();
        photo.process = m.captured(3).toLongLong();
        const QString plan = m.captured(4);
        photo.whole = plan == QLatin1String("all");
        bool ascending = true;
        for (const QChar c : plan) {
            if (photo.whole)
                break;
            const int n = c.digitValue();
            ascending = ascending && (photo.before.isEmpty() || photo.before.last() < n);
            photo.before.append(n);
        }
        // A plan the program never writes (out of order, without the photo itself).
        if (!photo.whole && (!ascending || !photo.before.contains(photo.place)))
            continue;
        found.append(photo);
    }
    return found;
}

bool PhotoPlaces::settle(const QList<Parked> &photos, QString *error) const
{
    QList<Parked> whole, single;
    for (const Parked &photo : photos)
        (photo.whole ? whole : single).append(photo);
    if (single.size() > 1 || (!single.isEmpty() && !whole.isEmpty())) {
        QStringList paths;
        for (const Parked &photo : photos)
            paths << native(photo.path);
        setError(error, tr("The photos %1 were left as they are: they come from more than one unfinished deletion.")
                            .arg(paths.join(QStringLiteral(", "))));
        return false;
    }
    if (!single.isEmpty())
        return settleDeletion(single.first(), error);

    // A rolled back deletion of the master: every place was emptied.
    bool all = true;
    for (const Parked &photo : std::as_const(whole)) {
        if (isTaken(photo.place)) {
            setError(error, tr("The photo %1 cannot be put back: the place %2 is taken.")
                                .arg(photo.path, path(photo.place)));
            all = false;
        } else if (!renameNew(photo.path, path(photo.place))) {
            setError(error, tr("The photo %1 cannot be put back as %2.").arg(photo.path, path(photo.place)));
            all = false;
        }
    }
    return all;
}

bool PhotoPlaces::settleDeletion(const Parked &photo, QString *error) const
{
    const int k = photo.place;
    // The deletion moves the photos taken after k down by one, lowest first;
    // after j moves the first j of them are one place lower.
    QList<int> lower, later;
    for (const int n : photo.before)
        (n < k ? lower : later).append(n);
    later.removeAll(k);
    const auto expected = [&](int j, int n) {
        if (lower.contains(n))
            return true;
        for (int i = 0; i < later.size(); ++i)
            if ((i < j ? later.at(i) - 1 : later.at(i)) == n)
                return true;
        return false;
    };
    int done = -1;
    for (int j = 0; j <= later.size() && done < 0; ++j) {
        bool same = true;
        for (int n = 1; n <= Count; ++n)
            same = same && isTaken(n) == expected(j, n);
        if (same)
            done = j;
    }
    if (done < 0) {
        setError(error, tr("The photo %1 cannot be put back: the photos of the model are not as its deletion left "
                           "them.")
                            .arg(photo.path));
        return false;
    }
    if (done == later.size()) {
        // Every later photo has its new number: only the removal was missing.
        if (!QFile::remove(photo.path)) {
            setError(error, tr("The deleted photo %1 cannot be removed.").arg(photo.path));
            return false;
        }
        return true;
    }
    // Back to the numbers before the deletion: the photos already moved
    // down go up again, highest first, and the parked one into its place.
    const auto redo = [&](int from) {
        for (int i = from; i < done; ++i)
            QFile::rename(path(later.at(i)), path(later.at(i) - 1));
    };
    for (int i = done - 1; i >= 0; --i) {
        if (!QFile::rename(path(later.at(i) - 1), path(later.at(i)))) {
            setError(error, tr("Cannot rename the photo %1 to %2.").arg(path(later.at(i) - 1), path(later.at(i))));
            redo(i + 1);
            return false;
        }
    }
    if (!renameNew(photo.path, path(k))) {
        setError(error, tr("The photo %1 cannot be put back as %2.").arg(photo.path, path(k)));
        redo(0);
        return false;
    }
    return true;
}
