// The piecewise .qm lookup the language menu uses on every file in
// Languages/: any bytes, looked up for the name and for another message,
// read only within the file.
#include "app/TranslationLookup.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const TranslationLookup::ReadAt readAt = [&](qint64 offset, char *into, qint64 length) {
        if (offset < 0 || length < 0 || quint64(offset) + quint64(length) > size)
            std::abort(); // the lookup asked past the end it was told
        std::memcpy(into, data + offset, size_t(length));
        return true;
    };
    QString text;
    TranslationLookup::find(readAt, qint64(size), "MainWindowImpl", "LanguageName", &text);
    TranslationLookup::find(readAt, qint64(size), "Other", "LanguageName", &text);
    TranslationLookup::find(readAt, qint64(size), "MainWindowImpl", "Help", &text);
    return 0;
}
