// Protocol: frame normalisers, which re-cut a message into one value per cell.
#include "ir/Protocol.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// Index of the row's terminating 0, or -1 when there is none in the row.
int terminatorIndex(const int *row, int rowSize)
{
    const int *end = std::find(row, row + rowSize, 0);
    return end == row + rowSize ? -1 : static_cast<int>(end - row);
}

bool between(std::int64_t value, std::int64_t low, std::int64_t high)
{
    return low < value && value < high;
}

// How many equal parts a duration falls into: 2 near two units, 3 near three
// (the double window is tested first), else 1. marksOnly leaves spaces whole.
int partsOf(int d, int unit, int tol, bool marksOnly)
{
    const std::int64_t m = marksOnly ? std::int64_t(d) : std::llabs(std::int64_t(d));
    const std::int64_t u = unit;
    if (between(m, 2 * u - tol, 2 * u + tol))
        return 2;
    if (between(m, 3 * u - tol, 3 * u + tol))
        return 3;
    return 1;
}

bool split(const int *row, int rowSize, Protocol::CellBuffer &out, int rowStart, int outStart, int unit, int tol,
           bool marksOnly)
{
    std::fill(out, out + Protocol::kSplitArea, 0.0f);
    const int end = terminatorIndex(row, rowSize);
    if (end < 0 || outStart < 0 || outStart >= Protocol::kSplitArea || rowStart < 0)
        return false;
    int k = outStart;
    for (int j = rowStart; j < end; ++j) {
        const int d = row[j];
        const int parts = partsOf(d, unit, tol, marksOnly);
        // Leave room for the terminator inside the split area.
        if (k + parts >= Protocol::kSplitArea)
            return false;
        for (int p = 0; p < parts; ++p)
            out[k++] = static_cast<float>(d / parts);
    }
    // A frame that ends with a mark gets the space of one unit after it.
    if (!marksOnly && k % 2 == 1) {
        if (k + 1 >= Protocol::kSplitArea)
            return false;
        out[k++] = static_cast<float>(-unit);
    }
    out[k] = 0.0f;
    return true;
}

// Float cell value to a duration, truncated toward zero; values beyond an
// int are held at its ends rather than overflowing.
int toDuration(float v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 2147483648.0f)
        return std::numeric_limits<int>::max();
    if (v < -2147483648.0f)
        return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

} // namespace

bool Protocol::splitFrameHalves(const int *row, int rowSize, CellBuffer &out, int rowStart, int outStart, int unit,
                                int tol)
{
    return split(row, rowSize, out, rowStart, outStart, unit, tol, false);
}

bool Protocol::splitMarkHalves(const int *row, int rowSize, CellBuffer &out, int rowStart, int outStart, int unit,
                               int tol)
{
    return split(row, rowSize, out, rowStart, outStart, unit, tol, true);
}

bool Protocol::storeNormalizedFrame(int *row, int rowSize, const float *values, int valuesSize)
{
    const int limit = std::min(rowSize, valuesSize);
    const float *end = std::find(values, values + limit, 0.0f);
    if (end == values + limit)
        return false;
    const int count = static_cast<int>(end - values);
    for (int k = 0; k < count; ++k)
        row[k] = toDuration(values[k]);
    row[count] = 0;
    return true;
}
