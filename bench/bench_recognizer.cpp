// Times the recogniser's whole chain per message over frames of every fully
// given row of both chains (and unrecognisable noise), beside the time to
// merely copy a message row into the store (the floor every message pays).
//   bench_recognizer [--frames-per-row N] [--repeats R]
#include "CandidateFrames.h"
#include "ir/CaptureStore.h"
#include "ir/Protocol.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QStringList>
#include <QTextStream>
#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct Message
{
    QVector<int> durations;
    ReceiveMode mode;
};

void quiet(QtMsgType, const QMessageLogContext &, const QString &)
{
}

double nanoseconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::nano>(d).count();
}

int option(const QStringList &args, const QString &name, int fallback)
{
    const int at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1).toInt() : fallback;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quiet);
    const QStringList args = app.arguments();
    const int perRow = option(args, QStringLiteral("--frames-per-row"), 10);
    const int repeats = std::max(1, option(args, QStringLiteral("--repeats"), 51));

    QRandomGenerator rng(2024);
    std::vector<Message> messages;
    for (const ReceiveMode mode : {ReceiveMode::Modulated, ReceiveMode::NonModulated}) {
        const auto &chain = mode == ReceiveMode::Modulated ? ProtocolCandidate::modulatedChain()
                                                           : ProtocolCandidate::nonModulatedChain();
        for (int k = 0; k < static_cast<int>(chain.size()); ++k) {
            for (int n = 0; n < perRow; ++n) {
                const CandidateFrames::Frame frame = CandidateFrames::make(chain, k, rng);
                if (frame.made)
                    messages.push_back({frame.durations, mode});
            }
        }
    }
    // Noise that nothing takes runs the whole chain and the stages.
    for (int n = 0; n < perRow * 10; ++n) {
        QVector<int> noise;
        const int count = 3 + static_cast<int>(rng.bounded(100));
        for (int k = 0; k < count; ++k)
            noise << (k % 2 == 0 ? 1 : -1) * (100 + static_cast<int>(rng.bounded(8000)));
        messages.push_back({noise, n % 2 == 0 ? ReceiveMode::Modulated : ReceiveMode::NonModulated});
    }

    auto store = std::make_unique<CaptureStore>();
    Protocol protocol;
    std::vector<double> perMessage;
    std::vector<double> copyTimes;
    double worstSingle = 0;
    int recognised = 0;
    for (const Message &m : messages) {
        std::vector<int> row(CaptureStore::kRowLength, 0);
        std::copy(m.durations.begin(), m.durations.end(), row.begin());
        std::vector<double> runs;
        std::vector<double> copies;
        for (int r = 0; r < repeats; ++r) {
            const auto t0 = std::chrono::steady_clock::now();
            std::copy(row.begin(), row.end(), store->captureSnapshot[0]);
            const auto t1 = std::chrono::steady_clock::now();
            protocol.recognizeFrame(*store, 0, m.mode);
            const auto t2 = std::chrono::steady_clock::now();
            copies.push_back(nanoseconds(t1 - t0));
            runs.push_back(nanoseconds(t2 - t0));
            worstSingle = std::max(worstSingle, runs.back());
        }
        recognised += store->messageRecognizerId[0] != -1;
        std::nth_element(runs.begin(), runs.begin() + runs.size() / 2, runs.end());
        std::nth_element(copies.begin(), copies.begin() + copies.size() / 2, copies.end());
        perMessage.push_back(runs[runs.size() / 2]);
        copyTimes.push_back(copies[copies.size() / 2]);
    }
    std::sort(perMessage.begin(), perMessage.end());
    std::sort(copyTimes.begin(), copyTimes.end());

    QTextStream out(stdout);
    out << "messages: " << messages.size() << " (" << recognised << " recognised), " << repeats
        << " runs each\n";
    out << "copy the row + recognise, per message: median " << perMessage[perMessage.size() / 2] / 1000.0
        << " us, worst message " << perMessage.back() / 1000.0 << " us, worst single run " << worstSingle / 1000.0
        << " us\n";
    out << "copy the row only (floor): median " << copyTimes[copyTimes.size() / 2] / 1000.0 << " us\n";
    return 0;
}
