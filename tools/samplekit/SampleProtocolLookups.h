#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

// Rows of the four protocol look-up tables for the protocol numbers that the
// sample key codes carry (given in a fixed order): one code string per
// protocol in "protocols11", one per slot code of a two-slot remote (0..3) in
// "protocols21" and of a four-slot remote (0..7) in "protocols41", and
// transmit codes in "protocolsirt" for every protocol but the third, so the
// sample shows a protocol without one. The code strings are invented hex
// text, the same on every run.
//
// "usbprotocols" gets the code blobs that slot images carry, for the
// simulated remotes' device ids: the first-generation remote (21) one per
// protocol and slot code 0..15, the second-generation remote (33) one per
// protocol. The second-generation blobs of the first two protocols begin with
// the timing marker 0x7A, so a model's timing correction shows in them.
namespace SampleProtocolLookups {

constexpr int kRemote1DeviceId = 21;
constexpr int kRemote2DeviceId = 33;
constexpr int kRemote1SlotCodes = 16;

bool fill(QSqlDatabase db, const QList<int> &protocols, QString *error = nullptr);

// Whether fill() gives the protocol at this place of its list a transmit
// code, and a second-generation blob with the timing marker.
bool hasTransmitCode(int place);
bool hasTimingMarker(int place);

// The code string stored for a table, protocol and slot code (-1: none).
QString codeString(const QString &table, int protocol, int slotCode);

// The blob stored in "usbprotocols" for a device id, protocol and slot code
// (-1 for the second-generation remote, which has none); timingMarker as
// hasTimingMarker() says for the protocol.
QString usbCode(int deviceId, int protocol, int slotCode, bool timingMarker = false);

} // namespace SampleProtocolLookups
