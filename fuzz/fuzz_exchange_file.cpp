// Arbitrary bytes as a remote-control exchange file: the reader and its
// checks, and the writer on whatever the reader accepted.
#include "exchange/ExchangeFile.h"

#include <QtGlobal>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    static const bool quiet = (qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {}),
                               true);
    (void)quiet;
    const QByteArray file(reinterpret_cast<const char *>(bytes), qsizetype(size));
    ExchangeFile::Document document;
    QString error;
    if (ExchangeFile::read(file, &document, &error)) {
        // What was accepted can be written, as this program writes it (its own
        // version: key numbers, no positions), and read back.
        document.version = QLatin1String(ExchangeFile::ProgramVersion);
        ExchangeFile::Document again;
        if (!ExchangeFile::read(ExchangeFile::write(document), &again, &error))
            __builtin_trap();
    }
    return 0;
}
