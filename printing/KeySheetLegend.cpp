#include "printing/KeySheetLegend.h"

#include "catalogue/CatalogueRead.h"

#include "printing/KeySheetLayout.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

bool prepare(QSqlQuery &q, const QString &sql, QString *error)
{
    if (q.prepare(sql))
        return true;
    if (error)
        *error = q.lastError().text();
    return false;
}

bool run(QSqlQuery &q, QString *error)
{
    if (q.exec())
        return true;
    if (error)
        *error = q.lastError().text();
    return false;
}

} // namespace

int KeySheetLegend::namedKeyCount(QSqlDatabase db, const QString &link, const QString &typeId, QString *error)
{
    QSqlQuery q(db);
    if (!prepare(q, QStringLiteral("SELECT count(*) FROM rckeys WHERE Name!='' AND Rcid=? AND RCTypeId=?"), error))
        return -1;
    q.addBindValue(link);
    q.addBindValue(typeId);
    if (!run(q, error))
        return -1;
    bool found = false;
    if (!CatalogueRead::first(q, &found, error))
        return -1;
    return found ? q.value(0).toInt() : 0;
}

bool KeySheetLegend::entries(QSqlDatabase db, const QString &link, const QString &typeId,
                             const QString &sheetCustomerId, int namedKeys, QList<Entry> *out, QString *error)
{
    out->clear();
    QSqlQuery q(db);
    if (!prepare(q,
                 QStringLiteral("SELECT rckeys.Name, rctypeprint.PrintOrder FROM rckeys JOIN rctypeprint "
                                "WHERE rckeys.Nkey=rctypeprint.Nkey AND rckeys.Rcid=? AND rckeys.RCTypeId=? "
                                "AND rctypeprint.RCTypeId=? AND rctypeprint.CustomerId=?"),
                 error))
        return false;
    q.addBindValue(link);
    q.addBindValue(typeId);
    q.addBindValue(typeId);
    q.addBindValue(sheetCustomerId);
    if (!run(q, error))
        return false;
    QList<Entry> read;
    if (!CatalogueRead::each(
            q,
            [&](const QSqlQuery &row) {
                read.append({KeySheetLayout::legendText(row.value(0).toString(), namedKeys), row.value(1).toInt()});
            },
            error))
        return false;
    *out = read;
    return true;
}
