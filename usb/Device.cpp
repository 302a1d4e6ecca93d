#include "usb/Device.h"

#include "usb/UsbState.h"

#include <QDebug>
#include <QMutexLocker>
#include <QStringList>

#include <algorithm>
#include <mutex>

Device::Device(UsbState *state, QObject *parent) : QObject(parent), m_state(state) {}

Device::~Device() = default;

Device::Presence Device::presence(int vendorId, int productId)
{
    HidBackend *backend = m_state ? m_state->backend() : nullptr;
    if (!backend)
        return Presence::Absent;
    // A probe open tells a present device from one that cannot be used; the
    // probe channel is dropped before returning.
    Presence result = Presence::Absent;
    const QList<HidDeviceEntry> entries = backend->enumerate(vendorId, productId);
    for (const HidDeviceEntry &e : entries) {
        if (e.vendorId != vendorId || e.productId != productId)
            continue;
        if (HidHandle probe = backend->open(e.path)) {
            probe->close();
            return Presence::Present;
        }
        result = Presence::Refused;
    }
    return result;
}

bool Device::openDevice(int vendorId, int productId, bool readFirst, HidHandle &read, HidHandle &write, int &size)
{
    read.reset();
    write.reset();
    HidBackend *backend = m_state ? m_state->backend() : nullptr;
    if (!backend)
        return false;
    HidHandle &first = readFirst ? read : write;
    HidHandle &second = readFirst ? write : read;
    const QList<HidDeviceEntry> entries = backend->enumerate(vendorId, productId);
    for (const HidDeviceEntry &e : entries) {
        if (e.vendorId != vendorId || e.productId != productId)
            continue;
        first = backend->open(e.path);
        if (first)
            second = backend->open(e.path);
        if (first && second)
            break;
        first.reset();
        second.reset();
    }
    if (!read)
        return false;
    size = reportSizeFromLength(read->inputReportLength());
    if (size < 0) {
        // The device link tries every second: told once per device and run.
        const QString text = QStringLiteral("Device: %1:%2 has an unsupported input report length of %3 bytes")
                                 .arg(vendorId, 4, 16, QLatin1Char('0'))
                                 .arg(productId, 4, 16, QLatin1Char('0'))
                                 .arg(read->inputReportLength());
        static std::mutex toldMutex;
        static QStringList told;
        QMutexLocker lock(&toldMutex);
        if (!told.contains(text)) {
            told << text;
            qDebug().noquote() << text;
        }
        read.reset();
        write.reset();
        return false;
    }
    return true;
}

bool Device::openRemote(int vendorId, int productId)
{
    if (!m_state)
        return false;
    HidHandle read, write;
    int n = 0;
    if (!openDevice(vendorId, productId, false, read, write, n)) {
        m_state->setRemoteHandles(nullptr, nullptr);
        return false;
    }
    m_state->remoteReportSize.store(n, std::memory_order_release);
    m_state->setProductString(productStringFromDevice(read->productString()));
    m_state->setRemoteHandles(std::move(read), std::move(write));
    return true;
}

bool Device::openReceiver(int vendorId, int productId)
{
    if (!m_state)
        return false;
    HidHandle read, write;
    int n = 0;
    if (!openDevice(vendorId, productId, true, read, write, n)) {
        m_state->setReceiverHandles(nullptr, nullptr);
        return false;
    }
    m_state->receiverReportSize.store(n, std::memory_order_release);
    m_state->setReceiverHandles(std::move(read), std::move(write));
    return true;
}

void Device::closeRemote()
{
    // Dropping the handles closes the channels once no thread transfers on them.
    if (m_state)
        m_state->setRemoteHandles(nullptr, nullptr);
}

void Device::closeReceiver()
{
    if (m_state)
        m_state->setReceiverHandles(nullptr, nullptr);
}

bool Device::writeReport(const HidHandle &handle, int reportSize, const HidReport &report)
{
    if (!handle || reportSize < 1 || reportSize > HidLimits::kMaxPayload)
        return false;
    const int written = handle->write(report.data(), reportSize + 1);
    if (written < 0 && m_state)
        m_state->noteFailedTransfer(handle);
    return written == reportSize + 1;
}

int Device::readReport(const HidHandle &handle, int reportSize, HidReport &report, int timeoutMs)
{
    if (!handle || reportSize < 1 || reportSize > HidLimits::kMaxPayload)
        return -1;
    HidReport scratch{};
    const int got = handle->read(scratch.data(), reportSize + 1, std::max(0, timeoutMs));
    if (got < 0 && m_state)
        m_state->noteFailedTransfer(handle);
    if (got <= 0)
        return got < 0 ? -1 : 0;
    const int used = std::min(got, reportSize + 1);
    std::copy_n(scratch.begin(), used, report.begin());
    return used;
}

bool Device::drainReports(const HidHandle &handle, int reportSize, int limit)
{
    HidReport scratch{};
    for (int i = 0; i < limit; ++i) {
        const int got = readReport(handle, reportSize, scratch, 0);
        if (got < 0)
            return false;
        if (got == 0)
            return true;
    }
    return true;
}

QString Device::productStringFromDevice(const QString &deviceText)
{
    QString result;
    const int units = std::min<int>(deviceText.size(), kProductStringLength);
    for (int i = 0; i < units; ++i) {
        const auto low = static_cast<uchar>(deviceText.at(i).unicode() & 0xFF);
        if (low == 0)
            break;
        result.append(QChar::fromLatin1(static_cast<char>(low)));
    }
    return result;
}

int Device::reportSizeFromLength(int inputReportLength)
{
    const int n = inputReportLength - 1;
    return (n >= 1 && n <= HidLimits::kMaxPayload) ? n : -1;
}
