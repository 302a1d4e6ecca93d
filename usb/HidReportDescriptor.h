#pragma once

#include <QByteArray>

// Report lengths read from a HID report descriptor, as the platform reports
// them: the longest report of each kind in bytes, plus one for the report id
// byte (which a device without numbered reports has as 0).
struct HidReportDescriptor
{
    bool valid = false;          // the descriptor parsed to its end
    bool numberedReports = false; // it declares report ids
    int inputReportLength = 0;   // 0 when the device has no input report
    int outputReportLength = 0;
    int featureReportLength = 0;

    // Parses the descriptor's items. Never reads past the data; an item cut
    // short at the end leaves valid false with the lengths seen so far.
    static HidReportDescriptor parse(const QByteArray &descriptor);
};
