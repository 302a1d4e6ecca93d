#pragma once

#include "usb/Device.h"
#include "usb/DeviceWritePlan.h"
#include "usb/UsbRequest.h"
#include "usb/UsbWorker.h"

#include <QString>
#include <QTime>

#include <atomic>

class UsbState;

// The request worker: polls the request mailbox and carries out what the
// window posted, on the devices' HID channels, holding UsbState::linkLock
// from the first report of a request to its last (so the connection thread
// never opens, closes or reads the remote in between) and the device
// (UsbState::holdDevice, so the capture thread throws the device's answers
// away).
//
// Commands (UsbCommand): on a first-generation remote the slot write (81) and
// clear (82); on a second-generation remote the slot write (165), the batch of
// the four simple slots (166), the header clear (82) and the macro page (129),
// each followed by reopening the remote and reading it again; on the receiver
// the infrared frame of a key press (2), its release (3) and the reception
// mode (9805, 9825). A request for a device kind that is not connected
// completes without a report.
//
// Status signals, all queued to the window, for the window and the slot
// overview (none carries device data: the overview reads the snapshots in
// UsbState, which are complete before the signal is emitted):
// - updateUsb2, updateUsb6, updateUsb7: a second-generation remote was read
//   again after a write; as the connection thread's signals of the same name
//   (information block, then slot header pages, then reception mode).
// - updateFunctions1(start): a first-generation slot was written (start: when
//   the write began); the remote1 slot header snapshot
//   (UsbState::remote1SlotHeaders) already holds the new headers.
// - updateFunctions2: a first-generation slot was cleared; the snapshot is new.
// - updateFunctions3: declared and connected for the overview, not emitted.
// - updateFunctionsFailed(text): a request was refused or ended early; text
//   says which and why (for the window's log). A half-written slot is never
//   reported as written: neither updateFunctions1 nor the reread follows.
//   A batch of simple slots that left slots out says so here too, with the
//   reason for each.
// - updateFunctionsDone(command, slot): a slot write or clear, a batch or a
//   macro page write went through (after the reread, if any).
class UsbFunctions : public UsbWorker
{
    Q_OBJECT
public:
    struct Timings
    {
        int startDelayMs = 4000;      // before the first poll
        int pollMs = 20;              // between two looks at the mailbox
        int pageSleepMs = 300;        // after each second-generation page and header write
        int clearSleepMs = 100;       // after a first-generation slot clear
        int programmingModeMs = 500;  // in the information read after a write
        int readTimeoutMs = 1000;     // for one report of the device
    };

    // The number is kept as given and not used.
    UsbFunctions(int number, UsbState *state, QObject *parent = nullptr);
    ~UsbFunctions() override;

    // Before start() only.
    void setTimings(const Timings &timings) { m_timings = timings; }
    const Timings &timings() const { return m_timings; }
    // True once the start is over and the mailbox is polled: requests posted
    // before that are discarded.
    bool polling() const { return m_polling.load(std::memory_order_acquire); }

signals:
    void updateUsb2();
    void updateUsb6();
    void updateUsb7();
    void updateFunctions1(QTime start);
    void updateFunctions2();
    void updateFunctions3();
    // The customer number of a remote read again, as UsbConnection's.
    void updateCustomerNumber(const QString &number);
    void updateFunctionsFailed(const QString &text);
    void updateFunctionsDone(int command, int slot);

protected:
    void run() override;

private:
    struct Channel
    {
        HidHandle write;
        HidHandle read;
        int reportSize = 0;
        QString name;
    };

    void carryOut(const UsbRequestData &request);
    void remote1Request(const UsbRequestData &request);
    void remote2Request(const UsbRequestData &request);
    void receiverRequest(const UsbRequestData &request);
    // The batch of the four simple slots; false when it ended early.
    bool simpleSlots(const UsbRequestData &request);
    bool headerClear(int slot);
    bool reconnectAndReread();
    bool readRemote1SlotHeaders();
    Channel remoteChannel() const;
    // Runs the plan's reports on the channel; false (reported) when one failed.
    bool runPlan(const DeviceWritePlan::Plan &plan, const Channel &channel, const QString &what);
    bool send(const Channel &channel, const QString &what);
    bool read(const Channel &channel, const QString &what);
    // Whether the slot exists on the connected remote; reports it otherwise.
    bool slotExists(int slot, const QString &what);
    void fail(const QString &text);

    int m_number;
    UsbState *m_state;
    Device m_device;
    Timings m_timings;
    int m_reportsSent = 0; // in the running sequence, for the failure text
    std::atomic<bool> m_polling{false};
};
