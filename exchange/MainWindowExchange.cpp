// MainWindowImpl: import, export and catalogue identifier conversion.
#include "mainwindow/MainWindowImpl.h"

void MainWindowImpl::exportRemote()
{
    // Writes the selected model to an exchange file.
}

void MainWindowImpl::importRemote()
{
    // Imports an exchange file or one of the import-only formats.
}

void MainWindowImpl::convertDB()
{
    // Converts old catalogue identifiers.
}

bool MainWindowImpl::sendDB()
{
    // Writes the user's own unsent models to the export file.
    return false;
}
