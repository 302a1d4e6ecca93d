#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// Writes of one model record of "rcmodels": a new model (its own link master
// or joining a master), an edit of chosen fields, and the deletion of a model
// or of a whole link group with its keys and photos. Every statement binds its
// values; a failed write leaves the catalogue as it was and says why.
class ModelRecords
{
public:
    // First eight hexadecimal digits of a new random UUID, lower case.
    static QString newRcid();

    // A new own model. link empty: the model is its own link master;
    // otherwise the master it joins, which must exist. The new Rcid is
    // written to *rcid.
    struct NewModel
    {
        QString brand, type, model, documentation;
        QString link;
    };
    static bool insertModel(QSqlDatabase db, const NewModel &model, QString *rcid, QString *error);

    // An edit writes only the fields that are set; the others keep their
    // stored value exactly. Any write marks the model changed (Flag 0).
    struct Edit
    {
        QString rcid;
        std::optional<QString> brand, type, model, documentation;
        std::optional<bool> own;
        std::optional<double> correction;
        std::optional<int> prot;
        bool isEmpty() const
        {
            return !brand && !type && !model && !documentation && !own && !correction && !prot;
        }
    };
    static bool updateModel(QSqlDatabase db, const Edit &edit, QString *error);

    // True when rcid names a link master (a row whose Link is its own Rcid).
    static bool masterExists(QSqlDatabase db, const QString &rcid, QString *error = nullptr);

    // Number of other models linked to rcid; -1 on a failed query.
    static int linkCount(QSqlDatabase db, const QString &rcid, QString *error = nullptr);

    // Number of factory models (Own 0) among rcid and the models linked to
    // it, which deleteModel() would refuse; -1 on a failed query.
    static int factoryCount(QSqlDatabase db, const QString &rcid, QString *error = nullptr);

    enum class DeleteResult { Deleted, Refused, Failed };
    // Deletes the model rcid, every model linked to it, the keys stored under
    // it and its photos below workDir, all or nothing. Refused (nothing
    // changes) when a row of the group is factory data.
    static DeleteResult deleteModel(QSqlDatabase db, const QString &workDir, const QString &rcid, QString *error);

    // Settles the photos a deletion left parked when the program ended in
    // its middle: removed when their master is gone, otherwise put back to
    // their own numbers, or removed when a photo deletion had done all else
    // (PhotoPlaces::settle). Returns one line per photo that
    // could not be settled; such a file stays as it is.
    static QStringList settleParkedPhotos(QSqlDatabase db, const QString &workDir);

    // "Correction" as the record dialog writes it: general form, at most six
    // significant digits (1.5, 0 and -20).
    static QString correctionText(double value);
};
