#pragma once

#include <QSqlDatabase>
#include <QString>

// The catalogue rows of the macro editor: per remote type the keys a macro
// step can send, and the macro names of the simulated remote2's name set.
namespace SampleMacros {

// Name set of the simulated remote2 (information bytes 27 and 28).
constexpr int kNameSetId = 5 * 256 + 0;
// Keys offered per remote type: the first ones of the type.
constexpr int kKeysPerType = 24;

bool fill(QSqlDatabase db, QString *error);

} // namespace SampleMacros
