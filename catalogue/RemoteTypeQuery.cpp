#include "catalogue/RemoteTypeQuery.h"

#include "catalogue/CatalogueRead.h"

#include <QSet>
#include <QVariant>

namespace {

QSqlQuery prepared(const QString &columns, const QList<int> &ids, bool all, const QSqlDatabase &db)
{
    QSqlQuery query(db);
    QString sql = QStringLiteral("SELECT %1 FROM rctypes").arg(columns);
    if (!all)
        sql += ids.isEmpty() ? QStringLiteral(" WHERE 0")
                             : QStringLiteral(" WHERE ") + RemoteTypeQuery::condition(QStringLiteral("RCTypeId"));
    sql += QStringLiteral(" ORDER BY RCTypeId");
    if (!query.prepare(sql))
        return query;
    if (!all && !ids.isEmpty())
        query.addBindValue(RemoteTypeQuery::idList(ids));
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

bool RemoteTypeQuery::knownIds(const QStringList &ids, QStringList *known, QString *error, const QSqlDatabase &db)
{
    known->clear();
    QSet<int> catalogue;
    QSqlQuery query(db);
    query.exec(QStringLiteral("SELECT RCTypeId FROM rctypes"));
    const bool read = CatalogueRead::each(query, [&](const QSqlQuery &row) {
        bool ok = false;
        const int id = row.value(0).toInt(&ok);
        if (ok)
            catalogue.insert(id);
    }, error);
    if (!read)
        return false;
    // Each id is looked up once in a set: the list's length costs linear time.
    QSet<int> taken;
    for (int id : numericIds(ids)) {
        if (catalogue.contains(id) && !taken.contains(id)) {
            taken.insert(id);
            known->append(QString::number(id));
        }
    }
    return true;
}

QString RemoteTypeQuery::condition(const QString &column)
{
    // The ids travel as one JSON array: a bound value per id would cost a
    // placeholder each and meet SQLite's limit on parameters per statement.
    return QStringLiteral("(%1 IN (SELECT value FROM json_each(?)))").arg(column);
}

QString RemoteTypeQuery::idList(const QList<int> &ids)
{
    QString text = QStringLiteral("[");
    for (qsizetype i = 0; i < ids.size(); ++i) {
        if (i > 0)
            text += QLatin1Char(',');
        text += QString::number(ids.at(i));
    }
    text += QLatin1Char(']');
    return text;
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
