// libFuzzer target: the request worker's write plans. The first bytes pick the
// page and report sizes, slot and capacity; the rest is the payload text as
// the window would post it. A plan that is not refused must carry exactly the
// payload's bytes in its data reports, padded as the device expects. The text
// also goes through the key's frame builder (split into a key code and a code
// blob), whose frame must be whole reports of upper-case hex.
#include "ir/TransmitFrame.h"
#include "usb/DeviceWritePlan.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QByteArray dataOf(const DeviceWritePlan::Plan &plan)
{
    QByteArray out;
    for (const DeviceWritePlan::Step &step : plan.steps) {
        if (step.kind == DeviceWritePlan::Step::Data)
            out += step.bytes;
    }
    return out;
}

void checkImage(const DeviceWritePlan::Plan &plan, const QString &text)
{
    if (plan.refused())
        return;
    if (!DeviceWritePlan::hexProblem(text).isEmpty())
        std::abort(); // a payload that is no hex text is never sent
    const QByteArray bytes = QByteArray::fromHex(text.toLatin1());
    const QByteArray sent = dataOf(plan);
    if (!sent.startsWith(bytes))
        std::abort();
}

// A count byte (the frame's reports, the slot's pages) says exactly what
// follows: never a count cut to a byte.
void checkCounts(const DeviceWritePlan::Plan &plan)
{
    if (plan.refused())
        return;
    const QList<DeviceWritePlan::Step> &steps = plan.steps;
    for (int i = 0; i < steps.size(); ++i) {
        const DeviceWritePlan::Step &step = steps.at(i);
        if (step.kind != DeviceWritePlan::Step::Command || step.bytes.isEmpty())
            continue;
        const quint8 command = quint8(step.bytes.at(0));
        int announced = -1;
        int groupReports = 1; // data reports per announced unit
        if (command == 0x99 && step.bytes.size() >= 2) {
            announced = quint8(step.bytes.at(1));
        } else if (command == 0xA5 && step.bytes.size() >= 3) {
            announced = quint8(step.bytes.at(2));
            groupReports = 0; // pages: counted by the pauses after them
        }
        if (announced < 0)
            continue;
        int reports = 0, pauses = 0;
        for (int j = i + 1; j < steps.size() && steps.at(j).kind != DeviceWritePlan::Step::Command; ++j) {
            reports += steps.at(j).kind == DeviceWritePlan::Step::Data;
            pauses += steps.at(j).kind == DeviceWritePlan::Step::Sleep;
        }
        if ((groupReports == 1 && reports != announced) || (groupReports == 0 && pauses != announced))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 6)
        return 0;
    const int pageSize = data[0];
    const int reportSize = data[1] % 65;
    const int slot = data[2] % 12;
    const int capacity = data[3];
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data + 6), int(size - 6));

    // Byte reads never leave the text, whatever index is asked.
    const int count = data[4] % 80;
    const int first = data[5];
    if (DeviceWritePlan::hexBytes(text, first, count).size() != count)
        std::abort();
    (void)DeviceWritePlan::hexByte(text, first);

    const DeviceWritePlan::Plan frame = DeviceWritePlan::transmitFrame(text);
    for (const DeviceWritePlan::Step &step : frame.steps) {
        if (step.kind == DeviceWritePlan::Step::Data && step.bytes.size() != 8)
            std::abort();
    }
    checkCounts(frame);

    const int split = data[4] % (text.size() + 1);
    const QString code = text.left(split);
    const QString blob = text.mid(split);
    const QString keyFrame = TransmitFrame::build(code, blob);
    const int bytes = TransmitFrame::frameBytes(code, blob);
    if (bytes % 8 != 0 || keyFrame.size() != 2 * bytes || !DeviceWritePlan::hexProblem(keyFrame).isEmpty()
        || keyFrame != keyFrame.toUpper())
        std::abort();
    // A frame is sent whole, or refused when its count byte cannot say how long it is.
    const DeviceWritePlan::Plan keyPlan = DeviceWritePlan::transmitFrame(keyFrame);
    if (keyPlan.refused() != (bytes / 8 > DeviceWritePlan::kMaxCount)
        || (!keyPlan.refused() && keyPlan.steps.size() != 1 + bytes / 8))
        std::abort();

    checkImage(DeviceWritePlan::remote1SlotWrite(pageSize, reportSize, 3, 130, text), text);
    (void)DeviceWritePlan::remote1SlotClear(pageSize, reportSize, 3, 10);
    const DeviceWritePlan::Plan slotPlan = DeviceWritePlan::remote2SlotWrite(pageSize, reportSize, slot, capacity, text, 0);
    checkImage(slotPlan, text);
    checkCounts(slotPlan);
    checkImage(DeviceWritePlan::remote2MacroWrite(reportSize, text, 0), text);
    return 0;
}
