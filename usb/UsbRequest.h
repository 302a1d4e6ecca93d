#pragma once

#include <QString>

#include <array>
#include <atomic>
#include <mutex>

// One request for the devices as the window posts it.
struct UsbRequestData
{
    int command = 0; // a UsbCommand value
    int nPult = 0;   // slot, 0-based
    QString flashData;
    std::array<QString, 4> slotFlashData;
    QString transmitFrame;
};

// Command values of the request mailbox.
namespace UsbCommand {
constexpr int TransmitPressed = 2;
constexpr int TransmitReleased = 3;
constexpr int WriteSlotRemote1 = 81;
constexpr int DeleteSlot = 82;
constexpr int WriteMacroPage = 129;
constexpr int WriteSlotRemote2 = 165;
constexpr int WriteSimpleSlots = 166;
constexpr int SignalNonModulated = 9805;
constexpr int SignalModulated = 9825;
// Slot, macro and delete writes: refused while another request is pending.
constexpr bool isProgramming(int command)
{
    return command == WriteSlotRemote1 || command == DeleteSlot || command == WriteMacroPage ||
           command == WriteSlotRemote2 || command == WriteSimpleSlots;
}
} // namespace UsbCommand

// The request mailbox: a single entry, not a queue. A post replaces what is
// waiting and raises the flag; the worker takes a copy and, when it is done,
// lowers the flag only if nothing was posted after its copy, so a request
// posted while another runs is carried out next instead of being lost.
// The busy rule, for every poster: a programming request
// (UsbCommand::isProgramming) is refused while a request is pending (posted
// and not yet finished); transmit and receiver-mode requests never are.
class UsbRequest
{
public:
    explicit UsbRequest(std::atomic<bool> &flag) : m_flag(flag) {}

    // False (nothing posted) when the busy rule refuses the request.
    bool post(const UsbRequestData &request);
    // Drops a waiting request (the worker does at its start).
    void discard();
    // Copies the waiting request and its ticket; false when none is waiting.
    bool take(UsbRequestData *request, quint64 *ticket) const;
    // Ends the request of this ticket.
    void finish(quint64 ticket);

private:
    // Standard primitives, so thread checkers see every lock.
    mutable std::mutex m_mutex;
    std::atomic<bool> &m_flag;
    UsbRequestData m_request;
    quint64 m_serial = 0;
};
