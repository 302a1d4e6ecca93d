#include "ir/SameKeyMarks.h"

#include "catalogue/CatalogueRead.h"
#include "catalogue/PictureGeometry.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace SameKeyMarks {

bool isCode(const QString &code)
{
    return !code.isEmpty() && code != QLatin1String("UNKNOWN");
}

Keys keysWithCode(QSqlDatabase db, const QString &link, const QString &typeId, const QString &code)
{
    Keys keys;
    if (!isCode(code))
        return keys;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(QStringLiteral("SELECT Nkey FROM rckeys WHERE (Rcid=?)AND(ID=?)AND(RCTypeId=?)"))) {
        keys.ok = false;
        keys.error = q.lastError().text();
        return keys;
    }
    q.addBindValue(link);
    q.addBindValue(code);
    q.addBindValue(typeId);
    if (!q.exec()) {
        keys.ok = false;
        keys.error = q.lastError().text();
        return keys;
    }
    QList<int> numbers;
    if (!CatalogueRead::each(
            q,
            [&](const QSqlQuery &row) {
                bool isNumber = false;
                const int n = row.value(0).toInt(&isNumber);
                // A value that is no number has no place on the picture.
                numbers << (isNumber ? n : -1);
            },
            &keys.error)) {
        keys.ok = false;
        return keys;
    }
    keys.numbers = numbers;
    return keys;
}

QList<QPoint> markerPositions(const QList<int> &keys, const KeyPositionTable &positions, int height)
{
    QList<QPoint> out;
    for (int n : keys) {
        if (out.size() == kMarkers)
            break;
        out << (positions.contains(n) ? PictureGeometry::markerPosition(positions.at(n), height)
                                      : QPoint(PictureGeometry::HiddenMarkerX, PictureGeometry::HiddenMarkerY));
    }
    return out;
}

} // namespace SameKeyMarks
