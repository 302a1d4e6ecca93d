#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// The five photo places of one link master: place n is the file
// "RCImages/" + master + "_" + n + ".jpg" below the working directory. The
// folder is expected to exist; it is never created here. Changes to several
// files are made so that a failure part-way puts every file back.
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

    // Removes place k and moves every later photo down by one place
    // (k + 1 to k, ..., 5 to 4; a missing place is skipped).
    bool remove(int k, QString *error);

    // All-or-nothing removal of every place, for the deletion of a master:
    // stage() moves the files aside (restoring them itself when it fails),
    // then either restoreStaged() or discardStaged().
    bool stageAll(QString *error);
    void restoreStaged();
    void discardStaged();

    // A photo moved aside by a deletion that never finished (the program
    // ended between moving it and the end of the deletion).
    struct Parked
    {
        QString path;   // the parked file
        QString master; // whose photo it was
        int place = 0;  // and in which place
    };
    static QList<Parked> parked(const QString &workDir);
    // Settles the parked photos of this (still existing) master. Several
    // parked photos are a whole deletion of the master that was rolled back:
    // each goes back to its own place. One parked photo is a photo deletion:
    // when later photos still wait to move down (or nothing moved), the moved
    // ones go back up and the photo returns to its own number; when every
    // later photo had moved already, only the parked file was left and the
    // deletion is finished by removing it. False with *error when a photo
    // cannot be settled; it then stays parked.
    bool settle(const QList<Parked> &photos, QString *error) const;

private:
    bool stage(int n, QString *error);
    static QString stagedName(const QString &path);

    QString m_workDir;
    QString m_master;
    QList<QPair<QString, QString>> m_staged; // (place file, staged file)
};
