#pragma once

#include <array>
#include <cstdint>

// The durations carried by one receiver report.
struct ReceiverDurations
{
    std::array<int, 8> values{};
    int count = 0;
};

// The receiver's report payload: eight bytes of duration codes in units of
// 20 us. A byte 0x01..0xFE is one duration; 0xFF is an escape whose next two
// bytes hold the value, high byte first; a value of 0 is no duration (padding).
class ReceiverReport
{
public:
    static constexpr int kPayloadSize = 8;
    static constexpr int kUnitMicroseconds = 20;
    static constexpr std::uint8_t kEscape = 0xFF;

    // Decodes the kPayloadSize bytes at payload (the bytes after the report
    // id) into microseconds. An escape whose value bytes would lie beyond the
    // payload is incomplete and gives no duration.
    static ReceiverDurations decode(const std::uint8_t *payload);
};
