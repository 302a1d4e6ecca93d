// Protocol: the hand-coded duration-class stages tried after the last
// modulated candidate.
#include "ir/Protocol.h"

#include <algorithm>
#include <cstdint>

namespace {

// ---- stages 1 and 2: run-length codes. A mark of n units (n = 1..6) gives
// n ones, a space of n units (n = 1..5) n zeros, each within +-299 us; the
// first ten durations must give 1 to 8 digits.
struct RunLengthCode
{
    int recognizerId;
    int unit;
    int span;
};
constexpr RunLengthCode kRunLength1640 = {635, 1640, 14000};
constexpr RunLengthCode kRunLength1110 = {634, 1110, 10000};
constexpr int kRunLengthTol = 299;
constexpr int kRunLengthMaxMarkUnits = 6;
constexpr int kRunLengthMaxSpaceUnits = 5;
constexpr int kRunLengthDurations = 10;
constexpr int kRunLengthBits = 8;

// Units of d, or 0 when d lies in no class (ranges inclusive).
int runLengthUnits(int d, int unit)
{
    const std::int64_t m = std::llabs(std::int64_t(d));
    const int maxUnits = d > 0 ? kRunLengthMaxMarkUnits : kRunLengthMaxSpaceUnits;
    for (int n = 1; n <= maxUnits; ++n) {
        const std::int64_t nominal = std::int64_t(n) * unit;
        if (nominal - kRunLengthTol <= m && m <= nominal + kRunLengthTol)
            return n;
    }
    return 0;
}

bool runLengthStage(const RunLengthCode &code, const int *row, int rowSize, FrameResult &result, int &slot)
{
    QString bits;
    const int durations = std::min(rowSize, kRunLengthDurations);
    for (int j = 0; j < durations && row[j] != 0; ++j) {
        const int units = runLengthUnits(row[j], code.unit);
        if (units == 0) {
            bits.clear();
            break;
        }
        bits.append(QString(units, row[j] > 0 ? QLatin1Char('1') : QLatin1Char('0')));
    }
    if (bits.isEmpty() || bits.size() > kRunLengthBits)
        return false;
    bits.append(QString(kRunLengthBits, QLatin1Char('0')));
    slot = code.recognizerId;
    result.labelPattern = QStringLiteral("CcCcCcCc");
    result.addressText.clear();
    result.commandText = bits.left(kRunLengthBits);
    result.span = code.span;
    return true;
}

// ---- stage 3: four-cell position code. Durations are cut into ~320 us
// cells; after a header of seven cells every group of four holds one mark
// cell whose position gives two bits.
struct CellClass
{
    int low; // inclusive
    int high;
    int cells;
};
constexpr CellClass kCellClasses[] = {
    {491, 789, 2},     // mark of two cells (640 +- 149)
    {811, 1109, 3},    // mark of three cells (960 +- 149)
    {-789, -491, 2},   // space of two cells
    {-1109, -811, 3},  // space of three cells
    {-1429, -1131, 4}, // space of four cells
    {-1749, -1451, 5}, // space of five cells
    {-2069, -1771, 6}, // space of six cells
};
constexpr int kPositionRecognizerId = 548;
constexpr int kPositionGroups = 16;
constexpr int kPositionHeaderCells = 7;
// Cells 0..70 are read; 68..70 are preset to space cells so that a frame
// that ends with the mark of its last group still has that group's spaces.
constexpr int kPositionCells = kPositionHeaderCells + 4 * kPositionGroups;
constexpr int kPresetFirst = 68;
constexpr float kPresetSpace = -320.0f;
constexpr int kPositionSpan = 30000;

int cellsOf(int d)
{
    for (const CellClass &c : kCellClasses) {
        if (c.low <= d && d <= c.high)
            return c.cells;
    }
    return 1;
}

bool isMarkCell(float v)
{
    return 170.0f < v && v < 470.0f;
}

bool isSpaceCell(float v)
{
    return -470.0f < v && v < -170.0f;
}

// ---- stage 4: unit-count code. A 2-unit mark and an 8-unit space of 831 us
// units, then the whole message in units: exactly 29 of them.
constexpr int kUnitRecognizerId = 97;
constexpr int kUnit = 831;
constexpr int kUnitRounding = 200;
constexpr int kUnitCount = 29;
constexpr int kUnitMaxDurations = 29;
constexpr int kUnitSpan = 30000;

} // namespace

bool Protocol::runLength1640Stage(const int *row, int rowSize, FrameResult &result, int &slot)
{
    return runLengthStage(kRunLength1640, row, rowSize, result, slot);
}

bool Protocol::runLength1110Stage(const int *row, int rowSize, FrameResult &result, int &slot)
{
    return runLengthStage(kRunLength1110, row, rowSize, result, slot);
}

bool Protocol::positionCodeStage(int *row, int rowSize, CellBuffer &cells, FrameResult &result, int &slot)
{
    // Cleared first, so that no cell left by an earlier candidate is read as
    // part of this message.
    std::fill(std::begin(cells), std::end(cells), 0.0f);
    std::fill(cells + kPresetFirst, cells + kPositionCells, kPresetSpace);
    cells[kPositionCells] = 0.0f;

    // Nothing past cell 70 is read, so the cut stops there.
    int k = 0;
    for (int j = 0; j < rowSize && row[j] != 0 && k <= kPositionCells; ++j) {
        const int n = cellsOf(row[j]);
        for (int c = 0; c < n && k < kCellBufferSize; ++c)
            cells[k++] = static_cast<float>(row[j] / n);
    }

    static constexpr bool kHeaderIsMark[kPositionHeaderCells] = {true, true, true, false, false, false, true};
    for (int c = 0; c < kPositionHeaderCells; ++c) {
        if (kHeaderIsMark[c] ? !isMarkCell(cells[c]) : !isSpaceCell(cells[c]))
            return false;
    }

    static const char *const kPositionBits[] = {"00", "01", "10", "11"};
    QString bits;
    for (int g = 0; g < kPositionGroups; ++g) {
        const int first = kPositionHeaderCells + 4 * g;
        int marks = 0;
        int spaces = 0;
        int markAt = 0;
        for (int c = 0; c < 4; ++c) {
            if (isMarkCell(cells[first + c])) {
                ++marks;
                markAt = c;
            } else if (isSpaceCell(cells[first + c])) {
                ++spaces;
            }
        }
        if (marks != 1 || spaces != 3)
            return false;
        bits.append(QLatin1String(kPositionBits[markAt]));
    }

    // The row becomes one entry per cell, letter for letter with the
    // pattern, and always ends with its 0.
    cells[kPositionCells] = 0.0f;
    if (!storeNormalizedFrame(row, rowSize, cells, kPositionCells + 1))
        return false;
    slot = kPositionRecognizerId;
    result.labelPattern = QStringLiteral("HHHHHHH");
    for (int g = 0; g < kPositionGroups; ++g)
        result.labelPattern.append(g % 2 == 0 ? QLatin1String("CCCC") : QLatin1String("cccc"));
    result.addressText.clear();
    result.commandText = bits;
    result.span = kPositionSpan;
    return true;
}

bool Protocol::unitCountStage(int *row, int rowSize, CellBuffer &cells, FrameResult &result, int &slot)
{
    const int *end = std::find(row, row + rowSize, 0);
    const int durations = static_cast<int>(end - row);
    if (end == row + rowSize || durations > kUnitMaxDurations || durations < 2)
        return false;
    if (!(1563 <= row[0] && row[0] <= 1761 && -6799 <= row[1] && row[1] <= -6501))
        return false;

    QString bits;
    int k = 0;
    for (int j = 0; j < durations; ++j) {
        const int d = row[j];
        const std::int64_t units = (std::llabs(std::int64_t(d)) + kUnitRounding) / kUnit;
        // More units than the code has can never end at exactly 29.
        if (k + units > kUnitCount)
            return false;
        for (std::int64_t u = 0; u < units; ++u) {
            bits.append(d > 0 ? QLatin1Char('1') : QLatin1Char('0'));
            cells[k++] = static_cast<float>(d / units);
        }
    }
    if (k != kUnitCount)
        return false;

    cells[kUnitCount] = 0.0f;
    if (!storeNormalizedFrame(row, rowSize, cells, kUnitCount + 1))
        return false;
    slot = kUnitRecognizerId;
    result.labelPattern.clear();
    for (int c = 0; c < kUnitCount; ++c)
        result.labelPattern.append(c % 2 == 0 ? QLatin1Char('C') : QLatin1Char('c'));
    result.addressText.clear();
    result.commandText = bits;
    result.span = kUnitSpan;
    return true;
}

void Protocol::runStages(int *row, int rowSize, CellBuffer &cells, FrameResult &result, int &slot)
{
    if (runLength1640Stage(row, rowSize, result, slot) || runLength1110Stage(row, rowSize, result, slot) ||
        positionCodeStage(row, rowSize, cells, result, slot) || unitCountStage(row, rowSize, cells, result, slot))
        return;
    result = FrameResult();
    result.span = kNoMatchSpan;
}
