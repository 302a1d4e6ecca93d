#pragma once

#include "ConnectionRig.h"
#include "ir/CaptureStore.h"
#include "usb/UsbFunctions.h"
#include "usb/UsbReceiverDots.h"

#include <memory>

// The three device-link threads on one USB state, as the application runs
// them: the connection thread of the rig, the capture thread with its store
// and the request worker, all with fast timings. The worker's signals join
// the rig's events as "worker:<signal>", the failures as
// "worker:updateFunctionsFailed(<text>)" and the customer number as
// "worker:updateCustomerNumber(<n>)".
class LinkRig : public ConnectionRig
{
public:
    static UsbFunctions::Timings fastWorkerTimings();

    explicit LinkRig(const UsbConnection::Timings &timings = fastTimings(),
                     const UsbFunctions::Timings &workerTimings = fastWorkerTimings());
    ~LinkRig();

    // Starts the three threads.
    void start();
    // Posts the request and waits until the worker has finished it; false
    // when it was refused or did not finish in time.
    bool carryOut(const UsbRequestData &request, int timeoutMs = 20000);

    std::unique_ptr<CaptureStore> store = std::make_unique<CaptureStore>();
    UsbReceiverDots capture;
    UsbFunctions functions;
};
