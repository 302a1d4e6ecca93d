#include "catalogue/RCTypesTableView.h"

#include "catalogue/ColumnWidths.h"

#include <QScrollBar>

RCTypesTableView::RCTypesTableView(QWidget *parent) : QTableView(parent) {}

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
