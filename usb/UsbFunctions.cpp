#include "usb/UsbFunctions.h"

#include "usb/DeviceInfoReader.h"
#include "usb/UsbState.h"

#include <QDebug>
#include <QMutexLocker>
#include <QStringList>

using namespace DeviceWritePlan;

namespace {
const QString kRemote1 = QStringLiteral("remote1");
const QString kRemote2 = QStringLiteral("remote2");
const QString kReceiver2 = QStringLiteral("receiver2");
const QString kDelete = QStringLiteral("DELETE");
const QString kNoNeed = QStringLiteral("NONEED");
const QString kFalse = QStringLiteral("FALSE");
constexpr int kHeaderPageBytes = 64;
constexpr int kHeaderBuffer = 128;
constexpr int kRemote2ReportSize = 8;
constexpr int kSimpleSlots = 4;

QString hexText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

// Slots count from 1 in what the user reads, as the slot buttons do; the
// device and the requests count from 0.
QString slotText(int slot, const char *action)
{
    return QStringLiteral("slot %1 %2").arg(slot + 1).arg(QLatin1String(action));
}
} // namespace

UsbFunctions::UsbFunctions(int number, UsbState *state, QObject *parent)
    : UsbWorker(parent), m_number(number), m_state(state), m_device(state)
{
}

UsbFunctions::~UsbFunctions()
{
    stop();
}

void UsbFunctions::run()
{
    if (!m_state)
        return;
    // The slot information is cleared by whoever starts the link threads,
    // before any of them runs: cleared here, it could undo an overview the
    // connection thread had already delivered.
    // What was posted before the worker ran is not carried out (the receiver
    // mode the window chooses while it is built is set by the connection
    // thread when it opens the receiver).
    m_state->request.discard();
    if (!waitForWork(m_timings.startDelayMs))
        return;
    m_polling.store(true, std::memory_order_release);
    while (waitForWork(m_timings.pollMs)) {
        UsbRequestData request;
        quint64 ticket = 0;
        if (!m_state->request.take(&request, &ticket))
            continue;
        qDebug().noquote() << "UsbFunctions: transmitting data";
        carryOut(request);
        // A post made meanwhile (a key release during its press) stays
        // pending and is carried out at the next poll.
        m_state->request.finish(ticket);
    }
}

void UsbFunctions::carryOut(const UsbRequestData &request)
{
    QMutexLocker lock(&m_state->linkLock);
    m_state->holdDevice();
    const QString remote = m_state->remoteKind();
    if (remote == kRemote1)
        remote1Request(request);
    else if (remote == kRemote2)
        remote2Request(request);
    if (!stopRequested() && m_state->receiverKind() == kReceiver2)
        receiverRequest(request);
    m_state->releaseDevice();
}

void UsbFunctions::fail(const QString &text)
{
    qWarning().noquote() << "UsbFunctions:" << text;
    emit updateFunctionsFailed(text);
}

UsbFunctions::Channel UsbFunctions::remoteChannel() const
{
    return {m_state->remoteWriteHandle(), m_state->remoteReadHandle(),
            m_state->remoteReportSize.load(std::memory_order_acquire), QStringLiteral("remote")};
}

bool UsbFunctions::send(const Channel &channel, const QString &what)
{
    ++m_reportsSent;
    if (m_device.writeReport(channel.write, channel.reportSize, m_state->outputReport))
        return true;
    const QByteArray sent(reinterpret_cast<const char *>(m_state->outputReport.data()) + 1, qMin(channel.reportSize, 3));
    fail(QStringLiteral("%1 ended: the %2 took no report %3 (%4)").arg(what, channel.name).arg(m_reportsSent).arg(hexText(sent)));
    return false;
}

bool UsbFunctions::read(const Channel &channel, const QString &what)
{
    const int got =
        UsbWorker::readReport(m_device, channel.read, channel.reportSize, m_state->inputReport, m_timings.readTimeoutMs);
    if (got == channel.reportSize + 1)
        return true;
    if (!stopRequested())
        fail(QStringLiteral("%1 ended: the %2 did not answer report %3 (%4)")
                 .arg(what, channel.name)
                 .arg(m_reportsSent)
                 .arg(got < 0 ? QStringLiteral("channel failed") : got == 0 ? QStringLiteral("no answer")
                                                                             : QStringLiteral("short answer")));
    return false;
}

bool UsbFunctions::runPlan(const Plan &plan, const Channel &channel, const QString &what)
{
    if (plan.refused()) {
        fail(QStringLiteral("%1 refused: %2").arg(what, plan.refusal));
        return false;
    }
    m_reportsSent = 0;
    for (const Step &step : plan.steps) {
        if (stopRequested())
            return false;
        switch (step.kind) {
        case Step::Command:
            setCommandReport(m_state->outputReport, quint8(step.bytes.at(0)));
            for (int i = 1; i < step.bytes.size(); ++i)
                m_state->outputReport[size_t(i + 1)] = quint8(step.bytes.at(i));
            if (!send(channel, what))
                return false;
            break;
        case Step::Data:
            m_state->outputReport[0] = 0;
            for (int i = 0; i < step.bytes.size() && i < HidLimits::kMaxPayload; ++i)
                m_state->outputReport[size_t(i + 1)] = quint8(step.bytes.at(i));
            if (!send(channel, what))
                return false;
            break;
        case Step::Read:
            for (int r = 0; r < step.count; ++r) {
                if (!read(channel, what))
                    return false;
            }
            break;
        case Step::Sleep:
            if (!pause(step.count))
                return false;
            break;
        }
    }
    return true;
}

bool UsbFunctions::slotExists(int slot, const QString &what)
{
    const int count = m_state->deviceInfo().slotCount();
    if (slot >= 0 && slot < count)
        return true;
    fail(QStringLiteral("%1 refused: slot %2 is outside the remote's %3 slots").arg(what).arg(slot + 1).arg(count));
    return false;
}

void UsbFunctions::remote1Request(const UsbRequestData &request)
{
    const DeviceInfo info = m_state->deviceInfo();
    const Channel remote = remoteChannel();
    const int s = request.nPult;
    const int firstHalf = info.at(DeviceInfo::kRemote1RecordOffset + 3 + DeviceInfo::kRemote1RecordBytes * s);
    const int secondHalf = info.at(DeviceInfo::kRemote1RecordOffset + 2 + DeviceInfo::kRemote1RecordBytes * s);
    if (request.command == UsbCommand::WriteSlotRemote1) {
        const QString what = slotText(s, "write");
        const QTime start = QTime::currentTime();
        if (!slotExists(s, what))
            return;
        if (!runPlan(remote1SlotWrite(info.pageSize(), remote.reportSize, firstHalf, secondHalf, request.flashData),
                     remote, what))
            return;
        if (readRemote1SlotHeaders()) {
            emit updateFunctions1(start);
            emit updateFunctionsDone(request.command, s);
        }
    } else if (request.command == UsbCommand::DeleteSlot) {
        const QString what = slotText(s, "clear");
        if (!slotExists(s, what))
            return;
        if (!runPlan(remote1SlotClear(info.pageSize(), remote.reportSize, firstHalf, m_timings.clearSleepMs), remote,
                     what))
            return;
        if (readRemote1SlotHeaders()) {
            emit updateFunctions2();
            emit updateFunctionsDone(request.command, s);
        }
    }
}

bool UsbFunctions::readRemote1SlotHeaders()
{
    DeviceInfoReader reader(m_device, *m_state, {m_timings.programmingModeMs, m_timings.readTimeoutMs},
                            m_state->deviceInfo());
    if (!reader.readRemote1SlotHeaders())
        return false;
    if (const QString why = reader.failure(); !why.isEmpty()) {
        fail(QStringLiteral("reading the slot headers again failed: %1").arg(why));
        return false;
    }
    reader.publishRemote1SlotHeaders();
    return true;
}

void UsbFunctions::remote2Request(const UsbRequestData &request)
{
    qDebug().noquote() << "SUPER";
    const DeviceInfo info = m_state->deviceInfo();
    const Channel remote = remoteChannel();
    const int s = request.nPult;
    bool running = true;
    if (request.command == UsbCommand::WriteSlotRemote2) {
        const QString what = slotText(s, "write");
        running = slotExists(s, what) &&
                  runPlan(remote2SlotWrite(info.pageSize(), remote.reportSize, s,
                                           info.at(DeviceInfo::kRemote2CapacityOffset + 2 * s), request.flashData,
                                           m_timings.pageSleepMs),
                          remote, what) &&
                  reconnectAndReread();
    } else if (request.command == UsbCommand::WriteSimpleSlots) {
        running = simpleSlots(request);
    } else if (request.command == UsbCommand::DeleteSlot) {
        running = slotExists(s, slotText(s, "clear")) && headerClear(s);
    }
    if (running && request.command == UsbCommand::WriteMacroPage) {
        const Plan plan = remote2MacroWrite(remote.reportSize, request.flashData, m_timings.pageSleepMs);
        if (plan.refused() && request.flashData.size() > 256)
            qDebug().noquote() << "Too many macro keys";
        running = runPlan(plan, remote, QStringLiteral("macro page write")) && reconnectAndReread();
    }
    if (running && (request.command == UsbCommand::WriteSlotRemote2 || request.command == UsbCommand::DeleteSlot ||
                    request.command == UsbCommand::WriteMacroPage))
        emit updateFunctionsDone(request.command, s);
}

bool UsbFunctions::simpleSlots(const UsbRequestData &request)
{
    const DeviceInfo info = m_state->deviceInfo();
    int written = 0, cleared = 0, skipped = 0;
    QStringList reasons; // one line per slot left out
    for (int i = 0; i < kSimpleSlots; ++i) {
        const QString &image = request.slotFlashData[size_t(i)];
        const QString what = QStringLiteral("simple slot %1").arg(i + 1);
        if (image == kNoNeed)
            continue;
        if (image == kFalse) {
            reasons << QStringLiteral("%1 skipped: its image could not be built").arg(what);
            ++skipped;
            continue;
        }
        if (i >= info.slotCount()) {
            reasons << QStringLiteral("%1 skipped: the remote has %2 slots").arg(what).arg(info.slotCount());
            ++skipped;
            continue;
        }
        if (image == kDelete) {
            if (!headerClear(i))
                return false;
            ++cleared;
            continue;
        }
        const Plan plan = remote2SlotWrite(info.pageSize(), m_state->remoteReportSize.load(std::memory_order_acquire),
                                           i, info.at(DeviceInfo::kRemote2CapacityOffset + 2 * i), image,
                                           m_timings.pageSleepMs);
        if (plan.refused()) {
            reasons << QStringLiteral("%1 skipped: %2").arg(what, plan.refusal);
            ++skipped;
            continue;
        }
        if (!runPlan(plan, remoteChannel(), what + QStringLiteral(" write")) || !reconnectAndReread())
            return false;
        ++written;
    }
    const QString summary =
        QStringLiteral("simple slots: %1 written, %2 cleared, %3 skipped").arg(written).arg(cleared).arg(skipped);
    qDebug().noquote() << "UsbFunctions:" << summary;
    // A batch that left slots out is not a success: the user learns which and why.
    if (skipped > 0)
        fail(summary + QLatin1Char('\n') + reasons.join(QLatin1Char('\n')));
    else
        emit updateFunctionsDone(request.command, -1);
    return true;
}

bool UsbFunctions::headerClear(int slot)
{
    const QString what = slotText(slot, "clear");
    Channel remote = remoteChannel();
    if (remote.reportSize != kRemote2ReportSize) {
        fail(QStringLiteral("%1 refused: report size %2, the header page is moved in reports of %3")
                 .arg(what)
                 .arg(remote.reportSize)
                 .arg(kRemote2ReportSize));
        return false;
    }
    m_reportsSent = 0;
    setCommandReport(m_state->outputReport, HidCommand::kProgrammingMode, HidCommand::kModeOn);
    if (!send(remote, what))
        return false;
    m_device.closeRemote();
    m_device.isPresent(HidIds::kVendor, HidIds::kRemote2);
    if (!m_device.openRemote(HidIds::kVendor, HidIds::kRemote2)) {
        fail(QStringLiteral("%1 ended: the remote could not be opened again").arg(what));
        return false;
    }
    remote = remoteChannel();
    const int reports = kHeaderPageBytes / remote.reportSize;
    std::array<quint8, kHeaderBuffer> page{};
    // Infrared reports reach the remote's channel too: none may shift the page.
    m_device.drainReports(remote.read, remote.reportSize);
    setCommandReport(m_state->outputReport, HidCommand::kReadPage2, static_cast<quint8>(slot));
    if (!send(remote, what))
        return false;
    for (int j = 0; j < reports; ++j) {
        if (!read(remote, what))
            return false;
        for (int k = 0; k < remote.reportSize; ++k)
            page[size_t(remote.reportSize * j + k)] = m_state->inputReport[size_t(k + 1)];
    }
    page[0] = 0; // the used flag: the slot is empty
    setCommandReport(m_state->outputReport, HidCommand::kWritePages2, static_cast<quint8>(slot), 1);
    if (!send(remote, what))
        return false;
    for (int j = 0; j < reports; ++j) {
        m_state->outputReport[0] = 0;
        for (int k = 0; k < remote.reportSize; ++k)
            m_state->outputReport[size_t(k + 1)] = page[size_t(remote.reportSize * j + k)];
        if (!send(remote, what))
            return false;
    }
    if (!pause(m_timings.pageSleepMs) || !reconnectAndReread())
        return false;
    setCommandReport(m_state->outputReport, HidCommand::kProgrammingMode, HidCommand::kModeOff);
    return send(remoteChannel(), what);
}

bool UsbFunctions::reconnectAndReread()
{
    m_device.closeRemote();
    m_device.isPresent(HidIds::kVendor, HidIds::kRemote2);
    if (!m_device.openRemote(HidIds::kVendor, HidIds::kRemote2)) {
        fail(QStringLiteral("the remote could not be opened again after the write"));
        return false;
    }
    // The same device: entries the reads do not cover keep their values.
    DeviceInfoReader reader(m_device, *m_state, {m_timings.programmingModeMs, m_timings.readTimeoutMs},
                            m_state->deviceInfo());
    if (!reader.readRemote2Information() || !reader.readSlotHeaders())
        return false;
    if (const QString why = reader.failure(); !why.isEmpty()) {
        fail(QStringLiteral("reading the remote again after the write failed: %1").arg(why));
        return false;
    }
    reader.publishInformation();
    emit updateUsb2();
    emit updateCustomerNumber(QString::number(reader.information().customerNumber()));
    reader.publishSlotHeaders();
    qDebug().noquote() << "-------------------------";
    emit updateUsb6();
    if (!reader.sendReceiverOption())
        return false;
    emit updateUsb7();
    return true;
}

void UsbFunctions::receiverRequest(const UsbRequestData &request)
{
    const Channel receiver{m_state->receiverWriteHandle(), m_state->receiverReadHandle(),
                           m_state->receiverReportSize.load(std::memory_order_acquire), QStringLiteral("receiver")};
    m_reportsSent = 0;
    switch (request.command) {
    case UsbCommand::TransmitPressed:
        if (receiver.reportSize < 8) {
            fail(QStringLiteral("key transmission refused: the receiver's reports hold %1 bytes, a frame report 8")
                     .arg(receiver.reportSize));
            return;
        }
        runPlan(transmitFrame(request.transmitFrame), receiver, QStringLiteral("key transmission"));
        return;
    case UsbCommand::TransmitReleased:
        setCommandReport(m_state->outputReport, HidCommand::kProgrammingMode, HidCommand::kModeOff);
        send(receiver, QStringLiteral("key release"));
        return;
    case UsbCommand::SignalModulated:
    case UsbCommand::SignalNonModulated:
        qDebug().noquote() << QStringLiteral("usbTransmitOption: %1").arg(request.command);
        setCommandReport(m_state->outputReport, HidCommand::kReceiveMode,
                         request.command == UsbCommand::SignalModulated ? HidCommand::kModulated
                                                                        : HidCommand::kNonModulated);
        send(receiver, QStringLiteral("reception mode"));
        return;
    default:
        return;
    }
}
