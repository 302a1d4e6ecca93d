#pragma once

#include <QSqlDatabase>
#include <QSqlTableModel>

// A table model on the catalogue connection, kept for the key search.
class RCSearchModel : public QSqlTableModel
{
    Q_OBJECT
public:
    explicit RCSearchModel(QObject *parent = nullptr, QSqlDatabase db = QSqlDatabase());
    ~RCSearchModel() override;
};
