#include "catalogue/CatalogueEdits.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

CatalogueEdits::Result result(CatalogueEdits::Status status, const QString &error = QString())
{
    return {status, error};
}

CatalogueEdits::Result failure(const QSqlQuery &q)
{
    return result(CatalogueEdits::Status::Failed, q.lastError().text());
}

// Written when rcid is an own model, Refused when it is a factory model or
// missing, Failed when it cannot be read.
CatalogueEdits::Result ownership(QSqlDatabase db, const QVariant &rcid)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT Own FROM rcmodels WHERE(Rcid=?)"));
    q.addBindValue(rcid);
    if (!q.exec())
        return failure(q);
    const bool own = q.next() && q.value(0).toInt() == 1;
    return result(own ? CatalogueEdits::Status::Written : CatalogueEdits::Status::Refused);
}

} // namespace

CatalogueEdits::Result CatalogueEdits::updateModelNames(QSqlDatabase db, const QString &rcid, const QString &brand,
                                                        const QString &type, const QString &model)
{
    const QString upperBrand = brand.toUpper();
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT Brand,Type,Model FROM rcmodels WHERE(Rcid=?)"));
    q.addBindValue(rcid);
    if (!q.exec())
        return failure(q);
    if (!q.next())
        return result(Status::NotFound);
    if (q.value(0).toString() == upperBrand && q.value(1).toString() == type && q.value(2).toString() == model)
        return result(Status::Unchanged);
    q.finish();

    QSqlQuery update(db);
    update.prepare(QStringLiteral("UPDATE rcmodels SET Brand=?,Type=?,Model=?,Flag=0 WHERE(Rcid=?)"));
    update.addBindValue(upperBrand);
    update.addBindValue(type);
    update.addBindValue(model);
    update.addBindValue(rcid);
    if (!update.exec())
        return failure(update);
    return result(update.numRowsAffected() > 0 ? Status::Written : Status::NotFound);
}

CatalogueEdits::Result CatalogueEdits::updateKey(QSqlDatabase db, const QVariant &rcid, const QVariant &typeId,
                                                 const QVariant &nkey, const QString &name, const QString &id)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("UPDATE rckeys SET Name=?,ID=? WHERE(Rcid=?)AND(RCTypeId=?)AND(Nkey=?)"));
    q.addBindValue(name);
    q.addBindValue(id);
    q.addBindValue(rcid);
    q.addBindValue(typeId);
    q.addBindValue(nkey);
    if (!q.exec())
        return failure(q);
    return result(q.numRowsAffected() > 0 ? Status::Written : Status::NotFound);
}

bool CatalogueEdits::isOwn(QSqlDatabase db, const QVariant &rcid)
{
    return ownership(db, rcid).status == Status::Written;
}

CatalogueEdits::Result CatalogueEdits::deleteKey(QSqlDatabase db, const QVariant &rcid, const QVariant &nkey,
                                                 const QVariant &typeId)
{
    const Result own = ownership(db, rcid);
    if (own.status != Status::Written)
        return own;

    if (!db.transaction())
        return result(Status::Failed, db.lastError().text());
    // Nothing of the deletion stays when a step fails.
    auto abandon = [&db](const Result &r) {
        db.rollback();
        return r;
    };
    QSqlQuery del(db);
    del.prepare(QStringLiteral("DELETE FROM rckeys WHERE(Rcid=? AND Nkey=? AND RCTypeId=?)"));
    del.addBindValue(rcid);
    del.addBindValue(nkey);
    del.addBindValue(typeId);
    if (!del.exec())
        return abandon(failure(del));
    if (del.numRowsAffected() <= 0)
        return abandon(result(Status::NotFound));
    QSqlQuery flag(db);
    flag.prepare(QStringLiteral("UPDATE rcmodels SET Flag=0 WHERE(Rcid=?)"));
    flag.addBindValue(rcid);
    if (!flag.exec())
        return abandon(failure(flag));
    if (!db.commit())
        return abandon(result(Status::Failed, db.lastError().text()));
    return result(Status::Written);
}
