#include "usb/HidReportDescriptor.h"

#include <QMap>

#include <algorithm>
#include <vector>

namespace {

// Global items that size a report; Push and Pop save and restore them.
struct Globals
{
    quint32 reportSize = 0;
    quint32 reportCount = 0;
    quint32 reportId = 0;
};

enum ItemType { Main = 0, Global = 1, Local = 2 };
enum MainTag { Input = 0x8, Output = 0x9, Feature = 0xB };
enum GlobalTag { ReportSize = 0x7, ReportId = 0x8, ReportCount = 0x9, Push = 0xA, Pop = 0xB };

constexpr int kMaxPushDepth = 32;
// Bounds that keep the sums of hostile descriptors far from overflow.
constexpr qint64 kFactorLimit = qint64(1) << 20;
constexpr qint64 kBitLimit = qint64(1) << 40;

int lengthOf(const QMap<quint32, qint64> &bits)
{
    if (bits.isEmpty())
        return 0;
    qint64 longest = 0;
    for (qint64 b : bits)
        longest = std::max(longest, b);
    // Whole bytes of the longest report, plus the report id byte.
    return static_cast<int>(std::min<qint64>((longest + 7) / 8 + 1, 0x7FFFFFFF));
}

} // namespace

HidReportDescriptor HidReportDescriptor::parse(const QByteArray &descriptor)
{
    HidReportDescriptor result;
    Globals g;
    std::vector<Globals> stack;
    QMap<quint32, qint64> inputBits, outputBits, featureBits;
    const auto *data = reinterpret_cast<const quint8 *>(descriptor.constData());
    const int size = static_cast<int>(descriptor.size());
    int pos = 0;
    bool ok = true;

    while (pos < size) {
        const quint8 prefix = data[pos];
        if (prefix == 0xFE) {
            // Long item: size byte, tag byte, data. None of them sizes a report.
            if (pos + 2 >= size) {
                ok = false;
                break;
            }
            const int dataSize = data[pos + 1];
            if (pos + 3 + dataSize > size) {
                ok = false;
                break;
            }
            pos += 3 + dataSize;
            continue;
        }
        const int dataSize = (prefix & 0x3) == 3 ? 4 : (prefix & 0x3);
        const int type = (prefix >> 2) & 0x3;
        const int tag = prefix >> 4;
        if (pos + 1 + dataSize > size) {
            ok = false;
            break;
        }
        quint32 value = 0;
        for (int i = 0; i < dataSize; ++i)
            value |= quint32(data[pos + 1 + i]) << (8 * i);
        pos += 1 + dataSize;

        if (type == Global) {
            switch (tag) {
            case ReportSize:
                g.reportSize = value;
                break;
            case ReportCount:
                g.reportCount = value;
                break;
            case ReportId:
                g.reportId = value;
                result.numberedReports = true;
                break;
            case Push:
                if (stack.size() < kMaxPushDepth)
                    stack.push_back(g);
                else
                    ok = false;
                break;
            case Pop:
                if (!stack.empty()) {
                    g = stack.back();
                    stack.pop_back();
                } else {
                    ok = false;
                }
                break;
            default:
                break;
            }
        } else if (type == Main) {
            QMap<quint32, qint64> *bits = nullptr;
            if (tag == Input)
                bits = &inputBits;
            else if (tag == Output)
                bits = &outputBits;
            else if (tag == Feature)
                bits = &featureBits;
            if (bits) {
                qint64 &b = (*bits)[g.reportId];
                // Each factor is capped first so the product cannot overflow.
                const qint64 size = std::min<qint64>(g.reportSize, kFactorLimit);
                const qint64 count = std::min<qint64>(g.reportCount, kFactorLimit);
                b = std::min(kBitLimit, b + size * count);
            }
        }
    }

    result.valid = ok;
    result.inputReportLength = lengthOf(inputBits);
    result.outputReportLength = lengthOf(outputBits);
    result.featureReportLength = lengthOf(featureBits);
    return result;
}
