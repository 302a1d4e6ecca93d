#pragma once

#include <QSqlDatabase>
#include <QString>

// The infrared frame of a transmitted key as hex text, built from the key's
// stored code and the device's code blob for its protocol. Byte i of the frame
// is byte i of the blob (0x7F beyond its end) with bit 7 set when frame bit i
// is '1'. The frame bits are "0000", the first 112 decoded code bits, then '0'.
// The receiver's report sequence for the frame is built elsewhere (the request
// worker); this is only the text posted with the key press.
namespace TransmitFrame {

constexpr int kFrameBits = 128;
constexpr int kCodeBits = 112;

// "0000" + the first 112 bits of the key code's decoded blocks, '0' up to 128.
QString frameBits(const QString &keyCode);

// Frame length in bytes: the larger of 8 x (the code's byte-count digit, 0
// when it is no digit) and the blob's whole bytes, raised to a multiple of 8.
int frameBytes(const QString &keyCode, const QString &blob);

// The frame text: 2 x frameBytes upper-case hex characters. The blob is
// padded with whole "7F" bytes; the lone last digit of an odd-length blob is
// dropped (and said in `note`, when given) so it never shifts the padding.
QString build(const QString &keyCode, const QString &blob, QString *note = nullptr);

// The device's code blob for the protocol of a key code (its first three
// digits): the code column of the first usbprotocols row of the device and
// protocol, or "FALSE" when there is none or the table cannot be read.
QString codeBlob(QSqlDatabase db, int deviceId, const QString &keyCode);

} // namespace TransmitFrame
