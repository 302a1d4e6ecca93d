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
    // after updateUsb2 when the remote sent it. Whether it replaces the stored
    // one is the window's rule (DeviceInfo::replacesCustomerId).
    void updateCustomerNumber(const QString &number);

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
    void readRemote1Info();
    void readRemote2Info();
    void handOverCustomerNumber(const DeviceInfoReader &reader);
    void logOpenFailure(bool &failed, const QString &what);

    UsbState *m_state;
    Device m_device;
    Timings m_timings;
    bool m_remoteOpenFailed = false;
    bool m_receiverOpenFailed = false;
};
