#include "catalogue/RCKeysTableView.h"

#include "catalogue/CatalogueEdits.h"
#include "catalogue/ColumnWidths.h"
#include "catalogue/RCModelsTableView.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSettings>
#include <QSqlTableModel>

RCKeysTableView::RCKeysTableView(QWidget *parent) : QTableView(parent)
{
    connect(this, &QAbstractItemView::clicked, this, &RCKeysTableView::refreshEditing);
}

RCKeysTableView::~RCKeysTableView() = default;

void RCKeysTableView::setModel(QAbstractItemModel *model)
{
    QTableView::setModel(model);
    applyColumnLayout();
}

void RCKeysTableView::resizeEvent(QResizeEvent *e)
{
    QTableView::resizeEvent(e);
    applyColumnLayout();
}

void RCKeysTableView::applyColumnLayout()
{
    const ColumnWidths::Keys widths =
        ColumnWidths::keyList(width(), verticalScrollBar()->width(), verticalHeader()->width());
    setColumnWidth(3, widths.id);
    setColumnWidth(2, widths.name);
    for (int column : {0, 1, 4})
        setColumnHidden(column, true);
    setAlternatingRowColors(true);
    setGridStyle(Qt::NoPen);
}

void RCKeysTableView::refreshEditing() {}

void RCKeysTableView::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles)
{
    QTableView::dataChanged(topLeft, bottomRight, roles);
    RCModelsTableView::writeBack(
        this, &m_writingBack, topLeft, bottomRight, [](QSqlTableModel *table, const QModelIndex &current) {
            bool write = current.column() == 2;
            if (current.column() == 3) {
                // Read at each edit: the setting may be changed while the program runs.
                const QSettings settings(QStringLiteral("config.ini"), QSettings::IniFormat);
                write = settings.value(QStringLiteral("Debug/allowChangeKeyID"), false).toBool();
            }
            if (!write)
                return CatalogueEdits::Result{CatalogueEdits::Status::Unchanged, QString()};
            const int row = current.row();
            return CatalogueEdits::updateKey(table->database(), table->index(row, 0).data(),
                                             table->index(row, 1).data(), table->index(row, 4).data(),
                                             table->index(row, 2).data().toString(),
                                             table->index(row, 3).data().toString());
        });
}
