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

void UsbConnection::reportRefused(const QString &kind)
{
    if (!m_refusedTold.contains(kind)) {
        m_refusedTold << kind;
        qWarning().noquote() << QStringLiteral("UsbConnection: a %1 is present but cannot be opened; without the rights "
                                               "to its device node (the udev rule in tools/udev) it stays unused")
                                    .arg(kind);
    }
    if (m_refusedShown != kind) {
        m_refusedShown = kind;
        emit updateUsbRefused(kind);
    }
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
    const bool read = wanted == kRemote1 ? readRemote1Info() : readRemote2Info();
    if (stopRequested())
        return;
    if (!read) {
        // Not connected: closed again, so the next look opens and reads it anew.
        m_device.closeRemote();
        if (dropped)
            emit updateUsb4();
        return;
    }
    m_state->setRemoteKind(wanted);
    m_refusedShown.clear();
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

    using Presence = Device::Presence;
    const Presence first = m_device.presence(HidIds::kVendor, HidIds::kRemote1);
    Presence second = Presence::Absent;
    if (first == Presence::Present) {
        connectRemote(kind, kRemote1, HidIds::kRemote1, dropped);
    } else if ((second = m_device.presence(HidIds::kVendor, HidIds::kRemote2)) == Presence::Present) {
        connectRemote(kind, kRemote2, HidIds::kRemote2, dropped);
    } else if (dropped || !kind.isEmpty()) {
        closeRemote();
        emit updateUsb4();
    }
    if (stopRequested() || !m_state->remoteKind().isEmpty())
        return;
    const QString refused = first == Presence::Refused ? kRemote1 : second == Presence::Refused ? kRemote2 : QString();
    if (!refused.isEmpty()) {
        reportRefused(refused);
    } else if (!m_refusedShown.isEmpty()) {
        // The refused remote went away: the window shows no remote again.
        m_refusedShown.clear();
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
        m_state->releaseDevice();
        m_state->setReceiverKind(kReceiver2);
        emit updateReceiver2();
    } else if (!present && (dropped || kind == kReceiver2)) {
        m_device.closeReceiver();
        m_state->setReceiverKind(QStringLiteral(""));
        emit updateReceiver1();
    }
}

bool UsbConnection::accepted(const QString &kind, const DeviceInfoReader &reader)
{
    const QString why = reader.failure();
    if (why.isEmpty())
        return true;
    // A silent or broken remote is read again every second: told once.
    if (why != m_lastReadFailure)
        qWarning().noquote() << QStringLiteral("UsbConnection: the %1 is not taken over: %2; it is read again at the "
                                               "next look")
                                    .arg(kind, why);
    m_lastReadFailure = why;
    return false;
}

void UsbConnection::publishInformation(DeviceInfoReader &reader)
{
    m_lastReadFailure.clear();
    for (const QString &note : reader.notes())
        qWarning().noquote() << "Device information:" << note;
    reader.publishInformation();
    emit updateUsb2();
    // The block passed its checks, so the number is the remote's own.
    emit updateCustomerNumber(QString::number(reader.information().customerNumber()));
}

bool UsbConnection::readRemote1Info()
{
    // A new connection: nothing of an earlier device's block stays.
    DeviceInfoReader reader(m_device, *m_state, {m_timings.programmingModeMs, m_timings.readTimeoutMs}, DeviceInfo{});
    if (!reader.readRemote1Information() || !reader.readRemote1SlotHeaders() || !accepted(kRemote1, reader))
        return false;
    publishInformation(reader);
    reader.publishRemote1SlotHeaders();
    emit updateUsb5();
    return true;
}

bool UsbConnection::readRemote2Info()
{
    // The device's answers reach the receiver channel too.
    m_state->holdDevice();
    struct Release
    {
        UsbState *state;
        ~Release() { state->releaseDevice(); }
    } release{m_state};
    DeviceInfoReader reader(m_device, *m_state, {m_timings.programmingModeMs, m_timings.readTimeoutMs}, DeviceInfo{});
    if (!reader.readRemote2Information() || !reader.readSlotHeaders() || !accepted(kRemote2, reader))
        return false;
    publishInformation(reader);
    reader.publishSlotHeaders();
    qDebug().noquote() << "-------------------------";
    emit updateUsb6();
    if (!reader.sendReceiverOption())
        return false;
    emit updateUsb7();
    return true;
}
