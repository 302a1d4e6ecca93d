// MainWindowImpl: key-sheet printing.
#include "mainwindow/MainWindowImpl.h"

#include "app/MessageBox.h"
#include "catalogue/CurrentRow.h"
#include "printing/KeySheet.h"

#include <QDebug>
#include <QDir>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSqlDatabase>

namespace {

// Columns of the model record in the model list.
enum Column { BrandColumn = 1, TypeColumn = 2, ModelColumn = 3, DocumentationColumn = 4, LinkColumn = 5 };

// The sheet always shows the current rows at the moment of drawing.
KeySheet::Input sheetInput(const MainWindowImpl *w)
{
    KeySheet::Input in;
    in.link = CurrentRow::text(w->ModelsTV, LinkColumn);
    in.brand = CurrentRow::text(w->ModelsTV, BrandColumn);
    in.type = CurrentRow::text(w->ModelsTV, TypeColumn);
    in.model = CurrentRow::text(w->ModelsTV, ModelColumn);
    in.documentation = CurrentRow::text(w->ModelsTV, DocumentationColumn);
    in.typeId = CurrentRow::text(w->RCTypesTV, 0);
    in.customerId = w->customerId;
    in.company = w->company;
    in.address = w->address;
    in.contact = w->contact;
    in.printOnlyFirstImage = w->printOnlyFirstImage;
    return in;
}

bool loadSheet(const MainWindowImpl *w, KeySheet *sheet, QString *error)
{
    return sheet->load(sheetInput(w), QSqlDatabase::database(), QDir::currentPath(), error);
}

// Loads and draws the sheet on printer; false with *error set when nothing
// was printed.
bool drawSheet(const MainWindowImpl *w, QPrinter *printer, QString *error)
{
    KeySheet sheet;
    if (!loadSheet(w, &sheet, error))
        return false;
    if (!sheet.paint(printer)) {
        *error = MainWindowImpl::tr("The key sheet could not be printed.");
        return false;
    }
    return true;
}

// Nothing to print is told before the user chooses a printer or a page.
bool sheetPrintable(MainWindowImpl *w)
{
    KeySheet sheet;
    QString error;
    if (loadSheet(w, &sheet, &error)) {
        for (const QString &skipped : sheet.skippedPhotos())
            w->tellFileNotRead(skipped);
        return true;
    }
    MessageBox::warning(w, MainWindowImpl::tr("Warning"), error);
    return false;
}

void setUpPrinter(const MainWindowImpl *w, QPrinter *printer)
{
    KeySheet::setUpPrinter(printer, CurrentRow::text(w->ModelsTV, BrandColumn),
                           CurrentRow::text(w->ModelsTV, ModelColumn));
}

} // namespace

void MainWindowImpl::print()
{
    clearStatus();
    if (!sheetPrintable(this))
        return;
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(this, &printer);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QString error;
    if (!drawSheet(this, &printer, &error)) {
        MessageBox::warning(this, tr("Warning"), error);
        return;
    }
    // A sheet printed to a file is found where the user said.
    showStatus(printer.outputFileName().isEmpty()
                   ? tr("The key sheet was sent to the printer %1.").arg(printer.printerName())
                   : tr("The key sheet was printed to %1.").arg(QDir::toNativeSeparators(printer.outputFileName())));
}

void MainWindowImpl::previewDialog()
{
    clearStatus();
    if (!sheetPrintable(this))
        return;
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(this, &printer);
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowFlags(preview.windowFlags() & ~Qt::WindowContextHelpButtonHint);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, &MainWindowImpl::paintPreview);
    preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
    preview.exec();
}

void MainWindowImpl::paintPreview(QPrinter *printer)
{
    // The preview dialog calls this while it renders, so a failure is logged
    // here; the slots that open the dialog have told the user already.
    QString error;
    if (!drawSheet(this, printer, &error))
        qWarning().noquote() << "KeySheet:" << error;
}
