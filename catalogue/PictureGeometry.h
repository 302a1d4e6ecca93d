#pragma once

#include "catalogue/KeyPosition.h"

#include <QPoint>
#include <QRect>

// Where things sit on the remote-type picture. Positions are in units of the
// nominal picture (582 x 2261); H is the shown picture's height in pixels.
// Units become pixels by u * H / 2261 and pixels units by p * 2260 / H, each
// product first and truncated toward zero; arithmetic is 64-bit so that odd
// catalogue values cannot overflow, and results are held within
// +-CoordinateLimit, far off any picture, so that rectangles built from them
// cannot overflow either.
namespace PictureGeometry {

constexpr int NominalWidth = 582;
constexpr int NominalHeight = 2261;
// Marker labels are parked here when they mark nothing.
constexpr int HiddenMarkerX = -50;
constexpr int HiddenMarkerY = -50;
constexpr int CoordinateLimit = 1 << 24;

int toPixels(qint64 units, int height);
// 0 for a picture without height.
int toUnits(qint64 pixels, int height);

// Width of the picture label for a height, keeping 582:2261.
int pictureWidth(int height);

// The filled circle of a key: 30 units across, 25 units above the key's centre
// and 25 units left of it (normal layer) or right of it (any other Shift).
QRect circleRect(const KeyPosition &key, int height);
bool isNormalLayer(const KeyPosition &key);

// Top-left corner of a same-key marker (40 units square) framing the circle.
QPoint markerPosition(const KeyPosition &key, int height);
int markerSize(int height);

// The LED indicator: 40 x 20 pixels centred on the top edge of the picture.
QRect ledRect(const QRect &picture);

} // namespace PictureGeometry
