#include "catalogue/ColumnWidths.h"

#include <algorithm>

ColumnWidths::Names ColumnWidths::modelList(int w, int sb)
{
    const int type = std::max(0, std::min(w / 4, 120));
    return {type, std::max(0, (w - sb - type - 5) / 2)};
}

ColumnWidths::Keys ColumnWidths::keyList(int w, int sb, int h)
{
    if (h <= 0)
        h = 30;
    const int room = w - sb - h - 5;
    const int id = std::max(0, std::min(room / 2, 220));
    return {id, std::max(0, room - id)};
}

ColumnWidths::Keys ColumnWidths::widenForCodes(Keys widths, int codeNeeds, int nameNeeds)
{
    if (codeNeeds <= widths.id)
        return widths;
    const int room = widths.id + widths.name;
    const int namesKeep = std::min(nameNeeds, room / 4);
    const int id = std::max(widths.id, std::min(codeNeeds, room - namesKeep));
    return {id, room - id};
}

int ColumnWidths::typeList(int w, int sb)
{
    return std::max(0, w - sb);
}
