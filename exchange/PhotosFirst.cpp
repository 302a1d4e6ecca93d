#include "exchange/PhotosFirst.h"

#include "app/KillPoint.h"
#include "catalogue/PhotoPlaces.h"

#include <QFile>

PhotosFirst::PhotosFirst(const QString &workDir, Copy copy) : m_workDir(workDir), m_copy(std::move(copy)) {}

void PhotosFirst::copy(const QString &rcid)
{
    const PhotoPlaces places(m_workDir, rcid);
    QList<int> free;
    for (int n = 1; n <= PhotoPlaces::Count; ++n)
        if (!places.isTaken(n))
            free << n;
    m_rcid = rcid;
    m_problems = m_copy ? m_copy(rcid) : QStringList();
    m_added.clear();
    for (const int n : std::as_const(free))
        if (places.isTaken(n))
            m_added << n;
    killPoint("import-photos-copied");
}

void PhotosFirst::undo()
{
    const PhotoPlaces places(m_workDir, m_rcid);
    for (const int n : std::as_const(m_added))
        if (!QFile::remove(places.path(n)))
            qWarning("photo %s of an import that was not written could not be removed", qPrintable(places.path(n)));
    m_added.clear();
}
