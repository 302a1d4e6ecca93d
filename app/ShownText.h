#pragma once

#include <QString>

// A text from the catalogue can be megabytes long (an old import, an edited
// rc.db), and Qt lays out all of a text it measures, elides or draws, at
// every paint. One line on the widest screen shows far less: at the smallest
// size a code is drawn in, the narrowest characters take two pixels, so an
// 8K screen holds under 4,000 of them. Lists, labels and tooltips measure and
// show at most kMaxChars of a text.
namespace ShownText {

constexpr int kMaxChars = 4096;

// text when it has at most kMaxChars characters, else its first ones and "…".
QString bounded(const QString &text);

} // namespace ShownText
