// Key presses of our own making through the whole receive path without a
// window: receiver reports, capture rules, message closing by ticks on the
// signal's time line, recognition and resolution.
#include "IrPresses.h"

#include "usb/sim/ReceivePath.h"

#include <QtTest>

using namespace IrPresses;

class TestReceivePath : public QObject
{
    Q_OBJECT

private slots:
    void press_data()
    {
        QTest::addColumn<QVector<int>>("durations");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QVector<int>>("ids");
        QTest::addColumn<int>("restarts");

        QTest::addRow("sony 12 bit, three frames") << sonyPress(21, 1) << sonyCode(21, 1) << QVector<int>{39, 39, 39}
                                                  << 0;
        QTest::addRow("sony 12 bit, other key") << sonyPress(18, 1) << sonyCode(18, 1) << QVector<int>{39, 39, 39}
                                               << 0;
        QTest::addRow("sony 12 bit, one frame") << sonyPress(21, 1, 1) << sonyCode(21, 1) << QVector<int>{39} << 0;
        QTest::addRow("rc5, three frames") << rc5Press(5, 12) << rc5Code(5, 12) << QVector<int>{23, 23, 23} << 0;
        QTest::addRow("rc5, other key") << rc5Press(5, 13) << rc5Code(5, 13) << QVector<int>{23, 23, 23} << 0;
        QTest::addRow("rc5, five frames") << rc5Press(0, 1, 5) << rc5Code(0, 1) << QVector<int>{23, 23, 23, 23, 23}
                                         << 0;
        QTest::addRow("noise") << noise(60) << QStringLiteral("UNKNOWN") << QVector<int>{-1} << 0;
        // A message of two durations that ends in a gap is dropped as noise;
        // the frames after it are messages 0, 1 and 2.
        QTest::addRow("glitch before the press") << (QVector<int>{560, -560, -30000} << sonyPress(21, 1))
                                                 << sonyCode(21, 1) << QVector<int>{39, 39, 39} << 0;
        // Without a gap after it, the window closes it after the pause.
        QTest::addRow("glitch alone") << QVector<int>{560, -560, 560, -500000} << QStringLiteral("UNKNOWN")
                                      << QVector<int>{-1} << 0;
        // The silence is quantised on the receiver's 20 us grid first:
        // 300009 us is 300000 (no restart), 300010 is 300020 (restart).
        QTest::addRow("silence of 300009 us: one capture")
            << joined(rc5Press(5, 12, 2), 300009, sonyPress(21, 1)) << QStringLiteral("UNKNOWN")
            << QVector<int>{23, 23, 39, 39, 39} << 0;
        QTest::addRow("silence of 300010 us: a new capture")
            << joined(rc5Press(5, 12, 2), 300010, sonyPress(21, 1)) << sonyCode(21, 1) << QVector<int>{39, 39, 39}
            << 1;
        QTest::addRow("silence of a second: a new capture")
            << joined(sonyPress(18, 1), 1000000, rc5Press(5, 12, 2)) << rc5Code(5, 12) << QVector<int>{23, 23} << 1;
    }
    void press()
    {
        QFETCH(QVector<int>, durations);
        QFETCH(QString, code);
        QFETCH(QVector<int>, ids);
        QFETCH(int, restarts);
        ReceivePath path;
        const ReceivedPress got = path.run(durations);
        QCOMPARE(got.keyCode, code);
        QCOMPARE(got.recognizerIds, ids);
        QCOMPARE(got.restarts, restarts);
        QCOMPARE(got.messageNanoseconds.size(), got.messages);
    }

    // Where the window's ticks fall against the signal changes nothing here.
    void tickPhase_data()
    {
        QTest::addColumn<int>("phase");
        for (int phase : {0, 1, 12500, 25000, 49999, 50000})
            QTest::addRow("%d us", phase) << phase;
    }
    void tickPhase()
    {
        QFETCH(int, phase);
        ReceivePath path;
        QCOMPARE(path.run(sonyPress(21, 1), phase).keyCode, sonyCode(21, 1));
        QCOMPARE(path.run(rc5Press(5, 12), phase).keyCode, rc5Code(5, 12));
    }

    // One path object serves press after press: nothing of one is left for
    // the next.
    void pressesAreIndependent()
    {
        ReceivePath path;
        QCOMPARE(path.run(sonyPress(21, 1)).keyCode, sonyCode(21, 1));
        const ReceivedPress noisy = path.run(noise(60));
        QCOMPARE(noisy.keyCode, QStringLiteral("UNKNOWN"));
        QCOMPARE(path.run(rc5Press(5, 12)).recognizerIds, (QVector<int>{23, 23, 23}));
    }

    void emptyPress()
    {
        ReceivePath path;
        const ReceivedPress got = path.run({-500000});
        QCOMPARE(got.keyCode, QStringLiteral("UNKNOWN"));
        QVERIFY(got.recognizerIds.isEmpty());
        QCOMPARE(got.messages, 0);
    }
};

QTEST_GUILESS_MAIN(TestReceivePath)
#include "tst_receivepath.moc"
