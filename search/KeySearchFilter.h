#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The key search: which catalogue models carry given key codes. The user
// fills up to 22 search rows; rows 1 to 20 stand for named key positions that
// every remote type maps to its own key number ("rctypesearch"), the last two
// rows match any key. The result is the WHERE text of the "rcmodels" table
// model, so its literals are quoted by the model filter's rule.
class KeySearchFilter
{
public:
    static constexpr int kPositionRows = 20; // rows 1..20: search positions 1..20
    static constexpr int kRows = 22;         // then X1 and X2: any key

    // Search position of a type, "RCTypeId_SearchOrder" -> Nkey, as the
    // catalogue gives them as text. Of two rows for one position, the later wins.
    using PositionMap = QHash<QString, QString>;

    // Reads "rctypesearch". On failure, also one part-way through the rows,
    // the map is empty and error is set.
    static PositionMap readPositions(QSqlDatabase db, QString *error = nullptr);

    // The shift layer of key n of a type is key n + this offset: 56 for type
    // ids up to 4 (a text that is not a number counts as 0), else 43.
    static int shiftOffset(const QString &typeId);

    // The conditions for rows (kRows texts, row 1 first; an empty text is a row
    // not in use) over the listed types. A model is listed when, for one of
    // the types, each row that applies to it is matched by one of the model's
    // keys of that type carrying the row's code (exactly): on the position's
    // key number or its shift twin for rows 1 to 20, on any key for X1 and X2.
    // Keys are stored under link masters, so only masters are listed. A
    // position whose key number is missing, -1 or not a whole number does not
    // apply to that type; with nothing that applies the text is "(0)".
    static QString conditions(const QStringList &rows, const QStringList &typeIds, const PositionMap &positions);
    // The same, ordered by brand and model.
    static QString filter(const QStringList &rows, const QStringList &typeIds, const PositionMap &positions);
};
