#include "usb/UsbConnection.h"

UsbConnection::UsbConnection(UsbState *state, QObject *parent) : UsbWorker(parent), m_state(state), m_device(state) {}

void UsbConnection::run()
{
    // The presence test comes with the connection logic; until then the
    // thread idles at the specified one-second cycle.
    while (waitForWork(1000)) {
    }
}
