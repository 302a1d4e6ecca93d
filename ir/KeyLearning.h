#pragma once

#include <QSqlDatabase>
#include <QString>

// The catalogue side of learning a received key code into a key of the
// selected model. Keys are stored under the model's link master, so the
// master's Own decides whether they may change. Every statement binds its
// values; results are checked and returned for the window to report.
namespace KeyLearning {

struct StoredKey
{
    bool ok = true;      // false: the look-up failed (error says why)
    bool exists = false; // the model has a row for the key
    QString id;          // its key code
    QString error;
};

// The key row of key number nkey of the remote type under the link master.
StoredKey findKey(QSqlDatabase db, const QString &link, const QString &typeId, int nkey);

enum class Status {
    Inserted, // a new key row was written
    Replaced, // the key's code was replaced
    Refused,  // factory keys, no such master, no code or no key number: nothing written
    Failed,   // the database refused; nothing written (error says why)
};
struct Result
{
    Status status = Status::Failed;
    QString error;
};

// Stores the code for key nkey (0..127) of the remote type under the link
// master, as a new row or over the code of the existing one, and marks the
// selected model rcid changed (Flag 0); all or nothing.
Result storeCode(QSqlDatabase db, const QString &rcid, const QString &link, const QString &typeId, int nkey,
                 const QString &code);

} // namespace KeyLearning
