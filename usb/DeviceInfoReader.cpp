#include "usb/DeviceInfoReader.h"

#include "usb/Device.h"
#include "usb/UsbState.h"
#include "usb/UsbWorker.h"

#include <QDebug>

namespace {
constexpr int kNoArgument = -1;

QString hex(int value)
{
    return QStringLiteral("0x%1").arg(value, 2, 16, QLatin1Char('0'));
}
} // namespace

DeviceInfoReader::DeviceInfoReader(Device &device, UsbState &state, const Timing &timing)
    : m_device(device), m_state(state), m_timing(timing), m_read(state.remoteReadHandle()),
      m_write(state.remoteWriteHandle()), m_reportSize(state.remoteReportSize.load(std::memory_order_acquire))
{
}

bool DeviceInfoReader::write()
{
    if (m_device.writeReport(m_write, m_reportSize, m_state.outputReport))
        return true;
    if (m_answering)
        qWarning().noquote() << QStringLiteral("Device information: the remote took no report %1; it is not read further")
                                    .arg(hex(m_state.outputReport[1]));
    m_answering = false;
    return false;
}

bool DeviceInfoReader::send(quint8 command)
{
    setCommandReport(m_state.outputReport, command);
    return write();
}

bool DeviceInfoReader::send(quint8 command, quint8 argument)
{
    setCommandReport(m_state.outputReport, command, argument);
    return write();
}

bool DeviceInfoReader::readBlock(const QString &what, quint8 command, int argument, int bytes, int *target, int limit,
                                 int offset, int *read)
{
    if (read)
        *read = 0;
    if (!m_answering)
        return !UsbWorker::stopRequested();
    const int n = m_reportSize;
    // Reports nobody asked for (infrared reports reach every channel of the
    // second-generation remote, a device may answer more than was read) would
    // shift the block.
    if (!m_device.drainReports(m_read, n)) {
        m_answering = false;
        qWarning().noquote() << QStringLiteral("Device information: the remote's channel failed before %1").arg(what);
        return !UsbWorker::stopRequested();
    }
    const bool sent = argument == kNoArgument ? send(command) : send(command, static_cast<quint8>(argument));
    if (!sent)
        return !UsbWorker::stopRequested();
    const int reports = n > 0 ? bytes / n : 0;
    HidReport &in = m_state.inputReport;
    for (int r = 0; r < reports; ++r) {
        const int got = UsbWorker::readReport(m_device, m_read, n, in, m_timing.readTimeoutMs);
        if (UsbWorker::stopRequested())
            return false;
        if (got <= 0) {
            m_answering = false;
            qWarning().noquote() << QStringLiteral("Device information: the remote stopped answering at report %1 of %2 of %3; "
                                                   "the rest keeps its previous values")
                                        .arg(r + 1)
                                        .arg(reports)
                                        .arg(what);
            return true;
        }
        if (read && *read == r * n)
            *read += got - 1;
        if (got < n + 1)
            qWarning().noquote() << QStringLiteral("Device information: report %1 of %2 of %3 is short (%4 of %5 bytes)")
                                        .arg(r + 1)
                                        .arg(reports)
                                        .arg(what)
                                        .arg(got)
                                        .arg(n + 1);
        DeviceInfo::storeReport(target, limit, offset, r, n, in, got - 1);
    }
    return true;
}

bool DeviceInfoReader::readRemote1Information()
{
    send(HidCommand::kProgrammingMode, HidCommand::kModeOn);
    if (!UsbWorker::pause(m_timing.programmingModeMs))
        return false;
    send(HidCommand::kProgrammingMode, HidCommand::kModeOff);
    send(HidCommand::kInfoRequest1);
    DeviceInfo info = m_state.deviceInfo();
    const bool running = readBlock(QStringLiteral("the information block"), HidCommand::kInfoRequest2, kNoArgument,
                                   DeviceInfo::kRemote1Bytes, info.entries.data(), DeviceInfo::kRemote1Bytes, 0,
                                   &m_infoBytesRead);
    if (!running)
        return false;
    m_state.setDeviceInfo(info);
    logProblems(DeviceInfo::Generation::Remote1, info);
    return true;
}

bool DeviceInfoReader::readRemote2Information()
{
    send(HidCommand::kProgrammingMode, HidCommand::kModeOn);
    if (!UsbWorker::pause(m_timing.programmingModeMs))
        return false;
    send(HidCommand::kProgrammingMode, HidCommand::kModeOff);
    DeviceInfo info = m_state.deviceInfo();
    if (!readBlock(QStringLiteral("information page 0x80"), HidCommand::kReadPage2, HidCommand::kInfoPage,
                   DeviceInfo::kRemote2PageBytes, info.entries.data(), DeviceInfo::kRemote2PageBytes, 0,
                   &m_infoBytesRead))
        return false;
    if (m_answering && info.macroPagePresent()) {
        if (!readBlock(QStringLiteral("macro page 0x81"), HidCommand::kReadPage2, HidCommand::kMacroPage,
                       DeviceInfo::kRemote2PageBytes, info.entries.data(), DeviceInfo::kSize,
                       DeviceInfo::kMacroPageOffset))
            return false;
    }
    m_state.setDeviceInfo(info);
    logProblems(DeviceInfo::Generation::Remote2, info);
    return true;
}

bool DeviceInfoReader::readSlotHeaders()
{
    const DeviceInfo info = m_state.deviceInfo();
    SlotHeaderPages pages = m_state.slotHeaderPages();
    const int count = info.headerPagesToRead();
    for (int j = 0; j < count && m_answering; ++j) {
        if (!readBlock(QStringLiteral("slot header page %1").arg(j), HidCommand::kReadPage2, j,
                       DeviceInfo::kHeaderPageBytes, pages.data() + j * DeviceInfo::kHeaderPageBytes,
                       DeviceInfo::kHeaderPageBytes, 0))
            return false;
    }
    m_state.setSlotHeaderPages(pages);
    return true;
}

bool DeviceInfoReader::sendReceiverOption()
{
    send(HidCommand::kReceiveMode, HidCommand::kModulated);
    return !UsbWorker::stopRequested();
}

void DeviceInfoReader::logProblems(DeviceInfo::Generation generation, const DeviceInfo &info) const
{
    if (!m_answering)
        return; // the block is not the device's own; its values prove nothing
    for (const QString &p : info.problems(generation))
        qWarning().noquote() << "Device information:" << p;
}
