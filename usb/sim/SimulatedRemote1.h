#pragma once

#include "usb/sim/SimulatedDevice.h"

#include <QByteArray>

#include <array>

// The first-generation programmable remote (0x04B4:0xF234) as the device sees
// it: a 256-byte information block and 256 flash pages whose size is byte 3
// of that block. Slot s keeps two halves of 1024 bytes starting at the pages
// named by bytes 35 + 16s (first half) and 34 + 16s (second half).
class SimulatedRemote1 : public SimulatedDevice
{
public:
    static constexpr int kInfoSize = 256;
    static constexpr int kPageCount = 256;
    static constexpr int kHalfBytes = 1024;

    QByteArray information() const;
    void setInformation(const QByteArray &info); // cut or padded to 256 bytes
    int pageSize() const;
    QByteArray page(int page) const;
    void setPage(int page, const QByteArray &bytes);
    bool programmingMode() const;

protected:
    void receiveLocked(const QByteArray &payload) override;
    void unpluggedLocked() override;

private:
    friend class HidSimulator;
    explicit SimulatedRemote1(std::shared_ptr<SimulatorBus> bus);

    int pageSizeLocked() const { return static_cast<quint8>(m_info.at(3)); }
    QByteArray pageLocked(int page) const;
    bool pageInSomeSlotLocked(int page) const;

    QByteArray m_info;
    std::array<QByteArray, kPageCount> m_pages;
    bool m_mode = false;
    bool m_infoArmed = false;
    // A page write under way: the data reports still expected.
    int m_writePage = -1;
    int m_writeReportsLeft = 0;
    bool m_writeAllowed = false;
    QByteArray m_writeData;
};
