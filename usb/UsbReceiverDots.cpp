#include "usb/UsbReceiverDots.h"

UsbReceiverDots::UsbReceiverDots(UsbState *state, QObject *parent) : UsbWorker(parent), m_state(state) {}

void UsbReceiverDots::run()
{
    // Reading the receiver comes with the capture thread; until then it idles.
    while (waitForWork(20)) {
    }
}
