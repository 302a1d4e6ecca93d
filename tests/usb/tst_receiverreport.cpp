#include "usb/ReceiverReport.h"

#include <QRandomGenerator>
#include <QVector>
#include <QtTest>

#include <array>

using Payload = std::array<std::uint8_t, ReceiverReport::kPayloadSize>;
Q_DECLARE_METATYPE(Payload)

class TestReceiverReport : public QObject
{
    Q_OBJECT

private:
    static QVector<int> decoded(const Payload &payload)
    {
        const ReceiverDurations d = ReceiverReport::decode(payload.data());
        return QVector<int>(d.values.begin(), d.values.begin() + d.count);
    }

private slots:
    void decode_data()
    {
        QTest::addColumn<Payload>("payload");
        QTest::addColumn<QVector<int>>("durations");

        QTest::addRow("two single bytes, zero padding")
            << Payload{0x2D, 0x4B, 0, 0, 0, 0, 0, 0} << QVector<int>{900, 1500};
        QTest::addRow("escape") << Payload{0xFF, 0x01, 0xC2, 0, 0, 0, 0, 0} << QVector<int>{9000};
        QTest::addRow("all zero") << Payload{} << QVector<int>{};
        QTest::addRow("eight single bytes")
            << Payload{1, 2, 3, 4, 5, 6, 7, 0xFE} << QVector<int>{20, 40, 60, 80, 100, 120, 140, 5080};
        QTest::addRow("zeros between durations are skipped")
            << Payload{0x01, 0, 0x02, 0, 0, 0x03, 0, 0} << QVector<int>{20, 40, 60};
        QTest::addRow("largest escape") << Payload{0xFF, 0xFF, 0xFF, 0x10, 0, 0, 0, 0}
                                        << QVector<int>{65535 * 20, 320};
        QTest::addRow("escape of zero gives nothing") << Payload{0xFF, 0, 0, 0x05, 0, 0, 0, 0} << QVector<int>{100};
        QTest::addRow("escape of small value") << Payload{0xFF, 0, 1, 0, 0, 0, 0, 0} << QVector<int>{20};
        QTest::addRow("0xFF as an escape value byte")
            << Payload{0xFF, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0, 0} << QVector<int>{0xFF00 * 20, 0x00FF * 20};
        QTest::addRow("escape ending on the last byte")
            << Payload{0x10, 0x10, 0x10, 0x10, 0x10, 0xFF, 0x03, 0xE8} << QVector<int>{320, 320, 320, 320, 320, 20000};
        QTest::addRow("escape at position 7 is incomplete")
            << Payload{0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0xFF, 0x01} << QVector<int>{320, 340, 360, 380, 400, 420};
        QTest::addRow("escape at position 8 is incomplete")
            << Payload{0x10, 0, 0, 0, 0, 0, 0, 0xFF} << QVector<int>{320};
        QTest::addRow("two escapes") << Payload{0xFF, 0x02, 0x00, 0xFF, 0x00, 0x20, 0x21, 0}
                                     << QVector<int>{512 * 20, 32 * 20, 33 * 20};
    }

    void decode()
    {
        QFETCH(Payload, payload);
        QFETCH(QVector<int>, durations);
        QCOMPARE(decoded(payload), durations);
    }

    // Any bytes at all: at most eight durations, each a positive multiple of
    // 20 us within the 16-bit range, and never a read past the payload (the
    // payload sits at the end of a heap block so a sanitizer build sees it).
    void randomBytesStayBounded()
    {
        QRandomGenerator rng(20240611);
        for (int round = 0; round < 20000; ++round) {
            auto block = std::make_unique<std::uint8_t[]>(ReceiverReport::kPayloadSize);
            for (int i = 0; i < ReceiverReport::kPayloadSize; ++i)
                block[i] = static_cast<std::uint8_t>(rng.bounded(4) == 0 ? 0xFF : rng.bounded(256));
            const ReceiverDurations d = ReceiverReport::decode(block.get());
            QVERIFY(d.count >= 0 && d.count <= ReceiverReport::kPayloadSize);
            for (int i = 0; i < d.count; ++i) {
                QVERIFY(d.values[i] >= 20 && d.values[i] <= 65535 * 20);
                QCOMPARE(d.values[i] % 20, 0);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestReceiverReport)
#include "tst_receiverreport.moc"
