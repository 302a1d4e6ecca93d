#pragma once

class Misc
{
public:
    // 0..15 -> '0'..'9', 'A'..'F'; anything else -> '0'.
    static char hexDigit(int value);
};
