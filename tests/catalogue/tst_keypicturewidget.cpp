// The picture widget under real mouse events: double clicks, presses,
// releases and moves reach the gesture flags at the widget's own height.
#include "PictureEdgeRows.h"
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

    void doubleClickEdges_data() { addPictureEdgeRows(); }
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

    void transmitPressAndRelease_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("held");
        QTest::addRow("key the model has, right button") << 3 << int(Qt::RightButton) << true;
        QTest::addRow("other type: no row, nothing held") << 2 << int(Qt::LeftButton) << false;
    }
    void transmitPressAndRelease()
    {
        QFETCH(int, type);
        QFETCH(int, button);
        QFETCH(bool, held);
        QMainMouseMoveCatchWidget w;
        layout(w, 700);
        w.transmitMode = true;
        w.rcid = QStringLiteral("0000000a");
        w.rcTypeId = type;
        QTest::mousePress(&w, Qt::MouseButton(button), Qt::NoModifier, over(300, 1000, 700));
        QCOMPARE(w.keyPressed, held);
        QCOMPARE(w.selectedKey, 10);
        QVERIFY(!w.sendRequest);
        QTest::mouseRelease(&w, Qt::MouseButton(button), Qt::NoModifier, over(300, 1000, 700));
        QVERIFY(!w.keyPressed);
        QCOMPARE(w.sendRequest, held);
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
