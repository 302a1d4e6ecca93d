#include "ir/CaptureStore.h"
#include "ir/LeadInTable.h"
#include "ir/Message.h"

#include <QtTest>

#include <memory>

class TestMessage : public QObject
{
    Q_OBJECT

private:
    static std::unique_ptr<CaptureStore> storeWithLeadIn(int r0, int r1, int r2)
    {
        auto store = std::make_unique<CaptureStore>();
        store->captureDurations[0][0] = r0;
        store->captureDurations[0][1] = r1;
        store->captureDurations[0][2] = r2;
        return store;
    }

private slots:
    void tableShape()
    {
        const auto &rows = LeadInTable::rows();
        QCOMPARE(int(rows.size()), 108);
        for (const LeadIn &row : rows) {
            QVERIFY(row.mark > 0);
            QVERIFY(row.space < 0);
            QVERIFY(row.mark2 > 0);
            QVERIFY(row.gap > 0);
            // Count-only rows close by count, every other row by gap alone.
            QCOMPARE(row.gap == LeadInTable::kCountOnlyGap, row.countLimit != LeadInTable::kNoCountLimit);
        }
        QCOMPARE(rows[0].mark, 9000);
        QCOMPARE(rows[48].countLimit, 37.5f);
        QCOMPARE(rows[107].space, -79);
    }

    // The windows are open: 10 % + 50 us on the first mark and the space,
    // 15 % + 50 us on the second mark; everything else is left alone on a miss.
    void matchLeadIn_data()
    {
        QTest::addColumn<int>("r0");
        QTest::addColumn<int>("r1");
        QTest::addColumn<int>("r2");
        QTest::addColumn<bool>("matched");

        // Lead-in 9000, -4500, 560: mark in (8050, 9950), space in (-5000, -4000),
        // mark2 in (426, 694).
        QTest::addRow("centre") << 9000 << -4520 << 560 << true;
        QTest::addRow("mark at lower bound") << 8050 << -4520 << 560 << false;
        QTest::addRow("mark just inside lower") << 8051 << -4520 << 560 << true;
        QTest::addRow("mark at upper bound") << 9950 << -4520 << 560 << false;
        QTest::addRow("mark just inside upper") << 9949 << -4520 << 560 << true;
        QTest::addRow("space at long bound") << 9000 << -5000 << 560 << false;
        QTest::addRow("space just inside long") << 9000 << -4999 << 560 << true;
        QTest::addRow("space at short bound") << 9000 << -4000 << 560 << false;
        QTest::addRow("space just inside short") << 9000 << -4001 << 560 << true;
        QTest::addRow("space given as positive") << 9000 << 4500 << 560 << false;
        QTest::addRow("mark2 at lower bound") << 9000 << -4520 << 426 << false;
        QTest::addRow("mark2 just inside lower") << 9000 << -4520 << 427 << true;
        QTest::addRow("mark2 at upper bound") << 9000 << -4520 << 694 << false;
        QTest::addRow("mark2 just inside upper") << 9000 << -4520 << 693 << true;
    }

    void matchLeadIn()
    {
        QFETCH(int, r0);
        QFETCH(int, r1);
        QFETCH(int, r2);
        QFETCH(bool, matched);
        auto store = storeWithLeadIn(r0, r1, r2);
        store->gapThreshold = 1234;
        store->messageLengthLimit = 5678;
        store->leadInMatched = !matched;
        Message::matchLeadIn(*store, 9000, -4500, 560, 10000, 37.5f);
        QCOMPARE(store->leadInMatched, matched);
        QCOMPARE(store->gapThreshold, matched ? 10000 : 1234);
        QCOMPARE(store->messageLengthLimit, matched ? 37 : 5678);
    }

    void selectFrameGap_data()
    {
        QTest::addColumn<int>("r0");
        QTest::addColumn<int>("r1");
        QTest::addColumn<int>("r2");
        QTest::addColumn<bool>("matched");
        QTest::addColumn<int>("gap");
        QTest::addColumn<int>("limit");

        QTest::addRow("NEC lead-in, row 1") << 9000 << -4520 << 560 << true << 10001 << 1000000;
        // Also inside row 2's windows, but row 1 comes first.
        QTest::addRow("first match wins") << 8600 << -4120 << 640 << true << 10001 << 1000000;
        QTest::addRow("RC5 lead-in, row 17") << 880 << -900 << 880 << true << 10001 << 1000000;
        QTest::addRow("count limit 12") << 20 << -28000 << 20 << true << 1000000001 << 12;
        QTest::addRow("count limit 37.5 truncated") << 7500 << -4020 << 400 << true << 1000000001 << 37;
        QTest::addRow("count limit 5.5 truncated") << 8340 << -1660 << 1660 << true << 1000000001 << 5;
        QTest::addRow("count limit 97.5 truncated") << 40 << -2420 << 40 << true << 1000000001 << 97;
        QTest::addRow("no row") << 3000 << -3000 << 3000 << false << 7001 << 1000000;
        QTest::addRow("empty row 0") << 0 << 0 << 0 << false << 7001 << 1000000;
    }

    void selectFrameGap()
    {
        QFETCH(int, r0);
        QFETCH(int, r1);
        QFETCH(int, r2);
        QFETCH(bool, matched);
        QFETCH(int, gap);
        QFETCH(int, limit);
        auto store = storeWithLeadIn(r0, r1, r2);
        Message::selectFrameGap(*store);
        QCOMPARE(store->leadInMatched, matched);
        QCOMPARE(store->gapThreshold, gap);
        QCOMPARE(store->messageLengthLimit, limit);
    }

    void clearCaptureZeroesEveryRow()
    {
        auto store = std::make_unique<CaptureStore>();
        for (int n = 0; n < CaptureStore::kMessages; ++n)
            for (int k = 0; k < CaptureStore::kRowLength; ++k)
                store->captureDurations[n][k] = n * 1000 + k + 1;
        const unsigned generation = store->generation;
        Message::clearCapture(*store);
        for (int n = 0; n < CaptureStore::kMessages; ++n)
            for (int k = 0; k < CaptureStore::kRowLength; ++k)
                QCOMPARE(store->captureDurations[n][k], 0);
        QCOMPARE(store->generation, generation + 1);
    }

    void invertBits_data()
    {
        QTest::addColumn<QString>("bits");
        QTest::addColumn<QString>("inverted");
        QTest::addRow("stray character dropped") << "10x1" << "010";
        QTest::addRow("empty") << "" << "";
        QTest::addRow("all ones") << "1111" << "0000";
        QTest::addRow("hex digits dropped") << "0A1F0" << "101";
    }

    void invertBits()
    {
        QFETCH(QString, bits);
        QFETCH(QString, inverted);
        QCOMPARE(Message::invertBits(bits), inverted);
    }
};

QTEST_GUILESS_MAIN(TestMessage)
#include "tst_message.moc"
