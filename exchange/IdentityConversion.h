#pragma once

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Converts a catalogue of old braced identities ("{" + UUID text + "}") to
// the eight-digit form, renames the photos that carry them, and on request
// deletes photos that belong to no model.
class IdentityConversion
{
    Q_DECLARE_TR_FUNCTIONS(IdentityConversion)

public:
    struct Result
    {
        int identities = 0;    // old identities converted
        QStringList collision; // old identities that would share one new one
        QStringList renamed;   // "old -> new" photo names
        QStringList deleted;   // orphan photos removed
        QStringList notRenamed; // photos whose new name was taken or refused
        QStringList problems;  // photos that could not be removed (or looked up)
    };

    // What happened to the photos that did not go as planned, for the user:
    // not renamed and still there, not renamed and then deleted as nobody's,
    // not deleted. Empty when every photo went as planned.
    static QString photoReport(const Result &result);

    // The identities in one transaction; a collision (two old identities, or
    // an old and a stored one, becoming the same) changes nothing and fills
    // result->collision. Photos are renamed after the commit. False when the
    // catalogue was not converted.
    static bool convert(QSqlDatabase db, const QString &workDir, bool deleteOrphans, Result *result,
                        QString *error);

    // Removes the photos of "RCImages/" whose name without its last six
    // characters ("_", the number, ".jpg") is no model's identity. A photo
    // whose look-up fails stays (it goes to result->problems).
    static void deleteOrphanPhotos(QSqlDatabase db, const QString &workDir, Result *result);

    // The eight-digit identity of an old braced one; empty when text is not
    // of that exact shape.
    static QString newIdentity(const QString &text);
};
