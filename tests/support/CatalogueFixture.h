#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

// Rows for fixture catalogues. Every field is a QVariant so a test can store
// NULL (a default QVariant) where it wants to.
namespace CatalogueFixture {

struct Model
{
    QVariant rcid, brand, type, model, documentation, link, author;
    QVariant own = 1, hidden = 0, flag = 1, hidden1 = 0, prot = 0, correction = 0.0;
};

struct Key
{
    QVariant rcid, typeId, name, id, nkey;
};

// Inserts the rows; a failure is warned about and returns false.
bool addModel(QSqlDatabase db, const Model &m);
bool addKey(QSqlDatabase db, const Key &k);
// Runs a statement (schema changes of a test); false and a warning on failure.
bool exec(QSqlDatabase db, const QString &sql);
// The first column of every row of a query, as text; NULL reads as "<null>".
QStringList column(QSqlDatabase db, const QString &sql, const QVariantList &values = {});
// A single value; an invalid QVariant when there is no row.
QVariant value(QSqlDatabase db, const QString &sql, const QVariantList &values = {});

} // namespace CatalogueFixture
