#pragma once

#include "usb/HidBackend.h"
#include "usb/HidReport.h"

#include <QObject>
#include <QString>

class UsbState;

// HID access of one thread: the worker threads and the application object each
// hold their own. The operations keep no state of their own beyond one call:
// they act on the shared USB state (its HID layer, handles, report sizes and
// product string). Every operation is safe on closed or failed channels.
class Device : public QObject
{
    Q_OBJECT
public:
    // How long a read waits for a report unless told otherwise.
    static constexpr int kDefaultReadTimeoutMs = 1000;
    // The product string keeps at most this many characters.
    static constexpr int kProductStringLength = 50;

    explicit Device(UsbState *state = nullptr, QObject *parent = nullptr);
    ~Device() override;

    enum class Presence {
        Absent,  // no interface with these ids
        Present, // listed, and a probe open succeeded
        Refused, // listed, but no interface could be opened (no rights)
    };
    // Looks for an interface with these ids and probes it with an open;
    // nothing opened here outlives the call.
    Presence presence(int vendorId, int productId);
    // True when an interface with these ids is present and can be opened.
    bool isPresent(int vendorId, int productId) { return presence(vendorId, productId) == Presence::Present; }
    // Opens the write channel, then the read channel, on the first matching
    // interface and sets the remote report size and product string. False when
    // nothing was opened (no device, failed open, report size outside 1..64).
    bool openRemote(int vendorId, int productId);
    // Opens the read channel, then the write channel, and sets the receiver
    // report size. The receiver has no product string.
    bool openReceiver(int vendorId, int productId);
    void closeRemote();
    void closeReceiver();

    // Writes bytes 0 .. reportSize of report. False on a closed or failed
    // channel, a size outside 1..64, or a short write.
    bool writeReport(const HidHandle &handle, int reportSize, const HidReport &report);
    // Reads one report of reportSize + 1 bytes into report. The result is the
    // number of bytes read (reportSize + 1 for a whole report), 0 when nothing
    // came within the time-out, -1 on a closed or failed channel or a size
    // outside 1..64. A failed read leaves report as it was.
    int readReport(const HidHandle &handle, int reportSize, HidReport &report,
                   int timeoutMs = kDefaultReadTimeoutMs);
    // A channel that fails a transfer counts as gone: when it is one of the
    // open remote's or receiver's channels, the shared state marks that
    // device lost (device nodes are reused, so a device plugged back in
    // cannot be told from the old one by its path).

    // Throws away the input reports waiting on the channel, at most limit of
    // them, without waiting. False when the channel failed (or is closed).
    bool drainReports(const HidHandle &handle, int reportSize, int limit = kDrainLimit);
    static constexpr int kDrainLimit = 256;

    // The product string as the program keeps it: the low byte of each UTF-16
    // code unit as a Latin-1 character, up to the first zero byte, at most 50.
    static QString productStringFromDevice(const QString &deviceText);
    // Payload size N for an input report length (report id included); -1 when
    // the device is not supported (N outside 1..64).
    static int reportSizeFromLength(int inputReportLength);

private:
    // Opens both channels of the first matching interface that opens, the
    // read channel first when readFirst, and takes the payload size from the
    // read channel. False, with both handles empty, when nothing usable opened.
    bool openDevice(int vendorId, int productId, bool readFirst, HidHandle &read, HidHandle &write, int &size);

    UsbState *m_state;
    QString m_text;
};
