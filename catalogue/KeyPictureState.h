#pragma once

#include "catalogue/KeyPositionTable.h"

#include <QPoint>
#include <QSqlDatabase>
#include <QString>

// What the user does on the remote-type picture, reduced to flags that the
// window's 10 ms key timer polls in the GUI thread: a double click asks for the
// last received code to be learned into a key, a press and release in transmit
// mode send a key. Positions are widget pixels of a picture `height` pixels high.
class KeyPictureState
{
public:
    static constexpr int NoKey = -10;
    enum class Cursor { Arrow, PointingHand };

    bool assignRequest = false; // a double click picked selectedKey for learning
    bool keyPressed = false;    // a key the model has is held down in transmit mode
    bool sendRequest = false;   // the held key was released
    bool busy = false;          // factory model: double clicks assign nothing
    int selectedKey = NoKey;    // key number of the last hit
    KeyPositionTable keyPositions;
    bool transmitMode = false;
    QString rcid;    // link master of the selected model
    int rcTypeId = 0; // selected remote type
    bool shift = false;

    // Key under a point, -1 for none (also for a picture without height).
    int hitTest(const QPoint &pos, int height) const;

    void doubleClick(const QPoint &pos, int height);
    void press(const QPoint &pos, int height, QSqlDatabase db);
    void release();
    // Selects the key under the pointer (a miss keeps the selection, and so does
    // a gesture still waiting for the key timer) and says which cursor to show.
    Cursor hover(const QPoint &pos, int height, QSqlDatabase db);

    // A new layout: a key number picked on the old one means nothing on it, so
    // a pending learn request is dropped and the selection cleared, unless a
    // key is being sent (its release must still go out).
    void setKeyPositions(const KeyPositionTable &table);

    bool gesturePending() const { return assignRequest || keyPressed || sendRequest; }

private:
    // Selects the key under a point (none on a miss) and returns it, -1 for none.
    int pick(const QPoint &pos, int height);
};
