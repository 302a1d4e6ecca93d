#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

class SimulatedDevice;

// One report seen on a simulated channel: written by the host (output) or
// handed to the host by a read (input).
struct SimTraceEntry
{
    qint64 timeUs = 0;  // since the simulator was made
    QString channel;    // device name and channel number, e.g. "remote2.3"
    bool output = false;
    QByteArray bytes;   // the whole report, report id first
};

// What the simulated devices and channels share: one lock, the plugged devices
// in enumeration order, the open channels and the record of what happened.
// Every member is used with the mutex held.
class SimulatorBus
{
public:
    struct Channel
    {
        std::shared_ptr<SimulatedDevice> device;
        quint64 generation = 0; // the device's plug generation when opened
        qint64 openedUs = 0;
        QString name;
        std::deque<QByteArray> queue;
        bool closed = false;
    };

    static constexpr size_t kChannelQueueLimit = 64;

    // A list that shares nothing with the bus's: the bus grows its lists in
    // place once no copy shares them, and Qt decides that with a relaxed
    // load, which thread checkers rightly flag.
    template <typename List>
    static List ownCopy(const List &list)
    {
        return List(list.cbegin(), list.cend());
    }

    SimulatorBus();

    qint64 nowUs() const { return clock.nsecsElapsed() / 1000; }
    // True while the channel can transfer: open, and its device still plugged
    // since the channel was opened.
    bool aliveLocked(const Channel &channel) const;
    // Hands an input report to every open channel of the device that was open
    // at dueUs.
    void deliverLocked(const SimulatedDevice *device, const QByteArray &report, qint64 dueUs);
    // Delivers the scheduled reports of every plugged device that are due.
    void pumpLocked();
    // Time of the device's next scheduled report, or -1.
    qint64 nextDueLocked(const SimulatedDevice *device) const;
    void flagLocked(const QString &text);
    // Unplugs the device: it loses its sequence and every channel on it fails.
    void unplugLocked(const std::shared_ptr<SimulatedDevice> &device);
    // Appends to the trace; a long-running demo keeps only the newest part.
    void traceLocked(const QString &channel, bool output, const QByteArray &bytes);

    // Standard primitives, so thread checkers see every lock and wait.
    mutable std::mutex mutex;
    std::condition_variable changed;
    QElapsedTimer clock;
    bool strict = false;
    bool logViolations = false;
    QList<std::shared_ptr<SimulatedDevice>> devices; // every device made
    QList<std::shared_ptr<SimulatedDevice>> plugged;  // in enumeration order
    QList<std::shared_ptr<Channel>> channels;          // open channels
    QList<SimTraceEntry> trace;
    QStringList violations;
    int plugCounter = 0;
};
