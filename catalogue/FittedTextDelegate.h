#pragma once

#include "catalogue/BoundedTextDelegate.h"

// Draws the key list's codes and names whole where the list is narrow: a
// text that does not fit is drawn in a smaller font (down to FittedFont's
// smallest); only then is it cut, and its tooltip carries the whole text (or,
// past what a screen can show, its start).
class FittedTextDelegate : public BoundedTextDelegate
{
    Q_OBJECT
public:
    using BoundedTextDelegate::BoundedTextDelegate;

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

    // Pixels an item view's style keeps free on each side of a cell's text.
    static int cellTextMargin(const QWidget *view);

protected:
    // option->rect is the cell the code is drawn in.
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    static int textRoom(const QStyleOptionViewItem &option);
};
