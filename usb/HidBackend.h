#pragma once

#include <QList>
#include <QString>

#include <memory>

// The HID layer: the only view of USB devices that the rest of the program
// has. Behind it sit hidapi (real devices) and the in-process simulator; no
// code outside usb/ knows which one is in use.

struct HidDeviceEntry
{
    QString path; // what HidBackend::open takes
    int vendorId = 0;
    int productId = 0;
};

// One open channel to a device. A channel that failed or whose device went
// away answers every transfer with -1; nothing here ever blocks for longer
// than the time-out a read is given.
class HidChannel
{
public:
    virtual ~HidChannel();

    // Report byte lengths including the report id byte (0 when unknown).
    virtual int inputReportLength() const = 0;
    virtual int outputReportLength() const = 0;
    // The product string as the device reports it.
    virtual QString productString() const = 0;

    // Writes one report: data[0] is the report id. Bytes written or -1.
    virtual int write(const quint8 *data, int length) = 0;
    // Reads one report into data with the report id in data[0] (0 for a device
    // without numbered reports). Bytes read, 0 on time-out, -1 on failure.
    virtual int read(quint8 *data, int length, int timeoutMs) = 0;
    // Ends the channel; further transfers fail. Also done by the destructor.
    virtual void close() = 0;
};

// Channels are shared: a thread that transfers keeps the channel alive while
// another thread drops it from the shared state; the last holder closes it.
using HidHandle = std::shared_ptr<HidChannel>;

class HidBackend
{
public:
    virtual ~HidBackend();

    // Present interfaces with these ids, in enumeration order.
    virtual QList<HidDeviceEntry> enumerate(int vendorId, int productId) = 0;
    // Opens one channel on a path from enumerate(); null on failure.
    virtual HidHandle open(const QString &path) = 0;
};
