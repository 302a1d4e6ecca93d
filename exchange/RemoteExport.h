#pragma once

#include "exchange/ExchangeFile.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Export of the selected model's link master to an exchange file, with its
// photos copied beside the file.
class RemoteExport
{
public:
    // What the window has selected: the model row and the remote type.
    struct Selection
    {
        QString rcid, brand, model, link;
        QString rcTypeId, rcTypeName;
    };

    // The name the save dialog proposes (no suffix), already safe as a file
    // name. False when the selected linked model's master does not exist (or
    // cannot be read: *error then says why); nothing is exported then.
    static bool proposedName(QSqlDatabase db, const Selection &selection, QString *name, QString *error);

    // A text made safe as one file name inside the chosen folder: ":*?<>"
    // removed, "/" and "\" and leading dots replaced with "_".
    static QString safeFileName(const QString &text);

    // The document of the link master: its row, its keys of the selected
    // type, its own linked models. False when a query fails.
    static bool document(QSqlDatabase db, const Selection &selection, ExchangeFile::Document *document,
                         QString *error);

    // Writes the file (replacing it) and then copies the photos beside it; a
    // copy whose name is taken is skipped. An export that is refused or
    // whose file cannot be written copies no photo. Returns false when the
    // document cannot be read or the file not written; *problems gets every
    // failed photo copy, with its file and the reason (a photo that is no
    // regular file or is larger than CheckedFile::PhotoBytes among them).
    // Every file is written whole or not at all; photos go in pieces.
    static bool exportTo(QSqlDatabase db, const QString &workDir, const Selection &selection,
                         const QString &proposedName, const QString &fileName, QString *error,
                         QStringList *problems);
};
