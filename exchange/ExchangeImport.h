#pragma once

#include "exchange/ExchangeFile.h"
#include "exchange/PhotosFirst.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Writes a checked exchange document into the catalogue, all or nothing,
// and copies the photos that came with the file.
class ExchangeImport
{
    Q_DECLARE_TR_FUNCTIONS(ExchangeImport)

public:
    // What must come before the file's master is written under its own
    // Rcid. A row of that Rcid that is linked to another master belongs to
    // that master: no import rewrites it, and *why names the row and its
    // master. A factory master, or a master with keys of the file's remote
    // type, is replaced only after the user chose between copy and replace.
    enum class Before {
        Write,   // no such row, or an own master without keys of the type
        Ask,     // the question first
        Refused, // see *why
        Failed,  // the look-up failed (see *why)
    };
    static Before before(QSqlDatabase db, const ExchangeFile::Document &document, QString *why);

    enum class Mode {
        Replace, // the file's master replaces the stored one, with its links
        Copy,    // a new own master with the file's keys; links are not read
    };
    enum class Result {
        Written,
        WrongFile, // the replace path needs the links group the file lacks
        Refused,   // the file's master is a link of another master (see before())
        Failed,    // the catalogue refused; nothing was changed (see error)
    };
    struct Outcome
    {
        QString rcid;    // the master as stored
        QStringList log; // keys and links skipped and why
    };
    // In one transaction: the master row (a stored row is updated in place,
    // so the columns the file does not carry stay), its keys of the file's
    // type, and on Replace the links. A link that is the master itself,
    // names an existing link master or a row linked to another master is
    // skipped and logged; the log starts with the keys the reader skipped.
    // Empty texts of the file are stored as empty texts, never NULL.
    // photos (when given) copies the file's photos before the commit.
    static Result write(QSqlDatabase db, const ExchangeFile::Document &document, Mode mode, Outcome *outcome,
                        QString *error, PhotosFirst *photos = nullptr);

    // Copies the photos "*<fileRcid>_<n>.jpg" found in fileDir (plain files,
    // any letter case) to the photo places of rcid below workDir; a taken
    // place is kept. Each copy is written whole or not at all, in pieces; a
    // photo larger than CheckedFile::PhotoBytes is not copied. Returns one
    // line (file and reason) per photo that could not be copied.
    static QStringList copyPhotos(const QString &fileDir, const QString &fileRcid, const QString &workDir,
                                  const QString &rcid);
};
