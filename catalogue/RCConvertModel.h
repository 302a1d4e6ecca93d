#pragma once

#include <QSqlQueryModel>

// The conversions offered for the selected model's keys ("rcconvert").
class RCConvertModel : public QSqlQueryModel
{
    Q_OBJECT
public:
    explicit RCConvertModel(QObject *parent = nullptr);
    ~RCConvertModel() override;
};
