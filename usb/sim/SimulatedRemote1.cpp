#include "usb/sim/SimulatedRemote1.h"

#include "usb/HidReport.h"
#include "usb/sim/SimulatorBus.h"

#include <mutex>

namespace {

QByteArray defaultInformation()
{
    QByteArray info(SimulatedRemote1::kInfoSize, '\0');
    info[3] = 64;   // page size
    info[7] = 21;   // device id
    info[8] = 1;    // remote type
    info[11] = 4;   // customer number: the sample kit's, so the demo keeps its pictures
    info[31] = 8;   // slots
    for (int s = 0; s < 8; ++s) {
        const int rec = 32 + 16 * s;
        info[rec] = 1;                             // program and delete allowed
        info[rec + 2] = static_cast<char>(32 * s + 16); // second half
        info[rec + 3] = static_cast<char>(32 * s);      // first half
        const QByteArray name = QByteArray("Slot ") + QByteArray::number(s + 1);
        info.replace(rec + 4, name.size(), name);
    }
    return info;
}

} // namespace

SimulatedRemote1::SimulatedRemote1(std::shared_ptr<SimulatorBus> bus)
    : SimulatedDevice(std::move(bus), HidIds::kVendor, HidIds::kRemote1, QStringLiteral("remote1")),
      m_info(defaultInformation())
{
    setProductString(QStringLiteral("Simulated Remote 1"));
}

QByteArray SimulatedRemote1::information() const
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    return m_info;
}

void SimulatedRemote1::setInformation(const QByteArray &info)
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    m_info = info.left(kInfoSize);
    m_info.append(QByteArray(kInfoSize - m_info.size(), '\0'));
}

int SimulatedRemote1::pageSize() const
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    return pageSizeLocked();
}

QByteArray SimulatedRemote1::pageLocked(int page) const
{
    QByteArray bytes = m_pages[static_cast<size_t>(page & 0xFF)].left(pageSizeLocked());
    bytes.append(QByteArray(pageSizeLocked() - bytes.size(), '\0'));
    return bytes;
}

QByteArray SimulatedRemote1::page(int page) const
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    return pageLocked(page);
}

void SimulatedRemote1::setPage(int page, const QByteArray &bytes)
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    m_pages[static_cast<size_t>(page & 0xFF)] = bytes;
}

bool SimulatedRemote1::programmingMode() const
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    return m_mode;
}

bool SimulatedRemote1::pageInSomeSlotLocked(int page) const
{
    const int p = pageSizeLocked();
    if (p <= 0)
        return false;
    const int pagesPerHalf = kHalfBytes / p;
    const int slotCount = static_cast<quint8>(m_info.at(31));
    for (int s = 0; s < slotCount && 35 + 16 * s < kInfoSize; ++s) {
        const int halves[2] = {static_cast<quint8>(m_info.at(35 + 16 * s)),
                               static_cast<quint8>(m_info.at(34 + 16 * s))};
        for (int first : halves) {
            // Page numbers are one byte: a half may wrap past 255 to 0.
            if (((page - first) & 0xFF) < pagesPerHalf)
                return true;
        }
    }
    return false;
}

void SimulatedRemote1::unpluggedLocked()
{
    m_mode = false;
    m_infoArmed = false;
    m_writePage = -1;
    m_writeReportsLeft = 0;
    m_writeData.clear();
}

void SimulatedRemote1::receiveLocked(const QByteArray &payload)
{
    const int n = std::max(1, reportSizeLocked());
    if (m_writeReportsLeft > 0) {
        m_writeData.append(payload);
        if (--m_writeReportsLeft == 0) {
            if (m_writeAllowed)
                m_pages[static_cast<size_t>(m_writePage)] = m_writeData.left(pageSizeLocked());
            m_writePage = -1;
            m_writeData.clear();
        }
        return;
    }

    const auto command = static_cast<quint8>(payload.at(0));
    const auto a = static_cast<quint8>(payload.size() > 1 ? payload.at(1) : 0);
    const bool infoArmed = std::exchange(m_infoArmed, false);
    switch (command) {
    case HidCommand::kProgrammingMode:
        if (a == HidCommand::kModeOn)
            m_mode = true;
        else if (a == HidCommand::kModeOff)
            m_mode = false;
        else
            flagLocked(QStringLiteral("programming mode argument 0x%1").arg(a, 2, 16, QLatin1Char('0')));
        return;
    case HidCommand::kInfoRequest1:
        m_infoArmed = true;
        return;
    case HidCommand::kInfoRequest2:
        if (!infoArmed)
            flagLocked(QStringLiteral("information request 0x88 without 0x04 before it"));
        sendBlockLocked(m_info);
        return;
    case HidCommand::kWritePage1: {
        m_writeAllowed = m_mode;
        if (!m_mode)
            flagLocked(QStringLiteral("page write 0x%1 outside programming mode").arg(a, 2, 16, QLatin1Char('0')));
        if (!pageInSomeSlotLocked(a))
            flagLocked(QStringLiteral("page write 0x%1 beyond the slots").arg(a, 2, 16, QLatin1Char('0')));
        const int p = pageSizeLocked();
        m_writePage = a;
        m_writeReportsLeft = (p + n - 1) / n;
        m_writeData.clear();
        return;
    }
    case HidCommand::kReadPage1:
        sendBlockLocked(pageLocked(a));
        return;
    default:
        flagLocked(QStringLiteral("unknown command 0x%1").arg(command, 2, 16, QLatin1Char('0')));
        return;
    }
}
