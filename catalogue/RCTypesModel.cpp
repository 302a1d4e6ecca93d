#include "catalogue/RCTypesModel.h"

RCTypesModel::RCTypesModel(QObject *parent) : WholeListModel<QSqlQueryModel>(parent) {}

RCTypesModel::~RCTypesModel() = default;
