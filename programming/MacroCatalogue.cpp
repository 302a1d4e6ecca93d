#include "programming/MacroCatalogue.h"

#include "catalogue/CatalogueRead.h"
#include "programming/MacroBlock.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace MacroCatalogue {

namespace {

// A statement with one bound value; a missing table shows at prepare.
bool run(QSqlQuery &q, const QString &sql, int value, QString *error)
{
    if (q.prepare(sql)) {
        q.addBindValue(value);
        if (q.exec())
            return true;
    }
    if (error)
        *error = q.lastError().text();
    return false;
}

} // namespace

bool keys(QSqlDatabase db, int rcTypeId, KeyList *out, QString *error)
{
    *out = KeyList();
    QSqlQuery q(db);
    if (!run(q, QStringLiteral("SELECT Nkey, Name FROM rctypemacro WHERE RCTypeId = ? ORDER BY SortOrder"), rcTypeId,
             error))
        return false;
    KeyList read;
    if (!CatalogueRead::each(
            q,
            [&](const QSqlQuery &row) {
                const int key = row.value(0).toInt();
                const QString name = row.value(1).toString();
                read.names.insert(key, name.isEmpty() ? QStringLiteral(" - %1 - ").arg(key) : name);
                read.order.append(key);
            },
            error))
        return false;
    *out = read;
    return true;
}

bool macroNames(QSqlDatabase db, int nameSetId, QStringList *out, QString *error)
{
    out->clear();
    QSqlQuery q(db);
    if (!run(q, QStringLiteral("SELECT Value FROM rcconfig WHERE Key = 'macro' AND ID = ?"), nameSetId, error))
        return false;
    bool found = false;
    if (!CatalogueRead::first(q, &found, error))
        return false;
    if (found)
        *out = MacroBlock::names(q.value(0).toString());
    return true;
}

} // namespace MacroCatalogue
