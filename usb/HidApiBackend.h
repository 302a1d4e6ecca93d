#pragma once

#include "usb/HidBackend.h"

#include <QByteArray>

// Real devices through hidapi (hidraw). hid_init and hid_exit belong to
// HidSession; this class only enumerates and opens.
class HidApiBackend : public HidBackend
{
public:
    QList<HidDeviceEntry> enumerate(int vendorId, int productId) override;
    HidHandle open(const QString &path) override;

    // The report descriptor of a hidraw node: from sysfs, else by ioctl.
    // Empty when neither works.
    static QByteArray readReportDescriptor(const QString &devicePath);
};
