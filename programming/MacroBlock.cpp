#include "programming/MacroBlock.h"

#include "programming/SlotNames.h"

namespace {

constexpr int kEnd = 0xFF;
constexpr int kRecordMark = 0x07;
constexpr int kStepBytes = 4;

int byteAt(const MacroBlock::Bytes &block, int i)
{
    return block[static_cast<size_t>(i)] & 0xFF;
}

void appendHex(QString &out, int value)
{
    out += QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0'));
}

} // namespace

namespace MacroBlock {

Bytes bytesOf(const DeviceInfo &info)
{
    Bytes out{};
    for (int i = 0; i < kBytes; ++i)
        out[static_cast<size_t>(i)] = info.at(DeviceInfo::kMacroPageOffset + i);
    return out;
}

int keyCodeOf(const DeviceInfo &info, int number)
{
    return number >= 1 && number <= kMacroCount ? info.at(kKeyCodeEntry + number) : 0;
}

int nameSetId(const DeviceInfo &info)
{
    return info.at(27) * 256 + info.at(28);
}

QList<MacroStep> steps(const Bytes &block, int keyCode)
{
    const int wanted = keyCode - kPresent;
    int start = -1;
    for (int s = 0; s < kBytes;) {
        if (byteAt(block, s) == kEnd || s + 2 >= kBytes)
            return {};
        if (byteAt(block, s + 2) == wanted) {
            start = s + 3;
            break;
        }
        s += byteAt(block, s) + 1;
    }
    if (start < 0)
        return {};

    QList<MacroStep> out;
    for (int p = start; p + kStepBytes <= kBytes && byteAt(block, p) != kEnd; p += kStepBytes) {
        out.append({byteAt(block, p), byteAt(block, p + 1), byteAt(block, p + 2) * kTimeUnitMs,
                    byteAt(block, p + 3) * kTimeUnitMs});
    }
    return out;
}

QList<MacroRecord> read(const DeviceInfo &info)
{
    const Bytes block = bytesOf(info);
    QList<MacroRecord> out;
    for (int m = 1; m <= kMacroCount; ++m) {
        const int code = keyCodeOf(info, m);
        if (code >= kPresent)
            out.append({m, code, steps(block, code)});
    }
    return out;
}

QString encode(const QList<MacroRecord> &macros)
{
    QString out;
    for (const MacroRecord &macro : macros) {
        appendHex(out, kStepBytes * int(macro.steps.size()) + 3);
        appendHex(out, kRecordMark);
        appendHex(out, macro.keyCode - kPresent);
        for (const MacroStep &step : macro.steps) {
            appendHex(out, step.switchCode);
            appendHex(out, step.keyCode);
            appendHex(out, step.emitMs / kTimeUnitMs);
            appendHex(out, step.waitMs / kTimeUnitMs);
        }
        appendHex(out, kEnd);
    }
    appendHex(out, kEnd);
    return out.toUpper();
}

QString padded(const QString &text)
{
    return text.size() >= kTextLength ? text : text + QString(kTextLength - text.size(), QLatin1Char('F'));
}

QStringList names(const QString &value)
{
    QStringList out;
    int p = 0;
    while (out.size() < kMacroCount) {
        const int end = value.indexOf(QLatin1Char(';'), p);
        if (end <= p)
            break; // no ";" left, or an empty name
        out.append(value.mid(p, end - p));
        p = end + 1;
    }
    return out;
}

QMap<int, QString> switchNames(int slotCount, const QStringList &captions)
{
    QMap<int, QString> out;
    for (int i = 0; i < kSwitchCount; ++i) {
        const QString caption = i < slotCount ? captions.value(i) : QString();
        out.insert(i, caption.isEmpty() ? SlotNames::ordinal(i) : caption);
    }
    return out;
}

} // namespace MacroBlock
