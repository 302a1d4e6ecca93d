#pragma once

#include <QByteArray>
#include <QString>

#include <deque>
#include <memory>
#include <utility>

class SimulatorBus;

// The device side of a simulated HID device: its ids, report size and product
// string, and what it answers to the reports the host writes. Subclasses hold
// the memory and the command handling of one kind of device. The public
// operations are safe to call from any thread.
class SimulatedDevice
{
public:
    // How the device misbehaves when it answers, for tests of the host.
    enum class Fault {
        None,
        Silent,  // answers nothing
        Short,   // answers reports of half the length
        Garbage, // answers reports of the right length holding noise
    };

    virtual ~SimulatedDevice();

    int vendorId() const { return m_vendorId; }
    int productId() const { return m_productId; }
    QString name() const { return m_name; }

    // Payload bytes N per report (the input report length is N + 1).
    int reportSize() const;
    void setReportSize(int n);
    // The product string as the device reports it (UTF-16).
    QString productString() const;
    void setProductString(const QString &text);
    void setFault(Fault fault);
    // A device that is listed but every open fails, as without the rights to
    // open its node.
    void setRefusesOpen(bool refuses);

protected:
    SimulatedDevice(std::shared_ptr<SimulatorBus> bus, int vendorId, int productId, const QString &name);

    // Called with the bus lock held for every output report; payload holds
    // bytes 1 .. N of the report.
    virtual void receiveLocked(const QByteArray &payload) = 0;
    // Called with the bus lock held when the device is unplugged: it loses
    // whatever sequence was under way.
    virtual void unpluggedLocked() {}
    // Sends one input report with this payload (cut or padded with zeros to N).
    void sendLocked(const QByteArray &payload);
    // Sends a block of bytes as consecutive input reports of N bytes each.
    void sendBlockLocked(const QByteArray &bytes);
    // Queues an input report for the moment dueUs of the bus clock.
    void scheduleLocked(qint64 dueUs, const QByteArray &payload);
    void flagLocked(const QString &text);
    int reportSizeLocked() const { return m_reportSize; }
    bool pluggedLocked() const { return m_plugged; }

    std::shared_ptr<SimulatorBus> m_bus;

private:
    friend class SimulatorBus;
    friend class HidSimulator;
    friend class SimulatedChannel;

    QByteArray faultyLocked(const QByteArray &report);

    const int m_vendorId;
    const int m_productId;
    const QString m_name;
    int m_reportSize = 8;
    QString m_productString;
    Fault m_fault = Fault::None;
    bool m_refusesOpen = false;
    int m_unplugAfterReports = 0; // 0: not armed
    quint32 m_noise = 0x2545F491u;
    bool m_plugged = false;
    quint64 m_generation = 0;
    QString m_path;
    int m_channelCounter = 0;
    std::deque<std::pair<qint64, QByteArray>> m_scheduled;
};
