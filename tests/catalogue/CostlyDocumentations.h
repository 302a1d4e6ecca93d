#pragma once

// Documentations whose layout costs Qt far more than their length says, as a
// hostile-input pass found them, and one that stands at every bound of the
// documentation filter at once. Whatever a view makes of them (formatted
// within the bounds, plain text past them), it lays them out at once.
#include "catalogue/DocumentationText.h"

#include <QList>
#include <QString>

#include <functional>

namespace CostlyDocumentations {

struct Row
{
    const char *name;
    QString text;
    bool rich;    // shown formatted
    int boundMs;  // layout time allowed, generous for a loaded machine
};

// Time allowed for what past the bounds is shown as plain text (about 50 ms),
// and for the costliest text within them (about half a second on a loaded
// machine). The texts below took 3 to 20 seconds, or never finished.
constexpr int kPlainMs = 1500;
constexpr int kBoundedMs = 6000;

inline QString nested(const QString &open, const QString &close, int levels, const QString &inner)
{
    return open.repeated(levels) + inner + close.repeated(levels);
}

// The largest n in [0, high] for which make(n) is still shown formatted.
inline int largestRich(const std::function<QString(int)> &make, int high)
{
    int lo = 0, hi = high;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (DocumentationText::forDisplay(make(mid)).rich)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

// Every bound of one element at once, and every total filled to its edge in
// turn: table cells three tables deep, a list's items, lines, height, and
// the rest of the markup's length. *parts receives how much of each fill
// the bounds admitted, and *oneMore the same text with one more of the last
// costly fill (the letters), which is past the height.
inline QString atEveryBound(QList<int> *parts = nullptr, QString *oneMore = nullptr)
{
    using DT = DocumentationText;
    const QString big = QStringLiteral("font-size:%1px; line-height:%2%")
                            .arg(DT::kMaxFontPixels)
                            .arg(DT::kMaxLineHeightFactor * 100);
    const QString far = QString::number(DT::kMaxLength);
    QString text = QStringLiteral("<p style=\"%1; margin:%2px; padding:%2px; letter-spacing:%3px; word-spacing:%3px; "
                                  "text-indent:%2px; -qt-block-indent:%4\"><b>Power</b> on</p>")
                       .arg(big, far)
                       .arg(DT::kMaxSpacing)
                       .arg(DT::kMaxIndentLevel);
    text += QStringLiteral("<p style=\"line-height:%1px; letter-spacing:%2%\">tall</p>")
                .arg(DT::kMaxLineHeightPixels)
                .arg(DT::kMaxSpacingPercent);
    text += QStringLiteral("<table border=\"%1\" cellspacing=\"%1\" cellpadding=\"%1\" width=\"%1\"><tr>"
                           "<td colspan=\"%2\" rowspan=\"%2\">span</td></tr></table>")
                .arg(far)
                .arg(DT::kMaxSpan);
    text += nested(QStringLiteral("<ul><li>"), QStringLiteral("</li></ul>"), DT::kMaxListDepth, QStringLiteral("deep"));
    text += nested(QStringLiteral("<div>"), QStringLiteral("</div>"), DT::kMaxDepth - 1, QStringLiteral("<b>deep</b>"));

    const QString tables = QStringLiteral("<table><tr><td>").repeated(DT::kMaxTableDepth - 1);
    const QString tablesEnd = QStringLiteral("</td></tr></table>").repeated(DT::kMaxTableDepth - 1);
    // The last fill's letters share one line, so that the lines before them
    // can take all the room the letters leave.
    const QString tallStart = "<p style=\"" + big + "\">";
    const QString tallEnd = QStringLiteral("</p>");
    QString tall = QStringLiteral("x");
    const QList<std::function<QString(int)>> fills = {
        // cells in the innermost of three tables, twenty to a row
        [&](int n) {
            QString cells;
            for (int i = 0; i < n; ++i)
                cells += (i % 20 == 0 ? QStringLiteral("<tr>") : QString()) + QStringLiteral("<td>c</td>");
            return tables + "<table border=\"1\">" + cells + "</table>" + tablesEnd;
        },
        // one flat list: Qt numbers each item from the list's start
        [](int n) { return "<ol>" + QStringLiteral("<li>i").repeated(n) + "</ol>"; },
        // lines that stay lines at any width, in a font that leaves the height to the letters
        [](int n) { return "<pre style=\"font-size:1px\">" + QStringLiteral("\n").repeated(n) + "</pre>"; },
        // letters in the largest font and line height
        [&](int n) {
            tall = QString(n, u'x');
            return QString();
        },
        // the rest of the markup's length, at no cost to the layout
        [](int n) { return "<!--" + QString(n, u'-') + "-->"; },
    };
    QString last;
    for (qsizetype i = 0; i < fills.size(); ++i) {
        const auto &fill = fills.at(i);
        const int high = DT::kMaxMarkupChars - int(text.size() + tallStart.size() + tall.size() + tallEnd.size());
        const auto whole = [&](int k) {
            const QString more = fill(k);
            return text + more + tallStart + tall + tallEnd;
        };
        const int n = largestRich(whole, high);
        if (parts)
            parts->append(n);
        if (n > 0 && n < high && i + 1 < fills.size())
            last = whole(n + 1);
        if (n > 0)
            text += fill(n);
    }
    if (oneMore)
        *oneMore = last;
    return text + tallStart + tall + tallEnd;
}

// The three texts of the hostile-input pass (past the bounds now), a text at
// every bound, and that text with one more line past one.
inline QList<Row> rows()
{
    QString oneMore;
    const QString bounded = atEveryBound(nullptr, &oneMore);
    return {
        {"line height 1000px over 8,500 words",
         "<p style=\"line-height:1000px\">" + QStringLiteral("a ").repeated(8500) + "</p>", false, kPlainMs},
        {"30 cells colspan 64 over 30 rows",
         "<table><tr>" + QStringLiteral("<td colspan=\"64\">x</td>").repeated(30) + "</tr>"
             + QStringLiteral("<tr><td>y</td></tr>").repeated(30) + "</table>",
         false, kPlainMs},
        {"40 rows of 10 cells colspan and rowspan 64",
         "<table>" + ("<tr>" + QStringLiteral("<td colspan=\"64\" rowspan=\"64\">x</td>").repeated(10)).repeated(40)
             + "</table>",
         false, kPlainMs},
        {"flat list of 12,900 items", "<ul>" + QStringLiteral("<li>x").repeated(12900), false, kPlainMs},
        {"at every bound", bounded, true, kBoundedMs},
        {"one past a bound", oneMore, false, kBoundedMs},
    };
}

} // namespace CostlyDocumentations
