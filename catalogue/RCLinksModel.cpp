#include "catalogue/RCLinksModel.h"

RCLinksModel::RCLinksModel(QObject *parent) : WholeListModel<QSqlQueryModel>(parent) {}

RCLinksModel::~RCLinksModel() = default;
