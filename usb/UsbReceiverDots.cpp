#include "usb/UsbReceiverDots.h"

UsbReceiverDots::UsbReceiverDots(UsbState *state, QObject *parent) : UsbWorker(parent), m_state(state), m_device(state) {}

void UsbReceiverDots::run()
{
    // Reading the receiver comes with the capture thread; until then it idles.
    while (waitForWork(20)) {
    }
}
