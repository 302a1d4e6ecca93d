#include "catalogue/RCModelsModel.h"

#include <QSqlField>
#include <QSqlRecord>

RCModelsModel::RCModelsModel(QObject *parent, QSqlDatabase db) : WholeListModel<QSqlTableModel>(parent, db) {}

RCModelsModel::~RCModelsModel() = default;

void RCModelsModel::setTable(const QString &tableName)
{
    WholeListModel<QSqlTableModel>::setTable(tableName);
    if (primaryKey().isEmpty())
        setPrimaryKey(keyIndex(record(), {QStringLiteral("Rcid")}));
}

QSqlIndex RCModelsModel::keyIndex(const QSqlRecord &record, const QStringList &columns)
{
    QSqlIndex index;
    for (const QString &name : columns) {
        if (!record.contains(name))
            return QSqlIndex(); // a table without these columns is read back by whole rows
        index.append(record.field(name));
    }
    return index;
}
