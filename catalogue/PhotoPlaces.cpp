#include "catalogue/PhotoPlaces.h"

#include "app/AtomicFile.h"
#include "app/KillPoint.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

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

bool PhotoPlaces::store(int n, const QByteArray &data, QString *error) const
{
    if (folderBlocked()) {
        setError(error, tr("\"%1\" is a file, not the photo folder.").arg(folderName()));
        return false;
    }
    if (!folderExists()) {
        setError(error, tr("The photo folder \"%1/\" does not exist.").arg(folderName()));
        return false;
    }
    const QString target = path(n);
    if (QFileInfo::exists(target)) {
        setError(error, tr("The photo place %1 is already taken.").arg(target));
        return false;
    }
    // Whole or not at all: a full disk leaves no empty photo behind.
    QString reason;
    if (!AtomicFile::writeWhole(target, data, &reason)) {
        setError(error, reason);
        return false;
    }
    return true;
}

QString PhotoPlaces::stagedName(const QString &path)
{
    return path + QStringLiteral(".deleting");
}

bool PhotoPlaces::stage(int n, QString *error)
{
    const QString from = path(n);
    const QString to = stagedName(from);
    // A photo parked by an interrupted run is never overwritten: it may be
    // the only copy of a photo the user still has (start-up puts it back).
    if (QFileInfo::exists(to)) {
        setError(error, tr("Cannot remove the photo %1: %2 is in the way.").arg(from, to));
        return false;
    }
    if (!QFile::rename(from, to)) {
        setError(error, tr("Cannot remove the photo %1.").arg(from));
        return false;
    }
    m_staged.append({from, to});
    return true;
}

bool PhotoPlaces::stageAll(QString *error)
{
    for (int n = 1; n <= Count; ++n) {
        if (isTaken(n) && !stage(n, error)) {
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
    if (!stage(k, error))
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
    static const QRegularExpression shape(QStringLiteral("^(.+)_([1-5])\\.jpg\\.deleting$"));
    const QDir folder(QDir(workDir).filePath(folderName()));
    QList<Parked> found;
    const QStringList names = folder.entryList({QStringLiteral("*.deleting")}, QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &name : names) {
        const QRegularExpressionMatch m = shape.match(name);
        if (m.hasMatch())
            found.append({folder.filePath(name), m.captured(1), m.captured(2).toInt()});
    }
    return found;
}

bool PhotoPlaces::settle(const QList<Parked> &photos, QString *error) const
{
    if (photos.size() != 1) {
        // A rolled back deletion of the master: every place was emptied.
        bool all = true;
        for (const Parked &photo : photos) {
            if (isTaken(photo.place)) {
                setError(error, tr("The photo %1 cannot be put back: the place %2 is taken.")
                                    .arg(photo.path, path(photo.place)));
                all = false;
            } else if (!QFile::rename(photo.path, path(photo.place))) {
                setError(error, tr("The photo %1 cannot be put back as %2.").arg(photo.path, path(photo.place)));
                all = false;
            }
        }
        return all;
    }

    const Parked &photo = photos.first();
    const int k = photo.place;
    // The deletion moves every later photo down by one, lowest first. Later
    // photos still waiting behind a free place mean it stopped part-way.
    int firstFreeFrom = 0;
    bool waiting = false;
    bool any = false;
    for (int n = 1; n <= Count; ++n) {
        const bool taken = isTaken(n);
        any = any || taken;
        if (n >= k && !taken && firstFreeFrom == 0)
            firstFreeFrom = n;
        else if (taken && firstFreeFrom != 0)
            waiting = true;
    }
    if (any && firstFreeFrom == 0) {
        setError(error, tr("The photo %1 cannot be put back: all %2 photo places are taken.")
                            .arg(photo.path, QString::number(Count)));
        return false;
    }
    if (any && !waiting) {
        // Every later photo has its new number: only the removal was missing.
        if (!QFile::remove(photo.path)) {
            setError(error, tr("The deleted photo %1 cannot be removed.").arg(photo.path));
            return false;
        }
        return true;
    }
    // Back to the numbers before the deletion: the photos already moved
    // down go up again, highest first, and the parked one into its place.
    if (!any)
        firstFreeFrom = k;
    QList<int> moved;
    for (int n = firstFreeFrom - 1; n >= k; --n) {
        if (!QFile::rename(path(n), path(n + 1))) {
            setError(error, tr("Cannot rename the photo %1 to %2.").arg(path(n), path(n + 1)));
            for (const int m : std::as_const(moved))
                QFile::rename(path(m + 1), path(m));
            return false;
        }
        moved.prepend(n);
    }
    if (!QFile::rename(photo.path, path(k))) {
        setError(error, tr("The photo %1 cannot be put back as %2.").arg(photo.path, path(k)));
        for (const int m : std::as_const(moved))
            QFile::rename(path(m + 1), path(m));
        return false;
    }
    return true;
}
