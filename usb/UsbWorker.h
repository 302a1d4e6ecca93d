#pragma once

#include <QThread>

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

protected:
    // Sleeps up to ms milliseconds; false when the thread should end.
    bool waitForWork(int ms);
};
