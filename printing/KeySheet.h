#pragma once

#include "printing/KeySheetLegend.h"

#include <QImage>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;
class QPrinter;

// One model's key sheet for one remote type: page 1 is the template picture
// with the model's texts, the company lines, photo 1 and the key legend
// written on it; page 2, when due, shows photos 1 to 5 side by side.
// load() reads everything from the catalogue and the working directory,
// paint() draws it; the template file itself is never written.
class KeySheet
{
public:
    struct Input
    {
        QString link, brand, type, model, documentation; // the selected model
        QString typeId;                                  // the selected remote type
        QString customerId, company, address, contact;   // the user's settings
        bool printOnlyFirstImage = false;
    };

    // False with *error set when nothing can be printed: a failed catalogue
    // query, or a template picture that is missing or cannot be read.
    bool load(const Input &input, QSqlDatabase db, const QString &baseDir, QString *error);

    // Draws the loaded sheet; false when the device cannot be painted on.
    bool paint(QPagedPaintDevice *device) const;

    // A photo as the sheet shows it: a landscape photo turned by a quarter
    // clockwise, then fitted into 500 x 2100 keeping its aspect ratio.
    static QImage preparePhoto(const QImage &photo);

    // The printer set-up of the print and preview slots: high resolution,
    // A4 landscape, document name brand + "_" + model.
    static void setUpPrinter(QPrinter *printer, const QString &brand, const QString &model);

    QString templateFile() const { return m_templateFile; }
    QString sheetCustomerId() const { return m_sheetCustomerId; }
    QString variant() const { return m_variant; }
    int namedKeys() const { return m_namedKeys; }
    const QList<KeySheetLegend::Entry> &legend() const { return m_legend; }
    bool photoPageDue() const { return m_photoPage; }
    int pageCount() const { return m_photoPage ? 2 : 1; }
    // Why photos that are there were not read (not a regular file, or past
    // the photo bound): one line each, naming the file. They are left out.
    QStringList skippedPhotos() const { return m_skippedPhotos; }

private:
    QImage drawPageOne() const;

    Input m_input;
    QString m_variant, m_templateFile, m_sheetCustomerId;
    int m_namedKeys = 0;
    QImage m_template;
    QList<KeySheetLegend::Entry> m_legend;
    QImage m_photos[5]; // prepared; null where a place is empty or unreadable
    bool m_photoPage = false;
    QStringList m_skippedPhotos;
};
