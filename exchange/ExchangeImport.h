#pragma once

#include "exchange/ExchangeFile.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Writes a checked exchange document into the catalogue, all or nothing,
// and copies the photos that came with the file.
class ExchangeImport
{
public:
    // 1 when the file's master already has keys of the file's remote type
    // (the user is asked then), 0 when not, -1 when the look-up fails.
    static int existingKeys(QSqlDatabase db, const ExchangeFile::Document &document, QString *error);

    enum class Mode {
        Replace, // the file's master replaces the stored one, with its links
        Copy,    // a new own master with the file's keys; links are not read
    };
    enum class Result {
        Written,
        WrongFile, // the replace path needs the links group the file lacks
        Failed,    // the catalogue refused; nothing was changed (see error)
    };
    struct Outcome
    {
        QString rcid;    // the master as stored
        QStringList log; // links skipped and why
    };
    // In one transaction: the master row (a stored row is updated in place,
    // so the columns the file does not carry stay), its keys of the file's
    // type, and on Replace the links. A link that is the master itself,
    // names an existing link master or a row linked to another master is
    // skipped and logged.
    static Result write(QSqlDatabase db, const ExchangeFile::Document &document, Mode mode, Outcome *outcome,
                        QString *error);

    // Copies the photos "*<fileRcid>_<n>.jpg" found in fileDir (plain files,
    // any letter case) to the photo places of rcid below workDir; a taken
    // place is kept. Each copy is written whole or not at all. Returns one
    // line (file and reason) per photo that could not be copied.
    static QStringList copyPhotos(const QString &fileDir, const QString &fileRcid, const QString &workDir,
                                  const QString &rcid);
};
