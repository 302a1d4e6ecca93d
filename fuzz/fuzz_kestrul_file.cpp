// Arbitrary bytes as a KESTRUL text file, through the key codes it builds.
#include "exchange/KestrulFile.h"

#include <QtGlobal>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    static const bool quiet = (qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {}),
                               true);
    (void)quiet;
    ImportedRemote remote;
    QString error;
    if (KestrulFile::parse(QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(size)), &remote, &error)) {
        for (const ImportedRemote::Key &key : remote.keys)
            if (key.nkey < 0 || key.nkey > 127 || key.id.size() < 4)
                __builtin_trap();
    }
    return 0;
}
