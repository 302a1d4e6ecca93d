#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>

// The catalogue writes of the model list and the key list: in-place edits and
// key deletion. Every statement binds its values; the result says what
// happened, and the caller tells the user.
class CatalogueEdits
{
public:
    enum class Status {
        Written,   // the catalogue was changed
        Unchanged, // the stored row already holds these values; nothing written
        NotFound,  // no row to change
        Refused,   // factory data: nothing written
        Failed,    // the database refused; nothing written (see error)
    };
    struct Result
    {
        Status status = Status::Failed;
        QString error;
    };

    // In-place edit of a model's names. The brand is stored upper case; when a
    // name differs from the stored row, Brand, Type and Model are written and
    // the model is marked changed (Flag 0).
    static Result updateModelNames(QSqlDatabase db, const QString &rcid, const QString &brand, const QString &type,
                                   const QString &model);

    // In-place edit of a key: writes its name and code; the model's Flag stays.
    // The key is addressed by the values the key list holds for it.
    static Result updateKey(QSqlDatabase db, const QVariant &rcid, const QVariant &typeId, const QVariant &nkey,
                            const QString &name, const QString &id);

    // Deletes key nkey of remote type typeId stored under rcid and marks that
    // model changed, in one transaction. Keys belong to the link master, so
    // the master's Own decides: a factory master (or none) refuses.
    static Result deleteKey(QSqlDatabase db, const QVariant &rcid, const QVariant &nkey, const QVariant &typeId);

    // Whether the model rcid is the user's own record (Own 1); false when
    // there is no such model or it cannot be read.
    static bool isOwn(QSqlDatabase db, const QVariant &rcid);
};
