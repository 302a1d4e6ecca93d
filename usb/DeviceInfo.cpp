#include "usb/DeviceInfo.h"

#include <algorithm>

int DeviceInfo::headerPagesToRead() const
{
    return std::clamp(slotCount(), 0, kHeaderPages);
}

QStringList DeviceInfo::problems(Generation generation) const
{
    QStringList out;
    const int p = pageSize();
    if (p == 0)
        out << QStringLiteral("page size 0: the slots cannot be read or written page by page");
    else if (generation == Generation::Remote1 && 1024 % p != 0)
        out << QStringLiteral("page size %1 does not divide the 1024-byte slot halves").arg(p);
    else if (generation == Generation::Remote2 && p % 8 != 0)
        out << QStringLiteral("page size %1 is not a whole number of 8-byte reports").arg(p);
    const int count = slotCount();
    if (count == 0)
        out << QStringLiteral("the remote reports no slots");
    if (generation == Generation::Remote1 && kRemote1RecordOffset + kRemote1RecordBytes * count > kRemote1Bytes)
        out << QStringLiteral("slot count %1: the slot records run past the information block").arg(count);
    if (generation == Generation::Remote2 && kRemote2CapacityOffset + 2 * (count - 1) >= kRemote2PageBytes)
        out << QStringLiteral("slot count %1: the slot capacities run past the information page").arg(count);
    return out;
}

QStringList DeviceInfo::notes(Generation generation) const
{
    QStringList out;
    if (generation == Generation::Remote2 && slotCount() > kHeaderPages)
        out << QStringLiteral("slot count %1 is above the %2 slot header pages; only the first %2 are read")
                   .arg(slotCount())
                   .arg(kHeaderPages);
    return out;
}

void DeviceInfo::storeReport(int *target, int limit, int offset, int r, int n, const HidReport &report, int count)
{
    count = std::min({count, n, HidLimits::kMaxPayload});
    for (int i = 1; i <= count; ++i) {
        const long index = long(offset) + long(r) * n + i - 1;
        if (index < 0 || index >= limit)
            return;
        target[index] = report[static_cast<size_t>(i)];
    }
}

bool DeviceInfo::replacesCustomerId(const QString &stored, const QString &reported)
{
    return !stored.isEmpty() && stored != reported;
}
