#pragma once

#include <QAbstractItemView>
#include <QString>
#include <QVariant>

// The main window's panels read the selected model and remote type from the
// current row of a view, by column, with the display role.
namespace CurrentRow {

// Empty when the view has no current row.
inline QVariant cell(const QAbstractItemView *view, int column)
{
    const QAbstractItemModel *model = view->model();
    const QModelIndex current = view->currentIndex();
    if (!model || !current.isValid())
        return QVariant();
    return model->index(current.row(), column).data(Qt::DisplayRole);
}

inline QString text(const QAbstractItemView *view, int column)
{
    return cell(view, column).toString();
}

// A stored 0 or an empty value reads as false.
inline bool flag(const QAbstractItemView *view, int column)
{
    return cell(view, column).toInt() != 0;
}

} // namespace CurrentRow
