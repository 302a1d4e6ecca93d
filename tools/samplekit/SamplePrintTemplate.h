#pragma once

#include "tools/samplekit/SampleKit.h"

#include <QImage>
#include <QString>

// Our own key-sheet templates for the sample directory: an A4 landscape
// sheet at 300 dpi (3508 x 2480 pixels) with the fields for brand, type,
// model and the company lines, a frame for the photo, a drawing of the
// handset with numbered keys and, beside the legend places that the
// catalogue's print order gives the customer, a badge with the key's number.
// "-clear" templates leave the legend empty. Drawn with the kit's pixel font,
// so the files are the same on every machine.
class SamplePrintTemplate
{
public:
    static constexpr int Width = 3508;
    static constexpr int Height = 2480;
    static constexpr int DotsPerMeter = 11811; // 300 dpi: a 10 point font is about 42 pixels high

    struct Spec
    {
        const SampleKit::RemoteType *type = nullptr; // null: the template for every type
        QString customer = QStringLiteral("0");
        bool clear = false;
        QString variant;
    };
    static QImage draw(const Spec &spec);

    // File name below "images/" of a template ("print.png" for the generic one).
    static QString fileName(const Spec &spec);
    // Every template of the sample directory.
    static QList<Spec> sampleSpecs();
    // Writes them into imagesDir.
    static bool writeAll(const QString &imagesDir, QString *error = nullptr);
};
