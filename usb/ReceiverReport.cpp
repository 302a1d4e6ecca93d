#include "usb/ReceiverReport.h"

ReceiverDurations ReceiverReport::decode(const std::uint8_t *payload)
{
    ReceiverDurations out;
    int pos = 0;
    while (pos < kPayloadSize) {
        int units = payload[pos];
        if (payload[pos] == kEscape) {
            if (pos + 2 >= kPayloadSize)
                break;
            units = (payload[pos + 1] << 8) | payload[pos + 2];
            pos += 3;
        } else {
            pos += 1;
        }
        if (units > 0)
            out.values[static_cast<std::size_t>(out.count++)] = units * kUnitMicroseconds;
    }
    return out;
}
