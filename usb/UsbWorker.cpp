#include "usb/UsbWorker.h"

#include "usb/Device.h"

#include <QDeadlineTimer>

namespace {
// Sleeps and reads are cut into slices this long, so a stop is seen quickly.
constexpr qint64 kSliceMs = 5;
constexpr qint64 kReadSliceMs = 20;
} // namespace

void UsbWorker::stop()
{
    requestInterruption();
    wait();
}

bool UsbWorker::stopRequested()
{
    return QThread::currentThread()->isInterruptionRequested();
}

bool UsbWorker::pause(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!stopRequested()) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0)
            return true;
        QThread::msleep(static_cast<unsigned long>(qMin<qint64>(left, kSliceMs)));
    }
    return false;
}

int UsbWorker::readReport(Device &device, const HidHandle &handle, int reportSize, HidReport &report, int timeoutMs)
{
    QDeadlineTimer deadline(qMax(0, timeoutMs));
    for (;;) {
        const qint64 left = deadline.remainingTime();
        const int got = device.readReport(handle, reportSize, report, static_cast<int>(qMin<qint64>(qMax<qint64>(left, 0), kReadSliceMs)));
        if (got != 0 || left <= 0 || stopRequested())
            return got;
    }
}

bool UsbWorker::waitForWork(int ms)
{
    return pause(ms);
}
