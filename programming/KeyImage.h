#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <functional>

// The older fixed-size key image of a model: protocol 1 and protocol 2 (three
// digits each), then 112 records of 14 hex digits, two layers of 56 keys.
// A record is "F" (protocol 1) or "E" (any other) and the first 52 bits of the
// key's first code block. An image that is not valid (no key, or a third
// protocol) is still built in full and carries "FALSE" in front.
class KeyImage
{
public:
    static constexpr int LayerKeys = 56;
    static constexpr int RecordCount = 2 * LayerKeys;
    static constexpr int RecordChars = 14;

    struct Key
    {
        QString id;    // the key code text (rckeys.ID)
        QVariant nkey; // the key number as stored (rckeys.Nkey)
    };

    struct Result
    {
        QString image;
        bool valid = false;
        // Keys whose number addresses no record (outside 0..111, or not a
        // whole number) or whose code has only one or two characters: left
        // out of the image, by their place in the input. A key with an empty
        // code keeps its record and counts as the empty protocol.
        QList<int> skipped;
    };

    // The image of keys in the order given; a later key on the same record
    // replaces an earlier one.
    static Result build(const QList<Key> &keys);

    // The same for any layout of recordCount records: recordOf(i) names the
    // record of key i, or -1 to leave the key out (it then takes no part in
    // the protocol pass either and is listed as skipped).
    static Result buildRecords(const QList<Key> &keys, int recordCount, const std::function<int(int)> &recordOf);

    // The record index of a key number: an integer is the index itself, 0..55
    // on the first layer, 56..111 on the second; text of four characters or
    // more is "L-kk...", key kk of layer L ("0-07" is 7, "1-07" and "A-07 "
    // are 63). -1 when it addresses no record.
    static int recordIndex(const QVariant &nkey);

    // The 14 hex digits of one key's record.
    static QString record(const QString &id, bool firstProtocol);

    // The image of the keys stored under a link master, every remote type
    // together, in the order the database returns them. Skipped keys and a
    // failed read are written to the debug output.
    static QString forLink(QSqlDatabase db, const QString &link);

    // The keys stored under a link master for one remote type, in the order
    // the database returns them; false (and *error) when they cannot be read.
    static bool readKeys(QSqlDatabase db, const QString &link, int typeId, QList<Key> *keys, QString *error);
};
