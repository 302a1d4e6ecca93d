#pragma once

#include "catalogue/CatalogueEdits.h"

#include <QResizeEvent>
#include <QTableView>

#include <functional>

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

    // The write-back of an in-place edit in a catalogue list: when the view's
    // current row lies in the changed range, write (given the view's table
    // model and current index) stores the edit; then the row is shown as
    // stored, and a failed write is reported. *busy keeps the refresh of the
    // row, which reports changed data too, from writing again. True when the
    // catalogue was changed.
    static bool writeBack(QAbstractItemView *view, bool *busy, const QModelIndex &topLeft,
                          const QModelIndex &bottomRight,
                          const std::function<CatalogueEdits::Result(QSqlTableModel *, const QModelIndex &)> &write);

signals:
    // An in-place edit changed the catalogue: lists that show the same rows
    // elsewhere (the links list) must be read again.
    void modelEdited();

protected slots:
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;

private slots:
    void refreshEditing();
    void resizeEvent(QResizeEvent *e) override;

private:
    bool m_writingBack = false; // the refresh after a write reports changed data too
};
