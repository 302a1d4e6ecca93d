// Arbitrary model documentation through what the label and the record dialog
// are given to show. Checks what keeps Qt's rich text safe: formatted output
// holds only elements and attributes of the kept list, no style that could
// name an address, stays within a small multiple of the input, and is laid
// out by Qt's rich text quickly, as the documentation label lays it out at
// its narrowest and widest and the record dialog's editor at a small width;
// plain output is the input itself, cut only where asked.
#include "catalogue/DocumentationText.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QString>
#include <QTextDocument>
#include <QTextOption>

#include <cstdio>
#include <cstdlib>

namespace {

// What one layout of a text within the bounds may take. They take a
// fraction of a second, the texts that got past the bounds before took
// seconds to hours; the next cost nobody thought of is to be found here.
constexpr qint64 kLayoutBoundMs = 2000;

void layOutQuickly(const QString &markup)
{
    const struct
    {
        QTextOption::WrapMode wrap;
        qreal width;
    } views[] = {
        {QTextOption::WordWrap, 0},        // the label's narrowest width: a word to a line
        {QTextOption::WordWrap, 16777215}, // the label's one-line width
        {QTextOption::WordWrap, 200},      // the record dialog's editor
    };
    for (const auto &view : views) {
        QElapsedTimer timer;
        timer.start();
        QTextDocument document;
        QTextOption option = document.defaultTextOption();
        option.setWrapMode(view.wrap);
        document.setDefaultTextOption(option);
        document.setHtml(markup);
        document.setTextWidth(view.width);
        const qreal height = document.size().height();
        const qint64 ms = timer.elapsed();
        if (ms > kLayoutBoundMs || !(height >= 0)) {
            std::fprintf(stderr, "layout at width %g took %lld ms (height %g)\n", double(view.width),
                         static_cast<long long>(ms), double(height));
            std::abort();
        }
    }
}

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

// Qt's font database keeps what it loads (fontconfig patterns, font engines,
// shaping caches) for the life of the process and lets some of it go
// unreferenced; that is Qt's and the font libraries' own, not this code's.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n"
           "leak:libfreetype.so\n"
           "leak:libharfbuzz.so\n"
           "leak:libQt6Gui.so\n";
}

// Qt's text layout needs fonts, so an application on the offscreen platform.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's words on colours and sizes it does not know would flood the log.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    static int argc = 1;
    static char name[] = "fuzz_documentation_text";
    static char *argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    return 0;
}

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
    layOutQuickly(shown.text);
    return 0;
}
