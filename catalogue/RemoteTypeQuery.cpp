#include "catalogue/RemoteTypeQuery.h"

#include "catalogue/CatalogueRead.h"

#include <QVariant>

namespace {

QString placeholders(int n)
{
    QStringList marks;
    for (int i = 0; i < n; ++i)
        marks << QStringLiteral("?");
    return marks.join(QLatin1Char(','));
}

QSqlQuery prepared(const QString &columns, const QList<int> &ids, bool all, const QSqlDatabase &db)
{
    QSqlQuery query(db);
    QString sql = QStringLiteral("SELECT %1 FROM rctypes").arg(columns);
    if (!all)
        sql += ids.isEmpty() ? QStringLiteral(" WHERE 0") : QStringLiteral(" WHERE RCTypeId IN (%1)").arg(placeholders(ids.size()));
    sql += QStringLiteral(" ORDER BY RCTypeId");
    if (!query.prepare(sql))
        return query;
    for (int id : ids)
        query.addBindValue(id);
    query.exec();
    return query;
}

} // namespace

QList<int> RemoteTypeQuery::numericIds(const QStringList &ids)
{
    QList<int> result;
    for (const QString &text : ids) {
        bool ok = false;
        const int id = text.trimmed().toInt(&ok);
        if (ok)
            result << id;
    }
    return result;
}

QSqlQuery RemoteTypeQuery::selectTypes(const QStringList &ids, const QSqlDatabase &db)
{
    return prepared(QStringLiteral("*"), numericIds(ids), false, db);
}

QStringList RemoteTypeQuery::typeIds(const QStringList &ids, const QSqlDatabase &db)
{
    QSqlQuery query = prepared(QStringLiteral("RCTypeId,RCTypeName"), numericIds(ids), ids.isEmpty(), db);
    QStringList result;
    if (!query.isActive())
        return result;
    // Some of the types would pass for all of them.
    QString error;
    if (!CatalogueRead::each(query, [&](const QSqlQuery &row) { result << row.value(0).toString(); }, &error)) {
        qWarning("RemoteTypeQuery: the remote types could not be read: %s", qPrintable(error));
        return {};
    }
    return result;
}
