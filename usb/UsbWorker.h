#pragma once

#include "usb/HidBackend.h"
#include "usb/HidReport.h"

#include <QThread>

class Device;

// Base of the device-link worker threads: they stop cooperatively. A loop
// sleeps through waitForWork(), which returns at once when the thread is asked
// to stop, so the program never waits for a full poll period at shutdown.
class UsbWorker : public QThread
{
    Q_OBJECT
public:
    using QThread::QThread;

    // Asks the loop to end and waits for it.
    void stop();

    // For code that runs on a worker thread without knowing its object:
    // whether the calling thread was asked to stop,
    static bool stopRequested();
    // a sleep of up to ms milliseconds that ends early when it is (false then),
    static bool pause(int ms);
    // and a read that waits up to timeoutMs for one report but gives up as
    // soon as it is (the result is then 0, as for a time-out).
    static int readReport(Device &device, const HidHandle &handle, int reportSize, HidReport &report, int timeoutMs);

protected:
    // Sleeps up to ms milliseconds; false when the thread should end.
    bool waitForWork(int ms);
};
