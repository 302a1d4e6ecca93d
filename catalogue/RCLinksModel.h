#pragma once

#include <QSqlQueryModel>

#include "catalogue/WholeListModel.h"

// The links list: the models of one link group (the links query), all of
// them or none.
class RCLinksModel : public WholeListModel<QSqlQueryModel>
{
    Q_OBJECT
public:
    explicit RCLinksModel(QObject *parent = nullptr);
    ~RCLinksModel() override;
};
