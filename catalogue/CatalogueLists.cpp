#include "catalogue/CatalogueLists.h"

#include "catalogue/CatalogueRead.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

bool column(QSqlDatabase db, const QString &sql, QStringList *out, QString *error)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(sql)) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    QStringList read;
    if (!CatalogueRead::each(
            q,
            [&](const QSqlQuery &row) {
                const QString value = row.value(0).toString();
                if (!value.isEmpty())
                    read.append(value);
            },
            error))
        return false;
    out->append(read);
    return true;
}

} // namespace

QStringList CatalogueLists::brands(QSqlDatabase db, QString *error)
{
    QStringList list;
    if (column(db,
               QStringLiteral("SELECT DISTINCT rcmodels.Brand FROM rcmodels UNION SELECT rcbrands.Brand FROM rcbrands "
                              "ORDER BY Brand"),
               &list, nullptr))
        return list;
    // Without "rcbrands" the union fails as a whole; the models' own brands remain.
    list.clear();
    column(db, QStringLiteral("SELECT DISTINCT Brand FROM rcmodels ORDER BY Brand"), &list, error);
    return list;
}

QStringList CatalogueLists::types(QSqlDatabase db, QString *error)
{
    QStringList list;
    column(db, QStringLiteral("SELECT DISTINCT Type FROM rcmodels ORDER BY Type"), &list, error);
    return list;
}
