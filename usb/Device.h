#pragma once

#include <QObject>
#include <QString>

// HID access of one thread: the worker threads and the application object each
// hold their own. The device operations come with the HID layer.
class Device : public QObject
{
    Q_OBJECT
public:
    explicit Device(QObject *parent = nullptr);
    ~Device() override;

private:
    QString m_text;
};
