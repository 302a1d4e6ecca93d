// MainWindowImpl: the slot overview in the slot dialog.
#include "mainwindow/MainWindowImpl.h"

#include "programming/SlotOverview.h"
#include "usb/UsbState.h"

#include <QDebug>

#include <algorithm>

namespace {

// Puts an overview into the slot dialog. The slot information counts as
// valid, and the programming actions follow the device, before the buttons
// and texts change.
void showOverview(MainWindowImpl *w, const SlotOverview::Overview &o)
{
    Changer8in1Dialog &d = w->changer8in1Dialog;
    for (int n = 1; n <= SlotOverview::Boxes; ++n) {
        auto *box = d.findChild<QGroupBox *>(QStringLiteral("cgroupBox%1").arg(n));
        box->setTitle(o.boxes.at(n - 1).title);
        box->setEnabled(o.boxes.at(n - 1).enabled);
    }
    if (w->usbState)
        w->usbState->slotInfoValid.store(true, std::memory_order_release);
    w->refreshActionUSBProgramm();
    for (int n = 1; n <= SlotOverview::Boxes; ++n) {
        const SlotOverview::Box &b = o.boxes.at(n - 1);
        d.findChild<QPushButton *>(QStringLiteral("dpushButton%1").arg(n))->setEnabled(b.buttons);
        d.findChild<QPushButton *>(QStringLiteral("cpushButton%1").arg(n))->setEnabled(b.buttons);
        d.findChild<QLabel *>(QStringLiteral("clabelBrand%1").arg(n))->setText(MainWindowImpl::tr("Brand:") + QLatin1Char(' ') + b.brand);
        d.findChild<QLabel *>(QStringLiteral("clabelType%1").arg(n))->setText(MainWindowImpl::tr("Type:") + QLatin1Char(' ') + b.type);
        d.findChild<QLabel *>(QStringLiteral("clabelModel%1").arg(n))->setText(MainWindowImpl::tr("Model:") + QLatin1Char(' ') + b.model);
        d.findChild<QLabel *>(QStringLiteral("clabelDate%1").arg(n))->clear();
    }
}

} // namespace

void MainWindowImpl::refreshInformation1()
{
    qDebug() << "refreshInformation1";
    appendLog(QStringLiteral("//-----------------"));
    showSlotOverview1();
}

void MainWindowImpl::showSlotOverview1()
{
    // Slot names and buttons come from the information block; the contents
    // from the slot headers the device link publishes with it.
    const DeviceInfo info = usbState ? usbState->deviceInfo() : DeviceInfo();
    QList<QByteArray> headers;
    if (usbState) {
        const Remote1SlotHeaders read = usbState->remote1SlotHeaders();
        for (int s = 0; s < read.slotsRead; ++s) {
            QByteArray header(Remote1SlotHeaders::kBytes, '\0');
            for (int b = 0; b < Remote1SlotHeaders::kBytes; ++b)
                header[b] = static_cast<char>(read.at(s, b));
            headers << header;
        }
    }
    showOverview(this, SlotOverview::remote1(info, headers));
    shownOverview = 1;
}

void MainWindowImpl::refreshInformation2()
{
    qDebug() << "refreshInformation2";
    // Works on the window's own copy of the pages, which the status slots
    // take from the link's snapshot before they call this.
    SlotHeaderPages pages{};
    std::copy(std::begin(slotHeaderPages), std::end(slotHeaderPages), pages.begin());
    const SlotOverview::Overview o = SlotOverview::remote2(usbState ? usbState->deviceInfo() : DeviceInfo(), pages);
    // The captions also name the macro editor's switches and head the images.
    for (int s = 0; s < kSlotHeaderPages; ++s)
        slotCaptions[s] = s < o.captions.size() ? o.captions.at(s) : QString();
    showOverview(this, o);
    shownOverview = 2;
}
