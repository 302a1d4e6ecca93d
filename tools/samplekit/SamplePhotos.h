#pragma once

#include <QImage>
#include <QList>
#include <QSqlDatabase>
#include <QString>

// Our own model photos for the sample directory: drawn pictures of a remote,
// stored as JPEG files in the photo places of a few sample link masters. One
// master has a gap in its photo numbers, as after files were copied by hand.
class SamplePhotos
{
public:
    static constexpr int Width = 640;
    static constexpr int Height = 480;

    struct Set
    {
        QString master;
        QList<int> places;
    };
    // Which masters of the catalogue get which places: the first master with
    // links gets 1 to 3, the first own master 1 and 3, the first other master 1.
    static QList<Set> choose(QSqlDatabase db, QString *error = nullptr);

    // Photo n of a model, labelled with its brand and model.
    static QImage draw(const QString &brand, const QString &model, int n);

    // Writes the chosen photos into photoDir ("RCImages").
    static bool writeAll(QSqlDatabase db, const QString &photoDir, QString *error = nullptr);
};
