#pragma once

#include <QtTest>

// Points just inside and just outside the clickable square of a key at
// (300, 1000) units (reach 29), in pixels of pictures of several heights,
// worked out by hand from pixel-to-unit p * 2260 / H: the first pixel on each
// side that still hits, and its neighbour that misses.
inline void addPictureEdgeRows()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("px");
    QTest::addColumn<int>("py");
    QTest::addColumn<bool>("hit");
        QTest::addRow("H380 left in") << 380 << 46 << 168 << true;
        QTest::addRow("H380 left out") << 380 << 45 << 168 << false;
        QTest::addRow("H380 right in") << 380 << 55 << 168 << true;
        QTest::addRow("H380 right out") << 380 << 56 << 168 << false;
        QTest::addRow("H380 top in") << 380 << 50 << 164 << true;
        QTest::addRow("H380 top out") << 380 << 50 << 163 << false;
        QTest::addRow("H380 bottom in") << 380 << 50 << 173 << true;
        QTest::addRow("H380 bottom out") << 380 << 50 << 174 << false;
        QTest::addRow("H700 left in") << 700 << 84 << 310 << true;
        QTest::addRow("H700 left out") << 700 << 83 << 310 << false;
        QTest::addRow("H700 right in") << 700 << 102 << 310 << true;
        QTest::addRow("H700 right out") << 700 << 103 << 310 << false;
        QTest::addRow("H700 top in") << 700 << 93 << 301 << true;
        QTest::addRow("H700 top out") << 700 << 93 << 300 << false;
        QTest::addRow("H700 bottom in") << 700 << 93 << 319 << true;
        QTest::addRow("H700 bottom out") << 700 << 93 << 320 << false;
        QTest::addRow("H1130 left in") << 1130 << 136 << 500 << true;
        QTest::addRow("H1130 left out") << 1130 << 135 << 500 << false;
        QTest::addRow("H1130 right in") << 1130 << 164 << 500 << true;
        QTest::addRow("H1130 right out") << 1130 << 165 << 500 << false;
        QTest::addRow("H1130 top in") << 1130 << 150 << 486 << true;
        QTest::addRow("H1130 top out") << 1130 << 150 << 485 << false;
        QTest::addRow("H1130 bottom in") << 1130 << 150 << 514 << true;
        QTest::addRow("H1130 bottom out") << 1130 << 150 << 515 << false;
        QTest::addRow("H2261 left in") << 2261 << 272 << 1001 << true;
        QTest::addRow("H2261 left out") << 2261 << 271 << 1001 << false;
        QTest::addRow("H2261 right in") << 2261 << 330 << 1001 << true;
        QTest::addRow("H2261 right out") << 2261 << 331 << 1001 << false;
        QTest::addRow("H2261 top in") << 2261 << 301 << 972 << true;
        QTest::addRow("H2261 top out") << 2261 << 301 << 971 << false;
        QTest::addRow("H2261 bottom in") << 2261 << 301 << 1030 << true;
        QTest::addRow("H2261 bottom out") << 2261 << 301 << 1031 << false;
        QTest::addRow("H3000 left in") << 3000 << 360 << 1328 << true;
        QTest::addRow("H3000 left out") << 3000 << 359 << 1328 << false;
        QTest::addRow("H3000 right in") << 3000 << 438 << 1328 << true;
        QTest::addRow("H3000 right out") << 3000 << 439 << 1328 << false;
        QTest::addRow("H3000 top in") << 3000 << 399 << 1289 << true;
        QTest::addRow("H3000 top out") << 3000 << 399 << 1288 << false;
        QTest::addRow("H3000 bottom in") << 3000 << 399 << 1367 << true;
        QTest::addRow("H3000 bottom out") << 3000 << 399 << 1368 << false;
}
