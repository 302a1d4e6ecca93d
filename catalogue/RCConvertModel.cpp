#include "catalogue/RCConvertModel.h"

RCConvertModel::RCConvertModel(QObject *parent) : QSqlQueryModel(parent) {}

RCConvertModel::~RCConvertModel() = default;
