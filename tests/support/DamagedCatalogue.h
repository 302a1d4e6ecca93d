#pragma once

#include <QSqlDatabase>
#include <QString>

// A catalogue that SQLite reports malformed part-way through a read: the
// pages that hold a model's keys are written first, then the middle third
// of them is overwritten with random bytes (fixed seed, so every run is
// the same), the way a bad sector or a half-copied file leaves rc.db.
namespace DamagedCatalogue {

enum class Damage { None, Middle };

// Gives link `count` keys of remote type typeId (key numbers 0..111 in turn,
// codes long enough to spread them over many pages); with Damage::Middle it
// then damages the middle third of those pages. db is closed and opened again
// around the damage so no page stays cached. Damage::None makes the same
// catalogue whole, to show a read succeeds there. False, with a warning,
// when a step fails.
bool addKeys(QSqlDatabase db, const QString &link, int typeId, Damage damage, int count = 1500);

// Damages one leaf page of table, the way one bad sector does: leaf counts
// the table's leaf pages in key order from 0 (-1: the last), so that rows
// before it read and the rest fail. db is closed and opened again around the
// damage. False, with a warning, when the table has no such leaf.
bool damageLeaf(QSqlDatabase db, const QString &table, int leaf);

// Damages the leaf page of table (a table with rowids) that holds the row
// rowid, so that a read of that row fails whichever index leads to it.
bool damageRow(QSqlDatabase db, const QString &table, qint64 rowid);

// How many leaf pages table takes (-1 when it cannot be told).
int leafCount(QSqlDatabase db, const QString &table);

} // namespace DamagedCatalogue
