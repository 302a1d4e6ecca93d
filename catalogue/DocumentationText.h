#pragma once

#include <QString>

// The documentation is the catalogue's one rich-text field, and it arrives
// through every import. Qt's rich text fetches what its markup names (an
// <img> on /dev/zero or a FIFO takes the program down) and its layout grows
// steeply with nesting, so the markup is never handed over as it came: what
// is shown formatted is rebuilt from a short list of formatting elements and
// properties that name no resource, and a text that nests deeper or is
// larger than any real documentation is shown as plain text.
class DocumentationText
{
public:
    // Markup longer than this is shown as plain text.
    static constexpr int kMaxMarkupChars = 64 * 1024;
    // Open elements at one place; tables and lists also count on their own.
    static constexpr int kMaxDepth = 32;
    static constexpr int kMaxTableDepth = 3;
    static constexpr int kMaxListDepth = 8;
    // Table cells in all; nested tables lay out their cells several times.
    static constexpr int kMaxTableCells = 1000;
    // Largest font sizes, by unit.
    static constexpr double kMaxFontPoints = 72;
    static constexpr double kMaxFontPixels = 96;
    static constexpr double kMaxFontEms = 6;
    static constexpr double kMaxFontPercent = 600;
    // Largest length (pixels, points, percent) of a margin, width, indent ...
    static constexpr double kMaxLength = 1000;
    // Largest indent level and cell span.
    static constexpr int kMaxIndentLevel = 20;
    static constexpr int kMaxSpan = 64;
    // A label shows at most this much of a plain text.
    static constexpr int kMaxLabelChars = 20000;

    struct Shown
    {
        QString text;
        bool rich = false; // text is markup of our own making; otherwise plain text
    };

    // What a view shows for a documentation: rebuilt markup when it looks like
    // rich text and keeps within the bounds above, else the text itself as
    // plain text. maxPlainChars >= 0 cuts a longer plain text with "…" (a
    // label); an editor passes -1 and gets all of it.
    static Shown forDisplay(const QString &documentation, int maxPlainChars = -1);

    // Whether a text looks like rich text, by the rule Qt's automatic text
    // format uses (the first tag on the first line is an element it knows).
    static bool looksRich(const QString &text);
};
