#include "catalogue/RCLinksModel.h"

RCLinksModel::RCLinksModel(QObject *parent) : QSqlQueryModel(parent) {}

RCLinksModel::~RCLinksModel() = default;
