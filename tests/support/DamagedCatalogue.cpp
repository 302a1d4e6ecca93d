#include "DamagedCatalogue.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace DamagedCatalogue {

namespace {

qint64 pragma(QSqlDatabase db, const char *name)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA %1").arg(QLatin1String(name))) || !q.next())
        return -1;
    return q.value(0).toLongLong();
}

} // namespace

bool addKeys(QSqlDatabase db, const QString &link, int typeId, Damage damage, int count)
{
    const qint64 pagesBefore = pragma(db, "page_count");
    if (pagesBefore < 0 || !db.transaction()) {
        qWarning("damaged catalogue: %s", qPrintable(db.lastError().text()));
        return false;
    }
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO rckeys (Rcid,RCTypeId,Name,ID,Nkey) VALUES (?,?,?,?,?)"));
    for (int i = 0; i < count; ++i) {
        insert.addBindValue(link);
        insert.addBindValue(typeId);
        insert.addBindValue(QStringLiteral("Key %1").arg(i));
        insert.addBindValue(QStringLiteral("0013%1").arg(i, 60, 16, QLatin1Char('A')));
        insert.addBindValue(i % 112);
        if (!insert.exec()) {
            qWarning("damaged catalogue: %s", qPrintable(insert.lastError().text()));
            db.rollback();
            return false;
        }
    }
    insert.finish();
    if (!db.commit())
        return false;
    const qint64 pagesAfter = pragma(db, "page_count");
    const qint64 pageSize = pragma(db, "page_size");
    if (pagesAfter - pagesBefore < 8 || pageSize <= 0) {
        qWarning("damaged catalogue: the keys took only %lld pages", pagesAfter - pagesBefore);
        return false;
    }
    if (damage == Damage::None)
        return true;
    const QString path = db.databaseName();
    db.close();

    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        qWarning("damaged catalogue: %s", qPrintable(file.errorString()));
        return false;
    }
    // Pages are numbered from 1. The middle third of the new pages holds
    // leaves of the table and of its index alike, so reads through either
    // meet the damage after the first rows.
    const qint64 added = pagesAfter - pagesBefore;
    const qint64 firstDamaged = pagesBefore + 1 + added / 3;
    QRandomGenerator random(20261211);
    QByteArray noise(int(added / 3 * pageSize), '\0');
    for (char &c : noise)
        c = char(random.bounded(256));
    const bool written = file.seek((firstDamaged - 1) * pageSize) && file.write(noise) == noise.size();
    file.close();
    if (!written || !db.open()) {
        qWarning("damaged catalogue: the damage could not be written");
        return false;
    }
    return true;
}

} // namespace DamagedCatalogue
