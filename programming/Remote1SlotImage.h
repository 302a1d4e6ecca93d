#pragma once

#include "programming/KeyImage.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The slot image of the first-generation remote: a 128-byte header (date,
// brand, type, model), 128 key records of 7 bytes, then the code blobs of the
// two protocols from "usbprotocols". Built as upper-case hex text.
class Remote1SlotImage
{
public:
    static constexpr int Records = 128;
    static constexpr int BodyChars = Records * KeyImage::RecordChars; // 1792
    static constexpr int HeaderChars = 256;
    static constexpr int SlotChars = 4096; // two halves of 1024 bytes
    static constexpr int TextRoom = 55;    // header bytes 6..63 less the three length bytes

    using Key = KeyImage::Key;

    // The record of key number nkey on a remote type, or -1 when the number
    // has no record there (or is no whole number).
    static int recordIndex(int typeId, const QVariant &nkey);

    // The key part: p1 and p2 (three digits each) and the 128 records, with
    // "FALSE" in front when the keys cannot be written (no key, or a third
    // protocol). Keys whose number has no record or whose code is not a key
    // code are left out and listed in skipped.
    static KeyImage::Result buildKeys(const QList<Key> &keys, int typeId);

    // Brand, type and model as the header stores them: Latin-1 bytes, cut to
    // TextRoom bytes together (the model first, then the type, then the brand).
    struct Texts
    {
        QByteArray brand, type, model;
    };
    static Texts fitTexts(const QString &brand, const QString &type, const QString &model);

    // The 128-byte header as 256 hex digits.
    static QString header(const QDateTime &now, const QString &brand, const QString &type, const QString &model);

    struct Inputs
    {
        QString brand, type, model;
        int deviceId = 0;
        int nPult = 0; // 0-based slot; its protocol codes have slot codes 2n and 2n + 1
        QDateTime now; // the date and time the header records
    };

    enum class Status {
        Ok,
        KeysRefused,    // no key, or more than two protocols
        CodeMissing,    // no "usbprotocols" row for a protocol and slot code
        CodeDamaged,    // a code blob that is not whole hex bytes
        TooLarge,       // the code blobs do not fit the slot's second half
        ReadFailed,     // the keys could not be read whole from the catalogue
    };

    struct Result
    {
        Status status = Status::KeysRefused;
        QString image;     // the whole image when status is Ok
        QStringList log;   // lines for the log: skipped keys, the reason of a refusal
    };

    // The whole image from a key part that buildKeys accepted (no "FALSE"):
    // the header, the records and the two code blobs of the slot.
    static Result complete(QSqlDatabase db, const QString &keyPart, const Inputs &in);

    // The keys of (link, type) as the database returns them, as buildKeys
    // takes them. When they cannot be read whole: an empty, invalid part, a
    // log line in *log and the database's reason in *readError.
    static KeyImage::Result keysOf(QSqlDatabase db, const QString &link, int typeId, QStringList *log,
                                   QString *readError = nullptr);

    // keysOf and complete in one: the image of a link master's keys.
    static Result build(QSqlDatabase db, const QString &link, int typeId, const Inputs &in);
};
