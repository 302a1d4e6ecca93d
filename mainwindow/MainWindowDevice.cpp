// MainWindowImpl: device status, receiver signal mode and slot overview.
#include "mainwindow/MainWindowImpl.h"

#include "app/MessageBox.h"
#include "catalogue/KeysPanelRules.h"
#include "catalogue/RemoteTypeQuery.h"
#include "usb/DeviceInfo.h"
#include "usb/UsbConnection.h"
#include "usb/UsbFunctions.h"
#include "usb/UsbState.h"

#include <QDebug>
#include <QStringList>

#include <algorithm>

namespace {
const QString kRed = QStringLiteral("QLabel { color: red}");
const QString kGreen = QStringLiteral("QLabel { color: green}");
} // namespace

void MainWindowImpl::attachUsb(UsbState *state)
{
    usbState = state;
    if (usbState && usbRequestWaiting)
        postUsbRequest();
}

void MainWindowImpl::connectUsbConnection(UsbConnection *connection)
{
    const auto q = Qt::QueuedConnection;
    connect(connection, &UsbConnection::updateUsb1, this, &MainWindowImpl::initUsb1, q);
    connect(connection, &UsbConnection::updateUsb2, this, &MainWindowImpl::initUsb2, q);
    connect(connection, &UsbConnection::updateUsb3, this, &MainWindowImpl::initUsb3, q);
    connect(connection, &UsbConnection::updateUsb4, this, &MainWindowImpl::initUsb4, q);
    connect(connection, &UsbConnection::updateUsb5, this, &MainWindowImpl::initUsb5, q);
    connect(connection, &UsbConnection::updateUsb6, this, &MainWindowImpl::initUsb6, q);
    connect(connection, &UsbConnection::updateUsb7, this, &MainWindowImpl::initUsb7, q);
    connect(connection, &UsbConnection::updateReceiver1, this, &MainWindowImpl::initReceiver1, q);
    connect(connection, &UsbConnection::updateReceiver2, this, &MainWindowImpl::initReceiver2, q);
    connect(connection, &UsbConnection::updateUsbRefused, this, &MainWindowImpl::initUsbRefused, q);
    // Settings and photo panel belong to the window's thread.
    connect(connection, &UsbConnection::updateCustomerNumber, this, &MainWindowImpl::takeCustomerNumber, q);
}

void MainWindowImpl::connectUsbFunctions(UsbFunctions *functions)
{
    const auto q = Qt::QueuedConnection;
    connect(functions, &UsbFunctions::updateUsb2, this, &MainWindowImpl::initUsb2, q);
    connect(functions, &UsbFunctions::updateUsb6, this, &MainWindowImpl::initUsb6, q);
    connect(functions, &UsbFunctions::updateUsb7, this, &MainWindowImpl::initUsb7, q);
    connect(functions, &UsbFunctions::updateFunctions1, this, &MainWindowImpl::initFunctions1, q);
    connect(functions, &UsbFunctions::updateFunctions2, this, &MainWindowImpl::initFunctions2, q);
    connect(functions, &UsbFunctions::updateFunctions3, this, &MainWindowImpl::initFunctions3, q);
    connect(functions, &UsbFunctions::updateCustomerNumber, this, &MainWindowImpl::takeCustomerNumber, q);
    connect(functions, &UsbFunctions::updateFunctionsFailed, this, &MainWindowImpl::initFunctionsFailed, q);
    connect(functions, &UsbFunctions::updateFunctionsDone, this, &MainWindowImpl::initFunctionsDone, q);
}

bool MainWindowImpl::postUsbRequest()
{
    if (!usbState) {
        usbRequestWaiting = true;
        return true;
    }
    usbRequestWaiting = false;
    UsbRequestData request;
    request.command = usbCommand;
    request.nPult = nPult;
    request.flashData = flashData;
    std::copy(std::begin(slotFlashData), std::end(slotFlashData), request.slotFlashData.begin());
    request.transmitFrame = transmitFrame;
    if (usbState->request.post(request))
        return true;
    MessageBox::information(this, tr("Information"), tr("device busy"));
    return false;
}

void MainWindowImpl::takeCustomerNumber(const QString &number)
{
    if (!DeviceInfo::replacesCustomerId(customerId, number))
        return;
    qDebug().noquote() << QStringLiteral("customer number %1 replaces %2").arg(number, customerId);
    customerId = number;
    saveSettings();
    refreshImageEnable();
    refreshImageButtons();
}

// The remote is gone or was never there: its actions and the receiver's go
// off until the slot overview and initReceiver2 turn them on again.
static void showNoRemote(MainWindowImpl *w)
{
    w->remoteLineSource = QT_TRANSLATE_NOOP("MainWindowImpl", "USB remote control not connected");
    w->remoteLineProduct.clear();
    w->shownOverview = 0;
    w->showDeviceLines();
    w->labelUSBconnection->setStyleSheet(kRed);
    if (w->usbState)
        w->usbState->slotInfoValid.store(false, std::memory_order_release);
    w->actionUSBProgramm->setEnabled(false);
    w->actionUSBProgramm->setToolTip(KeysPanelRules::noRemoteText());
    w->actionMacroProgramm->setEnabled(false);
    w->actionTransmitMode->setEnabled(false);
    w->menu_Receiver_Type->setEnabled(false);
}

static void showReceiverConnected(MainWindowImpl *w)
{
    w->receiverLineSource = QT_TRANSLATE_NOOP("MainWindowImpl", "USB infrared receiver is connected");
    w->showDeviceLines();
    w->labelUSBreceiver->setStyleSheet(kGreen);
    w->actionModuleted_Signal_30kHz_56kHz->setChecked(true);
    w->actionNon_modulated_Signal_ITT->setChecked(false);
}

void MainWindowImpl::showDeviceLines()
{
    // The connected remote's line leads with the product's name.
    if (remoteLineSource) {
        const QString text = tr(remoteLineSource);
        labelUSBconnection->setText(remoteLineProduct + text);
    }
    if (receiverLineSource)
        labelUSBreceiver->setText(tr(receiverLineSource));
}

void MainWindowImpl::initUsb1()
{
    qDebug() << "initUsb1";
    showNoRemote(this);
}

void MainWindowImpl::initUsb2()
{
    qDebug() << "initUsb2";
    if (!usbState)
        return;
    const DeviceInfo info = usbState->deviceInfo();
    // The raw block is a detail for debugging, like the other device
    // details: the user's log would open on a column of numbers.
    QStringList entries;
    for (int i = 0; i < DeviceInfo::kRemote1Bytes; ++i)
        entries << QString::number(info.at(i));
    qDebug().noquote() << "Device information block:" << entries.join(QLatin1Char(' '));
    deviceId = info.deviceId();
    deviceRCTypeId = info.remoteTypeId();

    const QString type = QString::number(deviceRCTypeId);
    if (rcTypesList.contains(type))
        return;
    // Only a type the catalogue knows joins the list the user works with.
    if (!RemoteTypeQuery::typeIds({type}).contains(type))
        return;
    rcTypesList.append(type);
    if (!rcTypes.isEmpty())
        rcTypes += QLatin1Char(',');
    rcTypes += type;
    saveSettings();
}

void MainWindowImpl::initUsb3()
{
    qDebug() << "initUsb3";
    const QString product = usbState ? usbState->productString() : QString();
    remoteLineSource = QT_TRANSLATE_NOOP("MainWindowImpl", "is connected");
    remoteLineProduct = product + QLatin1Char(' ');
    showDeviceLines();
    labelUSBconnection->setStyleSheet(kGreen);
}

void MainWindowImpl::initUsb4()
{
    qDebug() << "initUsb4";
    showNoRemote(this);
    changer8in1Dialog.close();
    macroDialog.close();
}

void MainWindowImpl::initUsb5()
{
    qDebug() << "initUsb5";
    refreshInformation1();
}

// The window works on its own copy of the header pages the link read.
static void showSlotHeaderPages(MainWindowImpl *w)
{
    if (w->usbState) {
        const SlotHeaderPages pages = w->usbState->slotHeaderPages();
        std::copy(pages.begin(), pages.end(), std::begin(w->slotHeaderPages));
    }
    w->refreshInformation2();
}

void MainWindowImpl::initUsb6()
{
    qDebug() << "initUsb6";
    showSlotHeaderPages(this);
}

void MainWindowImpl::initUsb7()
{
    qDebug() << "initUsb7";
    showReceiverConnected(this);
}

void MainWindowImpl::initReceiver1()
{
    qDebug() << "initReceiver1";
    receiverLineSource = QT_TRANSLATE_NOOP("MainWindowImpl", "USB infrared receiver not connected");
    showDeviceLines();
    labelUSBreceiver->setStyleSheet(kRed);
    actionTransmitMode->setEnabled(false);
    menu_Receiver_Type->setEnabled(false);
}

void MainWindowImpl::initReceiver2()
{
    qDebug() << "initReceiver2";
    showReceiverConnected(this);
    actionTransmitMode->setEnabled(true);
    menu_Receiver_Type->setEnabled(true);
}

void MainWindowImpl::initUsbRefused(const QString &kind)
{
    qDebug().noquote() << "initUsbRefused" << kind;
    showNoRemote(this);
    remoteLineSource = QT_TRANSLATE_NOOP(
        "MainWindowImpl", "USB remote control found, but it cannot be opened: install the udev rule (see README, Devices)");
    showDeviceLines();
}

void MainWindowImpl::initFunctions1(QTime start)
{
    qDebug() << "initFunctions1";
    // Across midnight the clock starts again.
    int elapsed = start.msecsTo(QTime::currentTime());
    if (elapsed < 0)
        elapsed += 24 * 60 * 60 * 1000;
    appendLog(QString::number(elapsed) + QStringLiteral("ms"));
    refreshInformation1();
}

void MainWindowImpl::initFunctions2()
{
    qDebug() << "initFunctions2";
    refreshInformation1();
}

void MainWindowImpl::initFunctions3()
{
    qDebug() << "initFunctions3";
    showSlotHeaderPages(this);
}

void MainWindowImpl::initFunctionsFailed(const QString &text)
{
    qDebug().noquote() << "initFunctionsFailed" << text;
    const QString line = tr("USB request failed: %1").arg(text);
    appendLog(line);
    showStatus(line.section(QLatin1Char('\n'), 0, 0));
    MessageBox::warning(this, tr("Warning"), line);
}

void MainWindowImpl::initFunctionsDone(int command, int slot)
{
    // Slots are counted from 1 as on the replacer's buttons.
    switch (command) {
    case UsbCommand::WriteSlotRemote1:
    case UsbCommand::WriteSlotRemote2:
        showStatus(tr("Slot %1 was written.").arg(slot + 1));
        break;
    case UsbCommand::DeleteSlot:
        showStatus(tr("Slot %1 was cleared.").arg(slot + 1));
        break;
    case UsbCommand::WriteSimpleSlots:
        showStatus(tr("Simple programming: all slots were written."));
        break;
    case UsbCommand::WriteMacroPage:
        showStatus(tr("The macros were written to the remote control."));
        break;
    default:
        break;
    }
}

void MainWindowImpl::changeSignal30()
{
    usbCommand = UsbCommand::SignalModulated;
    postUsbRequest();
    actionModuleted_Signal_30kHz_56kHz->setChecked(true);
    actionNon_modulated_Signal_ITT->setChecked(false);
    qDebug().noquote() << QStringLiteral("usbTransmitOption: %1").arg(usbCommand);
}

void MainWindowImpl::changeSignalITT()
{
    usbCommand = UsbCommand::SignalNonModulated;
    postUsbRequest();
    actionNon_modulated_Signal_ITT->setChecked(true);
    actionModuleted_Signal_30kHz_56kHz->setChecked(false);
    qDebug().noquote() << QStringLiteral("usbTransmitOption: %1").arg(usbCommand);
}
