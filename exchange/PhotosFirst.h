#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// An import's photos are copied into the model's photo places before the
// catalogue write commits: a crash between the two leaves at most photos of
// a model that was never written, never a written model without its photos.
// When the commit fails, the photos this import added go again; photos that
// were there before are never touched.
class PhotosFirst
{
public:
    // Copies the photos for the model rcid; one line per photo that could
    // not be copied.
    using Copy = std::function<QStringList(const QString &rcid)>;

    PhotosFirst(const QString &workDir, Copy copy);

    // Right before the commit, with the identity the model is written under.
    void copy(const QString &rcid);
    // When the commit failed after copy().
    void undo();

    QStringList problems() const { return m_problems; }

private:
    QString m_workDir;
    Copy m_copy;
    QString m_rcid;
    QList<int> m_added;
    QStringList m_problems;
};
