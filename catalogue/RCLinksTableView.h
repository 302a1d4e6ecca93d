#pragma once

#include <QResizeEvent>
#include <QTableView>

// The links list (LinksTV): the models of the selected model's link group.
class RCLinksTableView : public QTableView
{
    Q_OBJECT
public:
    explicit RCLinksTableView(QWidget *parent = nullptr);
    ~RCLinksTableView() override;

    void setModel(QAbstractItemModel *model) override;
    void applyColumnLayout();

private slots:
    void resizeEvent(QResizeEvent *e) override;
};
