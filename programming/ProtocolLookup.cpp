#include "programming/ProtocolLookup.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// The tables are read with "SELECT *": the code string sits after the key
// columns (position 1 after Prot, position 2 after Prot and Nrc).
QString lookUp(QSqlDatabase db, const char *table, const QString &protocolNumber, const QString *slotCode)
{
    QString sql = QStringLiteral("SELECT * FROM %1 WHERE(Prot=?)").arg(QLatin1String(table));
    if (slotCode)
        sql += QStringLiteral("AND(Nrc=?)");
    QSqlQuery q(db);
    if (q.prepare(sql)) {
        q.addBindValue(protocolNumber);
        if (slotCode)
            q.addBindValue(*slotCode);
        if (q.exec()) {
            if (!q.next())
                return ProtocolLookup::notFound();
            return q.value(slotCode ? 2 : 1).toString();
        }
    }
    // A catalogue without the table answers like one without the row; the
    // reason goes to the debug output so that it is not lost.
    qWarning("protocol look-up in %s failed: %s", table, qPrintable(q.lastError().text()));
    return ProtocolLookup::notFound();
}

} // namespace

QString ProtocolLookup::protocol11(QSqlDatabase db, const QString &protocolNumber)
{
    return lookUp(db, "protocols11", protocolNumber, nullptr);
}

QString ProtocolLookup::protocol21(QSqlDatabase db, const QString &protocolNumber, int ntp)
{
    // The slot code goes in as its decimal text, as the catalogue's own
    // statements compare it (Nrc='0').
    const QString slotCode = QString::number(ntp);
    return lookUp(db, "protocols21", protocolNumber, &slotCode);
}

QString ProtocolLookup::protocol41(QSqlDatabase db, const QString &protocolNumber, int ntp)
{
    const QString slotCode = QString::number(ntp);
    return lookUp(db, "protocols41", protocolNumber, &slotCode);
}

QString ProtocolLookup::protocolIRT(QSqlDatabase db, const QString &protocolNumber)
{
    return lookUp(db, "protocolsirt", protocolNumber, nullptr);
}

bool ProtocolLookup::usbProtocol(QSqlDatabase db, int deviceId, const QString &protocolNumber, int slotCode,
                                 QString *code)
{
    QString sql = QStringLiteral("SELECT * FROM usbprotocols WHERE(DevID=?)AND(Prot=?)");
    if (slotCode >= 0)
        sql += QStringLiteral("AND(Nrc=?)");
    QSqlQuery q(db);
    if (q.prepare(sql)) {
        q.addBindValue(QString::number(deviceId));
        q.addBindValue(protocolNumber);
        if (slotCode >= 0)
            q.addBindValue(QString::number(slotCode));
        if (q.exec()) {
            if (!q.next())
                return false;
            if (code)
                *code = q.value(3).toString();
            return true;
        }
    }
    qWarning("protocol look-up in usbprotocols failed: %s", qPrintable(q.lastError().text()));
    return false;
}
