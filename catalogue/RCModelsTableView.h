#pragma once

#include <QResizeEvent>
#include <QTableView>

class QSqlTableModel;

// The model list (ModelsTV). Lays out its columns on every resize and when a
// model is set; writes an in-place edit of Brand, Type or Model straight to
// the catalogue and then shows the row as stored.
class RCModelsTableView : public QTableView
{
    Q_OBJECT
public:
    explicit RCModelsTableView(QWidget *parent = nullptr);
    ~RCModelsTableView() override;

    void setModel(QAbstractItemModel *model) override;
    void applyColumnLayout();

    // Shows row of model as the database holds it, dropping any edit the
    // catalogue did not take.
    static void showStoredRow(QSqlTableModel *model, int row);

protected slots:
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;

private slots:
    void refreshEditing();
    void resizeEvent(QResizeEvent *e) override;

private:
    bool m_writingBack = false; // the refresh after a write reports changed data too
};
