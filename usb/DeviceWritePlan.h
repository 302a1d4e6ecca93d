#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The pure part of the request worker: payload texts turned into bytes, and
// the report sequences of the slot, macro and infrared requests, computed in
// full before anything is sent. A plan that cannot be carried out soundly is
// refused with a reason and sends nothing.
namespace DeviceWritePlan {

// Byte `index` of a hex payload: the two characters at position 2 * index read
// as a base-16 number; a pair that is not one, a position at or past the end,
// and a last character without its partner give 0.
quint8 hexByte(const QString &text, int index);
// `count` bytes of the payload from byte `first` on.
QByteArray hexBytes(const QString &text, int first, int count);
// Why a payload is no image: an odd length or a character that is not a hex
// digit (empty when it is one).
QString hexProblem(const QString &text);

struct Step
{
    enum Kind {
        Command, // a command report: bytes = command and arguments
        Data,    // a data report: bytes = its N payload bytes
        Read,    // count input reports read from the device (their payload is not used)
        Sleep,   // count milliseconds
    };
    Kind kind = Command;
    QByteArray bytes;
    int count = 0;

    bool operator==(const Step &o) const { return kind == o.kind && bytes == o.bytes && count == o.count; }
};

struct Plan
{
    QList<Step> steps;
    QString refusal; // why nothing may be sent; empty for a plan to carry out

    bool refused() const { return !refusal.isEmpty(); }
};

// Most reports or pages a count byte announces. A write whose count would be
// cut is refused: the device would take the reports after the count for
// commands.
constexpr int kMaxCount = 255;
// Bytes of frame each data report of a transmit frame carries.
constexpr int kFrameReportBytes = 8;

// The infrared frame of a key press for the receiver: {0x99, count} and count
// data reports of 8 bytes, count = (length / 2) / 8; in the first report a
// second byte of 0x00-0x03 or 0x81-0x83 is raised by 4 when the first byte is
// 0x7A or 0xFA. Refused for more than kMaxCount reports.
Plan transmitFrame(const QString &frame);
// Data reports of a frame of frameBytes bytes.
constexpr qsizetype frameReports(qsizetype frameBytes) { return frameBytes / kFrameReportBytes; }

// First-generation slot write: programming mode on, each half as pages of P
// bytes sent from its first page on (page numbers wrap at 255), programming
// mode off. Refused for a page size outside 1..128 or not dividing the
// 1024-byte halves, a report size not dividing P, an image that is no hex
// text, is empty or is longer than the 4096 characters of a slot.
Plan remote1SlotWrite(int pageSize, int reportSize, int firstHalfPage, int secondHalfPage, const QString &image);
// First-generation slot clear: the slot's first page read, then written with
// zeros.
Plan remote1SlotClear(int pageSize, int reportSize, int firstHalfPage, int clearSleepMs);

// Second-generation page write of a slot image (before the reconnect): the
// image padded with '0' to whole pages of P bytes, {0xA5, slot, pages}, the
// pages with a pause after each. Refused for a report size other than 8, a
// page size that is 0 or not a multiple of it, an image that is no hex text,
// is empty, does not fit capacity (in 64-byte units) or takes more than
// kMaxCount pages.
Plan remote2SlotWrite(int pageSize, int reportSize, int slot, int capacity, const QString &image, int pageSleepMs);
// Second-generation macro page write (before the reconnect): {0xA5, 0x81},
// two groups of 8 data reports with a pause after each. Refused for a block
// of more than 256 characters, no hex text, or a report size other than 8.
Plan remote2MacroWrite(int reportSize, const QString &block, int pageSleepMs);

} // namespace DeviceWritePlan
