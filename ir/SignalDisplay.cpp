#include "ir/SignalDisplay.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <QCoreApplication>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

const QColor SignalDisplay::kBackground(238, 238, 238);

namespace {

struct FieldColor
{
    char letter;
    QRgb rgb;
};
// Upper and lower case of a field alternate between adjacent symbols, so
// they are two shades of one hue.
constexpr FieldColor kFieldColors[] = {
    {'H', 0xAAAAAA}, // header and trailer
    {'T', 0xFF6600}, // further field T
    {'t', 0xFF3300},
    {'V', 0xFFDD99}, // further field V
    {'v', 0xFFFF66},
    {'A', 0x99FF99}, // address
    {'a', 0xDDFFDD},
    {'C', 0x9999FF}, // command
    {'c', 0xCCCCFF},
};

// Draws text at the baseline y left of the trace: a long code (34 binary
// digits) gets a smaller font, and what still does not fit ends in an
// ellipsis instead of running into the trace.
void drawFitted(QPainter &painter, int y, const QString &text)
{
    constexpr int kRoom = SignalDisplay::kTraceLeft - 4;
    QFont font(QStringLiteral("Arial"), 8);
    for (int size = 8; size > 5 && QFontMetrics(font).horizontalAdvance(text) > kRoom; --size)
        font.setPointSize(size - 1);
    painter.setFont(font);
    painter.drawText(0, y, QFontMetrics(font).elidedText(text, Qt::ElideRight, kRoom));
}

} // namespace

void SignalDisplay::drawProtocolBox(QPixmap &bar, int n, int recognizerId)
{
    if (bar.isNull())
        return;
    QPainter painter(&bar);
    painter.setBrush(recognizerId < 1 ? QColor(255, 0, 0, 150) : QColor(0, 255, 0, 150));
    // The outline adds one pixel right and below: 42 x 32 pixels in all.
    painter.drawRect(QRect(kBoxPitch * n + 9, 8, 41, 31));
}

void SignalDisplay::drawOscillographRow(QPixmap &picture, int n, const Trace &trace)
{
    if (picture.isNull())
        return;
    const int baseLine = kRowPitch * n + 95; // space level
    const int markLevel = baseLine - 25;
    const int cellBottom = kRowPitch * n + 100;
    const std::int64_t scale = std::max(0, picture.width() - kTraceLeft);
    const std::int64_t span = trace.span > 0 ? trace.span : kDefaultSpan;
    // Anything right of the picture is clipped; holding x there keeps the
    // arithmetic small for any duration.
    const std::int64_t rightEnd = picture.width() + 1;
    const bool recognised = trace.recognizerId > 0;

    QPainter painter(&picture);
    painter.setPen(Qt::black);
    int x = kTraceLeft;
    int previousLevel = baseLine;
    for (int k = 0; k < trace.size && trace.durations[k] != 0; ++k) {
        const int d = trace.durations[k];
        // The sign tells mark from space: a row may start with a space.
        const int level = d > 0 ? markLevel : baseLine;
        const std::int64_t width = std::llabs(std::int64_t(d)) * scale / span;
        const int x2 = static_cast<int>(std::min(rightEnd, x + width));
        if (recognised && trace.cellColors && trace.cellColors[k].isValid())
            painter.fillRect(QRect(x, level, x2 - x, cellBottom - level), trace.cellColors[k]);
        painter.drawLine(x, previousLevel, x, level);
        painter.drawLine(x, level, x2, level);
        x = x2;
        previousLevel = level;
    }
    painter.drawLine(x, previousLevel, x, baseLine);

    if (!recognised)
        return;
    painter.setFont(QFont(QStringLiteral("Arial"), 10));
    painter.setPen(QColor(0xFF, 0x33, 0x33));
    painter.drawText(0, kRowPitch * n + 76, QString::number(trace.recognizerId));
    painter.setPen(Qt::darkGreen);
    drawFitted(painter, kRowPitch * n + 92,
               QCoreApplication::translate("SignalDisplay", "address:") + QLatin1Char(' ') + trace.addressText);
    painter.setPen(Qt::darkBlue);
    drawFitted(painter, kRowPitch * n + 105,
               QCoreApplication::translate("SignalDisplay", "command:") + QLatin1Char(' ') + trace.commandText);
}

QColor SignalDisplay::fieldColor(QChar letter)
{
    for (const FieldColor &f : kFieldColors) {
        if (letter == QLatin1Char(f.letter))
            return QColor::fromRgb(f.rgb);
    }
    return QColor();
}

void SignalDisplay::colorFields(QColor *cells, int count, const QString &pattern)
{
    const int n = std::min(count, static_cast<int>(pattern.size()));
    for (int k = 0; k < n; ++k) {
        const QColor c = fieldColor(pattern.at(k));
        if (c.isValid())
            cells[k] = c;
    }
}
