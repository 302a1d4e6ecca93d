#include "ir/Misc.h"

char Misc::hexDigit(int value)
{
    if (value < 0 || value > 15)
        return '0';
    return "0123456789ABCDEF"[value];
}
