#include "exchange/CatalogueWriter.h"

#include "app/KillPoint.h"
#include "catalogue/ModelRecords.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace CatalogueWriter {

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

bool run(QSqlQuery &q, const QString &sql, const QVariantList &values, QString *error)
{
    q.prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (q.exec())
        return true;
    return fail(error, q.lastError().text());
}

Transaction::~Transaction()
{
    if (m_open)
        m_db.rollback();
}

bool Transaction::begin(QString *error)
{
    if (!m_db.transaction())
        return fail(error, m_db.lastError().text());
    m_open = true;
    return true;
}

bool Transaction::commit(QString *error)
{
    if (!m_db.commit()) {
        const QString why = m_db.lastError().text();
        m_db.rollback();
        m_open = false;
        return fail(error, why);
    }
    m_open = false;
    return true;
}

QString freeRcid(QSqlDatabase db, QString *error)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString candidate = ModelRecords::newRcid();
        QSqlQuery q(db);
        if (!run(q, QStringLiteral("SELECT 1 FROM rcmodels WHERE Rcid=? OR Link=?"), {candidate, candidate}, error))
            return QString();
        if (!q.next())
            return candidate;
    }
    fail(error, QStringLiteral("no free model identity was found"));
    return QString();
}

bool writeKey(QSqlDatabase db, const QString &rcid, int typeId, int nkey, const QString &name, const QString &id,
              QString *error)
{
    QSqlQuery q(db);
    return run(q, QStringLiteral("DELETE FROM rckeys WHERE Rcid=? AND RCTypeId=? AND Nkey=?"), {rcid, typeId, nkey},
               error)
        && run(q, QStringLiteral("INSERT INTO rckeys(Rcid,Name,ID,RCTypeId,Nkey) VALUES(?,?,?,?,?)"),
               {rcid, name, id, typeId, nkey}, error);
}

static bool insertMaster(QSqlDatabase db, const QString &brand, const QString &type, const QString &model,
                  const QString &documentation, QString *rcid, QString *error)
{
    const QString id = freeRcid(db, error);
    if (id.isEmpty())
        return false;
    QSqlQuery q(db);
    // Documentation and Correction are empty texts, never NULL: a file
    // without documentation still holds an (empty) one.
    if (!run(q,
             QStringLiteral("INSERT INTO rcmodels(Rcid,Link,Brand,Type,Model,Documentation,Correction,Own) "
                            "VALUES(?,?,?,?,?,?,'',1)"),
             {id, id, brand, type, model, documentation.isNull() ? QStringLiteral("") : documentation}, error))
        return false;
    *rcid = id;
    return true;
}

bool writeNewMaster(QSqlDatabase db, const ImportedRemote &remote, QString *rcid, QString *error, PhotosFirst *photos)
{
    Transaction transaction(db);
    QString id;
    if (!transaction.begin(error)
        || !insertMaster(db, remote.brand, remote.type, remote.model, remote.documentation, &id, error))
        return false;
    // The catalogue keeps one key per number, the later one: only that one
    // is written, so a file of millions of keys on a few numbers costs a
    // few statements.
    QHash<int, qsizetype> last;
    for (qsizetype i = 0; i < remote.keys.size(); ++i)
        last.insert(remote.keys.at(i).nkey, i);
    for (qsizetype i = 0; i < remote.keys.size(); ++i) {
        const ImportedRemote::Key &key = remote.keys.at(i);
        if (last.value(key.nkey) == i && !writeKey(db, id, remote.typeId, key.nkey, key.name, key.id, error))
            return false;
    }
    if (photos)
        photos->copy(id);
    if (!transaction.commit(error)) {
        if (photos)
            photos->undo();
        return false;
    }
    killPoint("import-committed");
    *rcid = id;
    return true;
}

} // namespace CatalogueWriter
