#include "programming/Remote2SlotImage.h"

#include "ir/Decode.h"
#include "ir/Misc.h"
#include "programming/ProtocolLookup.h"
#include "programming/SlotImageText.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVector>

#include <cmath>

namespace {

using SlotImageText::bitsToHex;
using SlotImageText::hexByte;

const QString kFalse = QStringLiteral("FALSE");

QString padded(QString bits, int length)
{
    if (bits.size() < length)
        bits += QString(length - bits.size(), QLatin1Char('0'));
    return bits;
}

// The mask and shared bits of one protocol's codes and each key's own
// varying bits. A bit is shared when every key has it and has it as ref does.
struct Split
{
    QString mask, shared;
    QVector<QString> vary;
};

Split split(const QVector<QString> &codes, const QString &ref)
{
    Split s;
    s.vary.resize(codes.size());
    for (int i = 0; i < ref.size(); ++i) {
        bool same = true;
        for (const QString &code : codes)
            if (!code.isEmpty() && (i >= code.size() || code.at(i) != ref.at(i))) {
                same = false;
                break;
            }
        s.mask += same ? QLatin1Char('0') : QLatin1Char('1');
        s.shared += same ? ref.at(i) : QLatin1Char('0');
        if (same)
            continue;
        for (int j = 0; j < codes.size(); ++j)
            if (!codes.at(j).isEmpty() && i < codes.at(j).size())
                s.vary[j] += codes.at(j).at(i);
    }
    return s;
}

// Puts the protocol's tag in front of every key string and pads them all to
// the longest, a whole number of bytes, so that no position shifts. Returns
// that length in bits.
int finishKeyStrings(QVector<QString> &vary, const QString &tag)
{
    int longest = 0;
    for (QString &v : vary)
        if (!v.isEmpty()) {
            v.prepend(tag);
            longest = qMax(longest, int(v.size()));
        }
    if (longest % 8)
        longest += 8 - longest % 8;
    for (QString &v : vary)
        if (!v.isEmpty())
            v = padded(v, longest);
    return longest;
}

} // namespace

int Remote2SlotImage::positions(int typeId)
{
    return 2 * (typeId > 4 ? 43 : 56);
}

int Remote2SlotImage::correctedTime(int value, double correction)
{
    const double corrected = std::trunc((100.0 + correction) * value / 100.0);
    if (!(corrected > 0))
        return 0;
    return corrected > MaxTime ? MaxTime : int(corrected);
}

Remote2SlotImage::Result Remote2SlotImage::build(QSqlDatabase db, const Inputs &in)
{
    Result r;
    auto refuse = [&r](const QString &reason) {
        r.log << reason;
        r.reason = reason;
        r.image = kFalse;
        return r;
    };
    const int n = positions(in.typeId);
    struct Kept
    {
        QString protocol;
        int position;
        QString bits;
    };
    QList<Kept> kept;
    for (const Key &key : in.keys) {
        int k = -1;
        const QString number = key.nkey.isNull() ? QStringLiteral("NULL") : key.nkey.toString();
        if (!SlotImageText::isKeyCode(key.id)) {
            r.log << QStringLiteral("key %1: code \"%2\" is not a key code; skipped").arg(number, key.id);
            continue;
        }
        if (!SlotImageText::keyNumber(key.nkey, &k) || k < 0 || k >= n) {
            r.log << QStringLiteral("key %1 has no place among the %2 positions; skipped").arg(number, QString::number(n));
            continue;
        }
        kept.append({key.id.left(3), k, Decode::decode(key.id.mid(4, 200)).left(CodeBits)});
    }

    // Protocols: the first met, the first different one; a third refuses.
    QString p1, p2;
    for (const Kept &k : kept) {
        if (p1.isEmpty())
            p1 = k.protocol;
        else if (p2.isEmpty() && k.protocol != p1)
            p2 = k.protocol;
        else if (k.protocol != p1 && k.protocol != p2)
            return refuse(QStringLiteral("the keys use more than two protocols (%1, %2, %3)").arg(p1, p2, k.protocol));
    }
    const int protocolCount = p2.isEmpty() ? 1 : 2;

    QVector<QString> codes1(n), codes2(n);
    QString ref1, ref2;
    for (const Kept &k : kept) {
        if (k.protocol == p1) {
            codes1[k.position] = k.bits;
            ref1 = k.bits;
        } else {
            codes2[k.position] = k.bits;
            ref2 = k.bits;
        }
    }
    Split s1 = split(codes1, ref1);
    Split s2 = split(codes2, ref2);

    for (const QString &c : codes1)
        if (!c.isEmpty())
            r.log << c;
    r.log << QStringLiteral("h10---") + s1.mask << QStringLiteral("h11---") + s1.shared;
    for (const QString &c : codes2)
        if (!c.isEmpty())
            r.log << c;
    r.log << QStringLiteral("h20---") + s2.mask << QStringLiteral("h21---") + s2.shared;
    r.log << QStringLiteral("-----------------------");

    const int keyBits1 = finishKeyStrings(s1.vary, QStringLiteral("11"));
    const int keyBits2 = finishKeyStrings(s2.vary, QStringLiteral("10"));
    const QString mask1 = padded(QStringLiteral("11") + s1.mask, MaskBits);
    const QString const1 = padded(QStringLiteral("00") + s1.shared, MaskBits);
    const QString mask2 = padded(QStringLiteral("11") + s2.mask, MaskBits);
    const QString const2 = padded(QStringLiteral("00") + s2.shared, MaskBits);
    for (const QVector<QString> *vary : {&s1.vary, &s2.vary})
        for (const QString &v : *vary)
            if (!v.isEmpty())
                r.log << v;
    r.log << QStringLiteral("h10---") + mask1 << QStringLiteral("h11---") + const1 << QStringLiteral("h20---") + mask2
          << QStringLiteral("h21---") + const2;

    QString keyBits;
    for (int j = 0; j < n; ++j)
        keyBits += !s1.vary.at(j).isEmpty() ? s1.vary.at(j)
                   : !s2.vary.at(j).isEmpty() ? s2.vary.at(j)
                                              : QStringLiteral("00000000");
    const QString keysHex = bitsToHex(keyBits);
    const QString m1 = bitsToHex(mask1), c1 = bitsToHex(const1), m2 = bitsToHex(mask2), c2 = bitsToHex(const2);
    r.log << keysHex << m1 << c1 << m2 << c2;

    // A code blob with its count byte; refused when it is no hex bytes or
    // longer than a count byte can say.
    QString reason;
    auto blob = [&](const QString &protocol, QString *out) {
        QString code;
        if (!ProtocolLookup::usbProtocol(db, in.deviceId, protocol, -1, &code)) {
            reason = protocol.isEmpty() ? QStringLiteral("no key for remote type %1").arg(in.typeId)
                                        : QStringLiteral("no code of protocol %1 for device %2")
                                              .arg(protocol, QString::number(in.deviceId));
            return false;
        }
        if (!SlotImageText::isHexBytes(code)) {
            reason = QStringLiteral("the code of protocol %1 for device %2 is not hex bytes")
                         .arg(protocol, QString::number(in.deviceId));
            return false;
        }
        if (code.size() / 2 > 255) {
            reason = QStringLiteral("the code of protocol %1 has %2 bytes, more than 255")
                         .arg(protocol, QString::number(code.size() / 2));
            return false;
        }
        *out = code.toUpper();
        return true;
    };

    QString part;
    QString body;
    if (protocolCount == 2) {
        part = m1 + c1 + m2 + c2 + keysHex;
        QString blob1, blob2;
        if (!blob(p2, &blob2) || !blob(p1, &blob1))
            return refuse(reason);
        body = hexByte(blob1.size() / 2) + blob1 + hexByte(blob2.size() / 2) + blob2 + part;
    } else {
        part = m1 + c1 + keysHex;
        const QString protocol = in.prot > 0 ? QStringLiteral("%1").arg(in.prot, 3, 10, QLatin1Char('0')) : p1;
        QString code;
        if (!blob(protocol, &code))
            return refuse(reason);
        // The correction only matters where it is applied: a model with two
        // protocols or another kind of blob ignores it, whatever its value.
        if (in.correction != 0 && code.startsWith(QLatin1String("7A")) && code.size() >= 6) {
            if (!(std::fabs(in.correction) <= MaxCorrection))
                return refuse(QStringLiteral("timing correction %1 lies outside -20..20").arg(in.correction));
            const int v = code.mid(2, 2).toInt(nullptr, 16) * 128 + code.mid(4, 2).toInt(nullptr, 16);
            const int corrected = correctedTime(v, in.correction);
            code.replace(2, 4, hexByte(corrected / 128) + hexByte(corrected % 128));
        }
        body = hexByte(code.size() / 2) + code + QStringLiteral("00") + part;
    }
    const QString dumped = protocolCount == 1 ? part.left(2000) : part;
    r.log << QStringLiteral("-------------") << dumped << QString::number(dumped.size() / 2 + 25)
          << QStringLiteral("-------------");

    QByteArray texts;
    for (const QString &text : {in.caption, in.brand, in.type, in.model}) {
        const QByteArray bytes = SlotImageText::latin1(text);
        if (bytes.size() > 255)
            return refuse(QStringLiteral("a text of %1 characters does not fit its count byte").arg(bytes.size()));
        texts += char(bytes.size()) + bytes;
    }
    if (texts.size() > 255)
        return refuse(QStringLiteral("the slot caption, brand, type and model take %1 bytes, more than 255").arg(texts.size()));

    r.image = QStringLiteral("0101") + QLatin1Char('0') + QLatin1Char(Misc::hexDigit(protocolCount)) +
              hexByte(keyBits1 / 8) + hexByte(keyBits2 / 8) + hexByte(int(texts.size())) +
              SlotImageText::hexBytes(texts) + body;
    r.log << r.image << QStringLiteral("numBytes: %1").arg(r.image.size());
    return r;
}

Remote2SlotImage::Result Remote2SlotImage::forModel(QSqlDatabase db, const QString &rcid, int typeId,
                                                    const QString &caption, int deviceId)
{
    Result r;
    QSqlQuery q(db);
    if (!q.prepare(QStringLiteral("SELECT Rcid,Brand,Type,Model,Link,Correction,Prot FROM rcmodels WHERE(Rcid=?)"))) {
        r.reason = q.lastError().text();
    } else {
        q.addBindValue(rcid);
        if (!q.exec())
            r.reason = q.lastError().text();
        else if (!q.next())
            r.reason = QStringLiteral("model %1 is not in the catalogue").arg(rcid);
    }
    if (!r.reason.isEmpty()) {
        r.log << r.reason;
        r.image = kFalse;
        return r;
    }
    Inputs in;
    in.typeId = typeId;
    in.caption = caption;
    in.brand = q.value(1).toString();
    in.type = q.value(2).toString();
    in.model = q.value(3).toString();
    const QString link = q.value(4).toString();
    in.correction = q.value(5).toDouble();
    in.prot = q.value(6).toInt();
    in.deviceId = deviceId;
    QString error;
    if (!KeyImage::readKeys(db, link, typeId, &in.keys, &error)) {
        r.reason = QStringLiteral("keys of %1 could not be read: %2").arg(link, error);
        r.log << r.reason;
        r.image = kFalse;
        return r;
    }
    return build(db, in);
}
