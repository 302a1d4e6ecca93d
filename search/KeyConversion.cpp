#include "search/KeyConversion.h"

#include "catalogue/CatalogueRead.h"
#include "catalogue/RemoteTypeQuery.h"

#include <QSqlError>

namespace {

QString placeholders(int n)
{
    QStringList marks;
    for (int i = 0; i < n; ++i)
        marks << QStringLiteral("?");
    return marks.join(QLatin1Char(','));
}

struct Copy
{
    QVariant name, id, nkeyTo;
};

} // namespace

QSqlQuery KeyConversion::offered(const QString &link, const QStringList &configuredTypes, const QSqlDatabase &db)
{
    // The list starts with 0 so that it is never empty, as the catalogue's own
    // conversions expect.
    QVariantList sourceTypes{0};
    QSqlQuery types(db);
    types.prepare(QStringLiteral("SELECT DISTINCT RCTypeId FROM rckeys WHERE rckeys.Rcid=?"));
    types.addBindValue(link);
    types.exec();
    // A part of the model's types would offer too few conversions: the failed
    // query goes back instead, carrying its error.
    if (!CatalogueRead::each(types, [&](const QSqlQuery &row) { sourceTypes << row.value(0); }))
        return types;
    types.finish();

    const QList<int> configured = RemoteTypeQuery::numericIds(configuredTypes);
    QSqlQuery query(db);
    QString sql;
    if (configured.isEmpty()) {
        sql = QStringLiteral("SELECT * FROM rcconvert WHERE 0");
    } else {
        sql = QStringLiteral("SELECT * FROM rcconvert WHERE (RCTypeIdFrom IN (%1)) AND %2 AND %3 ORDER BY RCTypeIdFrom")
                  .arg(placeholders(sourceTypes.size()), RemoteTypeQuery::condition(QStringLiteral("RCTypeIdFrom")),
                       RemoteTypeQuery::condition(QStringLiteral("RCTypeIdTo")));
    }
    if (!query.prepare(sql))
        return query;
    if (!configured.isEmpty()) {
        for (const QVariant &type : sourceTypes)
            query.addBindValue(type);
        const QString enabled = RemoteTypeQuery::idList(configured);
        query.addBindValue(enabled);
        query.addBindValue(enabled);
    }
    query.exec();
    return query;
}

KeyConversion::Result KeyConversion::convert(QSqlDatabase db, const QVariant &link, const QVariant &convertId,
                                             const QVariant &from, const QVariant &to)
{
    Result result;
    if (convertId.toString().isEmpty()) {
        result.status = Status::Nothing;
        return result;
    }
    if (ontoItself(from, to)) {
        result.status = Status::Refused;
        return result;
    }
    if (!db.transaction()) {
        result.error = db.lastError().text();
        return result;
    }
    auto fail = [&](QSqlQuery &q) {
        result.status = Status::Failed;
        result.error = q.lastError().text();
        q.finish();
        db.rollback();
        return result;
    };

    QSqlQuery write(db);
    write.prepare(QStringLiteral("DELETE FROM rckeys WHERE(Rcid=?)AND(RCTypeId=?)"));
    write.addBindValue(link);
    write.addBindValue(to);
    if (!write.exec())
        return fail(write);

    QSqlQuery read(db);
    read.setForwardOnly(true);
    read.prepare(QStringLiteral("SELECT rckeys.Name, rckeys.ID, rcconvertmap.NkeyTo FROM rckeys JOIN rcconvertmap "
                                "WHERE (rckeys.Nkey=rcconvertmap.NkeyFrom) AND (rckeys.Rcid=?) AND "
                                "(rckeys.RCTypeId=?) AND (rcconvertmap.ConvertId=?)"));
    read.addBindValue(link);
    read.addBindValue(from);
    read.addBindValue(convertId);
    if (!read.exec())
        return fail(read);
    // Read whole before writing: the writes change the table being read.
    QList<Copy> copies;
    if (!CatalogueRead::each(read, [&](const QSqlQuery &row) {
            copies.append({row.value(0), row.value(1), row.value(2)});
        }))
        return fail(read);
    read.finish();

    QSqlQuery remove(db);
    remove.prepare(QStringLiteral("DELETE FROM rckeys WHERE(Rcid=?)AND(RCTypeId=?)AND(Nkey=?)"));
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO rckeys(Rcid,RCTypeId,Name,ID,Nkey) VALUES(?,?,?,?,?)"));
    for (const Copy &copy : copies) {
        remove.addBindValue(link);
        remove.addBindValue(to);
        remove.addBindValue(copy.nkeyTo);
        if (!remove.exec())
            return fail(remove);
        insert.addBindValue(link);
        insert.addBindValue(to);
        insert.addBindValue(copy.name);
        insert.addBindValue(copy.id);
        insert.addBindValue(copy.nkeyTo);
        if (!insert.exec())
            return fail(insert);
    }

    QSqlQuery count(db);
    count.prepare(QStringLiteral("SELECT count(*) FROM rckeys WHERE(Rcid=?)AND(RCTypeId=?)"));
    count.addBindValue(link);
    count.addBindValue(to);
    bool counted = false;
    if (!count.exec() || !CatalogueRead::first(count, &counted) || !counted)
        return fail(count);
    result.keys = count.value(0).toInt();
    count.finish();

    if (!db.commit()) {
        result.error = db.lastError().text();
        db.rollback();
        return result;
    }
    result.status = Status::Converted;
    return result;
}
