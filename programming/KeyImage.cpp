#include "programming/KeyImage.h"

#include "catalogue/CatalogueRead.h"

#include "ir/Decode.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

QString protocolOf(const QString &id)
{
    return id.left(3);
}

} // namespace

int KeyImage::recordIndex(const QVariant &nkey)
{
    if (nkey.isNull())
        return -1;
    if (nkey.typeId() == QMetaType::QString) {
        const QString text = nkey.toString();
        // Every text of four characters or more is read in the two-layer
        // form "L-kk": character 0 the layer ('0' the first, any other
        // character the second), character 1 unused, characters 2-3 the key
        // number on its layer; what follows them is not read. Only text has
        // this form: an integer column would have lost the leading zero of
        // "0107".
        if (text.size() >= 4) {
            const auto digit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
            if (!digit(text.at(2)) || !digit(text.at(3)))
                return -1;
            const int k = (text.at(2).unicode() - '0') * 10 + (text.at(3).unicode() - '0');
            if (k >= LayerKeys)
                return -1;
            return text.at(0) == QLatin1Char('0') ? k : LayerKeys + k;
        }
    }
    // Otherwise an integer, or text that reads as a whole number: 0..55 on
    // the first layer, 56..111 on the second. Anything else (a fraction,
    // words) addresses nothing.
    bool ok = false;
    const int k = nkey.toString().toInt(&ok);
    if (!ok || k < 0 || k >= RecordCount)
        return -1;
    return k;
}

QString KeyImage::record(const QString &id, bool firstProtocol)
{
    QString bits = (firstProtocol ? QStringLiteral("1111") : QStringLiteral("1110")) + Decode::decode(id.mid(4, 15));
    // A malformed block decodes to fewer bits; the record keeps its 14 digits.
    if (bits.size() < 4 * RecordChars)
        bits += QString(4 * RecordChars - bits.size(), QLatin1Char('0'));
    QString out;
    out.reserve(RecordChars);
    for (int i = 0; i < RecordChars; ++i)
        out += QLatin1Char(Decode::binToHex(bits.mid(4 * i, 4)));
    return out;
}

KeyImage::Result KeyImage::build(const QList<Key> &keys)
{
    return buildRecords(keys, RecordCount, [&keys](int i) { return recordIndex(keys.at(i).nkey); });
}

KeyImage::Result KeyImage::buildRecords(const QList<Key> &keys, int recordCount, const std::function<int(int)> &recordOf)
{
    Result result;
    QList<int> records;
    records.reserve(keys.size());
    for (int i = 0; i < keys.size(); ++i) {
        // A code of one or two characters would become a protocol field of
        // that length and shift every record behind it. An empty (or NULL)
        // code has no protocol to give: it keeps its record and is counted
        // below as a protocol of its own.
        const int length = keys.at(i).id.size();
        const int wanted = length > 0 && length < 3 ? -1 : recordOf(i);
        const int r = wanted < recordCount ? wanted : -1;
        records.append(r);
        if (r < 0)
            result.skipped.append(i);
    }

    // Protocol pass over the keys that have a record: the first protocol met
    // is protocol 1, the first different one protocol 2, a third makes the
    // image invalid. An empty code is met as the empty protocol: it fills
    // neither field (an empty field is still open), matches a field still
    // open, and is a third protocol once both fields are filled.
    QString p1, p2;
    bool valid = true;
    for (int i = 0; i < keys.size(); ++i) {
        if (records.at(i) < 0)
            continue;
        const QString p = protocolOf(keys.at(i).id);
        if (p1.isEmpty())
            p1 = p;
        if (p2.isEmpty() && p != p1)
            p2 = p;
        if (p != p1 && p != p2)
            valid = false;
    }
    if (p1.isEmpty())
        valid = false;
    else if (p2.isEmpty())
        p2 = p1;

    QString body(recordCount * RecordChars, QLatin1Char('0'));
    for (int i = 0; i < keys.size(); ++i) {
        const int r = records.at(i);
        if (r < 0)
            continue;
        const QString &id = keys.at(i).id;
        body.replace(r * RecordChars, RecordChars, record(id, protocolOf(id) == p1));
    }

    result.valid = valid;
    result.image = (valid ? QString() : QStringLiteral("FALSE")) + p1 + p2 + body;
    return result;
}

QString KeyImage::forLink(QSqlDatabase db, const QString &link)
{
    QList<Key> keys;
    QSqlQuery q(db);
    if (q.prepare(QStringLiteral("SELECT ID,Nkey FROM rckeys WHERE(Rcid=?)"))) {
        q.addBindValue(link);
        q.exec();
    }
    QString error;
    if (!CatalogueRead::each(q, [&](const QSqlQuery &row) { keys.append({row.value(0).toString(), row.value(1)}); },
                             &error)) {
        // Part of a model's keys is no image of it: the image of no keys is
        // marked invalid, as when the table cannot be read at all.
        qWarning("KeyImage: keys of %s could not be read: %s", qPrintable(link), qPrintable(error));
        return build({}).image;
    }

    const Result result = build(keys);
    for (int i : result.skipped)
        qWarning("KeyImage: key number %s of %s (code %s) addresses no record 0..%d; skipped",
                 qPrintable(keys.at(i).nkey.isNull() ? QStringLiteral("NULL") : keys.at(i).nkey.toString()),
                 qPrintable(link), qPrintable(keys.at(i).id), RecordCount - 1);
    return result.image;
}

bool KeyImage::readKeys(QSqlDatabase db, const QString &link, int typeId, QList<Key> *keys, QString *error)
{
    QSqlQuery q(db);
    if (q.prepare(QStringLiteral("SELECT ID,Nkey FROM rckeys WHERE(Rcid=? AND RCTypeId=?)"))) {
        q.addBindValue(link);
        q.addBindValue(typeId);
        if (q.exec()) {
            QList<Key> read;
            if (!CatalogueRead::each(
                    q, [&](const QSqlQuery &row) { read.append({row.value(0).toString(), row.value(1)}); }, error))
                return false;
            keys->append(read);
            return true;
        }
    }
    if (error)
        *error = q.lastError().text();
    return false;
}
