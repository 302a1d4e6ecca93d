#pragma once

#include "app/CheckedFile.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

// Pictures from files the program did not write itself: the bytes come from
// CheckedFile and are decoded from memory, because QImage, QPixmap and QIcon
// given a path open the file themselves and would block on a pipe. A file
// that is read but is no picture gives Done with a null picture and no error.
namespace CheckedPicture {

CheckedFile::Result image(const QString &path, qint64 maxBytes, QImage *image, QString *error = nullptr);
CheckedFile::Result pixmap(const QString &path, qint64 maxBytes, QPixmap *pixmap, QString *error = nullptr);

// The window icon, "rc.ico" of the working directory; a null icon when it is
// missing or refused (then *error says why, unless it is only missing).
QIcon windowIcon(QString *error = nullptr);

} // namespace CheckedPicture
