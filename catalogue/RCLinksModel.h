#pragma once

#include <QSqlQueryModel>

// The links list: the models of one link group (the links query).
class RCLinksModel : public QSqlQueryModel
{
    Q_OBJECT
public:
    explicit RCLinksModel(QObject *parent = nullptr);
    ~RCLinksModel() override;
};
