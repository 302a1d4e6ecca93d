#include "usb/sim/HidSimulator.h"

#include "usb/HidReport.h"
#include "usb/sim/SimulatedDevice.h"
#include "usb/sim/SimulatedRemote1.h"
#include "usb/sim/SimulatedRemote2.h"

#include <mutex>

#include <algorithm>
#include <chrono>

// A host channel on a simulated device.
class SimulatedChannel : public HidChannel
{
public:
    SimulatedChannel(std::shared_ptr<SimulatorBus> bus, std::shared_ptr<SimulatorBus::Channel> channel)
        : m_bus(std::move(bus)), m_channel(std::move(channel))
    {
    }
    ~SimulatedChannel() override { close(); }

    int inputReportLength() const override
    {
        std::lock_guard<std::mutex> lock(m_bus->mutex);
        return m_channel->device->m_reportSize + 1;
    }
    int outputReportLength() const override { return inputReportLength(); }
    QString productString() const override
    {
        std::lock_guard<std::mutex> lock(m_bus->mutex);
        return m_channel->device->m_productString;
    }

    int write(const quint8 *data, int length) override
    {
        std::lock_guard<std::mutex> lock(m_bus->mutex);
        m_bus->pumpLocked();
        if (!data || length < 1 || !m_bus->aliveLocked(*m_channel))
            return -1;
        SimulatedDevice &dev = *m_channel->device;
        const QByteArray bytes(reinterpret_cast<const char *>(data), length);
        m_bus->traceLocked(m_channel->name, true, bytes);
        const int n = dev.m_reportSize;
        if (length != n + 1)
            dev.flagLocked(QStringLiteral("report of %1 bytes, the device takes %2").arg(length).arg(n + 1));
        if (data[0] != 0)
            dev.flagLocked(QStringLiteral("report id %1, the device has no numbered reports").arg(data[0]));
        QByteArray payload = bytes.mid(1, n);
        payload.append(QByteArray(n - payload.size(), '\0'));
        dev.receiveLocked(payload);
        if (dev.m_unplugAfterReports > 0 && --dev.m_unplugAfterReports == 0)
            m_bus->unplugLocked(m_channel->device);
        m_bus->changed.notify_all();
        return length;
    }

    int read(quint8 *data, int length, int timeoutMs) override
    {
        std::unique_lock<std::mutex> lock(m_bus->mutex);
        if (!data || length < 1)
            return -1;
        const qint64 deadline = m_bus->nowUs() + qint64(std::max(0, timeoutMs)) * 1000;
        for (;;) {
            m_bus->pumpLocked();
            if (!m_bus->aliveLocked(*m_channel))
                return -1;
            if (!m_channel->queue.empty()) {
                const QByteArray report = m_channel->queue.front();
                m_channel->queue.pop_front();
                const int count = std::min<int>(length, report.size());
                std::copy_n(reinterpret_cast<const quint8 *>(report.constData()), count, data);
                m_bus->traceLocked(m_channel->name, false, report.left(count));
                return count;
            }
            const qint64 now = m_bus->nowUs();
            if (now >= deadline)
                return 0;
            qint64 until = deadline;
            const qint64 due = m_bus->nextDueLocked(m_channel->device.get());
            if (due >= 0)
                until = std::min(until, std::max(due, now));
            m_bus->changed.wait_for(lock, std::chrono::microseconds(until - now));
        }
    }

    void close() override
    {
        std::lock_guard<std::mutex> lock(m_bus->mutex);
        if (m_channel->closed)
            return;
        m_channel->closed = true;
        m_channel->queue.clear();
        m_bus->channels.removeOne(m_channel);
        m_bus->changed.notify_all();
    }

private:
    std::shared_ptr<SimulatorBus> m_bus;
    std::shared_ptr<SimulatorBus::Channel> m_channel;
};

HidSimulator::HidSimulator() : m_bus(std::make_shared<SimulatorBus>()) {}

HidSimulator::~HidSimulator()
{
    // Devices hold the bus; dropping them here breaks that cycle. Channels
    // still held by the host keep what they need and fail from now on.
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    for (const auto &dev : std::as_const(m_bus->devices)) {
        dev->m_plugged = false;
        ++dev->m_generation;
        dev->m_scheduled.clear();
    }
    m_bus->plugged.clear();
    m_bus->devices.clear();
    m_bus->changed.notify_all();
}

QList<HidDeviceEntry> HidSimulator::enumerate(int vendorId, int productId)
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    QList<HidDeviceEntry> result;
    for (const auto &dev : std::as_const(m_bus->plugged)) {
        if (dev->vendorId() == vendorId && dev->productId() == productId)
            result.append({dev->m_path, dev->vendorId(), dev->productId()});
    }
    return result;
}

HidHandle HidSimulator::open(const QString &path)
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    for (const auto &dev : std::as_const(m_bus->plugged)) {
        if (dev->m_path != path)
            continue;
        if (dev->m_refusesOpen)
            return nullptr;
        auto ch = std::make_shared<SimulatorBus::Channel>();
        ch->device = dev;
        ch->generation = dev->m_generation;
        ch->openedUs = m_bus->nowUs();
        ch->name = QStringLiteral("%1.%2").arg(dev->name()).arg(++dev->m_channelCounter);
        m_bus->channels.append(ch);
        return std::make_shared<SimulatedChannel>(m_bus, ch);
    }
    return nullptr;
}

std::shared_ptr<SimulatedRemote1> HidSimulator::addRemote1()
{
    auto dev = std::shared_ptr<SimulatedRemote1>(new SimulatedRemote1(m_bus));
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    m_bus->devices.append(dev);
    return dev;
}

std::shared_ptr<SimulatedRemote2> HidSimulator::addRemote2()
{
    auto dev = std::shared_ptr<SimulatedRemote2>(new SimulatedRemote2(m_bus));
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    m_bus->devices.append(dev);
    return dev;
}

void HidSimulator::plug(const std::shared_ptr<SimulatedDevice> &device)
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    if (!device || device->m_plugged || !m_bus->devices.contains(device))
        return;
    device->m_plugged = true;
    ++device->m_generation;
    // Each plug-in gets a new path, as a new device node would.
    device->m_path = QStringLiteral("sim:%1:%2").arg(device->name()).arg(++m_bus->plugCounter);
    m_bus->plugged.append(device);
    m_bus->changed.notify_all();
}

void HidSimulator::unplug(const std::shared_ptr<SimulatedDevice> &device)
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    m_bus->unplugLocked(device);
}

void HidSimulator::unplugAfterReports(const std::shared_ptr<SimulatedDevice> &device, int reports)
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    if (device)
        device->m_unplugAfterReports = std::max(0, reports);
}

bool HidSimulator::isPlugged(const std::shared_ptr<SimulatedDevice> &device) const
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    return device && device->m_plugged;
}

void HidSimulator::setStrict(bool strict)
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    m_bus->strict = strict;
}

void HidSimulator::setLogViolations(bool log)
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    m_bus->logViolations = log;
}

QStringList HidSimulator::violations() const
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    return SimulatorBus::ownCopy(m_bus->violations);
}

void HidSimulator::clearViolations()
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    m_bus->violations.clear();
}

QList<SimTraceEntry> HidSimulator::trace() const
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    return SimulatorBus::ownCopy(m_bus->trace);
}

void HidSimulator::clearTrace()
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    m_bus->trace.clear();
}

int HidSimulator::openChannelCount() const
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    return m_bus->channels.size();
}
