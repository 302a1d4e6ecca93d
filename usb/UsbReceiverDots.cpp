#include "usb/UsbReceiverDots.h"

#include "ir/CaptureStore.h"
#include "usb/HidReport.h"
#include "usb/ReceiverReport.h"
#include "usb/UsbState.h"

#include <QLoggingCategory>

// One line per report: off unless asked for (QT_LOGGING_RULES).
Q_LOGGING_CATEGORY(lcReceiverReports, "irvanta.usb.receiver", QtInfoMsg)

UsbReceiverDots::UsbReceiverDots(UsbState *state, CaptureStore *store, QObject *parent)
    : UsbWorker(parent), m_state(state), m_store(store), m_device(state)
{
}

void UsbReceiverDots::run()
{
    // The slot information is not touched here (see UsbFunctions::run).
    if (!waitForWork(10))
        return;

    HidReport report{};
    // How often the device had been held when this loop last made sure that
    // nothing from a hold waits on the channel.
    unsigned holdsSeen = m_state->deviceHolds.load(std::memory_order_acquire);
    while (waitForWork(1)) {
        if (m_state->receiverKind() != QLatin1String("receiver2"))
            continue;
        const HidHandle channel = m_state->receiverReadHandle();
        const int size = m_state->receiverReportSize.load(std::memory_order_acquire);
        // The device's answers to an information read or a request reach
        // this channel too, faster than this loop reads them. Once the device
        // is given back, what is still queued from the hold is thrown away:
        // read as infrared it would become a message and raise the gap
        // threshold for the next real frame.
        const bool ready = m_state->usbReady.load(std::memory_order_acquire);
        const unsigned holds = m_state->deviceHolds.load(std::memory_order_acquire);
        if (ready && holds != holdsSeen) {
            holdsSeen = holds;
            m_device.drainReports(channel, size);
            continue;
        }
        // Zeroed first: payload bytes a short report did not bring read as
        // padding, never as what an earlier report left.
        report.fill(0);
        const int got = m_device.readReport(channel, size, report, kReadTimeoutMs);
        // Reports read while the device is held are thrown away; so is one
        // read after a hold that began since the last look (the next round
        // drains the rest).
        if (got <= 0 || !m_state->usbReady.load(std::memory_order_acquire) ||
            m_state->deviceHolds.load(std::memory_order_acquire) != holdsSeen)
            continue;
        qCDebug(lcReceiverReports, "UsbReceiverDots: read handle: %d bytes read", got);

        const ReceiverDurations durations = ReceiverReport::decode(report.data() + 1);
        m_store->appendDurations(durations.values.data(), durations.count);
    }
}
