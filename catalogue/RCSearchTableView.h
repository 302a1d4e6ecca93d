#pragma once

#include <QTableView>

// A plain table view, kept for the key search.
class RCSearchTableView : public QTableView
{
    Q_OBJECT
public:
    explicit RCSearchTableView(QWidget *parent = nullptr);
    ~RCSearchTableView() override;
};
