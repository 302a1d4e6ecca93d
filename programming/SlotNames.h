#pragma once

#include <QString>

// Names of a remote's slots as the program shows them.
namespace SlotNames {

constexpr int kOrdinals = 10;

// The default name of slot index (0-based): "1th", "2nd", "3rd", "4th" ...
// "10th", spelled so, in the language in force; empty outside 0..9.
QString ordinal(int index);

// The caption of a remote2 slot header page (64 entries, one byte each): the
// length at byte 6 and the text from byte 7, ended early by a zero byte. The
// used flag at byte 0 does not matter: a cleared slot keeps its caption.
QString remote2Caption(const int *page);

} // namespace SlotNames
