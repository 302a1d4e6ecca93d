// The key-code resolver's case list, in the order the cases are tried. A row
// names the case (its RecognizerId, a letter where one id has several cases),
// its guard, its agreement count, threshold, bit recipe and prefix. The
// prefixes (protocol number and byte-count digit) are literals of the cases:
// they are never computed from the id.
//
// Left as they stand, on purpose (do not "fix" them without the protocol's
// frames at hand):
// - RecognizerIds the recogniser produces that no case handles, neither as
//   the first frame nor as a partner: 3, 93, 407, 419. Their key presses
//   resolve to "UNKNOWN".
// - Cases for RecognizerIds the recogniser never produces: 15, 31, 59, 60,
//   65 and 215 (both of its cases). They never accept.
// - Case 232b counts frames of RecognizerId 32 after a first frame of 232.
// - The cases 31, 15 and 215b accept without a code: they end the search with
//   "UNKNOWN" so that no later case takes those frames.
#include "ir/Decode.h"
#include "ir/Message.h"
#include "ir/ProtocolResolver.h"

#include <initializer_list>

namespace KeyCodeResolver {

namespace {

// A row of the list, built by chained setters so that each case reads as one
// line or two.
struct R
{
    Case c;

    // A plain case: ID[0] = id, plain count, normal threshold, Adr[0] + Cmd[0].
    R(const char *name, int id, const char *prefix)
    {
        c.name = name;
        c.id = id;
        c.prefix = prefix;
        c.bits = recipe("A0+C0");
    }
    R &bits(const char *text)
    {
        c.bits = recipe(text);
        return *this;
    }
    R &atLeast(int n)
    {
        c.minN = n;
        return *this;
    }
    R &second(int id1)
    {
        c.id1 = id1;
        return *this;
    }
    // ID[0] is not tested.
    R &anyFirst(int countedId)
    {
        c.id = 0;
        c.count.ids[0] = countedId;
        return *this;
    }
    R &orFirst(int alt)
    {
        c.id0Alt = alt;
        c.count.ids[1] = alt;
        return *this;
    }
    R &threshold(Threshold t)
    {
        c.threshold = t;
        return *this;
    }
    R &noCode()
    {
        c.prefix = nullptr;
        return *this;
    }
    R &immediate()
    {
        c.immediate = true;
        return *this;
    }
    R &commandStartsWith(const char *bits)
    {
        c.command0Prefix = QString::fromLatin1(bits);
        return *this;
    }
    // 1 + frames of the partner among 1..n, texts not compared.
    R &repeatFrame(int partner)
    {
        c.count.base = 1;
        c.count.from = 1;
        c.count.ids[0] = partner;
        c.count.compareAddress = false;
        c.count.compareCommand = false;
        return *this;
    }
    // 1 + frames of the partner among 1..n carrying Adr[0] and Cmd[0].
    R &matchedRepeat(int partner)
    {
        c.count.base = 1;
        c.count.from = 1;
        c.count.ids[0] = partner;
        return *this;
    }
    // 1 + frames of the partner among 1..n carrying Cmd[0].
    R &commandMatchedRepeat(int partner)
    {
        matchedRepeat(partner);
        c.count.compareAddress = false;
        return *this;
    }
    // 1 + frames of the partner among 1..n carrying Adr[1] and Cmd[1].
    R &partnerReference(int partner)
    {
        matchedRepeat(partner);
        c.count.reference = Reference::Message1;
        return *this;
    }
    // Compared with Adr[1] and Cmd[1].
    R &secondFrameReference()
    {
        c.count.reference = Reference::Message1;
        return *this;
    }
    // Message n is never counted; the threshold is 0.7 x n.
    R &newestLeftOut()
    {
        c.count.leaveNewest = true;
        c.threshold = Threshold::SevenTenthsOfN;
        return *this;
    }
    // 2 + repeat frames (18) among 2..n.
    R &twoThenRepeats()
    {
        repeatFrame(18);
        c.count.base = 2;
        c.count.from = 2;
        return *this;
    }
    R &odd(OddRule rule, int oddId = 0)
    {
        c.count.odd = rule;
        c.count.oddId = oddId;
        return *this;
    }
    R &variants(std::initializer_list<const char *> literals)
    {
        for (const char *l : literals)
            c.count.commandVariants << QString::fromLatin1(l);
        return *this;
    }
    R &invertedAddress()
    {
        c.count.base = 1;
        c.count.from = 1;
        c.count.invertAddress = true;
        return *this;
    }
    R &counted(CountFn fn, const char *pattern = "", const char *addressPattern = "")
    {
        c.countFn = fn;
        c.pattern = QString::fromLatin1(pattern);
        c.addressPattern = QString::fromLatin1(addressPattern);
        return *this;
    }
    R &bitsFrom(BitsFn fn)
    {
        c.bitsFn = fn;
        return *this;
    }
    R &special(Special fn)
    {
        c.special = fn;
        return *this;
    }
};

// ---- counts of shapes only a few rows share

// Framed: message 1 is the reference; messages 0 and n each add 1 when their
// command (and address, where the row gives one) is the fixed pattern.
int framedCount(const Case &c, const Messages &m)
{
    auto framing = [&](int k) {
        return m.cmd(k) == c.pattern && (c.addressPattern.isEmpty() || m.adr(k) == c.addressPattern);
    };
    int count = (framing(0) ? 1 : 0) + (framing(m.n) ? 1 : 0);
    for (int k = 1; k <= m.n; ++k)
        if (m.id(k) == c.id && m.adr(k) == m.adr(1) && m.cmd(k) == m.cmd(1))
            ++count;
    return count;
}

// End frame: the plain count, plus message n when it is the end frame (its
// command equals the pattern, or with no pattern differs from Cmd[0]) with
// the first frame's address.
int endFrameCount(const Case &c, const Messages &m)
{
    const bool ends = c.pattern.isEmpty() ? m.cmd(m.n) != m.cmd(0) : m.cmd(m.n) == c.pattern;
    return countOf(c, m) + (ends && m.adr(m.n) == m.adr(0) ? 1 : 0);
}

// Sliced command: the command agrees on three slices; addresses and the
// characters between and after the slices are not compared.
int slicedCommandCount(const Case &c, const Messages &m)
{
    auto same = [&](int k) {
        const QString &a = m.cmd(k);
        const QString &b = m.cmd(0);
        return a.mid(0, 5) == b.mid(0, 5) && a.mid(6, 22) == b.mid(6, 22) && a.mid(30, 2) == b.mid(30, 2);
    };
    int count = 0;
    for (int k = 0; k <= m.n; ++k)
        if (m.id(k) == c.id && same(k))
            ++count;
    return count;
}

// Odd messages repeat message 1, even ones are a fixed frame.
int fixedEvenFramesCount(const Case &c, const Messages &m)
{
    const int id = c.count.ids[0];
    int count = 0;
    for (int k = 0; k <= m.n; ++k) {
        if (m.id(k) != id)
            continue;
        const bool agrees = (k % 2 == 1) ? m.adr(k) == m.adr(1) && m.cmd(k) == m.cmd(1)
                                         : m.adr(k) == c.addressPattern && m.cmd(k) == c.pattern;
        if (agrees)
            ++count;
    }
    return count;
}

// ---- named special cases

bool complementary(const Messages &m, int k)
{
    return m.adr(k).mid(0, 13) == Message::invertBits(m.adr(k).mid(13, 13)) &&
           m.cmd(k).mid(0, 8) == Message::invertBits(m.cmd(k).mid(8, 8));
}

bool isLongFrame(int id)
{
    return id == 203 || id == 201;
}

// Frames that repeat with a period (2 or 3): message k agrees with message
// k mod period. Message 0 counts only when it is itself a long frame.
int periodicCount(const Messages &m, int period)
{
    int count = 0;
    for (int k = 0; k <= m.n; ++k)
        if (isLongFrame(m.id(k)) && m.adr(k) == m.adr(k % period) && m.cmd(k) == m.cmd(k % period))
            ++count;
    return count;
}

// The leading halves (13 address bits, 8 command bits) of the first frames.
QString halves(const Messages &m, int frames)
{
    QString bits;
    for (int k = 0; k < frames; ++k)
        bits += m.adr(k).mid(0, 13) + m.cmd(k).mid(0, 8);
    return bits;
}

Outcome accept(const Case &c, const QString &bits, QString &code)
{
    code = QLatin1String(c.prefix) + Decode::encode(bits);
    return Outcome::Accept;
}

// E2: a short frame (20), then a group of three long frames that repeats.
Outcome tripleGroup(const Case &c, const Messages &m, QString &code)
{
    if (!guardHolds(c, m) || !isLongFrame(m.id(2)))
        return Outcome::Pass;
    for (int k = 0; k < 3; ++k)
        if (!complementary(m, k))
            return Outcome::Pass;
    if (!reaches(c.threshold, periodicCount(m, 3), m.n))
        return Outcome::Pass;
    return accept(c, halves(m, 3), code);
}

// E3: two long frames that alternate.
Outcome pairGroup(const Case &c, const Messages &m, QString &code)
{
    if (!guardHolds(c, m) || !isLongFrame(m.id(1)))
        return Outcome::Pass;
    for (int k = 0; k < 2; ++k)
        if (!complementary(m, k))
            return Outcome::Pass;
    if (!reaches(c.threshold, periodicCount(m, 2), m.n))
        return Outcome::Pass;
    return accept(c, halves(m, 2), code);
}

// 315c: a second frame of the same protocol with other texts is taken as a
// new key at once.
Outcome changedSecondFrame(const Case &c, const Messages &m, QString &code)
{
    if (!guardHolds(c, m) || m.adr(1) + m.cmd(1) == m.adr(0) + m.cmd(0))
        return Outcome::Pass;
    return accept(c, m.adr(0) + m.cmd(0), code);
}

// Four frames, each 23 or 223, joined with a flag per frame.
Outcome fourFrameGroup(const Case &c, const Messages &m, QString &code)
{
    if (m.n != 3 && m.n != 4)
        return Outcome::Pass;
    QString bits;
    for (int k = 0; k < 4; ++k) {
        if (m.id(k) != 23 && m.id(k) != 223)
            return Outcome::Pass;
        bits += (m.id(k) == 23 ? QLatin1String("0") : QLatin1String("1")) + m.adr(k) + m.cmd(k);
    }
    return accept(c, bits, code);
}

// 84a: pairs of frames; each later pair repeats the first frame and sends
// the second with the top bit of its second and third hex digits flipped.
Outcome pairedFrames(const Case &c, const Messages &m, QString &code)
{
    if (!guardHolds(c, m))
        return Outcome::Pass;
    auto flipped = [&](int k, int pos) {
        const int a = hexDigitValue(m.cmd(k).mid(pos, 1));
        const int b = hexDigitValue(m.cmd(1).mid(pos, 1));
        return a - b == 8 || b - a == 8;
    };
    const int pairs = (m.n + 1) / 2;
    int count = 1;
    for (int j = 1; j < pairs; ++j) {
        const int a = 2 * j;
        const int b = 2 * j + 1;
        if (m.id(a) == 84 && m.cmd(a) == m.cmd(0) && m.id(b) == 84 && m.cmd(b).mid(0, 1) == m.cmd(1).mid(0, 1) &&
            flipped(b, 1) && flipped(b, 2) && m.cmd(b).mid(3, 5) == m.cmd(1).mid(3, 5))
            ++count;
    }
    if (10 * count < 7 * pairs)
        return Outcome::Pass;
    return accept(c, numberBits(m.cmd(0).mid(0, 8) + m.cmd(1).mid(0, 8), 16, 64), code);
}

// 84b: a frame, then frames 1 and 3 of their own; even frames repeat frame
// 0 and odd ones from 3 on repeat frame 3. Message n is not counted.
Outcome threeFrameCode(const Case &c, const Messages &m, QString &code)
{
    if (!guardHolds(c, m) || m.id(3) != 84)
        return Outcome::Pass;
    int even = 0;
    int odd = 1;
    for (int k = 0; k < m.n; ++k) {
        if (m.id(k) != 84)
            continue;
        if (k % 2 == 0 && m.cmd(k) == m.cmd(0))
            ++even;
        else if (k % 2 == 1 && k >= 3 && m.cmd(k) == m.cmd(3))
            ++odd;
    }
    if (even <= 3 || odd <= 3)
        return Outcome::Pass;
    QString bits;
    for (int k : {0, 1, 3})
        bits += numberBits(m.cmd(k).mid(0, 8), 16, 32);
    return accept(c, bits, code);
}

// 101: the prefix tells whether the newest frame is the release frame.
Outcome releaseAware(const Case &c, const Messages &m, QString &code)
{
    if (!guardHolds(c, m) || !reaches(c.threshold, countOf(c, m), m.n))
        return Outcome::Pass;
    const char *prefix = m.cmd(m.n) == QLatin1String("0000000") ? "3012" : c.prefix;
    code = QLatin1String(prefix) + Decode::encode(m.adr(0) + m.cmd(0));
    return Outcome::Accept;
}

QString octalCommandBits(const Messages &m)
{
    return numberBits(m.cmd(0).mid(0, 21), 8, 63);
}

std::vector<Case> build()
{
    std::vector<Case> t;
    auto add = [&t](R &r) { t.push_back(r.c); };
    auto row = [&](R r) { add(r); };
    auto plain = [&](const char *name, int id, const char *prefix) { row(R(name, id, prefix)); };
    auto newest = [&](const char *name, int id, const char *prefix) {
        row(R(name, id, prefix).atLeast(1).newestLeftOut());
    };
    auto two = [&](const char *name, int id, const char *prefix) {
        row(R(name, id, prefix).threshold(Threshold::AtLeastTwo));
    };

    // ---- the early cases
    plain("E1", 201, "2016");
    row(R("E2", 20, "2029").atLeast(2).second(203).special(tripleGroup));
    row(R("E3", 203, "2036").atLeast(2).special(pairGroup));
    row(R("E4", 201, "2026").repeatFrame(2));

    // ---- first group: RecognizerIds 4 to 56
    row(R("4", 4, "0043").atLeast(1).counted(framedCount, "1011111111111111").bits("A1+C1"));
    plain("5", 5, "0052");
    row(R("6", 6, "0063").atLeast(1).counted(endFrameCount).bits("A0+C0+Cn"));
    row(R("7", 7, "0072").atLeast(1).counted(endFrameCount, "0100000"));
    row(R("8", 8, "0082").atLeast(1).counted(framedCount, "0000000000").bits("A1+C1"));
    plain("9", 9, "0093");
    row(R("10", 10, "0103").matchedRepeat(11));
    plain("11", 11, "0113");
    plain("12", 12, "0122");
    row(R("13a", 13, "2132").commandStartsWith("10").bits("A0+C0:0:9"));
    row(R("13b", 13, "0132").bits("A0+C0:0:8"));
    plain("14", 14, "0143");
    plain("214", 214, "2143");
    row(R("16", 16, "0163").atLeast(1).repeatFrame(18));
    // 315a, 529a, 73b and 232b take their repeat from the second message on: a
    // short tap (one frame and one repeat) would otherwise fall between the
    // single frame's code and the held key's and show "UNKNOWN"; it now gets
    // the held key's code.
    row(R("315a", 315, "3155").atLeast(1).repeatFrame(18));
    plain("315b", 315, "3165");
    row(R("315c", 315, "3155").atLeast(1).second(315).special(changedSecondFrame));
    row(R("315d", 315, "3175").atLeast(1).matchedRepeat(317));
    row(R("529a", 529, "3187").atLeast(1).repeatFrame(18));
    plain("529b", 529, "3197");
    row(R("19", 19, "0193").atLeast(1).counted(framedCount, "01111111", "11111111").bits("C1+A1"));
    plain("20a", 20, "0207");
    row(R("20b", 20, "0217").atLeast(1).repeatFrame(21));
    plain("22", 22, "0222");
    plain("559", 559, "5598");
    row(R("23", 23, "0232").bits("'1'+A0+C0"));
    row(R("223", 223, "0232").bits("'0'+A0+C0"));
    row(R("four-frame", 0, "3237").special(fourFrameGroup));
    row(R("24", 24, "0243").bits("'0'+A0+C0"));
    row(R("25", 25, "0243").bits("'1'+A0+C0"));
    row(R("26", 26, "0264").atLeast(1).odd(OddRule::Command1).bits("A0+C0+C1"));
    row(R("27", 27, "0272").threshold(Threshold::Any));
    plain("28", 28, "0282");
    plain("29", 29, "0292");
    plain("30", 30, "0302");
    plain("232a", 232, "2325");
    plain("520", 520, "5205");
    row(R("562", 562, "5627").atLeast(1).repeatFrame(422));
    plain("233", 233, "2333");
    plain("231", 231, "2314");
    row(R("232b", 232, "2345").atLeast(1).commandMatchedRepeat(32).secondFrameReference().bits("C0:0:32+C1:0:1"));
    plain("34", 34, "0342");
    plain("35", 35, "0352");
    row(R("36", 36, "0366").threshold(Threshold::ThreeFromThird));
    row(R("37", 37, "0373").odd(OddRule::InvertedCommand));
    plain("38", 38, "0382");
    row(R("39", 39, "0394").bits("C0+A0+'000000000'"));
    row(R("40", 40, "0394").bits("C0+A0+'0000010'"));
    row(R("41", 41, "0394").bits("C0+A0+'11'"));
    row(R("42", 42, "0422").bits("A0+'0'+C0"));
    plain("43", 43, "0433");
    plain("44", 44, "0442");
    row(R("45", 45, "0452").bits("C0+N1"));
    row(R("46", 46, "0462").variants({"0100000"}));
    plain("47", 47, "0474");
    row(R("48", 48, "0485").atLeast(1).repeatFrame(49));
    plain("50", 50, "0502");
    row(R("51", 51, "0512").odd(OddRule::InvertedBoth));
    row(R("52", 52, "0523").atLeast(1).repeatFrame(53));
    row(R("54", 54, "0543").bits("N3+C0"));
    plain("55", 55, "0552");
    row(R("56a", 56, "0563").atLeast(1).repeatFrame(18));
    row(R("56b", 56, "0563").atLeast(1).repeatFrame(2));

    // ---- second group: RecognizerId 57 to the end
    plain("57", 57, "0572");
    row(R("59", 59, "0592").bits("N3+A0+C0"));
    row(R("60", 0, "0602").second(60).anyFirst(60));
    plain("61", 61, "0614");
    plain("62", 62, "0622");
    plain("63", 63, "0632");
    plain("64", 64, "0642");
    row(R("65", 65, "0652").bits("N3+A0+C0"));
    plain("66", 66, "0662");
    plain("67", 67, "0673");
    row(R("31", 31, "").atLeast(1).repeatFrame(69).noCode());
    row(R("68", 68, "0685").atLeast(1).repeatFrame(69));
    row(R("215a", 215, "0694").atLeast(2).second(215).twoThenRepeats());
    row(R("70", 70, "0706").atLeast(1).repeatFrame(21));
    row(R("16b", 16, "0714").commandMatchedRepeat(71).bits("N2+A0+C0"));
    plain("72", 72, "0723");
    row(R("73a", 73, "0736").atLeast(1).repeatFrame(2));
    plain("74", 74, "0744");
    row(R("78", 78, "0784").threshold(Threshold::TwoFifths).bits("A0+C0:0:16+'0'+C0:17:15"));
    row(R("15", 0, "").atLeast(1).second(15).anyFirst(15).counted(fixedEvenFramesCount, "10011001", "11000101")
            .noCode());
    row(R("215b", 215, "").atLeast(1).second(215).twoThenRepeats().noCode());
    plain("75", 75, "0752");
    plain("76", 76, "0762");
    row(R("77", 77, "0775").odd(OddRule::Message1WithOddId, 77).bits("A0+C0+A1+C1"));
    row(R("81", 81, "0815").counted(slicedCommandCount).threshold(Threshold::FortyNine));
    newest("82", 82, "0824");
    newest("83a", 83, "0835");
    row(R("83b", 0, "0835").atLeast(2).second(83).anyFirst(83).secondFrameReference().newestLeftOut().bits("A1+C1"));
    row(R("84a", 84, "0846").atLeast(2).second(84).special(pairedFrames));
    row(R("84b", 84, "0850").atLeast(8).second(84).special(threeFrameCode));
    newest("86", 86, "0863");
    plain("89", 89, "0895");
    row(R("548", 548, "5485").atLeast(1));
    two("90", 90, "0904");
    plain("91", 91, "0917");
    row(R("503", 503, "5033").bits("'111'+A0+C0"));
    two("92", 92, "0923");
    plain("94", 94, "0944");
    plain("521", 521, "5215");
    row(R("95", 95, "0953").atLeast(1).second(96).odd(OddRule::Message1WithOddId, 96).bits("C0+C1"));
    row(R("97", 97, "0978").atLeast(1).partnerReference(97).bits("C0+C1"));
    row(R("98", 98, "0989").commandMatchedRepeat(98).threshold(Threshold::TwoFifths).bitsFrom(octalCommandBits));
    newest("401", 401, "4013");
    newest("432", 432, "4325");
    newest("587", 587, "5874");
    newest("402", 402, "4023");
    newest("403", 403, "4033");
    row(R("404", 404, "4045").atLeast(1).repeatFrame(405).threshold(Threshold::Half));
    newest("406", 406, "4063");
    row(R("511", 511, "5117").atLeast(2).second(511).partnerReference(511).newestLeftOut().bits("A0+C0+A1+C1"));
    row(R("408", 408, "4087").atLeast(2).second(408).partnerReference(408).newestLeftOut().bits("A0+C0+A1+C1"));
    newest("409", 409, "4092");
    newest("410", 410, "4107");
    newest("411", 411, "4114");
    newest("595", 595, "5954");
    newest("412", 412, "4123");
    row(R("413", 413, "4133").atLeast(1).repeatFrame(414).threshold(Threshold::Half));
    row(R("415", 415, "4155").atLeast(1).repeatFrame(416).threshold(Threshold::Half));
    two("420", 420, "4203");
    two("421", 421, "4214");
    two("422", 422, "4223");
    row(R("423", 423, "4235").atLeast(2).partnerReference(424).bits("A0+C0+A1+C1"));
    row(R("425", 425, "4252").atLeast(2).partnerReference(424).bits("A0+C0+A1+C1"));
    plain("426", 426, "4264");
    plain("427", 427, "4272");
    plain("428", 428, "4283");
    row(R("73b", 73, "4296").atLeast(1).repeatFrame(18));
    plain("430", 430, "4303");
    plain("431", 431, "4315");
    two("435a", 435, "4352");
    row(R("435b", 0, "4352").second(435).anyFirst(435).secondFrameReference().threshold(Threshold::AtLeastTwo)
            .bits("A1+C1"));
    newest("635", 635, "6352");
    newest("634", 634, "6342");
    newest("417", 417, "4173");
    row(R("418", 418, "4185").atLeast(1).immediate());
    row(R("101", 101, "1012").variants({"0000000", "0000001"}).special(releaseAware));
    plain("102", 102, "1022");
    plain("103", 103, "1032");
    row(R("104", 104, "1042").invertedAddress());
    plain("105", 105, "1052");
    plain("106", 106, "1062");
    row(R("107/104", 107, "1072").orFirst(104));
    plain("108", 108, "1082");
    plain("109", 109, "1092");
    plain("110", 110, "1102");
    plain("111", 111, "1112");
    row(R("112", 112, "1122").variants({"0000001"}));
    row(R("113", 113, "1132").invertedAddress());
    plain("114", 114, "1142");
    plain("115", 115, "1152");
    plain("116", 116, "1162");
    plain("117", 117, "1172");
    plain("118", 118, "1182");
    plain("119", 119, "1192");
    plain("120", 120, "1202");
    return t;
}

} // namespace

const std::vector<Case> &cases()
{
    static const std::vector<Case> list = build();
    return list;
}

} // namespace KeyCodeResolver
