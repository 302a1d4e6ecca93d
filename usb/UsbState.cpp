#include "usb/UsbState.h"

#include <QMutexLocker>

#include <utility>

QString UsbState::productString() const
{
    QMutexLocker lock(&m_mutex);
    return m_productString;
}

void UsbState::setProductString(const QString &text)
{
    QMutexLocker lock(&m_mutex);
    m_productString = text;
}

QString UsbState::remoteKind() const
{
    QMutexLocker lock(&m_mutex);
    return m_remoteKind;
}

void UsbState::setRemoteKind(const QString &kind)
{
    QMutexLocker lock(&m_mutex);
    m_remoteKind = kind;
}

QString UsbState::receiverKind() const
{
    QMutexLocker lock(&m_mutex);
    return m_receiverKind;
}

void UsbState::setReceiverKind(const QString &kind)
{
    QMutexLocker lock(&m_mutex);
    m_receiverKind = kind;
}

DeviceInfo UsbState::deviceInfo() const
{
    QMutexLocker lock(&m_mutex);
    return m_deviceInfo;
}

void UsbState::setDeviceInfo(const DeviceInfo &info)
{
    QMutexLocker lock(&m_mutex);
    m_deviceInfo = info;
}

SlotHeaderPages UsbState::slotHeaderPages() const
{
    QMutexLocker lock(&m_mutex);
    return m_slotHeaderPages;
}

void UsbState::setSlotHeaderPages(const SlotHeaderPages &pages)
{
    QMutexLocker lock(&m_mutex);
    m_slotHeaderPages = pages;
}

Remote1SlotHeaders UsbState::remote1SlotHeaders() const
{
    QMutexLocker lock(&m_mutex);
    return m_remote1SlotHeaders;
}

void UsbState::setRemote1SlotHeaders(const Remote1SlotHeaders &headers)
{
    QMutexLocker lock(&m_mutex);
    m_remote1SlotHeaders = headers;
}

HidHandle UsbState::remoteReadHandle() const
{
    QMutexLocker lock(&m_mutex);
    return m_remoteRead;
}

HidHandle UsbState::remoteWriteHandle() const
{
    QMutexLocker lock(&m_mutex);
    return m_remoteWrite;
}

HidHandle UsbState::receiverReadHandle() const
{
    QMutexLocker lock(&m_mutex);
    return m_receiverRead;
}

HidHandle UsbState::receiverWriteHandle() const
{
    QMutexLocker lock(&m_mutex);
    return m_receiverWrite;
}

void UsbState::setRemoteHandles(HidHandle read, HidHandle write)
{
    HidHandle oldRead, oldWrite;
    QMutexLocker lock(&m_mutex);
    // The old channels are released after the lock: closing one may wait for
    // a read on it to end.
    oldRead = std::exchange(m_remoteRead, std::move(read));
    oldWrite = std::exchange(m_remoteWrite, std::move(write));
    remoteLost.store(false, std::memory_order_release);
    lock.unlock();
}

void UsbState::setReceiverHandles(HidHandle read, HidHandle write)
{
    HidHandle oldRead, oldWrite;
    QMutexLocker lock(&m_mutex);
    oldRead = std::exchange(m_receiverRead, std::move(read));
    oldWrite = std::exchange(m_receiverWrite, std::move(write));
    receiverLost.store(false, std::memory_order_release);
    lock.unlock();
}

void UsbState::noteFailedTransfer(const HidHandle &channel)
{
    if (!channel)
        return;
    QMutexLocker lock(&m_mutex);
    if (channel == m_remoteRead || channel == m_remoteWrite)
        remoteLost.store(true, std::memory_order_release);
    if (channel == m_receiverRead || channel == m_receiverWrite)
        receiverLost.store(true, std::memory_order_release);
}
