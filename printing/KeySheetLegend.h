#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

// What the catalogue tells the key sheet: how many keys of a remote type a
// model names, and the legend entries in the order of table rctypeprint for
// one customer. A model's keys are stored under its link master.
class KeySheetLegend
{
public:
    struct Entry
    {
        QString text;   // the key's name, or the star mark of an unnamed key
        int printOrder; // place in the legend; a NULL order reads as 0
    };

    // Keys of the type with a non-empty name; -1 with *error set when the
    // query fails.
    static int namedKeyCount(QSqlDatabase db, const QString &link, const QString &typeId, QString *error = nullptr);

    // The model's keys that have a PrintOrder for the sheet's customer, in the
    // order the database returns them. False with *error set on failure.
    static bool entries(QSqlDatabase db, const QString &link, const QString &typeId, const QString &sheetCustomerId,
                        int namedKeys, QList<Entry> *out, QString *error = nullptr);
};
