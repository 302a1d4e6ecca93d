#pragma once

#include <QResizeEvent>
#include <QTableView>

// The remote-type list (RCTypesTV): only the type names are shown.
class RCTypesTableView : public QTableView
{
    Q_OBJECT
public:
    explicit RCTypesTableView(QWidget *parent = nullptr);
    ~RCTypesTableView() override;

    void setModel(QAbstractItemModel *model) override;
    void applyColumnLayout();
    // Width at which every type name shows whole beside the scroll bar.
    int widthForNames() const;

private slots:
    void resizeEvent(QResizeEvent *e) override;
};
