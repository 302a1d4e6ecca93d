// MainWindowImpl: slot programming, simple programming and macros.
#include "mainwindow/MainWindowImpl.h"

#include "app/CheckedFile.h"
#include "app/MessageBox.h"
#include "catalogue/CatalogueRead.h"
#include "app/SettingsWriter.h"
#include "app/ShownText.h"
#include "catalogue/CurrentRow.h"
#include "catalogue/RCTypesModel.h"
#include "programming/KeyImage.h"
#include "programming/MacroBlock.h"
#include "programming/MacroCatalogue.h"
#include "programming/MacroDelegates.h"
#include "programming/MacroTreeModel.h"
#include "programming/Remote1SlotImage.h"
#include "programming/Remote2SlotImage.h"
#include "programming/SimpleSlots.h"
#include "usb/UsbState.h"

#include <QDateTime>
#include <QDebug>
#include <QHeaderView>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlDatabase>

namespace {

// A programming request waits for the one before it: the mailbox holds a
// single request, and a second post would replace the first unseen.
bool refusedAsBusy(MainWindowImpl *w)
{
    const bool busy = w->usbState ? w->usbState->transmitRequested.load(std::memory_order_acquire)
                                  : w->usbRequestWaiting;
    if (busy)
        MessageBox::information(w, MainWindowImpl::tr("Information"), MainWindowImpl::tr("device busy"));
    return busy;
}

DeviceInfo currentDeviceInfo(const MainWindowImpl *w)
{
    return w->usbState ? w->usbState->deviceInfo() : DeviceInfo();
}

const QString kFalse = QStringLiteral("FALSE");

QString remoteKindOf(const MainWindowImpl *w)
{
    return w->usbState ? w->usbState->remoteKind() : QString();
}

// The programming messages share the window's one message box.
void showProgrammingMessage(MainWindowImpl *w, const QString &text)
{
    w->messageBox.setWindowTitle(MainWindowImpl::tr("information"));
    w->messageBox.setIcon(QMessageBox::Critical);
    w->messageBox.setText(text);
    MessageBox::exec(w->messageBox);
}

// Room of a second-generation slot in hex digits (64-byte units in the
// information block).
int remote2SlotChars(const MainWindowImpl *w, int slot)
{
    return currentDeviceInfo(w).at(33 + 2 * slot) * 128;
}

void logLines(MainWindowImpl *w, const QStringList &lines)
{
    for (const QString &line : lines)
        w->appendLog(line);
}

// Keeps the last image in "config.ini" for looking at it by hand.
void dumpFlashData(MainWindowImpl *w, const QString &image)
{
    if (!w->saveFlashData || !w->settings)
        return;
    QString error;
    if (!SettingsWriter::write(w->settingsPath, {{QStringLiteral("Debug/flashData"), image}}, &error)) {
        const QString line = MainWindowImpl::tr("The programmed image could not be saved: %1").arg(error);
        qWarning().noquote() << line;
        w->appendLog(line);
    }
    CheckedFile::sync(*w->settings);
}

QString captionOf(const MainWindowImpl *w, int slot)
{
    return slot >= 0 && slot < MainWindowImpl::kSlotHeaderPages ? w->slotCaptions[slot] : QString();
}

} // namespace

static Remote2SlotImage::Result remote2ImageOf(MainWindowImpl *w, int slot, QString *readError);

void MainWindowImpl::refreshActionUSBProgramm()
{
    if (!usbState || !usbState->slotInfoValid.load(std::memory_order_acquire))
        return;
    // The configured types and the device's own; an empty configuration
    // offers the device's type alone.
    installTypeList(QStringList(rcTypesList) << QString::number(deviceRCTypeId));
    const RCTypesModel *model = rcTypesModel;
    RCTypesTV->verticalHeader()->setDefaultSectionSize(20);

    int row = 0;
    while (row < model->rowCount() && model->index(row, 0).data().toInt() != deviceRCTypeId)
        ++row;
    RCTypesTV->selectRow(row);
    actionUSBProgramm->setEnabled(RCTypesTV->currentIndex().isValid() &&
                                  CurrentRow::cell(RCTypesTV, 0).toInt() == deviceRCTypeId);
    actionMacroProgramm->setEnabled(usbState->deviceInfo().at(29) != 0);
    refreshRC();
}

void MainWindowImpl::startProgramming81(int slot)
{
    clearStatus();
    const QString kind = remoteKindOf(this);
    if (kind != QLatin1String("remote1") && kind != QLatin1String("remote2"))
        return;
    if (refusedAsBusy(this))
        return;

    if (kind == QLatin1String("remote2")) {
        QString readError;
        const Remote2SlotImage::Result built = remote2ImageOf(this, slot, &readError);
        const QString &image = built.image;
        if (!readError.isEmpty()) {
            showProgrammingMessage(this, CatalogueRead::message(readError));
            return;
        }
        if (!built.ok()) {
            // The reason is the builder's own text: which key, protocol or text is in the way.
            showProgrammingMessage(this, tr("cannot write this remote control.") + QLatin1Char('\n') + built.reason);
            return;
        }
        if (image.size() > remote2SlotChars(this, slot)) {
            showProgrammingMessage(this, tr("cannot write this remote control. not enough flash."));
            return;
        }
        flashData = image;
        nPult = slot;
        usbCommand = UsbCommand::WriteSlotRemote2;
        postUsbRequest();
        return;
    }

    const QString image = doStrKeys81(slot);
    if (image.isEmpty())
        return; // the catalogue could not be read; the user was told
    if (image.startsWith(kFalse)) {
        showProgrammingMessage(this, tr("cannot write more than two different protocols."));
        return;
    }
    Remote1SlotImage::Inputs in;
    in.brand = CurrentRow::text(ModelsTV, 1);
    in.type = CurrentRow::text(ModelsTV, 2);
    in.model = CurrentRow::text(ModelsTV, 3);
    in.deviceId = deviceId;
    in.nPult = slot;
    in.now = QDateTime::currentDateTime();
    const Remote1SlotImage::Result result = Remote1SlotImage::complete(QSqlDatabase::database(), image, in);
    logLines(this, result.log);
    switch (result.status) {
    case Remote1SlotImage::Status::Ok:
        break;
    case Remote1SlotImage::Status::TooLarge:
        showProgrammingMessage(this, tr("cannot write this remote control. not enough flash."));
        return;
    case Remote1SlotImage::Status::KeysRefused:
        showProgrammingMessage(this, tr("cannot write more than two different protocols."));
        return;
    case Remote1SlotImage::Status::CodeMissing:
    case Remote1SlotImage::Status::CodeDamaged:
        showProgrammingMessage(this, tr("Cannot write this protocols. Please update the programm."));
        return;
    case Remote1SlotImage::Status::ReadFailed:
        showProgrammingMessage(this, CatalogueRead::message(result.log.join(QLatin1Char('\n'))));
        return;
    }
    appendLog(QString::number(result.image.size()));
    appendLog(result.image);
    nPult = slot;
    flashData = result.image;
    usbCommand = UsbCommand::WriteSlotRemote1;
    qDebug() << "++++++++++++++++++++++++++";
    postUsbRequest();
}

void MainWindowImpl::startDelete81(int slot)
{
    clearStatus();
    if (refusedAsBusy(this))
        return;
    nPult = slot;
    usbCommand = UsbCommand::DeleteSlot;
    postUsbRequest();
}

// The second-generation image of the selected model for a slot, with the
// reason when it cannot be written. A catalogue that cannot be read is no
// refusal of the model: its reason goes to *readError instead.
static Remote2SlotImage::Result remote2ImageOf(MainWindowImpl *w, int slot, QString *readError)
{
    const QString link = CurrentRow::text(w->ModelsTV, 5);
    const QSqlDatabase db = QSqlDatabase::database();
    Remote2SlotImage::Inputs in;
    QString error;
    if (!KeyImage::readKeys(db, link, CurrentRow::cell(w->RCTypesTV, 0).toInt(), &in.keys, &error)) {
        Remote2SlotImage::Result refused;
        refused.image = kFalse;
        refused.reason = QStringLiteral("keys of %1 could not be read: %2").arg(link, error);
        logLines(w, {refused.reason});
        *readError = error;
        return refused;
    }
    in.typeId = CurrentRow::cell(w->RCTypesTV, 0).toInt();
    in.caption = captionOf(w, slot);
    in.brand = CurrentRow::text(w->ModelsTV, 1);
    in.type = CurrentRow::text(w->ModelsTV, 2);
    in.model = CurrentRow::text(w->ModelsTV, 3);
    in.correction = CurrentRow::cell(w->ModelsTV, 7).toDouble();
    in.prot = CurrentRow::cell(w->ModelsTV, 12).toInt();
    in.deviceId = w->deviceId;
    Remote2SlotImage::Result result = Remote2SlotImage::build(db, in);
    logLines(w, result.log);
    if (result.ok())
        dumpFlashData(w, result.image);
    return result;
}

QString MainWindowImpl::doStrKeys81(int slot)
{
    const QString kind = remoteKindOf(this);
    if (kind == QLatin1String("remote1")) {
        QStringList log;
        QString readError;
        const QString part = Remote1SlotImage::keysOf(QSqlDatabase::database(), CurrentRow::text(ModelsTV, 5),
                                                      CurrentRow::cell(RCTypesTV, 0).toInt(), &log, &readError)
                                 .image;
        logLines(this, log);
        if (!readError.isEmpty()) {
            showProgrammingMessage(this, CatalogueRead::message(readError));
            return QString();
        }
        return part;
    }
    if (kind != QLatin1String("remote2"))
        return kFalse;
    QString readError;
    const Remote2SlotImage::Result result = remote2ImageOf(this, slot, &readError);
    if (!readError.isEmpty()) {
        showProgrammingMessage(this, CatalogueRead::message(readError));
        return QString();
    }
    return result.image;
}

QString MainWindowImpl::doStrKeys()
{
    // The fixed-size key image of the selected model, from its link master's keys.
    return KeyImage::forLink(QSqlDatabase::database(), CurrentRow::text(ModelsTV, 5));
}

QString MainWindowImpl::doStrKeys81Simple(int slot, int RCTypeIdInt, QString Rcid)
{
    if (remoteKindOf(this) != QLatin1String("remote2"))
        return kFalse;
    const Remote2SlotImage::Result result =
        Remote2SlotImage::forModel(QSqlDatabase::database(), Rcid, RCTypeIdInt, captionOf(this, slot), deviceId);
    logLines(this, result.log);
    if (result.ok())
        dumpFlashData(this, result.image);
    return result.image;
}

void MainWindowImpl::refreshSimpleProgram()
{
    QGroupBox *const boxes[] = {dev1GB, dev2GB, dev3GB, dev4GB};
    QLabel *const brands[] = {dev1Brand, dev2Brand, dev3Brand, dev4Brand};
    QLabel *const models[] = {dev1Model, dev2Model, dev3Model, dev4Model};
    buttonSimpleUSBProgramm->setVisible(settingsSimpleProgramming);
    const QSqlDatabase db = QSqlDatabase::database();
    const SimpleSlots::Row row = SimpleSlots::read(db, CurrentRow::cell(RCTypesTV, 0).toInt());
    if (!row.found) {
        // The panel belongs to the setting even for a type without simple slots.
        if (!settingsSimpleProgramming)
            for (QGroupBox *box : boxes)
                box->setVisible(false);
        return;
    }
    for (int k = 0; k < SimpleSlots::Boxes; ++k) {
        QString brand, model;
        const QString rcid = row.rcids.at(k);
        if (!rcid.isEmpty()) // a model no longer in the catalogue shows empty labels
            SimpleSlots::names(db, rcid, &brand, &model);
        // QLabel measures all of its text: a name of megabytes is shown by its start.
        brands[k]->setText(ShownText::bounded(brand));
        models[k]->setText(ShownText::bounded(model));
        boxes[k]->setVisible(settingsSimpleProgramming && row.maxdevices >= k + 1);
    }
}

void MainWindowImpl::simpleProgramming(int slot)
{
    clearStatus();
    QString error;
    if (!SimpleSlots::assign(QSqlDatabase::database(), CurrentRow::cell(RCTypesTV, 0).toInt(), slot,
                             CurrentRow::text(ModelsTV, 0), &error))
        MessageBox::warning(this, tr("Simple programming"), tr("The assignment could not be saved: %1").arg(error));
    refreshSimpleProgram();
    refreshKeys();
}

void MainWindowImpl::simpleDelete(int slot)
{
    clearStatus();
    QString error;
    if (!SimpleSlots::assign(QSqlDatabase::database(), CurrentRow::cell(RCTypesTV, 0).toInt(), slot, QString(),
                             &error))
        MessageBox::warning(this, tr("Simple programming"), tr("The assignment could not be cleared: %1").arg(error));
    refreshSimpleProgram();
    refreshKeys();
}

void MainWindowImpl::startProgramming81Simple()
{
    clearStatus();
    qDebug() << "Simple programming";
    if (refusedAsBusy(this))
        return;
    // The worker carries this request out on a second-generation remote only.
    if (remoteKindOf(this) != QLatin1String("remote2")) {
        showProgrammingMessage(this, tr("Simple programming needs a connected programmable remote control with "
                                        "simple slots; nothing was sent."));
        return;
    }
    const int typeId = CurrentRow::cell(RCTypesTV, 0).toInt();
    QString error;
    const SimpleSlots::Row row = SimpleSlots::read(QSqlDatabase::database(), typeId, &error);
    if (!row.found) {
        appendLog(error.isEmpty()
                             ? tr("Simple programming: remote type %1 has no simple slots; nothing was sent.").arg(typeId)
                             : tr("Simple programming: the simple slots could not be read: %1").arg(error));
        return;
    }
    const auto entries = SimpleSlots::entries(row, [&](int slot, const QString &rcid) {
        QString image = doStrKeys81Simple(slot, typeId, rcid);
        if (image != kFalse && image.size() > remote2SlotChars(this, slot)) {
            appendLog(tr("DEV%1: the image of %2 is larger than the slot.").arg(slot + 1).arg(rcid));
            image = kFalse;
        }
        if (image == kFalse)
            appendLog(tr("DEV%1: model %2 cannot be written; the slot stays as it is.").arg(slot + 1).arg(rcid));
        return image;
    });
    int writes = 0, clears = 0, unchanged = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        slotFlashData[i] = entries[i];
        if (entries[i] == QLatin1String("DELETE"))
            ++clears;
        else if (entries[i] == QLatin1String("NONEED") || entries[i] == kFalse)
            ++unchanged;
        else
            ++writes;
    }
    usbCommand = UsbCommand::WriteSimpleSlots;
    postUsbRequest();
    appendLog(tr("Simple programming: %1 slots to write, %2 to clear, %3 left as they are.")
                         .arg(writes)
                         .arg(clears)
                         .arg(unchanged));
}

void MainWindowImpl::macroDialogOpen()
{
    const DeviceInfo info = currentDeviceInfo(this);
    if (!info.macroPagePresent())
        return;

    QStringList captions;
    for (const QString &caption : slotCaptions)
        captions << caption;
    const QMap<int, QString> switchNames = MacroBlock::switchNames(info.slotCount(), captions);

    // Without the catalogue's lists the device's macros still show, with
    // empty key cells and default names; the user is told why.
    const QSqlDatabase db = QSqlDatabase::database();
    MacroCatalogue::KeyList keys;
    QStringList names;
    QString keysError, namesError;
    const bool keysRead = MacroCatalogue::keys(db, deviceRCTypeId, &keys, &keysError);
    const bool namesRead = MacroCatalogue::macroNames(db, MacroBlock::nameSetId(info), &names, &namesError);
    if (!keysRead || !namesRead) {
        const QStringList errors = QStringList{keysError, namesError}.filter(QRegularExpression(QStringLiteral(".")));
        MessageBox::warning(this, tr("Warning"),
                            tr("The macro keys or names could not be read from the catalogue:\n%1")
                                .arg(errors.join(QLatin1Char('\n'))));
    }

    auto *model = new MacroTreeModel(MacroTreeModel::buildTree(MacroBlock::read(info), names), this);
    model->switchNames = switchNames;
    model->keyNames = keys.names;

    // The delegates live as long as the model they were made for.
    QTreeView *view = macroDialog.macroTV;
    view->setItemDelegateForColumn(0, new SwitchDelegate(switchNames, model));
    view->setItemDelegateForColumn(1, new KeyDelegate(keys.names, keys.order, model));
    view->setItemDelegateForColumn(2, new EmitWaitDelegate(0, 4000, 16, model));
    view->setItemDelegateForColumn(3, new EmitWaitDelegate(0, 4000, 16, model));

    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectItems);
    view->setModel(model);
    view->expandAll();
    static const int widths[] = {150, 250, 100, 100};
    for (int c = 0; c < 4; ++c)
        view->setColumnWidth(c, widths[c]);
    view->setColumnHidden(MacroTreeModel::kMacroColumn, true);
    view->setAlternatingRowColors(true);

    // The tree of the previous opening, with its delegates.
    delete macroTreeModel;
    macroTreeModel = model;

    macroDialog.setWindowTitle(tr("Macro programing"));
    macroDialog.insertMacroButton->setText(tr("Macro"));
    macroDialog.removeMacroButton->setText(tr("Macro"));
    macroDialog.programMacroButton->setText(tr("Program"));
    // Both step buttons read "Macro"; say that they work on steps.
    macroDialog.insertMacroButton->setToolTip(
        tr("Adds a step after the selected step, or at the end of the selected macro"));
    macroDialog.removeMacroButton->setToolTip(tr("Deletes the selected step; a macro itself stays"));
    macroDialog.exec();
}

void MainWindowImpl::programMacro()
{
    clearStatus();
    if (!macroTreeModel)
        return;
    const QString text = MacroBlock::encode(MacroTreeModel::records(*macroTreeModel, currentDeviceInfo(this)));
    if (!MacroBlock::fits(text)) {
        // The tree stays as edited, so steps can be deleted and the write tried again.
        MessageBox::information(nullptr, tr("Information"), tr("Too many macro keys, please delete some."));
        return;
    }
    if (refusedAsBusy(this))
        return;
    flashData = MacroBlock::padded(text);
    usbCommand = UsbCommand::WriteMacroPage;
    // The remote's answer follows as its own status line or a box.
    if (postUsbRequest())
        showStatus(tr("Writing the macros to the remote control..."));

    if (saveFlashData && settings) {
        QString error;
        if (!SettingsWriter::write(settings->fileName(), {{QStringLiteral("Debug/flashMacro"), flashData}}, &error)) {
            const QString line = tr("The macro page could not be saved in \"%1\".").arg(settings->fileName())
                + QLatin1Char(' ') + error;
            qWarning().noquote() << line;
            appendLog(line);
        }
        CheckedFile::sync(*settings);
    }
}
