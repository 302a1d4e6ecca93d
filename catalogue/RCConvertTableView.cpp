#include "catalogue/RCConvertTableView.h"

RCConvertTableView::RCConvertTableView(QWidget *parent) : QTableView(parent) {}

RCConvertTableView::~RCConvertTableView() = default;
