#pragma once

#include "usb/Device.h"
#include "usb/UsbWorker.h"

class UsbState;

class UsbReceiverDots : public UsbWorker
{
    Q_OBJECT
public:
    UsbReceiverDots(UsbState *state, QObject *parent = nullptr);

protected:
    void run() override;

private:
    UsbState *m_state;
    Device m_device;
};
