#include "catalogue/PictureGeometry.h"

#include <algorithm>

namespace PictureGeometry {

namespace {
int saturate(qint64 v)
{
    return int(std::clamp<qint64>(v, -CoordinateLimit, CoordinateLimit));
}
} // namespace

int toPixels(qint64 units, int height)
{
    return saturate(units * height / NominalHeight);
}

int toUnits(qint64 pixels, int height)
{
    if (height <= 0)
        return 0;
    return saturate(pixels * (NominalHeight - 1) / height);
}

int pictureWidth(int height)
{
    return toPixels(NominalWidth, height);
}

bool isNormalLayer(const KeyPosition &key)
{
    return key.Shift == 0;
}

QRect circleRect(const KeyPosition &key, int height)
{
    const qint64 cx = isNormalLayer(key) ? qint64(key.X) - 25 : qint64(key.X) + 25;
    const int side = toPixels(30, height);
    return QRect(toPixels(cx - 15, height), toPixels(qint64(key.Y) - 40, height), side, side);
}

QPoint markerPosition(const KeyPosition &key, int height)
{
    const qint64 x = isNormalLayer(key) ? qint64(key.X) - 42 : qint64(key.X) + 8;
    return QPoint(toPixels(x, height), toPixels(qint64(key.Y) - 42, height));
}

int markerSize(int height)
{
    return toPixels(40, height);
}

QRect ledRect(const QRect &picture)
{
    return QRect(picture.x() + picture.width() / 2 - 20, picture.y() - 10, 40, 20);
}

} // namespace PictureGeometry
