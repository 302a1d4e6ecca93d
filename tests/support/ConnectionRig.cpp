#include "ConnectionRig.h"

#include "usb/sim/SimulatedRemote1.h"
#include "usb/sim/SimulatedRemote2.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMutexLocker>
#include <QThread>

UsbConnection::Timings ConnectionRig::fastTimings()
{
    UsbConnection::Timings t;
    t.startDelayMs = 10;
    t.cycleMs = 10;
    t.programmingModeMs = 2;
    t.readTimeoutMs = 500;
    return t;
}

ConnectionRig::ConnectionRig(const UsbConnection::Timings &timings) : connection(&state)
{
    sim.setStrict(true);
    state.setBackend(&sim);
    connection.setTimings(timings);
    const auto record = [this](const QString &name) {
        return [this, name] {
            QMutexLocker lock(&m_mutex);
            m_events.append(name);
        };
    };
    QObject::connect(&connection, &UsbConnection::updateUsb1, record("updateUsb1"));
    QObject::connect(&connection, &UsbConnection::updateUsb2, record("updateUsb2"));
    QObject::connect(&connection, &UsbConnection::updateUsb3, record("updateUsb3"));
    QObject::connect(&connection, &UsbConnection::updateUsb4, record("updateUsb4"));
    QObject::connect(&connection, &UsbConnection::updateUsb5, record("updateUsb5"));
    QObject::connect(&connection, &UsbConnection::updateUsb6, record("updateUsb6"));
    QObject::connect(&connection, &UsbConnection::updateUsb7, record("updateUsb7"));
    QObject::connect(&connection, &UsbConnection::updateReceiver1, record("updateReceiver1"));
    QObject::connect(&connection, &UsbConnection::updateReceiver2, record("updateReceiver2"));
    QObject::connect(&connection, &UsbConnection::updateCustomerNumber, [this](const QString &n) {
        QMutexLocker lock(&m_mutex);
        m_events.append(QStringLiteral("updateCustomerNumber(%1)").arg(n));
    });
    QObject::connect(&connection, &UsbConnection::updateUsbRefused, [this](const QString &kind) {
        QMutexLocker lock(&m_mutex);
        m_events.append(QStringLiteral("updateUsbRefused(%1)").arg(kind));
    });
}

ConnectionRig::~ConnectionRig()
{
    connection.stop();
}

void ConnectionRig::record(const QString &event)
{
    QMutexLocker lock(&m_mutex);
    m_events.append(event);
}

std::shared_ptr<SimulatedDevice> ConnectionRig::addRemote(const QString &kind)
{
    if (kind == QLatin1String("remote1"))
        return sim.addRemote1();
    return sim.addRemote2();
}

QStringList ConnectionRig::events() const
{
    QMutexLocker lock(&m_mutex);
    // A list of its own: a shared one would be grown in place by the
    // recording thread once this copy is gone, unseen by thread checkers.
    return QStringList(m_events.cbegin(), m_events.cend());
}

QStringList ConnectionRig::takeEvents()
{
    QMutexLocker lock(&m_mutex);
    return std::exchange(m_events, QStringList());
}

bool ConnectionRig::waitForEvents(int count, int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    while (events().size() < count) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return true;
}

QStringList ConnectionRig::eventsDuring(int cycles)
{
    QThread::msleep(static_cast<unsigned long>(cycles * connection.timings().cycleMs));
    QCoreApplication::processEvents();
    return events();
}

QStringList ConnectionRig::traceLines() const
{
    QStringList lines;
    QString inputChannel;
    int inputs = 0;
    const auto flush = [&] {
        if (inputs > 0)
            lines << QStringLiteral("%1 < %2 reports").arg(inputChannel).arg(inputs);
        inputs = 0;
    };
    for (const SimTraceEntry &e : sim.trace()) {
        if (!e.output) {
            if (e.channel != inputChannel)
                flush();
            inputChannel = e.channel;
            ++inputs;
            continue;
        }
        flush();
        int last = static_cast<int>(e.bytes.size()) - 1;
        while (last > 1 && e.bytes.at(last) == 0)
            --last;
        lines << QStringLiteral("%1 > %2 [%3]")
                     .arg(e.channel, QString::fromLatin1(e.bytes.left(last + 1).toHex(' ')))
                     .arg(e.bytes.size());
    }
    flush();
    return lines;
}
