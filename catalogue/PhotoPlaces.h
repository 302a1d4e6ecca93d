#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// The five photo places of one link master: place n is the file
// "RCImages/" + master + "_" + n + ".jpg" below the working directory. The
// folder is expected to exist; it is never created here (only the work
// folder inside it). Changes to several files are made so that a failure
// part-way puts every file back.
class PhotoPlaces
{
public:
    static constexpr int Count = 5;

    static QString folderName() { return QStringLiteral("RCImages"); }
    // Name of place n relative to the working directory.
    static QString relativePath(const QString &master, int n);

    PhotoPlaces(const QString &workDir, const QString &master);

    QString path(int n) const;
    bool folderExists() const;
    // Something else than a folder (a file) stands where the folder belongs.
    bool folderBlocked() const;
    bool isTaken(int n) const;
    // Lowest place whose file does not exist; 0 when all five are taken.
    int firstFree() const;

    // Writes data as the file of place n; an existing file is never
    // overwritten and a failed write leaves no file behind.
    bool store(int n, const QByteArray &data, QString *error) const;
    // Copies the file source whole as the file of place n, on the same terms.
    bool copyIn(int n, const QString &source, QString *error) const;

    // Removes place k and moves every later photo down by one place
    // (k + 1 to k, ..., 5 to 4; a missing place is skipped).
    bool remove(int k, QString *error);

    // All-or-nothing removal of every place, for the deletion of a master:
    // stage() moves the files aside (restoring them itself when it fails),
    // then either restoreStaged() or discardStaged().
    bool stageAll(QString *error);
    void restoreStaged();
    void discardStaged();

    // Unfinished photo work (a photo being written, a photo moved aside by a
    // deletion) lies in a marked folder below the photo folder, so a start
    // finds it without listing the photos.
    QString workFolder() const;

    // A photo moved aside by a deletion that never finished (the program
    // ended between moving it and the end of the deletion). Its name says
    // which deletion it was part of: "<master>_<place>.jpg.irvanta-deleting-
    // <process>-<plan>", the plan being "all" for the deletion of the master,
    // else the places taken before the photo deletion ("134").
    struct Parked
    {
        QString path;       // the parked file
        QString master;     // whose photo it was
        int place = 0;      // and in which place
        qint64 process = 0; // the process that parked it
        bool whole = false; // the deletion of the whole master
        QList<int> before;  // a photo deletion: the places taken before it
    };
    static QList<Parked> parked(const QString &workDir);
    // Settles the parked photos of this (still existing) master. Photos of a
    // deletion of the master are that deletion rolled back: each goes back
    // to its own place. A photo deletion ends as it was before or after:
    // from the places taken now and the places taken before, it is known how
    // many later photos had moved down; when all had, the deletion is
    // finished by removing the parked photo, else the moved ones go back up
    // and the photo to its own number. False with *error when a photo cannot
    // be settled; it then stays parked.
    bool settle(const QList<Parked> &photos, QString *error) const;

private:
    bool canStore(int n, QString *error) const;
    bool prepareWorkFolder(QString *reason) const;
    bool prepareToRemove(QString *error) const;
    QString stagedPath(int n) const;
    bool placeStaged(const QString &staged, int n, QString *error) const;
    bool stage(int n, const QString &plan, QString *error);
    bool settleDeletion(const Parked &photo, QString *error) const;

    QString m_workDir;
    QString m_master;
    QList<QPair<QString, QString>> m_staged; // (place file, staged file)
};
