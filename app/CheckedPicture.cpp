#include "app/CheckedPicture.h"

namespace CheckedPicture {

CheckedFile::Result image(const QString &path, qint64 maxBytes, QImage *image, QString *error)
{
    *image = QImage();
    QByteArray bytes;
    const CheckedFile::Result result = CheckedFile::read(path, maxBytes, &bytes, error);
    if (result == CheckedFile::Result::Done)
        image->loadFromData(bytes);
    return result;
}

CheckedFile::Result pixmap(const QString &path, qint64 maxBytes, QPixmap *pixmap, QString *error)
{
    *pixmap = QPixmap();
    QByteArray bytes;
    const CheckedFile::Result result = CheckedFile::read(path, maxBytes, &bytes, error);
    if (result == CheckedFile::Result::Done)
        pixmap->loadFromData(bytes);
    return result;
}

QIcon windowIcon(QString *error)
{
    QPixmap picture;
    QString why;
    if (pixmap(QStringLiteral("rc.ico"), CheckedFile::IconBytes, &picture, &why) == CheckedFile::Result::Refused &&
        error)
        *error = why;
    return picture.isNull() ? QIcon() : QIcon(picture);
}

} // namespace CheckedPicture
