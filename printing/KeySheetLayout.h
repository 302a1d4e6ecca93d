#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// The rules of the key sheet that need no painting: the print variant read
// from a model's documentation, the choice of the template picture, where the
// texts, photos and legend entries go on it, and how a photo is fitted.
// Every position is in pixels of the template picture, y downwards.
class KeySheetLayout
{
public:
    // ---- documentation lines "key=value"
    struct Pair
    {
        QString key, value;
    };
    // The documentation split at runs of CR, LF and tab; each part split at
    // its last "=" (a part without one is key and value at once), trimmed.
    static QList<Pair> documentationPairs(const QString &documentation);
    // The value of the last "print" line (exact key, case-sensitive); empty
    // when there is none.
    static QString printVariant(const QString &documentation);
    // A variant goes into a file name only when it is plain: [A-Za-z0-9_-]+.
    static bool isUsableVariant(const QString &variant);

    // ---- template picture
    struct Candidate
    {
        QString fileName;        // relative to the working directory
        QString sheetCustomerId; // whose legend order goes with this picture
    };
    // The candidates in the order they are tried; the variant candidate is
    // left out when the variant is not usable.
    static QList<Candidate> templateCandidates(int namedKeys, const QString &customerId, const QString &typeId,
                                               const QString &variant);
    static QString fallbackTemplate() { return QStringLiteral("images/print.png"); }
    // The first candidate whose file exists below baseDir. found is false
    // when not even the fallback exists.
    struct Choice
    {
        Candidate candidate;
        bool found = false;
    };
    static Choice chooseTemplate(int namedKeys, const QString &customerId, const QString &typeId,
                                 const QString &variant, const QString &baseDir);

    // ---- fixed places on page 1
    enum class Text { Brand, Type, Model, Company, Address, Contact };
    // Left end of the text's baseline.
    static QPoint textPosition(Text text);
    static QPoint firstPhotoPosition() { return QPoint(100, 280); }
    // Photo n (1 to 5) on the photo page.
    static QPoint photoPagePosition(int n) { return QPoint(100 + 600 * (n - 1), 280); }
    static QSize photoBox() { return QSize(500, 2100); }

    // Legend entry of a PrintOrder: four columns of 32 rows; any other value
    // lands far off the drawn area.
    static QPoint legendPosition(int printOrder);
    // The text of a legend entry: the key's name, or a star mark for an
    // unnamed key when the model names any key of the type.
    static QString legendText(const QString &name, int namedKeys);

    // ---- photos
    // Landscape photos are turned by a quarter; upright and square ones not.
    static bool photoTurned(const QSize &original);
    // Size of a photo once turned and fitted into photoBox() keeping its
    // aspect ratio (the other side truncated to whole pixels).
    static QSize photoSize(const QSize &original);
    // The photo page is printed only when photo 2 exists and the settings do
    // not restrict printing to the first photo.
    static bool photoPageDue(bool secondPhotoExists, bool printOnlyFirstImage)
    {
        return secondPhotoExists && !printOnlyFirstImage;
    }

    // ---- page mapping
    // The part of the printable area the template fills: its size scaled to
    // fit keeping the aspect ratio, at the printable area's top-left corner.
    static QRect sheetViewport(const QRect &printable, const QSize &templateSize);
};
