#pragma once

#include "catalogue/KeyPositionTable.h"
#include "tools/samplekit/SampleSignals.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Writes an invented sample working directory: the catalogue "rc.db", a
// "config.ini" and the folders the program expects. Deterministic: the same
// options always give the same files. Tests use createSchema() for fixture
// catalogues of their own.
class SampleKit
{
public:
    struct Options
    {
        int models = 40;       // models in the catalogue (the sample set is ~40)
        quint32 seed = 20261210;
        int keyedMasterEvery = 1; // only every n-th master gets keys (large catalogues stay small on disk)
        int keysPerModel = 0;     // > 0: each keyed master gets about this many keys, no master gets all
    };

    // The CREATE TABLE statements of the catalogue, in table order.
    static QStringList schemaStatements();
    // Creates every catalogue table on db; false with error set on failure.
    static bool createSchema(QSqlDatabase db, QString *error = nullptr);

    // Writes the whole working directory at dir (created when missing).
    static bool writeWorkingDirectory(const QString &dir, const Options &options, QString *error = nullptr);
    // Copies every file below from (the languages, their flags and help
    // pages) into dir's "Languages/", keeping the folders; false with error
    // set when from holds no file or any file cannot be read or written.
    static bool writeLanguages(const QString &dir, const QString &from, QString *error = nullptr);

    // A keyed link master and the remote it stands for: its protocol and
    // address, and how many normal-layer keys it has on the first type (keys
    // 0 up to that count, sending sampleCommand(n, false)).
    struct SampleRemote
    {
        QString rcid;
        SampleSignals::Kind kind;
        int address;
        int firstTypeKeys;
    };

    // Fills an empty catalogue (schema already created) with the sample rows;
    // remotes, when given, receives the keyed masters in catalogue order.
    static bool fillCatalogue(QSqlDatabase db, const Options &options, QString *error = nullptr,
                              QList<SampleRemote> *remotes = nullptr);

    // The command a sample remote sends for key n of the normal layer or of
    // the shift layer; the same on every remote type.
    static int sampleCommand(int n, bool shift);
    // The key code the program shows for a press of that key: the press (of
    // `frames` frames; 0: the protocol's usual count) is rendered from the
    // protocol's timings and run through the recogniser and resolver. Empty,
    // with error set, when they do not resolve it.
    static QString sampleKeyCode(SampleSignals::Kind kind, int address, int command, QString *error = nullptr,
                                 int frames = 0);
    // The protocol numbers the sample codes carry, each once, in the order
    // of the sample protocols; empty, with error set, when one does not resolve.
    static QList<int> protocolNumbers(QString *error = nullptr);

    // Remote types of the sample catalogue: id, name, number of normal keys.
    struct RemoteType
    {
        int id;
        const char *name;
        int keyCount;
    };
    static QList<RemoteType> remoteTypes();
    // Nominal picture position of normal-layer key n of a type (582 x 2261 units).
    static void keyPosition(int typeId, int n, int *x, int *y);
    static int shiftOffset(int typeId) { return KeyPositionTable::shiftLayerOffset(typeId); }
    // Name of normal-layer key n in the sample catalogue (also its picture label).
    static QByteArray keyName(int n);
    static QString customerId() { return QStringLiteral("4"); }
    // Normal-layer key number that stands for key-search position 1..20 on
    // every sample type that has that key; -1 when no sample key has its name.
    static int searchPositionKey(int order);
    // The conversions between sample types and their key maps.
    static bool fillConversions(QSqlDatabase db, QString *error = nullptr);

    // Key sheets. The sample customer has templates and a legend order of its
    // own for ownPrintTypes(); every type has the shared order of customer
    // "0", and type printVariantType() a shared template for the variant
    // printVariant(), which one sample model asks for in its documentation.
    static QList<int> ownPrintTypes() { return {1, 2}; }
    static QString printVariant() { return QStringLiteral("compact"); }
    static int printVariantType() { return 3; }
    // Legend place of key number nkey on a customer's sheet; -1 when that
    // customer's sheet does not print the key.
    static int printOrder(int typeId, const QString &customer, int nkey);
};
