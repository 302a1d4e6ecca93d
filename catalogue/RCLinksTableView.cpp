#include "catalogue/RCLinksTableView.h"

#include "catalogue/BoundedTextDelegate.h"
#include "catalogue/ColumnWidths.h"

#include <QScrollBar>

RCLinksTableView::RCLinksTableView(QWidget *parent) : QTableView(parent)
{
    setItemDelegate(new BoundedTextDelegate(this));
}

RCLinksTableView::~RCLinksTableView() = default;

void RCLinksTableView::setModel(QAbstractItemModel *model)
{
    QTableView::setModel(model);
    applyColumnLayout();
}

void RCLinksTableView::resizeEvent(QResizeEvent *e)
{
    QTableView::resizeEvent(e);
    applyColumnLayout();
}

void RCLinksTableView::applyColumnLayout()
{
    const ColumnWidths::Names widths = ColumnWidths::modelList(width(), verticalScrollBar()->width());
    setColumnWidth(2, widths.type);
    setColumnWidth(1, widths.side);
    setColumnWidth(3, widths.side);
    setColumnHidden(0, true);
    setColumnHidden(4, true);
    setAlternatingRowColors(true);
    setGridStyle(Qt::NoPen);
}
