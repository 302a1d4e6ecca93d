#pragma once

#include <QByteArray>
#include <QString>

class QVariant;

// Small pieces shared by the slot image builders: device data travels as
// upper-case hex text, two digits per byte, and texts as Latin-1 bytes.
namespace SlotImageText {

// Latin-1 bytes of a text; a character above U+00FF becomes '?'.
QByteArray latin1(const QString &text);

// A byte 0..255 as two upper-case hex digits.
QString hexByte(int value);

// Every byte of bytes as two upper-case hex digits.
QString hexBytes(const QByteArray &bytes);

// A string of '0'/'1' (length a multiple of 4) as upper-case hex digits.
QString bitsToHex(const QString &bits);

// Whether text is whole bytes of hex digits (either case, even length).
bool isHexBytes(const QString &text);

// Whether id is a stored key code: three protocol digits, one count digit,
// then one or more blocks of 15 upper-case hex digits.
bool isKeyCode(const QString &id);

// A stored key number that is a whole number (integer, or text reading as
// one); false for NULL, fractions and words.
bool keyNumber(const QVariant &nkey, int *number);

} // namespace SlotImageText
