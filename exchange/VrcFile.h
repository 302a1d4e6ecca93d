#pragma once

#include "exchange/ImportedRemote.h"

#include <QByteArray>

// The VRC remote file: brand, type, model, the picture of the remote type
// it was made for, four-line key records up to "<end_of_file>", then free
// documentation. Read as Latin-1.
class VrcFile
{
public:
    static constexpr const char *EndMarker = "<end_of_file>";

    // False with the reason in *error when the file cannot be taken whole:
    // no end marker, an unknown picture, a key position without a key.
    static bool parse(const QByteArray &bytes, ImportedRemote *remote, QString *error);

    // Remote type of a picture name; 0 when the name is not known.
    static int typeOfPicture(const QString &picture);
};
