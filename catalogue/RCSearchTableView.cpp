#include "catalogue/RCSearchTableView.h"

RCSearchTableView::RCSearchTableView(QWidget *parent) : QTableView(parent) {}

RCSearchTableView::~RCSearchTableView() = default;
