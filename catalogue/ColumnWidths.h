#pragma once

// Column widths of the catalogue lists for a view of width w whose vertical
// scroll bar is sb wide (and, for the key list, whose row header is h wide).
// Integer division truncates; no width is below zero.
class ColumnWidths
{
public:
    struct Names
    {
        int type; // device type column: a quarter of the width, at most 120
        int side; // brand and model columns share the rest
    };
    static Names modelList(int w, int sb);

    struct Keys
    {
        int id;   // code column: half of the room, at most 220
        int name; // name column: the rest
    };
    // h <= 0 counts as 30 (a header that has not been laid out yet).
    static Keys keyList(int w, int sb, int h);
    // A code column narrower than codeNeeds (its longest code in the
    // smallest font a code is drawn in) takes what the code needs, leaving
    // the names nameNeeds (their longest name in that font) but at most a
    // quarter of the room: a code is read whole, a name can be cut. It
    // never gets less than widths gives it.
    static Keys widenForCodes(Keys widths, int codeNeeds, int nameNeeds);

    static int typeList(int w, int sb);
};
