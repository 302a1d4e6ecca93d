#include "CatalogueFixture.h"

#include <QSqlError>
#include <QSqlQuery>

namespace CatalogueFixture {

namespace {
bool run(QSqlQuery &q, const QString &sql, const QVariantList &values)
{
    if (!q.prepare(sql)) {
        qWarning("fixture prepare: %s in %s", qPrintable(q.lastError().text()), qPrintable(sql));
        return false;
    }
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec()) {
        qWarning("fixture exec: %s in %s", qPrintable(q.lastError().text()), qPrintable(sql));
        return false;
    }
    return true;
}
} // namespace

bool addModel(QSqlDatabase db, const Model &m)
{
    QSqlQuery q(db);
    return run(q,
               QStringLiteral("INSERT INTO rcmodels (Rcid,Brand,Type,Model,Documentation,Link,Author,Correction,Own,"
                              "Hidden,Flag,Hidden1,Prot) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"),
               {m.rcid, m.brand, m.type, m.model, m.documentation, m.link.isValid() ? m.link : m.rcid, m.author,
                m.correction, m.own, m.hidden, m.flag, m.hidden1, m.prot});
}

bool addKey(QSqlDatabase db, const Key &k)
{
    QSqlQuery q(db);
    return run(q, QStringLiteral("INSERT INTO rckeys (Rcid,RCTypeId,Name,ID,Nkey) VALUES (?,?,?,?,?)"),
               {k.rcid, k.typeId, k.name, k.id, k.nkey});
}

bool exec(QSqlDatabase db, const QString &sql)
{
    QSqlQuery q(db);
    return run(q, sql, {});
}

QStringList column(QSqlDatabase db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q(db);
    QStringList out;
    if (!run(q, sql, values))
        return out;
    while (q.next())
        out << (q.value(0).isNull() ? QStringLiteral("<null>") : q.value(0).toString());
    return out;
}

QVariant value(QSqlDatabase db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q(db);
    if (!run(q, sql, values) || !q.next())
        return QVariant();
    return q.value(0);
}

} // namespace CatalogueFixture
