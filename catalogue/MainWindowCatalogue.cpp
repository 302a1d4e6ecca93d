// MainWindowImpl: model list, filters, refresh and keyboard handling.
#include "mainwindow/MainWindowImpl.h"

#include "app/MessageBox.h"
#include "catalogue/CatalogueEdits.h"
#include "catalogue/CatalogueRead.h"
#include "catalogue/CatalogueLists.h"
#include "catalogue/KeyReleaseForwarder.h"
#include "catalogue/ModelFilter.h"
#include "catalogue/RCModelsModel.h"

#include <QApplication>
#include <QCompleter>
#include <QDebug>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QSqlError>
#include <QStringListModel>

namespace {

// A case-insensitive completer over items, owned by parent.
QCompleter *listCompleter(QObject *parent, const QStringList &items, int visibleItems)
{
    auto *completer = new QCompleter(parent);
    completer->setMaxVisibleItems(visibleItems);
    completer->setModel(new QStringListModel(items, completer));
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    return completer;
}

} // namespace

void MainWindowImpl::keyPressEvent(QKeyEvent *e)
{
    lastKey = e->key();
}

void MainWindowImpl::keyReleaseEvent(QKeyEvent *e)
{
    const QWidget *focus = QApplication::focusWidget();
    const int key = e->key();
    const bool upOrDown = key == Qt::Key_Up || key == Qt::Key_Down;
    if (focus == ModelsTV) {
        // The view has already moved its current row on the press.
        if (upOrDown)
            refreshRC();
        else if (key == Qt::Key_Delete)
            deleteRemoteControl();
    } else if (focus == RCTypesTV) {
        if (upOrDown)
            refreshRC();
    } else if (focus == KeysTV) {
        if (upOrDown)
            refreshID();
        else if (key == Qt::Key_Delete)
            deleteCurrentKey();
    } else if (focus == brandLineEdit) {
        setFilters();
    } else if (focus == modelLineEdit) {
        // Typing is consumed by the field; only a key whose press reached the
        // window (such as Return) filters.
        const bool filter = key == lastKey;
        lastKey = 0;
        if (filter)
            setFilters();
    }
}

void MainWindowImpl::deleteCurrentKey()
{
    clearStatus();
    const int row = KeysTV->currentIndex().row();
    if (!KeysTV->model() || row < 0)
        return;
    const QAbstractItemModel *keys = KeysTV->model();
    const QVariant rcid = keys->index(row, 0).data();
    const QVariant nkey = keys->index(row, 4).data();
    const QVariant typeId = RCTypesTV->model() ? RCTypesTV->model()->index(RCTypesTV->currentIndex().row(), 0).data()
                                               : QVariant();

    const CatalogueEdits::Result result = CatalogueEdits::deleteKey(QSqlDatabase::database(), rcid, nkey, typeId);
    switch (result.status) {
    case CatalogueEdits::Status::Refused:
        MessageBox::critical(nullptr, tr("information"), tr("cannot delete key from FACTORY database."));
        return;
    case CatalogueEdits::Status::Failed:
        MessageBox::warning(this, tr("information"), tr("The key could not be deleted.\n%1").arg(result.error));
        return;
    case CatalogueEdits::Status::Written:
    case CatalogueEdits::Status::NotFound: // already gone: show the list as it is
    case CatalogueEdits::Status::Unchanged:
        break;
    }
    refreshKeys();
    KeysTV->selectRow(row > 0 ? row - 1 : 0);
    refreshChangerPicture();
}

void MainWindowImpl::refreshModels()
{
    ModelFilter::Panel panel;
    panel.database = comboBoxDatabase->currentIndex();
    panel.brand = brandLineEdit->text();
    panel.types = comboBoxType->currentText();
    panel.model = modelLineEdit->text();
    panel.rcid = rcidLineEdit->text();
    panel.link = linkLineEdit->text();
    panel.advancedFilter = advancedFilter;
    panel.showHidden = showHidden;
    panel.showHidden1 = showHidden1;
    QString error;
    const QString brand = ModelFilter::brandValue(panel.brand);
    if (!brand.isEmpty()
        && !ModelFilter::brandSpellings(QSqlDatabase::database(), brand, &panel.brandSpellings, &error)) {
        MessageBox::warning(this, tr("Catalogue"), CatalogueRead::message(error));
        return;
    }
    if (!installModelList(ModelFilter::filter(panel), &error))
        MessageBox::warning(this, tr("Catalogue"), CatalogueRead::message(error));
}

bool MainWindowImpl::installModelList(const QString &filter, QString *error)
{
    RCModelsModel *previous = modelsModel;
    QItemSelectionModel *previousSelection = ModelsTV->selectionModel();

    // A locked catalogue would make the table set-up and the select wait
    // for the lock one after the other; ask once.
    if (previous && !CatalogueRead::readable(QSqlDatabase::database(), error))
        return false;
    auto *next = new RCModelsModel(ModelsTV);
    next->setTable(QStringLiteral("rcmodels"));
    next->setFilter(filter);
    next->setEditStrategy(QSqlTableModel::OnManualSubmit);
    // Rows are fetched as the list is scrolled, so a large catalogue shows its
    // first rows at once.
    const bool selected = next->select();
    if (!selected && previous) {
        // A list that could not be read (the catalogue locked or damaged)
        // would show as empty, without even its headers: keep the old one.
        if (error)
            *error = next->lastError().text();
        delete next;
        return false;
    }
    modelsModel = next;
    if (!selected && error)
        *error = modelsModel->lastError().text();

    ModelsTV->setModel(modelsModel);
    ModelsTV->setSelectionBehavior(QAbstractItemView::SelectRows);
    modelsModel->setHeaderData(1, Qt::Horizontal, tr("Brand"));
    modelsModel->setHeaderData(2, Qt::Horizontal, tr("Type"));
    modelsModel->setHeaderData(3, Qt::Horizontal, tr("Model"));
    ModelsTV->selectRow(0);

    // Each rebuild replaces the list; the replaced model and its selection
    // would otherwise pile up under the view for as long as the window lives.
    if (previous && previous != modelsModel && previous->parent() == ModelsTV)
        previous->deleteLater();
    if (previousSelection && previousSelection != ModelsTV->selectionModel())
        previousSelection->deleteLater();
    return selected;
}

void MainWindowImpl::refreshRC()
{
    // Every panel below reads the catalogue; while another program holds it
    // locked each would wait in turn. Ask once, and leave the panels as they
    // are when it cannot be read.
    QString error;
    if (!CatalogueRead::readable(QSqlDatabase::database(), &error)) {
        MessageBox::warning(this, tr("Catalogue"), CatalogueRead::message(error));
        return;
    }
    refreshSimpleProgram();
    refreshChangerPosition();
    refreshKeys();
    refreshLinks();
    refreshSameKey();
    refreshChangerPicture();
    refreshImageEnable();
    refreshImageButtons();
}

void MainWindowImpl::setFilters()
{
    // Both steps read the catalogue; while it is locked only one waits.
    QString error;
    if (!CatalogueRead::readable(QSqlDatabase::database(), &error)) {
        MessageBox::warning(this, tr("Catalogue"), CatalogueRead::message(error));
        return;
    }
    refreshModels();
    refreshRC();
}

void MainWindowImpl::removeFilters()
{
    comboBoxDatabase->setCurrentIndex(0);
    brandLineEdit->setText(QString());
    // Empties the text; the check marks stay.
    comboBoxType->setCurrentIndex(-1);
    modelLineEdit->setText(QString());
    rcidLineEdit->setText(QString());
    linkLineEdit->setText(QString());
    setFilters();
}

void MainWindowImpl::refreshBrands()
{
    brandLineEdit->setCompleter(nullptr);
    delete brandCompleter;
    QString error;
    const QStringList brands = CatalogueLists::brands(QSqlDatabase::database(), &error);
    if (!error.isEmpty())
        qDebug() << "brand list:" << error;
    brandCompleter = listCompleter(this, brands, 20);
    brandLineEdit->setCompleter(brandCompleter);
    // While its popup is open the typing goes through the popup, whose key
    // releases would end there; the brand field filters on them all the same.
    KeyReleaseForwarder::install(this, {brandCompleter->popup()}, brandCompleter);
}

void MainWindowImpl::refreshTypes()
{
    comboBoxType->clear();
    delete typeCompleter;
    QString error;
    const QStringList types = CatalogueLists::types(QSqlDatabase::database(), &error);
    if (!error.isEmpty())
        qDebug() << "type list:" << error;
    comboBoxType->addItems(types);
    comboBoxType->setMaxVisibleItems(30);
    // The record dialog attaches it to its type field.
    typeCompleter = listCompleter(this, types, 30);
    typeCompleter->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
}
