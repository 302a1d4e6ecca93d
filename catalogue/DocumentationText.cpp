#include "catalogue/DocumentationText.h"

#include <QList>
#include <QStringView>

#include <algorithm>
#include <cmath>

namespace {

// ---- elements

enum class Kind {
    Inline,
    Block,
    List,      // ul, ol
    ListItem,  // li
    DefItem,   // dt, dd
    DefList,   // dl
    Table,     // table
    Section,   // thead, tbody, tfoot
    Row,       // tr
    Cell,      // td, th
    Paragraph, // p
    Void,      // br, hr: no content, no end tag
};

struct Element
{
    const char *name;
    Kind kind;
};

// The formatting Qt's rich text knows, less everything that names a resource
// (img, link) or is not shown (head, title, style, meta).
constexpr Element kKept[] = {
    {"a", Kind::Inline},        {"address", Kind::Block},   {"b", Kind::Inline},
    {"big", Kind::Inline},      {"blockquote", Kind::Block}, {"br", Kind::Void},
    {"caption", Kind::Block},   {"center", Kind::Block},    {"cite", Kind::Inline},
    {"code", Kind::Inline},     {"dd", Kind::DefItem},      {"dfn", Kind::Inline},
    {"div", Kind::Block},       {"dl", Kind::DefList},      {"dt", Kind::DefItem},
    {"em", Kind::Inline},       {"font", Kind::Inline},     {"h1", Kind::Block},
    {"h2", Kind::Block},        {"h3", Kind::Block},        {"h4", Kind::Block},
    {"h5", Kind::Block},        {"h6", Kind::Block},        {"hr", Kind::Void},
    {"i", Kind::Inline},        {"kbd", Kind::Inline},      {"li", Kind::ListItem},
    {"nobr", Kind::Inline},     {"ol", Kind::List},         {"p", Kind::Paragraph},
    {"pre", Kind::Block},       {"s", Kind::Inline},        {"samp", Kind::Inline},
    {"small", Kind::Inline},    {"span", Kind::Inline},     {"strong", Kind::Inline},
    {"sub", Kind::Inline},      {"sup", Kind::Inline},      {"table", Kind::Table},
    {"tbody", Kind::Section},   {"td", Kind::Cell},         {"tfoot", Kind::Section},
    {"th", Kind::Cell},         {"thead", Kind::Section},   {"tr", Kind::Row},
    {"tt", Kind::Inline},       {"u", Kind::Inline},        {"ul", Kind::List},
    {"var", Kind::Inline},
};

// Elements whose content is not text to show: dropped with it.
constexpr const char *kDroppedWithContent[] = {"style", "script", "title", "textarea"};

// Every element name Qt's rich text knows, for the rule of looksRich().
constexpr const char *kQtElements[] = {
    "a",     "address", "b",    "big",  "blockquote", "body",  "br",    "caption", "center", "cite",
    "code",  "dd",      "dfn",  "div",  "dl",         "dt",    "em",    "font",    "h1",     "h2",
    "h3",    "h4",      "h5",   "h6",   "head",       "hr",    "html",  "i",       "img",    "kbd",
    "li",    "link",    "meta", "nobr", "ol",         "p",     "pre",   "qt",      "s",      "samp",
    "small", "span",    "strong", "style", "sub",     "sup",   "table", "tbody",   "td",     "tfoot",
    "th",    "thead",   "title", "tr",  "tt",         "u",     "ul",    "var",
};

const Element *keptElement(QStringView name)
{
    for (const Element &e : kKept) {
        if (name.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0)
            return &e;
    }
    return nullptr;
}

bool inList(QStringView name, const char *const *begin, const char *const *end)
{
    return std::any_of(begin, end,
                       [name](const char *n) { return name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0; });
}

// ---- values

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool allOf(QStringView s, bool (*accept)(QChar))
{
    return std::all_of(s.begin(), s.end(), accept);
}

bool isKeyword(QStringView s) // "bold", "line-through", "pre-wrap"
{
    return !s.isEmpty() && s.size() <= 40
        && allOf(s, [](QChar c) { return isAsciiLetter(c) || c == u'-' || c == u' '; });
}

bool isColor(QStringView s)
{
    if (s.startsWith(u'#')) {
        const QStringView hex = s.mid(1);
        return (hex.size() == 3 || hex.size() == 4 || hex.size() == 6 || hex.size() == 8)
            && allOf(hex, [](QChar c) { return isAsciiDigit(c) || (c.toLower() >= u'a' && c.toLower() <= u'f'); });
    }
    if (s.startsWith(QLatin1String("rgb"), Qt::CaseInsensitive)) {
        // rgb(1,2,3) and rgba(1,2,3,0.5): numbers only between the brackets.
        const qsizetype open = s.indexOf(u'(');
        if ((open != 3 && !(open == 4 && (s[3] == u'a' || s[3] == u'A'))) || !s.endsWith(u')'))
            return false;
        const QStringView inner = s.mid(open + 1, s.size() - open - 2);
        return inner.size() <= 40
            && allOf(inner, [](QChar c) { return isAsciiDigit(c) || c == u',' || c == u'.' || c == u'%' || c == u' '; });
    }
    return !s.isEmpty() && s.size() <= 30 && allOf(s, isAsciiLetter);
}

bool isFamily(QStringView s)
{
    return !s.isEmpty() && s.size() <= 200 && allOf(s, [](QChar c) {
               return isAsciiLetter(c) || isAsciiDigit(c) || c == u' ' || c == u'\'' || c == u'"' || c == u','
                   || c == u'.' || c == u'_' || c == u'-';
           });
}

// A number with an optional unit: "12", "-1.5em", "40%". False when it is not one.
bool number(QStringView s, double *value, QStringView *unit)
{
    qsizetype i = 0;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+'))
        ++i;
    const qsizetype digits = i;
    while (i < s.size() && (isAsciiDigit(s[i]) || s[i] == u'.'))
        ++i;
    if (i == digits || i - digits > 12)
        return false;
    bool ok = false;
    *value = s.left(i).toDouble(&ok);
    *unit = s.mid(i);
    return ok && std::isfinite(*value) && (unit->isEmpty() || unit->size() <= 2 || *unit == u"%");
}

// Length in pixels, near enough; false for what is no length.
bool pixels(QStringView s, double *px)
{
    double v = 0;
    QStringView unit;
    if (!number(s, &v, &unit))
        return false;
    if (unit.isEmpty() || unit == u"px" || unit == u"%")
        *px = v;
    else if (unit == u"pt")
        *px = v * 4 / 3;
    else if (unit == u"em" || unit == u"ex")
        *px = v * 16;
    else
        return false;
    *px = std::fabs(*px);
    return true;
}

enum class Verdict { Keep, Drop, Unbounded };

// ---- what the layout costs

// Font size where none is set, above what a desktop's default font takes.
constexpr double kBaseFontPx = 16;
// The most Qt's named sizes reach (h1, big, font size 7, xx-large): about
// three times its base.
constexpr double kNamedFontPx = 48;
// A line without a line height set is at most this much of its font size.
constexpr double kNaturalLine = 1.3;
// Qt's own margins of a block, at most (h1: 18 above, 12 below).
constexpr double kBlockMargins = 40;

// The font and line height in force, as upper bounds.
struct Metrics
{
    double fontPx = kBaseFontPx;
    double lineFactor = 1; // line height as a multiple of the natural one
    double linePx = 0;     // line height in pixels (fixed, at least, or added)
    double line() const { return fontPx * kNaturalLine * std::max(1.0, lineFactor) + linePx; }
};

// What one start tag brings to the layout.
struct Start
{
    Metrics metrics;     // in: the parent's; out: the element's
    double parentFontPx; // what relative font sizes refer to
    double vertical = 0; // pixels its margins, paddings and borders can add
    int colspan = 1, rowspan = 1;
    double perCell = 0; // a table's border, spacing and padding around each cell
};

// One or more lengths, or keywords, as margin or padding take them; *sum
// receives the pixels they add up to.
Verdict lengths(QStringView value, double *sum)
{
    const auto parts = value.split(u' ', Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.size() > 4)
        return Verdict::Drop;
    for (QStringView part : parts) {
        double px = 0;
        if (pixels(part, &px)) {
            if (px > DocumentationText::kMaxLength)
                return Verdict::Unbounded;
            *sum += px;
        } else if (!isKeyword(part)) {
            return Verdict::Drop;
        }
    }
    return Verdict::Keep;
}

// Sizes nest (em and percent multiply what is in force), so the bound is on
// the size that results.
Verdict fontSize(QStringView value, Start *s)
{
    double v = 0;
    QStringView unit;
    if (!number(value, &v, &unit)) {
        if (!isKeyword(value))
            return Verdict::Drop;
        s->metrics.fontPx = std::max(s->parentFontPx, kNamedFontPx); // "xx-large", "larger"
        return Verdict::Keep;
    }
    if (v < 0)
        return Verdict::Drop;
    double px = 0;
    if (unit == u"pt")
        px = v * 4 / 3;
    else if (unit == u"px" || unit.isEmpty())
        px = v;
    else if (unit == u"em")
        px = v * s->parentFontPx;
    else if (unit == u"%")
        px = v / 100 * s->parentFontPx;
    else
        return Verdict::Drop;
    if (px > DocumentationText::kMaxFontPixels)
        return Verdict::Unbounded;
    s->metrics.fontPx = std::max(px, 1.0);
    return Verdict::Keep;
}

// A multiple ("1.5", "150%", "1.5em") or pixels; the number is also taken
// as pixels, as -qt-line-height-type may ask for.
Verdict lineHeight(QStringView value, Start *s)
{
    double v = 0;
    QStringView unit;
    if (!number(value, &v, &unit))
        return isKeyword(value) ? Verdict::Keep : Verdict::Drop; // "normal"
    if (v < 0)
        return Verdict::Drop;
    double factor = 1, px = 0;
    if (unit.isEmpty() || unit == u"em") {
        factor = v;
        px = v;
    } else if (unit == u"%") {
        factor = v / 100;
        px = v;
    } else if (unit == u"px") {
        px = v;
    } else if (unit == u"pt") {
        px = v * 4 / 3;
    } else {
        return Verdict::Drop;
    }
    if (factor > DocumentationText::kMaxLineHeightFactor
        || ((unit == u"px" || unit == u"pt") && px > DocumentationText::kMaxLineHeightPixels))
        return Verdict::Unbounded;
    s->metrics.lineFactor = factor;
    s->metrics.linePx = px;
    return Verdict::Keep;
}

// letter-spacing, word-spacing: a line of them must stay within what Qt's
// fixed-point widths hold at the widest width a label tries.
Verdict spacing(QStringView value)
{
    double v = 0;
    QStringView unit;
    if (!number(value, &v, &unit))
        return isKeyword(value) ? Verdict::Keep : Verdict::Drop; // "normal"
    if (v < 0)
        return Verdict::Drop;
    if (unit == u"%")
        return v > DocumentationText::kMaxSpacingPercent ? Verdict::Unbounded : Verdict::Keep;
    double px = 0;
    if (!pixels(value, &px))
        return Verdict::Drop;
    return px > DocumentationText::kMaxSpacing ? Verdict::Unbounded : Verdict::Keep;
}

Verdict level(QStringView value) // -qt-block-indent: 2
{
    if (value.isEmpty() || value.size() > 9 || !allOf(value, isAsciiDigit))
        return Verdict::Drop;
    return value.toInt() > DocumentationText::kMaxIndentLevel ? Verdict::Unbounded : Verdict::Keep;
}

Verdict styleProperty(QStringView name, QStringView value, Start *s)
{
    static const char *const colors[] = {"color", "background-color", "border-color"};
    static const char *const keywords[] = {"font-style",     "font-variant",  "text-decoration", "text-transform",
                                           "vertical-align", "text-align",    "white-space",     "list-style-type",
                                           "list-style",     "border-style",  "border-collapse", "-qt-paragraph-type",
                                           "-qt-line-height-type", "page-break-before", "page-break-after"};
    // Lengths around a block, all counted as height (the sides too: a bound,
    // not a measure).
    static const char *const vertical[] = {"margin",        "margin-top",     "margin-bottom", "margin-left",
                                           "margin-right",  "padding",        "padding-top",   "padding-bottom",
                                           "padding-left",  "padding-right",  "border-width",  "border-spacing"};
    static const char *const horizontal[] = {"text-indent", "width"};
    auto is = [name](const char *const *begin, const char *const *end) { return inList(name, begin, end); };
    if (is(std::begin(colors), std::end(colors)))
        return isColor(value) ? Verdict::Keep : Verdict::Drop;
    if (is(std::begin(keywords), std::end(keywords)))
        return isKeyword(value) ? Verdict::Keep : Verdict::Drop;
    if (is(std::begin(vertical), std::end(vertical)))
        return lengths(value, &s->vertical);
    if (is(std::begin(horizontal), std::end(horizontal))) {
        double ignored = 0;
        return lengths(value, &ignored);
    }
    if (name == u"font-size")
        return fontSize(value, s);
    if (name == u"line-height")
        return lineHeight(value, s);
    if (name == u"letter-spacing" || name == u"word-spacing")
        return spacing(value);
    if (name == u"font-family")
        return isFamily(value) ? Verdict::Keep : Verdict::Drop;
    if (name == u"font-weight") {
        if (isKeyword(value))
            return Verdict::Keep;
        return value.size() <= 4 && !value.isEmpty() && allOf(value, isAsciiDigit) ? Verdict::Keep : Verdict::Drop;
    }
    if (name == u"-qt-block-indent" || name == u"-qt-list-indent")
        return level(value);
    // Anything else, background-image and its url() first of all.
    return Verdict::Drop;
}

bool isZero(QStringView value)
{
    double v = 1;
    QStringView unit;
    return number(value, &v, &unit) && v == 0;
}

// A declaration that only says what Qt does anyway for the element: Qt's
// own HTML repeats them on every paragraph and list item, and kept they
// would make an edited list several times its size.
bool saysTheDefault(const Element *e, QStringView name, QStringView value)
{
    if (!isZero(value))
        return false;
    if (name == u"-qt-block-indent" || name == u"text-indent")
        return true;
    if (!name.startsWith(QLatin1String("margin-")))
        return false;
    // Elements whose margins are all nothing unless set.
    const bool noMargins = e->kind == Kind::ListItem || e->kind == Kind::Cell || e->kind == Kind::Row
        || e->kind == Kind::Inline || qstrcmp(e->name, "div") == 0;
    const bool sides = name == u"margin-left" || name == u"margin-right";
    return noMargins || (e->kind == Kind::Paragraph && sides);
}

// ---- the rebuilder

struct Attribute
{
    QStringView name, value;
};

class Rebuilder
{
public:
    explicit Rebuilder(QStringView in) : m_in(in) { m_out.reserve(in.size()); }

    // False when the text is deeper, larger or costlier than the bounds.
    bool run();
    QString result() const { return m_out; }

private:
    struct Open
    {
        const Element *element;
        Metrics metrics;
        // Where its start tag's ">" stands in the output, and whether the tag
        // ends in a style attribute ("...\">"), for keepSpaces().
        qsizetype tagEnd = 0;
        bool styled = false;
        bool spacesSet = false; // white-space is set on it (or was added)
        bool afterSpace = true; // its text so far ends in a space, or there is none
        bool endsInSpace = false; // it has text, and that ends in a space
    };
    // An open table's grid so far.
    struct Table
    {
        int rows = 0;
        int rowWidth = 0; // columns of the current row, spans included
        int widest = 0;
        int spanning = 0; // columns taken by cells that reach into later rows
        int extent = 0;   // rows the row spans reach down to
        double perCell = 0;
    };

    void text(QStringView t);
    void startTag(QStringView name, const QList<Attribute> &attributes, bool selfClosing);
    void endTag(QStringView name);
    void closeTo(qsizetype size);
    void push(const Element *e, const Metrics &metrics);
    qsizetype spacesHolder() const;
    void keepSpaces(qsizetype holder);
    void checkBounds();
    // What one line or item costs where it stands: Qt lays out a table's
    // cells several times over to size its columns, and a nested table's
    // again for each time its own cell is.
    int weight(qsizetype tables) const { return int(1 + 2 * tables); }
    Metrics current() const { return m_open.isEmpty() ? Metrics() : m_open.last().metrics; }
    // Index in the stack of the nearest open element accepted by match, when
    // none stopping it lies above; -1 otherwise.
    template <typename Match, typename Stop>
    qsizetype nearest(Match match, Stop stop) const;
    QString attributes(const Element *e, const QList<Attribute> &list, Start *start);
    QString style(const Element *e, QStringView value, Start *start);
    void skipRawText(QStringView name);

    QStringView m_in;
    qsizetype m_pos = 0;
    QString m_out;
    QList<Open> m_open;
    QList<Table> m_tables;
    int m_lists = 0;
    int m_items = 0;
    int m_lines = 0;
    double m_height = 0;
    bool m_unbounded = false;
    // Qt's own HTML keeps the spaces of its paragraphs and list items
    // through its style sheet ("p, li { white-space: pre-wrap; }"), which is
    // dropped: the paragraphs and items whose spaces it keeps get it on
    // their own, the others (nearly all) stay short.
    bool m_preWrap = false;
};

qsizetype Rebuilder::spacesHolder() const
{
    if (!m_preWrap)
        return -1;
    for (qsizetype i = m_open.size() - 1; i >= 0; --i) {
        const Kind k = m_open[i].element->kind;
        if (k == Kind::Paragraph || k == Kind::ListItem)
            return i;
        if (k != Kind::Inline)
            return -1;
    }
    return -1;
}

void Rebuilder::keepSpaces(qsizetype holder)
{
    Open &o = m_open[holder];
    if (o.spacesSet)
        return;
    o.spacesSet = true;
    const QString declaration = o.styled ? QStringLiteral(" white-space:pre-wrap;")
                                         : QStringLiteral(" style=\"white-space:pre-wrap;\"");
    m_out.insert(o.styled ? o.tagEnd - 1 : o.tagEnd, declaration);
    for (qsizetype i = holder + 1; i < m_open.size(); ++i)
        m_open[i].tagEnd += declaration.size();
}

void Rebuilder::checkBounds()
{
    if (m_items > DocumentationText::kMaxItems || m_lines > DocumentationText::kMaxLines
        || m_height > DocumentationText::kMaxHeight)
        m_unbounded = true;
}

void Rebuilder::text(QStringView t)
{
    // At the narrowest width every word takes a line; where words break
    // anywhere (an editor) even every character may.
    const double line = current().line();
    bool inWord = false;
    int lines = 0;
    // Spaces that only a kept white-space shows: a run, a tab or line break,
    // one at the start or the end of the paragraph.
    const qsizetype holder = spacesHolder();
    bool afterSpace = holder >= 0 && m_open[holder].afterSpace;
    bool keep = false;
    for (QChar c : t) {
        if (holder >= 0) {
            if (c.isSpace()) {
                keep = keep || afterSpace || c != u' ';
                afterSpace = true;
            } else {
                afterSpace = false;
            }
        }
        if (c == u'\n') {
            ++lines;
            inWord = false;
        } else if (c.isSpace()) {
            inWord = false;
        } else if (!inWord) {
            ++lines;
            inWord = true;
        }
        m_height += line;
        if (c == u'<')
            m_out += QLatin1String("&lt;");
        else if (c == u'>')
            m_out += QLatin1String("&gt;");
        else
            m_out += c; // an entity stays one: it can only ever stand for text
    }
    if (holder >= 0) {
        m_open[holder].afterSpace = afterSpace;
        if (!t.isEmpty())
            m_open[holder].endsInSpace = afterSpace;
        if (keep)
            keepSpaces(holder);
    }
    m_lines += lines * weight(m_tables.size());
    checkBounds();
}

template <typename Match, typename Stop>
qsizetype Rebuilder::nearest(Match match, Stop stop) const
{
    for (qsizetype i = m_open.size() - 1; i >= 0; --i) {
        if (match(m_open[i].element))
            return i;
        if (stop(m_open[i].element))
            return -1;
    }
    return -1;
}

void Rebuilder::closeTo(qsizetype size)
{
    while (m_open.size() > size) {
        if (m_open.last().endsInSpace && spacesHolder() == m_open.size() - 1)
            keepSpaces(m_open.size() - 1); // a space at its end
        const Element *e = m_open.takeLast().element;
        if (e->kind == Kind::Table && !m_tables.isEmpty()) {
            // Qt makes every row as wide as the widest and lays out the whole grid.
            const Table t = m_tables.takeLast();
            const qint64 rows = std::max(t.rows, t.extent);
            const qint64 grid = rows + rows * (t.widest + t.spanning);
            m_items += int(std::min<qint64>(grid * weight(m_tables.size() + 1), 1 << 30));
        }
        if (e->kind == Kind::List)
            --m_lists;
        m_out += QLatin1String("</") + QLatin1String(e->name) + QLatin1Char('>');
    }
    checkBounds();
}

void Rebuilder::push(const Element *e, const Metrics &metrics)
{
    m_open.append({e, metrics});
    if (e->kind == Kind::List)
        ++m_lists;
    if (m_open.size() > DocumentationText::kMaxDepth || m_tables.size() > DocumentationText::kMaxTableDepth
        || m_lists > DocumentationText::kMaxListDepth)
        m_unbounded = true;
}

QString Rebuilder::style(const Element *e, QStringView value, Start *start)
{
    QString kept;
    for (QStringView declaration : value.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype colon = declaration.indexOf(u':');
        if (colon < 0)
            continue;
        const QString name = declaration.left(colon).trimmed().toString().toLower();
        const QStringView v = declaration.mid(colon + 1).trimmed();
        switch (styleProperty(name, v, start)) {
        case Verdict::Keep:
            if (!saysTheDefault(e, name, v))
                kept += name + QLatin1Char(':') + v.toString() + QLatin1String("; ");
            break;
        case Verdict::Unbounded:
            m_unbounded = true;
            break;
        case Verdict::Drop:
            break;
        }
    }
    return kept.trimmed();
}

QString Rebuilder::attributes(const Element *e, const QList<Attribute> &list, Start *start)
{
    const QLatin1String element(e->name);
    const bool tableLike = e->kind == Kind::Table || e->kind == Kind::Row || e->kind == Kind::Cell;
    QString out;
    QString styleText;
    auto add = [&out](QStringView name, QStringView value) {
        out += QLatin1Char(' ') + name.toString().toLower() + QLatin1String("=\"");
        for (QChar c : value) {
            if (c == u'"')
                out += QLatin1String("&quot;");
            else if (c == u'<')
                out += QLatin1String("&lt;");
            else if (c == u'>')
                out += QLatin1String("&gt;");
            else
                out += c;
        }
        out += QLatin1Char('"');
    };
    auto bounded = [this](QStringView value, double limit, double *px) {
        if (!pixels(value, px))
            return false;
        if (*px > limit) {
            m_unbounded = true;
            return false;
        }
        return true;
    };
    for (const Attribute &a : list) {
        const QString name = a.name.toString().toLower();
        const QStringView v = a.value.trimmed();
        if (name == QLatin1String("style")) {
            styleText += style(e, v, start);
        } else if (element == QLatin1String("a") && (name == QLatin1String("href") || name == QLatin1String("name"))) {
            add(name, a.value); // never fetched; a label opens no link
        } else if (element == QLatin1String("font") && name == QLatin1String("color")) {
            if (isColor(v))
                add(name, v);
        } else if (element == QLatin1String("font") && name == QLatin1String("face")) {
            if (isFamily(v))
                add(name, v);
        } else if (element == QLatin1String("font") && name == QLatin1String("size")) {
            double n = 0;
            QStringView unit;
            if (number(v, &n, &unit) && unit.isEmpty()) {
                if (std::fabs(n) > 7) {
                    m_unbounded = true;
                } else {
                    add(name, v);
                    start->metrics.fontPx = std::max(start->metrics.fontPx, kNamedFontPx);
                }
            }
        } else if (name == QLatin1String("align") || name == QLatin1String("valign") || name == QLatin1String("dir")) {
            if (isKeyword(v))
                add(name, v);
        } else if (tableLike && name == QLatin1String("bgcolor")) {
            if (isColor(v))
                add(name, v);
        } else if (e->kind == Kind::Table
                   && (name == QLatin1String("border") || name == QLatin1String("cellspacing")
                       || name == QLatin1String("cellpadding"))) {
            double px = 0;
            if (bounded(v, DocumentationText::kMaxLength, &px)) {
                add(name, v);
                start->perCell += name == QLatin1String("cellspacing") ? px : 2 * px;
            }
        } else if ((e->kind == Kind::Table || e->kind == Kind::Cell || element == QLatin1String("hr"))
                   && name == QLatin1String("width")) {
            double px = 0;
            if (bounded(v, DocumentationText::kMaxLength, &px))
                add(name, v);
        } else if (e->kind == Kind::Cell && (name == QLatin1String("colspan") || name == QLatin1String("rowspan"))) {
            // Whole numbers only, as Qt reads them.
            if (!v.isEmpty() && v.size() <= 9 && allOf(v, isAsciiDigit)) {
                const int span = std::max(1, v.toInt());
                if (span > DocumentationText::kMaxSpan) {
                    m_unbounded = true;
                } else {
                    add(name, v);
                    (name == QLatin1String("colspan") ? start->colspan : start->rowspan) = span;
                }
            }
        } else if (e->kind == Kind::List && (name == QLatin1String("type") || name == QLatin1String("start"))) {
            if (v.size() <= 9 && !v.isEmpty()
                && allOf(v, [](QChar c) { return isAsciiLetter(c) || isAsciiDigit(c) || c == u'-'; }))
                add(name, v);
        }
        // Everything else is dropped: src, background, class, ...
    }
    if (!styleText.trimmed().isEmpty())
        add(QStringLiteral("style"), styleText.trimmed());
    return out;
}

void Rebuilder::startTag(QStringView name, const QList<Attribute> &attributes, bool selfClosing)
{
    const Element *e = keptElement(name);
    if (!e)
        return; // its content stays, without it
    auto any = [](Kind k) { return [k](const Element *o) { return o->kind == k; }; };
    // What HTML closes on its own, closed here in so many words, so that the
    // depth counted is the depth Qt builds.
    switch (e->kind) {
    case Kind::Paragraph:
    case Kind::Block:
    case Kind::List:
    case Kind::DefList:
    case Kind::Table: {
        const qsizetype p = nearest(any(Kind::Paragraph), [](const Element *o) { return o->kind != Kind::Inline; });
        if (p >= 0)
            closeTo(p);
        break;
    }
    case Kind::ListItem: {
        const qsizetype li = nearest(any(Kind::ListItem), any(Kind::List));
        if (li >= 0)
            closeTo(li);
        break;
    }
    case Kind::DefItem: {
        const qsizetype item = nearest(any(Kind::DefItem), any(Kind::DefList));
        if (item >= 0)
            closeTo(item);
        break;
    }
    case Kind::Section: {
        const qsizetype s = nearest(any(Kind::Section), any(Kind::Table));
        if (s >= 0)
            closeTo(s);
        break;
    }
    case Kind::Row: {
        const qsizetype r = nearest(any(Kind::Row), any(Kind::Table));
        if (r >= 0)
            closeTo(r);
        break;
    }
    case Kind::Cell: {
        const qsizetype c = nearest(any(Kind::Cell), [](const Element *o) {
            return o->kind == Kind::Row || o->kind == Kind::Table;
        });
        if (c >= 0)
            closeTo(c);
        break;
    }
    case Kind::Inline:
    case Kind::Void:
        break;
    }

    Start start;
    start.metrics = current();
    start.parentFontPx = start.metrics.fontPx;
    static const char *const named[] = {"h1", "h2", "h3", "h4", "h5", "h6", "big"};
    if (inList(name, std::begin(named), std::end(named)))
        start.metrics.fontPx = std::max(start.metrics.fontPx, kNamedFontPx);
    const QString attributeText = this->attributes(e, attributes, &start);
    m_out += QLatin1Char('<') + QLatin1String(e->name) + attributeText;

    // Its share of the lines and the height at the narrowest width.
    const double line = start.metrics.line();
    if (qstrcmp(e->name, "br") == 0) {
        m_lines += weight(m_tables.size());
        m_height += line;
    } else if (e->kind != Kind::Inline) {
        m_lines += weight(m_tables.size());
        m_height += line + kBlockMargins;
    }
    m_height += start.vertical;
    if (!m_tables.isEmpty() && (e->kind == Kind::Row || e->kind == Kind::Cell)) {
        Table &t = m_tables.last();
        m_height += t.perCell;
        if (e->kind == Kind::Row) {
            ++t.rows;
            t.rowWidth = 0;
        } else {
            t.rows = std::max(t.rows, 1);
            t.rowWidth += start.colspan;
            t.widest = std::max(t.widest, t.rowWidth);
            if (start.rowspan > 1) {
                t.spanning += start.colspan;
                t.extent = std::max(t.extent, t.rows - 1 + start.rowspan);
            }
        }
    }
    if (e->kind == Kind::ListItem)
        m_items += weight(m_tables.size());
    checkBounds();

    if (e->kind == Kind::Void) {
        m_out += QLatin1String(" />");
        return;
    }
    const qsizetype tagEnd = m_out.size();
    m_out += QLatin1Char('>');
    if (e->kind == Kind::Table) {
        Table t;
        t.perCell = start.perCell;
        m_tables.append(t);
    }
    push(e, start.metrics);
    Open &open = m_open.last();
    open.tagEnd = tagEnd;
    open.styled = attributeText.endsWith(QLatin1Char('"')) && attributeText.contains(QLatin1String(" style=\""));
    open.spacesSet = attributeText.contains(QLatin1String("white-space"));
    if (selfClosing)
        closeTo(m_open.size() - 1);
}

void Rebuilder::endTag(QStringView name)
{
    for (qsizetype i = m_open.size() - 1; i >= 0; --i) {
        if (name.compare(QLatin1String(m_open[i].element->name), Qt::CaseInsensitive) == 0) {
            closeTo(i);
            return;
        }
    }
    // An end without its start is dropped.
}

void Rebuilder::skipRawText(QStringView name)
{
    // Up to and past "</name", whatever lies between. Without one the tag
    // hid no text of its own ("press the <script> key, then OK"): it goes
    // alone, as an unknown tag does, and the text after it stays.
    const QString end = QLatin1String("</") + name.toString();
    const qsizetype at = m_in.indexOf(end, m_pos, Qt::CaseInsensitive);
    if (at < 0)
        return;
    const QStringView content = m_in.mid(m_pos, at - m_pos);
    if (name.compare(QLatin1String("style"), Qt::CaseInsensitive) == 0
        && content.contains(QLatin1String("pre-wrap"), Qt::CaseInsensitive))
        m_preWrap = true;
    const qsizetype close = m_in.indexOf(u'>', at);
    m_pos = close < 0 ? m_in.size() : close + 1;
}

bool Rebuilder::run()
{
    const qsizetype n = m_in.size();
    qsizetype textStart = 0;
    auto flushText = [&](qsizetype upTo) {
        if (upTo > textStart)
            text(m_in.mid(textStart, upTo - textStart));
    };
    while (m_pos < n && !m_unbounded) {
        if (m_in[m_pos] != u'<') {
            ++m_pos;
            continue;
        }
        const qsizetype lt = m_pos;
        const QChar next = lt + 1 < n ? m_in[lt + 1] : QChar();
        if (m_in.mid(lt).startsWith(QLatin1String("<!--"))) {
            flushText(lt);
            const qsizetype end = m_in.indexOf(QLatin1String("-->"), lt + 4);
            m_pos = end < 0 ? n : end + 3;
            textStart = m_pos;
            continue;
        }
        if (next == u'!' || next == u'?') { // <!DOCTYPE ...>, <?xml ...?>
            flushText(lt);
            const qsizetype end = m_in.indexOf(u'>', lt);
            m_pos = end < 0 ? n : end + 1;
            textStart = m_pos;
            continue;
        }
        const bool closing = next == u'/';
        qsizetype i = lt + (closing ? 2 : 1);
        const qsizetype nameStart = i;
        while (i < n && (isAsciiLetter(m_in[i]) || (i > nameStart && isAsciiDigit(m_in[i]))))
            ++i;
        if (i == nameStart) { // "a < b": text
            ++m_pos;
            continue;
        }
        const QStringView name = m_in.mid(nameStart, i - nameStart);
        // Attributes: name, name=value, name="value", name='value'.
        QList<Attribute> attributes;
        bool selfClosing = false;
        bool complete = false;
        while (i < n) {
            const QChar c = m_in[i];
            if (c == u'>') {
                complete = true;
                ++i;
                break;
            }
            if (c.isSpace()) {
                ++i;
                continue;
            }
            if (c == u'/') {
                selfClosing = i + 1 < n && m_in[i + 1] == u'>';
                ++i;
                continue;
            }
            const qsizetype attrStart = i;
            while (i < n && !m_in[i].isSpace() && m_in[i] != u'=' && m_in[i] != u'>' && m_in[i] != u'/')
                ++i;
            Attribute a{m_in.mid(attrStart, i - attrStart), QStringView()};
            while (i < n && m_in[i].isSpace())
                ++i;
            if (i < n && m_in[i] == u'=') {
                ++i;
                while (i < n && m_in[i].isSpace())
                    ++i;
                if (i < n && (m_in[i] == u'"' || m_in[i] == u'\'')) {
                    const QChar quote = m_in[i];
                    const qsizetype end = m_in.indexOf(quote, i + 1);
                    if (end < 0) {
                        i = n;
                        break;
                    }
                    a.value = m_in.mid(i + 1, end - i - 1);
                    i = end + 1;
                } else {
                    const qsizetype valueStart = i;
                    while (i < n && !m_in[i].isSpace() && m_in[i] != u'>')
                        ++i;
                    a.value = m_in.mid(valueStart, i - valueStart);
                }
            }
            if (!a.name.isEmpty())
                attributes.append(a);
        }
        if (!complete) { // a tag that never ends: the rest is text
            m_pos = n;
            break;
        }
        flushText(lt);
        m_pos = i;
        textStart = m_pos;
        if (closing) {
            endTag(name);
        } else if (inList(name, std::begin(kDroppedWithContent), std::end(kDroppedWithContent))) {
            if (!selfClosing)
                skipRawText(name);
            textStart = m_pos;
        } else {
            startTag(name, attributes, selfClosing);
        }
    }
    if (m_unbounded)
        return false;
    flushText(n);
    closeTo(0);
    return !m_unbounded;
}

QString plain(const QString &text, int maxChars)
{
    if (maxChars < 0 || text.size() <= maxChars)
        return text;
    qsizetype cut = maxChars;
    if (cut > 0 && text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QChar(0x2026);
}

} // namespace

DocumentationText::Shown DocumentationText::forDisplay(const QString &documentation, int maxPlainChars)
{
    if (!looksRich(documentation) || documentation.size() > kMaxMarkupChars)
        return {plain(documentation, maxPlainChars), false};
    Rebuilder rebuilder(documentation);
    if (!rebuilder.run())
        return {plain(documentation, maxPlainChars), false};
    return {rebuilder.result(), true};
}

QString DocumentationText::forStorage(const QString &editorHtml)
{
    // The editor's HTML is several times the size of what it shows: the size
    // bound is judged on what is rebuilt.
    Rebuilder rebuilder(editorHtml);
    if (!rebuilder.run())
        return QString();
    const QString markup = rebuilder.result();
    return forDisplay(markup).rich ? markup : QString();
}

bool DocumentationText::looksRich(const QString &text)
{
    const qsizetype n = text.size();
    qsizetype start = 0;
    while (start < n && text.at(start).isSpace())
        ++start;
    // A leading <?xml ... ?> is passed over, as for XHTML.
    if (QStringView(text).mid(start, 5).compare(QLatin1String("<?xml")) == 0) {
        while (start < n) {
            if (text.at(start) == u'?' && start + 2 < n && text.at(start + 1) == u'>') {
                start += 2;
                break;
            }
            ++start;
        }
        while (start < n && text.at(start).isSpace())
            ++start;
    }
    if (QStringView(text).mid(start, 5).compare(QLatin1String("<!doc"), Qt::CaseInsensitive) == 0)
        return true;
    qsizetype open = start;
    while (open < n && text.at(open) != u'<' && text.at(open) != u'\n') {
        if (text.at(open) == u'&' && QStringView(text).mid(open + 1, 3) == u"lt;")
            return true;
        ++open;
    }
    if (open >= n || text.at(open) != u'<')
        return false;
    const qsizetype close = text.indexOf(u'>', open);
    if (close < 0)
        return false;
    QString tag;
    for (qsizetype i = open + 1; i < close; ++i) {
        const QChar c = text.at(i);
        if (c.isDigit() || c.isLetter())
            tag += c.toLower();
        else if (!tag.isEmpty() && c.isSpace())
            break;
        else if (!tag.isEmpty() && c == u'/' && i + 1 == close)
            break;
        else if (!c.isSpace() && (!tag.isEmpty() || c != u'!'))
            return false; // not a tag
    }
    return std::any_of(std::begin(kQtElements), std::end(kQtElements),
                       [&tag](const char *e) { return tag == QLatin1String(e); });
}
