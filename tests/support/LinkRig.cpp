#include "LinkRig.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

UsbFunctions::Timings LinkRig::fastWorkerTimings()
{
    UsbFunctions::Timings t;
    t.startDelayMs = 10;
    t.pollMs = 2;
    t.pageSleepMs = 1;
    t.clearSleepMs = 1;
    t.programmingModeMs = 2;
    t.readTimeoutMs = 300;
    return t;
}

LinkRig::LinkRig(const UsbConnection::Timings &timings, const UsbFunctions::Timings &workerTimings)
    : ConnectionRig(timings), capture(&state, store.get()), functions(0, &state)
{
    functions.setTimings(workerTimings);
    const auto on = [this](const QString &name) {
        return [this, name] { record(QStringLiteral("worker:") + name); };
    };
    QObject::connect(&functions, &UsbFunctions::updateUsb2, on("updateUsb2"));
    QObject::connect(&functions, &UsbFunctions::updateUsb6, on("updateUsb6"));
    QObject::connect(&functions, &UsbFunctions::updateUsb7, on("updateUsb7"));
    QObject::connect(&functions, &UsbFunctions::updateFunctions1, [this](QTime) { record("worker:updateFunctions1"); });
    QObject::connect(&functions, &UsbFunctions::updateFunctions2, on("updateFunctions2"));
    QObject::connect(&functions, &UsbFunctions::updateFunctions3, on("updateFunctions3"));
    QObject::connect(&functions, &UsbFunctions::updateCustomerNumber, [this](const QString &n) {
        record(QStringLiteral("worker:updateCustomerNumber(%1)").arg(n));
    });
    QObject::connect(&functions, &UsbFunctions::updateFunctionsFailed, [this](const QString &text) {
        record(QStringLiteral("worker:updateFunctionsFailed(%1)").arg(text));
    });
}

LinkRig::~LinkRig()
{
    functions.stop();
    capture.stop();
    connection.stop();
}

void LinkRig::start()
{
    connection.start();
    capture.start();
    functions.start();
}

bool LinkRig::carryOut(const UsbRequestData &request, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!functions.polling()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(2);
    }
    if (!state.request.post(request))
        return false;
    while (state.transmitRequested.load()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(2);
    }
    return true;
}
