#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A remote read from one of the import-only formats, checked and ready to
// become a new own link master with its keys of one remote type.
struct ImportedRemote
{
    struct Key
    {
        QString name, id;
        int nkey = 0;
    };

    QString brand, type, model, documentation;
    int typeId = 0;
    QList<Key> keys; // in file order; a later key of the same number wins
    QStringList log; // lines skipped and why
};
