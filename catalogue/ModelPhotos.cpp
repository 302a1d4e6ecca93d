#include "catalogue/ModelPhotos.h"

#include "app/CheckedFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QImageWriter>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ModelPhotos", text);
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

QImage ModelPhotos::storedImage(const QImage &image, qint64 fileSize)
{
    if (fileSize >= ScaleFromBytes && (image.width() > MaxSide || image.height() > MaxSide))
        return image.scaled(MaxSide, MaxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

int ModelPhotos::add(const PhotoPlaces &places, const QString &sourceFile, QImage *shown, QString *error)
{
    // Read through the checked reader: QImageReader given the name would
    // open a pipe and wait for it for good.
    QByteArray bytes;
    QString why;
    if (CheckedFile::read(sourceFile, CheckedFile::PhotoBytes, &bytes, &why) != CheckedFile::Result::Done) {
        if (shown)
            *shown = QImage();
        setError(error, why);
        return 0;
    }
    QBuffer source(&bytes);
    source.open(QIODevice::ReadOnly);
    QImageReader reader(&source);
    const QImage image = reader.read();
    if (shown)
        *shown = image;
    if (image.isNull()) {
        setError(error, tr("The file %1 cannot be read as a picture: %2").arg(sourceFile, reader.errorString()));
        return 0;
    }
    if (places.folderBlocked()) {
        setError(error, tr("\"%1\" in the working directory is a file, not the photo folder; the photo was not "
                           "stored.")
                            .arg(PhotoPlaces::folderName()));
        return 0;
    }
    if (!places.folderExists()) {
        setError(error, tr("The photo folder \"%1/\" does not exist; the photo was not stored.")
                            .arg(PhotoPlaces::folderName()));
        return 0;
    }
    const int place = places.firstFree();
    if (place == 0) {
        setError(error, tr("All %1 photo places of this model are taken; the photo was not stored.")
                            .arg(PhotoPlaces::Count));
        return 0;
    }

    const QImage stored = storedImage(image, bytes.size());
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    if (!writer.write(stored)) {
        setError(error, tr("The photo cannot be converted to JPEG: %1").arg(writer.errorString()));
        return 0;
    }
    if (!places.store(place, jpeg, error))
        return 0;
    if (shown)
        *shown = stored;
    return place;
}
