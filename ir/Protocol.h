#pragma once

#include <QObject>

// Frame recogniser and key-code resolver; the recognition itself comes with
// the IR recognition features.
class Protocol : public QObject
{
    Q_OBJECT
public:
    explicit Protocol(QObject *parent = nullptr);
};
