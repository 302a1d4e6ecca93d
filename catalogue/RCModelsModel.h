#pragma once

#include <QSqlDatabase>
#include <QSqlIndex>
#include <QSqlTableModel>

#include "catalogue/WholeListModel.h"

// The model list: table "rcmodels" with the filter panel's filter. Edits are
// written by the list's view with its own statement, so the model itself
// never submits them. A read that fails part-way leaves the list empty.
class RCModelsModel : public WholeListModel<QSqlTableModel>
{
    Q_OBJECT
public:
    explicit RCModelsModel(QObject *parent = nullptr, QSqlDatabase db = QSqlDatabase());
    ~RCModelsModel() override;

    // Also makes Rcid the key by which a row is read back, whatever the
    // catalogue declares.
    void setTable(const QString &tableName) override;

    // The index of the named columns of record, for setPrimaryKey().
    static QSqlIndex keyIndex(const QSqlRecord &record, const QStringList &columns);
};
