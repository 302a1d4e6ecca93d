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

} // namespace DamagedCatalogue
