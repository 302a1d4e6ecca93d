#pragma once

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QItemSelectionModel>

// Sets a new model on a view; the view's old selection model, which setModel
// leaves behind as its child, goes with the old model.
inline void replaceModel(QAbstractItemView *view, QAbstractItemModel *model, QAbstractItemModel *previous)
{
    QItemSelectionModel *oldSelection = view->selectionModel();
    view->setModel(model);
    if (oldSelection && oldSelection != view->selectionModel())
        oldSelection->deleteLater();
    if (previous && previous != model)
        previous->deleteLater();
}
