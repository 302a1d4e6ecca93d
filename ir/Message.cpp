#include "ir/Message.h"

#include "ir/CaptureStore.h"
#include "ir/LeadInTable.h"

#include <algorithm>
#include <iterator>

namespace {
// Used when no lead-in matches.
constexpr int kDefaultGap = 7000;
} // namespace

Message::~Message() = default;

void Message::matchLeadIn(CaptureStore &store, int mark, int space, int mark2, int gap, float countLimit)
{
    const double r0 = store.captureDurations[0][0];
    const double r1 = store.captureDurations[0][1];
    const double r2 = store.captureDurations[0][2];
    // space is negative, so its window is written the other way round.
    const bool match = 0.9 * mark - 50 < r0 && r0 < 1.1 * mark + 50 && 1.1 * space - 50 < r1 &&
                       r1 < 0.9 * space + 50 && 0.85 * mark2 - 50 < r2 && r2 < 1.15 * mark2 + 50;
    store.leadInMatched = match;
    if (match) {
        store.gapThreshold = gap;
        store.messageLengthLimit = static_cast<int>(countLimit);
    }
}

void Message::selectFrameGap(CaptureStore &store)
{
    for (const LeadIn &row : LeadInTable::rows()) {
        matchLeadIn(store, row.mark, row.space, row.mark2, row.gap, row.countLimit);
        if (store.leadInMatched)
            break;
    }
    if (!store.leadInMatched)
        store.gapThreshold = kDefaultGap;
    store.gapThreshold += 1;
}

void Message::clearCapture(CaptureStore &store)
{
    for (auto &row : store.captureDurations)
        std::fill(std::begin(row), std::end(row), 0);
    ++store.generation;
}

QString Message::invertBits(const QString &bits)
{
    QString inverted;
    inverted.reserve(bits.size());
    for (const QChar c : bits) {
        if (c == QLatin1Char('0'))
            inverted.append(QLatin1Char('1'));
        else if (c == QLatin1Char('1'))
            inverted.append(QLatin1Char('0'));
    }
    return inverted;
}
