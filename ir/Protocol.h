#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <QString>

class CaptureStore;

// Frame recogniser and key-code resolver; the recognition itself comes with
// the IR recognition features.
class Protocol : public QObject
{
    Q_OBJECT
public:
    explicit Protocol(QObject *parent = nullptr);

    // Recognises closed message i of the store (the window's copy of its row).
    void recognizeFrame(CaptureStore &store, int i);
    // Turns the recognised messages 0..n into the key code of the key press.
    void resolveKeyCode(CaptureStore &store, int n);

    // True when the catalogue holds a transmit code for the protocol number
    // (the first three characters of a key code) in "protocolsirt".
    static bool checkTransmitProtocol(const QString &protocolNumber, QSqlDatabase db = QSqlDatabase::database());
};
