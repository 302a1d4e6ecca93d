#include "catalogue/RCSearchTableView.h"

#include "catalogue/BoundedTextDelegate.h"

RCSearchTableView::RCSearchTableView(QWidget *parent) : QTableView(parent)
{
    setItemDelegate(new BoundedTextDelegate(this));
}

RCSearchTableView::~RCSearchTableView() = default;
