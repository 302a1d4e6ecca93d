#pragma once

#include "usb/HidBackend.h"
#include "usb/sim/SimulatorBus.h"

#include <QList>
#include <QStringList>

#include <memory>

class SimulatedDevice;
class SimulatedRemote1;
class SimulatedRemote2;

// The in-process HID layer: simulated devices that can be plugged and
// unplugged at any moment, with a trace of every report and, in strict mode, a
// list of reports that break the device's sequences. Thread-safe.
class HidSimulator : public HidBackend
{
public:
    HidSimulator();
    ~HidSimulator() override;

    QList<HidDeviceEntry> enumerate(int vendorId, int productId) override;
    HidHandle open(const QString &path) override;

    // New devices start unplugged.
    std::shared_ptr<SimulatedRemote1> addRemote1();
    std::shared_ptr<SimulatedRemote2> addRemote2();
    // Plugging appends the device to the enumeration order; unplugging ends
    // every channel open on it (pending and later transfers fail).
    void plug(const std::shared_ptr<SimulatedDevice> &device);
    void unplug(const std::shared_ptr<SimulatedDevice> &device);
    bool isPlugged(const std::shared_ptr<SimulatedDevice> &device) const;
    // Unplugs the device right after it has taken this many more output
    // reports (on any channel), to fail a sequence at a chosen report.
    void unplugAfterReports(const std::shared_ptr<SimulatedDevice> &device, int reports);

    // Strict mode records reports that break the sequences (see violations()).
    void setStrict(bool strict);
    // Also writes each violation to the debug channel (the demo mode).
    void setLogViolations(bool log);
    QStringList violations() const;
    void clearViolations();

    QList<SimTraceEntry> trace() const;
    void clearTrace();
    // Channels opened and not yet closed (on plugged or unplugged devices).
    int openChannelCount() const;

private:
    std::shared_ptr<SimulatorBus> m_bus;
};
