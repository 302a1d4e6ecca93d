// The picture widget under real mouse events: double clicks, presses,
// releases and moves reach the gesture flags at the widget's own height.
#include "TestSupport.h"

#include "catalogue/QMainMouseMoveCatchWidget.h"

#include <QMouseEvent>
#include <QSqlQuery>
#include <QtTest>

class TestKeyPictureWidget : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static void layout(QMainMouseMoveCatchWidget &w, int height)
    {
        KeyPositionTable t;
        t.set(10, KeyPosition{300, 1000, 0});
        t.set(66, KeyPosition{300, 1000, 1});
        w.setKeyPositions(t);
        w.setFixedSize(height * 582 / 2261, height);
        w.setMouseTracking(true); // as the form creates it
    }
    static QPoint over(int x, int y, int height) { return QPoint(x * height / 2260, y * height / 2260); }
    static void moveTo(QWidget &w, const QPoint &pos)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(pos), w.mapToGlobal(QPointF(pos)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(&w, &e);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QSqlDatabase db = TestSupport::openFixtureCatalogue(m_dir.path());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("INSERT INTO rckeys (Rcid, RCTypeId, Name, ID, Nkey) "
                                      "VALUES ('0000000a', 3, 'K', '0014', 10)")));
    }

    void doubleClickEdges_data()
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

    }
    void doubleClickEdges()
    {
        QFETCH(int, height);
        QFETCH(int, px);
        QFETCH(int, py);
        QFETCH(bool, hit);
        QMainMouseMoveCatchWidget w;
        layout(w, height);
        QCOMPARE(w.height(), height);
        QTest::mouseDClick(&w, Qt::LeftButton, Qt::NoModifier, QPoint(px, py));
        QCOMPARE(w.assignRequest, hit);
        QCOMPARE(w.selectedKey, hit ? 10 : -10);
    }

    void anyButtonAndShiftLayer_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<int>("expected");
        QTest::addRow("left") << int(Qt::LeftButton) << false << 10;
        QTest::addRow("right") << int(Qt::RightButton) << false << 10;
        QTest::addRow("middle, shift") << int(Qt::MiddleButton) << true << 66;
    }
    void anyButtonAndShiftLayer()
    {
        QFETCH(int, button);
        QFETCH(bool, shift);
        QFETCH(int, expected);
        QMainMouseMoveCatchWidget w;
        layout(w, 700);
        w.shift = shift;
        QTest::mouseDClick(&w, Qt::MouseButton(button), Qt::NoModifier, over(300, 1000, 700));
        QVERIFY(w.assignRequest);
        QCOMPARE(w.selectedKey, expected);
    }

    void transmitPressAndRelease()
    {
        QMainMouseMoveCatchWidget w;
        layout(w, 700);
        w.transmitMode = true;
        w.rcid = QStringLiteral("0000000a");
        w.rcTypeId = 3;
        QTest::mousePress(&w, Qt::RightButton, Qt::NoModifier, over(300, 1000, 700));
        QVERIFY(w.keyPressed);
        QCOMPARE(w.selectedKey, 10);
        QVERIFY(!w.sendRequest);
        QTest::mouseRelease(&w, Qt::RightButton, Qt::NoModifier, over(300, 1000, 700));
        QVERIFY(!w.keyPressed);
        QVERIFY(w.sendRequest);

        // Another type: the model has no row, nothing is held.
        QMainMouseMoveCatchWidget v;
        layout(v, 700);
        v.transmitMode = true;
        v.rcid = QStringLiteral("0000000a");
        v.rcTypeId = 2;
        QTest::mousePress(&v, Qt::LeftButton, Qt::NoModifier, over(300, 1000, 700));
        QVERIFY(!v.keyPressed);
        QTest::mouseRelease(&v, Qt::LeftButton, Qt::NoModifier, over(300, 1000, 700));
        QVERIFY(!v.sendRequest);
    }

    void cursorFollowsKeys()
    {
        QMainMouseMoveCatchWidget w;
        layout(w, 700);
        moveTo(w, over(300, 1000, 700));
        QCOMPARE(w.cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(w.selectedKey, 10);
        moveTo(w, over(100, 100, 700));
        QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(w.selectedKey, 10);
        w.busy = true;
        moveTo(w, over(300, 1000, 700));
        QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
    }
};

QTEST_MAIN(TestKeyPictureWidget)
#include "tst_keypicturewidget.moc"
