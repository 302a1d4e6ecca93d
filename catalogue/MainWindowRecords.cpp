// MainWindowImpl: model records (add, edit, link, delete) and model photos.
#include "mainwindow/MainWindowImpl.h"

#include "app/CheckedPicture.h"
#include "app/FileDialogs.h"
#include "app/MessageBox.h"
#include "app/ShownText.h"
#include "catalogue/CurrentRow.h"
#include "catalogue/ModelPhotos.h"
#include "catalogue/ModelRecords.h"
#include "catalogue/PhotoPlaces.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QSqlDatabase>

namespace {

constexpr int kImagesTab = 1;

// Columns of the model record in the model list.
enum Column { RcidColumn = 0, BrandColumn = 1, TypeColumn = 2, ModelColumn = 3, DocumentationColumn = 4,
              LinkColumn = 5, CorrectionColumn = 7, OwnColumn = 8, ProtColumn = 12 };

// Photos live below the working directory.
PhotoPlaces photoPlaces(const QString &link)
{
    return PhotoPlaces(QDir::currentPath(), link);
}

// A photo read through the checked reader; one it refused is told (an
// undecodable one stays empty, as before).
QPixmap photoPixmap(MainWindowImpl *window, const QString &path)
{
    QPixmap photo;
    QString problem;
    if (CheckedPicture::pixmap(path, CheckedFile::PhotoBytes, &photo, &problem) == CheckedFile::Result::Refused)
        window->tellFileNotRead(problem);
    return photo;
}

QString factoryLinksText()
{
    return MainWindowImpl::tr(
        "This remote control cannot be deleted: its links include models of the FACTORY database.");
}

} // namespace

void MainWindowImpl::addNewRemoteControlDialog()
{
    newRemoteDialog.prepareNew(brandCompleter, typeCompleter);
    newRemoteDialog.exec();
}

void MainWindowImpl::editRemoteControlDialog()
{
    NewRemoteDialogImpl::Record record;
    record.rcid = CurrentRow::text(ModelsTV, RcidColumn);
    // Without a selected model there is nothing to edit.
    if (record.rcid.isEmpty())
        return;
    record.link = CurrentRow::text(ModelsTV, LinkColumn);
    record.brand = CurrentRow::text(ModelsTV, BrandColumn);
    record.type = CurrentRow::text(ModelsTV, TypeColumn);
    record.model = CurrentRow::text(ModelsTV, ModelColumn);
    record.documentation = CurrentRow::text(ModelsTV, DocumentationColumn);
    record.own = CurrentRow::flag(ModelsTV, OwnColumn);
    record.correction = CurrentRow::cell(ModelsTV, CorrectionColumn).toDouble();
    record.prot = CurrentRow::cell(ModelsTV, ProtColumn).toInt();
    newRemoteDialog.prepareEdit(record, brandCompleter, typeCompleter, showRcidLink, enableCorrection, enableProtocol);
    newRemoteDialog.exec();
}

void MainWindowImpl::addNewRemoteControlLinkDialog()
{
    const QString rcid = CurrentRow::text(ModelsTV, RcidColumn);
    const QString link = CurrentRow::text(ModelsTV, LinkColumn);
    if (rcid.isEmpty())
        return;
    if (!ModelRecords::masterExists(QSqlDatabase::database(), link)) {
        MessageBox::warning(this, tr("Warning"),
                            tr("The link master %1 of this model is missing; no linked model can be added.").arg(link));
        return;
    }
    newRemoteDialog.prepareLink(link, brandCompleter, typeCompleter);
    newRemoteDialog.exec();
}

void MainWindowImpl::editRemoteControl()
{
    clearStatus();
    QString rcid, error;
    switch (newRemoteDialog.write(QSqlDatabase::database(), &rcid, &error)) {
    case NewRemoteDialogImpl::WriteResult::NoMode:
        return;
    case NewRemoteDialogImpl::WriteResult::Incomplete: {
        // The dialog stays open; the user learns which fields are still empty.
        QStringList missing;
        if (newRemoteDialog.brandLineEdit->text().isEmpty())
            missing << tr("Brand");
        if (newRemoteDialog.typeLineEdit->text().isEmpty())
            missing << tr("Type");
        if (newRemoteDialog.modelLineEdit->text().isEmpty())
            missing << tr("Model");
        MessageBox::warning(&newRemoteDialog, tr("Warning"),
                            tr("The model was not saved: these fields are empty: %1").arg(missing.join(QStringLiteral(", "))));
        return;
    }
    case NewRemoteDialogImpl::WriteResult::Failed:
        MessageBox::warning(&newRemoteDialog, tr("Warning"), tr("The model was not saved.\n%1").arg(error));
        return;
    case NewRemoteDialogImpl::WriteResult::Written:
        break;
    }

    // The filters are set so that the written model is listed: a new model
    // or link is shown by its own brand and model, whatever filtered before.
    if (newRemoteDialog.mode == 1 || newRemoteDialog.mode == 3) {
        comboBoxDatabase->setCurrentIndex(1);
        brandLineEdit->setText(newRemoteDialog.writtenBrand);
        modelLineEdit->setText(newRemoteDialog.writtenModel);
        comboBoxType->setCurrentIndex(-1);
        rcidLineEdit->clear();
        linkLineEdit->clear();
    } else if (newRemoteDialog.mode == 2) {
        brandLineEdit->setText(newRemoteDialog.writtenBrand);
    } else {
        comboBoxDatabase->setCurrentIndex(1);
    }
    refreshBrands();
    refreshTypes();
    refreshModels();
    bool listed = false;
    if (QAbstractItemModel *list = ModelsTV->model()) {
        for (int row = 0;; ++row) {
            if (row >= list->rowCount()) {
                if (!list->canFetchMore(QModelIndex()))
                    break;
                list->fetchMore(QModelIndex());
                if (row >= list->rowCount())
                    break;
            }
            if (list->index(row, RcidColumn).data().toString() == rcid) {
                ModelsTV->selectRow(row);
                listed = true;
                break;
            }
        }
    }
    refreshRC();
    newRemoteDialog.close();
    // The user knows a model by its brand and model, never by its identifier.
    const QString &brand = newRemoteDialog.writtenBrand;
    const QString &model = newRemoteDialog.writtenModel;
    showStatus(listed ? tr("The model %1 %2 was saved.").arg(brand, model)
                      : tr("The model %1 %2 was saved; the filters hide it from the list.").arg(brand, model));
}

void MainWindowImpl::deleteRemoteControl()
{
    clearStatus();
    const QString rcid = CurrentRow::text(ModelsTV, RcidColumn);
    const QString brand = CurrentRow::text(ModelsTV, BrandColumn);
    const QString model = CurrentRow::text(ModelsTV, ModelColumn);
    const bool own = CurrentRow::flag(ModelsTV, OwnColumn);
    const int row = ModelsTV->currentIndex().row();
    if (!own) {
        MessageBox::critical(nullptr, tr("information"), tr("cannot delete key from FACTORY database."));
        return;
    }

    QSqlDatabase db = QSqlDatabase::database();
    QString error;
    const int factoryLinks = ModelRecords::factoryCount(db, rcid, &error);
    const int links = factoryLinks < 0 ? -1 : ModelRecords::linkCount(db, rcid, &error);
    if (links < 0) {
        MessageBox::warning(this, tr("Warning"), tr("The model was not deleted.\n%1").arg(error));
        return;
    }
    // Factory models in the group make the deletion impossible: say so
    // before asking, not after the user has agreed.
    if (factoryLinks > 0) {
        MessageBox::critical(nullptr, tr("information"), factoryLinksText());
        return;
    }
    QString text = tr("Do you really want to delete  ") + ShownText::bounded(brand) + QStringLiteral("  ")
                   + ShownText::bounded(model);
    text += links > 0 ? QStringLiteral("  ?\n") + tr("This remote control has links.\nAll links will be deleted too!")
                      : QStringLiteral("  ?");
    if (MessageBox::question(this, tr("Confirm"), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) !=
        QMessageBox::Yes)
        return;

    switch (ModelRecords::deleteModel(db, QDir::currentPath(), rcid, &error)) {
    case ModelRecords::DeleteResult::Refused:
        MessageBox::critical(nullptr, tr("information"), factoryLinksText());
        return;
    case ModelRecords::DeleteResult::Failed:
        MessageBox::warning(this, tr("Warning"), tr("The model was not deleted; nothing was changed.\n%1").arg(error));
        return;
    case ModelRecords::DeleteResult::Deleted:
        break;
    }
    refreshModels();
    if (row > 0)
        ModelsTV->selectRow(row - 1);
    refreshBrands();
    refreshTypes();
    refreshRC();
    showStatus(links > 0 ? tr("The model %1 %2 and its links were deleted.").arg(brand, model)
                         : tr("The model %1 %2 was deleted.").arg(brand, model));
}

void MainWindowImpl::refreshImageEnable()
{
    const QString link = CurrentRow::text(ModelsTV, LinkColumn);
    const PhotoPlaces places = photoPlaces(link);
    imagePixmap = QPixmap();
    // No selected model has no photos, whatever files lie in the folder.
    if (!link.isEmpty() && places.isTaken(1)) {
        tabWidget->setTabIcon(kImagesTab, QIcon(QStringLiteral(":/Icons/check.png")));
        if (tabWidget->currentIndex() == kImagesTab) {
            imagePixmap = photoPixmap(this, places.path(1));
            currentImage = 1;
        }
    } else {
        tabWidget->setTabIcon(kImagesTab, QIcon());
        pushButtonDelete->setEnabled(false);
    }
    if (tabWidget->currentIndex() == kImagesTab)
        refreshImageGeometries();
}

void MainWindowImpl::refreshImageButtons()
{
    const QString link = CurrentRow::text(ModelsTV, LinkColumn);
    const PhotoPlaces places = photoPlaces(link);
    QPushButton *const buttons[] = {pushButton1, pushButton2, pushButton3, pushButton4, pushButton5};
    for (int n = 1; n <= PhotoPlaces::Count; ++n)
        buttons[n - 1]->setEnabled(!link.isEmpty() && places.isTaken(n));
}

void MainWindowImpl::refreshImageGeometries()
{
    if (!imageLabel)
        return;
    imageLabel->setFixedSize(qMax(0, scrollArea->width() - 20), qMax(0, scrollArea->height() - 20));
    imageLabel->setPixmap(imagePixmap.isNull() || imageLabel->size().isEmpty()
                              ? QPixmap()
                              : imagePixmap.scaled(imageLabel->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    if (scrollArea->widget() != imageLabel)
        scrollArea->setWidget(imageLabel); // the form's placeholder goes with it
}

void MainWindowImpl::imageClick(int place)
{
    QPushButton *const buttons[] = {pushButton1, pushButton2, pushButton3, pushButton4, pushButton5};
    if (place < 1 || place > PhotoPlaces::Count || !buttons[place - 1]->isEnabled())
        return;
    imagePixmap = photoPixmap(this, photoPlaces(CurrentRow::text(ModelsTV, LinkColumn)).path(place));
    refreshImageGeometries();
    currentImage = place;
}

void MainWindowImpl::addNewImage()
{
    clearStatus();
    if (!QDir(lastImagesPath).exists())
        lastImagesPath = QStringLiteral("xml");
    const QString file =
        FileDialogs::getOpenFileName(this, tr("Open Image"), lastImagesPath + QLatin1Char('/'),
                                     tr("Image Files") + QStringLiteral(" (*.png *.jpg *.bmp)"));
    if (file.isEmpty())
        return;
    const QString folder = QFileInfo(file).absolutePath();
    if (!folder.isEmpty()) {
        lastImagesPath = folder;
        saveSettings();
    }

    // Photos belong to the link master, which must exist to own them.
    const QString link = CurrentRow::text(ModelsTV, LinkColumn);
    if (link.isEmpty() || !ModelRecords::masterExists(QSqlDatabase::database(), link)) {
        MessageBox::warning(this, tr("Warning"),
                            tr("The link master %1 of this model is missing; the photo was not stored.").arg(link));
        return;
    }
    QImage shown;
    QString error;
    const PhotoPlaces places = photoPlaces(link);
    const int place = ModelPhotos::add(places, file, &shown, &error);
    if (place == 0) {
        // Nothing was stored: the area goes on showing a photo that exists,
        // the one a delete would remove.
        if (places.isTaken(currentImage)) {
            imagePixmap = photoPixmap(this, places.path(currentImage));
            refreshImageGeometries();
        } else {
            refreshImageEnable();
        }
        refreshImageButtons();
        MessageBox::warning(this, tr("Warning"), error);
        return;
    }
    imagePixmap = QPixmap::fromImage(shown);
    refreshImageGeometries();
    refreshImageButtons();
    currentImage = place;
    tabWidget->setTabIcon(kImagesTab, QIcon(QStringLiteral(":/Icons/check.png")));
    pushButtonDelete->setEnabled(true);
}

void MainWindowImpl::deleteNewImage()
{
    clearStatus();
    QMessageBox box(QMessageBox::Question, tr("Confirm"), tr("do you realy want to delete this image?"),
                    QMessageBox::Yes | QMessageBox::No);
    box.setWindowIcon(windowIcon());
    if (MessageBox::exec(box) != QMessageBox::Yes)
        return;
    const QString link = CurrentRow::text(ModelsTV, LinkColumn);
    QString error;
    if (link.isEmpty() || !photoPlaces(link).remove(currentImage, &error))
        MessageBox::warning(this, tr("Warning"), tr("The photo was not deleted.\n%1").arg(error));
    refreshImageButtons();
    refreshImageEnable();
}
