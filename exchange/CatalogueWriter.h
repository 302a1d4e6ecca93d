#pragma once

#include "exchange/ImportedRemote.h"
#include "exchange/PhotosFirst.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

class QSqlQuery;

// The catalogue writes the importers share. Every statement binds its
// values; each returns false with *error set when the database refuses.
namespace CatalogueWriter {

// Prepares sql on q, binds values in order and runs it; false with the
// database's message in *error when it fails.
bool run(QSqlQuery &q, const QString &sql, const QVariantList &values, QString *error);

// Sets *error (when given) and returns false.
bool fail(QString *error, const QString &why);

// An open transaction that is rolled back unless commit() succeeded, so no
// path out of an import leaves one open.
class Transaction
{
public:
    explicit Transaction(QSqlDatabase db) : m_db(db) {}
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    bool begin(QString *error);
    bool commit(QString *error);

private:
    QSqlDatabase m_db;
    bool m_open = false;
};

// A new model identity that no row of "rcmodels" holds yet; empty when the
// look-up fails or no free one was drawn.
QString freeRcid(QSqlDatabase db, QString *error);

// Key nkey of remote type typeId of master rcid: the stored one of that
// triple is replaced.
bool writeKey(QSqlDatabase db, const QString &rcid, int typeId, int nkey, const QString &name, const QString &id,
              QString *error);

// A remote of an import-only format as a new own link master with its
// keys, in one transaction; its identity goes to *rcid. photos (when given)
// copies the remote's photos before the commit.
bool writeNewMaster(QSqlDatabase db, const ImportedRemote &remote, QString *rcid, QString *error,
                    PhotosFirst *photos = nullptr);

} // namespace CatalogueWriter
