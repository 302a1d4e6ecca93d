#include "tools/samplekit/SampleProtocolLookups.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace SampleProtocolLookups {

QString codeString(const QString &table, int protocol, int slotCode)
{
    // 24 bytes from a small generator seeded by the row's keys; the first
    // two bytes name the protocol and slot code so that a reader can tell
    // rows apart by eye.
    quint32 state = (quint32(protocol) << 8) ^ quint32(slotCode + 1);
    for (QChar c : table) // not qHash: the kit must give the same bytes with every Qt
        state = state * 31u + c.unicode();
    QString out = QStringLiteral("%1%2").arg(protocol & 0xFF, 2, 16, QLatin1Char('0')).arg(
        (slotCode < 0 ? 0xFF : slotCode) & 0xFF, 2, 16, QLatin1Char('0'));
    for (int i = 0; i < 22; ++i) {
        state = state * 1664525u + 1013904223u;
        out += QStringLiteral("%1").arg((state >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
    }
    return out.toUpper();
}

bool hasTransmitCode(int place)
{
    return place != 2;
}

bool hasTimingMarker(int place)
{
    return place < 2;
}

QString usbCode(int deviceId, int protocol, int slotCode, bool timingMarker)
{
    const QString table = QStringLiteral("usbprotocols%1").arg(deviceId);
    if (slotCode >= 0 || !timingMarker)
        return codeString(table, protocol, slotCode);
    // A timing marker and a time of 600 + 40 * protocol units in two 7-bit
    // bytes, then the rest of an invented blob.
    const int time = 600 + 40 * protocol;
    return QStringLiteral("7A%1%2").arg(time / 128, 2, 16, QLatin1Char('0')).arg(time % 128, 2, 16, QLatin1Char('0')).toUpper()
           + codeString(table, protocol, slotCode).mid(6);
}

bool fill(QSqlDatabase db, const QList<int> &protocols, QString *error)
{
    auto run = [&](QSqlQuery &q, const QVariantList &values) {
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (q.exec())
            return true;
        if (error)
            *error = q.lastError().text();
        return false;
    };
    QSqlQuery p11(db), p21(db), p41(db), irt(db), usb(db);
    if (!p11.prepare(QStringLiteral("INSERT INTO protocols11 (Prot, Code) VALUES (?,?)"))
        || !p21.prepare(QStringLiteral("INSERT INTO protocols21 (Prot, Nrc, Code) VALUES (?,?,?)"))
        || !p41.prepare(QStringLiteral("INSERT INTO protocols41 (Prot, Nrc, Code) VALUES (?,?,?)"))
        || !irt.prepare(QStringLiteral("INSERT INTO protocolsirt (Prot, Code) VALUES (?,?)"))
        || !usb.prepare(QStringLiteral("INSERT INTO usbprotocols (DevID, Prot, Nrc, Code) VALUES (?,?,?,?)"))) {
        if (error)
            *error = QStringLiteral("protocol look-up tables cannot be written");
        return false;
    }
    for (int place = 0; place < protocols.size(); ++place) {
        const int prot = protocols.at(place);
        if (!run(p11, {prot, codeString(QStringLiteral("protocols11"), prot, -1)}))
            return false;
        for (int nrc = 0; nrc < 4; ++nrc)
            if (!run(p21, {prot, nrc, codeString(QStringLiteral("protocols21"), prot, nrc)}))
                return false;
        for (int nrc = 0; nrc < 8; ++nrc)
            if (!run(p41, {prot, nrc, codeString(QStringLiteral("protocols41"), prot, nrc)}))
                return false;
        if (hasTransmitCode(place) && !run(irt, {prot, codeString(QStringLiteral("protocolsirt"), prot, -1)}))
            return false;
        for (int nrc = 0; nrc < kRemote1SlotCodes; ++nrc)
            if (!run(usb, {kRemote1DeviceId, prot, nrc, usbCode(kRemote1DeviceId, prot, nrc)}))
                return false;
        if (!run(usb, {kRemote2DeviceId, prot, 0, usbCode(kRemote2DeviceId, prot, -1, hasTimingMarker(place))}))
            return false;
    }
    return true;
}

} // namespace SampleProtocolLookups
