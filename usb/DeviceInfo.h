#pragma once

#include "usb/HidReport.h"

#include <QString>
#include <QStringList>

#include <array>

// The information block of the connected remote, one int (0..255) per device
// byte. First generation: entries 0..255 are its 256-byte answer. Second
// generation: entries 0..127 are information page 0x80 and 256..383 the macro
// page 0x81; 128..255 are not written.
class DeviceInfo
{
public:
    static constexpr int kSize = 384;
    static constexpr int kRemote1Bytes = 256;
    static constexpr int kRemote2PageBytes = 128;
    static constexpr int kMacroPageOffset = 256;
    // Second-generation slot header pages that the program keeps.
    static constexpr int kHeaderPages = 16;
    static constexpr int kHeaderPageBytes = 64;
    // Second-generation slot capacities: entry 33 + 2s, inside page 0x80.
    static constexpr int kRemote2CapacityOffset = 33;
    // First-generation slot records: 16 bytes per slot from entry 32.
    static constexpr int kRemote1RecordOffset = 32;
    static constexpr int kRemote1RecordBytes = 16;

    static constexpr int kCustomerNumberEntry = 11;

    enum class Generation { Remote1, Remote2 };

    std::array<int, kSize> entries{};

    // The entry, or 0 for an index outside the block.
    int at(int index) const { return index >= 0 && index < kSize ? entries[static_cast<size_t>(index)] : 0; }

    int pageSize() const { return at(3); }
    int deviceId() const { return at(7); }
    int remoteTypeId() const { return at(8); }
    int customerNumber() const { return at(kCustomerNumberEntry); }
    bool macroPagePresent() const { return at(29) > 0; }
    int slotCount() const { return at(31); }
    // How many slot header pages a second-generation read fetches: the slot
    // count, bounded by the pages the program keeps.
    int headerPagesToRead() const;

    // Values the rest of the program cannot work with, as log texts. A block
    // with problems is not taken over: it is no use, and most likely not the
    // device's own (noise, or a device that answered something else).
    QStringList problems(Generation generation) const;
    // Values the program works around, as log texts (the block is used).
    QStringList notes(Generation generation) const;

    // Copies payload bytes 1..count of report (count at most n) to
    // target[offset + r * n + i - 1] for i = 1..count; nothing at or past limit
    // is written.
    static void storeReport(int *target, int limit, int offset, int r, int n, const HidReport &report, int count);

    // Whether a remote reporting this customer number replaces the stored one:
    // a differing number replaces a stored one; an empty stored customer
    // number is never replaced.
    static bool replacesCustomerId(const QString &stored, const QString &reported);
};

// The slot headers of a first-generation remote (the first 128 bytes of each
// slot's first half: year, date, brand, type and model), as the connection
// thread's information read and the request worker after each slot write or
// clear last read them from the device. The slot overview shows them without
// reading the device itself.
struct Remote1SlotHeaders
{
    // A slot record block of 256 bytes holds at most 14 records.
    static constexpr int kSlots = (DeviceInfo::kRemote1Bytes - DeviceInfo::kRemote1RecordOffset) /
                                  DeviceInfo::kRemote1RecordBytes;
    static constexpr int kBytes = 128;

    int slotsRead = 0; // slots 0 .. slotsRead - 1 hold their headers; the rest are 0
    std::array<int, kSlots * kBytes> bytes{};

    // Byte b of slot s's header, 0 outside.
    int at(int slot, int byte) const
    {
        return slot >= 0 && slot < slotsRead && byte >= 0 && byte < kBytes ? bytes[size_t(slot * kBytes + byte)] : 0;
    }
};

// The slot header pages of a second-generation remote: byte b of page j at
// index 64 * j + b.
using SlotHeaderPages = std::array<int, DeviceInfo::kHeaderPages * DeviceInfo::kHeaderPageBytes>;
