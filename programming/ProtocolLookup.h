#pragma once

#include <QSqlDatabase>
#include <QString>

// Protocol code strings of the catalogue's four look-up tables, by protocol
// number (the first three characters of a key code) and, for the 2-in-1 and
// 4-in-1 tables, the slot code. The answer is the code string of the first
// row the database returns, or "FALSE" when there is none; callers test for
// that text. Values are bound, never pasted into the statement.
class ProtocolLookup
{
public:
    static QString notFound() { return QStringLiteral("FALSE"); }

    static QString protocol11(QSqlDatabase db, const QString &protocolNumber);
    static QString protocol21(QSqlDatabase db, const QString &protocolNumber, int ntp);
    static QString protocol41(QSqlDatabase db, const QString &protocolNumber, int ntp);
    static QString protocolIRT(QSqlDatabase db, const QString &protocolNumber);

    // The code blob of "usbprotocols" (column 3 of the first row) that a slot
    // image carries for a protocol on a device; slotCode -1 leaves the slot
    // code out (the second-generation remote). False when there is no row or
    // the table cannot be read (the reason goes to the debug output).
    static bool usbProtocol(QSqlDatabase db, int deviceId, const QString &protocolNumber, int slotCode, QString *code);
};
