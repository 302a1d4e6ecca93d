#pragma once

#include "tools/samplekit/SampleKit.h"

#include <QColor>
#include <QImage>
#include <QSize>

class QPainter;

// Our own remote-type pictures for the sample directory: one 582 x 2261 PNG
// per sample type, each key drawn centred on the hot-spot the catalogue gives
// it, so that circles and clicks land on the drawn keys. Labels use a built-in
// pixel font, so the files are the same on every machine.
class SamplePicture
{
public:
    static constexpr int Width = 582;
    static constexpr int Height = 2261;
    static constexpr int KeyWidth = 84;
    static constexpr int KeyHeight = 52;

    static QImage draw(const SampleKit::RemoteType &type);
    // Writes "<customer>-<type>.png" for every sample type into imagesDir.
    static bool writeAll(const QString &imagesDir, QString *error = nullptr);

    // Text in the built-in pixel font, centred on (cx, cy), pixels of side scale.
    static void drawText(QPainter &p, const QByteArray &text, int cx, int cy, int scale, const QColor &color);
    // Width of text in the pixel font.
    static int textWidth(const QByteArray &text, int scale);

    static QColor bodyColor() { return QColor(0x2b, 0x30, 0x3a); }
    static QColor background() { return QColor(0xf4, 0xf5, 0xf7); }
};
