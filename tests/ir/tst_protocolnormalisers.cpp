// The frame normalisers: splitting durations of two or three cell units into
// equal parts, the space that evens a frame, messages that do not fit the
// split area, and storing a normalised message back into its row.
#include "ir/Protocol.h"

#include <QVector>
#include <QtTest>

#include <climits>
#include <cmath>
#include <memory>

namespace {

constexpr float kUntouched = 7.0f;

struct Cells
{
    Protocol::CellBuffer values;
};

std::unique_ptr<Cells> filledCells()
{
    auto cells = std::make_unique<Cells>();
    std::fill(std::begin(cells->values), std::end(cells->values), kUntouched);
    return cells;
}

// The cells up to and including the first 0.
QVector<int> upToZero(const float *cells, int size)
{
    QVector<int> out;
    for (int k = 0; k < size; ++k) {
        out << static_cast<int>(cells[k]);
        if (cells[k] == 0.0f)
            break;
    }
    return out;
}

QVector<int> terminated(QVector<int> values)
{
    values << 0;
    return values;
}

} // namespace

class TestProtocolNormalisers : public QObject
{
    Q_OBJECT

private slots:
    void split_data()
    {
        QTest::addColumn<bool>("marksOnly");
        QTest::addColumn<QVector<int>>("row");
        QTest::addColumn<int>("rowStart");
        QTest::addColumn<int>("outStart");
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("tol");
        QTest::addColumn<QVector<int>>("cells"); // the first cells, up to the 0 that ends them

        QTest::addRow("doubles split in two") << false << QVector<int>{1000, -1000} << 0 << 0 << 500 << 200
                                              << QVector<int>{500, 500, -500, -500, 0};
        QTest::addRow("triples split in three, odd count gets a space")
            << false << QVector<int>{1500, -700, 700} << 0 << 0 << 500 << 200
            << QVector<int>{500, 500, 500, -700, 700, -500, 0};
        // Both windows are open: 1200 and -800 are not split.
        QTest::addRow("window edges stay whole") << false << QVector<int>{1200, -800} << 0 << 0 << 500 << 200
                                                 << QVector<int>{1200, -800, 0};
        QTest::addRow("even count ends with 0") << false << QVector<int>{528, -1000, 500} << 0 << 0 << 500 << 200
                                                << QVector<int>{528, -500, -500, 500, 0};
        QTest::addRow("odd count gets one unit of space") << false << QVector<int>{528, -1000} << 0 << 0 << 500
                                                          << 200 << QVector<int>{528, -500, -500, -500, 0};
        QTest::addRow("halves truncate toward zero") << false << QVector<int>{1001, -1001} << 0 << 0 << 500 << 200
                                                     << QVector<int>{500, 500, -500, -500, 0};
        // 700 lies in the double (350..850) and the triple (650..1150) window.
        QTest::addRow("double wins where windows overlap") << false << QVector<int>{700, -300} << 0 << 0 << 300
                                                           << 250 << QVector<int>{350, 350, -300, -300, 0};
        // The parity counts from index 0: one free cell, two halves, a space.
        QTest::addRow("out start 1") << false << QVector<int>{1000} << 0 << 1 << 500 << 200
                                     << QVector<int>{0, 500, 500, -500, 0};
        QTest::addRow("row start 2") << false << QVector<int>{9000, -4500, 1000, -500} << 2 << 0 << 500 << 200
                                     << QVector<int>{500, 500, -500, -500, 0};
        QTest::addRow("row start past the end") << false << QVector<int>{1000} << 2 << 0 << 500 << 200
                                                << QVector<int>{0};
        QTest::addRow("mark halves leave spaces whole") << true << QVector<int>{1000, -1000, 1500} << 0 << 0 << 500
                                                        << 200 << QVector<int>{500, 500, -1000, 500, 500, 500, 0};
        QTest::addRow("mark halves add no space") << true << QVector<int>{1000, -1000} << 0 << 0 << 500 << 200
                                                  << QVector<int>{500, 500, -1000, 0};
        // Whole, as floats (INT_MAX becomes 2^31).
        QTest::addRow("extreme durations") << false << QVector<int>{INT_MAX, INT_MIN} << 0 << 0 << 500 << 200
                                           << QVector<int>{INT_MIN, INT_MIN, 0};
    }

    void split()
    {
        QFETCH(bool, marksOnly);
        QFETCH(QVector<int>, row);
        QFETCH(int, rowStart);
        QFETCH(int, outStart);
        QFETCH(int, unit);
        QFETCH(int, tol);
        QFETCH(QVector<int>, cells);

        const QVector<int> message = terminated(row);
        auto out = filledCells();
        const bool fits = marksOnly ? Protocol::splitMarkHalves(message.constData(), message.size(), out->values,
                                                                rowStart, outStart, unit, tol)
                                    : Protocol::splitFrameHalves(message.constData(), message.size(), out->values,
                                                                 rowStart, outStart, unit, tol);
        QVERIFY(fits);
        QVector<int> written;
        for (int k = 0; k < cells.size(); ++k)
            written << static_cast<int>(std::abs(out->values[k]) >= 2147483648.0f ? INT_MIN : out->values[k]);
        QCOMPARE(written, cells);
        // The split area is cleared, the rest of the buffer is not touched.
        for (int k = cells.size(); k < Protocol::kSplitArea; ++k)
            QCOMPARE(out->values[k], 0.0f);
        QCOMPARE(out->values[Protocol::kSplitArea], kUntouched);
    }

    // A message that needs more than the split area (with its terminator) is
    // no match, and nothing is written past the area.
    void overlongMessage_data()
    {
        QTest::addColumn<bool>("marksOnly");
        QTest::addColumn<int>("durations"); // marks of `mark`, spaces of -1000
        QTest::addColumn<int>("mark");
        QTest::addColumn<bool>("fits");
        // Every duration splits in two: 99 give 198 cells and the 0.
        QTest::addRow("99 doubles fit") << false << 99 << 1000 << true;
        QTest::addRow("100 doubles leave no room for the 0") << false << 100 << 1000 << false;
        QTest::addRow("131 triples") << false << 131 << 1500 << false;
        // Spaces stay whole: 66 marks in two and 65 spaces make 197 cells.
        QTest::addRow("mark halves of 131 durations fit") << true << 131 << 1000 << true;
        QTest::addRow("mark thirds of 131 durations") << true << 131 << 1500 << false;
    }
    void overlongMessage()
    {
        QFETCH(bool, marksOnly);
        QFETCH(int, durations);
        QFETCH(int, mark);
        QFETCH(bool, fits);
        QVector<int> message;
        for (int k = 0; k < durations; ++k)
            message << (k % 2 == 0 ? mark : -1000);
        message = terminated(message);
        auto out = filledCells();
        const bool result = marksOnly ? Protocol::splitMarkHalves(message.constData(), message.size(), out->values,
                                                                  0, 0, 500, 200)
                                      : Protocol::splitFrameHalves(message.constData(), message.size(),
                                                                   out->values, 0, 0, 500, 200);
        QCOMPARE(result, fits);
        if (fits)
            QCOMPARE(upToZero(out->values, Protocol::kSplitArea).size() - 1, marksOnly ? 197 : 198);
        for (int k = Protocol::kSplitArea; k < Protocol::kCellBufferSize; ++k)
            QCOMPARE(out->values[k], kUntouched);
    }

    void rowWithoutTerminator()
    {
        const QVector<int> message{1000, -1000, 1000};
        auto out = filledCells();
        QVERIFY(!Protocol::splitFrameHalves(message.constData(), message.size(), out->values, 0, 0, 500, 200));
        QVERIFY(!Protocol::splitMarkHalves(message.constData(), message.size(), out->values, 0, 0, 500, 200));
    }

    void storeBack_data()
    {
        QTest::addColumn<QVector<float>>("values");
        QTest::addColumn<int>("rowSize");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QVector<int>>("row"); // the row afterwards

        // The row starts as 9, 9, 9, 9, 9, 9.
        QTest::addRow("truncated toward zero, rest kept")
            << QVector<float>{500.7f, -500.9f, 0.0f, 44.0f} << 6 << true << QVector<int>{500, -500, 0, 9, 9, 9};
        QTest::addRow("first value 0 empties the row")
            << QVector<float>{0.0f, 500.0f} << 6 << true << QVector<int>{0, 9, 9, 9, 9, 9};
        QTest::addRow("beyond an int is held at its ends")
            << QVector<float>{3e9f, -3e9f, 0.0f} << 6 << true << QVector<int>{INT_MAX, INT_MIN, 0, 9, 9, 9};
        QTest::addRow("no 0 in the values") << QVector<float>{1.0f, 2.0f, 3.0f} << 6 << false
                                            << QVector<int>{9, 9, 9, 9, 9, 9};
        // The 0 must land inside the row too.
        QTest::addRow("no room for the 0 in the row") << QVector<float>{1.0f, 2.0f, 3.0f, 0.0f} << 3 << false
                                                      << QVector<int>{9, 9, 9, 9, 9, 9};
    }
    void storeBack()
    {
        QFETCH(QVector<float>, values);
        QFETCH(int, rowSize);
        QFETCH(bool, stored);
        QFETCH(QVector<int>, row);
        QVector<int> target(6, 9);
        QCOMPARE(Protocol::storeNormalizedFrame(target.data(), rowSize, values.constData(), values.size()), stored);
        QCOMPARE(target, row);
    }
};

QTEST_APPLESS_MAIN(TestProtocolNormalisers)
#include "tst_protocolnormalisers.moc"
