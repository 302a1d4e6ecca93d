// Arbitrary message rows and templates through the decoders, the normalisers,
// the duration-class stages and the recognition of one message (the whole
// candidate chain of both receive modes), then the key-code resolver on
// messages whose ids and texts come from the input. Every buffer
// is allocated at exactly the size handed over, so a read or write past its
// end is caught.
#include "ir/CaptureStore.h"
#include "ir/Protocol.h"
#include "ir/ProtocolResolver.h"

#include <QtGlobal>

#include <fuzzer/FuzzedDataProvider.h>

#include <memory>
#include <vector>

namespace {

int duration(FuzzedDataProvider &data)
{
    // Mostly durations of the size remotes send, sometimes anything at all.
    if (data.ConsumeIntegralInRange(0, 7) == 0)
        return data.ConsumeIntegral<int>();
    return data.ConsumeIntegralInRange(-30000, 30000);
}

// Mostly the ids the resolver's cases look for, sometimes anything at all.
int recognizerId(FuzzedDataProvider &data)
{
    const auto &cases = KeyCodeResolver::cases();
    switch (data.ConsumeIntegralInRange(0, 5)) {
    case 0:
        return data.ConsumeIntegral<int>();
    case 1:
        return -1;
    default: {
        const KeyCodeResolver::Case &c = cases[data.ConsumeIntegralInRange<size_t>(0, cases.size() - 1)];
        const int choices[] = {c.id, c.id0Alt, c.id1, c.count.ids[0], c.count.ids[1], c.count.oddId};
        return choices[data.ConsumeIntegralInRange(0, 5)];
    }
    }
}

// Mostly bit texts, sometimes any characters (the octal and hex readings).
QString bitText(FuzzedDataProvider &data)
{
    const std::string raw = data.ConsumeRandomLengthString(80);
    QString s;
    const bool bitsOnly = data.ConsumeBool();
    for (char ch : raw)
        s += bitsOnly ? QLatin1Char((ch & 1) ? '1' : '0') : QLatin1Char(ch);
    return s;
}

void quiet(QtMsgType, const QMessageLogContext &, const QString &)
{
}

} // namespace

// The recogniser's diagnostic lines would only slow the run down.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler(quiet);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    // The resolver's messages get a part of the input of their own, so that
    // the message row below cannot use it all up.
    const std::string resolverBytes = data.ConsumeBytesAsString(data.ConsumeIntegralInRange<size_t>(0, 800));

    const auto kind = static_cast<DecoderKind>(data.ConsumeIntegralInRange(0, 8));
    int timings[32];
    for (int &t : timings)
        t = duration(data);
    const int tolA = data.ConsumeIntegralInRange(-100, 3000);
    const int tolB = data.ConsumeIntegralInRange(-100, 3000);
    const std::string timingTemplate = data.ConsumeRandomLengthString(160);
    const int rowStart = data.ConsumeIntegralInRange(0, 3);
    const int outStart = data.ConsumeIntegralInRange(0, 3);
    const int unit = data.ConsumeIntegralInRange(1, 1000);
    const int tol = data.ConsumeIntegralInRange(0, 300);
    // With or without a terminating 0 inside the buffer.
    const bool terminated = data.ConsumeBool();
    const int rowSize = data.ConsumeIntegralInRange(0, CaptureStore::kRowLength);

    std::vector<int> row;
    row.reserve(rowSize);
    while (static_cast<int>(row.size()) < rowSize && data.remaining_bytes() > 0) {
        const int d = duration(data);
        row.push_back(d == 0 ? 1 : d);
    }
    if (terminated)
        row.push_back(0);
    const int n = static_cast<int>(row.size());
    std::vector<float> cells(row.begin(), row.end());

    int slot = 0;
    Protocol::decode(kind, slot, 7, row.data(), n, timings, tolA, tolB, timingTemplate);
    Protocol::decode(kind, slot, 7, cells.data(), n, timings, tolA, tolB, timingTemplate);

    struct Cells
    {
        Protocol::CellBuffer values;
    };
    auto heapCells = std::make_unique<Cells>();
    Protocol::CellBuffer &buffer = heapCells->values;
    Protocol::splitFrameHalves(row.data(), n, buffer, rowStart, outStart, unit, tol);
    Protocol::decode(DecoderKind::Biphase, slot, 3, buffer, Protocol::kCellBufferSize, timings, tolA, tolB,
                     timingTemplate);
    std::vector<int> stored(row);
    Protocol::storeNormalizedFrame(stored.data(), n, buffer, Protocol::kCellBufferSize);
    Protocol::splitMarkHalves(row.data(), n, buffer, rowStart, outStart, unit, tol);
    Protocol::storeNormalizedFrame(stored.data(), n, cells.data(), n);

    FrameResult result;
    std::vector<int> staged(row);
    Protocol::runStages(staged.data(), n, buffer, result, slot);

    // The whole recognition of one message of the store, as the window runs
    // it: the candidate chain of the mode, then the stages; both modes.
    auto store = std::make_unique<CaptureStore>();
    const int message = rowSize % CaptureStore::kMessages;
    Protocol protocol;
    for (const ReceiveMode mode : {ReceiveMode::Modulated, ReceiveMode::NonModulated}) {
        std::copy(row.begin(), row.begin() + std::min(n, CaptureStore::kRowLength),
                  store->captureSnapshot[message]);
        protocol.recognizeFrame(*store, message, mode);
    }

    // The resolver on every n, over what recognition left and over messages
    // made up from the rest of the input (the cases read only these).
    for (int n = 0; n < CaptureStore::kMessages; ++n)
        Protocol::resolveKeyCode(*store, n);
    FuzzedDataProvider messages(reinterpret_cast<const uint8_t *>(resolverBytes.data()), resolverBytes.size());
    for (int k = 0; k < CaptureStore::kMessages; ++k) {
        store->messageRecognizerId[k] = recognizerId(messages);
        store->messageAddressText[k] = bitText(messages);
        store->messageCommandText[k] = bitText(messages);
    }
    for (int n = 0; n < CaptureStore::kMessages; ++n)
        Protocol::resolveKeyCode(*store, n);
    return 0;
}
