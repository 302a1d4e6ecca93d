// MainWindowImpl: keys and links panels, the remote-type picture and the layout on resize.
#include "mainwindow/MainWindowImpl.h"

#include "app/Application.h"
#include "app/CheckedPicture.h"
#include "app/MessageBox.h"
#include "app/PlainTextLabels.h"
#include "app/ShownText.h"
#include "catalogue/CatalogueRead.h"
#include "catalogue/CurrentRow.h"
#include "catalogue/DocumentationText.h"
#include "catalogue/KeysPanelRules.h"
#include "catalogue/ModelLinks.h"
#include "catalogue/PictureGeometry.h"
#include "catalogue/RCKeysModel.h"
#include "catalogue/RCLinksModel.h"
#include "catalogue/RemoteTypePicture.h"
#include "catalogue/ReplaceModel.h"
#include "usb/UsbState.h"

#include <QDebug>
#include <QIcon>
#include <QItemSelectionModel>
#include <QPainter>
#include <QResizeEvent>
#include <QSqlDatabase>
#include <QSqlError>

namespace {

// Tab pages of tabWidget by index.
constexpr int kImagesTab = 1;
constexpr int kLinksTab = 2;

// Scaled to fit size keeping the aspect ratio; a missing picture stays empty.
QPixmap fitted(const QPixmap &pixmap, const QSize &size)
{
    return pixmap.isNull() ? QPixmap() : pixmap.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void hideMarker(QLabel *marker)
{
    if (marker)
        marker->move(PictureGeometry::HiddenMarkerX, PictureGeometry::HiddenMarkerY);
}

// What the panel rules go by, but the key count, read from the window.
KeysPanelRules::Input panelInput(const MainWindowImpl *w)
{
    KeysPanelRules::Input in;
    in.rcid = CurrentRow::text(w->ModelsTV, 0);
    in.link = CurrentRow::text(w->ModelsTV, 5);
    in.documentation = CurrentRow::text(w->ModelsTV, 4);
    // Named in tooltips: a name of megabytes by its start.
    in.brand = ShownText::bounded(CurrentRow::text(w->ModelsTV, 1));
    in.model = ShownText::bounded(CurrentRow::text(w->ModelsTV, 3));
    in.typeName = ShownText::bounded(CurrentRow::text(w->RCTypesTV, 1));
    in.own = CurrentRow::flag(w->ModelsTV, 8);
    in.typeId = CurrentRow::cell(w->RCTypesTV, 0).toInt();
    in.showDocumentationIcon = w->showDocumentationIcon;
    in.enableImages = w->enableImages;
    in.enableMakeOwn = w->enableMakeOwn;
    // Looked up without Application::getInstance(), which treats a missing
    // application object as an error: a window in a plain QApplication (tests)
    // simply has no device.
    if (auto *app = qobject_cast<Application *>(QCoreApplication::instance()))
        in.slotInfoValid = app->usb().slotInfoValid.load(std::memory_order_acquire);
    in.deviceRCTypeId = w->deviceRCTypeId;
    in.remoteConnected = w->usbState && !w->usbState->remoteKind().isEmpty();
    QLabel *const simpleModels[] = {w->dev1Model, w->dev2Model, w->dev3Model, w->dev4Model};
    for (size_t i = 0; i < in.simpleModels.size(); ++i)
        in.simpleModels[i] = simpleModels[i]->text();
    return in;
}

// A greyed-out control says why; an empty tooltip gives the action back its name.
void showWhyGreyed(MainWindowImpl *w, const KeysPanelRules &rules)
{
    // The reasons name the model and the type, which are catalogue text.
    w->actionUSBProgramm->setToolTip(
        w->actionUSBProgramm->isEnabled() ? QString() : plainToolTip(rules.usbProgramWhy));
    w->buttonSimpleUSBProgramm->setToolTip(plainToolTip(rules.simpleProgramWhy));
    for (QPushButton *add : {w->dev1Add, w->dev2Add, w->dev3Add, w->dev4Add})
        add->setToolTip(plainToolTip(rules.simpleAddWhy));
}

} // namespace

void MainWindowImpl::resizeEvent(QResizeEvent *e)
{
    Q_UNUSED(e);
    formResize();
}

void MainWindowImpl::refreshKeys()
{
    KeysPanelRules::Input in = panelInput(this);

    // Formatted only as rebuilt markup that fetches nothing and lays out at
    // once; anything else as plain text.
    const DocumentationText::Shown documentation =
        DocumentationText::forDisplay(in.documentation, DocumentationText::kMaxLabelChars);
    documentationLabel->setTextFormat(documentation.rich ? Qt::RichText : Qt::PlainText);
    documentationLabel->setText(documentation.text);

    // The keys of a group live under its link master.
    RCKeysModel *previous = keysModel;
    QString error;
    if (previous && !CatalogueRead::readable(QSqlDatabase::database(), &error)) {
        // Setting up the table and selecting would each wait for the lock.
        // The panels stay on their model, and so does the lists' choice.
        selectShownRows();
        MessageBox::warning(this, tr("Catalogue"), CatalogueRead::message(error));
        return;
    }
    auto *next = new RCKeysModel(KeysTV);
    next->setTable(QStringLiteral("rckeys"));
    next->setFilter(KeysPanelRules::keysFilter(in.link, in.typeId));
    next->setLateFailureHandler([this](const QString &reason) { listFailedLater(KeysTV, reason); });
    if (!next->select()) {
        const QString reason = next->lastError().text();
        if (previous && CatalogueRead::locked(reason)) {
            // An unread list would show empty and without headers, as if the
            // model had no keys: the old list stays, with its model chosen.
            selectShownRows();
            MessageBox::warning(this, tr("Catalogue"), CatalogueRead::message(reason));
            delete next;
            return;
        }
        // Part of the keys would pass for all of them: the list stays empty.
        tellCatalogueUnread(reason);
    }
    keysModel = next;
    shownRcid = in.rcid;
    shownLink = in.link;
    shownTypeId = CurrentRow::text(RCTypesTV, 0);
    replaceModel(KeysTV, keysModel, previous);
    keysModel->setHeaderData(2, Qt::Horizontal, tr("Name"), Qt::EditRole);
    keysModel->setHeaderData(3, Qt::Horizontal, tr("ID"), Qt::EditRole);
    in.keyCount = keysModel->rowCount();

    const KeysPanelRules rules = KeysPanelRules::evaluate(in);
    tabWidget->setTabIcon(kLinksTab, rules.documentationIcon ? QIcon(QStringLiteral(":/Icons/check.png"))
                                                             : QIcon(QString()));
    labelPicture->busy = rules.busy;
    actionPrint->setEnabled(rules.print);
    actionDeleteRemoteControl->setEnabled(rules.deleteModel);
    pushButtonAdd->setEnabled(rules.imageButtons);
    pushButtonDelete->setEnabled(rules.imageButtons);
    actionEditRemoteControl->setEnabled(rules.editModel);
    actionNewRemoteControlLink->setEnabled(rules.newLink);
    actionConvertRemoteControl->setEnabled(rules.convert);
    if (rules.usbProgram) {
        qDebug("1conected");
        actionUSBProgramm->setEnabled(*rules.usbProgram);
    } else {
        qDebug("1disconected");
    }
    buttonSimpleUSBProgramm->setEnabled(rules.simpleProgram);
    QPushButton *const adds[] = {dev1Add, dev2Add, dev3Add, dev4Add};
    QPushButton *const deletes[] = {dev1Del, dev2Del, dev3Del, dev4Del};
    for (size_t i = 0; i < 4; ++i) {
        adds[i]->setEnabled(rules.simpleAdd);
        deletes[i]->setEnabled(rules.simpleDelete[i]);
    }
    showWhyGreyed(this, rules);
}

void MainWindowImpl::changeEvent(QEvent *e)
{
    QMainWindow::changeEvent(e);
    // The reasons are said again in the language just chosen.
    if (e->type() == QEvent::LanguageChange && keysModel) {
        KeysPanelRules::Input in = panelInput(this);
        in.keyCount = keysModel->rowCount();
        showWhyGreyed(this, KeysPanelRules::evaluate(in));
    }
}

void MainWindowImpl::refreshLinks()
{
    if (tabWidget->currentIndex() != kLinksTab)
        return;
    // Refilled on every call, not only when the link master changes: a list
    // kept for the same master would go on showing deleted or changed models.
    const QString link = CurrentRow::text(ModelsTV, 5);
    const QString chosenRcid = CurrentRow::text(LinksTV, 0);
    lastLinksLink = link;

    RCLinksModel *previous = linksModel;
    linksModel = new RCLinksModel(LinksTV);
    linksModel->setLateFailureHandler([this](const QString &reason) { listFailedLater(LinksTV, reason); });
    linksModel->setQuery(ModelLinks::query(QSqlDatabase::database(), link, showHidden, showHidden1));
    linksModel->setHeaderData(1, Qt::Horizontal, tr("Brand"), Qt::EditRole);
    linksModel->setHeaderData(2, Qt::Horizontal, tr("Type"), Qt::EditRole);
    linksModel->setHeaderData(3, Qt::Horizontal, tr("Model"), Qt::EditRole);
    LinksTV->setSelectionBehavior(QAbstractItemView::SelectRows);
    replaceModel(LinksTV, linksModel, previous);
    if (linksModel->readFailed()) {
        // An empty list would say the model has no links.
        LinksTV->hide();
        tellCatalogueUnread(linksModel->lastError().text());
        return;
    }
    LinksTV->setVisible(true);

    // Keep the row the user had chosen when it is still in the group.
    if (!chosenRcid.isEmpty()) {
        for (int row = 0; row < linksModel->rowCount(); ++row) {
            if (linksModel->index(row, 0).data().toString() == chosenRcid) {
                LinksTV->selectRow(row);
                break;
            }
        }
    }
}

void MainWindowImpl::formResize()
{
    layoutPanels(true);
}

void MainWindowImpl::layoutPanels(bool readCatalogue)
{
    refreshChangerPictureView();
    if (ledLabel)
        ledLabel->setGeometry(PictureGeometry::ledRect(labelPicture->geometry()));
    resizeSameKeyMarkers();
    if (readCatalogue && labelKeyId->text() != QLatin1String("UNKNOWN"))
        refreshSameKey();
    refreshImageGeometries();
    redrawOscillograph();
    switch (tabWidget->currentIndex()) {
    case kImagesTab:
        refreshImageEnable();
        refreshImageButtons();
        break;
    default:
        break;
    }
}

void MainWindowImpl::tabSwitched()
{
    // The links list and the same-key marks read the catalogue. While another
    // program holds it, wait for it once and say so, rather than once per
    // read and then show an empty list.
    const bool reads = tabWidget->currentIndex() == kLinksTab || labelKeyId->text() != QLatin1String("UNKNOWN");
    QString error;
    if (reads && !CatalogueRead::readable(QSqlDatabase::database(), &error)) {
        if (tabWidget->currentIndex() == kLinksTab)
            LinksTV->hide();
        showStatus(CatalogueRead::message(error).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        layoutPanels(false);
        return;
    }
    layoutPanels(true);
    // Filled when brought up, not on every resize: a list that cannot be
    // read says so once, not once per resize step.
    refreshLinks();
}

void MainWindowImpl::refreshChangerPosition()
{
    for (QLabel *marker : sameKeyMarkers)
        hideMarker(marker);
    const QString typeId = CurrentRow::text(RCTypesTV, 0);
    QSqlDatabase db = QSqlDatabase::database();
    const QString customer =
        RemoteTypePicture::customerFor(pictureCustomers, db, customerId, defaultCustomerId, typeId);
    const KeyPositionTable::LoadResult result = keyPositions.load(db, typeId, customer);
    keyPositionsRead = result.ok;
    if (!result.ok)
        tellCatalogueUnread(result.error); // the picture would show keys without their spots
    else if (result.ignored > 0)
        qDebug() << "refreshChangerPosition:" << result.ignored << "key positions outside 0..127 ignored";
    labelPicture->setKeyPositions(keyPositions);
}

void MainWindowImpl::refreshChangerPicture()
{
    const QString link = CurrentRow::text(ModelsTV, 5);
    const QString typeId = CurrentRow::text(RCTypesTV, 0);
    const QString customer =
        pictureCustomers.value(RemoteTypePicture::memoKey(customerId, typeId), defaultCustomerId);

    const int height = labelPicture->height();
    if (height != pictureCacheHeight) {
        pictureCache.clear();
        pictureCacheHeight = height;
    }
    const QString cacheKey = customer + QLatin1Char('-') + typeId;
    auto cached = pictureCache.constFind(cacheKey);
    if (cached == pictureCache.constEnd()) {
        // A missing or unreadable file is cached as an empty picture too. The
        // picture is scaled to the label's height and the width that goes with
        // it, which the label may not have yet: the cache is kept per height.
        QPixmap file;
        QString problem;
        if (CheckedPicture::pixmap(RemoteTypePicture::fileName(customer, typeId), CheckedFile::PictureBytes, &file,
                                   &problem) == CheckedFile::Result::Refused)
            tellFileNotRead(problem);
        cached = pictureCache.insert(cacheKey, fitted(file, QSize(PictureGeometry::pictureWidth(height), height)));
    }
    changerPixmap = cached.value();

    labelPicture->rcid = link;
    labelPicture->rcTypeId = typeId.toInt();

    // A picture without its key spots, or without the spots of some of the
    // model's keys, would show keys as missing: no picture then.
    QList<int> modelKeys;
    QString error;
    if (keyPositionsRead && !changerPixmap.isNull()) {
        modelKeys = RemoteTypePicture::modelKeys(QSqlDatabase::database(), link, typeId, &error);
        if (!error.isEmpty())
            tellCatalogueUnread(error);
    }
    if (!keyPositionsRead || !error.isEmpty())
        changerPixmap = QPixmap();

    if (!changerPixmap.isNull()) {
        // Circles follow the picture as scaled (the label's height, unless the
        // file has another shape than the nominal picture).
        const int pictureHeight = changerPixmap.height();
        QPainter painter(&changerPixmap);
        painter.setBrush(Qt::SolidPattern);
        for (int n : std::as_const(modelKeys)) {
            if (!keyPositions.contains(n))
                continue; // no hot-spot on this picture: nothing to mark
            const KeyPosition key = keyPositions.at(n);
            painter.setBrush(PictureGeometry::isNormalLayer(key) ? QColor(255, 0, 0, 127) : QColor(0, 255, 0, 127));
            painter.drawEllipse(PictureGeometry::circleRect(key, pictureHeight));
        }
    }
    labelPicture->setPixmap(changerPixmap);
    if (ledLabel)
        ledLabel->setGeometry(PictureGeometry::ledRect(labelPicture->geometry()));
}

void MainWindowImpl::refreshChangerPictureView()
{
    const int height = labelPicture->height();
    labelPicture->setFixedWidth(PictureGeometry::pictureWidth(height));
    labelPicture->setPixmap(fitted(changerPixmap, labelPicture->size()));
    fitProtocolBar();
}

void MainWindowImpl::fitProtocolBar()
{
    labelProtocol->setFixedHeight(labelProtocol->width() / 12);
    labelProtocol->setPixmap(fitted(protocolBarPixmap, labelProtocol->size()));
}

void MainWindowImpl::resizeSameKeyMarkers()
{
    const int side = PictureGeometry::markerSize(labelPicture->height());
    for (QLabel *marker : sameKeyMarkers) {
        if (!marker)
            continue;
        marker->setFixedSize(side, side);
        marker->setPixmap(fitted(sameKeyPixmap, marker->size()));
    }
}

void MainWindowImpl::refreshID()
{
    // All three code labels show the picked key's code: the search rows copy
    // the code, and the Search tab must show the code they copy.
    setKeyCodeLabels(CurrentRow::text(KeysTV, 3));
    const int n = CurrentRow::cell(KeysTV, 4).toInt();
    for (QLabel *marker : sameKeyMarkers)
        hideMarker(marker);
    if (sameKeyMarkers[0] && keyPositions.contains(n))
        sameKeyMarkers[0]->move(PictureGeometry::markerPosition(keyPositions.at(n), labelPicture->height()));
}

void MainWindowImpl::changeShift()
{
    // Runs on pressed(), before the box changes: the layer becomes what the box is about to show.
    if (shiftCheckBox->isChecked()) {
        labelPicture->shift = false;
        qDebug("changeShift(): false");
    } else {
        labelPicture->shift = true;
        qDebug("changeShift(): true");
    }
}
