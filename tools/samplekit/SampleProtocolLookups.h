#pragma once

#include <QSqlDatabase>
#include <QString>

// Rows of the four protocol look-up tables for the sample protocols 001..004:
// one code string per protocol in "protocols11", one per slot code of a
// two-slot remote (0..3) in "protocols21" and of a four-slot remote (0..7) in
// "protocols41", and transmit codes in "protocolsirt" for every protocol but
// 003, so the sample shows a protocol without one. The code strings are
// invented hex text, the same on every run.
namespace SampleProtocolLookups {

bool fill(QSqlDatabase db, QString *error = nullptr);

// The code string stored for a table, protocol and slot code (-1: none).
QString codeString(const QString &table, int protocol, int slotCode);

} // namespace SampleProtocolLookups
