#include "usb/DeviceInfoReader.h"

#include "usb/Device.h"
#include "usb/UsbState.h"
#include "usb/UsbWorker.h"

#include <algorithm>

namespace {
constexpr int kNoArgument = -1;

QString hex(int value)
{
    return QStringLiteral("0x%1").arg(value, 2, 16, QLatin1Char('0'));
}
} // namespace

DeviceInfoReader::DeviceInfoReader(Device &device, UsbState &state, const Timing &timing, const DeviceInfo &start)
    : m_device(device), m_state(state), m_timing(timing), m_read(state.remoteReadHandle()),
      m_write(state.remoteWriteHandle()), m_reportSize(state.remoteReportSize.load(std::memory_order_acquire)),
      m_info(start), m_pages(state.slotHeaderPages())
{
}

void DeviceInfoReader::stopAnswering(const QString &why)
{
    if (m_silence.isEmpty())
        m_silence = why;
}

bool DeviceInfoReader::write()
{
    if (m_device.writeReport(m_write, m_reportSize, m_state.outputReport))
        return true;
    stopAnswering(QStringLiteral("the remote took no report %1").arg(hex(m_state.outputReport[1])));
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
                                 int offset)
{
    if (!m_silence.isEmpty())
        return !UsbWorker::stopRequested();
    const int n = m_reportSize;
    // Reports nobody asked for (infrared reports reach every channel of the
    // second-generation remote, a device may answer more than was read) would
    // shift the block.
    if (!m_device.drainReports(m_read, n)) {
        stopAnswering(QStringLiteral("the remote's channel failed before %1").arg(what));
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
            stopAnswering(QStringLiteral("the remote stopped answering at report %1 of %2 of %3")
                              .arg(r + 1)
                              .arg(reports)
                              .arg(what));
            return true;
        }
        if (got < n + 1) {
            stopAnswering(QStringLiteral("report %1 of %2 of %3 is short (%4 of %5 bytes)")
                              .arg(r + 1)
                              .arg(reports)
                              .arg(what)
                              .arg(got)
                              .arg(n + 1));
            return true;
        }
        DeviceInfo::storeReport(target, limit, offset, r, n, in, n);
    }
    return true;
}

bool DeviceInfoReader::readRemote1Information()
{
    m_generation = DeviceInfo::Generation::Remote1;
    m_infoRead = true;
    send(HidCommand::kProgrammingMode, HidCommand::kModeOn);
    if (!UsbWorker::pause(m_timing.programmingModeMs))
        return false;
    send(HidCommand::kProgrammingMode, HidCommand::kModeOff);
    send(HidCommand::kInfoRequest1);
    return readBlock(QStringLiteral("the information block"), HidCommand::kInfoRequest2, kNoArgument,
                     DeviceInfo::kRemote1Bytes, m_info.entries.data(), DeviceInfo::kRemote1Bytes, 0);
}

bool DeviceInfoReader::readRemote2Information()
{
    m_generation = DeviceInfo::Generation::Remote2;
    m_infoRead = true;
    send(HidCommand::kProgrammingMode, HidCommand::kModeOn);
    if (!UsbWorker::pause(m_timing.programmingModeMs))
        return false;
    send(HidCommand::kProgrammingMode, HidCommand::kModeOff);
    if (!readBlock(QStringLiteral("information page 0x80"), HidCommand::kReadPage2, HidCommand::kInfoPage,
                   DeviceInfo::kRemote2PageBytes, m_info.entries.data(), DeviceInfo::kRemote2PageBytes, 0))
        return false;
    if (m_silence.isEmpty() && m_info.macroPagePresent()) {
        return readBlock(QStringLiteral("macro page 0x81"), HidCommand::kReadPage2, HidCommand::kMacroPage,
                         DeviceInfo::kRemote2PageBytes, m_info.entries.data(), DeviceInfo::kSize,
                         DeviceInfo::kMacroPageOffset);
    }
    return true;
}

bool DeviceInfoReader::readSlotHeaders()
{
    // A block with problems has no slot count worth following.
    if (!failure().isEmpty())
        return !UsbWorker::stopRequested();
    const int count = m_info.headerPagesToRead();
    for (int j = 0; j < count && m_silence.isEmpty(); ++j) {
        if (!readBlock(QStringLiteral("slot header page %1").arg(j), HidCommand::kReadPage2, j,
                       DeviceInfo::kHeaderPageBytes, m_pages.data() + j * DeviceInfo::kHeaderPageBytes,
                       DeviceInfo::kHeaderPageBytes, 0))
            return false;
    }
    return true;
}

bool DeviceInfoReader::readRemote1SlotHeaders()
{
    m_remote1Headers = Remote1SlotHeaders();
    if (!failure().isEmpty())
        return !UsbWorker::stopRequested();
    const int p = m_info.pageSize();
    const int count = std::min(m_info.slotCount(), Remote1SlotHeaders::kSlots);
    const int pages = p > 0 ? Remote1SlotHeaders::kBytes / p : 0;
    for (int s = 0; s < count && m_silence.isEmpty(); ++s) {
        const int first = m_info.at(DeviceInfo::kRemote1RecordOffset + 3 + DeviceInfo::kRemote1RecordBytes * s);
        int *header = m_remote1Headers.bytes.data() + s * Remote1SlotHeaders::kBytes;
        for (int k = 0; k < pages && m_silence.isEmpty(); ++k) {
            if (!readBlock(QStringLiteral("the header of slot %1").arg(s + 1), HidCommand::kReadPage1, (first + k) & 0xFF, p,
                           header + k * p, Remote1SlotHeaders::kBytes - k * p, 0))
                return false;
        }
        if (m_silence.isEmpty())
            m_remote1Headers.slotsRead = s + 1;
    }
    return true;
}

bool DeviceInfoReader::sendReceiverOption()
{
    send(HidCommand::kReceiveMode, HidCommand::kModulated);
    return !UsbWorker::stopRequested();
}

QString DeviceInfoReader::failure() const
{
    if (!m_silence.isEmpty())
        return m_silence;
    if (!m_infoRead)
        return QString();
    return m_info.problems(m_generation).join(QStringLiteral("; "));
}

QStringList DeviceInfoReader::notes() const
{
    return m_infoRead ? m_info.notes(m_generation) : QStringList();
}

void DeviceInfoReader::publishInformation()
{
    m_state.setDeviceInfo(m_info);
}

void DeviceInfoReader::publishSlotHeaders()
{
    m_state.setSlotHeaderPages(m_pages);
}

void DeviceInfoReader::publishRemote1SlotHeaders()
{
    m_state.setRemote1SlotHeaders(m_remote1Headers);
}
