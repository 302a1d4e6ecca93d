// Arbitrary model documentation through what the label and the record dialog
// are given to show. Checks what keeps Qt's rich text safe: formatted output
// holds only elements and attributes of the kept list, no style that could
// name an address, and stays within a small multiple of the input; plain
// output is the input itself, cut only where asked.
#include "catalogue/DocumentationText.h"

#include <QRegularExpression>
#include <QString>

#include <cstdlib>

namespace {

bool allowedTags(const QString &markup)
{
    static const QRegularExpression tag(QStringLiteral("<(/?)([^ />]*)([^>]*)>"));
    static const QRegularExpression attribute(QStringLiteral(" ([a-z-]+)=\"([^\"]*)\""));
    static const QStringList elements{
        QStringLiteral("a"),     QStringLiteral("address"), QStringLiteral("b"),      QStringLiteral("big"),
        QStringLiteral("blockquote"), QStringLiteral("br"), QStringLiteral("caption"), QStringLiteral("center"),
        QStringLiteral("cite"),  QStringLiteral("code"),    QStringLiteral("dd"),     QStringLiteral("dfn"),
        QStringLiteral("div"),   QStringLiteral("dl"),      QStringLiteral("dt"),     QStringLiteral("em"),
        QStringLiteral("font"),  QStringLiteral("h1"),      QStringLiteral("h2"),     QStringLiteral("h3"),
        QStringLiteral("h4"),    QStringLiteral("h5"),      QStringLiteral("h6"),     QStringLiteral("hr"),
        QStringLiteral("i"),     QStringLiteral("kbd"),     QStringLiteral("li"),     QStringLiteral("nobr"),
        QStringLiteral("ol"),    QStringLiteral("p"),       QStringLiteral("pre"),    QStringLiteral("s"),
        QStringLiteral("samp"),  QStringLiteral("small"),   QStringLiteral("span"),   QStringLiteral("strong"),
        QStringLiteral("sub"),   QStringLiteral("sup"),     QStringLiteral("table"),  QStringLiteral("tbody"),
        QStringLiteral("td"),    QStringLiteral("tfoot"),   QStringLiteral("th"),     QStringLiteral("thead"),
        QStringLiteral("tr"),    QStringLiteral("tt"),      QStringLiteral("u"),      QStringLiteral("ul"),
        QStringLiteral("var")};
    static const QStringList attributes{
        QStringLiteral("href"),  QStringLiteral("name"),   QStringLiteral("color"),       QStringLiteral("face"),
        QStringLiteral("size"),  QStringLiteral("align"),  QStringLiteral("valign"),      QStringLiteral("dir"),
        QStringLiteral("bgcolor"), QStringLiteral("border"), QStringLiteral("cellspacing"), QStringLiteral("cellpadding"),
        QStringLiteral("width"), QStringLiteral("colspan"), QStringLiteral("rowspan"),    QStringLiteral("type"),
        QStringLiteral("start"), QStringLiteral("style")};
    // Every "<" of the output opens a tag; text has its own escaped.
    if (markup.count(QLatin1Char('<')) != markup.count(tag))
        return false;
    for (auto it = tag.globalMatch(markup); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (!elements.contains(m.captured(2)))
            return false;
        QString rest = m.captured(3);
        if (rest.endsWith(QLatin1String(" /")))
            rest.chop(2);
        qsizetype covered = 0;
        for (auto a = attribute.globalMatch(rest); a.hasNext();) {
            const QRegularExpressionMatch am = a.next();
            if (am.capturedStart() != covered || !attributes.contains(am.captured(1)))
                return false;
            covered = am.capturedEnd();
            if (am.captured(1) == QLatin1String("style")
                && (am.captured(2).contains(QLatin1String("url"), Qt::CaseInsensitive)
                    || am.captured(2).contains(QLatin1Char('@')) || am.captured(2).contains(QLatin1Char('\\'))
                    || am.captured(2).contains(QLatin1Char('&'))))
                return false;
        }
        if (covered != rest.size())
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QString documentation = QString::fromUtf8(reinterpret_cast<const char *>(bytes), qsizetype(size));
    const int cut = 1000;
    const DocumentationText::Shown shown = DocumentationText::forDisplay(documentation, cut);
    if (!shown.rich) {
        const bool whole = shown.text == documentation;
        const bool cutShort = documentation.size() > cut && shown.text.size() <= cut + 1
            && shown.text.endsWith(QChar(0x2026)) && documentation.startsWith(shown.text.chopped(1));
        if (!whole && !cutShort)
            std::abort();
        return 0;
    }
    if (documentation.size() > DocumentationText::kMaxMarkupChars || !DocumentationText::looksRich(documentation))
        std::abort();
    if (shown.text.size() > 16 * documentation.size() + 64)
        std::abort();
    if (!allowedTags(shown.text))
        std::abort();
    return 0;
}
