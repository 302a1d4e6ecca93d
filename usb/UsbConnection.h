#pragma once

#include "usb/Device.h"
#include "usb/UsbWorker.h"

class UsbState;

class UsbConnection : public UsbWorker
{
    Q_OBJECT
public:
    UsbConnection(UsbState *state, QObject *parent = nullptr);

protected:
    void run() override;

private:
    UsbState *m_state;
    Device m_device;
};
