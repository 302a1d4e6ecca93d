#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

// The remote types offered in this installation. The configured ids reach SQL
// only as numbers, all of them in one bound value whatever their count; an
// id that is not a number is left out.
class RemoteTypeQuery
{
public:
    // The configured ids that are whole numbers, as integers, in their order.
    static QList<int> numericIds(const QStringList &ids);

    // The configured ids the catalogue knows, each once, in their first
    // order, written as numbers. One read of the catalogue's types, however
    // long the list. False (with *error) when the types cannot be read whole.
    static bool knownIds(const QStringList &ids, QStringList *known, QString *error = nullptr,
                         const QSqlDatabase &db = QSqlDatabase::database());

    // A condition that column is one of a list of ids, for any number of
    // them: put condition(column) in the statement and bind idList(ids) once
    // for each use.
    static QString condition(const QString &column);
    static QString idList(const QList<int> &ids);

    // "SELECT * FROM rctypes" limited to the given ids, ordered by RCTypeId.
    // With no usable id the query selects nothing. Executed; check isActive().
    static QSqlQuery selectTypes(const QStringList &ids, const QSqlDatabase &db = QSqlDatabase::database());

    // RCTypeId of every remote type as text, in id order: all types when ids is
    // empty, else only the listed ones. Empty when the query fails.
    static QStringList typeIds(const QStringList &ids, const QSqlDatabase &db = QSqlDatabase::database());
};
