#include "usb/UsbRequest.h"

#include <QMutexLocker>

bool UsbRequest::post(const UsbRequestData &request)
{
    QMutexLocker lock(&m_mutex);
    if (UsbCommand::isProgramming(request.command) && m_flag.load(std::memory_order_acquire))
        return false;
    m_request = request;
    ++m_serial;
    m_flag.store(true, std::memory_order_release);
    return true;
}

void UsbRequest::discard()
{
    QMutexLocker lock(&m_mutex);
    ++m_serial;
    m_flag.store(false, std::memory_order_release);
}

bool UsbRequest::take(UsbRequestData *request, quint64 *ticket) const
{
    QMutexLocker lock(&m_mutex);
    if (!m_flag.load(std::memory_order_acquire))
        return false;
    if (request)
        *request = m_request;
    if (ticket)
        *ticket = m_serial;
    return true;
}

void UsbRequest::finish(quint64 ticket)
{
    QMutexLocker lock(&m_mutex);
    if (ticket == m_serial)
        m_flag.store(false, std::memory_order_release);
}
