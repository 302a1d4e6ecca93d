#pragma once

#include "usb/Device.h"
#include "usb/UsbWorker.h"

#include <QString>

class DeviceInfoReader;
class UsbState;

// Watches the bus: finds the programmable remote (first generation before
// second) and the receiver, opens and closes them as they come and go, reads
// the remote's information block once per connection and tells the window by
// queued signals. The window never waits for it: it reads the snapshots this
// thread publishes in the shared state before each signal.
//
// A device that went away and came back between two looks is noticed by a
// failed transfer on its old channels (its own, another thread's, or the
// look at the start of each cycle) and is closed and opened again.
class UsbConnection : public UsbWorker
{
    Q_OBJECT
public:
    struct Timings
    {
        int startDelayMs = 1000;       // before the first report to the window
        int cycleMs = 1000;            // between two looks at the bus
        int programmingModeMs = 500;   // after programming mode on, before the information request
        int readTimeoutMs = 1000;      // for one report of the remote
    };

    explicit UsbConnection(UsbState *state, QObject *parent = nullptr);
    ~UsbConnection() override;

    // Before start() only.
    void setTimings(const Timings &timings) { m_timings = timings; }
    const Timings &timings() const { return m_timings; }
    UsbState *state() const { return m_state; }

signals:
    void updateUsb1();      // at start: no remote
    void updateUsb2();      // information block read
    void updateUsb3();      // remote opened and read
    void updateUsb4();      // the open remote went away
    void updateUsb5();      // end of the first-generation read
    void updateUsb6();      // second-generation slot header pages read
    void updateUsb7();      // reception option sent to a second-generation remote
    void updateReceiver1(); // at start, and when the receiver went away
    void updateReceiver2(); // receiver opened
    // The customer number the remote reports, as decimal text; emitted right
    // after updateUsb2 (only for a block that passed its checks). Whether it
    // replaces the stored one is the window's rule
    // (DeviceInfo::replacesCustomerId).
    void updateCustomerNumber(const QString &number);
    // No remote is connected, but one of this kind ("remote1", "remote2") is
    // present and cannot be opened (no rights to its device node). Emitted
    // when that begins; updateUsb4 follows when it ends without a remote.
    void updateUsbRefused(const QString &kind);

protected:
    void run() override;

private:
    void checkRemote();
    void checkReceiver();
    // Whether the open remote (receiver) has gone: a failed transfer on its
    // channels since it was opened, or a failed look now.
    bool remoteGone();
    bool receiverGone();
    // Opens the remote of this generation (closing one of the other first)
    // and reads it; kind is the remote open until now.
    // dropped: a remote went away in this cycle; the window hears of it
    // only when no remote takes its place.
    void connectRemote(QString &kind, const QString &wanted, int productId, bool dropped);
    void closeRemote();
    // The information reads; false when the block cannot be taken over (the
    // remote did not answer, or the block has problems): then nothing of it
    // was published and nothing signalled, and the next look reads again.
    bool readRemote1Info();
    bool readRemote2Info();
    // True when the reads so far can be taken over; logs why not otherwise
    // (once, until the reason changes or a read succeeds).
    bool accepted(const QString &kind, const DeviceInfoReader &reader);
    void publishInformation(DeviceInfoReader &reader);
    void logOpenFailure(bool &failed, const QString &what);
    // Tells the window (and the log, once per device and run) about a remote
    // that is present but cannot be opened.
    void reportRefused(const QString &kind);

    UsbState *m_state;
    Device m_device;
    Timings m_timings;
    bool m_remoteOpenFailed = false;
    bool m_receiverOpenFailed = false;
    QString m_lastReadFailure;
    QString m_refusedShown;     // the refused remote the window was told of
    QStringList m_refusedTold;  // refused remotes already in the log
};
