#pragma once

#include "usb/HidBackend.h"

#include <QMutex>
#include <QString>

#include <array>
#include <atomic>

// The USB state shared between the worker threads and the window. It belongs
// to the application object, which hands it to the device link; core code
// never needs the widget-side owner. Flags are atomics (release on publish,
// acquire on read); texts and blocks are guarded by the mutex.
class UsbState
{
public:
    static constexpr int kDeviceInfoSize = 384;

    std::atomic<bool> slotInfoValid{false};
    std::atomic<bool> transmitRequested{false};
    std::atomic<bool> usbReady{false};
    std::atomic<int> remoteReportSize{0};
    std::atomic<int> receiverReportSize{0};

    QString productString() const;
    void setProductString(const QString &text);
    QString remoteKind() const;
    void setRemoteKind(const QString &kind);
    QString receiverKind() const;
    void setReceiverKind(const QString &kind);
    std::array<int, kDeviceInfoSize> deviceInfo() const;
    void setDeviceInfo(const std::array<int, kDeviceInfoSize> &info);

    // The HID layer in use (hidapi or the simulator); null means no devices.
    HidBackend *backend() const { return m_backend.load(std::memory_order_acquire); }
    void setBackend(HidBackend *backend) { m_backend.store(backend, std::memory_order_release); }

    // The channels of the open devices; null when closed. Written by Device.
    HidHandle remoteReadHandle() const;
    HidHandle remoteWriteHandle() const;
    HidHandle receiverReadHandle() const;
    HidHandle receiverWriteHandle() const;
    void setRemoteHandles(HidHandle read, HidHandle write);
    void setReceiverHandles(HidHandle read, HidHandle write);

private:
    mutable QMutex m_mutex;
    QString m_productString;
    QString m_remoteKind;
    QString m_receiverKind;
    std::array<int, kDeviceInfoSize> m_deviceInfo{};
    std::atomic<HidBackend *> m_backend{nullptr};
    HidHandle m_remoteRead, m_remoteWrite, m_receiverRead, m_receiverWrite;
};
