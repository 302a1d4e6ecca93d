#include "catalogue/RCModelsTableView.h"

#include "app/MessageBox.h"
#include "catalogue/BoundedTextDelegate.h"
#include "catalogue/CatalogueEdits.h"
#include "catalogue/ColumnWidths.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSqlTableModel>

RCModelsTableView::RCModelsTableView(QWidget *parent) : QTableView(parent)
{
    setItemDelegate(new BoundedTextDelegate(this));
    connect(this, &QAbstractItemView::clicked, this, &RCModelsTableView::refreshEditing);
}

RCModelsTableView::~RCModelsTableView() = default;

void RCModelsTableView::setModel(QAbstractItemModel *model)
{
    QTableView::setModel(model);
    applyColumnLayout();
}

void RCModelsTableView::resizeEvent(QResizeEvent *e)
{
    QTableView::resizeEvent(e);
    applyColumnLayout();
}

void RCModelsTableView::applyColumnLayout()
{
    const ColumnWidths::Names widths = ColumnWidths::modelList(width(), verticalScrollBar()->width());
    setColumnWidth(1, widths.side);
    setColumnWidth(2, widths.type);
    setColumnWidth(3, widths.side);
    setColumnHidden(0, true);
    for (int column = 4; column < 20; ++column)
        setColumnHidden(column, true);
    setAlternatingRowColors(true);
    setGridStyle(Qt::NoPen);
}

void RCModelsTableView::refreshEditing()
{
    if (!model())
        return;
    const QString author = model()->index(currentIndex().row(), 6).data().toString();
    // A factory record with an author stays as delivered.
    setEditTriggers(author.isEmpty() ? QAbstractItemView::DoubleClicked : QAbstractItemView::NoEditTriggers);
}

void RCModelsTableView::showStoredRow(QSqlTableModel *model, int row)
{
    if (model->selectRow(row))
        return;
    // The row could not be read back: at least drop the edit the catalogue did not take.
    for (int column = 0; column < model->columnCount(); ++column) {
        if (model->isDirty(model->index(row, column))) {
            model->revertRow(row);
            return;
        }
    }
}

bool RCModelsTableView::writeBack(QAbstractItemView *view, bool *busy, const QModelIndex &topLeft,
                                  const QModelIndex &bottomRight,
                                  const std::function<CatalogueEdits::Result(QSqlTableModel *, const QModelIndex &)> &write)
{
    auto *table = qobject_cast<QSqlTableModel *>(view->model());
    const QModelIndex current = view->currentIndex();
    const int row = current.row();
    if (*busy || !table || row < 0 || row < topLeft.row() || row > bottomRight.row())
        return false;

    *busy = true;
    const CatalogueEdits::Result result = write(table, current);
    showStoredRow(table, row);
    *busy = false;

    if (result.status == CatalogueEdits::Status::Failed)
        MessageBox::warning(view, tr("Catalogue"), tr("The change could not be saved.\n%1").arg(result.error));
    return result.status == CatalogueEdits::Status::Written;
}

void RCModelsTableView::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                                    const QList<int> &roles)
{
    QTableView::dataChanged(topLeft, bottomRight, roles);
    const bool written =
        writeBack(this, &m_writingBack, topLeft, bottomRight, [](QSqlTableModel *table, const QModelIndex &current) {
            const int row = current.row();
            return CatalogueEdits::updateModelNames(
                table->database(), table->index(row, 0).data().toString(), table->index(row, 1).data().toString(),
                table->index(row, 2).data().toString(), table->index(row, 3).data().toString());
        });
    if (written)
        emit modelEdited();
}
