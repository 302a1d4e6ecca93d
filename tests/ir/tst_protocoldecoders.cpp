// The timing-template decoders: per family a match, number tokens and data
// symbols just inside and just outside their windows, leftover values,
// letter runs and constant bits, malformed templates, and buffers that end
// where a walk would go on.
#include "ir/Protocol.h"

#include <QVector>
#include <QtTest>

#include <climits>

Q_DECLARE_METATYPE(DecoderKind)

namespace {

constexpr int kId = 42;

// Timings in each family's argument order.
const QVector<int> kPd = {579, -1650, 579, -550};                                      // 1 = long space
const QVector<int> kS4 = {150, -6050, 150, -4500, 150, -2950, 150, -1400};             // 11 10 01 00
const QVector<int> kS8 = {-260, 170, -330, 170, -405, 170, -480, 170,
                          -550, 170, -620, 170, -690, 170, -765, 170};                  // space first
const QVector<int> kFp = {10, -300, 10, -200, 10, -300, 10, -100,
                          10, -100, 10, -200, 10, -100, 10, -100};                      // 11 10 01 00
const QVector<int> kMx = {605, -2300, 605, 605, -1750, 605, -550,
                          605, -1150, 605, -1150, 605, -550, 605, -1750};               // 11 (3 values) 10 01 00
const QVector<int> kSp4 = {188, -1020, 188, -1820, 188, -520, 188, -1470};             // 1 0, four values each
const QVector<int> kS3 = {727, -2800, 727, -2800, 727, -6327};                         // 1 = four values, 0 = a pair
const QVector<int> kBp = {528, -480, -480, 528};                                       // 1 = mark first

QVector<int> hexTimings()
{
    QVector<int> t;
    for (int digit = 0; digit < 16; ++digit)
        t << 200 << -(780 + 136 * digit);
    return t;
}

// A message row as the store holds it: the values, then zeros to its end.
QVector<int> row(QVector<int> values)
{
    values.resize(values.size() + 8);
    return values;
}

QString decodeAny(DecoderKind kind, int &slot, const QVector<int> &timings, int tolA, int tolB,
                  const QByteArray &tpl, const QVector<int> &values)
{
    const std::string_view text(tpl.constData(), static_cast<std::size_t>(tpl.size()));
    // The biphase and mixed decoders read the float cell buffer.
    if (kind == DecoderKind::Biphase || kind == DecoderKind::Mixed) {
        const QVector<float> cells(values.begin(), values.end());
        return Protocol::decode(kind, slot, kId, cells.constData(), cells.size(), timings.constData(), tolA, tolB,
                                text);
    }
    return Protocol::decode(kind, slot, kId, values.constData(), values.size(), timings.constData(), tolA, tolB,
                            text);
}

} // namespace

class TestProtocolDecoders : public QObject
{
    Q_OBJECT

private slots:
    void decode_data()
    {
        QTest::addColumn<DecoderKind>("kind");
        QTest::addColumn<QVector<int>>("timings");
        QTest::addColumn<int>("tolA");
        QTest::addColumn<int>("tolB");
        QTest::addColumn<QByteArray>("tpl");
        QTest::addColumn<QVector<int>>("values"); // the exact buffer handed over
        QTest::addColumn<bool>("matched");
        QTest::addColumn<QString>("bits");
        using K = DecoderKind;
        const K pd = K::PulseDistance;

        // ---- pulse distance
        QTest::addRow("pd: header, data, stop mark")
            << pd << kPd << 500 << 200 << QByteArray("9000,-4500,bbbb,579")
            << row({9000, -4500, 579, -1650, 579, -550, 579, -550, 579, -1650, 579}) << true << "1001";
        QTest::addRow("pd: header only matches with no bits")
            << pd << kPd << 500 << 200 << QByteArray("9000,-4500,550") << row({9000, -4500, 550}) << true << "";
        QTest::addRow("pd: leftover values fail")
            << pd << kPd << 500 << 200 << QByteArray("9000,-4500,550") << row({9000, -4500, 550, -560, 560})
            << false << "";
        QTest::addRow("pd: mark just inside") << pd << kPd << 500 << 200 << QByteArray("9000,-4500,550")
                                              << row({9499, -4001, 550}) << true << "";
        QTest::addRow("pd: mark at the window's edge") << pd << kPd << 500 << 200 << QByteArray("9000,-4500,550")
                                                       << row({9500, -4000, 550}) << false << "";
        // The space is judged on mark + space: 8700 + 4800 = 13500.
        QTest::addRow("pd: space on the period") << pd << kPd << 500 << 200 << QByteArray("9000,-4500,550")
                                                 << row({8700, -4800, 550}) << true << "";
        QTest::addRow("pd: period just inside") << pd << kPd << 500 << 200 << QByteArray("9000,-4500,550")
                                                << row({9000, -4999, 550}) << true << "";
        QTest::addRow("pd: period at the window's edge") << pd << kPd << 500 << 200
                                                         << QByteArray("9000,-4500,550") << row({9000, -5000, 550})
                                                         << false << "";
        QTest::addRow("pd: symbol mark just inside") << pd << kPd << 500 << 200 << QByteArray("bb,579")
                                                     << row({778, -1650, 380, -550, 579}) << true << "10";
        QTest::addRow("pd: symbol mark at the edge") << pd << kPd << 500 << 200 << QByteArray("bb,579")
                                                     << row({779, -1650, 579, -550, 579}) << false << "";
        QTest::addRow("pd: symbol space at the edge") << pd << kPd << 500 << 200 << QByteArray("bb,579")
                                                      << row({579, -1850, 579, -550, 579}) << false << "";
        // Spaces of 1 and 0 overlap around -1100 with a wide tolB: "1" is tried first.
        QTest::addRow("pd: overlapping symbols, the first wins")
            << pd << QVector<int>{579, -1000, 579, -1100} << 500 << 200 << QByteArray("b,579")
            << row({579, -1050, 579}) << true << "1";
        QTest::addRow("pd: o and z are constant bits")
            << pd << QVector<int>{1200, -600, 600, -600} << 250 << 200 << QByteArray("2400,-600,bbb,1200,o")
            << row({2400, -600, 1200, -600, 600, -600, 1200, -600, 1200}) << true << "1011";
        QTest::addRow("pd: z alone is a zero bit")
            << pd << QVector<int>{1200, -600, 600, -600} << 250 << 200 << QByteArray("2400,-600,b,600,z")
            << row({2400, -600, 1200, -600, 600}) << true << "10";
        QTest::addRow("pd: number token trimmed") << pd << kPd << 200 << 200 << QByteArray("3901,-886, 1515,-886")
                                                  << row({3901, -886, 1515, -886}) << true << "";
        QTest::addRow("pd: zero token fails") << pd << kPd << 500 << 200 << QByteArray("9000,0,550")
                                              << row({9000, -4500, 550}) << false << "";
        QTest::addRow("pd: text token reads 0 and fails") << pd << kPd << 500 << 200 << QByteArray("9000,x1,550")
                                                          << row({9000, -4500, 550}) << false << "";
        QTest::addRow("pd: template ending in a comma") << pd << kPd << 500 << 200 << QByteArray("9000,-4500,550,")
                                                        << row({9000, -4500, 550}) << false << "";
        QTest::addRow("pd: empty template") << pd << kPd << 500 << 200 << QByteArray() << row({}) << false << "";
        // ",550" becomes one token that reads as 0.
        QTest::addRow("pd: doubled comma") << pd << kPd << 500 << 200 << QByteArray("9000,,550")
                                           << row({9000, 0, 0}) << false << "";
        QTest::addRow("pd: a space first has no value before it") << pd << kPd << 500 << 200
                                                                   << QByteArray("-4500,550") << row({-4500, 550})
                                                                   << false << "";
        QTest::addRow("pd: 19 tokens are the most")
            << pd << kPd << 100 << 200 << QByteArray("1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1")
            << row(QVector<int>(19, 1)) << true << "";
        QTest::addRow("pd: 20 tokens fail") << pd << kPd << 100 << 200
                                            << QByteArray("1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1")
                                            << row(QVector<int>(20, 1)) << false << "";
        // Sums of extreme values do not overflow: INT_MAX - INT_MIN is the period.
        QTest::addRow("pd: extreme values") << pd << kPd << 1 << 200 << QByteArray("2147483647,-2147483648")
                                            << row({INT_MAX, INT_MIN}) << true << "";
        QTest::addRow("pd: number beyond an int reads 0") << pd << kPd << 500 << 200 << QByteArray("2147483648")
                                                          << row({INT_MAX}) << false << "";
        // A mark of 10 with tolA 1000 takes the row's terminating 0 and goes
        // on after it; the row's next 0 ends it.
        QTest::addRow("pd: window around 0 takes the terminator")
            << pd << QVector<int>{10, -14200, 10, -9500} << 1000 << 1000 << QByteArray("10,-28000,bb,10")
            << row({20, -28020, 20, -14220, 20, -9520}) << true << "10";
        QTest::addRow("pd: ... but never past the buffer")
            << pd << QVector<int>{10, -14200, 10, -9500} << 1000 << 1000 << QByteArray("10,-28000,bb,10")
            << QVector<int>{20, -28020, 20, -14220, 20, -9520, 0} << false << "";
        QTest::addRow("pd: symbol at the end of a buffer without 0")
            << pd << kPd << 500 << 200 << QByteArray("bb") << QVector<int>{579, -1650, 579} << false << "";
        QTest::addRow("pd: no 0 after the last value") << pd << kPd << 500 << 200 << QByteArray("9000,-4500,550")
                                                       << QVector<int>{9000, -4500, 550} << false << "";

        // ---- two bits per pair
        QTest::addRow("s4: match") << K::Symbols4 << kS4 << 250 << 250 << QByteArray("bbbb,150")
                                   << row({150, -6050, 150, -1400, 150, -4500, 150, -2950, 150}) << true
                                   << "11001001";
        QTest::addRow("s4: last mark just inside") << K::Symbols4 << kS4 << 250 << 250 << QByteArray("bb,150")
                                                   << row({150, -6050, 150, -6050, 399}) << true << "1111";
        QTest::addRow("s4: last mark at the edge") << K::Symbols4 << kS4 << 250 << 250 << QByteArray("bb,150")
                                                   << row({150, -6050, 150, -6050, 400}) << false << "";
        QTest::addRow("s4: symbol space at the edge") << K::Symbols4 << kS4 << 250 << 250 << QByteArray("bb,150")
                                                      << row({150, -6050, 150, -1650, 150}) << false << "";
        QTest::addRow("s4: leftover values fail") << K::Symbols4 << kS4 << 250 << 250 << QByteArray("bb,150")
                                                  << row({150, -6050, 150, -6050, 150, -1400}) << false << "";
        // No period rule: a space token is a window of its own.
        QTest::addRow("s4: space token is a plain window")
            << K::Symbols4 << kS4 << 250 << 250 << QByteArray("9000,-4500,bb,150")
            << row({9000, -4251, 150, -6050, 150, -6050, 150}) << true << "1111";
        // A letter run needs a second letter; a lone "o" is the number 0,
        // which here takes the row's terminator, and a lone "b" is 0 too.
        QTest::addRow("s4: lone o is a number") << K::Symbols4 << kS4 << 250 << 250 << QByteArray("bb,150,o")
                                                << row({150, -6050, 150, -6050, 150}) << true << "1111";
        QTest::addRow("s4: lone b is a number") << K::Symbols4 << kS4 << 250 << 250 << QByteArray("b")
                                                << row({-249}) << true << "";
        QTest::addRow("s4: z then a symbol") << K::Symbols4 << kS4 << 250 << 250 << QByteArray("zb,150")
                                             << row({150, -2950, 150}) << true << "001";
        QTest::addRow("s4: ending in a comma") << K::Symbols4 << kS4 << 250 << 250 << QByteArray("bb,150,")
                                               << row({150, -6050, 150, -6050, 150}) << false << "";

        QTest::addRow("s8: space-first octal") << K::Symbols8 << kS8 << 100 << 35 << QByteArray("430,bb")
                                               << row({430, -480, 170, -260, 170}) << true << "30";
        QTest::addRow("s8: symbol at the edge") << K::Symbols8 << kS8 << 100 << 35 << QByteArray("430,bb")
                                                << row({430, -480, 205, -260, 170}) << false << "";
        QTest::addRow("s16: hex digits") << K::Symbols16 << hexTimings() << 65 << 65 << QByteArray("bb,200")
                                         << row({200, -2140, 200, -2820, 200}) << true << "af";
        QTest::addRow("s16: just inside") << K::Symbols16 << hexTimings() << 65 << 65 << QByteArray("bb,200")
                                          << row({264, -716, 136, -780, 200}) << true << "00";

        // ---- groups of four and mixed groups
        QTest::addRow("fp: flash pairs") << K::FlashPairs << kFp << 50 << 50 << QByteArray("10,-400,bb,10")
                                         << row({10, -400, 10, -300, 10, -100, 10, -100, 10, -200, 10}) << true
                                         << "1001";
        QTest::addRow("fp: number token at the edge") << K::FlashPairs << kFp << 50 << 50
                                                      << QByteArray("10,-400,bb,10")
                                                      << row({10, -450, 10, -300, 10, -100, 10, -100, 10, -200, 10})
                                                      << false << "";
        QTest::addRow("sp4: pairs of pairs") << K::SymbolPairs4 << kSp4 << 250 << 200 << QByteArray("bb,188")
                                             << row({188, -520, 188, -1470, 188, -1020, 188, -1820, 188}) << true
                                             << "01";
        QTest::addRow("s3: four values or a pair") << K::Symbols3 << kS3 << 250 << 200 << QByteArray("bbb,727")
                                                   << row({727, -6327, 727, -2800, 727, -2800, 727, -6327, 727})
                                                   << true << "010";
        QTest::addRow("s3: leftover values fail") << K::Symbols3 << kS3 << 250 << 200 << QByteArray("bb,727")
                                                  << row({727, -6327, 727, -6327, 727, -2800}) << false << "";
        // The mixed decoder does not ask that every value is used.
        QTest::addRow("mx: leftover values still match")
            << K::Mixed << kMx << 250 << 200 << QByteArray("bb")
            << row({605, -2300, 605, 605, -550, 605, -1750, 999, -999}) << true << "1100";
        QTest::addRow("mx: three-value group then a four-value one")
            << K::Mixed << kMx << 250 << 200 << QByteArray("789,bb,605")
            << row({789, 605, -2300, 605, 605, -1150, 605, -1150, 605}) << true << "1101";

        // ---- biphase, on half cells
        QTest::addRow("bp: half cells") << K::Biphase << kBp << 250 << 200 << QByteArray("528,-2600,bbb")
                                        << row({528, -2600, 528, -480, -480, 528, 528, -480}) << true << "101";
        QTest::addRow("bp: number token just inside") << K::Biphase << kBp << 250 << 200
                                                      << QByteArray("528,-2600,b")
                                                      << row({528, -2351, 528, -480}) << true << "1";
        QTest::addRow("bp: number token at the edge") << K::Biphase << kBp << 250 << 200
                                                      << QByteArray("528,-2600,b") << row({528, -2350, 528, -480})
                                                      << false << "";
        QTest::addRow("bp: symbol at the edge") << K::Biphase << kBp << 250 << 200 << QByteArray("b")
                                                << row({528, -680}) << false << "";
        QTest::addRow("bp: lone o is a constant bit") << K::Biphase << kBp << 250 << 200 << QByteArray("b,o")
                                                      << row({-480, 528}) << true << "01";
        QTest::addRow("bp: leftover values fail") << K::Biphase << kBp << 250 << 200 << QByteArray("b")
                                                  << row({-480, 528, 528}) << false << "";
    }

    void decode()
    {
        QFETCH(DecoderKind, kind);
        QFETCH(QVector<int>, timings);
        QFETCH(int, tolA);
        QFETCH(int, tolB);
        QFETCH(QByteArray, tpl);
        QFETCH(QVector<int>, values);
        QFETCH(bool, matched);
        QFETCH(QString, bits);
        QCOMPARE(timings.size(), Protocol::symbolTimingCount(kind));

        int slot = 7;
        const QString result = decodeAny(kind, slot, timings, tolA, tolB, tpl, values);
        QCOMPARE(slot, matched ? kId : -1);
        QCOMPARE(result, bits);
    }

    // The decoder's outcome is the slot, never the text: a failed walk that
    // had already collected bits returns none.
    void failureDropsCollectedBits()
    {
        int slot = 0;
        const QVector<int> values = row({579, -1650, 579, -550, 1100});
        const QString bits = decodeAny(DecoderKind::PulseDistance, slot, kPd, 500, 200, "bb,579", values);
        QCOMPARE(slot, -1);
        QVERIFY(bits.isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestProtocolDecoders)
#include "tst_protocoldecoders.moc"
