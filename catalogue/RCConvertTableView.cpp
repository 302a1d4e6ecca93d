#include "catalogue/RCConvertTableView.h"

#include "catalogue/BoundedTextDelegate.h"

RCConvertTableView::RCConvertTableView(QWidget *parent) : QTableView(parent)
{
    setItemDelegate(new BoundedTextDelegate(this));
}

RCConvertTableView::~RCConvertTableView() = default;
