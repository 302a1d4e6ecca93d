#pragma once

#include "usb/DeviceInfo.h"
#include "usb/HidBackend.h"

#include <QtGlobal>

class Device;
class UsbState;

// The reads of a freshly opened remote's information block and slot header
// pages, shared by the connection thread and the request worker. The caller
// holds the link lock and emits its own signals between the steps. Each step
// publishes what it read to the shared state before it returns; what was not
// read keeps its previous value.
//
// A remote that stops answering (a read that times out, or a failed channel)
// ends the reading: the later blocks are skipped, so a silent device costs one
// time-out, not one per report. The steps that only send still run.
class DeviceInfoReader
{
public:
    struct Timing
    {
        int programmingModeMs = 500; // wait after programming mode on
        int readTimeoutMs = 1000;    // wait for one report
    };

    DeviceInfoReader(Device &device, UsbState &state, const Timing &timing);

    // The steps return false when the thread was asked to stop.
    // First generation: programming mode on and off, then 0x04 and 0x88 and
    // the 256-byte answer into entries 0..255.
    bool readRemote1Information();
    // Second generation: programming mode on and off, page 0x80 into entries
    // 0..127 and, when entry 29 says so, page 0x81 into 256..383.
    bool readRemote2Information();
    // Second generation: the header page of every slot (at most 16).
    bool readSlotHeaders();
    // Second generation: modulated reception (0x98 0x19) on the remote channel.
    bool sendReceiverOption();

    // False once the remote stopped answering during these reads.
    bool answered() const { return m_answering; }
    // Whether this entry of the information block came from the remote in
    // these reads (the blocks fill from their start).
    bool hasRead(int entry) const { return entry >= 0 && entry < m_infoBytesRead; }

private:
    bool send(quint8 command);
    bool send(quint8 command, quint8 argument);
    bool write();
    // Sends the read command, then reads bytes / N reports into
    // target[offset + r * N + i - 1], nothing at or past limit.
    // The number of bytes read is stored in *read when given.
    bool readBlock(const QString &what, quint8 command, int argument, int bytes, int *target, int limit, int offset,
                   int *read = nullptr);
    void logProblems(DeviceInfo::Generation generation, const DeviceInfo &info) const;

    Device &m_device;
    UsbState &m_state;
    const Timing m_timing;
    const HidHandle m_read;
    const HidHandle m_write;
    const int m_reportSize;
    bool m_answering = true;
    int m_infoBytesRead = 0; // of the first information block, from entry 0
};
