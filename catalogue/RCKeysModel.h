#pragma once

#include <QSqlDatabase>
#include <QSqlTableModel>

#include "catalogue/WholeListModel.h"

// The key list: table "rckeys" filtered to one master and remote type. Edits
// are written by the list's view, which alone decides what may be written
// (a key's code only with "Debug/allowChangeKeyID"), so the model never
// submits them itself. A read that fails part-way leaves the list empty.
class RCKeysModel : public WholeListModel<QSqlTableModel>
{
    Q_OBJECT
public:
    explicit RCKeysModel(QObject *parent = nullptr, QSqlDatabase db = QSqlDatabase());
    ~RCKeysModel() override;

    // A key is identified by (Rcid, RCTypeId, Nkey).
    void setTable(const QString &tableName) override;
};
