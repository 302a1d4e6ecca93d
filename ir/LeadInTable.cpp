#include "ir/LeadInTable.h"

namespace {
constexpr float kNoCountLimit = LeadInTable::kNoCountLimit;

// mark, space, mark2, gap, count limit; the trailing number is the row's
// position, 1-based.
const std::array<LeadIn, LeadInTable::kRowCount> kRows = {{
    {9000, -4500, 560, 10000, kNoCountLimit}, // 1
    {8600, -4100, 640, 10000, kNoCountLimit}, // 2
    {500, -2500, 500, 5000, kNoCountLimit}, // 3
    {3400, -3400, 840, 5000, kNoCountLimit}, // 4
    {150, -6000, 150, 10000, kNoCountLimit}, // 5
    {800, -2950, 1400, 10000, kNoCountLimit}, // 6
    {8400, -4200, 550, 10000, kNoCountLimit}, // 7
    {555, -1600, 555, 5000, kNoCountLimit}, // 8
    {555, -500, 555, 5000, kNoCountLimit}, // 9
    {188, -520, 188, 5000, kNoCountLimit}, // 10
    {421, -580, 421, 5000, kNoCountLimit}, // 11
    {260, -2100, 260, 5000, kNoCountLimit}, // 12
    {260, -900, 260, 5000, kNoCountLimit}, // 13
    {3500, -1750, 420, 5000, kNoCountLimit}, // 14
    {3600, -3600, 895, 5000, kNoCountLimit}, // 15
    {889, -889, 1778, 10000, kNoCountLimit}, // 16
    {889, -889, 889, 10000, kNoCountLimit}, // 17
    {730, -730, 730, 5000, kNoCountLimit}, // 18
    {730, -730, 1550, 5000, kNoCountLimit}, // 19
    {2666, -889, 444, 5000, kNoCountLimit}, // 20
    {4000, -4000, 500, 5000, kNoCountLimit}, // 21
    {4500, -4500, 550, 10000, kNoCountLimit}, // 22
    {180, -7400, 180, 10000, kNoCountLimit}, // 23
    {180, -7800, 180, 10000, kNoCountLimit}, // 24
    {180, -8200, 180, 10000, kNoCountLimit}, // 25
    {632, -3200, 632, 10000, kNoCountLimit}, // 26
    {158, -7000, 158, 10000, kNoCountLimit}, // 27
    {158, -7500, 158, 10000, kNoCountLimit}, // 28
    {158, -4900, 158, 10000, kNoCountLimit}, // 29
    {250, -7500, 200, 10000, kNoCountLimit}, // 30
    {250, -4900, 200, 10000, kNoCountLimit}, // 31
    {158, -5200, 158, 10000, kNoCountLimit}, // 32
    {525, -3625, 525, 5000, kNoCountLimit}, // 33
    {525, -1550, 525, 5000, kNoCountLimit}, // 34
    {263, -1850, 263, 5000, kNoCountLimit}, // 35
    {263, -790, 263, 5000, kNoCountLimit}, // 36
    {200, -780, 200, 5000, kNoCountLimit}, // 37
    {200, -140, 200, 5000, kNoCountLimit}, // 38
    {368, -824, 368, 3000, kNoCountLimit}, // 39
    {368, -2475, 368, 3000, kNoCountLimit}, // 40
    {290, -1800, 290, 5000, kNoCountLimit}, // 41
    {290, -760, 290, 5000, kNoCountLimit}, // 42
    {500, -1500, 500, 5000, kNoCountLimit}, // 43
    {500, -500, 500, 5000, kNoCountLimit}, // 44
    {2400, -600, 600, 5000, kNoCountLimit}, // 45
    {2400, -600, 1200, 5000, kNoCountLimit}, // 46
    {500, -4500, 500, 5000, kNoCountLimit}, // 47
    {500, -2000, 500, 10000, kNoCountLimit}, // 48
    {8000, -4000, 500, 1000000000, 37.5f}, // 49
    {727, -2800, 727, 10000, kNoCountLimit}, // 50
    {889, -6300, 889, 10000, kNoCountLimit}, // 51
    {889, -2750, 889, 10000, kNoCountLimit}, // 52
    {421, -2100, 421, 5000, kNoCountLimit}, // 53
    {3380, -3380, 857, 10000, kNoCountLimit}, // 54
    {18000, -9000, 1130, 25000, kNoCountLimit}, // 55
    {333, -2100, 333, 5000, kNoCountLimit}, // 56
    {333, -900, 333, 5000, kNoCountLimit}, // 57
    {263, -1830, 263, 5000, kNoCountLimit}, // 58
    {263, -800, 263, 5000, kNoCountLimit}, // 59
    {4050, -2050, 1500, 10000, kNoCountLimit}, // 60
    {4050, -2050, 500, 10000, kNoCountLimit}, // 61
    {1260, -421, 1260, 5000, kNoCountLimit}, // 62
    {1260, -421, 421, 5000, kNoCountLimit}, // 63
    {421, -1260, 1260, 5000, kNoCountLimit}, // 64
    {421, -1260, 421, 5000, kNoCountLimit}, // 65
    {500, -5100, 500, 10000, kNoCountLimit}, // 66
    {321, -2050, 321, 5000, kNoCountLimit}, // 67
    {321, -880, 321, 5000, kNoCountLimit}, // 68
    {4900, -5000, 579, 10000, kNoCountLimit}, // 69
    {470, -11400, 470, 20000, kNoCountLimit}, // 70
    {470, -7400, 470, 20000, kNoCountLimit}, // 71
    {450, -9300, 450, 1000000000, 22.0f}, // 72
    {8350, -1650, 1650, 1000000000, 5.5f}, // 73
    {470, -8150, 470, 15000, kNoCountLimit}, // 74
    {470, -5250, 470, 15000, kNoCountLimit}, // 75
    {287, -8250, 287, 15000, kNoCountLimit}, // 76
    {287, -5420, 287, 15000, kNoCountLimit}, // 77
    {397, -6350, 397, 1000000000, 34.0f}, // 78
    {2600, -1900, 600, 4000, kNoCountLimit}, // 79
    {1600, -6700, 830, 10000, kNoCountLimit}, // 80
    {217, -2913, 217, 20000, kNoCountLimit}, // 81
    {1650, -1650, 1650, 15000, kNoCountLimit}, // 82
    {1650, -1650, 3300, 15000, kNoCountLimit}, // 83
    {1650, -1650, 4950, 15000, kNoCountLimit}, // 84
    {1650, -1650, 6600, 15000, kNoCountLimit}, // 85
    {1650, -1650, 8250, 15000, kNoCountLimit}, // 86
    {1650, -1650, 9900, 15000, kNoCountLimit}, // 87
    {10, -390, 10, 5000, kNoCountLimit}, // 88
    {10, -3800, 10, 10000, kNoCountLimit}, // 89
    {10, -28000, 10, 1000000000, 12.0f}, // 90
    {10, -300, 10, 3000, kNoCountLimit}, // 91
    {10, -7600, 10, 10000, kNoCountLimit}, // 92
    {10, -5100, 10, 10000, kNoCountLimit}, // 93
    {10, -8500, 10, 10000, kNoCountLimit}, // 94
    {10, -5700, 10, 10000, kNoCountLimit}, // 95
    {10, -15700, 10, 1000000000, 12.0f}, // 96
    {10, -12150, 10, 1000000000, 12.0f}, // 97
    {10, -630, 10, 10000, kNoCountLimit}, // 98
    {10, -490, 10, 10000, kNoCountLimit}, // 99
    {10, -23500, 10, 1000000000, 12.0f}, // 100
    {10, -5900, 10, 10000, kNoCountLimit}, // 101
    {10, -3900, 10, 10000, kNoCountLimit}, // 102
    {10, -8600, 10, 10000, kNoCountLimit}, // 103
    {10, -10300, 12, 1000000000, 12.0f}, // 104
    {40, -3000, 40, 5000, kNoCountLimit}, // 105
    {25, -3000, 25, 1000000000, 43.5f}, // 106
    {40, -2400, 40, 1000000000, 97.5f}, // 107
    {45, -79, 45, 10000, kNoCountLimit}, // 108
}};
} // namespace

const std::array<LeadIn, LeadInTable::kRowCount> &LeadInTable::rows()
{
    return kRows;
}
