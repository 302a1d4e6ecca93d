#pragma once

#include <QtGlobal>

#include <array>
#include <cstddef>

// One report as it travels on every channel: byte 0 the report id (always 0
// on output), then up to 64 payload bytes. A transfer moves N + 1 bytes, N
// being the payload size of the device (1 to 64).
using HidReport = std::array<quint8, 65>;

namespace HidLimits {
constexpr int kMaxPayload = 64;
constexpr int kReportBuffer = kMaxPayload + 1;
} // namespace HidLimits

// Vendor and product ids of the two devices.
namespace HidIds {
constexpr int kVendor = 0x04B4;
constexpr int kRemote1 = 0xF234; // first-generation programmable remote
constexpr int kRemote2 = 0xF231; // second-generation remote, also the infrared receiver
} // namespace HidIds

// Command bytes (byte 1 of a command report) and their fixed arguments.
namespace HidCommand {
constexpr quint8 kProgrammingMode = 0x03; // argument 0x01 on, 0x00 off; 0x00 on the receiver: key released
constexpr quint8 kModeOn = 0x01;
constexpr quint8 kModeOff = 0x00;
constexpr quint8 kInfoRequest1 = 0x04;   // remote1, first half of the information request
constexpr quint8 kInfoRequest2 = 0x88;   // remote1, second half: 256 bytes follow
constexpr quint8 kWritePage1 = 0x05;     // remote1, page: page-size bytes of data reports follow
constexpr quint8 kReadPage1 = 0x06;      // remote1, page: page-size bytes come back
constexpr quint8 kReadPage2 = 0xA6;      // remote2, page (0x80, 0x81 information; 0.. slot headers)
constexpr quint8 kWritePages2 = 0xA5;    // remote2, slot, page count (0x81: the macro page)
constexpr quint8 kInfoPage = 0x80;       // remote2 information page
constexpr quint8 kMacroPage = 0x81;      // remote2 macro page
constexpr quint8 kReceiveMode = 0x98;    // receiver2, mode byte below
constexpr quint8 kModulated = 0x19;      // 30 kHz to 56 kHz
constexpr quint8 kNonModulated = 0x08;   // non-modulated (ITT)
constexpr quint8 kTransmitFrame = 0x99;  // receiver2, report count: that many 8-byte data reports follow
} // namespace HidCommand

// A command report sets the report id, the command and its arguments; the other
// bytes keep what the previous report left in the buffer.
inline void setCommandReport(HidReport &report, quint8 command)
{
    report[0] = 0;
    report[1] = command;
}

inline void setCommandReport(HidReport &report, quint8 command, quint8 a)
{
    setCommandReport(report, command);
    report[2] = a;
}

inline void setCommandReport(HidReport &report, quint8 command, quint8 a, quint8 b)
{
    setCommandReport(report, command, a);
    report[3] = b;
}
