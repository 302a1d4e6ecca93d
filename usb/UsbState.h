#pragma once

#include "usb/DeviceInfo.h"
#include "usb/HidBackend.h"
#include "usb/HidReport.h"
#include "usb/UsbRequest.h"

#include <QString>

#include <array>
#include <atomic>
#include <mutex>

// The USB state shared between the worker threads and the window. It belongs
// to the application object, which hands it to the device link; core code
// never needs the widget-side owner. Flags are atomics (release on publish,
// acquire on read); texts and blocks are guarded by the mutex.
class UsbState
{
public:
    static constexpr int kDeviceInfoSize = DeviceInfo::kSize;

    std::atomic<bool> slotInfoValid{false};
    std::atomic<bool> transmitRequested{false};
    // True while no information read or request holds the device; the
    // capture thread processes receiver reports only then. Set through
    // holdDevice() and releaseDevice() by the link threads.
    std::atomic<bool> usbReady{false};
    // Counts holdDevice() calls. Reports the device sent while it was held
    // may still wait on the receiver channel after usbReady is back: the
    // capture thread throws away what is queued whenever the count moved.
    std::atomic<unsigned> deviceHolds{0};
    std::atomic<int> remoteReportSize{0};
    std::atomic<int> receiverReportSize{0};
    // Set when a transfer on the open remote's or receiver's channels failed:
    // the device went away, even if one of the same kind is back by now.
    // Cleared when the channels are replaced.
    std::atomic<bool> remoteLost{false};
    std::atomic<bool> receiverLost{false};

    // The request mailbox; it raises and lowers transmitRequested.
    UsbRequest request{transmitRequested};

    // Held around every open, close, information read and request, so the
    // connection thread and the request worker never talk to the devices at
    // the same time. The report buffers below are used only while it is held.
    // The window never takes it.
    std::mutex linkLock;
    HidReport inputReport{};
    HidReport outputReport{};

    // A link thread takes the device for an information read or a request,
    // and gives it back to the capture thread.
    void holdDevice()
    {
        deviceHolds.fetch_add(1, std::memory_order_acq_rel);
        usbReady.store(false, std::memory_order_release);
    }
    void releaseDevice() { usbReady.store(true, std::memory_order_release); }

    QString productString() const;
    void setProductString(const QString &text);
    QString remoteKind() const;
    void setRemoteKind(const QString &kind);
    QString receiverKind() const;
    void setReceiverKind(const QString &kind);
    // Snapshots: written whole by the link threads before they signal, read
    // whole by the window.
    DeviceInfo deviceInfo() const;
    void setDeviceInfo(const DeviceInfo &info);
    SlotHeaderPages slotHeaderPages() const;
    void setSlotHeaderPages(const SlotHeaderPages &pages);
    // The remote1 slot headers for the slot overview: complete before
    // updateUsb5 (connection thread) and before updateFunctions1 and
    // updateFunctions2 (request worker) are emitted; the window reads this
    // snapshot and never the device.
    Remote1SlotHeaders remote1SlotHeaders() const;
    void setRemote1SlotHeaders(const Remote1SlotHeaders &headers);

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
    // Marks the remote or the receiver lost when channel is one of its open
    // channels; a channel of an earlier connection marks nothing.
    void noteFailedTransfer(const HidHandle &channel);

private:
    // Standard primitives, so thread checkers see every lock.
    mutable std::mutex m_mutex;
    QString m_productString;
    QString m_remoteKind;
    QString m_receiverKind;
    DeviceInfo m_deviceInfo;
    SlotHeaderPages m_slotHeaderPages{};
    Remote1SlotHeaders m_remote1SlotHeaders;
    std::atomic<HidBackend *> m_backend{nullptr};
    HidHandle m_remoteRead, m_remoteWrite, m_receiverRead, m_receiverWrite;
};
