#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

// Remote-type conversion: a link master's keys of one remote type copied onto
// another type, each key moved to the key number(s) that the conversion's map
// ("rcconvertmap") gives for it. The conversions themselves are the rows of
// "rcconvert": ConvertId, Description, RCTypeIdFrom, RCTypeIdTo.
class KeyConversion
{
public:
    // The conversions offered for the keys stored under link: those whose
    // source type the master has keys of and whose source and target type are
    // both configured, by source type. Every column of "rcconvert". With no
    // configured type nothing is offered. Executed; check isActive().
    static QSqlQuery offered(const QString &link, const QStringList &configuredTypes,
                             const QSqlDatabase &db = QSqlDatabase::database());

    enum class Status {
        Converted, // the target type now holds the converted keys
        Nothing,   // no conversion chosen: nothing to do
        Refused,   // source and target type are the same: nothing written
        Failed,    // a statement failed: everything rolled back (see error)
    };
    struct Result
    {
        Status status = Status::Failed;
        int keys = 0; // keys the target type holds afterwards
        QString error;
    };

    // A conversion from a type onto itself cannot be carried out: its target
    // keys, deleted first, are its source keys.
    static bool ontoItself(const QVariant &from, const QVariant &to) { return from.toString() == to.toString(); }

    // Replaces every key of type `to` under link by the converted copies of
    // its keys of type `from`: one copy per map row of convertId whose source
    // number is the key's number, keeping name and code. Of two copies for one
    // target number the later one (in the order the join returns them) stays.
    // All in one transaction; refused for a conversion onto itself.
    static Result convert(QSqlDatabase db, const QVariant &link, const QVariant &convertId, const QVariant &from,
                          const QVariant &to);
};
