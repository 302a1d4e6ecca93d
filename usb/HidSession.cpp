#include "usb/HidSession.h"

#include "app/SettingsText.h"
#include "usb/HidApiBackend.h"
#include "usb/sim/HidSimulator.h"
#include "ir/IrReplayFile.h"
#include "usb/sim/SimulatedRemote1.h"
#include "usb/sim/SimulatedRemote2.h"

#include <QDebug>
#include <QMutex>

#include <hidapi/hidapi.h>

namespace {

constexpr int kReplayGapMs = 2000;

// hidapi is started by the first session and ended by the last one.
QMutex hidapiMutex;
int hidapiUsers = 0;

QString pick(const char *envName, const QSettings &settings, const char *key)
{
    if (qEnvironmentVariableIsSet(envName))
        return qEnvironmentVariable(envName);
    return settingsText(settings, QLatin1String(key));
}

} // namespace

HidBackendChoice HidBackendChoice::choose(const QString &backend, const QString &devices, const QString &replay)
{
    HidBackendChoice c;
    const QString b = backend.trimmed().toLower();
    if (b == QLatin1String("simulator")) {
        c.kind = Kind::Simulator;
    } else if (!b.isEmpty() && b != QLatin1String("hidapi")) {
        c.warnings.append(QStringLiteral("unknown HID backend \"%1\", using hidapi").arg(backend));
    }
    if (c.kind != Kind::Simulator)
        return c;

    const QString list = devices.trimmed().isEmpty() ? QStringLiteral("remote2") : devices;
    for (const QString &part : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString name = part.trimmed().toLower();
        if (name == QLatin1String("remote1") || name == QLatin1String("remote2")) {
            if (!c.simulatedDevices.contains(name))
                c.simulatedDevices.append(name);
        } else if (name == QLatin1String("none")) {
            continue;
        } else {
            c.warnings.append(QStringLiteral("unknown simulated device \"%1\"").arg(part.trimmed()));
        }
    }
    c.replayFile = replay.trimmed();
    if (!c.replayFile.isEmpty() && !c.simulatedDevices.contains(QLatin1String("remote2")))
        c.warnings.append(QStringLiteral("a replay needs the simulated remote2, which is not plugged in"));
    return c;
}

HidBackendChoice HidBackendChoice::fromEnvironment(const QSettings &settings)
{
    return choose(pick("IRVANTA_HID_BACKEND", settings, "Debug/hidBackend"),
                  pick("IRVANTA_SIM_DEVICES", settings, "Debug/simulatedDevices"),
                  pick("IRVANTA_SIM_REPLAY", settings, "Debug/replayFile"));
}

HidSession::HidSession(const HidBackendChoice &choice)
{
    for (const QString &w : choice.warnings)
        qDebug().noquote() << "HidSession:" << w;

    if (choice.kind == HidBackendChoice::Kind::HidApi) {
        QMutexLocker lock(&hidapiMutex);
        if (hidapiUsers > 0 || hid_init() == 0) {
            ++hidapiUsers;
            m_hidapiStarted = true;
            m_hidapi = std::make_unique<HidApiBackend>();
        } else {
            const wchar_t *why = hid_error(nullptr);
            qDebug().noquote() << "HidSession: hidapi did not start:"
                               << (why ? QString::fromWCharArray(why) : QStringLiteral("unknown error"));
        }
        return;
    }

    m_simulator = std::make_unique<HidSimulator>();
    m_simulator->setStrict(true);
    m_simulator->setLogViolations(true);
    qDebug().noquote() << "HidSession: simulated devices:" << choice.simulatedDevices.join(QLatin1Char(','));
    for (const QString &name : choice.simulatedDevices) {
        if (name == QLatin1String("remote1")) {
            m_simulator->plug(m_simulator->addRemote1());
            continue;
        }
        auto remote2 = m_simulator->addRemote2();
        if (!choice.replayFile.isEmpty()) {
            QList<IrReplayRow> rows;
            QString error;
            if (IrReplayFile::load(choice.replayFile, &rows, &error)) {
                QList<QVector<int>> presses;
                for (const IrReplayRow &r : std::as_const(rows))
                    presses.append(r.durations);
                remote2->setReplay(presses, kReplayGapMs);
                qDebug().noquote() << QStringLiteral("HidSession: replaying %1 key presses from %2")
                                          .arg(rows.size())
                                          .arg(choice.replayFile);
            } else {
                qDebug().noquote() << "HidSession: no replay:" << error;
            }
        }
        m_simulator->plug(remote2);
    }
}

HidSession::~HidSession()
{
    m_simulator.reset();
    m_hidapi.reset();
    if (m_hidapiStarted) {
        QMutexLocker lock(&hidapiMutex);
        if (--hidapiUsers == 0)
            hid_exit();
    }
}

HidBackend *HidSession::backend() const
{
    if (m_simulator)
        return m_simulator.get();
    return m_hidapi.get();
}
