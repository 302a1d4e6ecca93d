#pragma once

#include "usb/DeviceInfo.h"
#include "usb/HidBackend.h"

#include <QString>
#include <QtGlobal>

class Device;
class UsbState;

// The reads of a freshly opened remote's information block and slot header
// pages, shared by the connection thread and the request worker. The caller
// holds the link lock and emits its own signals between the steps.
//
// The reads fill the reader's own copies; nothing reaches the shared state
// until the caller publishes them, and a block that failed (the remote did
// not answer every report, or the block has problems) is never published:
// a block in the shared state is always whole, and the device's own.
//
// A remote that stops answering (a read that times out, a short report, or a
// failed channel) ends the reading: the later blocks are skipped, so a silent
// device costs one time-out, not one per report. The steps that only send
// still run.
class DeviceInfoReader
{
public:
    struct Timing
    {
        int programmingModeMs = 500; // wait after programming mode on
        int readTimeoutMs = 1000;    // wait for one report
    };

    // The block starts as `start`: entries the reads do not cover keep its
    // values (a new connection starts from an empty block, a reread of the
    // same device from the one it published before).
    DeviceInfoReader(Device &device, UsbState &state, const Timing &timing, const DeviceInfo &start);

    // The steps return false when the thread was asked to stop.
    // First generation: programming mode on and off, then 0x04 and 0x88 and
    // the 256-byte answer into entries 0..255.
    bool readRemote1Information();
    // Second generation: programming mode on and off, page 0x80 into entries
    // 0..127 and, when entry 29 says so, page 0x81 into 256..383.
    bool readRemote2Information();
    // Second generation: the header page of every slot (at most 16) into a
    // copy of the shared pages; pages beyond the count keep their values.
    bool readSlotHeaders();
    // First generation: the header (first 128 bytes) of every slot, page by
    // page from the first page of its first half (0x06), into a new snapshot.
    bool readRemote1SlotHeaders();
    // Second generation: modulated reception (0x98 0x19) on the remote channel.
    bool sendReceiverOption();

    // Why the reads so far cannot be taken over (empty when they can): the
    // remote stopped answering, or the information block has problems.
    QString failure() const;
    // Problems the program works around (logged, the block is used).
    QStringList notes() const;

    const DeviceInfo &information() const { return m_info; }
    const SlotHeaderPages &slotHeaderPages() const { return m_pages; }
    // Hands the block (and the header pages, when read) to the shared state.
    void publishInformation();
    void publishSlotHeaders();
    void publishRemote1SlotHeaders();

private:
    bool send(quint8 command);
    bool send(quint8 command, quint8 argument);
    bool write();
    void stopAnswering(const QString &why);
    // Sends the read command, then reads bytes / N reports into
    // target[offset + r * N + i - 1], nothing at or past limit.
    bool readBlock(const QString &what, quint8 command, int argument, int bytes, int *target, int limit, int offset);

    Device &m_device;
    UsbState &m_state;
    const Timing m_timing;
    const HidHandle m_read;
    const HidHandle m_write;
    const int m_reportSize;
    DeviceInfo m_info;
    SlotHeaderPages m_pages;
    Remote1SlotHeaders m_remote1Headers;
    bool m_infoRead = false;
    DeviceInfo::Generation m_generation = DeviceInfo::Generation::Remote1;
    QString m_silence; // why the remote counts as not answering; empty while it answers
};
