#include "catalogue/RCTypesModel.h"

RCTypesModel::RCTypesModel(QObject *parent) : QSqlQueryModel(parent) {}

RCTypesModel::~RCTypesModel() = default;
