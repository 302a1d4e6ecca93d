#include "usb/UsbWorker.h"

#include <QDeadlineTimer>

void UsbWorker::stop()
{
    requestInterruption();
    wait();
}

bool UsbWorker::waitForWork(int ms)
{
    // Slice the sleep so an interruption is seen within a few milliseconds.
    QDeadlineTimer deadline(ms);
    while (!isInterruptionRequested()) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0)
            return true;
        QThread::msleep(static_cast<unsigned long>(qMin<qint64>(left, 5)));
    }
    return false;
}
