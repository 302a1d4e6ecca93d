#pragma once

#include "exchange/ImportedRemote.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QStringList>

// The VRC remote file: brand, type, model, the picture of the remote type
// it was made for, four-line key records up to "<end_of_file>", then free
// documentation. Read as Latin-1.
class VrcFile
{
    Q_DECLARE_TR_FUNCTIONS(VrcFile)

public:
    static constexpr const char *EndMarker = "<end_of_file>";

    // False with the reason in *error when the file cannot be taken whole:
    // no end marker, an unknown picture, a key number beyond 127, a brand,
    // type, model, key name or code longer than ImportValues allows.
    static bool parse(const QByteArray &bytes, ImportedRemote *remote, QString *error);

    // Remote type of a picture name; 0 when the name is not known.
    static int typeOfPicture(const QString &picture);

    // Copies the photos that lie beside the file at vrcPath under its own
    // name ("remote_1.jpg" for "remote.vrc") to the free photo places of
    // rcid below workDir. Only plain files are taken: a symbolic link, a
    // device or a FIFO is skipped with a line in *log. Copies go in pieces;
    // a photo larger than CheckedFile::PhotoBytes is not copied. Returns one
    // line (file and reason) per photo that could not be copied.
    static QStringList copyPhotos(const QString &vrcPath, const QString &workDir, const QString &rcid,
                                  QStringList *log);
};
