#pragma once

#include "catalogue/PhotoPlaces.h"

#include <QImage>
#include <QString>

// Adding a photo to a link master: the chosen picture is read, reduced when
// it is both a large file and a large picture, and stored as a JPEG file in
// the lowest free photo place.
class ModelPhotos
{
public:
    // Files from this size on, with a side above MaxSide, are reduced to fit
    // MaxSide x MaxSide.
    static constexpr qint64 ScaleFromBytes = 100000;
    static constexpr int MaxSide = 1280;

    // The picture as it is stored: image itself, or reduced by the rule above.
    static QImage storedImage(const QImage &image, qint64 fileSize);

    // Reads sourceFile into *shown (the picture to display) and stores it in
    // the lowest free place of places. Returns the place (1 to 5), or 0 with
    // *error set when nothing was stored: an unreadable file (read through
    // CheckedFile, at most CheckedFile::PhotoBytes), a missing photo
    // folder, all five places taken, or a failed write.
    static int add(const PhotoPlaces &places, const QString &sourceFile, QImage *shown, QString *error);
};
