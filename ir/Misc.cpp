#include "ir/Misc.h"

char Misc::hexDigit(int value)
{
    if (value < 0 || value > 15)
        return '0';
    return "0123456789ABCDEF"[value];
}

int Misc::hexValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}
