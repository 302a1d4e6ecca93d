// Unit and pixel arithmetic of the remote-type picture: circles, markers,
// sizes, truncation toward zero and no overflow on odd catalogue values.
#include "catalogue/PictureGeometry.h"

#include <QtTest>

#include <limits>

class TestPictureGeometry : public QObject
{
    Q_OBJECT

private slots:
    void circleAndMarker_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("shift");
        QTest::addColumn<int>("height");
        QTest::addColumn<QRect>("circle");
        QTest::addColumn<QPoint>("marker");
        QTest::addRow("(300,1000,0) H380") << 300 << 1000 << 0 << 380 << QRect(43, 161, 5, 5) << QPoint(43, 161);
        QTest::addRow("(300,1000,0) H700") << 300 << 1000 << 0 << 700 << QRect(80, 297, 9, 9) << QPoint(79, 296);
        QTest::addRow("(300,1000,0) H1000") << 300 << 1000 << 0 << 1000 << QRect(114, 424, 13, 13) << QPoint(114, 423);
        QTest::addRow("(300,1000,0) H2261") << 300 << 1000 << 0 << 2261 << QRect(260, 960, 30, 30) << QPoint(258, 958);
        QTest::addRow("(300,1000,1) H380") << 300 << 1000 << 1 << 380 << QRect(52, 161, 5, 5) << QPoint(51, 161);
        QTest::addRow("(300,1000,1) H700") << 300 << 1000 << 1 << 700 << QRect(95, 297, 9, 9) << QPoint(95, 296);
        QTest::addRow("(300,1000,1) H1000") << 300 << 1000 << 1 << 1000 << QRect(137, 424, 13, 13) << QPoint(136, 423);
        QTest::addRow("(300,1000,1) H2261") << 300 << 1000 << 1 << 2261 << QRect(310, 960, 30, 30) << QPoint(308, 958);
        QTest::addRow("(111,280,2) H700") << 111 << 280 << 2 << 700 << QRect(37, 74, 9, 9) << QPoint(36, 73);
        QTest::addRow("(111,280,2) H1000") << 111 << 280 << 2 << 1000 << QRect(53, 106, 13, 13) << QPoint(52, 105);
        QTest::addRow("(111,280,2) H2261") << 111 << 280 << 2 << 2261 << QRect(121, 240, 30, 30) << QPoint(119, 238);
        QTest::addRow("(10,20,0) H380") << 10 << 20 << 0 << 380 << QRect(-5, -3, 5, 5) << QPoint(-5, -3);
        QTest::addRow("(10,20,0) H700") << 10 << 20 << 0 << 700 << QRect(-9, -6, 9, 9) << QPoint(-9, -6);
        QTest::addRow("(10,20,0) H1000") << 10 << 20 << 0 << 1000 << QRect(-13, -8, 13, 13) << QPoint(-14, -9);
        QTest::addRow("(10,20,0) H2261") << 10 << 20 << 0 << 2261 << QRect(-30, -20, 30, 30) << QPoint(-32, -22);
        QTest::addRow("(582,2261,1) H1000") << 582 << 2261 << 1 << 1000 << QRect(261, 982, 13, 13) << QPoint(260, 981);
        QTest::addRow("(582,2261,1) H2261") << 582 << 2261 << 1 << 2261 << QRect(592, 2221, 30, 30) << QPoint(590, 2219);
    }
    void circleAndMarker()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, shift);
        QFETCH(int, height);
        QFETCH(QRect, circle);
        QFETCH(QPoint, marker);
        const KeyPosition key{x, y, shift};
        QCOMPARE(PictureGeometry::circleRect(key, height), circle);
        QCOMPARE(PictureGeometry::markerPosition(key, height), marker);
    }

    void sizes_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("marker");
        QTest::addRow("minimum label") << 380 << 97 << 6;
        QTest::addRow("700") << 700 << 180 << 12;
        QTest::addRow("nominal") << 2261 << 582 << 40;
        QTest::addRow("none") << 0 << 0 << 0;
    }
    void sizes()
    {
        QFETCH(int, height);
        QFETCH(int, width);
        QFETCH(int, marker);
        QCOMPARE(PictureGeometry::pictureWidth(height), width);
        QCOMPARE(PictureGeometry::markerSize(height), marker);
    }

    void unitsTruncateTowardZero_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("units");
        // 2260 in the pixel-to-unit direction, 2261 the other way.
        QTest::addRow("positive") << 100 << 700 << 30 << 322;
        QTest::addRow("negative") << -100 << 700 << -30 << -322;
        QTest::addRow("nominal") << 2260 << 2260 << 2259 << 2260;
        QTest::addRow("no height") << 100 << 0 << 0 << 0;
    }
    void unitsTruncateTowardZero()
    {
        QFETCH(int, value);
        QFETCH(int, height);
        QFETCH(int, pixels);
        QFETCH(int, units);
        QCOMPARE(PictureGeometry::toPixels(value, height), pixels);
        QCOMPARE(PictureGeometry::toUnits(value, height), units);
    }

    void extremeValuesSaturate()
    {
        const KeyPosition far{std::numeric_limits<qint32>::max(), std::numeric_limits<qint32>::min(), 0};
        const QRect r = PictureGeometry::circleRect(far, 3000);
        QVERIFY(r.left() > 0);
        QVERIFY(r.top() < 0);
        QCOMPARE(r.right(), PictureGeometry::CoordinateLimit + r.width() - 1);
        QCOMPARE(PictureGeometry::toPixels(qint64(1) << 40, 100000), PictureGeometry::CoordinateLimit);
        QCOMPARE(PictureGeometry::toUnits(std::numeric_limits<int>::min(), 1), -PictureGeometry::CoordinateLimit);
        QCOMPARE(PictureGeometry::markerPosition(far, 3000),
                 QPoint(PictureGeometry::CoordinateLimit, -PictureGeometry::CoordinateLimit));
    }

    void ledOverPictureTop()
    {
        // A picture label at (10, 5), 301 wide: the LED is 40 x 20 centred on its top edge.
        QCOMPARE(PictureGeometry::ledRect(QRect(10, 5, 301, 700)), QRect(140, -5, 40, 20));
    }
};

QTEST_GUILESS_MAIN(TestPictureGeometry)
#include "tst_picturegeometry.moc"
