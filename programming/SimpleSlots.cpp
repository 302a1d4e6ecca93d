#include "programming/SimpleSlots.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

SimpleSlots::Row SimpleSlots::read(QSqlDatabase db, int typeId, QString *error)
{
    Row row;
    QSqlQuery q(db);
    if (!q.prepare(QStringLiteral("SELECT hid, RCTypeId, maxdevices, rcid1, rcid2, rcid3, rcid4, rcid5, rcid6, rcid7, "
                                  "rcid8 FROM prhistory WHERE(hid=? AND RCTypeId=?)"))) {
        if (error)
            *error = q.lastError().text();
        return row;
    }
    q.addBindValue(typeId);
    q.addBindValue(typeId);
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return row;
    }
    if (!q.next())
        return row;
    row.found = true;
    row.maxdevices = q.value(2).toInt();
    for (int c = 0; c < Columns; ++c)
        row.rcids << q.value(3 + c).toString();
    return row;
}

bool SimpleSlots::names(QSqlDatabase db, const QString &rcid, QString *brand, QString *model)
{
    QSqlQuery q(db);
    if (!q.prepare(QStringLiteral("SELECT Brand, Model FROM rcmodels WHERE(Rcid=?)")))
        return false;
    q.addBindValue(rcid);
    if (!q.exec() || !q.next())
        return false;
    *brand = q.value(0).toString();
    *model = q.value(1).toString();
    return true;
}

bool SimpleSlots::assign(QSqlDatabase db, int typeId, int slot, const QString &rcid, QString *error)
{
    if (slot < 0 || slot >= Columns) {
        if (error)
            *error = QStringLiteral("there is no simple slot %1").arg(slot + 1);
        return false;
    }
    // The column name comes from the checked slot number, never from outside.
    QSqlQuery q(db);
    if (q.prepare(QStringLiteral("UPDATE prhistory SET rcid%1=? WHERE(hid=?)AND(RCTypeId=?)").arg(slot + 1))) {
        q.addBindValue(rcid);
        q.addBindValue(typeId);
        q.addBindValue(typeId);
        if (q.exec())
            return true;
    }
    if (error)
        *error = q.lastError().text();
    return false;
}

std::array<QString, SimpleSlots::Boxes> SimpleSlots::entries(
    const Row &row, const std::function<QString(int slot, const QString &rcid)> &image)
{
    std::array<QString, Boxes> out;
    out.fill(QStringLiteral("NONEED"));
    const int n = qBound(0, row.maxdevices, Boxes);
    for (int i = 0; i < n; ++i) {
        const QString rcid = i < row.rcids.size() ? row.rcids.at(i) : QString();
        out[size_t(i)] = rcid.isEmpty() ? QStringLiteral("DELETE") : image(i, rcid);
    }
    return out;
}
