#pragma once

#include "usb/DeviceInfo.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <array>

// One step of a macro: which of the first three slots the key comes from,
// the key, how long it is sent and the pause after it.
struct MacroStep
{
    int switchCode = 0;
    int keyCode = 0;
    int emitMs = 0;
    int waitMs = 0;

    bool operator==(const MacroStep &o) const
    {
        return switchCode == o.switchCode && keyCode == o.keyCode && emitMs == o.emitMs && waitMs == o.waitMs;
    }
};

// A macro of the remote: its number 1..8, the key code of its macro key (128
// or more while the macro exists) and its steps.
struct MacroRecord
{
    int number = 0;
    int keyCode = 0;
    QList<MacroStep> steps;
};

// The remote2 macro page: all macros in one 128-byte page. A record per macro
// (length byte L = 4n + 3, 0x07, key code - 128, n steps of switch, key, emit
// / 16 ms, wait / 16 ms, 0xFF), then one 0xFF, then 0xFF padding. The program
// keeps the page in the information block's entries 256..383 and sends it as
// 256 hexadecimal characters.
namespace MacroBlock {

constexpr int kBytes = 128;
constexpr int kTextLength = 2 * kBytes;
constexpr int kMacroCount = 8;
constexpr int kKeyCodeEntry = 47;  // entry 47 + m: key code of macro m
constexpr int kPresent = 128;      // a key code from here on: the macro exists
constexpr int kTimeUnitMs = 16;
constexpr int kSwitchCount = 3;

using Bytes = std::array<int, kBytes>;

// The page as the information block holds it.
Bytes bytesOf(const DeviceInfo &info);
// Key code of macro number (1..8); 0 for another number.
int keyCodeOf(const DeviceInfo &info, int number);
// Identifier of the device's set of macro names in the catalogue.
int nameSetId(const DeviceInfo &info);

// The steps of the macro with this key code. Reading never leaves the page: a
// record whose head or a step whose four bytes would reach past the last byte
// ends the reading there, so a damaged page gives a shorter macro.
QList<MacroStep> steps(const Bytes &block, int keyCode);
// The macros the device marks present, in number order, with their steps.
QList<MacroRecord> read(const DeviceInfo &info);

// The records and the end byte as upper-case hexadecimal text, not padded. A
// text longer than kTextLength does not fit the page.
QString encode(const QList<MacroRecord> &macros);
inline bool fits(const QString &text) { return text.size() <= kTextLength; }
// The text completed with "F" to a whole page.
QString padded(const QString &text);

// Macro names from the catalogue's value: each name is closed by ";"; reading
// stops at an empty name, at a name without its ";", and after eight names.
QStringList names(const QString &value);

// Names of switches 0, 1 and 2: the caption of device slot i when the device
// has that slot and the slot has a caption, else the slot's ordinal label.
QMap<int, QString> switchNames(int slotCount, const QStringList &captions);

} // namespace MacroBlock
