#include "programming/Remote1SlotImage.h"

#include "programming/ProtocolLookup.h"
#include "programming/SlotImageText.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// Records of the 43 first-layer keys of remote type 5; its second layer sits
// 64 records further on.
constexpr int kType5Records[43] = {53, 52, 41, 40, 39, 34, 33, 32, 27, 26, 25, 20, 19, 18, 55,
                                   31, 11, 13, 12, 43, 10, 50, 51, 24, 49, 45, 17, 42, 48, 38,
                                   44, 29, 23, 22, 21, 37, 36, 35, 30, 47, 46, 28, 14};

// Bytes 64..127 of the header: two equal blocks the device expects.
const char kHeaderTail[] = "FFFFFFFFFFFFFF00000000000000000000000000000000000000000000000000";

} // namespace

int Remote1SlotImage::recordIndex(int typeId, const QVariant &nkey)
{
    int k = 0;
    if (!SlotImageText::keyNumber(nkey, &k) || k < 0)
        return -1;
    if (typeId == 5) {
        if (k < 43)
            return kType5Records[k];
        if (k < 86)
            return 64 + kType5Records[k - 43];
        return -1;
    }
    if (k < 56)
        return k;
    if (k < 120)
        return k + 8;
    return -1;
}

KeyImage::Result Remote1SlotImage::buildKeys(const QList<Key> &keys, int typeId)
{
    return KeyImage::buildRecords(keys, Records, [&](int i) {
        return SlotImageText::isKeyCode(keys.at(i).id) ? recordIndex(typeId, keys.at(i).nkey) : -1;
    });
}

Remote1SlotImage::Texts Remote1SlotImage::fitTexts(const QString &brand, const QString &type, const QString &model)
{
    Texts t{SlotImageText::latin1(brand), SlotImageText::latin1(type), SlotImageText::latin1(model)};
    int over = t.brand.size() + t.type.size() + t.model.size() - TextRoom;
    for (QByteArray *text : {&t.model, &t.type, &t.brand}) {
        if (over <= 0)
            break;
        const int cut = qMin(over, int(text->size()));
        text->chop(cut);
        over -= cut;
    }
    return t;
}

QString Remote1SlotImage::header(const QDateTime &now, const QString &brand, const QString &type, const QString &model)
{
    using SlotImageText::hexByte;
    const QDate d = now.date();
    const QTime t = now.time();
    // Year 0 marks an empty slot; a clock before 2001 must not do that.
    QString out = QStringLiteral("01") + hexByte(qBound(1, d.year() - 2000, 255)) + hexByte(d.month()) +
                  hexByte(d.day()) + hexByte(t.hour()) + hexByte(t.minute());
    const Texts texts = fitTexts(brand, type, model);
    for (const QByteArray &text : {texts.brand, texts.type, texts.model})
        out += hexByte(text.size()) + SlotImageText::hexBytes(text);
    out += QString(128 - out.size(), QLatin1Char('0'));
    out += QLatin1String(kHeaderTail);
    out += QLatin1String(kHeaderTail);
    return out;
}

KeyImage::Result Remote1SlotImage::keysOf(QSqlDatabase db, const QString &link, int typeId, QStringList *log,
                                          QString *readError)
{
    QList<Key> keys;
    QString error;
    if (!KeyImage::readKeys(db, link, typeId, &keys, &error)) {
        log->append(QStringLiteral("keys of %1 could not be read: %2").arg(link, error));
        if (readError)
            *readError = error;
        return {};
    }
    const KeyImage::Result part = buildKeys(keys, typeId);
    for (int i : part.skipped)
        log->append(QStringLiteral("key %1 (code %2) of %3 has no place on remote type %4; skipped")
                        .arg(keys.at(i).nkey.isNull() ? QStringLiteral("NULL") : keys.at(i).nkey.toString(),
                             keys.at(i).id, link, QString::number(typeId)));
    return part;
}

Remote1SlotImage::Result Remote1SlotImage::build(QSqlDatabase db, const QString &link, int typeId, const Inputs &in)
{
    Result result;
    QString readError;
    const KeyImage::Result part = keysOf(db, link, typeId, &result.log, &readError);
    if (!part.valid) {
        result.status = readError.isEmpty() ? Status::KeysRefused : Status::ReadFailed;
        return result;
    }
    Result completed = complete(db, part.image, in);
    completed.log = result.log + completed.log;
    return completed;
}

Remote1SlotImage::Result Remote1SlotImage::complete(QSqlDatabase db, const QString &keyPart, const Inputs &in)
{
    Result result;
    const QString p1 = keyPart.left(3);
    const QString p2 = keyPart.mid(3, 3);
    QString body = keyPart.mid(6, 2000);
    body += QString(qMax(0, BodyChars - int(body.size())), QLatin1Char('0'));
    const int slotCodes[2] = {2 * in.nPult, 2 * in.nPult + 1};
    const QString protocols[2] = {p1, p2};
    QString blobs;
    for (int i = 0; i < 2; ++i) {
        QString code;
        if (!ProtocolLookup::usbProtocol(db, in.deviceId, protocols[i], slotCodes[i], &code)) {
            result.status = Status::CodeMissing;
            result.log << QStringLiteral("no code of protocol %1 for device %2, slot code %3")
                              .arg(protocols[i], QString::number(in.deviceId), QString::number(slotCodes[i]));
            return result;
        }
        if (!SlotImageText::isHexBytes(code)) {
            result.status = Status::CodeDamaged;
            result.log << QStringLiteral("the code of protocol %1 for device %2, slot code %3 is not hex bytes")
                              .arg(protocols[i], QString::number(in.deviceId), QString::number(slotCodes[i]));
            return result;
        }
        blobs += code.toUpper();
    }
    // The device keeps only the slot's 2048 bytes; a blob cut there would be
    // written incomplete.
    if (HeaderChars + BodyChars + blobs.size() > SlotChars) {
        result.status = Status::TooLarge;
        result.log << QStringLiteral("the codes of protocols %1 and %2 take %3 bytes; the slot holds %4")
                          .arg(p1, p2, QString::number(blobs.size() / 2),
                               QString::number((SlotChars - HeaderChars - BodyChars) / 2));
        return result;
    }
    result.status = Status::Ok;
    result.image = header(in.now, in.brand, in.type, in.model) + body + blobs;
    return result;
}
