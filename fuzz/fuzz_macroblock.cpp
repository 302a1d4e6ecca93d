// libFuzzer target: the macro page reader. The first eight bytes are the
// macro key codes of the information block, the next 128 the page (missing
// bytes read as 0xFF). Whatever is read must encode to a page that reads back
// the same; the macro-name splitter gets the raw bytes as Latin-1 text.
#include "programming/MacroBlock.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

DeviceInfo infoOf(const uint8_t *keys, const uint8_t *page, size_t pageSize)
{
    DeviceInfo info;
    info.entries[29] = 1;
    for (int m = 0; m < MacroBlock::kMacroCount; ++m)
        info.entries[size_t(48 + m)] = keys[m];
    for (int i = 0; i < MacroBlock::kBytes; ++i)
        info.entries[size_t(256 + i)] = size_t(i) < pageSize ? page[i] : 0xFF;
    return info;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    uint8_t keys[MacroBlock::kMacroCount] = {};
    for (size_t m = 0; m < sizeof keys && m < size; ++m)
        keys[m] = data[m];
    const size_t offset = size < sizeof keys ? size : sizeof keys;
    const DeviceInfo info = infoOf(keys, data + offset, size - offset);

    const QList<MacroRecord> macros = MacroBlock::read(info);
    const QString text = MacroBlock::encode(macros);
    if (MacroBlock::fits(text)) {
        const QByteArray again = QByteArray::fromHex(MacroBlock::padded(text).toLatin1());
        const QList<MacroRecord> back =
            MacroBlock::read(infoOf(keys, reinterpret_cast<const uint8_t *>(again.constData()), size_t(again.size())));
        if (back.size() != macros.size())
            std::abort();
        for (int i = 0; i < macros.size(); ++i) {
            if (back[i].number != macros[i].number || back[i].steps != macros[i].steps)
                std::abort();
        }
    }
    (void)MacroBlock::names(QString::fromLatin1(reinterpret_cast<const char *>(data), int(size)));
    return 0;
}
