#include "usb/sim/SimulatedRemote2.h"

#include "usb/HidReport.h"
#include "usb/sim/SimulatorBus.h"

#include <mutex>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kMaxSlots = 48; // room entries 33 + 2s stay inside the 128-byte page

QByteArray defaultInformation()
{
    QByteArray info(SimulatedRemote2::kPageSize, '\0');
    info[3] = 64;  // page size
    info[7] = 33;  // device id
    info[8] = 2;   // remote type
    info[11] = 4;  // customer number: the sample kit's, so the demo keeps its pictures
    info[27] = 5;  // configuration of the macro names
    info[29] = 1;  // macro page present
    info[31] = 4;  // slots
    for (int s = 0; s < 4; ++s)
        info[33 + 2 * s] = 40; // 2560 bytes per slot
    // Key codes of the macro keys 1..8; bit 7 set: the macro exists.
    const quint8 macroKeys[] = {0xA1, 0xA2, 0xA3, 0x24, 0x25, 0x26, 0x27, 0x28};
    for (int m = 0; m < 8; ++m)
        info[48 + m] = static_cast<char>(macroKeys[m]);
    return info;
}

// The macro page: a record per existing macro (length, 0x07, key code - 128,
// steps of switch, key, emit / 16 ms, wait / 16 ms, 0xFF), then 0xFF padding.
// The keys are those the sample catalogue offers for remote type 2.
QByteArray defaultMacroPage()
{
    QByteArray page = QByteArray::fromHex("0f0721" "00000a1f" "01000a1f" "000b0606" "ff"
                                          "0b0722" "02000a3e" "02110600" "ff"
                                          "030723" "ff"
                                          "ff");
    page.append(QByteArray(SimulatedRemote2::kPageSize - page.size(), char(0xFF)));
    return page;
}

QByteArray defaultHeader(const QByteArray &caption)
{
    QByteArray header(SimulatedRemote2::kHeaderSize, '\0');
    header[0] = 0; // empty
    header[1] = 1; // program and delete allowed
    header[6] = static_cast<char>(caption.size());
    header.replace(7, caption.size(), caption);
    return header;
}

QByteArray durationCode(int durationUs)
{
    const qint64 us = std::llabs(static_cast<qint64>(durationUs));
    const qint64 ticks = std::clamp<qint64>((us + SimulatedRemote2::kTickUs / 2) / SimulatedRemote2::kTickUs, 1,
                                            SimulatedRemote2::kMaxTicks);
    if (ticks < 0xFF)
        return QByteArray(1, static_cast<char>(ticks));
    QByteArray code(3, '\0');
    code[0] = static_cast<char>(0xFF);
    code[1] = static_cast<char>(ticks >> 8);
    code[2] = static_cast<char>(ticks & 0xFF);
    return code;
}

QByteArray padded(QByteArray codes)
{
    codes.append(QByteArray(SimulatedRemote2::kCodeBytes - codes.size(), '\0'));
    return codes;
}

} // namespace

SimulatedRemote2::SimulatedRemote2(std::shared_ptr<SimulatorBus> bus)
    : SimulatedDevice(std::move(bus), HidIds::kVendor, HidIds::kRemote2, QStringLiteral("remote2")),
      m_info(defaultInformation()), m_macro(defaultMacroPage())
{
    setProductString(QStringLiteral("Simulated Remote 2"));
    const char *captions[] = {"TV", "SAT", "DVD", "AUX"};
    for (int s = 0; s < 4; ++s)
        slotLocked(s).replace(0, kHeaderSize, defaultHeader(captions[s]));
}

QList<QByteArray> SimulatedRemote2::receiverPayloads(const QVector<int> &durationsUs)
{
    QList<QByteArray> out;
    QByteArray cur;
    for (int d : durationsUs) {
        if (d == 0)
            continue; // no duration
        const QByteArray code = durationCode(d);
        if (cur.size() + code.size() > kCodeBytes) {
            out.append(padded(cur));
            cur.clear();
        }
        cur.append(code);
    }
    if (!cur.isEmpty())
        out.append(padded(cur));
    return out;
}

QList<SimulatedRemote2::TimedPayload> SimulatedRemote2::pacedPayloads(const QVector<int> &durationsUs)
{
    QList<TimedPayload> out;
    QByteArray cur;
    qint64 end = 0, lastEnd = 0;
    for (int d : durationsUs) {
        if (d == 0)
            continue;
        const QByteArray code = durationCode(d);
        end += std::llabs(static_cast<qint64>(d));
        if (!cur.isEmpty() && (cur.size() + code.size() > kCodeBytes || end - lastEnd > kFlushGapUs)) {
            out.append({lastEnd, padded(cur)});
            cur.clear();
        }
        cur.append(code);
        lastEnd = end;
    }
    if (!cur.isEmpty())
        out.append({lastEnd, padded(cur)});
    return out;
}

QVector<int> SimulatedRemote2::replayTimeline(const QList<QVector<int>> &rows, int gapMs)
{
    const int gapUs = std::clamp(gapMs, kMinReplayGapMs, 60000) * 1000;
    QVector<int> out;
    qint64 carry = 0; // the trailing silence of the previous press
    for (const QVector<int> &row : rows) {
        QVector<int> press;
        for (int d : row) {
            if (d != 0)
                press.append(d);
        }
        qint64 trailing = 0;
        while (!press.isEmpty() && press.last() < 0)
            trailing += -static_cast<qint64>(press.takeLast());
        while (!press.isEmpty() && press.first() < 0)
            press.removeFirst(); // a press starts with a mark
        if (press.isEmpty()) {
            carry += trailing;
            continue;
        }
        out.append(-static_cast<int>(std::clamp<qint64>(std::max<qint64>(gapUs, carry), gapUs, 1 << 30)));
        out.append(press);
        carry = trailing;
    }
    return out;
}

int SimulatedRemote2::slotCountLocked() const
{
    return std::min<int>(static_cast<quint8>(m_info.at(31)), kMaxSlots);
}

int SimulatedRemote2::capacityLocked(int slot) const
{
    return (slot >= 0 && slot < kMaxSlots) ? static_cast<quint8>(m_info.at(33 + 2 * slot)) : 0;
}

QByteArray &SimulatedRemote2::slotLocked(int slot)
{
    while (m_slots.size() <= slot)
        m_slots.append(QByteArray());
    QByteArray &room = m_slots[slot];
    // The room follows the information page; the header page exists even in
    // a slot without room for an image.
    const int size = std::max(kHeaderSize, capacityLocked(slot) * 64);
    if (room.size() != size)
        room.resize(size, '\0');
    return room;
}

QByteArray SimulatedRemote2::informationPage() const
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    return m_info;
}

void SimulatedRemote2::setInformationPage(const QByteArray &page)
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    m_info = page.left(kPageSize);
    m_info.append(QByteArray(kPageSize - m_info.size(), '\0'));
}

QByteArray SimulatedRemote2::macroPage() const
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    return m_macro;
}

void SimulatedRemote2::setMacroPage(const QByteArray &page)
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    m_macro = page.left(kPageSize);
    m_macro.append(QByteArray(kPageSize - m_macro.size(), '\0'));
}

QByteArray SimulatedRemote2::slotHeader(int slot) const
{
    return slotData(slot).left(kHeaderSize).leftJustified(kHeaderSize, '\0');
}

void SimulatedRemote2::setSlotHeader(int slot, const QByteArray &header)
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    if (slot < 0 || slot >= kMaxSlots)
        return;
    QByteArray bytes = header.left(kHeaderSize);
    bytes.append(QByteArray(kHeaderSize - bytes.size(), '\0'));
    slotLocked(slot).replace(0, kHeaderSize, bytes);
}

QByteArray SimulatedRemote2::slotData(int slot) const
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    if (slot < 0 || slot >= kMaxSlots)
        return QByteArray();
    QByteArray room = slot < m_slots.size() ? m_slots[slot] : QByteArray();
    room.resize(std::max(kHeaderSize, capacityLocked(slot) * 64), '\0');
    return room;
}

bool SimulatedRemote2::programmingMode() const
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    return m_mode;
}

int SimulatedRemote2::receiveMode() const
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    return m_receiveMode;
}

QList<QByteArray> SimulatedRemote2::transmittedFrames() const
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    return SimulatorBus::ownCopy(m_frames);
}

int SimulatedRemote2::keyReleaseCount() const
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    return m_keyReleases;
}

void SimulatedRemote2::injectDurations(const QVector<int> &durationsUs)
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    if (!pluggedLocked())
        return; // nobody hears a device that is not plugged in
    for (const QByteArray &p : receiverPayloads(durationsUs))
        sendLocked(p);
}

void SimulatedRemote2::injectDurationsPaced(const QVector<int> &durationsUs)
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    if (!pluggedLocked())
        return;
    schedulePacedLocked(durationsUs, m_bus->nowUs());
}

void SimulatedRemote2::schedulePacedLocked(const QVector<int> &durationsUs, qint64 startUs)
{
    for (const TimedPayload &t : pacedPayloads(durationsUs))
        scheduleLocked(startUs + t.offsetUs, t.payload);
    // Readers waiting for a report recompute how long to sleep.
    m_bus->changed.notify_all();
}

void SimulatedRemote2::setReplay(const QList<QVector<int>> &rows, int gapMs)
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    m_replayRows = rows;
    m_replayGapMs = gapMs;
}

bool SimulatedRemote2::replayPending() const
{
    std::lock_guard<std::mutex> lock(m_bus->mutex);
    return !m_replayRows.isEmpty();
}

void SimulatedRemote2::unpluggedLocked()
{
    m_mode = false;
    m_receiveMode = 0;
    m_pending = Pending::None;
    m_pendingReportsLeft = 0;
    m_pendingData.clear();
}

void SimulatedRemote2::finishPendingLocked()
{
    switch (m_pending) {
    case Pending::Slot:
        if (m_pendingAllowed) {
            QByteArray &room = slotLocked(m_pendingSlot);
            // What does not fit the slot's room is lost.
            const QByteArray bytes = m_pendingData.left(room.size());
            room.replace(0, bytes.size(), bytes);
        }
        break;
    case Pending::Macro:
        if (m_pendingAllowed)
            m_macro = m_pendingData.left(kPageSize) + QByteArray(std::max(0, kPageSize - int(m_pendingData.size())), '\0');
        break;
    case Pending::Frame:
        m_frames.append(m_pendingData);
        break;
    case Pending::None:
        break;
    }
    m_pending = Pending::None;
    m_pendingData.clear();
}

void SimulatedRemote2::receiveLocked(const QByteArray &payload)
{
    const int n = std::max(1, reportSizeLocked());
    if (m_pendingReportsLeft > 0) {
        m_pendingData.append(m_pending == Pending::Frame ? payload.left(kCodeBytes) : payload);
        if (--m_pendingReportsLeft == 0)
            finishPendingLocked();
        return;
    }

    const auto command = static_cast<quint8>(payload.at(0));
    const auto a = static_cast<quint8>(payload.size() > 1 ? payload.at(1) : 0);
    const auto b = static_cast<quint8>(payload.size() > 2 ? payload.at(2) : 0);
    const auto hex = [](int v) { return QStringLiteral("0x%1").arg(v, 2, 16, QLatin1Char('0')); };
    switch (command) {
    case HidCommand::kProgrammingMode:
        if (a == HidCommand::kModeOn) {
            m_mode = true;
        } else if (a == HidCommand::kModeOff) {
            // The same report ends programming and a transmitted key.
            m_mode = false;
            ++m_keyReleases;
        } else {
            flagLocked(QStringLiteral("programming mode argument %1").arg(hex(a)));
        }
        return;
    case HidCommand::kReadPage2:
        if (a == HidCommand::kInfoPage)
            sendBlockLocked(m_info);
        else if (a == HidCommand::kMacroPage)
            sendBlockLocked(m_macro);
        else if (a < slotCountLocked())
            sendBlockLocked(slotLocked(a).left(kHeaderSize));
        else
            flagLocked(QStringLiteral("page read %1 beyond the slots").arg(hex(a)));
        return;
    case HidCommand::kWritePages2: {
        m_pendingAllowed = m_mode;
        m_pendingData.clear();
        if (!m_mode)
            flagLocked(QStringLiteral("write %1 %2 outside programming mode").arg(hex(a), hex(b)));
        if (a == HidCommand::kMacroPage) {
            m_pending = Pending::Macro;
            m_pendingReportsLeft = (kPageSize + n - 1) / n;
            return;
        }
        const int pageSize = static_cast<quint8>(m_info.at(3));
        if (a >= slotCountLocked()) {
            flagLocked(QStringLiteral("write to slot %1 beyond the slots").arg(hex(a)));
            m_pendingAllowed = false;
        } else if (b * pageSize > capacityLocked(a) * 64) {
            flagLocked(QStringLiteral("write of %1 pages beyond the room of slot %2").arg(b).arg(a));
        }
        m_pending = Pending::Slot;
        m_pendingSlot = a;
        m_pendingReportsLeft = (b * pageSize + n - 1) / n;
        if (m_pendingReportsLeft == 0)
            finishPendingLocked();
        return;
    }
    case HidCommand::kReceiveMode:
        if (a != HidCommand::kModulated && a != HidCommand::kNonModulated) {
            flagLocked(QStringLiteral("reception mode %1").arg(hex(a)));
            return;
        }
        m_receiveMode = a;
        if (!m_replayRows.isEmpty()) {
            schedulePacedLocked(replayTimeline(m_replayRows, m_replayGapMs), m_bus->nowUs());
            m_replayRows.clear();
        }
        return;
    case HidCommand::kTransmitFrame:
        m_pending = Pending::Frame;
        m_pendingData.clear();
        m_pendingReportsLeft = a;
        if (a == 0)
            finishPendingLocked();
        return;
    default:
        flagLocked(QStringLiteral("unknown command %1").arg(hex(command)));
        return;
    }
}
