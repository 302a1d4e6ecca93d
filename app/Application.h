#pragma once

#include "usb/Device.h"
#include "usb/UsbState.h"

#include <QApplication>
#include <QPointer>

#include <memory>

class UsbConnection;
class UsbReceiverDots;
class UsbFunctions;
class HidSession;

// The process frame: opens the catalogue, installs the translators, shows the
// main window and runs the device-link workers; its destructor stops them.
class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int &argc, char **argv);
    ~Application() override;

    static Application *getInstance();

    bool openDatabase();
    bool init();
    // False when start-up failed; main then leaves with -1.
    bool started() const { return m_started; }

    // The USB state shared with the device link.
    UsbState &usb() { return m_usb; }
    Device &device() { return m_device; }

    QWidget *mainWindow = nullptr;
    UsbReceiverDots *usbReceiverDotsThread = nullptr;
    UsbConnection *usbConnectionThread = nullptr;
    UsbFunctions *usbFunctionsThread = nullptr;

private:
    void stopWorkers();

    static Application *instance;
    // Declared first so it goes last: the HID layer outlives every channel
    // that the USB state and the workers hold.
    std::unique_ptr<HidSession> m_hid;
    UsbState m_usb;
    Device m_device;
    bool m_started = false;
};
