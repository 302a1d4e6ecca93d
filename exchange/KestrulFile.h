#pragma once

#include "exchange/ImportedRemote.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>

// The KESTRUL text file: a tag line, header lines "name=value" with type,
// brand and model, then one line per key "n,name=code numbers" in the
// format's own key numbering and codes. Read as Latin-1; every key goes to
// remote type 5.
class KestrulFile
{
    Q_DECLARE_TR_FUNCTIONS(KestrulFile)

public:
    static constexpr int RemoteType = 5;

    // False when the first line is not the KESTRUL tag, or the brand, type,
    // model or a key's name is longer than ImportValues allows. Key lines
    // that cannot be taken are skipped and counted in one line of
    // remote->log.
    static bool parse(const QByteArray &bytes, ImportedRemote *remote, QString *error);

    // Key number of remote type 5 for the format's key n; -1 outside 0..85.
    static int keyNumber(int n);

    // The key code for a foreign code and its numbers: the four-character
    // prefix and the bits. False when the code is not known or has fewer
    // numbers than its rule reads.
    static bool codeBits(const QString &code, const QList<quint32> &numbers, QString *prefix, QString *bits);
};
