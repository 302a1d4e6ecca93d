#pragma once

#include <QChar>

class Misc
{
public:
    // 0..15 -> '0'..'9', 'A'..'F'; anything else -> '0'.
    static char hexDigit(int value);
    // '0'..'9', 'A'..'F', 'a'..'f' -> 0..15; anything else -> -1.
    static int hexValue(QChar c);
};
