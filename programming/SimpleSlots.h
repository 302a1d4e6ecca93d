#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

// The simple-programming assignments of "prhistory": per remote type one row
// whose hid and RCTypeId are the type id, with the number of simple slots and
// the Rcid assigned to each (empty: none). Rows come with the catalogue; they
// are only read and updated, never added.
class SimpleSlots
{
public:
    static constexpr int Boxes = 4;   // slots the panel and the batch handle
    static constexpr int Columns = 8; // rcid1..rcid8

    struct Row
    {
        bool found = false;
        int maxdevices = 0;
        QStringList rcids; // Columns entries
    };

    // The row of a remote type; found is false when there is none (or the
    // read failed: then *error says why).
    static Row read(QSqlDatabase db, int typeId, QString *error = nullptr);

    // Brand and model of a model; false when it is not in the catalogue.
    static bool names(QSqlDatabase db, const QString &rcid, QString *brand, QString *model);

    // Stores rcid (empty: clears) for slot 0..7 in the type's row. False with
    // *error when the write failed; a type without a row changes nothing.
    static bool assign(QSqlDatabase db, int typeId, int slot, const QString &rcid, QString *error);

    // The four entries of a batch: for the first min(maxdevices, 4) slots
    // "DELETE" when nothing is assigned, else image(slot, rcid); "NONEED" for
    // the others.
    static std::array<QString, Boxes> entries(const Row &row,
                                              const std::function<QString(int slot, const QString &rcid)> &image);
};
