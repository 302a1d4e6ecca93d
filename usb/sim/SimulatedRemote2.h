#pragma once

#include "usb/sim/SimulatedDevice.h"

#include <QByteArray>
#include <QList>
#include <QVector>

// The second-generation programmable remote (0x04B4:0xF231) as the device
// sees it. It is also the infrared receiver and transmitter, so the host opens
// it twice; every input report reaches every open channel.
//
// Memory: information page 0x80 (128 bytes: byte 3 the page size, byte 29 the
// macro page flag, byte 31 the slot count, byte 33 + 2s the room of slot s in
// 64-byte units, bytes 48..55 the macro keys), the macro page 0x81 (128
// bytes), and per slot its room of bytes whose first 64 are the slot's
// header page.
//
// Receiver: infrared durations turn into input reports of duration codes, one
// byte per 20 us tick, or 0xFF and a big-endian 16-bit tick count; zero bytes
// pad a report. An escape never starts where its value bytes would lie beyond
// the eight payload bytes.
class SimulatedRemote2 : public SimulatedDevice
{
public:
    static constexpr int kPageSize = 128;
    static constexpr int kHeaderSize = 64;
    static constexpr int kCodeBytes = 8;       // duration codes per receiver report
    static constexpr int kTickUs = 20;
    static constexpr int kMaxTicks = 0xFFFF;
    static constexpr int kFlushGapUs = 20000;  // a report is sent when no code follows within this time
    static constexpr int kMinReplayGapMs = 500;

    struct TimedPayload
    {
        qint64 offsetUs; // when the report leaves the device, from the start of the signal
        QByteArray payload;
    };

    // Receiver payloads (eight code bytes each) for these durations, signs
    // ignored, each rounded to the nearest tick (at least one tick, at most
    // 0xFFFF), packed without regard to time.
    static QList<QByteArray> receiverPayloads(const QVector<int> &durationsUs);
    // The same codes as the device sends them while the signal arrives: a
    // report leaves when it is full or when no further duration ends within
    // kFlushGapUs, at the end of its last duration.
    static QList<TimedPayload> pacedPayloads(const QVector<int> &durationsUs);
    // The durations of a replay: every key press (row) is preceded by a silence
    // of at least gapMs that stands in for the pause between presses, and a
    // press's own trailing silence becomes part of the next pause.
    static QVector<int> replayTimeline(const QList<QVector<int>> &rows, int gapMs);

    QByteArray informationPage() const;
    void setInformationPage(const QByteArray &page); // cut or padded to 128 bytes
    QByteArray macroPage() const;
    void setMacroPage(const QByteArray &page);
    QByteArray slotHeader(int slot) const;
    void setSlotHeader(int slot, const QByteArray &header); // the first 64 bytes of the slot
    QByteArray slotData(int slot) const;                    // the slot's whole room
    bool programmingMode() const;
    int receiveMode() const; // 0 until set, then 0x19 (modulated) or 0x08
    QList<QByteArray> transmittedFrames() const;
    int keyReleaseCount() const;

    // Sends the receiver reports of these durations at once.
    void injectDurations(const QVector<int> &durationsUs);
    // Sends them as the signal would arrive, starting now.
    void injectDurationsPaced(const QVector<int> &durationsUs);
    // Plays these key presses into the receiver once, paced, starting gapMs
    // after the host next switches reception on (0x98). Replaces a replay that
    // has not started.
    void setReplay(const QList<QVector<int>> &rows, int gapMs);
    bool replayPending() const;

protected:
    void receiveLocked(const QByteArray &payload) override;
    void unpluggedLocked() override;

private:
    friend class HidSimulator;
    explicit SimulatedRemote2(std::shared_ptr<SimulatorBus> bus);

    enum class Pending { None, Slot, Macro, Frame };

    int slotCountLocked() const;
    int capacityLocked(int slot) const;
    QByteArray &slotLocked(int slot);
    void finishPendingLocked();
    void schedulePacedLocked(const QVector<int> &durationsUs, qint64 startUs);

    QByteArray m_info;
    QByteArray m_macro;
    QList<QByteArray> m_slots;
    bool m_mode = false;
    int m_receiveMode = 0;
    QList<QByteArray> m_frames;
    int m_keyReleases = 0;
    Pending m_pending = Pending::None;
    int m_pendingReportsLeft = 0;
    int m_pendingSlot = 0;
    bool m_pendingAllowed = false;
    QByteArray m_pendingData;
    QList<QVector<int>> m_replayRows;
    int m_replayGapMs = 0;
};
