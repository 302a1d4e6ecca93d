#pragma once

#include "catalogue/KeyPositionTable.h"

#include <QList>
#include <QPoint>
#include <QSqlDatabase>
#include <QString>

// Which keys of the selected model carry the key code just shown, and where
// the three same-key markers go on the remote-type picture. Codes compare as
// whole texts; "UNKNOWN" and an empty text are no code and match no key.
namespace SameKeyMarks {

constexpr int kMarkers = 3;

bool isCode(const QString &code);

struct Keys
{
    QList<int> numbers; // key numbers in the order the database returns them
    bool ok = true;     // false: the query failed (error says why)
    QString error;
};

// Key numbers of the keys stored under the link master for the remote type
// that carry the code.
Keys keysWithCode(QSqlDatabase db, const QString &link, const QString &typeId, const QString &code);

// Top-left corners of the markers for a picture `height` pixels high: marker
// i belongs to key i of the list, for at most three keys. A key number
// outside 0..127 or without a hot-spot on this picture has nothing to be
// marked on: its marker is parked outside the picture, and the keys after it
// keep their own markers.
QList<QPoint> markerPositions(const QList<int> &keys, const KeyPositionTable &positions, int height);

} // namespace SameKeyMarks
