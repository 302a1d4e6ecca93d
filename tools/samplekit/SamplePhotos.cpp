#include "tools/samplekit/SamplePhotos.h"

#include "catalogue/PhotoPlaces.h"
#include "tools/samplekit/SamplePicture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// First Rcid the query yields that is not yet in sets; empty when none.
QString firstUnused(QSqlDatabase db, const QString &sql, const QList<SamplePhotos::Set> &sets, QString *error)
{
    QSqlQuery q(db);
    if (!q.exec(sql)) {
        if (error)
            *error = q.lastError().text();
        return QString();
    }
    while (q.next()) {
        const QString rcid = q.value(0).toString();
        bool used = false;
        for (const SamplePhotos::Set &s : sets)
            used = used || s.master == rcid;
        if (!used)
            return rcid;
    }
    return QString();
}

} // namespace

QList<SamplePhotos::Set> SamplePhotos::choose(QSqlDatabase db, QString *error)
{
    QList<Set> sets;
    const struct
    {
        const char *sql;
        QList<int> places;
    } rules[] = {
        {"SELECT DISTINCT Link FROM rcmodels WHERE Rcid!=Link ORDER BY Link", {1, 2, 3}},
        {"SELECT Rcid FROM rcmodels WHERE Rcid=Link AND Own=1 ORDER BY Rcid", {1, 3}},
        {"SELECT Rcid FROM rcmodels WHERE Rcid=Link ORDER BY Rcid", {1}},
    };
    for (const auto &rule : rules) {
        const QString master = firstUnused(db, QString::fromLatin1(rule.sql), sets, error);
        if (!master.isEmpty())
            sets.append({master, rule.places});
    }
    return sets;
}

QImage SamplePhotos::draw(const QString &brand, const QString &model, int n)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    // A table top whose shade differs from photo to photo.
    image.fill(QColor::fromHsv((30 + 50 * n) % 360, 40, 225));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);

    // The remote, turned a little differently on every photo.
    p.translate(Width / 2, Height / 2);
    p.rotate(-30 + 15 * n);
    p.setPen(QPen(QColor(0x14, 0x17, 0x1c), 4));
    p.setBrush(SamplePicture::bodyColor());
    p.drawRoundedRect(QRectF(-70, -200, 140, 400), 40, 40);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc6, 0x28, 0x28));
    p.drawEllipse(QPointF(-35, -160), 14, 14);
    p.setBrush(QColor(0x8a, 0x93, 0xa3));
    for (int row = 0; row < 6; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRoundedRect(QRectF(-50 + col * 36, -110 + row * 42, 28, 26), 8, 8);
    p.resetTransform();

    // The label names what the photo shows.
    SamplePicture::drawText(p, (brand + QLatin1Char(' ') + model).toUpper().toLatin1(), Width / 2, 28, 3,
                            QColor(0x20, 0x24, 0x2c));
    SamplePicture::drawText(p, QByteArray("PHOTO ") + QByteArray::number(n), Width / 2, Height - 26, 3,
                            QColor(0x20, 0x24, 0x2c));
    p.end();
    return image;
}

bool SamplePhotos::writeAll(QSqlDatabase db, const QString &photoDir, QString *error)
{
    const QList<Set> sets = choose(db, error);
    for (const Set &set : sets) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT Brand, Model FROM rcmodels WHERE Rcid=?"));
        q.addBindValue(set.master);
        if (!q.exec() || !q.next()) {
            if (error)
                *error = q.lastError().text();
            return false;
        }
        // The working directory is the parent of the photo folder.
        const PhotoPlaces places(QFileInfo(photoDir).absolutePath(), set.master);
        for (int n : set.places) {
            QByteArray jpeg;
            QBuffer buffer(&jpeg);
            buffer.open(QIODevice::WriteOnly);
            QFile::remove(places.path(n));
            if (!draw(q.value(0).toString(), q.value(1).toString(), n).save(&buffer, "JPG") ||
                !places.store(n, jpeg, error))
                return false;
        }
    }
    return true;
}
