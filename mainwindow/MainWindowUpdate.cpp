// MainWindowImpl: update check at start and the update dialog.
#include "mainwindow/MainWindowImpl.h"

void MainWindowImpl::checkUpdatesAtStart()
{
    // Fetches the server's "config.ini" and offers the update when newer packages exist.
}

void MainWindowImpl::updateProgramDialogOpen()
{
    // Creates and runs the update dialog.
}
