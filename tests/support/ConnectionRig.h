#pragma once

#include "usb/sim/HidSimulator.h"
#include "usb/UsbConnection.h"
#include "usb/UsbState.h"

#include <QStringList>

#include <mutex>

// A connection thread on the simulated devices with fast timings. It records
// the thread's signals in the order they are emitted, the customer number as
// "updateCustomerNumber(n)", a refused remote as "updateUsbRefused(kind)".
class ConnectionRig
{
public:
    static UsbConnection::Timings fastTimings();

    explicit ConnectionRig(const UsbConnection::Timings &timings = fastTimings());
    ~ConnectionRig();

    HidSimulator sim;
    UsbState state;
    UsbConnection connection;

    // A new simulated remote of this kind ("remote1" or "remote2"), unplugged.
    std::shared_ptr<SimulatedDevice> addRemote(const QString &kind);

    QStringList events() const;
    QStringList takeEvents();
    // Waits (running the event loop) until at least count signals came.
    bool waitForEvents(int count, int timeoutMs = 10000) const;
    // Waits for several cycles of the thread and returns the signals that
    // came meanwhile (for checking that nothing more happens).
    QStringList eventsDuring(int cycles);

    // The simulator's trace, one line per output report ("remote1.2 > 00 03 01
    // [9]": channel, bytes up to the last non-zero one, length) and one line
    // per run of input reports on one channel ("remote1.3 < 32 reports").
    QStringList traceLines() const;

protected:
    void record(const QString &event);

private:
    mutable std::mutex m_mutex;
    QStringList m_events;
};
