// MainWindowImpl: key search and remote-type conversion.
#include "mainwindow/MainWindowImpl.h"

#include "app/FittedFont.h"
#include "app/MessageBox.h"
#include "catalogue/CatalogueRead.h"
#include "catalogue/CurrentRow.h"
#include "catalogue/RCConvertModel.h"
#include "catalogue/RCModelsModel.h"
#include "search/KeyConversion.h"
#include "search/KeySearchFilter.h"

#include <QDebug>
#include <QHeaderView>
#include <QSqlError>

namespace {

// The search rows' code fields: rows 1 to 20, then X1 and X2.
QList<QLineEdit *> searchEdits(MainWindowImpl *w)
{
    return {w->lineEdit1,  w->lineEdit2,  w->lineEdit3,  w->lineEdit4,  w->lineEdit5,  w->lineEdit6,
            w->lineEdit7,  w->lineEdit8,  w->lineEdit9,  w->lineEdit10, w->lineEdit11, w->lineEdit12,
            w->lineEdit13, w->lineEdit14, w->lineEdit15, w->lineEdit16, w->lineEdit17, w->lineEdit18,
            w->lineEdit19, w->lineEdit20, w->lineEditX1, w->lineEditX2};
}

} // namespace

void MainWindowImpl::search()
{
    QStringList rows;
    for (const QLineEdit *edit : searchEdits(this))
        rows << FittedFont::text(edit);
    QString error;
    const KeySearchFilter::PositionMap positions = KeySearchFilter::readPositions(QSqlDatabase::database(), &error);
    if (!error.isEmpty()) {
        // Without the key positions the search would look for other keys.
        searchFailed(error);
        return;
    }
    const QString filter = KeySearchFilter::filter(rows, rcTypeList, positions);
    qDebug().noquote() << "search:" << filter;
    if (!installModelList(filter, &error)) {
        searchFailed(error);
        return;
    }
    refreshRC();
}

void MainWindowImpl::searchFailed(const QString &error)
{
    // The list shown before (the whole catalogue, often) would read as "every
    // model carries these codes", and a part of the result as all of it: the
    // list is emptied, and the box says that it holds no result.
    if (modelsModel)
        modelsModel->showNone(error);
    appendLog(tr("The search failed: %1").arg(error));
    MessageBox::warning(this, tr("Search"),
                        tr("The search failed: %1").arg(CatalogueRead::message(error)) + QLatin1Char('\n')
                            + tr("The model list is empty until a search or filter can be read."));
    // The panels follow the empty list; while the catalogue is locked they
    // stay on the model whose keys they show.
    if (!CatalogueRead::locked(error))
        refreshRC();
}

void MainWindowImpl::addKeysSearch(int row)
{
    const QString code = FittedFont::text(labelKeyId);
    if (code == QLatin1String("UNKNOWN"))
        return;
    FittedFont::setText(searchEdits(this).at(row), code);
    search();
}

void MainWindowImpl::deleteKeysSearch(int row)
{
    QLineEdit *edit = searchEdits(this).at(row);
    if (edit->text().isEmpty())
        return;
    edit->clear();
    search();
}

void MainWindowImpl::removeSearch()
{
    for (QLineEdit *edit : searchEdits(this))
        edit->clear();
    search();
}

void MainWindowImpl::convertDialogOpen()
{
    RCConvertModel *previous = convertModel;
    QItemSelectionModel *previousSelection = convertDialog.convertTV->selectionModel();
    convertModel = new RCConvertModel(convertDialog.convertTV);
    convertModel->setQuery(KeyConversion::offered(CurrentRow::text(ModelsTV, 5), rcTypesList));
    if (convertModel->lastError().isValid()) {
        MessageBox::warning(this, tr("Converting"), CatalogueRead::message(convertModel->lastError().text()));
        return;
    }
    convertModel->setHeaderData(1, Qt::Horizontal, tr("Description"));

    RCConvertTableView *view = convertDialog.convertTV;
    view->setModel(convertModel);
    view->setColumnWidth(1, view->width() - 20);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int column : {0, 2, 3})
        view->hideColumn(column);
    view->setAlternatingRowColors(true);
    view->setGridStyle(Qt::NoPen);
    view->verticalHeader()->setDefaultSectionSize(20);
    view->show();
    if (previous && previous->parent() == view)
        previous->deleteLater();
    if (previousSelection && previousSelection != view->selectionModel())
        previousSelection->deleteLater();

    convertDialog.setWindowFlags(convertDialog.windowFlags() & ~Qt::WindowContextHelpButtonHint);
    convertDialog.setWindowTitle(tr("Converting"));
    convertDialog.convertButton->setText(tr("Convert"));
    convertDialog.exec();
}

void MainWindowImpl::convertRC()
{
    clearStatus();
    const QVariant link = CurrentRow::cell(ModelsTV, 5);
    const RCConvertTableView *view = convertDialog.convertTV;
    const QVariant convertId = CurrentRow::cell(view, 0);
    const QVariant from = CurrentRow::cell(view, 2);
    const QVariant to = CurrentRow::cell(view, 3);
    if (convertId.toString().isEmpty()) {
        MessageBox::information(this, tr("Information"),
                                tr("Choose a conversion in the list first; nothing was converted."));
        return;
    }
    if (KeyConversion::ontoItself(from, to)) {
        MessageBox::warning(this, tr("Warning"),
                            tr("This conversion has the same remote type as source and target; nothing was "
                               "converted."));
        return;
    }
    if (MessageBox::question(this, tr("Confirm"), tr("Do you really want to convert?"),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;

    const KeyConversion::Result result = KeyConversion::convert(QSqlDatabase::database(), link, convertId, from, to);
    if (result.status == KeyConversion::Status::Failed) {
        // The dialog stays open: the catalogue is as it was, the user may retry.
        MessageBox::critical(this, tr("Error"),
                             tr("The keys were not converted; nothing was changed.\n%1").arg(result.error));
        return;
    }
    convertDialog.close();
    refreshRC();
    showStatus(tr("The keys were converted: the target remote type now holds %n key(s).", nullptr, result.keys));
}
