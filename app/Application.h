#pragma once

#include "usb/Device.h"
#include "usb/UsbState.h"

#include <QApplication>
#include <QPointer>

class UsbConnection;
class UsbReceiverDots;
class UsbFunctions;

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
    UsbState m_usb;
    Device m_device;
    bool m_started = false;
};
