#pragma once

#include "catalogue/KeyPosition.h"

#include <QSqlDatabase>
#include <QString>

#include <array>
#include <bitset>

// The hot-spots of one remote type for one customer, indexed by key number
// 0..127. Entries that the loaded layout does not name are absent: they are
// neither drawn nor hit, so a key of the previous type can never leak into the
// next one.
class KeyPositionTable
{
public:
    static constexpr int Size = 128;
    // Only keys 0..111 are clickable; 112..127 are drawn and marked, never hit.
    static constexpr int HitTestLimit = 112;
    // Half the side of a key's clickable square, in picture units.
    static constexpr int HotSpotReach = 29;

    struct LoadResult
    {
        bool ok = true;     // false: the query failed (error says why)
        int rows = 0;       // rows read
        int ignored = 0;    // rows whose key number lies outside 0..127
        int duplicates = 0; // rows that named a key already set (the later row wins)
        QString error;
    };

    static bool isKeyNumber(int n) { return n >= 0 && n < Size; }
    // Key n of the shift layer is stored as n + this offset.
    static int shiftLayerOffset(int typeId) { return typeId <= 4 ? 56 : 43; }

    void reset();
    // Resets, then fills the entries named by the rctypekeys rows of the type and
    // customer. A type id or customer that is not a number names no rows.
    LoadResult load(QSqlDatabase db, const QString &typeId, const QString &customer);

    // Out-of-range key numbers are ignored (set) or read as absent (the rest).
    bool set(int n, const KeyPosition &position);
    bool contains(int n) const { return isKeyNumber(n) && m_present.test(size_t(n)); }
    KeyPosition at(int n) const { return contains(n) ? m_entries[size_t(n)] : KeyPosition(); }
    int count() const { return int(m_present.count()); }

    // First key 0..111 whose square (reach 29, bounds included) holds the point
    // (ux, uy) in the given layer: shift needs Shift 1, no shift needs Shift 0.
    // -1 when none.
    int hitTest(int ux, int uy, bool shift) const;

    bool operator==(const KeyPositionTable &o) const { return m_present == o.m_present && m_entries == o.m_entries; }

private:
    std::array<KeyPosition, Size> m_entries{};
    std::bitset<Size> m_present;
};
