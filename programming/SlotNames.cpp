#include "programming/SlotNames.h"

#include "usb/DeviceInfo.h"

#include <algorithm>

namespace SlotNames {

QString ordinal(int index)
{
    static const char *const kNames[kOrdinals] = {"1th", "2nd", "3rd", "4th", "5th",
                                                  "6th", "7th", "8th", "9th", "10th"};
    return index >= 0 && index < kOrdinals ? QString::fromLatin1(kNames[index]) : QString();
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
