#pragma once

#include <QTableView>

// The list of the conversion dialog (convertTV).
class RCConvertTableView : public QTableView
{
    Q_OBJECT
public:
    explicit RCConvertTableView(QWidget *parent = nullptr);
    ~RCConvertTableView() override;
};
