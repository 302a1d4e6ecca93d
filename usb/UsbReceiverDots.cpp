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
    m_state->slotInfoValid.store(false, std::memory_order_release);
    if (!waitForWork(10))
        return;

    HidReport report{};
    while (waitForWork(1)) {
        if (m_state->receiverKind() != QLatin1String("receiver2"))
            continue;
        // Zeroed first: payload bytes a short report did not bring read as
        // padding, never as what an earlier report left.
        report.fill(0);
        const int got = m_device.readReport(m_state->receiverReadHandle(),
                                            m_state->receiverReportSize.load(std::memory_order_acquire), report,
                                            kReadTimeoutMs);
        // Reports that arrive while an information read or a request holds
        // the device are read and thrown away.
        if (got <= 0 || !m_state->usbReady.load(std::memory_order_acquire))
            continue;
        qCDebug(lcReceiverReports, "UsbReceiverDots: read handle: %d bytes read", got);

        const ReceiverDurations durations = ReceiverReport::decode(report.data() + 1);
        m_store->appendDurations(durations.values.data(), durations.count);
    }
}
