#pragma once

#include <QString>

// The documentation is the catalogue's one rich-text field, and it arrives
// through every import. Qt's rich text fetches what its markup names (an
// <img> on /dev/zero or a FIFO takes the program down), and its layout cost
// grows with more than the markup's length: lines at the narrowest width,
// their height (a document taller than about 8.3 million pixels never
// finishes laying out), list items (numbered one by one, each from the
// list's start), table grids (every row as wide as the widest, spans
// included) and nesting. So the markup is never handed over as it came:
// what is shown formatted is rebuilt from a short list of formatting
// elements and properties that name no resource, and a text whose layout
// would cost more than the bounds below is shown as plain text.
class DocumentationText
{
public:
    // Markup longer than this is shown as plain text.
    static constexpr int kMaxMarkupChars = 64 * 1024;
    // The longest documentation an import accepts and the record dialog
    // edits; a longer one (from before the bound) is shown there cut and
    // read-only, since Qt's editor takes seconds per ten megabytes.
    static constexpr int kMaxStoredChars = kMaxMarkupChars;
    // Open elements at one place; tables and lists also count on their own.
    static constexpr int kMaxDepth = 32;
    static constexpr int kMaxTableDepth = 3;
    static constexpr int kMaxListDepth = 8;
    // List items, table rows and table cells in all. A table counts its
    // whole grid: as many rows as it has, each as wide as its widest row
    // (spans included), since that is what Qt builds and lays out. Inside
    // tables, items and lines count 1 + 2 times the tables around them.
    static constexpr int kMaxItems = 3000;
    // Lines the text can take at the narrowest width: every word, line
    // break and block is one.
    static constexpr int kMaxLines = 16000;
    // Height the text can take at the narrowest width, in pixels: every
    // character counted as a line of its own, every block with its margins.
    // Far below the height at which Qt's layout stops finishing.
    static constexpr double kMaxHeight = 2000000;
    // Largest font size in pixels (points count 4/3), as the sizes nest.
    static constexpr double kMaxFontPixels = 96;
    // Largest line height: a multiple of the font's, or pixels.
    static constexpr double kMaxLineHeightFactor = 3;
    static constexpr double kMaxLineHeightPixels = 200;
    // Largest space between letters or words, in pixels or percent.
    static constexpr double kMaxSpacing = 50;
    static constexpr double kMaxSpacingPercent = 200;
    // Largest length (pixels, points, percent) of a margin, width, indent ...
    static constexpr double kMaxLength = 1000;
    // Largest indent level and cell span.
    static constexpr int kMaxIndentLevel = 20;
    static constexpr int kMaxSpan = 16;
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

    // What to store for a formatted documentation edited in the record
    // dialog, given its editor's HTML (Qt's whole document, with its head
    // and style sheet and the same declarations on every paragraph): the
    // markup rebuilt from it, judged by the bounds as it will be shown.
    // Empty when that markup would not be shown formatted.
    static QString forStorage(const QString &editorHtml);

    // Whether a text looks like rich text, by the rule Qt's automatic text
    // format uses (the first tag on the first line is an element it knows).
    static bool looksRich(const QString &text);
};
