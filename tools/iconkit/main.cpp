// irvanta-iconkit DIR
// Draws the program's own icon set (the PNG files behind ":/Icons/...") into DIR.
// The PNGs are committed under resources/Icons; run this again after changing a drawing.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <cmath>

#include <functional>

namespace {

using Draw = std::function<void(QPainter &)>;

void remoteBody(QPainter &p)
{
    p.setPen(QPen(QColor(40, 40, 48), 1.2));
    p.setBrush(QColor(90, 94, 110));
    p.drawRoundedRect(QRectF(6, 2, 14, 28), 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 60, 50));
    p.drawEllipse(QPointF(13, 7), 2.2, 2.2);
    p.setBrush(QColor(210, 214, 225));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 2; ++c)
            p.drawRect(QRectF(9 + c * 5, 12 + r * 5, 3, 3));
}

void plus(QPainter &p, QPointF c, qreal s, QColor colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(c.x() - s, c.y() - s / 3, 2 * s, 2 * s / 3));
    p.drawRect(QRectF(c.x() - s / 3, c.y() - s, 2 * s / 3, 2 * s));
}

void cross(QPainter &p, QPointF c, qreal s, QColor colour)
{
    p.setPen(QPen(colour, s / 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-s, -s), c + QPointF(s, s));
    p.drawLine(c + QPointF(-s, s), c + QPointF(s, -s));
}

void arrow(QPainter &p, QPointF from, QPointF to, QColor colour)
{
    p.setPen(QPen(colour, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    QPolygonF head({to + d * 3, to - d * 6 + n * 6, to - d * 6 - n * 6});
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head);
}

void tray(QPainter &p)
{
    p.setPen(QPen(QColor(70, 70, 80), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(4, 20), QPointF(4, 28), QPointF(28, 28), QPointF(28, 20)}));
}

void window(QPainter &p, QRectF r, bool grid)
{
    p.setPen(QPen(QColor(40, 60, 110), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setBrush(QColor(60, 110, 200));
    p.drawRect(QRectF(r.left(), r.top(), r.width(), 5));
    if (grid) {
        p.setPen(QPen(QColor(120, 140, 180), 1));
        for (int i = 1; i < 3; ++i)
            p.drawLine(QPointF(r.left() + r.width() * i / 3, r.top() + 5), QPointF(r.left() + r.width() * i / 3, r.bottom()));
        p.drawLine(QPointF(r.left(), r.center().y() + 2), QPointF(r.right(), r.center().y() + 2));
    }
}

struct Icon
{
    const char *file;
    int width, height;
    Draw draw;
};

QList<Icon> icons()
{
    const QColor green(30, 150, 60), red(200, 40, 40), blue(40, 90, 190);
    return {
        {"new_remote_control.png", 32, 32, [=](QPainter &p) { remoteBody(p); plus(p, {24, 24}, 7, green); }},
        {"delete_remote_control.png", 32, 32, [=](QPainter &p) { remoteBody(p); cross(p, {24, 24}, 5.5, red); }},
        {"edit_remote_control.png", 32, 32,
         [=](QPainter &p) {
             remoteBody(p);
             p.setPen(QPen(QColor(60, 40, 20), 1));
             p.setBrush(QColor(240, 190, 40));
             p.drawPolygon(QPolygonF({QPointF(30, 14), QPointF(33, 17), QPointF(20, 30), QPointF(16, 31), QPointF(17, 27)}));
         }},
        {"new_remote_control_link.png", 32, 32,
         [=](QPainter &p) {
             remoteBody(p);
             p.setPen(QPen(blue, 2.5));
             p.setBrush(Qt::NoBrush);
             p.drawRoundedRect(QRectF(17, 16, 10, 6), 3, 3);
             p.drawRoundedRect(QRectF(21, 22, 10, 6), 3, 3);
         }},
        {"convert_remote_control.png", 32, 32,
         [=](QPainter &p) {
             arrow(p, {5, 10}, {24, 10}, blue);
             arrow(p, {27, 22}, {8, 22}, green);
         }},
        {"import.png", 32, 32, [=](QPainter &p) { tray(p); arrow(p, {16, 2}, {16, 20}, green); }},
        {"export.png", 32, 32, [=](QPainter &p) { tray(p); arrow(p, {16, 22}, {16, 5}, blue); }},
        {"print.png", 32, 32,
         [=](QPainter &p) {
             p.setPen(QPen(QColor(50, 50, 60), 1.2));
             p.setBrush(Qt::white);
             p.drawRect(QRectF(9, 3, 14, 10));
             p.setBrush(QColor(120, 124, 135));
             p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
             p.setBrush(Qt::white);
             p.drawRect(QRectF(9, 20, 14, 9));
             p.setPen(QPen(QColor(140, 140, 150), 1));
             p.drawLine(QPointF(11, 24), QPointF(21, 24));
             p.drawLine(QPointF(11, 27), QPointF(19, 27));
         }},
        {"settings.png", 32, 32,
         [=](QPainter &p) {
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(100, 105, 120));
             p.translate(16, 16);
             for (int i = 0; i < 8; ++i) {
                 p.drawRect(QRectF(-2.5, -14, 5, 8));
                 p.rotate(45);
             }
             p.drawEllipse(QPointF(0, 0), 10, 10);
             p.setBrush(Qt::white);
             p.drawEllipse(QPointF(0, 0), 4, 4);
         }},
        {"help.png", 32, 32,
         [=](QPainter &p) {
             p.setPen(Qt::NoPen);
             p.setBrush(blue);
             p.drawEllipse(QRectF(2, 2, 28, 28));
             p.setPen(Qt::white);
             QFont f = p.font();
             f.setPixelSize(22);
             f.setBold(true);
             p.setFont(f);
             p.drawText(QRectF(2, 2, 28, 28), Qt::AlignCenter, QStringLiteral("?"));
         }},
        {"search.png", 32, 32,
         [=](QPainter &p) {
             p.setPen(QPen(QColor(60, 60, 70), 4, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(19, 19), QPointF(28, 28));
             p.setPen(QPen(QColor(60, 60, 70), 2.5));
             p.setBrush(QColor(200, 225, 250));
             p.drawEllipse(QPointF(13, 13), 9, 9);
         }},
        {"usbprogramm.png", 32, 32,
         [=](QPainter &p) {
             remoteBody(p);
             p.setPen(QPen(QColor(20, 20, 20), 2.2, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(25, 31), QPointF(25, 14));
             p.drawLine(QPointF(25, 24), QPointF(21, 20));
             p.drawLine(QPointF(25, 21), QPointF(29, 17));
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(20, 20, 20));
             p.drawPolygon(QPolygonF({QPointF(25, 10), QPointF(22, 15), QPointF(28, 15)}));
         }},
        {"macroprogramm.png", 32, 32,
         [=](QPainter &p) {
             p.setPen(QPen(QColor(110, 50, 140), 2));
             p.setBrush(QColor(235, 220, 245));
             p.drawRoundedRect(QRectF(3, 3, 26, 26), 4, 4);
             QFont f = p.font();
             f.setPixelSize(20);
             f.setBold(true);
             p.setFont(f);
             p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("M"));
         }},
        {"full_version.png", 32, 32, [=](QPainter &p) { window(p, QRectF(2, 4, 28, 24), true); }},
        {"simple_version.png", 32, 32, [=](QPainter &p) { window(p, QRectF(8, 8, 16, 16), false); }},
        {"jpg.png", 32, 32,
         [=](QPainter &p) {
             p.setPen(QPen(QColor(70, 70, 80), 1.5));
             p.setBrush(QColor(170, 215, 250));
             p.drawRect(QRectF(3, 6, 26, 20));
             p.setPen(Qt::NoPen);
             p.setBrush(green);
             p.drawPolygon(QPolygonF({QPointF(4, 25), QPointF(13, 13), QPointF(20, 21), QPointF(23, 18), QPointF(28, 25)}));
             p.setBrush(QColor(250, 210, 40));
             p.drawEllipse(QPointF(22, 11), 2.5, 2.5);
         }},
        {"add.png", 32, 32, [=](QPainter &p) { plus(p, {16, 16}, 12, green); }},
        {"delete.png", 32, 32, [=](QPainter &p) { cross(p, {16, 16}, 10, red); }},
        {"check.png", 16, 16,
         [=](QPainter &p) {
             p.setPen(QPen(green, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.drawPolyline(QPolygonF({QPointF(2, 8), QPointF(6, 12), QPointF(14, 3)}));
         }},
        {"led.png", 20, 20,
         [=](QPainter &p) {
             QRadialGradient g(QPointF(8, 8), 10);
             g.setColorAt(0, QColor(255, 200, 200));
             g.setColorAt(0.5, QColor(240, 30, 30));
             g.setColorAt(1, QColor(120, 0, 0));
             p.setPen(QPen(QColor(80, 0, 0), 1));
             p.setBrush(g);
             p.drawEllipse(QRectF(1, 1, 18, 18));
         }},
        {"samekey.png", 40, 40,
         [=](QPainter &p) {
             p.setPen(QPen(QColor(255, 140, 0), 5));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QRectF(4, 4, 32, 32));
         }},
        {"protocolbar.png", 600, 50,
         [=](QPainter &p) {
             p.fillRect(QRect(0, 0, 600, 50), QColor(235, 236, 240));
             p.setPen(QPen(QColor(170, 172, 180), 1));
             p.setBrush(Qt::white);
             for (int i = 0; i < 10; ++i)
                 p.drawRect(QRectF(i * 60 + 4.5, 6.5, 51, 37));
         }},
    };
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: irvanta-iconkit DIR\n";
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        err << "iconkit: cannot create " << dir.path() << "\n";
        return 1;
    }
    for (const Icon &icon : icons()) {
        QImage image(icon.width, icon.height, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            icon.draw(p);
        }
        const QString path = dir.filePath(QString::fromLatin1(icon.file));
        if (!image.save(path, "PNG")) {
            err << "iconkit: cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
