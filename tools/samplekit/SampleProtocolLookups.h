#pragma once

#include <QSqlDatabase>
#include <QString>

// Rows of the four protocol look-up tables for the sample protocols 001..004:
// one code string per protocol in "protocols11", one per slot code of a
// two-slot remote (0..3) in "protocols21" and of a four-slot remote (0..7) in
// "protocols41", and transmit codes in "protocolsirt" for every protocol but
// 003, so the sample shows a protocol without one. The code strings are
// invented hex text, the same on every run.
//
// "usbprotocols" gets the code blobs that slot images carry, for the
// simulated remotes' device ids: the first-generation remote (21) one per
// protocol and slot code 0..15, the second-generation remote (33) one per
// protocol. The second-generation blobs of protocols 001 and 002 begin with
// the timing marker 0x7A, so a model's timing correction shows in them.
namespace SampleProtocolLookups {

constexpr int kRemote1DeviceId = 21;
constexpr int kRemote2DeviceId = 33;
constexpr int kRemote1SlotCodes = 16;

bool fill(QSqlDatabase db, QString *error = nullptr);

// The code string stored for a table, protocol and slot code (-1: none).
QString codeString(const QString &table, int protocol, int slotCode);

// The blob stored in "usbprotocols" for a device id, protocol and slot code
// (-1 for the second-generation remote, which has none).
QString usbCode(int deviceId, int protocol, int slotCode);

} // namespace SampleProtocolLookups
