#include "ir/Protocol.h"

#include "ir/CaptureStore.h"
#include "ir/Message.h"
#include "ir/ProtocolCandidate.h"
#include "programming/ProtocolLookup.h"

#include <QDebug>

#include <algorithm>

Protocol::Protocol(QObject *parent) : QObject(parent)
{
}

Protocol::~Protocol() = default;

namespace {

using Candidate = ProtocolCandidate;
constexpr int kRowLength = CaptureStore::kRowLength;

bool checksHold(const Candidate &candidate, const QString &bits)
{
    for (const Candidate::BitCheck &check : candidate.checks) {
        const QString a = bits.mid(check.a, check.length);
        const QString b = bits.mid(check.b, check.length);
        if (check.kind == Candidate::BitCheck::Kind::Complement && a != Message::invertBits(b))
            return false;
        if (check.kind == Candidate::BitCheck::Kind::Differ && a == b)
            return false;
    }
    return true;
}

// -3500 at index 16, the durations 16..39 one place up. The row keeps its
// terminating 0: a message that ended at 40 ends at 41.
void insertSpace3500(int *row)
{
    const bool endedAt40 = row[40] == 0;
    std::copy_backward(row + 16, row + 40, row + 41);
    row[16] = -3500;
    if (endedAt40)
        row[41] = 0;
}

// The header mark the receiver lost is put back in front: 8134, then the
// first four durations one place up with their signs reversed.
void prepend8134(int *row)
{
    for (int k = 3; k >= 0; --k)
        row[k + 1] = -row[k];
    row[0] = 8134;
}

// Runs one candidate on row; true when it matched (its result filled in).
// cellsValid says whether the cell buffer holds a split of this message,
// for a candidate that works on the buffer the row before left.
bool tryCandidate(const Candidate &candidate, int *row, Protocol::CellBuffer &cells, bool &cellsValid, int &slot,
                  FrameResult &result)
{
    int saved87 = 0;
    if (candidate.preparation == Candidate::Preparation::CutAfter87) {
        saved87 = row[87];
        row[87] = 0;
    } else if (candidate.preparation != Candidate::Preparation::None &&
               !candidate.prepareCells(row, kRowLength, cells, cellsValid)) {
        slot = -1;
        return false;
    }

    const bool onCells = candidate.kind == DecoderKind::Biphase || candidate.kind == DecoderKind::Mixed;
    const QString bits =
        onCells ? Protocol::decode(candidate.kind, slot, candidate.recognizerId, cells, Protocol::kCellBufferSize,
                                   candidate.timings, candidate.tolA, candidate.tolB, candidate.timingTemplate)
                : Protocol::decode(candidate.kind, slot, candidate.recognizerId, row, kRowLength, candidate.timings,
                                   candidate.tolA, candidate.tolB, candidate.timingTemplate);
    if (slot != candidate.recognizerId || !checksHold(candidate, bits)) {
        slot = -1;
        if (candidate.preparation == Candidate::Preparation::CutAfter87)
            row[87] = saved87;
        return false;
    }

    if ((candidate.steps & Candidate::Rule223) && bits.size() >= 2 && bits.at(1) == QLatin1Char('0'))
        slot = 223;
    if (candidate.steps & Candidate::Double1011) {
        cells[10] *= 2.0f;
        cells[11] *= 2.0f;
    }
    if (candidate.steps & Candidate::StoreBack)
        Protocol::storeNormalizedFrame(row, kRowLength, cells, Protocol::kCellBufferSize);
    if (candidate.steps & Candidate::Insert3500)
        insertSpace3500(row);
    if (candidate.steps & Candidate::Prepend8134)
        prepend8134(row);

    result.labelPattern = candidate.labelPattern;
    result.addressText = Candidate::assemble(candidate.address, bits);
    result.commandText = Candidate::assemble(candidate.command, bits);
    result.span = candidate.span;
    return true;
}

} // namespace

FrameResult Protocol::recognizeFrame(CaptureStore &store, int i, ReceiveMode mode)
{
    if (i < 0 || i >= CaptureStore::kMessages)
        return {};
    int *row = store.captureSnapshot[i];
    int &slot = store.messageRecognizerId[i];
    CellBuffer cells = {};
    bool cellsValid = false;
    FrameResult result;

    const std::vector<ProtocolCandidate> &chain = mode == ReceiveMode::Modulated
                                                      ? ProtocolCandidate::modulatedChain()
                                                      : ProtocolCandidate::nonModulatedChain();
    slot = -1;
    bool matched = false;
    for (std::size_t k = 0; k < chain.size() && !matched; ++k) {
        matched = tryCandidate(chain[k], row, cells, cellsValid, slot, result);
        if (matched)
            result.candidateRow = static_cast<int>(k);
    }
    // What no candidate takes, the duration-class stages may (modulated
    // only); otherwise it stays unrecognised.
    if (!matched) {
        if (mode == ReceiveMode::Modulated)
            runStages(row, CaptureStore::kRowLength, cells, result, slot);
        else
            result.span = kNoMatchSpan;
    }

    complete(store, i, result);
    return result;
}

void Protocol::complete(CaptureStore &store, int i, const FrameResult &result)
{
    store.messageSpan = result.span;
    store.messageAddressText[i] = result.addressText;
    store.messageCommandText[i] = result.commandText;
}

bool Protocol::checkTransmitProtocol(const QString &protocolNumber, QSqlDatabase db)
{
    return ProtocolLookup::protocolIRT(db, protocolNumber) != ProtocolLookup::notFound();
}
