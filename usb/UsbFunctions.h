#pragma once

#include "usb/Device.h"
#include "usb/UsbWorker.h"

class UsbState;

class UsbFunctions : public UsbWorker
{
    Q_OBJECT
public:
    // The number is kept as given and not used by the loop.
    UsbFunctions(int number, UsbState *state, QObject *parent = nullptr);

protected:
    void run() override;

private:
    int m_number;
    UsbState *m_state;
    Device m_device;
};
