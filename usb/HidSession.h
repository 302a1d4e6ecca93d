#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>

class HidBackend;
class HidSimulator;

// Which HID layer the program runs on. hidapi unless the environment variable
// IRVANTA_HID_BACKEND or the settings key "Debug/hidBackend" says "simulator";
// the environment wins over the settings.
struct HidBackendChoice
{
    enum class Kind { HidApi, Simulator };

    Kind kind = Kind::HidApi;
    QStringList simulatedDevices; // "remote1", "remote2", plugged in this order
    QString replayFile;           // captures replayed into the simulated receiver
    QStringList warnings;         // values that were not understood

    static HidBackendChoice choose(const QString &backend, const QString &devices, const QString &replay);
    // Reads IRVANTA_HID_BACKEND, IRVANTA_SIM_DEVICES, IRVANTA_SIM_REPLAY, and
    // where one is unset "Debug/hidBackend", "Debug/simulatedDevices",
    // "Debug/replayFile" of settings.
    static HidBackendChoice fromEnvironment(const QSettings &settings);
};

// The HID layer of the process, held from before the device threads start
// until after they have stopped: hid_init and hid_exit run once per process
// around it.
class HidSession
{
public:
    explicit HidSession(const HidBackendChoice &choice);
    ~HidSession();
    HidSession(const HidSession &) = delete;
    HidSession &operator=(const HidSession &) = delete;

    HidBackend *backend() const;
    // The simulator when it was chosen, else null (tests and the demo set-up).
    HidSimulator *simulator() const { return m_simulator.get(); }

private:
    std::unique_ptr<HidBackend> m_hidapi;
    std::unique_ptr<HidSimulator> m_simulator;
    bool m_hidapiStarted = false;
};
