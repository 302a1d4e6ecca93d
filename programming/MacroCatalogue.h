#pragma once

#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// What the catalogue knows about macros: the keys a remote type offers for
// macro steps, and the names of a device's macros.
namespace MacroCatalogue {

struct KeyList
{
    QMap<int, QString> names; // key code to name; a nameless key reads " - code - "
    QList<int> order;         // key codes in the catalogue's sort order, repeats kept
};

// The macro keys of a remote type. False with error set when the catalogue
// cannot be read; the list is then empty.
bool keys(QSqlDatabase db, int rcTypeId, KeyList *out, QString *error);

// The macro names of a name set (see MacroBlock::names); none when the
// catalogue has no row for it. False with error set when it cannot be read.
bool macroNames(QSqlDatabase db, int nameSetId, QStringList *out, QString *error);

} // namespace MacroCatalogue
