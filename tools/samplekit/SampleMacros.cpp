#include "tools/samplekit/SampleMacros.h"

#include "tools/samplekit/SampleKit.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace SampleMacros {

namespace {

bool run(QSqlQuery &q, QString *error)
{
    if (q.exec())
        return true;
    if (error)
        *error = q.lastError().text();
    return false;
}

} // namespace

bool fill(QSqlDatabase db, QString *error)
{
    QSqlQuery key(db);
    key.prepare(QStringLiteral("INSERT INTO rctypemacro (RCTypeId, Nkey, Name, SortOrder) VALUES (?,?,?,?)"));
    for (const SampleKit::RemoteType &t : SampleKit::remoteTypes()) {
        const int count = std::min(t.keyCount, kKeysPerType);
        for (int n = 0; n < count; ++n) {
            key.addBindValue(t.id);
            key.addBindValue(n);
            // Every seventh key has no name of its own: the editor shows its number.
            key.addBindValue(n % 7 == 5 ? QString() : QString::fromLatin1(SampleKit::keyName(n)));
            // The power key heads the list, the others follow in key order.
            key.addBindValue(n == 0 ? 0 : n + 10);
            if (!run(key, error))
                return false;
        }
    }

    QSqlQuery name(db);
    name.prepare(QStringLiteral("INSERT INTO rcconfig (Key, ID, Value) VALUES ('macro', ?, ?)"));
    const QList<QPair<int, QString>> sets = {
        {kNameSetId, QStringLiteral("Watch TV;Movie night;Radio;Good night;")},
        {kNameSetId + 1, QStringLiteral("Kitchen;Garage;")},
    };
    for (const auto &set : sets) {
        name.addBindValue(set.first);
        name.addBindValue(set.second);
        if (!run(name, error))
            return false;
    }
    return true;
}

} // namespace SampleMacros
