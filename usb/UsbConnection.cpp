#include "usb/UsbConnection.h"

#include "usb/DeviceInfoReader.h"
#include "usb/UsbState.h"

#include <QDebug>
#include <QMutexLocker>

namespace {
const QString kRemote1 = QStringLiteral("remote1");
const QString kRemote2 = QStringLiteral("remote2");
const QString kReceiver2 = QStringLiteral("receiver2");
} // namespace

UsbConnection::UsbConnection(UsbState *state, QObject *parent) : UsbWorker(parent), m_state(state), m_device(state) {}

UsbConnection::~UsbConnection()
{
    stop();
}

void UsbConnection::run()
{
    if (!m_state)
        return;
    m_state->setRemoteKind(QStringLiteral(""));
    if (!waitForWork(m_timings.startDelayMs))
        return;
    emit updateReceiver1();
    emit updateUsb1();
    while (waitForWork(m_timings.cycleMs)) {
        checkRemote();
        if (stopRequested())
            return;
        checkReceiver();
    }
}

bool UsbConnection::remoteGone()
{
    if (m_state->remoteLost.load(std::memory_order_acquire))
        return true;
    // Nobody else reads the remote between requests: what waits there is
    // stale, and a failed look means the device went away.
    return !m_device.drainReports(m_state->remoteReadHandle(), m_state->remoteReportSize.load(std::memory_order_acquire));
}

bool UsbConnection::receiverGone()
{
    if (m_state->receiverLost.load(std::memory_order_acquire))
        return true;
    // The capture thread reads the receiver's read channel; its write channel
    // is never read, so looking there takes nobody's report.
    return !m_device.drainReports(m_state->receiverWriteHandle(),
                                  m_state->receiverReportSize.load(std::memory_order_acquire));
}

void UsbConnection::logOpenFailure(bool &failed, const QString &what)
{
    // Told once, not every second, until an open succeeds again.
    if (!failed)
        qWarning().noquote() << QStringLiteral("UsbConnection: the %1 is present but could not be opened").arg(what);
    failed = true;
}

void UsbConnection::closeRemote()
{
    m_device.closeRemote();
    m_state->setRemoteKind(QStringLiteral(""));
}

void UsbConnection::connectRemote(QString &kind, const QString &wanted, int productId, bool dropped)
{
    if (!kind.isEmpty() && kind != wanted) {
        // The other generation is closed and this one opened in the same cycle.
        closeRemote();
        kind.clear();
        dropped = true;
    }
    if (!kind.isEmpty())
        return;
    if (!m_device.openRemote(HidIds::kVendor, productId)) {
        // Not claimed as connected; the next cycle tries again.
        logOpenFailure(m_remoteOpenFailed, wanted);
        if (dropped)
            emit updateUsb4();
        return;
    }
    m_remoteOpenFailed = false;
    if (wanted == kRemote1)
        readRemote1Info();
    else
        readRemote2Info();
    if (stopRequested())
        return;
    m_state->setRemoteKind(wanted);
    emit updateUsb3();
}

void UsbConnection::checkRemote()
{
    QMutexLocker lock(&m_state->linkLock);
    QString kind = m_state->remoteKind();
    // A remote that went away since the last look is closed; one that is back
    // already is opened and read again below, like any remote plugged in.
    bool dropped = false;
    if (!kind.isEmpty() && remoteGone()) {
        qDebug().noquote() << QStringLiteral("UsbConnection: the %1 went away").arg(kind);
        closeRemote();
        kind.clear();
        dropped = true;
    }

    if (m_device.isPresent(HidIds::kVendor, HidIds::kRemote1)) {
        connectRemote(kind, kRemote1, HidIds::kRemote1, dropped);
    } else if (m_device.isPresent(HidIds::kVendor, HidIds::kRemote2)) {
        connectRemote(kind, kRemote2, HidIds::kRemote2, dropped);
    } else if (dropped || !kind.isEmpty()) {
        closeRemote();
        emit updateUsb4();
    }
}

void UsbConnection::checkReceiver()
{
    QMutexLocker lock(&m_state->linkLock);
    QString kind = m_state->receiverKind();
    bool dropped = false;
    if (!kind.isEmpty() && receiverGone()) {
        qDebug().noquote() << "UsbConnection: the receiver went away";
        m_device.closeReceiver();
        m_state->setReceiverKind(QStringLiteral(""));
        kind.clear();
        dropped = true;
    }

    const bool present = m_device.isPresent(HidIds::kVendor, HidIds::kRemote2);
    if (present && kind.isEmpty()) {
        if (!m_device.openReceiver(HidIds::kVendor, HidIds::kRemote2)) {
            logOpenFailure(m_receiverOpenFailed, kReceiver2);
            if (dropped)
                emit updateReceiver1();
            return;
        }
        m_receiverOpenFailed = false;
        setCommandReport(m_state->outputReport, HidCommand::kReceiveMode, HidCommand::kModulated);
        m_device.writeReport(m_state->receiverWriteHandle(), m_state->receiverReportSize.load(std::memory_order_acquire),
                             m_state->outputReport);
        m_state->usbReady.store(true, std::memory_order_release);
        m_state->setReceiverKind(kReceiver2);
        emit updateReceiver2();
    } else if (!present && (dropped || kind == kReceiver2)) {
        m_device.closeReceiver();
        m_state->setReceiverKind(QStringLiteral(""));
        emit updateReceiver1();
    }
}

void UsbConnection::readRemote1Info()
{
    DeviceInfoReader reader(m_device, *m_state, {m_timings.programmingModeMs, m_timings.readTimeoutMs});
    if (!reader.readRemote1Information())
        return;
    emit updateUsb2();
    handOverCustomerNumber(reader);
    emit updateUsb5();
}

void UsbConnection::readRemote2Info()
{
    m_state->usbReady.store(false, std::memory_order_release);
    DeviceInfoReader reader(m_device, *m_state, {m_timings.programmingModeMs, m_timings.readTimeoutMs});
    if (!reader.readRemote2Information())
        return;
    emit updateUsb2();
    handOverCustomerNumber(reader);
    if (!reader.readSlotHeaders())
        return;
    qDebug().noquote() << "-------------------------";
    emit updateUsb6();
    if (!reader.sendReceiverOption())
        return;
    emit updateUsb7();
    m_state->usbReady.store(true, std::memory_order_release);
}

void UsbConnection::handOverCustomerNumber(const DeviceInfoReader &reader)
{
    // A number this remote did not send (it went away or fell silent first)
    // must not become the installation's customer number.
    if (!reader.hasRead(DeviceInfo::kCustomerNumberEntry)) {
        qWarning().noquote() << "UsbConnection: the remote's customer number was not read; the stored one stays";
        return;
    }
    emit updateCustomerNumber(QString::number(m_state->deviceInfo().customerNumber()));
}
