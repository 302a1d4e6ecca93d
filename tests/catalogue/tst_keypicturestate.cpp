// Gestures on the remote-type picture: which key a double click, press or move
// picks at a given picture height, and the flags the key timer reads.
#include "PictureEdgeRows.h"
#include "TestSupport.h"

#include "catalogue/KeyPictureState.h"

#include <QSqlQuery>
#include <QtTest>

class TestKeyPictureState : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

    // Key 10 at (300, 1000) in both layers (66 is its shift twin on type 3).
    static KeyPositionTable layout()
    {
        KeyPositionTable t;
        t.set(10, KeyPosition{300, 1000, 0});
        t.set(66, KeyPosition{300, 1000, 1});
        t.set(11, KeyPosition{420, 1000, 0});
        return t;
    }
    // A point in pixels over key 10 (or 11) for a picture H pixels high.
    static QPoint over(int x, int y, int height) { return QPoint(x * height / 2260, y * height / 2260); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = TestSupport::openFixtureCatalogue(m_dir.path());
        QSqlQuery q(m_db);
        // The model 'ab''cd01' (a quote in it) has key 10 of type 3 only.
        q.prepare(QStringLiteral("INSERT INTO rckeys (Rcid, RCTypeId, Name, ID, Nkey) VALUES (?,3,'K','0014',10)"));
        q.addBindValue(QStringLiteral("ab'cd01"));
        QVERIFY(q.exec());
    }

    void startValues()
    {
        KeyPictureState s;
        QVERIFY(!s.assignRequest && !s.keyPressed && !s.sendRequest && !s.busy && !s.transmitMode && !s.shift);
        QCOMPARE(s.selectedKey, -10);
        QCOMPARE(s.rcTypeId, 0);
        QVERIFY(s.rcid.isEmpty());
        QCOMPARE(s.keyPositions.count(), 0);
    }

    void doubleClickEdges_data() { addPictureEdgeRows(); }
    void doubleClickEdges()
    {
        QFETCH(int, height);
        QFETCH(int, px);
        QFETCH(int, py);
        QFETCH(bool, hit);
        KeyPictureState s;
        s.keyPositions.set(10, KeyPosition{300, 1000, 0});
        s.selectedKey = 3; // left from an earlier move
        s.doubleClick(QPoint(px, py), height);
        QCOMPARE(s.assignRequest, hit);
        QCOMPARE(s.selectedKey, hit ? 10 : -10);
    }

    void doubleClickLayers_data()
    {
        QTest::addColumn<bool>("shift");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("expected");
        QTest::addRow("normal layer") << false << 300 << 10;
        QTest::addRow("shift layer") << true << 300 << 66;
        QTest::addRow("shift layer, key without twin") << true << 420 << -10;
        QTest::addRow("normal layer, second key") << false << 420 << 11;
    }
    void doubleClickLayers()
    {
        QFETCH(bool, shift);
        QFETCH(int, x);
        QFETCH(int, expected);
        KeyPictureState s;
        s.keyPositions = layout();
        s.shift = shift;
        s.doubleClick(over(x, 1000, 900), 900);
        QCOMPARE(s.selectedKey, expected);
        QCOMPARE(s.assignRequest, expected >= 0);
    }

    void doubleClickIgnored_data()
    {
        QTest::addColumn<bool>("busy");
        QTest::addColumn<bool>("transmit");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("selectedAfter");
        QTest::addRow("factory model") << true << false << 900 << 5;
        QTest::addRow("transmit mode") << false << true << 900 << 5;
        QTest::addRow("no picture height") << false << false << 0 << -10;
    }
    void doubleClickIgnored()
    {
        QFETCH(bool, busy);
        QFETCH(bool, transmit);
        QFETCH(int, height);
        QFETCH(int, selectedAfter);
        KeyPictureState s;
        s.keyPositions = layout();
        s.selectedKey = 5;
        s.busy = busy;
        s.transmitMode = transmit;
        s.doubleClick(over(300, 1000, 900), height);
        QVERIFY(!s.assignRequest);
        QCOMPARE(s.selectedKey, selectedAfter);
    }

    void newLayoutLacksOldKey()
    {
        KeyPictureState s;
        s.keyPositions = layout();
        s.hover(over(300, 1000, 900), 900, m_db);
        QCOMPARE(s.selectedKey, 10);
        s.doubleClick(over(300, 1000, 900), 900);
        QVERIFY(s.assignRequest);

        // The next type has only key 11: the pending request dies with the old
        // layout and the old key's place selects nothing.
        KeyPositionTable next;
        next.set(11, KeyPosition{420, 1000, 0});
        s.setKeyPositions(next);
        QVERIFY(!s.assignRequest);
        QCOMPARE(s.selectedKey, -10);
        s.doubleClick(over(300, 1000, 900), 900);
        QVERIFY(!s.assignRequest);
        QCOMPARE(s.selectedKey, -10);
        QCOMPARE(s.hover(over(300, 1000, 900), 900, m_db), KeyPictureState::Cursor::Arrow);
        QCOMPARE(s.selectedKey, -10);
    }

    void newLayoutKeepsHeldKey()
    {
        KeyPictureState s;
        s.keyPositions = layout();
        s.transmitMode = true;
        s.rcid = QStringLiteral("ab'cd01");
        s.rcTypeId = 3;
        s.press(over(300, 1000, 900), 900, m_db);
        QVERIFY(s.keyPressed);
        s.setKeyPositions(KeyPositionTable());
        QCOMPARE(s.selectedKey, 10);
        s.release();
        QVERIFY(!s.keyPressed);
        QVERIFY(s.sendRequest);
    }

    void transmitPress_data()
    {
        QTest::addColumn<QString>("rcid");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("x");
        QTest::addColumn<bool>("transmit");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("pressed");
        QTest::addRow("key the model has") << "ab'cd01" << 3 << 300 << true << 10 << true;
        QTest::addRow("key the model lacks") << "ab'cd01" << 3 << 420 << true << 11 << false;
        QTest::addRow("other type") << "ab'cd01" << 2 << 300 << true << 10 << false;
        QTest::addRow("no model") << "" << 3 << 300 << true << 10 << false;
        QTest::addRow("outside transmit mode") << "ab'cd01" << 3 << 300 << false << 5 << false;
        QTest::addRow("beside every key") << "ab'cd01" << 3 << 360 << true << -10 << false;
    }
    void transmitPress()
    {
        QFETCH(QString, rcid);
        QFETCH(int, type);
        QFETCH(int, x);
        QFETCH(bool, transmit);
        QFETCH(int, selected);
        QFETCH(bool, pressed);
        KeyPictureState s;
        s.keyPositions = layout();
        s.transmitMode = transmit;
        s.busy = true; // plays no part in transmit mode
        s.rcid = rcid;
        s.rcTypeId = type;
        s.selectedKey = 5;
        s.press(over(x, 1000, 900), 900, m_db);
        QCOMPARE(s.selectedKey, selected);
        QCOMPARE(s.keyPressed, pressed);
        s.release();
        QVERIFY(!s.keyPressed);
        QCOMPARE(s.sendRequest, pressed); // a release without a press does nothing
    }

    void moveCursor_data()
    {
        QTest::addColumn<bool>("transmit");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<int>("x");
        QTest::addColumn<bool>("hand");
        QTest::addColumn<int>("selected");
        QTest::addRow("own model, key") << false << false << 300 << true << 10;
        QTest::addRow("factory model, key") << false << true << 300 << false << 10;
        QTest::addRow("own model, no key") << false << false << 360 << false << 7;
        QTest::addRow("transmit, key the model has") << true << true << 300 << true << 10;
        QTest::addRow("transmit, key the model lacks") << true << false << 420 << false << 11;
        QTest::addRow("transmit, no key") << true << false << 360 << false << 7;
    }
    void moveCursor()
    {
        QFETCH(bool, transmit);
        QFETCH(bool, busy);
        QFETCH(int, x);
        QFETCH(bool, hand);
        QFETCH(int, selected);
        KeyPictureState s;
        s.keyPositions = layout();
        s.transmitMode = transmit;
        s.busy = busy;
        s.rcid = QStringLiteral("ab'cd01");
        s.rcTypeId = 3;
        s.selectedKey = 7;
        const KeyPictureState::Cursor c = s.hover(over(x, 1000, 900), 900, m_db);
        QCOMPARE(c, hand ? KeyPictureState::Cursor::PointingHand : KeyPictureState::Cursor::Arrow);
        QCOMPARE(s.selectedKey, selected);
    }

    void moveDoesNotRedirectPendingGesture()
    {
        KeyPictureState s;
        s.keyPositions = layout();
        s.doubleClick(over(300, 1000, 900), 900);
        QVERIFY(s.assignRequest);
        s.hover(over(420, 1000, 900), 900, m_db);
        QCOMPARE(s.selectedKey, 10);

        KeyPictureState t;
        t.keyPositions = layout();
        t.transmitMode = true;
        t.rcid = QStringLiteral("ab'cd01");
        t.rcTypeId = 3;
        t.press(over(300, 1000, 900), 900, m_db);
        QVERIFY(t.keyPressed);
        t.hover(over(420, 1000, 900), 900, m_db);
        QCOMPARE(t.selectedKey, 10);
    }
};

QTEST_GUILESS_MAIN(TestKeyPictureState)
#include "tst_keypicturestate.moc"
