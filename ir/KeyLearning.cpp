#include "ir/KeyLearning.h"

#include "catalogue/CatalogueEdits.h"
#include "catalogue/KeyPositionTable.h"
#include "ir/SameKeyMarks.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace KeyLearning {

namespace {

Result failed(const QString &error)
{
    return {Status::Failed, error};
}

// Key numbers go into the catalogue as their decimal text, as the key list
// and the picture compare them.
QString keyText(int nkey)
{
    return QString::number(nkey);
}

} // namespace

StoredKey findKey(QSqlDatabase db, const QString &link, const QString &typeId, int nkey)
{
    StoredKey key;
    QSqlQuery q(db);
    if (!q.prepare(QStringLiteral("SELECT ID FROM rckeys WHERE(Rcid=?)AND(Nkey=?)AND(RCTypeId=?)"))) {
        key.ok = false;
        key.error = q.lastError().text();
        return key;
    }
    q.addBindValue(link);
    q.addBindValue(keyText(nkey));
    q.addBindValue(typeId);
    if (!q.exec()) {
        key.ok = false;
        key.error = q.lastError().text();
        return key;
    }
    if (q.next()) {
        key.exists = true;
        key.id = q.value(0).toString();
    }
    return key;
}

Result storeCode(QSqlDatabase db, const QString &rcid, const QString &link, const QString &typeId, int nkey,
                 const QString &code)
{
    if (!SameKeyMarks::isCode(code) || !KeyPositionTable::isKeyNumber(nkey) || link.isEmpty())
        return {Status::Refused, QString()};
    if (!CatalogueEdits::isOwn(db, link))
        return {Status::Refused, QString()};

    const StoredKey existing = findKey(db, link, typeId, nkey);
    if (!existing.ok)
        return failed(existing.error);

    if (!db.transaction())
        return failed(db.lastError().text());
    // Nothing of the change stays when a step fails.
    auto abandon = [&db](const QString &error) {
        db.rollback();
        return failed(error);
    };
    QSqlQuery write(db);
    if (existing.exists) {
        write.prepare(QStringLiteral("UPDATE rckeys SET ID=? WHERE(Rcid=?)AND(Nkey=?)AND(RCTypeId=?)"));
        write.addBindValue(code);
        write.addBindValue(link);
        write.addBindValue(keyText(nkey));
        write.addBindValue(typeId);
    } else {
        write.prepare(QStringLiteral("INSERT INTO rckeys(Rcid,RCTypeId,ID,Nkey) VALUES(?,?,?,?)"));
        write.addBindValue(link);
        write.addBindValue(typeId);
        write.addBindValue(code);
        write.addBindValue(keyText(nkey));
    }
    if (!write.exec())
        return abandon(write.lastError().text());
    if (write.numRowsAffected() <= 0)
        return abandon(QStringLiteral("no key row was written"));
    QSqlQuery flag(db);
    flag.prepare(QStringLiteral("UPDATE rcmodels SET Flag=0 WHERE(Rcid=?)"));
    flag.addBindValue(rcid);
    if (!flag.exec())
        return abandon(flag.lastError().text());
    if (!db.commit())
        return abandon(db.lastError().text());
    return {existing.exists ? Status::Replaced : Status::Inserted, QString()};
}

} // namespace KeyLearning
