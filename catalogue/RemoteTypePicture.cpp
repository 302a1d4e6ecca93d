#include "catalogue/RemoteTypePicture.h"

#include "catalogue/CatalogueRead.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

namespace {

// Type ids and customers are numbers in the catalogue; binding one that is not
// a number (an empty selection) names no rows.
QVariant number(const QString &text)
{
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    return ok ? QVariant(v) : QVariant();
}

QList<int> keyNumbers(QSqlQuery &q, QString *error)
{
    QList<int> keys;
    q.exec(); // a failed statement is reported by each()
    // Marks for some of the keys would say the others are missing.
    if (!CatalogueRead::each(q, [&](const QSqlQuery &row) {
            bool ok = false;
            const int n = row.value(0).toInt(&ok);
            if (ok)
                keys.append(n);
        }, error))
        return {};
    return keys;
}

} // namespace

QString RemoteTypePicture::fileName(const QString &customer, const QString &typeId)
{
    return QStringLiteral("images/") + customer + QLatin1Char('-') + typeId + QStringLiteral(".png");
}

QString RemoteTypePicture::chooseCustomer(QSqlDatabase db, const QString &customerId,
                                          const QString &defaultCustomerId, const QString &typeId,
                                          const QString &baseDir)
{
    QString customer;
    const QVariant type = number(typeId), from = number(customerId);
    if (!type.isNull() && !from.isNull()) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT CustomerIdTo FROM rccustomers WHERE(RCTypeId=? and CustomerIdFrom=?)"));
        q.addBindValue(type);
        q.addBindValue(from);
        if (q.exec() && q.next())
            customer = q.value(0).toString();
    }
    const QString path = fileName(customer, typeId);
    if (!QFileInfo::exists(baseDir.isEmpty() ? path : QDir(baseDir).filePath(path)))
        customer = defaultCustomerId;
    return customer;
}

QString RemoteTypePicture::memoKey(const QString &customerId, const QString &typeId)
{
    return customerId + QLatin1Char('-') + typeId;
}

QString RemoteTypePicture::customerFor(QMap<QString, QString> &memo, QSqlDatabase db, const QString &customerId,
                                       const QString &defaultCustomerId, const QString &typeId,
                                       const QString &baseDir)
{
    const QString key = memoKey(customerId, typeId);
    const auto it = memo.constFind(key);
    if (it != memo.constEnd())
        return it.value();
    const QString customer = chooseCustomer(db, customerId, defaultCustomerId, typeId, baseDir);
    memo.insert(key, customer);
    return customer;
}

QList<int> RemoteTypePicture::modelKeys(QSqlDatabase db, const QString &link, const QString &typeId, QString *error)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT Nkey FROM rckeys WHERE(Rcid=? AND RCTypeId=?)"));
    q.addBindValue(link);
    q.addBindValue(number(typeId));
    return keyNumbers(q, error);
}

bool RemoteTypePicture::modelHasKey(QSqlDatabase db, const QString &link, int typeId, int n)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT 1 FROM rckeys WHERE(Rcid=?)AND(Nkey=?)AND(RCTypeId=?) LIMIT 1"));
    q.addBindValue(link);
    q.addBindValue(n);
    q.addBindValue(typeId);
    return q.exec() && q.next();
}
