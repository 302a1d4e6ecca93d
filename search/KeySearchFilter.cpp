#include "search/KeySearchFilter.h"

#include "catalogue/CatalogueRead.h"
#include "catalogue/ModelFilter.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

QString positionKey(const QString &typeId, int order)
{
    return typeId + QLatin1Char('_') + QString::number(order);
}

// One row's condition on one key of a type; nkey empty: any key of the type.
QString keyMatches(const QString &typeId, const QString &nkey, int offset, const QString &code)
{
    QString t = QLatin1String("(rcTypeId=") + ModelFilter::quoted(typeId) + QLatin1Char(')');
    if (!nkey.isEmpty())
        t += QStringLiteral("AND((Nkey=%1)OR(Nkey=(%1+%2)))").arg(nkey).arg(offset);
    return t + QLatin1String("AND(ID=") + ModelFilter::quoted(code) + QLatin1Char(')');
}

} // namespace

KeySearchFilter::PositionMap KeySearchFilter::readPositions(QSqlDatabase db, QString *error)
{
    PositionMap map;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("select RCTypeId,Nkey,SearchOrder from rctypesearch"))) {
        if (error)
            *error = q.lastError().text();
        return map;
    }
    PositionMap read;
    if (!CatalogueRead::each(
            q,
            [&](const QSqlQuery &row) {
                read.insert(row.value(0).toString() + QLatin1Char('_') + row.value(2).toString(),
                            row.value(1).toString());
            },
            error))
        return map;
    return read;
}

int KeySearchFilter::shiftOffset(const QString &typeId)
{
    return typeId.toInt() <= 4 ? 56 : 43;
}

QString KeySearchFilter::conditions(const QStringList &rows, const QStringList &typeIds, const PositionMap &positions)
{
    // One pass over the keys that carry a searched code, grouped by model: a
    // row is satisfied for a type when one of the model's keys matches it
    // (max() over the group), so one key may satisfy several rows. Without an
    // index on the codes, a sub-select per row and type would read the whole
    // key table once each.
    QString having;
    QStringList codes;
    for (const QString &typeId : typeIds) {
        const int offset = shiftOffset(typeId);
        QString terms;
        for (int row = 0; row < kRows && row < rows.size(); ++row) {
            const QString &code = rows.at(row);
            if (code.isEmpty())
                continue;
            QString nkey;
            if (row < kPositionRows) {
                // The key number reaches the statement as a number or not at all.
                bool ok = false;
                const int n = positions.value(positionKey(typeId, row + 1)).toInt(&ok);
                if (!ok || n == -1)
                    continue;
                nkey = QString::number(n);
            }
            terms += QLatin1String("AND(max(") + keyMatches(typeId, nkey, offset, code) + QLatin1String("))");
            const QString literal = ModelFilter::quoted(code);
            if (!codes.contains(literal))
                codes << literal;
        }
        if (!terms.isEmpty())
            having += QLatin1String("OR((1)") + terms + QLatin1Char(')');
    }
    if (having.isEmpty())
        return QStringLiteral("(0)");
    // A bare IN lets the database look the few masters up by Rcid instead of
    // testing every model.
    return QLatin1String("Rcid IN(SELECT Rcid FROM rckeys WHERE(ID IN(") + codes.join(QLatin1Char(',')) +
           QLatin1String("))GROUP BY Rcid HAVING(0)") + having + QLatin1Char(')');
}

QString KeySearchFilter::filter(const QStringList &rows, const QStringList &typeIds, const PositionMap &positions)
{
    return conditions(rows, typeIds, positions) + QLatin1String(" ORDER BY Brand,Model");
}
