// The duration-class stages tried after the last modulated candidate, their
// results, and what recognition leaves in the store when they decide.
#include "ir/CaptureStore.h"
#include "ir/Protocol.h"

#include <QVector>
#include <QtTest>

#include <climits>
#include <memory>

namespace {

struct Cells
{
    Protocol::CellBuffer values;
};

// A message row as the store holds it: the values, then zeros to its end.
QVector<int> row(const QVector<int> &values)
{
    QVector<int> r(CaptureStore::kRowLength, 0);
    std::copy(values.begin(), values.end(), r.begin());
    return r;
}

QVector<int> upToZero(const QVector<int> &r)
{
    return r.mid(0, r.indexOf(0) + 1);
}

// A four-cell position frame: header (three mark cells, three space cells,
// one mark cell), then per two-bit value a group of four cells with its mark
// at that position. Runs of equal cells become one duration of 320 us per
// cell, as the receiver sees them; the message ends with its last mark.
QVector<int> positionFrame(const QVector<int> &positions)
{
    QVector<int> cells{1, 1, 1, -1, -1, -1, 1};
    for (const int p : positions) {
        for (int c = 0; c < 4; ++c)
            cells << (c == p ? 1 : -1);
    }
    while (!cells.isEmpty() && cells.last() < 0)
        cells.removeLast();
    QVector<int> durations;
    for (int k = 0; k < cells.size();) {
        int n = 1;
        while (k + n < cells.size() && cells[k + n] == cells[k])
            ++n;
        durations << cells[k] * 320 * n;
        k += n;
    }
    return durations;
}

QString stagePattern(int groups)
{
    QString p = QStringLiteral("HHHHHHH");
    for (int g = 0; g < groups; ++g)
        p += g % 2 == 0 ? QStringLiteral("CCCC") : QStringLiteral("cccc");
    return p;
}

} // namespace

class TestProtocolStages : public QObject
{
    Q_OBJECT

private slots:
    // Every stage in its order, through runStages as recognition calls it.
    void stages_data()
    {
        QTest::addColumn<QVector<int>>("message");
        QTest::addColumn<int>("recognizerId");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("span");
        QTest::addColumn<QString>("pattern");

        const QString runPattern = QStringLiteral("CcCcCcCc");
        QTest::addRow("1640: four bits padded to eight")
            << QVector<int>{1640, -1640, 3280} << 635 << "10110000" << 14000 << runPattern;
        QTest::addRow("1640: six bits") << QVector<int>{3280, -1640, 4920} << 635 << "11011100" << 14000
                                        << runPattern;
        QTest::addRow("1640: exactly eight bits") << QVector<int>{4920, -3280, 4920} << 635 << "11100111" << 14000
                                                  << runPattern;
        QTest::addRow("1640: eight one-unit durations")
            << QVector<int>{1640, -1640, 1640, -1640, 1640, -1640, 1640, -1640} << 635 << "10101010" << 14000
            << runPattern;
        QTest::addRow("1640: classes are inclusive") << QVector<int>{1341, -1939, 10139} << 635 << "10111111"
                                                     << 14000 << runPattern;
        QTest::addRow("1640: extreme value ends the stage")
            << QVector<int>{1640, INT_MIN, 1640} << -1 << "" << 100000 << "";
        // Nine bits: no stage takes it.
        QTest::addRow("1640: nine bits") << QVector<int>{4920, -3280, 4920, -1640} << -1 << "" << 100000 << "";
        // A space of six units has no class.
        QTest::addRow("1640: six-unit space") << QVector<int>{1640, -9840, 1640} << -1 << "" << 100000 << "";
        QTest::addRow("1640: just outside a class") << QVector<int>{1340, -1640, 1640} << -1 << "" << 100000 << "";
        QTest::addRow("1110 after 1640 failed") << QVector<int>{1110, -1110, 2220} << 634 << "10110000" << 10000
                                                << runPattern;
        QTest::addRow("1110: six-unit mark") << QVector<int>{6660, -2220} << 634 << "11111100" << 10000
                                             << runPattern;

        QVector<int> allOnes(16, 3);
        QTest::addRow("position code: every mark last") << positionFrame(allOnes) << 548 << QString(32, '1')
                                                        << 30000 << stagePattern(16);
        const QVector<int> mixed{0, 1, 2, 3, 3, 2, 1, 0, 0, 0, 3, 3, 1, 1, 2, 2};
        QTest::addRow("position code: two bits per group")
            << positionFrame(mixed) << 548 << "00011011111001000000111101011010" << 30000 << stagePattern(16);

        // 2 + 8 units of header, then 19 one-unit durations: 29 units.
        QVector<int> units{1662, -6648};
        for (int k = 0; k < 19; ++k)
            units << (k % 2 == 0 ? 831 : -831);
        QTest::addRow("unit count: 29 units") << units << 97 << "1100000000" + QString("1010101010101010101")
                                              << 30000 << QString("CcCcCcCcCcCcCcCcCcCcCcCcCcCcC");
        QVector<int> short28 = units;
        short28.removeLast();
        QTest::addRow("unit count: 28 units") << short28 << -1 << "" << 100000 << "";
        QTest::addRow("nothing at all") << QVector<int>{560, -560, 560} << -1 << "" << 100000 << "";
    }

    void stages()
    {
        QFETCH(QVector<int>, message);
        QFETCH(int, recognizerId);
        QFETCH(QString, command);
        QFETCH(int, span);
        QFETCH(QString, pattern);

        QVector<int> r = row(message);
        auto cells = std::make_unique<Cells>();
        FrameResult result;
        result.addressText = QStringLiteral("left by the chain");
        int slot = -1;
        Protocol::runStages(r.data(), r.size(), cells->values, result, slot);
        QCOMPARE(slot, recognizerId);
        QCOMPARE(result.commandText, command);
        QVERIFY(result.addressText.isEmpty());
        QCOMPARE(result.span, span);
        QCOMPARE(result.labelPattern, pattern);
    }

    // Stage 3 rewrites the row as one entry per cell, letter for letter with
    // its pattern; 640 becomes two cells, -1920 six.
    void positionCodeRewritesRow()
    {
        QVector<int> positions;
        for (int g = 0; g < 16; ++g)
            positions << (g % 2 == 0 ? 0 : 3);
        QVector<int> r = row(positionFrame(positions));
        QVERIFY(r.contains(-1920)); // mark first, then a group with its mark last
        QVERIFY(r.contains(640));   // mark last, then a group with its mark first
        auto cells = std::make_unique<Cells>();
        FrameResult result;
        int slot = -1;
        QVERIFY(Protocol::positionCodeStage(r.data(), r.size(), cells->values, result, slot));
        const QVector<int> rewritten = upToZero(r);
        QCOMPARE(rewritten.size() - 1, 71);
        QCOMPARE(rewritten.size() - 1, result.labelPattern.size());
        for (int k = 0; k < 71; ++k)
            QCOMPARE(qAbs(rewritten[k]), 320);
    }

    // The last group's mark in its first cell: the message ends at cell 67
    // and the preset cells give the group its three spaces.
    void positionCodeThroughPresets()
    {
        QVector<int> positions(16, 2);
        positions.last() = 0;
        QVector<int> r = row(positionFrame(positions));
        auto cells = std::make_unique<Cells>();
        FrameResult result;
        int slot = -1;
        QVERIFY(Protocol::positionCodeStage(r.data(), r.size(), cells->values, result, slot));
        QCOMPARE(slot, 548);
        QVERIFY(result.commandText.endsWith(QLatin1String("1000")));
        QCOMPARE(r.mid(67, 5), (QVector<int>{320, -320, -320, -320, 0}));
    }

    // Regression: the cells an earlier candidate left in the buffer are not
    // part of this message. A message of only a header used to match by
    // reading a whole frame's groups from the stale buffer.
    void positionCodeIgnoresStaleCells()
    {
        auto cells = std::make_unique<Cells>();
        FrameResult result;
        int slot = -1;
        // Marks first: the last group's mark is cell 67, below the presets.
        QVector<int> full = row(positionFrame(QVector<int>(16, 0)));
        QVERIFY(Protocol::positionCodeStage(full.data(), full.size(), cells->values, result, slot));

        // Leave the previous frame's cells in the buffer, as a normaliser
        // would leave its own.
        QVector<int> headerOnly = row({960, -960, 320});
        slot = -1;
        QVERIFY(!Protocol::positionCodeStage(headerOnly.data(), headerOnly.size(), cells->values, result, slot));
        QCOMPARE(slot, -1);
        QCOMPARE(upToZero(headerOnly), (QVector<int>{960, -960, 320, 0}));
    }

    // More than 71 cells: the groups past the sixteenth are not read, and
    // the rewritten row still ends with its 0 after cell 70.
    void positionCodeLongMessageIsTerminated()
    {
        QVector<int> message = positionFrame(QVector<int>(16, 3));
        message << -960 << 960 << -960 << 960;
        QVector<int> r = row(message);
        auto cells = std::make_unique<Cells>();
        FrameResult result;
        int slot = -1;
        QVERIFY(Protocol::positionCodeStage(r.data(), r.size(), cells->values, result, slot));
        QCOMPARE(r[71], 0);
    }

    void positionCodeBroken_data()
    {
        QTest::addColumn<QVector<int>>("message");
        QVector<int> frame = positionFrame(QVector<int>(16, 1));
        QVector<int> longSpace = frame;
        longSpace[1] = -2100; // stays one cell
        QTest::addRow("space of -2100") << longSpace;
        QVector<int> shortMark = frame;
        shortMark[0] = 800; // 790..810 is one cell of 800
        QTest::addRow("mark of 800") << shortMark;
        QVector<int> twoMarks = frame;
        twoMarks[3] = 640; // group 0: a second mark cell
        QTest::addRow("two marks in a group") << twoMarks;
    }
    void positionCodeBroken()
    {
        QFETCH(QVector<int>, message);
        QVector<int> r = row(message);
        const QVector<int> before = r;
        auto cells = std::make_unique<Cells>();
        FrameResult result;
        int slot = -1;
        QVERIFY(!Protocol::positionCodeStage(r.data(), r.size(), cells->values, result, slot));
        QCOMPARE(r, before);
    }

    void unitCount_data()
    {
        QTest::addColumn<QVector<int>>("message");
        QTest::addColumn<bool>("matched");
        QTest::addColumn<QVector<int>>("rewritten"); // up to the 0

        QVector<int> units{1662, -6648};
        QVector<int> cells{831, 831, -831, -831, -831, -831, -831, -831, -831, -831};
        for (int k = 0; k < 19; ++k) {
            units << (k % 2 == 0 ? 831 : -831);
            cells << (k % 2 == 0 ? 831 : -831);
        }
        QTest::addRow("29 units") << units << true << (cells + QVector<int>{0});

        // A mark under 631 us gives no unit and no cell.
        QVector<int> withShort{1662, -6648};
        for (int k = 0; k < 18; ++k)
            withShort << (k % 2 == 0 ? 831 : -831);
        withShort << 500 << -831;
        QVector<int> shortCells = cells.mid(0, 28);
        shortCells << -831 << 0;
        QTest::addRow("short mark counts nothing") << withShort << true << shortCells;

        // 30 durations fail whatever their units add up to.
        QVector<int> thirty{1662, -6648};
        for (int k = 0; k < 18; ++k)
            thirty << (k % 2 == 0 ? 831 : -831);
        for (int k = 0; k < 10; ++k)
            thirty << (k % 2 == 0 ? 300 : -300);
        thirty[19] = -1662; // 2 units: still 29 in all
        QTest::addRow("30 durations") << thirty << false << QVector<int>{};
        QTest::addRow("wrong header") << QVector<int>{1662, -6400, 831} << false << QVector<int>{};
        // One duration of millions of units stops the count at once.
        QTest::addRow("extreme duration") << QVector<int>{1662, -6648, INT_MAX} << false << QVector<int>{};
    }
    void unitCount()
    {
        QFETCH(QVector<int>, message);
        QFETCH(bool, matched);
        QFETCH(QVector<int>, rewritten);
        QVector<int> r = row(message);
        const QVector<int> before = r;
        auto cells = std::make_unique<Cells>();
        FrameResult result;
        int slot = -1;
        QCOMPARE(Protocol::unitCountStage(r.data(), r.size(), cells->values, result, slot), matched);
        if (matched) {
            QCOMPARE(slot, 97);
            QCOMPARE(upToZero(r), rewritten);
            QCOMPARE(result.commandText.size(), 29);
        } else {
            QCOMPARE(slot, -1);
            QCOMPARE(r, before);
        }
    }

    // A row without a 0 in all its values is too long for stage 4 and read no
    // further than its end by the others.
    void rowWithoutTerminator()
    {
        QVector<int> r(CaptureStore::kRowLength, 0);
        for (int k = 0; k < r.size(); ++k)
            r[k] = k % 2 == 0 ? 1640 : -1640;
        r[0] = 1662;
        r[1] = -6648;
        auto cells = std::make_unique<Cells>();
        FrameResult result;
        int slot = -1;
        Protocol::runStages(r.data(), r.size(), cells->values, result, slot);
        QCOMPARE(slot, -1);
        QCOMPARE(result.span, Protocol::kNoMatchSpan);
    }

    // What recognition leaves in the store for each receive mode; the
    // non-modulated set never reaches the stages.
    void recognizeFrameStores_data()
    {
        QTest::addColumn<bool>("modulated");
        QTest::addColumn<int>("recognizerId");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("span");
        QTest::addRow("modulated") << true << 635 << "10110000" << 14000;
        QTest::addRow("non-modulated") << false << -1 << "" << 100000;
    }
    void recognizeFrameStores()
    {
        QFETCH(bool, modulated);
        QFETCH(int, recognizerId);
        QFETCH(QString, command);
        QFETCH(int, span);
        auto store = std::make_unique<CaptureStore>();
        const QVector<int> r = row({1640, -1640, 3280});
        std::copy(r.begin(), r.end(), store->captureSnapshot[4]);
        store->messageAddressText[4] = QStringLiteral("old");
        store->messageCommandText[4] = QStringLiteral("old");
        Protocol protocol;
        const FrameResult result = protocol.recognizeFrame(
            *store, 4, modulated ? ReceiveMode::Modulated : ReceiveMode::NonModulated);
        QCOMPARE(store->messageRecognizerId[4], recognizerId);
        QCOMPARE(store->messageCommandText[4], command);
        QVERIFY(store->messageAddressText[4].isEmpty());
        QCOMPARE(store->messageSpan, span);
        QCOMPARE(result.commandText, command);
        QCOMPARE(result.labelPattern.isEmpty(), recognizerId == -1);
    }
};

QTEST_APPLESS_MAIN(TestProtocolStages)
#include "tst_protocolstages.moc"
