// The key-code resolver on synthetic stores: the integer thresholds against
// their minimum-count tables, and cases of both groups at their boundaries.
#include "ir/CaptureStore.h"
#include "ir/Decode.h"
#include "ir/Protocol.h"
#include "ir/ProtocolResolver.h"

#include <QtTest>

#include <memory>

using namespace KeyCodeResolver;

namespace {

struct Frame
{
    int id;
    QString adr;
    QString cmd;
};

QString resolveFrames(const QVector<Frame> &frames, int n = -1)
{
    auto store = std::make_unique<CaptureStore>();
    for (int k = 0; k < frames.size(); ++k) {
        store->messageRecognizerId[k] = frames[k].id;
        store->messageAddressText[k] = frames[k].adr;
        store->messageCommandText[k] = frames[k].cmd;
    }
    return Protocol::resolveKeyCode(*store, n < 0 ? int(frames.size()) - 1 : n);
}

QString code(const char *prefix, const QString &bits)
{
    return QLatin1String(prefix) + Decode::encode(bits);
}

} // namespace

class TestProtocolResolver : public QObject
{
    Q_OBJECT

private slots:
    void thresholds_data()
    {
        QTest::addColumn<int>("threshold");
        QTest::addColumn<QVector<int>>("minimum"); // per n = 0..9, 0 = not applicable
        QTest::newRow("normal") << int(Threshold::Normal) << QVector<int>{1, 2, 3, 3, 4, 5, 5, 6, 7, 7};
        QTest::newRow("0.7 n") << int(Threshold::SevenTenthsOfN) << QVector<int>{0, 1, 2, 3, 3, 4, 5, 5, 6, 7};
        QTest::newRow("0.5") << int(Threshold::Half) << QVector<int>{1, 1, 2, 2, 3, 3, 4, 4, 5, 5};
        QTest::newRow("0.49") << int(Threshold::FortyNine) << QVector<int>{1, 1, 2, 2, 3, 3, 4, 4, 5, 5};
        QTest::newRow("0.4") << int(Threshold::TwoFifths) << QVector<int>{1, 1, 2, 2, 3, 3, 3, 4, 4, 5};
        QTest::newRow("three from third") << int(Threshold::ThreeFromThird)
                                          << QVector<int>{1, 2, 3, 3, 3, 3, 3, 3, 3, 3};
        QTest::newRow("at least two") << int(Threshold::AtLeastTwo) << QVector<int>{2, 2, 2, 2, 2, 2, 2, 2, 2, 2};
    }
    void thresholds()
    {
        QFETCH(int, threshold);
        QFETCH(QVector<int>, minimum);
        for (int n = 0; n < 10; ++n) {
            if (minimum[n] == 0)
                continue;
            QVERIFY2(reaches(Threshold(threshold), minimum[n], n), qPrintable(QString::number(n)));
            QVERIFY2(!reaches(Threshold(threshold), minimum[n] - 1, n), qPrintable(QString::number(n)));
        }
    }

    // A plain case at n = 9 (RecognizerId 5): 7 agreeing accept, 6 do not.
    void plainBoundary()
    {
        const Frame good{5, "101010", "110011"};
        const Frame bad{5, "101010", "110010"};
        QVector<Frame> frames(10, good);
        for (int k = 7; k < 10; ++k)
            frames[k] = bad;
        QCOMPARE(resolveFrames(frames), code("0052", "101010110011"));
        frames[6] = bad;
        QCOMPARE(resolveFrames(frames), QStringLiteral("UNKNOWN"));
    }

    void cases_data()
    {
        QTest::addColumn<QVector<Frame>>("frames");
        QTest::addColumn<QString>("expected");
        const QString a = "1100";
        const QString c = "0101";
        const QString c2 = "0110";
        QTest::newRow("201 alone") << QVector<Frame>{{201, a, c}} << code("2016", a + c);
        QTest::newRow("201 then repeat") << QVector<Frame>{{201, a, c}, {2, "", ""}} << code("2026", a + c);
        QTest::newRow("201 then other 201") << QVector<Frame>{{201, a, c}, {201, a, c2}} << QString("UNKNOWN");
        QTest::newRow("31 with repeats ends search")
            << QVector<Frame>{{31, a, c}, {69, "", ""}, {69, "", ""}} << QString("UNKNOWN");
        QTest::newRow("68 with repeats") << QVector<Frame>{{68, a, c}, {69, "", ""}, {69, "", ""}} << code("0685", a + c);
        QTest::newRow("215 at n=1") << QVector<Frame>{{215, a, c}, {215, a, c}} << QString("UNKNOWN");
        QTest::newRow("215a") << QVector<Frame>{{215, a, c}, {215, a, c}, {18, "", ""}} << code("0694", a + c);
        QTest::newRow("36 three of ten")
            << QVector<Frame>{{36, a, c}, {36, a, c}, {36, a, c}, {0, "", ""}, {0, "", ""}, {0, "", ""},
                              {0, "", ""}, {0, "", ""}, {0, "", ""}, {0, "", ""}}
            << code("0366", a + c);
        QTest::newRow("45 alone") << QVector<Frame>{{45, a, c}} << code("0452", c + "0");
        QTest::newRow("45 agreed") << QVector<Frame>{{45, a, c}, {45, a, c}} << code("0452", c + "1");
        QTest::newRow("16 alone gives 0714") << QVector<Frame>{{16, a, c}} << code("0714", "0" + a + c);
        QTest::newRow("13 starting 10 gives 2132") << QVector<Frame>{{13, a, "1011110000"}}
                                                   << code("2132", a + "101111000");
        QTest::newRow("13 starting 01 gives 0132") << QVector<Frame>{{13, a, "0111110000"}}
                                                   << code("0132", a + "01111100");
        QTest::newRow("78 two of five") << QVector<Frame>{{78, a, c}, {78, a, c}, {1, "", ""}, {1, "", ""}, {1, "", ""}}
                                        << QString("UNKNOWN");
        QTest::newRow("418 alone") << QVector<Frame>{{418, a, c}} << QString("UNKNOWN");
        QTest::newRow("418 second") << QVector<Frame>{{418, a, c}, {1, "", ""}} << code("4185", a + c);
        QTest::newRow("101 released") << QVector<Frame>{{101, a, c}, {101, a, "0000000"}} << code("3012", a + c);
        QTest::newRow("101 held") << QVector<Frame>{{101, a, c}, {101, a, "0000001"}} << code("1012", a + c);
        QTest::newRow("104 plain address later")
            << QVector<Frame>{{104, a, c}, {104, a, c}} << code("1072", a + c);
        QTest::newRow("104 alone") << QVector<Frame>{{104, a, c}} << code("1042", a + c);
        QTest::newRow("four frames 23/223")
            << QVector<Frame>{{23, a, c}, {223, a, c2}, {23, a, c}, {223, a, c2}}
            << code("3237", "0" + a + c + "1" + a + c2 + "0" + a + c + "1" + a + c2);
        QTest::newRow("84a at n=2")
            << QVector<Frame>{{84, "", "8123456789abcdef"}, {84, "", "fedcba98"}, {1, "", ""}}
            << code("0846", "1000000100100011010001010110011111111110110111001011101010011000");
        QTest::newRow("unrecognised") << QVector<Frame>{{-1, "", ""}} << QString("UNKNOWN");
    }
    void cases()
    {
        QFETCH(QVector<Frame>, frames);
        QFETCH(QString, expected);
        QCOMPARE(resolveFrames(frames), expected);
    }

    void numberReadings()
    {
        QCOMPARE(numberBits("f", 16, 8), QStringLiteral("00001111"));
        QCOMPARE(numberBits("1x", 16, 8), QStringLiteral("00000000"));
        QCOMPARE(numberBits("", 8, 4), QStringLiteral("0000"));
        QCOMPARE(numberBits("777", 8, 9), QStringLiteral("111111111"));
        QCOMPARE(hexDigitValue("b"), 11);
        QCOMPARE(hexDigitValue("bb"), 0);
    }
};

QTEST_GUILESS_MAIN(TestProtocolResolver)
#include "tst_protocolresolver.moc"
