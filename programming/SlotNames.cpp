#include "programming/SlotNames.h"

#include "usb/DeviceInfo.h"

#include <QCoreApplication>

#include <algorithm>

namespace SlotNames {

QString ordinal(int index)
{
    static const char *const kNames[kOrdinals] = {
        QT_TRANSLATE_NOOP("SlotNames", "1th"), QT_TRANSLATE_NOOP("SlotNames", "2nd"),
        QT_TRANSLATE_NOOP("SlotNames", "3rd"), QT_TRANSLATE_NOOP("SlotNames", "4th"),
        QT_TRANSLATE_NOOP("SlotNames", "5th"), QT_TRANSLATE_NOOP("SlotNames", "6th"),
        QT_TRANSLATE_NOOP("SlotNames", "7th"), QT_TRANSLATE_NOOP("SlotNames", "8th"),
        QT_TRANSLATE_NOOP("SlotNames", "9th"), QT_TRANSLATE_NOOP("SlotNames", "10th")};
    // Translated each time, so a language switch reaches the next overview.
    return index >= 0 && index < kOrdinals ? QCoreApplication::translate("SlotNames", kNames[index]) : QString();
}

QString remote2Caption(const int *page)
{
    constexpr int kLength = 6;
    constexpr int kText = 7;
    const int length = std::min(page[kLength] & 0xFF, DeviceInfo::kHeaderPageBytes - kText);
    QString out;
    for (int i = 0; i < length; ++i) {
        const int c = page[kText + i] & 0xFF;
        if (c == 0)
            break;
        out.append(QChar(c));
    }
    return out;
}

} // namespace SlotNames
