#include "catalogue/RCKeysModel.h"

#include "catalogue/RCModelsModel.h"

RCKeysModel::RCKeysModel(QObject *parent, QSqlDatabase db) : WholeListModel<QSqlTableModel>(parent, db)
{
    setEditStrategy(QSqlTableModel::OnManualSubmit);
}

RCKeysModel::~RCKeysModel() = default;

void RCKeysModel::setTable(const QString &tableName)
{
    WholeListModel<QSqlTableModel>::setTable(tableName);
    if (primaryKey().isEmpty())
        setPrimaryKey(RCModelsModel::keyIndex(
            record(), {QStringLiteral("Rcid"), QStringLiteral("RCTypeId"), QStringLiteral("Nkey")}));
}
