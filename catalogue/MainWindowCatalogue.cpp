// MainWindowImpl: model list, filters, refresh and keyboard handling.
#include "mainwindow/MainWindowImpl.h"

#include "app/MessageBox.h"
#include "app/ShownText.h"
#include "catalogue/CatalogueEdits.h"
#include "catalogue/CatalogueRead.h"
#include "catalogue/CatalogueLists.h"
#include "catalogue/KeyReleaseForwarder.h"
#include "catalogue/ModelFilter.h"
#include "catalogue/RCModelsModel.h"
#include "catalogue/RCTypesModel.h"
#include "catalogue/RemoteTypeQuery.h"
#include "catalogue/ReplaceModel.h"

#include <QApplication>
#include <QCompleter>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QSqlError>
#include <QStringListModel>

#include <utility>

namespace {

// Completions are matched and inserted whole; the popup shows and measures
// at most a screen's worth of each, since a brand can be megabytes long.
class CompletionModel : public QStringListModel
{
public:
    using QStringListModel::QStringListModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const QVariant value = QStringListModel::data(index, role);
        return role == Qt::DisplayRole ? QVariant(ShownText::bounded(value.toString())) : value;
    }
};

// A case-insensitive completer over items, owned by parent.
QCompleter *listCompleter(QObject *parent, const QStringList &items, int visibleItems)
{
    auto *completer = new QCompleter(parent);
    completer->setMaxVisibleItems(visibleItems);
    completer->setModel(new CompletionModel(items, completer));
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
    panel.types = comboBoxType->filterText();
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
        tellCatalogueUnread(error);
        return;
    }
    if (!installModelList(ModelFilter::filter(panel), &error))
        tellCatalogueUnread(error);
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
    next->setLateFailureHandler([this](const QString &reason) { listFailedLater(ModelsTV, reason); });
    // Rows are fetched as the list is scrolled, so a large catalogue shows its
    // first rows at once. A select that fails part-way leaves the list empty.
    const bool selected = next->select();
    if (!selected && error)
        *error = next->lastError().text();
    if (!selected && previous && CatalogueRead::locked(next->lastError().text())) {
        // A list that could not be read because another program holds the
        // catalogue would show without even its headers: keep the old one.
        delete next;
        return false;
    }
    modelsModel = next;

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

void MainWindowImpl::installTypeList(const QStringList &ids)
{
    auto *model = new RCTypesModel(RCTypesTV);
    model->setLateFailureHandler([this](const QString &reason) { listFailedLater(RCTypesTV, reason); });
    model->setQuery(RemoteTypeQuery::selectTypes(ids));
    RCTypesModel *previous = rcTypesModel;
    rcTypesModel = model;
    replaceModel(RCTypesTV, model, previous);
    RCTypesTV->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Without its types the window offers no keys at all: say why.
    if (model->readFailed())
        tellCatalogueUnread(model->lastError().text());
}

void MainWindowImpl::tellCatalogueUnread(const QString &error)
{
    if (gatheredCatalogueErrors) {
        if (!gatheredCatalogueErrors->contains(error))
            gatheredCatalogueErrors->append(error);
        return;
    }
    MessageBox::warning(this, tr("Catalogue"), CatalogueRead::message(error));
}

void MainWindowImpl::listFailedLater(QAbstractItemView *view, const QString &error)
{
    // Called while the view fetches rows; the box waits until that is done.
    QMetaObject::invokeMethod(
        this,
        [this, view, error] {
            if (view == LinksTV)
                LinksTV->hide(); // an empty list would say the model has no links
            tellCatalogueUnread(error);
            // An emptied model or type list leaves nothing chosen: the panels follow.
            if (view == ModelsTV || view == RCTypesTV)
                refreshRC();
        },
        Qt::QueuedConnection);
}

namespace {

// Selects the first loaded row of view whose column holds value (rows not yet
// fetched are not read: that would wait on the catalogue again).
void selectRowWith(QTableView *view, int column, const QString &value)
{
    const QAbstractItemModel *model = view->model();
    if (!model)
        return;
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, column).data().toString() == value) {
            view->selectRow(row);
            return;
        }
    }
    // The row is gone from the list: nothing chosen rather than another one.
    view->selectionModel()->clear();
}

} // namespace

void MainWindowImpl::selectShownRows()
{
    selectRowWith(ModelsTV, 0, shownRcid);
    selectRowWith(RCTypesTV, 0, shownTypeId);
}

void MainWindowImpl::refreshRC()
{
    // Every panel below reads the catalogue; while another program holds it
    // locked each would wait in turn. Ask once, and leave the panels as they
    // are when it cannot be read.
    QString error;
    if (!CatalogueRead::readable(QSqlDatabase::database(), &error)) {
        // The panels stay on what they show; so does the choice in the lists.
        selectShownRows();
        MessageBox::warning(this, tr("Catalogue"), CatalogueRead::message(error));
        return;
    }
    // A damaged part of the catalogue fails in several panels at once: one box.
    QStringList failures;
    QStringList *outer = std::exchange(gatheredCatalogueErrors, &failures);
    refreshSimpleProgram();
    refreshChangerPosition();
    refreshKeys();
    refreshLinks();
    refreshSameKey();
    refreshChangerPicture();
    refreshImageEnable();
    refreshImageButtons();
    gatheredCatalogueErrors = outer;
    for (const QString &failure : std::as_const(failures))
        tellCatalogueUnread(failure);
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
        tellCatalogueUnread(error); // some brands missing from the completion would pass for none
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
        tellCatalogueUnread(error); // the type box would offer some of the types as all of them
    comboBoxType->addWholeItems(types);
    comboBoxType->setMaxVisibleItems(30);
    // The record dialog attaches it to its type field.
    typeCompleter = listCompleter(this, types, 30);
    typeCompleter->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
}
