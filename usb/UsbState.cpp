#include "usb/UsbState.h"

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

std::array<int, UsbState::kDeviceInfoSize> UsbState::deviceInfo() const
{
    QMutexLocker lock(&m_mutex);
    return m_deviceInfo;
}

void UsbState::setDeviceInfo(const std::array<int, kDeviceInfoSize> &info)
{
    QMutexLocker lock(&m_mutex);
    m_deviceInfo = info;
}
