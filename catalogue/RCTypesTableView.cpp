#include "catalogue/RCTypesTableView.h"

#include "app/FittedFont.h"
#include "catalogue/BoundedTextDelegate.h"
#include "catalogue/ColumnWidths.h"
#include "catalogue/FittedTextDelegate.h"

#include <QScrollBar>

#include <algorithm>

RCTypesTableView::RCTypesTableView(QWidget *parent) : QTableView(parent)
{
    setItemDelegate(new BoundedTextDelegate(this));
}

RCTypesTableView::~RCTypesTableView() = default;

void RCTypesTableView::setModel(QAbstractItemModel *model)
{
    QTableView::setModel(model);
    applyColumnLayout();
}

void RCTypesTableView::resizeEvent(QResizeEvent *e)
{
    QTableView::resizeEvent(e);
    applyColumnLayout();
}

void RCTypesTableView::applyColumnLayout()
{
    setColumnWidth(1, ColumnWidths::typeList(width(), verticalScrollBar()->width()));
    for (int column : {0, 2, 3})
        setColumnHidden(column, true);
    setAlternatingRowColors(true);
    setGridStyle(Qt::NoPen);
}

int RCTypesTableView::widthForNames() const
{
    int widest = 0;
    if (const QAbstractItemModel *types = model()) {
        for (int row = 0; row < types->rowCount(); ++row)
            widest = std::max(widest, FittedFont::widthOf(font(), types->index(row, 1).data().toString()));
    }
    // The cell's text margins, the scroll bar and the frame.
    return widest + 2 * FittedTextDelegate::cellTextMargin(this) + verticalScrollBar()->sizeHint().width() +
           2 * frameWidth();
}
