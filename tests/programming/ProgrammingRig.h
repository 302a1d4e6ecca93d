#pragma once

// The pieces the slot-programming window tests share: a connected remote as
// the window sees it (information block, kind, the values initUsb2 takes
// over) and the request waiting in the mailbox.
#include "mainwindow/MainWindowImpl.h"
#include "tools/samplekit/SampleProtocolLookups.h"
#include "usb/UsbState.h"

namespace ProgrammingRig {

// A second-generation remote of the sample's device id: four slots of 40
// units (2560 bytes), page size 64.
inline DeviceInfo remote2Info(int type, int macroPage = 0)
{
    DeviceInfo info;
    info.entries[3] = 64;
    info.entries[7] = SampleProtocolLookups::kRemote2DeviceId;
    info.entries[8] = type;
    info.entries[29] = macroPage;
    info.entries[31] = 4;
    for (int s = 0; s < 4; ++s)
        info.entries[33 + 2 * s] = 40;
    return info;
}

inline void connectRemote(MainWindowImpl *w, UsbState *state, const QString &kind, const DeviceInfo &info)
{
    state->setRemoteKind(kind);
    state->setDeviceInfo(info);
    w->deviceId = info.deviceId();
    w->deviceRCTypeId = info.remoteTypeId();
}

// The request waiting in the mailbox; command 0 when none.
inline UsbRequestData waiting(UsbState *state)
{
    UsbRequestData request;
    if (!state->request.take(&request, nullptr))
        return UsbRequestData();
    return request;
}

// Ends the waiting request as the worker would.
inline void finishWaiting(UsbState *state)
{
    quint64 ticket = 0;
    if (state->request.take(nullptr, &ticket))
        state->request.finish(ticket);
}

} // namespace ProgrammingRig
