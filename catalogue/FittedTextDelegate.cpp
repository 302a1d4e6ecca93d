#include "catalogue/FittedTextDelegate.h"

#include "app/FittedFont.h"
#include "app/PlainTextLabels.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>

void FittedTextDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    BoundedTextDelegate::initStyleOption(option, index);
    if (option->text.isEmpty() || option->rect.width() <= 0)
        return;
    const qreal largest = option->font.pointSizeF();
    if (largest <= FittedFont::kSmallestPoints)
        return;
    option->font = FittedFont::fit(option->font, option->text, textRoom(*option), largest);
    option->fontMetrics = QFontMetrics(option->font);
}

int FittedTextDelegate::cellTextMargin(const QWidget *view)
{
    const QStyle *style = view ? view->style() : QApplication::style();
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
}

int FittedTextDelegate::textRoom(const QStyleOptionViewItem &option)
{
    return option.rect.width() - 2 * cellTextMargin(option.widget);
}

bool FittedTextDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                                const QModelIndex &index)
{
    if (event->type() != QEvent::ToolTip)
        return BoundedTextDelegate::helpEvent(event, view, option, index);
    QStyleOptionViewItem fitted = option;
    initStyleOption(&fitted, index);
    if (fitted.text.isEmpty() || FittedFont::widthOf(fitted.font, fitted.text) <= textRoom(fitted)) {
        QToolTip::hideText();
        return true;
    }
    // Plain text: a name or code from an import file is not markup.
    QToolTip::showText(event->globalPos(), plainTextTip(fitted.text, Qt::WhiteSpaceNoWrap), view, view->visualRect(index));
    return true;
}
