#include "catalogue/KeyPictureState.h"

#include "catalogue/PictureGeometry.h"
#include "catalogue/RemoteTypePicture.h"

int KeyPictureState::hitTest(const QPoint &pos, int height) const
{
    if (height <= 0)
        return -1;
    return keyPositions.hitTest(PictureGeometry::toUnits(pos.x(), height), PictureGeometry::toUnits(pos.y(), height),
                                shift);
}

int KeyPictureState::pick(const QPoint &pos, int height)
{
    const int key = hitTest(pos, height);
    selectedKey = key < 0 ? NoKey : key;
    return key;
}

void KeyPictureState::doubleClick(const QPoint &pos, int height)
{
    if (transmitMode || busy)
        return;
    if (pick(pos, height) >= 0)
        assignRequest = true;
}

void KeyPictureState::press(const QPoint &pos, int height, QSqlDatabase db)
{
    if (!transmitMode)
        return;
    const int key = pick(pos, height);
    if (key >= 0 && RemoteTypePicture::modelHasKey(db, rcid, rcTypeId, key))
        keyPressed = true;
}

void KeyPictureState::release()
{
    // A held key is always let go, even if transmit mode ended meanwhile: the
    // device would otherwise keep sending it.
    if (!keyPressed)
        return;
    keyPressed = false;
    sendRequest = true;
}

KeyPictureState::Cursor KeyPictureState::hover(const QPoint &pos, int height, QSqlDatabase db)
{
    const int key = hitTest(pos, height);
    if (key < 0)
        return Cursor::Arrow;
    // While a gesture waits for the key timer its key stays chosen: a move in
    // between must not redirect the learned or sent key to another one.
    if (!gesturePending())
        selectedKey = key;
    if (transmitMode)
        return RemoteTypePicture::modelHasKey(db, rcid, rcTypeId, key) ? Cursor::PointingHand : Cursor::Arrow;
    return busy ? Cursor::Arrow : Cursor::PointingHand;
}

void KeyPictureState::setKeyPositions(const KeyPositionTable &table)
{
    keyPositions = table;
    if (keyPressed || sendRequest)
        return;
    assignRequest = false;
    selectedKey = NoKey;
}
