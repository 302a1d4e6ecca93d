#include "usb/UsbFunctions.h"

UsbFunctions::UsbFunctions(int number, UsbState *state, QObject *parent)
    : UsbWorker(parent), m_number(number), m_state(state), m_device(state)
{
}

void UsbFunctions::run()
{
    // The mailbox is polled every 20 ms; carrying out requests comes with the worker.
    while (waitForWork(20)) {
    }
}
