#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

// The remote types offered in this installation. The configured ids reach SQL
// only as bound integers; an id that is not a number is left out.
class RemoteTypeQuery
{
public:
    // The configured ids that are whole numbers, as integers, in their order.
    static QList<int> numericIds(const QStringList &ids);

    // "SELECT * FROM rctypes" limited to the given ids, ordered by RCTypeId.
    // With no usable id the query selects nothing. Executed; check isActive().
    static QSqlQuery selectTypes(const QStringList &ids, const QSqlDatabase &db = QSqlDatabase::database());

    // RCTypeId of every remote type as text, in id order: all types when ids is
    // empty, else only the listed ones. Empty when the query fails.
    static QStringList typeIds(const QStringList &ids, const QSqlDatabase &db = QSqlDatabase::database());
};
