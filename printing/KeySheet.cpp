#include "printing/KeySheet.h"

#include "app/CheckedPicture.h"
#include "app/ShownText.h"
#include "catalogue/PhotoPlaces.h"
#include "printing/KeySheetLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTransform>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("KeySheet", text);
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

QFont sheetFont()
{
    QFont font(QStringLiteral("Arial"), 10);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

} // namespace

bool KeySheet::load(const Input &input, QSqlDatabase db, const QString &baseDir, QString *error)
{
    *this = KeySheet();
    m_input = input;
    const QDir base(baseDir);

    m_variant = KeySheetLayout::printVariant(input.documentation);
    QString sqlError;
    m_namedKeys = KeySheetLegend::namedKeyCount(db, input.link, input.typeId, &sqlError);
    if (m_namedKeys < 0) {
        setError(error, tr("The keys of the model cannot be read; nothing is printed.\n%1").arg(sqlError));
        return false;
    }

    const KeySheetLayout::Choice choice =
        KeySheetLayout::chooseTemplate(m_namedKeys, input.customerId, input.typeId, m_variant, baseDir);
    if (!choice.found) {
        setError(error, tr("The print template \"%1\" is missing; nothing is printed.")
                            .arg(KeySheetLayout::fallbackTemplate()));
        return false;
    }
    m_templateFile = choice.candidate.fileName;
    m_sheetCustomerId = choice.candidate.sheetCustomerId;
    // Read through the checked reader: QImage given the name would open a
    // pipe and wait for it for good.
    QImage picture;
    QString why;
    CheckedPicture::image(base.filePath(m_templateFile), CheckedFile::PictureBytes, &picture, &why);
    if (picture.isNull()) {
        setError(error, tr("The print template \"%1\" cannot be read; nothing is printed.").arg(m_templateFile)
                            + (why.isEmpty() ? QString() : QLatin1Char('\n') + why));
        return false;
    }
    // A grey or indexed template still shows the photo in colour; the
    // conversion keeps the picture's resolution, which sizes the font.
    m_template = picture.convertToFormat(QImage::Format_RGB32);

    if (!KeySheetLegend::entries(db, input.link, input.typeId, m_sheetCustomerId, m_namedKeys, &m_legend,
                                 &sqlError)) {
        setError(error, tr("The key legend cannot be read; nothing is printed.\n%1").arg(sqlError));
        return false;
    }

    for (int n = 1; n <= PhotoPlaces::Count; ++n) {
        const QString path = base.filePath(PhotoPlaces::relativePath(input.link, n));
        QImage photo;
        QString problem;
        if (CheckedPicture::image(path, CheckedFile::PhotoBytes, &photo, &problem) == CheckedFile::Result::Refused)
            m_skippedPhotos << problem;
        m_photos[n - 1] = preparePhoto(photo); // an undecodable photo stays null
    }
    m_photoPage = KeySheetLayout::photoPageDue(
        QFileInfo::exists(base.filePath(PhotoPlaces::relativePath(input.link, 2))), input.printOnlyFirstImage);
    return true;
}

QImage KeySheet::drawPageOne() const
{
    QImage sheet = m_template;
    QPainter p(&sheet);
    p.setPen(Qt::black);
    p.setFont(sheetFont());
    using T = KeySheetLayout::Text;
    const struct
    {
        T place;
        const QString &text;
    } texts[] = {{T::Brand, m_input.brand},     {T::Type, m_input.type},       {T::Model, m_input.model},
                 {T::Company, m_input.company}, {T::Address, m_input.address}, {T::Contact, m_input.contact}};
    // A text of megabytes from the catalogue is drawn by its start: the
    // sheet holds far less, and Qt lays out all it is given.
    for (const auto &t : texts)
        p.drawText(KeySheetLayout::textPosition(t.place), ShownText::bounded(t.text));

    if (!m_photos[0].isNull())
        p.drawImage(KeySheetLayout::firstPhotoPosition(), m_photos[0]);

    p.setFont(sheetFont());
    for (const KeySheetLegend::Entry &entry : m_legend)
        p.drawText(KeySheetLayout::legendPosition(entry.printOrder), ShownText::bounded(entry.text));
    p.end();
    return sheet;
}

bool KeySheet::paint(QPagedPaintDevice *device) const
{
    if (m_template.isNull())
        return false;
    const QImage sheet = drawPageOne();
    QPainter page;
    if (!page.begin(device))
        return false;
    // From here on the page painter works in template pixels.
    page.setViewport(KeySheetLayout::sheetViewport(page.viewport(), sheet.size()));
    page.setWindow(sheet.rect());
    page.drawImage(0, 0, sheet);

    if (m_photoPage) {
        device->newPage();
        for (int n = 1; n <= PhotoPlaces::Count; ++n)
            if (!m_photos[n - 1].isNull())
                page.drawImage(KeySheetLayout::photoPagePosition(n), m_photos[n - 1]);
    }
    return page.end();
}

QImage KeySheet::preparePhoto(const QImage &photo)
{
    if (photo.isNull())
        return QImage();
    QImage upright = photo;
    if (KeySheetLayout::photoTurned(photo.size()))
        upright = photo.transformed(QTransform().rotate(90), Qt::FastTransformation);
    const QSize fitted = KeySheetLayout::photoSize(photo.size());
    return upright.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void KeySheet::setUpPrinter(QPrinter *printer, const QString &brand, const QString &model)
{
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Landscape);
    printer->setDocName(ShownText::bounded(brand) + QLatin1Char('_') + ShownText::bounded(model));
}
