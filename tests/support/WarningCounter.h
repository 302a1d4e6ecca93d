#pragma once

#include <QMutexLocker>
#include <QString>
#include <QtGlobal>

#include <mutex>

// Counts the warnings that contain a text, from any thread, while it lives.
class WarningCounter
{
public:
    explicit WarningCounter(const QString &text) : m_text(text)
    {
        QMutexLocker lock(&s_mutex);
        s_current = this;
        m_previous = qInstallMessageHandler(&WarningCounter::handler);
    }
    ~WarningCounter()
    {
        qInstallMessageHandler(m_previous);
        QMutexLocker lock(&s_mutex);
        s_current = nullptr;
    }
    WarningCounter(const WarningCounter &) = delete;
    WarningCounter &operator=(const WarningCounter &) = delete;

    int count() const
    {
        QMutexLocker lock(&s_mutex);
        return m_count;
    }

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        QtMessageHandler previous = nullptr;
        {
            QMutexLocker lock(&s_mutex);
            if (s_current) {
                if (type == QtWarningMsg && message.contains(s_current->m_text))
                    ++s_current->m_count;
                previous = s_current->m_previous;
            }
        }
        if (previous)
            previous(type, context, message);
    }

    static inline std::mutex s_mutex;
    static inline WarningCounter *s_current = nullptr;
    const QString m_text;
    QtMessageHandler m_previous = nullptr;
    int m_count = 0;
};
