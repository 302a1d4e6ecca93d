#include "ir/CaptureStore.h"

#include <QRandomGenerator>
#include <QVector>
#include <QtTest>

#include <memory>

namespace {

// A script entry of kTick is one tick of the window; anything else is a
// duration in microseconds as the receiver decoded it.
constexpr int kTick = -1;

using Script = QVector<int>;
using Handed = QVector<QVector<int>>; // each: message number, then its row up to the terminating 0

// count durations alternating a 2000 us mark and a 1000 us space (a lead-in
// that matches no table row, so messages close on gaps above 7001 us).
Script alt(int count)
{
    Script s;
    for (int i = 0; i < count; ++i)
        s << (i % 2 == 0 ? 2000 : 1000);
    return s;
}

Script ticks(int count)
{
    return Script(count, kTick);
}

// The row the store keeps for raw durations: marks as they are, spaces
// negative and 20 us longer, then the terminating 0; prefixed by n.
QVector<int> row(int n, const Script &raw)
{
    QVector<int> r{n};
    for (int k = 0; k < raw.size(); ++k)
        r << (k % 2 == 0 ? raw[k] : -(raw[k] + 20));
    r << 0;
    return r;
}

QVector<int> rowPrefix(int n, const int *entries)
{
    QVector<int> r{n};
    for (int k = 0; k < CaptureStore::kRowLength; ++k) {
        r << entries[k];
        if (entries[k] == 0)
            break;
    }
    return r;
}

Handed run(CaptureStore &store, const Script &script)
{
    Handed handed;
    for (int e : script) {
        if (e == kTick)
            store.tick([&](int n) { handed << rowPrefix(n, store.captureSnapshot[n]); });
        else
            store.appendDurations(&e, 1);
    }
    return handed;
}

} // namespace

class TestCaptureStore : public QObject
{
    Q_OBJECT

private slots:
    void startValues()
    {
        auto store = std::make_unique<CaptureStore>();
        const CaptureStore::Counters c = store->counters();
        QCOMPARE(c.messageCount, 0);
        QCOMPARE(c.processedCount, 0);
        QCOMPARE(c.quietTicks, 1000);
        QCOMPARE(c.gapThreshold, 20000);
        QCOMPARE(c.messageLengthLimit, 1000000);
        for (int n = 0; n < CaptureStore::kMessages; ++n) {
            QCOMPARE(store->messageRecognizerId[n], -1);
            QVERIFY(store->messageAddressText[n].isEmpty());
        }
        // Nothing is closed by ticks before the first duration.
        QVERIFY(run(*store, ticks(20)).isEmpty());
        QCOMPARE(store->counters().messageCount, 0);
    }

    void closing_data()
    {
        QTest::addColumn<Script>("script");
        QTest::addColumn<Handed>("handed");
        QTest::addColumn<int>("messageCount");
        QTest::addColumn<int>("gapThreshold");

        QTest::addRow("gap close") << alt(4) + Script{8000} + ticks(1) << Handed{row(0, alt(4))} << 1 << 7001;
        QTest::addRow("gap must exceed the threshold")
            << alt(4) + Script{7001} + alt(1) + Script{7002} + ticks(1)
            << Handed{row(0, alt(4) + Script{2000})} << 1 << 7001;
        QTest::addRow("three durations are a message") << alt(3) + Script{8000} + ticks(1)
                                                       << Handed{row(0, alt(3))} << 1 << 7001;
        QTest::addRow("two durations are dropped") << alt(2) + Script{30000} + ticks(10) << Handed{} << 0 << 20000;
        QTest::addRow("one duration is dropped") << alt(1) + Script{30000} + ticks(10) << Handed{} << 0 << 20000;
        QTest::addRow("dropped row is reused")
            << alt(2) + Script{30000} + alt(5) + Script{8000} + ticks(1) << Handed{row(0, alt(5))} << 1 << 7001;
        QTest::addRow("duration equal to the start threshold is skipped")
            << Script{2000, 20000, 1000, 2000, 1000, 8000} + ticks(1) << Handed{row(0, alt(4))} << 1 << 7001;
        QTest::addRow("20020 closes under the start threshold")
            << Script{2000, 20020} + ticks(10) << Handed{} << 0 << 20000;
        // 220, -2920, 220 is the lead-in of a 20000 us gap: the threshold becomes
        // 20001, which is neither stored nor closes; 20020 closes.
        QTest::addRow("lead-in with 20000 gap")
            << Script{220, 2900, 220, 1000, 20001, 1000, 20020} + ticks(1)
            << Handed{row(0, Script{220, 2900, 220, 1000, 1000})} << 1 << 20001;
        QTest::addRow("NEC lead-in closes above 10001")
            << Script{9000, 4500, 560, 560, 560, 10000, 560, 10020} + ticks(1)
            << Handed{QVector<int>{0, 9000, -4520, 560, -580, 560, -10020, 560, 0}} << 1 << 10001;
        QTest::addRow("131st stored, 132nd starts the next message as a mark")
            << alt(132) + ticks(5) << Handed{row(0, alt(131)), QVector<int>{1, 1000, 0}} << 2 << 7001;
        // 460, -9300, 460 closes by count only: 22 durations a message.
        QTest::addRow("count limit from the lead-in")
            << Script{460, 9280, 460} + Script(19, 500) + Script{30000, 600, 700} + ticks(5)
            << Handed{row(0, Script{460, 9280, 460} + Script(19, 500)), row(1, Script{30000, 600, 700})} << 2
            << 1000000001;
        QTest::addRow("no pause close at the fourth tick") << alt(60) + ticks(4) << Handed{} << 0 << 7001;
        QTest::addRow("pause close at the fifth tick") << alt(60) + ticks(5) << Handed{row(0, alt(60))} << 1 << 7001;
        QTest::addRow("pause close fires once") << alt(60) + ticks(40) << Handed{row(0, alt(60))} << 1 << 7001;
        QTest::addRow("after a pause close the next message starts at entry 0")
            << alt(60) + ticks(5) + alt(3) + Script{8000} + ticks(1) << Handed{row(0, alt(60)), row(1, alt(3))} << 2
            << 7001;
        QTest::addRow("no empty message after a pause close and a gap")
            << alt(60) + ticks(5) + Script{8000} + ticks(10) << Handed{row(0, alt(60))} << 1 << 7001;
        QTest::addRow("no pause close of an empty message after a gap")
            << alt(4) + Script{8000} + ticks(10) << Handed{row(0, alt(4))} << 1 << 7001;
        QTest::addRow("dropped message is not pause closed")
            << alt(4) + Script{8000} + alt(2) + Script{8000} + ticks(10) << Handed{row(0, alt(4))} << 1 << 7001;
        QTest::addRow("gap close racing a pause keeps the order")
            << alt(4) + ticks(4) + Script{8000} + ticks(1) + alt(3) + Script{8000} + ticks(1)
            << Handed{row(0, alt(4)), row(1, alt(3))} << 2 << 7001;
        QTest::addRow("long pause restarts the capture")
            << alt(4) + Script{8000} + ticks(1) + Script{300020} + alt(5) + Script{8000} + ticks(1)
            << Handed{row(0, alt(4)), row(0, alt(5))} << 1 << 7001;
        QTest::addRow("300000 is a gap, not a restart")
            << alt(4) + Script{8000} + ticks(1) + alt(5) + Script{300000} + ticks(1)
            << Handed{row(0, alt(4)), row(1, alt(5))} << 2 << 7001;
        QTest::addRow("long pause drops the open message")
            << alt(4) + Script{8000} + alt(7) + Script{300020} + ticks(10) << Handed{} << 0 << 20000;
        QTest::addRow("largest duration restarts the capture")
            << alt(4) + Script{8000, 65535 * 20} + alt(3) + Script{8000} + ticks(1) << Handed{row(0, alt(3))} << 1
            << 7001;
        QTest::addRow("zero durations are ignored")
            << Script{2000, 0, 1000, 0, 2000, 0} + Script{8000} + ticks(1) << Handed{row(0, alt(3))} << 1 << 7001;

        Script twelve;
        Handed ten;
        for (int i = 0; i < 12; ++i) {
            twelve += alt(4 + i) + Script{8000};
            if (i < 10)
                ten << row(i, alt(4 + i));
        }
        QTest::addRow("full at ten messages") << twelve + alt(60) + ticks(10) << ten << 10 << 7001;
        QTest::addRow("full store restarts on a long pause")
            << twelve + ticks(1) + Script{300020} + alt(3) + Script{8000} + ticks(1) << ten + Handed{row(0, alt(3))}
            << 1 << 7001;
    }

    void closing()
    {
        QFETCH(Script, script);
        QFETCH(Handed, handed);
        QFETCH(int, messageCount);
        QFETCH(int, gapThreshold);
        auto store = std::make_unique<CaptureStore>();
        QCOMPARE(run(*store, script), handed);
        const CaptureStore::Counters c = store->counters();
        QCOMPARE(c.messageCount, messageCount);
        QCOMPARE(c.processedCount, messageCount);
        QCOMPARE(c.gapThreshold, gapThreshold);
    }

    void droppedMessageLeavesItsRowEmpty()
    {
        auto store = std::make_unique<CaptureStore>();
        run(*store, alt(4) + Script{8000, 2000, 1000, 8000});
        QCOMPARE(store->captureDurations[1][0], 0);
        QCOMPARE(store->captureDurations[1][1], 0);
        QCOMPARE(store->captureDurations[1][2], 0);
        QCOMPARE(store->counters().quietTicks, 5);
    }

    // The window's results of an old capture go when a new capture is handed
    // on, and its copies of the old rows with them.
    void newCaptureResetsTheWindowSide()
    {
        auto store = std::make_unique<CaptureStore>();
        run(*store, alt(4) + Script{8000} + alt(6) + Script{8000});
        store->tick([&](int n) {
            store->messageRecognizerId[n] = 100 + n;
            store->messageAddressText[n] = QStringLiteral("0101");
            store->messageCommandText[n] = QStringLiteral("1100");
        });
        QCOMPARE(store->messageRecognizerId[1], 101);
        run(*store, Script{400000} + alt(3) + Script{8000});
        int seen = 0;
        store->tick([&](int n) {
            ++seen;
            QCOMPARE(n, 0);
            QCOMPARE(store->messageRecognizerId[0], -1);
            QCOMPARE(store->messageRecognizerId[1], -1);
            QVERIFY(store->messageAddressText[1].isEmpty());
            QVERIFY(store->messageCommandText[0].isEmpty());
            QCOMPARE(store->captureSnapshot[0][3], 0); // the new row has three durations
            QCOMPARE(store->captureSnapshot[1][0], 0); // the old row 1 is gone
        });
        QCOMPARE(seen, 1);
    }

    // A receiver that keeps starting captures while the window works cannot
    // keep one tick going for ever.
    void oneTickHandsOnAtMostTenMessages()
    {
        auto store = std::make_unique<CaptureStore>();
        const Script burst = Script{400000} + alt(4) + Script{8000};
        run(*store, burst);
        const int handed = store->tick([&](int) { store->appendDurations(burst.constData(), burst.size()); });
        QCOMPARE(handed, CaptureStore::kMessages);
    }

    // Random durations, including 0, the largest value and exact thresholds:
    // every row stays inside its bounds and ends in 0, counters stay in range.
    void randomDurationsStayBounded()
    {
        auto store = std::make_unique<CaptureStore>();
        QRandomGenerator rng(4711);
        const int specials[] = {0, 20, 7000, 7001, 7020, 20000, 20020, 300000, 300020, 65535 * 20};
        for (int round = 0; round < 200000; ++round) {
            const int pick = rng.bounded(20);
            int d;
            if (pick == 0)
                d = specials[rng.bounded(int(std::size(specials)))];
            else if (pick < 4)
                d = rng.bounded(65536) * 20;
            else
                d = 20 * (1 + rng.bounded(400));
            store->appendDurations(&d, 1);
            if (rng.bounded(8) == 0) {
                const int handed = store->tick([&](int n) {
                    QVERIFY(n >= 0 && n < CaptureStore::kMessages);
                    int len = 0;
                    while (store->captureSnapshot[n][len] != 0)
                        ++len;
                    QVERIFY(len <= CaptureStore::kMaxDurations);
                });
                QVERIFY(handed <= CaptureStore::kMessages);
            }
            const CaptureStore::Counters c = store->counters();
            QVERIFY(c.messageCount >= 0 && c.messageCount <= CaptureStore::kMessages);
            QVERIFY(c.processedCount >= 0 && c.processedCount <= c.messageCount);
            QVERIFY(c.idx >= 0 && c.idx <= CaptureStore::kMaxDurations);
        }
        for (int n = 0; n < CaptureStore::kMessages; ++n)
            for (int k = CaptureStore::kMaxDurations + 1; k < CaptureStore::kRowLength; ++k)
                QCOMPARE(store->captureDurations[n][k], 0);
    }
};

QTEST_GUILESS_MAIN(TestCaptureStore)
#include "tst_capturestore.moc"
