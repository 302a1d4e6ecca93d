#pragma once

#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QString>

// Which picture and key layout a remote type is shown with, and which of its
// keys a model has. Pictures are "images/<customer>-<type>.png" below the
// working directory (or below baseDir when one is given).
class RemoteTypePicture
{
public:
    static QString fileName(const QString &customer, const QString &typeId);

    // The customer whose picture and positions this installation uses for the
    // type: rccustomers maps the installation's customer; a customer without a
    // picture file (also an empty one) falls back to defaultCustomerId.
    static QString chooseCustomer(QSqlDatabase db, const QString &customerId, const QString &defaultCustomerId,
                                  const QString &typeId, const QString &baseDir = QString());

    // The same through a memo keyed customerId + "-" + typeId: the look-up and
    // the file check run once per pair for the life of the memo.
    static QString memoKey(const QString &customerId, const QString &typeId);
    static QString customerFor(QMap<QString, QString> &memo, QSqlDatabase db, const QString &customerId,
                               const QString &defaultCustomerId, const QString &typeId,
                               const QString &baseDir = QString());

    // Key numbers the model (its link master) has for the type, in table order.
    // Empty when the read fails (*error, when given, says why).
    static QList<int> modelKeys(QSqlDatabase db, const QString &link, const QString &typeId,
                                QString *error = nullptr);
    // Whether the model has a key row for key number n of the type.
    static bool modelHasKey(QSqlDatabase db, const QString &link, int typeId, int n);
};
