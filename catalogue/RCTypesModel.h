#pragma once

#include <QSqlQueryModel>

// The remote-type list: the offered rows of "rctypes".
class RCTypesModel : public QSqlQueryModel
{
    Q_OBJECT
public:
    explicit RCTypesModel(QObject *parent = nullptr);
    ~RCTypesModel() override;
};
