#include "usb/sim/SimulatedDevice.h"

#include "usb/HidReport.h"
#include "usb/sim/SimulatorBus.h"

#include <mutex>

#include <algorithm>

SimulatedDevice::SimulatedDevice(std::shared_ptr<SimulatorBus> bus, int vendorId, int productId, const QString &name)
    : m_bus(std::move(bus)), m_vendorId(vendorId), m_productId(productId), m_name(name)
{
}

SimulatedDevice::~SimulatedDevice() = default;

int SimulatedDevice::reportSize() const
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    return m_reportSize;
}

void SimulatedDevice::setReportSize(int n)
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    // Sizes the host refuses are allowed here: tests show that it refuses them.
    m_reportSize = std::clamp(n, 0, 255);
}

QString SimulatedDevice::productString() const
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    return m_productString;
}

void SimulatedDevice::setProductString(const QString &text)
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    m_productString = text;
}

void SimulatedDevice::setFault(Fault fault)
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    m_fault = fault;
}

void SimulatedDevice::setRefusesOpen(bool refuses)
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    m_refusesOpen = refuses;
}

QByteArray SimulatedDevice::faultyLocked(const QByteArray &report)
{
    switch (m_fault) {
    case Fault::None:
        return report;
    case Fault::Silent:
        return QByteArray();
    case Fault::Short:
        return report.left(std::max(1, static_cast<int>(report.size()) / 2));
    case Fault::Garbage: {
        QByteArray noise(report.size(), '\0');
        for (char &c : noise) {
            // xorshift: the same noise on every run
            m_noise ^= m_noise << 13;
            m_noise ^= m_noise >> 17;
            m_noise ^= m_noise << 5;
            c = static_cast<char>(m_noise & 0xFF);
        }
        return noise;
    }
    }
    return report;
}

void SimulatedDevice::sendLocked(const QByteArray &payload)
{
    scheduleLocked(m_bus->nowUs(), payload);
    m_bus->pumpLocked();
}

void SimulatedDevice::sendBlockLocked(const QByteArray &bytes)
{
    const int n = std::max(1, m_reportSize);
    for (int pos = 0; pos < bytes.size(); pos += n)
        sendLocked(bytes.mid(pos, n));
}

void SimulatedDevice::scheduleLocked(qint64 dueUs, const QByteArray &payload)
{
    QByteArray report(1, '\0'); // report id: the devices have no numbered reports
    report.append(payload.left(m_reportSize));
    report.append(QByteArray(m_reportSize + 1 - report.size(), '\0'));
    report = faultyLocked(report);
    if (report.isEmpty())
        return;
    // Keep the schedule in time order; answers are due now, after what is pending.
    auto at = std::upper_bound(m_scheduled.begin(), m_scheduled.end(), dueUs,
                               [](qint64 t, const std::pair<qint64, QByteArray> &e) { return t < e.first; });
    m_scheduled.insert(at, {dueUs, report});
}

void SimulatedDevice::flagLocked(const QString &text)
{
    m_bus->flagLocked(QStringLiteral("%1: %2").arg(m_name, text));
}
