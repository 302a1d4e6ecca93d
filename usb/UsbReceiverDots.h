#pragma once

#include "usb/Device.h"
#include "usb/UsbWorker.h"

class CaptureStore;
class UsbState;

// The capture thread: reads the infrared receiver's reports and appends their
// durations to the capture store, where the store's rules close them into
// messages. Reports are taken only while the receiver is open and no
// information read or request holds the device.
class UsbReceiverDots : public UsbWorker
{
    Q_OBJECT
public:
    // How long one read waits for a report, so that a stop is seen promptly.
    static constexpr int kReadTimeoutMs = 20;

    UsbReceiverDots(UsbState *state, CaptureStore *store, QObject *parent = nullptr);

signals:
    // Connected to the window's initDots1; the loop hands its durations over
    // through the store and does not emit it.
    void updateDots1(int count);

protected:
    void run() override;

private:
    UsbState *m_state;
    CaptureStore *m_store;
    Device m_device;
};
