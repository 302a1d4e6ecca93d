#include "app/FittedFont.h"

#include "app/PlainTextLabels.h"
#include "app/ShownText.h"

#include <QEvent>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QtMath>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSizePolicy>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextDocument>
#include <QTextLayout>

namespace FittedFont {

namespace {

const char kLargest[] = "irvantaFittedLargest";
const char kWhole[] = "irvantaWholeText";

// QLineEdit keeps this much room on each side of its text inside the
// contents rectangle (and the cursor takes one pixel).
constexpr int kLineEditMargin = 2;

// A label's code that does not fit even at the smallest size is drawn as its
// start and an ellipsis, in the label's place and alignment: drawn whole, a
// centred label would cut it at both ends, and what is left looks like a
// whole, different code. The label's text stays the whole code.
bool paintCut(QLabel *label)
{
    const QString text = label->text();
    const QString start =
        label->fontMetrics().elidedText(ShownText::bounded(text), Qt::ElideRight, textRoom(label));
    if (start == text)
        return false;
    const int margin = label->margin();
    const QRect rect = label->contentsRect().adjusted(margin, margin, -margin, -margin);
    QPainter painter(label);
    label->style()->drawItemText(&painter, rect, QStyle::visualAlignment(label->layoutDirection(), label->alignment()),
                                 label->palette(), label->isEnabled(), start, label->foregroundRole());
    return true;
}

class Refitter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            refit(static_cast<QWidget *>(watched));
        if (event->type() == QEvent::Paint) {
            if (auto *label = qobject_cast<QLabel *>(watched))
                return paintCut(label);
        }
        return false;
    }
};

qreal pointsOf(const QFont &font)
{
    // A font given in pixels has no point size of its own.
    return font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
}

void install(QWidget *widget)
{
    widget->setProperty(kLargest, pointsOf(widget->font()));
    widget->installEventFilter(new Refitter(widget));
}


// A label or line edit shows the bounded start of a long text and keeps the
// whole one beside it, as long as what it shows is that start.
template <typename Widget>
void setShownText(Widget *widget, const QString &text)
{
    const QString shown = ShownText::bounded(text);
    widget->setProperty(kWhole, shown == text ? QVariant() : QVariant(text));
    widget->setText(shown);
}

template <typename Widget>
QString wholeText(const Widget *widget)
{
    const QVariant whole = widget->property(kWhole);
    if (whole.isValid() && ShownText::bounded(whole.toString()) == widget->text())
        return whole.toString();
    return widget->text();
}

} // namespace

int widthOf(const QFont &font, const QString &whole)
{
    // Measured as item views and labels lay text out (glyphs at fractional
    // positions), rounded up, with a pixel to spare.
    const QString text = ShownText::bounded(whole);
    QTextLayout layout(text, font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    qreal width = 0;
    if (line.isValid()) {
        line.setLineWidth(1e6);
        width = line.naturalTextWidth();
    }
    layout.endLayout();
    return qCeil(qMax(width, QFontMetricsF(font).horizontalAdvance(text))) + 1;
}

QFont fit(QFont base, const QString &text, int room, qreal largest, qreal smallest)
{
    qreal points = largest;
    base.setPointSizeF(points);
    while (points - 1 >= smallest && widthOf(base, text) > room) {
        points -= 1;
        base.setPointSizeF(points);
    }
    if (points > smallest && widthOf(base, text) > room)
        base.setPointSizeF(smallest);
    return base;
}

int textRoom(const QLabel *label)
{
    return label->contentsRect().width() - 2 * label->margin() - qMax(0, label->indent());
}

int textRoom(const QLineEdit *edit)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->rect();
    option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    if (edit->isReadOnly())
        option.state |= QStyle::State_ReadOnly;
    option.features = QStyleOptionFrame::None;
    const QRect contents =
        edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit).marginsRemoved(edit->textMargins());
    return contents.width() - 2 * kLineEditMargin - 1;
}

void keepWhole(QLabel *label)
{
    // The label fits its text into the width the layout gives it; were that
    // width taken from the text, a long code would widen its column and move
    // the window's layout about.
    QSizePolicy policy = label->sizePolicy();
    policy.setHorizontalPolicy(QSizePolicy::Ignored);
    label->setSizePolicy(policy);
    install(label);
    refit(label);
}

void keepWhole(QLineEdit *edit)
{
    install(edit);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit] { refit(edit); });
    refit(edit);
}

void setText(QLabel *label, const QString &text)
{
    setShownText(label, text);
}

QString text(const QLabel *label)
{
    return wholeText(label);
}

void setText(QLineEdit *edit, const QString &text)
{
    setShownText(edit, text);
}

QString text(const QLineEdit *edit)
{
    return wholeText(edit);
}

void keepRoomFor(QLabel *label, const QString &sample)
{
    QFont smallest = label->font();
    smallest.setPointSizeF(kSmallestPoints);
    // What the label keeps around its text does not depend on its width.
    label->setMinimumWidth(widthOf(smallest, sample) + label->width() - textRoom(label));
}

void refit(QWidget *widget)
{
    const QVariant largest = widget->property(kLargest);
    if (!largest.isValid())
        return;
    QString text;
    int room = 0;
    auto *edit = qobject_cast<QLineEdit *>(widget);
    auto *label = qobject_cast<QLabel *>(widget);
    if (edit) {
        text = edit->text();
        room = textRoom(edit);
    } else if (label) {
        text = label->text();
        room = textRoom(label);
    } else {
        return;
    }
    const QFont font = fit(widget->font(), text, room, largest.toReal());
    if (font != widget->font())
        widget->setFont(font);
    const bool whole = widthOf(font, text) <= room;
    // The whole text stays within reach when even the smallest size cuts it;
    // as plain text, since a code from an import file is not markup.
    widget->setToolTip(whole ? QString() : plainTextTip(ShownText::bounded(text), Qt::WhiteSpaceNoWrap));
    // QLineEdit scrolls a text that is cut to its end; a code is read from the start.
    if (edit && !whole && edit->isReadOnly())
        edit->setCursorPosition(0);
}

} // namespace FittedFont
