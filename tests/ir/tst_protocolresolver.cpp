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

    // The special paths: each row gives the messages 0..n (or more, with n
    // named), the expected key code worked out from the case's rule, and
    // the case that ends the search ("" when none accepts).
    void specialPaths_data()
    {
        QTest::addColumn<QVector<Frame>>("frames");
        QTest::addColumn<int>("n"); // -1: the last frame given
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("endedBy");
        const QString unknown = QStringLiteral("UNKNOWN");
        const QString a = "1100";
        const QString b = "0011";
        const QString c = "0101";
        const QString d = "0110";
        const Frame none{-1, "", ""};

        // Long frames whose halves are complements: 13 address bits and
        // their inversion, 8 command bits and their inversion.
        const QString ah0 = "1100101011100";
        const QString ah1 = "0000111100001";
        const QString ah2 = "1010101010101";
        const QString ch0 = "10110010";
        const QString ch1 = "11110000";
        const QString ch2 = "00000001";
        const QString A0 = ah0 + "0011010100011";
        const QString A1 = ah1 + "1111000011110";
        const QString A2 = ah2 + "0101010101010";
        const QString C0 = ch0 + "01001101";
        const QString C1 = ch1 + "00001111";
        const QString C2 = ch2 + "11111110";
        const QString A1broken = ah1 + "1111000011111";
        // E2: a short frame, then three long ones repeating with period 3;
        // message 0 (id 20) is never counted, so n = 2 has only 2 of 3.
        QTest::newRow("E2 at n=2") << QVector<Frame>{{20, A0, C0}, {203, A1, C1}, {201, A2, C2}} << -1 << unknown
                                   << "";
        QTest::newRow("E2 fourth frame repeats message 0")
            << QVector<Frame>{{20, A0, C0}, {203, A1, C1}, {201, A2, C2}, {203, A0, C0}} << -1
            << code("2029", ah0 + ch0 + ah1 + ch1 + ah2 + ch2) << "E2";
        QTest::newRow("E2 message 1 not complementary")
            << QVector<Frame>{{20, A0, C0}, {203, A1broken, C1}, {201, A2, C2}, {203, A0, C0}} << -1 << unknown << "";
        QTest::newRow("E2 third id neither 203 nor 201")
            << QVector<Frame>{{20, A0, C0}, {203, A1, C1}, {2, A2, C2}, {203, A0, C0}} << -1 << unknown << "";
        // E3: two long frames alternating; message 0 counts itself.
        QTest::newRow("E3 at n=1 not entered") << QVector<Frame>{{203, A0, C0}, {201, A1, C1}} << -1 << unknown << "";
        QTest::newRow("E3 at n=2") << QVector<Frame>{{203, A0, C0}, {201, A1, C1}, {203, A0, C0}} << -1
                                   << code("2036", ah0 + ch0 + ah1 + ch1) << "E3";
        QTest::newRow("E3 third frame differs")
            << QVector<Frame>{{203, A0, C0}, {201, A1, C1}, {203, A0, C1 + "0"}} << -1 << unknown << "";
        QTest::newRow("E3 three of four") << QVector<Frame>{{203, A0, C0}, {203, A1, C1}, {203, A0, C0}, none}
                                          << -1 << code("2036", ah0 + ch0 + ah1 + ch1) << "E3";
        QTest::newRow("E3 message 0 not complementary")
            << QVector<Frame>{{203, A1broken, C0}, {201, A1, C1}, {203, A1broken, C0}} << -1 << unknown << "";

        // Framed cases: messages 0 and n add 1 when they are the fixed
        // frame; message 1 is the reference and gives the bits.
        const QString p4 = "1011111111111111";
        QTest::newRow("4 framed n=1") << QVector<Frame>{{4, b, p4}, {4, a, c}} << -1 << code("0043", a + c) << "4";
        QTest::newRow("4 without start frame n=1") << QVector<Frame>{{4, b, d}, {4, a, c}} << -1 << unknown << "";
        QTest::newRow("4 alone") << QVector<Frame>{{4, b, p4}} << -1 << unknown << "";
        QTest::newRow("4 framed n=3") << QVector<Frame>{{4, b, p4}, {4, a, c}, {4, a, c}, {4, b, p4}} << -1
                                      << code("0043", a + c) << "4";
        const QString z10 = "0000000000";
        QTest::newRow("8 framed n=4") << QVector<Frame>{{8, a, z10}, {8, b, c}, {8, b, c}, {8, b, c}, {8, a, z10}}
                                      << -1 << code("0082", b + c) << "8";
        QTest::newRow("8 two disagree n=4")
            << QVector<Frame>{{8, a, z10}, {8, b, c}, {8, b, d}, {8, b, d}, {8, b, c}} << -1 << unknown << "";
        const QString p19 = "01111111";
        const QString r19 = "11111111";
        QTest::newRow("19 framed, command before address")
            << QVector<Frame>{{19, r19, p19}, {19, a, c}, {19, r19, p19}} << -1 << code("0193", c + a) << "19";
        QTest::newRow("19 start frame with another address")
            << QVector<Frame>{{19, "11111110", p19}, {19, a, c}, {19, r19, p19}} << -1 << unknown << "";

        // End frames: message n adds 1 when it ends the press.
        QTest::newRow("6 end frame") << QVector<Frame>{{6, a, c}, {6, a, c}, {6, a, d}} << -1
                                     << code("0063", a + c + d) << "6";
        QTest::newRow("6 no end frame yet") << QVector<Frame>{{6, a, c}, {6, a, c}} << -1
                                            << code("0063", a + c + c) << "6";
        QTest::newRow("6 end frame of another address") << QVector<Frame>{{6, a, c}, {6, a, c}, {6, b, d}} << -1
                                                        << unknown << "";
        QTest::newRow("6 alone") << QVector<Frame>{{6, a, c}} << -1 << unknown << "";
        QTest::newRow("7 end frame") << QVector<Frame>{{7, a, c}, {7, a, "0100000"}} << -1 << code("0072", a + c)
                                     << "7";
        QTest::newRow("7 other last command") << QVector<Frame>{{7, a, c}, {7, a, "0100001"}} << -1 << unknown << "";
        QTest::newRow("7 end frame of another address") << QVector<Frame>{{7, a, c}, {7, b, "0100000"}} << -1
                                                        << unknown << "";

        // Alternating cases: odd messages carry a second reference.
        QTest::newRow("26 alternating") << QVector<Frame>{{26, a, c}, {26, a, d}, {26, a, c}, {26, a, d}} << -1
                                        << code("0264", a + c + d) << "26";
        QTest::newRow("26 odd frame of another address") << QVector<Frame>{{26, a, c}, {26, b, d}, {26, a, c}} << -1
                                                         << unknown << "";
        QTest::newRow("26 alone") << QVector<Frame>{{26, a, c}} << -1 << unknown << "";
        QTest::newRow("37 inverted command") << QVector<Frame>{{37, a, c}, {37, a, "1010"}, {37, a, c}} << -1
                                             << code("0373", a + c) << "37";
        QTest::newRow("37 command repeated, not inverted") << QVector<Frame>{{37, a, c}, {37, a, c}} << -1 << unknown
                                                           << "";
        QTest::newRow("51 both inverted") << QVector<Frame>{{51, a, c}, {51, b, "1010"}, {51, a, c}} << -1
                                          << code("0512", a + c) << "51";
        QTest::newRow("51 address not inverted") << QVector<Frame>{{51, a, c}, {51, a, "1010"}} << -1 << unknown
                                                 << "";
        QTest::newRow("77 by parity") << QVector<Frame>{{77, a, c}, {77, b, d}, {77, a, c}, {77, b, d}} << -1
                                      << code("0775", a + c + b + d) << "77";
        QTest::newRow("77 odd frame differs") << QVector<Frame>{{77, a, c}, {77, b, d}, {77, a, c}, {77, a, c}} << -1
                                              << code("0775", a + c + b + d) << "77";
        QTest::newRow("77 two odd frames differ")
            << QVector<Frame>{{77, a, c}, {77, b, d}, {77, a, c}, {77, a, c}, {77, a, c}, {77, a, c}} << -1 << unknown
            << "";
        // n = 0 reads message 1 as the store holds it (an earlier capture's).
        QTest::newRow("77 alone takes message 1 as it stands") << QVector<Frame>{{77, a, c}, {5, b, d}} << 0
                                                               << code("0775", a + c + b + d) << "77";
        QTest::newRow("95 with 96") << QVector<Frame>{{95, a, c}, {96, b, d}, {95, a, c}} << -1 << code("0953", c + d)
                                    << "95";
        QTest::newRow("95 second frame not 96") << QVector<Frame>{{95, a, c}, {95, b, d}, {95, a, c}} << -1 << unknown
                                                << "";
        QTest::newRow("95 third frame differs") << QVector<Frame>{{95, a, c}, {96, b, d}, {95, a, d}} << -1 << unknown
                                                << "";

        // 81: commands agree on three slices; characters 5, 28, 29, from 32
        // on and the addresses are not compared.
        const QString c81 = "10110011100011110000111111001010";
        QString c81loose = c81 + "11";
        for (int i : {5, 28, 29})
            c81loose[i] = c81loose[i] == '0' ? '1' : '0';
        QString c81at6 = c81;
        c81at6[6] = '0';
        QString c81at31 = c81;
        c81at31[31] = '1';
        QTest::newRow("81 loose characters") << QVector<Frame>{{81, a, c81}, {81, b, c81loose}} << -1
                                             << code("0815", a + c81) << "81";
        QTest::newRow("81 two of four") << QVector<Frame>{{81, a, c81}, {81, a, c81loose}, {81, a, c81at6}, {81, a, c81at6}}
                                        << -1 << code("0815", a + c81) << "81";
        QTest::newRow("81 one of three") << QVector<Frame>{{81, a, c81}, {81, a, c81at31}, {81, a, c81at6}} << -1
                                         << unknown << "";

        // 84b: frames 0, 2, 4, 6 repeat frame 0, frames 3, 5, 7 frame 3;
        // the later pairs are no flipped pairs, so 84a fails first.
        const QString x84 = "12345678ff";
        const QString y84 = "9abcdef0";
        const QString z84 = "0f0f0f0f";
        QVector<Frame> f84{{84, "", x84}, {84, "", y84}, {84, "", x84}, {84, "", z84}, {84, "", x84},
                           {84, "", z84}, {84, "", x84}, {84, "", z84}, {84, "", x84}};
        QTest::newRow("84b at n=8") << f84 << -1
                                    << code("0850", "00010010001101000101011001111000"
                                                    "10011010101111001101111011110000"
                                                    "00001111000011110000111100001111")
                                    << "84b";
        QTest::newRow("84b at n=7 not entered") << f84 << 7 << unknown << "";
        QVector<Frame> f84short = f84;
        f84short[6] = {84, "", z84};
        QTest::newRow("84b three even frames") << f84short << -1 << unknown << "";
        QVector<Frame> f84odd = f84;
        f84odd[5] = {84, "", y84};
        QTest::newRow("84b three odd frames") << f84odd << -1 << unknown << "";
        // 84a with a later pair: the second frame's digits 1 and 2 flipped by 8.
        QTest::newRow("84a flipped pair")
            << QVector<Frame>{{84, "", "12345678"}, {84, "", "1234abcd"}, {84, "", "12345678"}, {84, "", "1ab4abcd"}}
            << -1 << code("0846", "0001001000110100010101100111100000010010001101001010101111001101") << "84a";
        QTest::newRow("84a pair not flipped")
            << QVector<Frame>{{84, "", "12345678"}, {84, "", "1234abcd"}, {84, "", "12345678"}, {84, "", "1234abcd"}}
            << -1 << unknown << "";

        // 98: commands compared, addresses not; 0.4 x (n + 1); the command
        // read as 21 octal digits into 63 bits.
        const QString c98 = "123456701234567012345";
        const QString bits98 = "001010011100101110111000001010011100101110111000001010011100101";
        QTest::newRow("98 three of five")
            << QVector<Frame>{{98, a, c98}, {98, b, c98}, {98, a, "1"}, {98, b, c98}, {98, a, "1"}} << -1
            << code("0989", bits98) << "98";
        QTest::newRow("98 two of five")
            << QVector<Frame>{{98, a, c98}, {98, b, c98}, {98, a, "1"}, {98, b, "2"}, {98, a, "1"}} << -1 << unknown
            << "";
        QTest::newRow("98 short octal command") << QVector<Frame>{{98, a, "17"}} << -1
                                                << code("0989", QString(57, '0') + "001111") << "98";

        // 83b: the second frame is the reference; the newest is left out.
        QTest::newRow("83b after a garbled first frame")
            << QVector<Frame>{{83, b, d}, {83, a, c}, {83, a, c}, {83, a, c}, none} << -1 << code("0835", a + c)
            << "83b";
        QTest::newRow("83b first frame unrecognised")
            << QVector<Frame>{none, {83, a, c}, {83, a, c}, {83, a, c}, none} << -1 << code("0835", a + c) << "83b";
        QTest::newRow("83b two of three") << QVector<Frame>{none, {83, a, c}, {83, a, c}, none} << -1 << unknown << "";
        // 511 and 408: message 1 counts itself; the newest is left out.
        QTest::newRow("511 at n=2") << QVector<Frame>{{511, a, c}, {511, b, d}, none} << -1
                                    << code("5117", a + c + b + d) << "511";
        QTest::newRow("511 at n=4") << QVector<Frame>{{511, a, c}, {511, b, d}, {511, b, d}, {511, a, c}, none} << -1
                                    << code("5117", a + c + b + d) << "511";
        QTest::newRow("511 one partner of four")
            << QVector<Frame>{{511, a, c}, {511, b, d}, {511, a, c}, {511, a, c}, none} << -1 << unknown << "";
        QTest::newRow("511 at n=1") << QVector<Frame>{{511, a, c}, {511, b, d}} << -1 << unknown << "";
        QTest::newRow("408 at n=3") << QVector<Frame>{{408, a, c}, {408, b, d}, {408, b, d}, {408, a, c}} << -1
                                    << code("4087", a + c + b + d) << "408";
        QTest::newRow("408 second frame of another id") << QVector<Frame>{{408, a, c}, {511, b, d}, {408, b, d}} << -1
                                                        << unknown << "";

        // Cases that accept with no code end the search with "UNKNOWN".
        const Frame fixed15{15, "11000101", "10011001"};
        QTest::newRow("15 ends the search before 418") << QVector<Frame>{{418, a, c}, {15, b, d}, fixed15, {15, b, d}}
                                                       << -1 << unknown << "15";
        QTest::newRow("418 when 15 does not accept") << QVector<Frame>{{418, a, c}, {15, b, d}, {15, a, c}, {15, a, c}}
                                                     << -1 << code("4185", a + c) << "418";
        QTest::newRow("31 with repeats") << QVector<Frame>{{31, a, c}, {69, "", ""}} << -1 << unknown << "31";
        QTest::newRow("31 alone") << QVector<Frame>{{31, a, c}} << -1 << unknown << "";
        QTest::newRow("215b at n=1") << QVector<Frame>{{215, a, c}, {215, b, d}} << -1 << unknown << "215b";
        QTest::newRow("215a and 215b fail")
            << QVector<Frame>{{215, a, c}, {215, a, c}, {1, "", ""}, {1, "", ""}} << -1 << unknown << "";

        // Edge cases of the first group.
        QTest::newRow("54 n=2") << QVector<Frame>{{54, a, c}, {54, a, c}, {54, a, c}} << -1 << code("0543", "0" + c)
                                << "54";
        QTest::newRow("54 n=3") << QVector<Frame>{{54, a, c}, {54, a, c}, {54, a, c}, {54, a, c}} << -1
                                << code("0543", "1" + c) << "54";
        QTest::newRow("27 whatever the others hold")
            << QVector<Frame>{{27, a, c}, none, {5, a, c}, none, none, none} << -1 << code("0272", a + c) << "27";
        QTest::newRow("315 changed second frame") << QVector<Frame>{{315, a, c}, {315, b, d}} << -1
                                                  << code("3155", a + c) << "315c";
        QTest::newRow("315 with repeat frames") << QVector<Frame>{{315, a, c}, {18, "", ""}, {18, "", ""}} << -1
                                                << code("3155", a + c) << "315a";
        QTest::newRow("315 with one repeat frame") << QVector<Frame>{{315, a, c}, {18, "", ""}} << -1
                                                   << code("3155", a + c) << "315a";
        QTest::newRow("315 alone") << QVector<Frame>{{315, a, c}} << -1 << code("3165", a + c) << "315b";
        QTest::newRow("529 with one repeat frame") << QVector<Frame>{{529, a, c}, {18, "", ""}} << -1
                                                   << code("3187", a + c) << "529a";
        QTest::newRow("529 with two repeat frames") << QVector<Frame>{{529, a, c}, {18, "", ""}, {18, "", ""}} << -1
                                                    << code("3187", a + c) << "529a";
        QTest::newRow("529 alone") << QVector<Frame>{{529, a, c}} << -1 << code("3197", a + c) << "529b";
        QTest::newRow("73 with one repeat frame") << QVector<Frame>{{73, a, c}, {18, "", ""}} << -1
                                                  << code("4296", a + c) << "73b";
        QTest::newRow("73 with two repeat frames") << QVector<Frame>{{73, a, c}, {18, "", ""}, {18, "", ""}} << -1
                                                   << code("4296", a + c) << "73b";
        {
            const QString c32 = "10100101101001011100001100111100";
            QTest::newRow("232 alone") << QVector<Frame>{{232, a, c32}} << -1 << code("2325", a + c32) << "232a";
            QTest::newRow("232 with one one-bit repeat")
                << QVector<Frame>{{232, a, c32}, {32, "", "1"}} << -1 << code("2345", c32 + "1") << "232b";
            QTest::newRow("232 with one-bit repeats of two kinds")
                << QVector<Frame>{{232, a, c32}, {32, "", "0"}, {32, "", "1"}} << -1 << unknown << "";
        }
        QTest::newRow("315 same second frame") << QVector<Frame>{{315, a, c}, {315, a, c}} << -1
                                               << code("3165", a + c) << "315b";
        QTest::newRow("315 with its partner") << QVector<Frame>{{315, a, c}, {317, a, c}} << -1
                                              << code("3175", a + c) << "315d";
        QTest::newRow("315 partner with other texts") << QVector<Frame>{{315, a, c}, {317, b, c}} << -1 << unknown
                                                      << "";
        QTest::newRow("56 repeats of 18 and 2 not added")
            << QVector<Frame>{{56, a, c}, {18, "", ""}, {2, "", ""}, {18, "", ""}, {2, "", ""}} << -1 << unknown << "";
        QTest::newRow("56 repeats of 2") << QVector<Frame>{{56, a, c}, {2, "", ""}, {2, "", ""}} << -1
                                         << code("0563", a + c) << "56b";
        QTest::newRow("23 agreed") << QVector<Frame>{{23, a, c}, {23, a, c}} << -1 << code("0232", "1" + a + c)
                                   << "23";
        QTest::newRow("223 alone") << QVector<Frame>{{223, a, c}} << -1 << code("0232", "0" + a + c) << "223";
        QTest::newRow("four frames at n=5 not taken")
            << QVector<Frame>{{23, a, c}, {223, a, d}, {23, a, c}, {223, a, d}, {23, a, c}, {223, a, d}} << -1
            << unknown << "";
        QTest::newRow("four frames, message 4 not used")
            << QVector<Frame>{{223, a, c}, {23, b, d}, {23, b, c}, {223, a, d}, none} << -1
            << code("3237", "1" + a + c + "0" + b + d + "0" + b + c + "1" + a + d) << "four-frame";

        // Edge cases of the second group.
        QTest::newRow("82 alone") << QVector<Frame>{{82, a, c}} << -1 << unknown << "";
        QTest::newRow("82 whatever message 1 holds") << QVector<Frame>{{82, a, c}, none} << -1 << code("0824", a + c)
                                                     << "82";
        QVector<Frame> ten90(10, none);
        ten90[0] = {90, a, c};
        ten90[7] = {90, a, c};
        QTest::newRow("90 two of ten") << ten90 << -1 << code("0904", a + c) << "90";
        ten90[7] = {90, a, d};
        QTest::newRow("90 one of ten") << ten90 << -1 << unknown << "";
        QTest::newRow("404 whatever message 1 holds") << QVector<Frame>{{404, a, c}, none} << -1 << code("4045", a + c)
                                                      << "404";
        QTest::newRow("404 one of three") << QVector<Frame>{{404, a, c}, none, none} << -1 << unknown << "";
        const QString c78 = "11110000111100001111000011110000";
        QTest::newRow("78 three of five, bit 16 cleared")
            << QVector<Frame>{{78, a, c78}, {78, a, c78}, none, {78, a, c78}, none} << -1
            << code("0784", a + "1111000011110000" + "0" + "111000011110000") << "78";
        QTest::newRow("16 from the third frame on")
            << QVector<Frame>{{16, a, c}, {71, b, c}, {71, b, c}} << -1 << code("0714", "1" + a + c) << "16b";
        QTest::newRow("16 with its first-group repeats") << QVector<Frame>{{16, a, c}, {18, "", ""}} << -1
                                                         << code("0163", a + c) << "16";
        QTest::newRow("101 every later command 0000001")
            << QVector<Frame>{{101, a, c}, {101, a, "0000001"}, {101, a, "0000001"}} << -1 << code("1012", a + c)
            << "101";
        QTest::newRow("104 inverted address later") << QVector<Frame>{{104, a, c}, {104, b, c}} << -1
                                                    << code("1042", a + c) << "104";
        QTest::newRow("435b second-frame reference") << QVector<Frame>{none, {435, a, c}, {435, a, c}} << -1
                                                     << code("4352", a + c) << "435b";
        QTest::newRow("60 first frame not tested") << QVector<Frame>{{61, b, d}, {60, a, c}, {60, a, c}, none} << -1
                                                   << unknown << "";
        QTest::newRow("60 first frame agrees") << QVector<Frame>{{60, a, c}, {60, a, c}} << -1 << code("0602", a + c)
                                               << "60";
    }
    void specialPaths()
    {
        QFETCH(QVector<Frame>, frames);
        QFETCH(int, n);
        QFETCH(QString, expected);
        QFETCH(QString, endedBy);
        auto store = std::make_unique<CaptureStore>();
        for (int k = 0; k < frames.size(); ++k) {
            store->messageRecognizerId[k] = frames[k].id;
            store->messageAddressText[k] = frames[k].adr;
            store->messageCommandText[k] = frames[k].cmd;
        }
        const int newest = n < 0 ? int(frames.size()) - 1 : n;
        QCOMPARE(Protocol::resolveKeyCode(*store, newest), expected);
        const Messages m{store->messageRecognizerId, store->messageAddressText, store->messageCommandText, newest};
        const char *name = nullptr;
        QCOMPARE(resolve(m, &name), expected);
        QCOMPARE(QString::fromLatin1(name), endedBy);
    }

    // The cases of the early list and the first group read messages 0..n
    // only: whatever lies above n (an earlier capture's frames) changes
    // nothing.
    void messagesAboveNIgnored_data()
    {
        QTest::addColumn<QVector<Frame>>("frames");
        const QString a = "1100";
        const QString c = "0101";
        QTest::newRow("201") << QVector<Frame>{{201, a, c}};
        QTest::newRow("5 agreed") << QVector<Frame>{{5, a, c}, {5, a, c}};
        QTest::newRow("6 end frame") << QVector<Frame>{{6, a, c}, {6, a, c}, {6, a, "1"}};
        QTest::newRow("4 framed") << QVector<Frame>{{4, a, "1011111111111111"}, {4, a, c}};
        QTest::newRow("26") << QVector<Frame>{{26, a, c}, {26, a, "1"}};
        QTest::newRow("315") << QVector<Frame>{{315, a, c}, {317, a, c}};
        QTest::newRow("23/223") << QVector<Frame>{{23, a, c}, {223, a, c}, {23, a, c}, {223, a, "1"}};
        QTest::newRow("45 alone") << QVector<Frame>{{45, a, c}};
        QTest::newRow("unknown") << QVector<Frame>{{44, a, c}, {44, a, "1"}};
    }
    void messagesAboveNIgnored()
    {
        QFETCH(QVector<Frame>, frames);
        const int n = int(frames.size()) - 1;
        const QString clean = resolveFrames(frames);
        // Stale frames of every kind above n.
        const QVector<Frame> stale{{201, "1", "1"}, {2, "", ""}, {203, "0", "0"}, {18, "", ""}, {23, "1", "0"},
                                   {223, "0", "1"}, {4, "1", "1011111111111111"}, {317, "1100", "0101"},
                                   {6, "1100", "0101"}, {5, "1100", "0101"}};
        for (int shift = 0; shift < stale.size(); ++shift) {
            QVector<Frame> all = frames;
            for (int k = n + 1; k < 10; ++k)
                all << stale[(k + shift) % stale.size()];
            QCOMPARE(resolveFrames(all, n), clean);
        }
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
