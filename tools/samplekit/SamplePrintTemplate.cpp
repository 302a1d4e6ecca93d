#include "tools/samplekit/SamplePrintTemplate.h"

#include "tools/samplekit/SamplePicture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QPainter>

namespace {

const QColor kInk(0x20, 0x24, 0x2c);
const QColor kRule(0xb8, 0xbe, 0xc8);
const QColor kLabel(0x8a, 0x93, 0xa3);

// Pixel-font text with its left end at x, centred on cy.
void drawTextFrom(QPainter &p, const QByteArray &text, int x, int cy, int scale, const QColor &color)
{
    SamplePicture::drawText(p, text, x + SamplePicture::textWidth(text, scale) / 2, cy, scale, color);
}

QColor accent(const SamplePrintTemplate::Spec &spec)
{
    if (!spec.variant.isEmpty())
        return QColor(0x2e, 0x7d, 0x32);
    if (spec.customer != QLatin1String("0"))
        return QColor(0x15, 0x65, 0xc0);
    return QColor(0x5a, 0x10, 0x18);
}

// A field a value is written on: its baseline sits just above the rule,
// the field's name below it.
void drawField(QPainter &p, int x, int baseline, const QByteArray &name)
{
    p.fillRect(x, baseline + 10, 600, 3, kRule);
    drawTextFrom(p, name, x, baseline + 24, 2, kLabel);
}

// The handset of a type in the gap between the photo and the legend, its keys
// numbered 1 to the type's key count like the badges of the legend.
void drawHandset(QPainter &p, const SampleKit::RemoteType &type, const QColor &accentColor)
{
    const QRect body(650, 300, 340, 2080);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kInk, 6));
    p.setBrush(SamplePicture::bodyColor());
    p.drawRoundedRect(body, 60, 60);
    p.setPen(Qt::NoPen);
    p.setBrush(accentColor);
    p.drawRoundedRect(QRect(body.center().x() - 45, body.top() + 24, 90, 30), 12, 12);

    const int rows = (type.keyCount + 3) / 4;
    const int pitch = qMin(150, (body.height() - 260) / qMax(rows, 1));
    for (int n = 0; n < type.keyCount; ++n) {
        const int cx = body.left() + 50 + (n % 4) * 80;
        const int cy = body.top() + 150 + (n / 4) * pitch;
        p.setPen(QPen(QColor(0x10, 0x12, 0x16), 3));
        p.setBrush(QColor(0x8a, 0x93, 0xa3));
        p.drawRoundedRect(QRect(cx - 32, cy - 24, 64, 48), 12, 12);
        SamplePicture::drawText(p, QByteArray::number(n + 1), cx, cy, 2, Qt::white);
    }
    SamplePicture::drawText(p, "IRVANTA", body.center().x(), body.bottom() - 80, 3, QColor(0x9a, 0xa2, 0xb0));
    p.setRenderHint(QPainter::Antialiasing, false);
}

// A badge left of a legend place: the key's number on the handset, "S" for
// its shift layer.
void drawBadge(QPainter &p, int x, int baseline, const QByteArray &label, const QColor &accentColor)
{
    const QRect badge(x - 96, baseline - 40, 84, 46);
    p.setPen(Qt::NoPen);
    p.setBrush(accentColor);
    p.drawRect(badge);
    SamplePicture::drawText(p, label, badge.center().x(), badge.center().y(), 2, Qt::white);
    p.fillRect(x, baseline + 12, 420, 2, kRule);
}

} // namespace

QString SamplePrintTemplate::fileName(const Spec &spec)
{
    if (!spec.type)
        return QStringLiteral("print.png");
    QString name = QStringLiteral("print-%1-%2").arg(spec.customer).arg(spec.type->id);
    if (!spec.variant.isEmpty())
        name += QLatin1Char('-') + spec.variant;
    if (spec.clear)
        name += QStringLiteral("-clear");
    return name + QStringLiteral(".png");
}

QList<SamplePrintTemplate::Spec> SamplePrintTemplate::sampleSpecs()
{
    static const QList<SampleKit::RemoteType> types = SampleKit::remoteTypes();
    QList<Spec> specs{Spec()};
    for (const SampleKit::RemoteType &t : types) {
        // The last type has no template of its own: it prints on print.png.
        if (t.id == types.last().id)
            continue;
        QStringList customers{QStringLiteral("0")};
        if (SampleKit::ownPrintTypes().contains(t.id))
            customers.append(SampleKit::customerId());
        for (const QString &c : customers)
            for (bool clear : {false, true})
                specs.append({&t, c, clear, QString()});
        if (t.id == SampleKit::printVariantType())
            specs.append({&t, QStringLiteral("0"), false, SampleKit::printVariant()});
    }
    return specs;
}

QImage SamplePrintTemplate::draw(const Spec &spec)
{
    // Grey: a quarter of the bytes to encode, and a sheet is printed in black.
    QImage image(Width, Height, QImage::Format_Grayscale8);
    image.setDotsPerMeterX(DotsPerMeter);
    image.setDotsPerMeterY(DotsPerMeter);
    image.fill(Qt::white);
    QPainter p(&image);
    const QColor accentColor = accent(spec);

    p.setPen(QPen(kRule, 4));
    p.setBrush(Qt::NoBrush);
    p.drawRect(40, 30, Width - 80, Height - 60);

    // Model and company fields at the places the program writes them.
    const struct
    {
        int x, baseline;
        const char *name;
    } fields[] = {{100, 100, "BRAND"},   {100, 165, "TYPE"},    {100, 230, "MODEL"},
                  {800, 100, "COMPANY"}, {800, 165, "ADDRESS"}, {800, 230, "CONTACT"}};
    for (const auto &f : fields)
        drawField(p, f.x, f.baseline, f.name);

    // Title block.
    p.fillRect(2400, 60, 1040, 250, accentColor);
    SamplePicture::drawText(p, "IRVANTA KEY SHEET", 2920, 120, 6, Qt::white);
    QByteArray subtitle = spec.type ? QByteArray(spec.type->name).toUpper() : QByteArray("EVERY REMOTE TYPE");
    SamplePicture::drawText(p, subtitle, 2920, 200, 4, Qt::white);
    QByteArray line = spec.customer == QLatin1String("0") ? QByteArray("SHARED")
                                                            : "CUSTOMER " + spec.customer.toLatin1();
    if (!spec.variant.isEmpty())
        line += " - " + spec.variant.toUpper().toLatin1();
    if (spec.clear)
        line += " - KEYS NOT NAMED";
    SamplePicture::drawText(p, line, 2920, 265, 3, Qt::white);

    // Photo frame.
    p.setPen(QPen(kRule, 3, Qt::DashLine));
    p.drawRect(100, 280, 500, 2100);
    SamplePicture::drawText(p, "PHOTO", 350, 1330, 5, kRule);

    if (spec.type)
        drawHandset(p, *spec.type, accentColor);

    // Legend places: four columns of 32 rows, from y 392 with a pitch of 65;
    // left to right they hold the orders 0-31, 64-95, 32-63 and 96-127.
    if (!spec.clear) {
        static const int columnX[4] = {1110, 2410, 1610, 2910};
        if (!spec.type) {
            for (int order = 0; order < 128; ++order)
                drawBadge(p, columnX[order / 32], 392 + 65 * (order % 32), QByteArray::number(order + 1),
                          accentColor);
        } else {
            const int offset = SampleKit::shiftOffset(spec.type->id);
            for (int nkey = 0; nkey < 128; ++nkey) {
                const int order = SampleKit::printOrder(spec.type->id, spec.customer, nkey);
                if (order < 0)
                    continue;
                const QByteArray label = nkey >= offset ? "S" + QByteArray::number(nkey - offset + 1)
                                                        : QByteArray::number(nkey + 1);
                drawBadge(p, columnX[order / 32], 392 + 65 * (order % 32), label, accentColor);
            }
        }
    }
    p.end();
    return image;
}

bool SamplePrintTemplate::writeAll(const QString &imagesDir, QString *error)
{
    // The templates never change, and drawing and encoding them takes a
    // moment: a process that writes several sample directories (the tests
    // do) encodes them once.
    static QMutex mutex;
    static QHash<QString, QByteArray> encoded;
    const QDir dir(imagesDir);
    for (const Spec &spec : sampleSpecs()) {
        const QString name = fileName(spec);
        QByteArray png;
        {
            QMutexLocker lock(&mutex);
            png = encoded.value(name);
            if (png.isEmpty()) {
                QBuffer buffer(&png);
                buffer.open(QIODevice::WriteOnly);
                draw(spec).save(&buffer, "PNG");
                encoded.insert(name, png);
            }
        }
        QFile file(dir.filePath(name));
        if (png.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(png) != png.size()) {
            if (error)
                *error = QStringLiteral("cannot write %1").arg(file.fileName());
            return false;
        }
    }
    return true;
}
