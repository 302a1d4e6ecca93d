// MainWindowImpl: slot programming, simple programming and macros.
#include "mainwindow/MainWindowImpl.h"

#include "app/MessageBox.h"
#include "catalogue/CurrentRow.h"
#include "programming/KeyImage.h"
#include "programming/MacroBlock.h"
#include "programming/MacroCatalogue.h"
#include "programming/MacroDelegates.h"
#include "programming/MacroTreeModel.h"
#include "usb/UsbState.h"

#include <QDebug>
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

} // namespace

void MainWindowImpl::refreshActionUSBProgramm()
{
    // Rebuilds the remote-type list with the device's type and enables the programming actions.
}

void MainWindowImpl::startProgramming81(int nPult)
{
    Q_UNUSED(nPult);
    // Builds the slot image of the selected model and posts it for device slot nPult.
}

void MainWindowImpl::startDelete81(int nPult)
{
    Q_UNUSED(nPult);
    // Posts the clearing of device slot nPult.
}

QString MainWindowImpl::doStrKeys81(int nPult)
{
    Q_UNUSED(nPult);
    // Builds the slot image of the selected model for the connected remote.
    return QString();
}

QString MainWindowImpl::doStrKeys()
{
    // The fixed-size key image of the selected model, from its link master's keys.
    return KeyImage::forLink(QSqlDatabase::database(), CurrentRow::text(ModelsTV, 5));
}

QString MainWindowImpl::doStrKeys81Simple(int nPult, int RCTypeIdInt, QString Rcid)
{
    Q_UNUSED(nPult);
    Q_UNUSED(RCTypeIdInt);
    Q_UNUSED(Rcid);
    // Builds the slot image of a simple-programming box's model.
    return QString();
}

void MainWindowImpl::refreshSimpleProgram()
{
    // Shows the simple-programming assignments of the selected remote type.
}

void MainWindowImpl::simpleProgramming(int nPult)
{
    Q_UNUSED(nPult);
    // Assigns the selected model to a simple-programming box.
}

void MainWindowImpl::simpleDelete(int nPult)
{
    Q_UNUSED(nPult);
    // Clears a simple-programming box.
}

void MainWindowImpl::startProgramming81Simple()
{
    // Posts the four simple-programming boxes to the device.
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
    macroDialog.exec();
}

void MainWindowImpl::programMacro()
{
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
    postUsbRequest();

    if (saveFlashData) {
        QSettings file(QStringLiteral("config.ini"), QSettings::IniFormat);
        file.setValue(QStringLiteral("Debug/flashMacro"), flashData);
        file.sync();
        if (file.status() != QSettings::NoError) {
            const QString line = tr("The macro page could not be saved in \"%1\".").arg(file.fileName());
            qWarning().noquote() << line;
            textEdit->append(line);
        }
    }
}
