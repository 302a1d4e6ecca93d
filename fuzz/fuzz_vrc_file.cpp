// Arbitrary bytes as a VRC remote file.
#include "exchange/VrcFile.h"

#include <QtGlobal>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    static const bool quiet = (qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {}),
                               true);
    (void)quiet;
    ImportedRemote remote;
    QString error;
    if (VrcFile::parse(QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(size)), &remote, &error)) {
        for (const ImportedRemote::Key &key : remote.keys)
            if (key.nkey < 0 || key.nkey > 127 || key.id.isEmpty())
                __builtin_trap();
    }
    return 0;
}
