#include "usb/sim/SimulatorBus.h"

#include "usb/sim/SimulatedDevice.h"

#include <QDebug>

SimulatorBus::SimulatorBus()
{
    clock.start();
}

bool SimulatorBus::aliveLocked(const Channel &channel) const
{
    return !channel.closed && channel.device->m_plugged && channel.device->m_generation == channel.generation;
}

void SimulatorBus::deliverLocked(const SimulatedDevice *device, const QByteArray &report, qint64 dueUs)
{
    for (const auto &ch : std::as_const(channels)) {
        // Like the kernel's hidraw buffer: a channel nobody reads keeps its
        // oldest reports and drops new ones.
        if (ch->device.get() == device && aliveLocked(*ch) && ch->openedUs <= dueUs &&
            ch->queue.size() < kChannelQueueLimit)
            ch->queue.push_back(report);
    }
    changed.notify_all();
}

void SimulatorBus::pumpLocked()
{
    const qint64 now = nowUs();
    for (const auto &dev : std::as_const(plugged)) {
        while (!dev->m_scheduled.empty() && dev->m_scheduled.front().first <= now) {
            const auto item = dev->m_scheduled.front();
            dev->m_scheduled.pop_front();
            deliverLocked(dev.get(), item.second, item.first);
        }
    }
}

qint64 SimulatorBus::nextDueLocked(const SimulatedDevice *device) const
{
    return device->m_scheduled.empty() ? -1 : device->m_scheduled.front().first;
}

void SimulatorBus::unplugLocked(const std::shared_ptr<SimulatedDevice> &device)
{
    if (!device || !device->m_plugged)
        return;
    device->m_plugged = false;
    ++device->m_generation;
    device->m_scheduled.clear();
    device->m_unplugAfterReports = 0;
    device->unpluggedLocked();
    plugged.removeOne(device);
    for (const auto &ch : std::as_const(channels)) {
        if (ch->device == device)
            ch->queue.clear();
    }
    changed.notify_all();
}

void SimulatorBus::flagLocked(const QString &text)
{
    if (!strict)
        return;
    violations.append(QStringLiteral("%1 us: %2").arg(nowUs()).arg(text));
    if (logViolations)
        qDebug().noquote() << "HidSimulator: sequence broken:" << violations.last();
}

void SimulatorBus::traceLocked(const QString &channel, bool output, const QByteArray &bytes)
{
    constexpr int kTraceLimit = 200000;
    if (trace.size() >= kTraceLimit)
        trace.erase(trace.begin(), trace.begin() + kTraceLimit / 2);
    trace.append({nowUs(), channel, output, bytes});
}
