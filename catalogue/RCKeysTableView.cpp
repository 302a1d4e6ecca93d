#include "catalogue/RCKeysTableView.h"

#include "app/CheckedFile.h"
#include "app/FittedFont.h"
#include "catalogue/BoundedTextDelegate.h"
#include "catalogue/CatalogueEdits.h"
#include "catalogue/ColumnWidths.h"
#include "catalogue/FittedTextDelegate.h"
#include "catalogue/RCModelsTableView.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSettings>
#include <QSqlTableModel>

#include <algorithm>

RCKeysTableView::RCKeysTableView(QWidget *parent) : QTableView(parent)
{
    setItemDelegate(new BoundedTextDelegate(this));
    connect(this, &QAbstractItemView::clicked, this, &RCKeysTableView::refreshEditing);
    // Codes and names get a smaller font where the list is narrow.
    auto *fitted = new FittedTextDelegate(this);
    setItemDelegateForColumn(2, fitted);
    setItemDelegateForColumn(3, fitted);
}

RCKeysTableView::~RCKeysTableView() = default;

void RCKeysTableView::setModel(QAbstractItemModel *model)
{
    QTableView::setModel(model);
    // The code column follows the codes the list holds (edits arrive
    // through dataChanged below).
    if (model) {
        connect(model, &QAbstractItemModel::modelReset, this, &RCKeysTableView::measureTexts);
        connect(model, &QAbstractItemModel::layoutChanged, this, &RCKeysTableView::measureTexts);
        connect(model, &QAbstractItemModel::rowsInserted, this, &RCKeysTableView::measureTexts);
    }
    measureTexts();
}

void RCKeysTableView::resizeEvent(QResizeEvent *e)
{
    QTableView::resizeEvent(e);
    applyColumnLayout();
}

void RCKeysTableView::changeEvent(QEvent *e)
{
    QTableView::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange)
        measureTexts();
}

void RCKeysTableView::measureTexts()
{
    QFont smallest = font();
    smallest.setPointSizeF(FittedFont::kSmallestPoints);
    m_codeNeeds = longestWidth(3, smallest);
    m_nameNeeds = longestWidth(2, smallest);
    applyColumnLayout();
}

void RCKeysTableView::applyColumnLayout()
{
    const ColumnWidths::Keys widths = ColumnWidths::widenForCodes(
        ColumnWidths::keyList(width(), verticalScrollBar()->width(), verticalHeader()->width()), m_codeNeeds,
        m_nameNeeds);
    setColumnWidth(3, widths.id);
    setColumnWidth(2, widths.name);
    for (int column : {0, 1, 4})
        setColumnHidden(column, true);
    setAlternatingRowColors(true);
    setGridStyle(Qt::NoPen);
}

int RCKeysTableView::longestWidth(int column, const QFont &font) const
{
    const QAbstractItemModel *keys = model();
    if (!keys)
        return 0;
    int widest = 0;
    for (int row = 0; row < keys->rowCount(); ++row)
        widest = std::max(widest, FittedFont::widthOf(font, keys->index(row, column).data().toString()));
    if (widest == 0)
        return 0;
    // The item view's margin on both sides of a cell's text, and the grid
    // line the cell leaves out even when it is drawn with no pen.
    return widest + 2 * FittedTextDelegate::cellTextMargin(this) + (showGrid() ? 1 : 0);
}

void RCKeysTableView::refreshEditing() {}

void RCKeysTableView::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles)
{
    QTableView::dataChanged(topLeft, bottomRight, roles);
    measureTexts();
    RCModelsTableView::writeBack(
        this, &m_writingBack, topLeft, bottomRight, [](QSqlTableModel *table, const QModelIndex &current) {
            bool write = current.column() == 2;
            if (current.column() == 3) {
                // Read at each edit: the setting may be changed while the program runs.
                const auto settings = CheckedFile::settings(QStringLiteral("config.ini"));
                write = settings->value(QStringLiteral("Debug/allowChangeKeyID"), false).toBool();
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
