#pragma once

#include <QSqlQueryModel>

#include "catalogue/WholeListModel.h"

// The remote-type list: the offered rows of "rctypes", all of them or none.
class RCTypesModel : public WholeListModel<QSqlQueryModel>
{
    Q_OBJECT
public:
    explicit RCTypesModel(QObject *parent = nullptr);
    ~RCTypesModel() override;
};
