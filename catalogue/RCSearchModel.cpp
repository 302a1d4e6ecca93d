#include "catalogue/RCSearchModel.h"

RCSearchModel::RCSearchModel(QObject *parent, QSqlDatabase db) : QSqlTableModel(parent, db) {}

RCSearchModel::~RCSearchModel() = default;
