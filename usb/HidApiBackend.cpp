#include "usb/HidApiBackend.h"

#include "usb/HidReportDescriptor.h"

#include <QDebug>
#include <QSet>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>

#include <hidapi/hidapi.h>

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>

namespace {

// hidapi keeps its last error in a global: enumeration and opening from
// several threads take turns.
QMutex &globalMutex()
{
    static QMutex mutex;
    return mutex;
}

class HidApiChannel : public HidChannel
{
public:
    HidApiChannel(hid_device *dev, const HidReportDescriptor &descriptor, const QString &product)
        : m_dev(dev), m_descriptor(descriptor), m_product(product)
    {
    }
    ~HidApiChannel() override { close(); }

    int inputReportLength() const override { return m_descriptor.inputReportLength; }
    int outputReportLength() const override { return m_descriptor.outputReportLength; }
    QString productString() const override { return m_product; }

    int write(const quint8 *data, int length) override
    {
        QMutexLocker lock(&m_mutex);
        if (!m_dev || !data || length < 1)
            return -1;
        // hidraw takes the report id as the first byte, 0 for a device without
        // numbered reports: our layout already has it.
        return hid_write(m_dev, data, static_cast<size_t>(length));
    }

    int read(quint8 *data, int length, int timeoutMs) override
    {
        QMutexLocker lock(&m_mutex);
        if (!m_dev || !data || length < 1)
            return -1;
        if (m_descriptor.numberedReports)
            return hid_read_timeout(m_dev, data, static_cast<size_t>(length), timeoutMs);
        // Without numbered reports hidraw hands over the payload alone; put the
        // report id 0 in front so every channel has the same layout.
        if (length < 2)
            return -1;
        const int got = hid_read_timeout(m_dev, data + 1, static_cast<size_t>(length - 1), timeoutMs);
        if (got <= 0)
            return got;
        data[0] = 0;
        return got + 1;
    }

    void close() override
    {
        QMutexLocker lock(&m_mutex);
        if (m_dev) {
            hid_close(m_dev);
            m_dev = nullptr;
        }
    }

private:
    QMutex m_mutex; // a close waits for a transfer under way
    hid_device *m_dev;
    const HidReportDescriptor m_descriptor;
    const QString m_product;
};

} // namespace

QList<HidDeviceEntry> HidApiBackend::enumerate(int vendorId, int productId)
{
    QList<HidDeviceEntry> result;
    if (vendorId <= 0 || productId <= 0 || vendorId > 0xFFFF || productId > 0xFFFF)
        return result; // 0 would mean "any" to hidapi
    QMutexLocker lock(&globalMutex());
    hid_device_info *list = hid_enumerate(static_cast<unsigned short>(vendorId), static_cast<unsigned short>(productId));
    for (hid_device_info *d = list; d; d = d->next) {
        if (d->path)
            result.append({QString::fromLocal8Bit(d->path), d->vendor_id, d->product_id});
    }
    hid_free_enumeration(list);
    return result;
}

HidHandle HidApiBackend::open(const QString &path)
{
    const QByteArray nativePath = path.toLocal8Bit();
    QMutexLocker lock(&globalMutex());
    hid_device *dev = hid_open_path(nativePath.constData());
    if (!dev) {
        // The device link looks once a second: each path's failure is told
        // once per run, not every second.
        static QSet<QString> told;
        if (!told.contains(path)) {
            told.insert(path);
            const wchar_t *why = hid_error(nullptr);
            qDebug().noquote() << QStringLiteral("HidApiBackend: cannot open %1: %2")
                                      .arg(path, why ? QString::fromWCharArray(why) : QStringLiteral("unknown error"));
        }
        return nullptr;
    }
    wchar_t product[256] = {};
    QString productText;
    if (hid_get_product_string(dev, product, 255) == 0)
        productText = QString::fromWCharArray(product);
    lock.unlock();
    const HidReportDescriptor descriptor = HidReportDescriptor::parse(readReportDescriptor(path));
    return std::make_shared<HidApiChannel>(dev, descriptor, productText);
}

QByteArray HidApiBackend::readReportDescriptor(const QString &devicePath)
{
    const QString node = QFileInfo(devicePath).fileName();
    QFile sysfs(QStringLiteral("/sys/class/hidraw/%1/device/report_descriptor").arg(node));
    if (!node.isEmpty() && sysfs.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = sysfs.read(HID_MAX_DESCRIPTOR_SIZE);
        if (!bytes.isEmpty())
            return bytes;
    }
    const int fd = ::open(devicePath.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return QByteArray();
    QByteArray bytes;
    int size = 0;
    if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) == 0 && size > 0 && size <= HID_MAX_DESCRIPTOR_SIZE) {
        hidraw_report_descriptor desc{};
        desc.size = static_cast<__u32>(size);
        if (::ioctl(fd, HIDIOCGRDESC, &desc) == 0)
            bytes = QByteArray(reinterpret_cast<const char *>(desc.value), size);
    }
    ::close(fd);
    return bytes;
}
