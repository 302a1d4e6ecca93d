// libFuzzer target: the slot image builders (the older full key image too) and
// the slot overview. The input
// is read as Latin-1 lines "number<TAB>code" (keys as the catalogue could hold
// them; the first byte also picks the remote type and the texts), and its raw
// bytes as an information block and slot headers. The images must keep their
// sizes; the second-generation image is "FALSE" or whole hex bytes.
#include "programming/KeyImage.h"
#include "programming/Remote1SlotImage.h"
#include "programming/Remote2SlotImage.h"
#include "programming/SlotOverview.h"

#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

bool hexBytes(const QString &text)
{
    if (text.size() % 2)
        return false;
    for (QChar c : text)
        if (!c.isDigit() && (c < QLatin1Char('A') || c > QLatin1Char('F')))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool installed = (qInstallMessageHandler(quiet), true);
    (void)installed;
    if (size == 0)
        return 0;
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), int(size));
    const int type = data[0] % 8;

    QList<KeyImage::Key> keys;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const int tab = line.indexOf(QLatin1Char('\t'));
        if (tab > 0)
            keys.append({line.mid(tab + 1), QVariant(line.left(tab))});
    }

    // The older full image: "FALSE" in front or not, always both protocols and every record.
    const KeyImage::Result legacy = KeyImage::build(keys);
    if (legacy.image.size() - (legacy.valid ? 0 : 5) != 6 + KeyImage::RecordCount * KeyImage::RecordChars &&
        !(legacy.image.size() == 5 + KeyImage::RecordCount * KeyImage::RecordChars && !legacy.valid))
        std::abort();

    const KeyImage::Result part = Remote1SlotImage::buildKeys(keys, type);
    // "FALSE", then both protocols (none when no key has a place), then the body.
    const int protocols = part.image.size() - (part.valid ? 0 : 5) - Remote1SlotImage::BodyChars;
    if (protocols != 6 && !(protocols == 0 && !part.valid))
        std::abort();
    const QString third = text.mid(1, 70);
    if (Remote1SlotImage::header(QDateTime(QDate(2026, 1, 1), QTime(0, 0)), text.left(40), third, text).size() !=
        Remote1SlotImage::HeaderChars)
        std::abort();

    // Without a catalogue the code blobs are missing: everything before the
    // look-up still runs on the keys.
    Remote2SlotImage::Inputs in;
    in.keys = keys;
    in.typeId = type;
    in.brand = text.left(300);
    in.correction = (data[0] % 50) - 25;
    in.prot = data[0] % 3;
    const auto r = Remote2SlotImage::build(QSqlDatabase(), in);
    if (r.image != QLatin1String("FALSE") && !hexBytes(r.image))
        std::abort();
    (void)Remote2SlotImage::correctedTime(int(size) * 97, in.correction);

    DeviceInfo info;
    SlotHeaderPages pages{};
    QList<QByteArray> headers;
    for (size_t i = 0; i < size; ++i) {
        info.entries[i % DeviceInfo::kSize] = data[i];
        pages[i % pages.size()] = data[i];
    }
    for (size_t at = 0; at < size; at += 128)
        headers.append(QByteArray(reinterpret_cast<const char *>(data + at), int(qMin<size_t>(128, size - at))));
    if (SlotOverview::remote1(info, headers).boxes.size() != SlotOverview::Boxes ||
        SlotOverview::remote2(info, pages).boxes.size() != SlotOverview::Boxes)
        std::abort();
    return 0;
}
