// The recogniser's candidate chains as data. Each row says which protocol it
// stands for; the order matters (the first match wins and rows that share a
// RecognizerId are alternatives). Rows written `ProtocolCandidate(id, kind)`
// only are known by their place and decoder and never match: no protocol was
// found whose frames reach that place and fit what the key-code cases of the
// id expect (partners, repeat handling, code bytes), or the id already has a
// row and the alternative is not needed. A frame that no row takes resolves
// to "UNKNOWN" rather than to a code of the wrong protocol.
#include "ir/ProtocolCandidate.h"

namespace {

using C = ProtocolCandidate;
constexpr DecoderKind PD = DecoderKind::PulseDistance;
constexpr DecoderKind S3 = DecoderKind::Symbols3;
constexpr DecoderKind S4 = DecoderKind::Symbols4;
constexpr DecoderKind S8 = DecoderKind::Symbols8;
constexpr DecoderKind S16 = DecoderKind::Symbols16;
constexpr DecoderKind FP = DecoderKind::FlashPairs;
constexpr DecoderKind MX = DecoderKind::Mixed;
constexpr DecoderKind SP4 = DecoderKind::SymbolPairs4;
constexpr DecoderKind BP = DecoderKind::Biphase;
constexpr unsigned StoreBack = C::StoreBack;

std::vector<ProtocolCandidate> buildModulated()
{
    std::vector<ProtocolCandidate> t;
    // 1: 9000/4500 header, 42 bits (26 address, 16 command), 579 stop mark.
    t.push_back(C(201, PD, "9000,-4500,bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb,579", {579, -1650, 579, -550}, 500, 200)
                    .cut("0/26", "26/16").spanOf(100000).pattern("HH (AAaa)13 (CCcc)8 H"));
    // 2: the same frame followed by more: tried on the message cut after 87 durations.
    t.push_back(C(203, PD, "9000,-4500,bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb,579", {579, -1650, 579, -550}, 500, 200)
                    .cutAfter87().cut("0/26", "26/16").spanOf(100000).pattern("HH (AAaa)13 (CCcc)8 H"));
    // 3: 9000/4500 repeat message, header only.
    t.push_back(C(2, PD, "9000,-4500,550", {650, -1600, 650, -500}, 500, 200).spanOf(100000).pattern("HHH"));
    // 4: biphase, 528/5200 header, 10 bits.
    t.push_back(C(3, BP, "528,-5200,bbbbbbbbbb", {528, -480, -480, 528}, 250, 200)
                    .halves(0, 0, 500, 200).with(StoreBack).cut("-", "0/10").spanOf(18000).pattern("HH (CCcc)5"));
    // 5: biphase, 528/2600 header, 16 bits.
    t.push_back(C(4, BP, "528,-2600,bbbbbbbbbbbbbbbb", {528, -480, -480, 528}, 250, 200)
                    .halves(0, 0, 500, 200).with(StoreBack).cut("-", "0/16").spanOf(25000).pattern("HH (CCcc)8"));
    // 6: 3400/3400 header, 24 bits: address and command, each followed by its complement.
    t.push_back(C(5, PD, "3400,-3400,bbbbbbbbbbbbbbbbbbbbbbbb,840", {840, -2550, 840, -840}, 400, 200)
                    .complement(0, 12, 6, 6, 18, 6).cut("0/6", "6/6").spanOf(80000)
                    .pattern("HH (AAaa)3 (CCcc)3 (AAaa)3 (CCcc)3 H"));
    // 7: fourteen 2-bit symbols of a 150 mark and four spaces.
    t.push_back(C(6, S4, "bbbbbbbbbbbbbb,150", {150, -6050, 150, -4500, 150, -2950, 150, -1400}, 250, 250)
                    .cut("-", "0/28").spanOf(60000).pattern("(CCcc)7 H"));
    // 8: biphase with the space first, 500/2700 header, 7 bits.
    t.push_back(C(7, BP, "500,-2700,bbbbbbb", {-530, 500, 500, -530}, 250, 200)
                    .halves(0, 0, 500, 200).with(StoreBack).cut("-", "0/7").spanOf(15000).pattern("HH (CCcc)3 CC"));
    // 9: the same with 10 bits.
    t.push_back(C(8, BP, "500,-2700,bbbbbbbbbb", {-530, 500, 500, -530}, 250, 200)
                    .halves(0, 0, 500, 200).with(StoreBack).cut("-", "0/10").spanOf(15000).pattern("HH (CCcc)5"));
    // 10: the mixed-timing code, marks split at 670.
    t.push_back(C(9, MX, "789,-2950,605,bbbbbbbb,605",
                  {605, -2300, 605, 605, -1750, 605, -550, 605, -1150, 605, -1150, 605, -550, 605, -1750}, 250, 200)
                    .markHalves(0, 0, 670, 200).with(StoreBack).cut("-", "1/15").spanOf(100000).pattern(""));
    // 11: JVC, 16 bits (address, command) after the 8400/4200 header. Its
    // case takes the repeats of id 11 with the same texts (protocol 010).
    // The header window is wide enough for a remote whose clock runs 5% fast
    // or slow (8400/4200 becomes 7980/3990 or 8820/4410), with the receiver's
    // jitter on top; the 16 bits keep NEC's 32-bit frames out. The bits are
    // read with the windows of the headerless repeat below, so that every
    // frame of one press is read alike.
    t.push_back(C(10, PD, "8400,-4200,bbbbbbbbbbbbbbbb,525", {580, -1595, 580, -580}, 900, 150)
                    .cut("0/8", "8/8").spanOf(60000).pattern("HH (AAaa)4 (CCcc)4 H"));
    // 12: JVC's repeat, the same 16 bits without the header: the partner of
    // id 10, and a code of its own (protocol 011) when the first frame was
    // missed. With no header to tell it apart, its windows must leave out
    // the 330/660 us biphase of row 107, which takes a single cell of up to
    // 430 us: the short windows (marks and "0" spaces) start there, at
    // 580 - 150. They still hold JVC's 525 us, and the long window its
    // 1575 us (stored 20 us longer, as every space), at a clock 5% fast or
    // slow with the receiver's jitter on top: 442 .. 634 and 1459 .. 1737 us.
    t.push_back(C(11, PD, "bbbbbbbbbbbbbbbb,525", {580, -1595, 580, -580}, 200, 150)
                    .cut("0/8", "8/8").spanOf(40000).pattern("(AAaa)4 (CCcc)4 H"));
    // 13: pairs of pairs after a three-part header, 8 bits.
    t.push_back(C(12, SP4, "188,-520,188,-1450,188,-2350,bbbbbbbbbb,188",
                  {188, -1020, 188, -1820, 188, -520, 188, -1470}, 250, 200)
                    .cut("-", "0/8").spanOf(40000).pattern("HHHHHH (CCCCcccc)4 TTTTttttH"));
    t.push_back(C(13, SP4)); // 14
    t.push_back(C(214, PD)); // 15
    t.push_back(C(214, PD)); // 16
    t.push_back(C(14, PD));  // 17
    // 18: 8600/4100 header, 32 bits: address, its complement, command, its complement.
    t.push_back(C(77, PD, "8600,-4100,bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb,640", {640, -1450, 640, -430}, 250, 200)
                    .complement(0, 8, 8, 16, 24, 8).cut("0/8", "16/8").spanOf(80000).pattern("HH (AAaa)8 (CCcc)8 H"));
    // 19: NEC, 32 bits (address, its complement or a second address byte,
    // command, its complement) after the 9000/4500 header: its cases take
    // the 9000/2250 ditto (18) as the repeat from the third message, and a
    // full repeat as the same frame again. All 32 bits go into the texts so
    // that the variants with a 16-bit command stay apart. Wide header
    // windows: some remotes run fast and send 8000/4000.
    t.push_back(C(315, PD, "9000,-4500,bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb,560", {560, -1690, 560, -560}, 1800, 300)
                    .cut("0/16", "16/16").spanOf(110000).pattern("HH (AAaa)8 (CCcc)8 H"));
    // 20: 9200/4500 header, 24 bits: address, command, its complement.
    t.push_back(C(16, PD, "9200,-4500,bbbbbbbbbbbbbbbbbbbbbbbb,560", {560, -1650, 560, -560}, 600, 200)
                    .complement(8, 16, 8).cut("0/8", "8/8").spanOf(80000).pattern("HH (AAaa)4 (CCcc)8 H"));
    // 21: never matches. Its cases are NEC's with the ditto (protocol numbers
    // 318/319, seven code bytes: a 48-bit NEC), but such a frame has more
    // than 87 durations, and row 2 takes every one of them on the cut
    // message before it gets here.
    t.push_back(C(529, PD));
    t.push_back(C(317, PD)); // 22
    // 23: 9000/2250 repeat message, header only.
    t.push_back(C(18, PD, "9000,-2250,579", {560, -1690, 560, -560}, 500, 200).spanOf(80000).pattern("HHH"));
    // 24: biphase after a 500/2450 header, 17 bits.
    t.push_back(C(19, BP, "500,-2450,bbbbbbbbbbbbbbbbb", {500, -500, -500, 500}, 250, 200)
                    .halves(0, 0, 500, 200).with(StoreBack).cut("9/8", "1/8").spanOf(23000)
                    .pattern("HHVV (CCcc)4 (AAaa)4"));
    // 25: Kaseikyo (Panasonic, Denon-K, SharpDVD, Teac-K...), 48 bits after
    // the 3456/1728 header: seven code bytes, the same frame as repeat, and
    // the 3500/3500 repeat (21) as partner. Vendor and parity as address,
    // the 24 bits of device, function and check byte as command.
    t.push_back(C(20, PD, "3456,-1728,bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb,432", {432, -1296, 432, -432}, 400, 200)
                    .cut("0/24", "24/24").spanOf(80000).pattern("HH (AAaa)12 (CCcc)12 H"));
    t.push_back(C(20, PD)); // 26
    // 27: Kaseikyo with 56 bits (Panasonic2): eight code bytes, plain.
    t.push_back(C(559, PD, "3456,-1728,bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb,432", {432, -1296, 432, -432}, 400, 200)
                    .cut("0/24", "24/32").spanOf(90000).pattern("HH (AAaa)12 (CCcc)16 H"));
    // 28: 3500/3500 repeat message, header only.
    t.push_back(C(21, PD, "3500,-3500,400", {400, -1200, 400, -400}, 500, 200).spanOf(60000).pattern("HH (CCcc)24 H"));
    // 29: 3600/3600 header, 22 bits: address and command, then both complemented.
    t.push_back(C(22, PD, "3600,-3600,bbbbbbbbbbbbbbbbbbbbbb,895", {895, -2750, 895, -895}, 200, 200)
                    .complement(0, 11, 11).cut("0/5", "5/6").spanOf(80000)
                    .pattern("HH (AAaa)2 AA (CCcc)3 (AAaa)2 AA (CCcc)3 H"));
    // 30: 889 us biphase, 14 bits, the leading space half unseen; a second bit 0 makes it 223.
    t.push_back(C(23, BP, "bbbbbbbbbbbbbb", {-889, 889, 889, -889}, 250, 200)
                    .halves(0, 1, 889, 200).firstEntry(-889).with(StoreBack | C::Rule223).cut("3/5", "8/6")
                    .spanOf(30000).pattern("VVvvTT (AAaa)2 AA (CCcc)3"));
    // 31: the same family at 800 us cells, 15 bits.
    t.push_back(C(24, BP, "bbbbbbbbbbbbbbb", {-730, 840, 840, -730}, 250, 200)
                    .halves(0, 1, 800, 250).firstEntry(-889).with(StoreBack).cut("1/1+3/5", "8/7").spanOf(30000)
                    .pattern("VVAATT (aaAA)2 aa (CCcc)3 CC"));
    // 32: the same with 16 bits.
    t.push_back(C(25, BP, "bbbbbbbbbbbbbbbb", {-730, 840, 840, -730}, 250, 200)
                    .halves(0, 1, 800, 250).firstEntry(-889).with(StoreBack).cut("1/1+3/5", "8/8").spanOf(30000)
                    .pattern("VVAATT (aaAA)2 aa (CCcc)4"));
    // 33: 444 us biphase after a fixed leader, 16 bits; a message that ends
    // one cell short gets its last space.
    t.push_back(C(26, BP, "2666,-444,-444,444,-444,-444,444,-444,444,-444,444,-444,-444,444,444,bbbbbbbbbbbbbbbb",
                  {444, -444, -444, 444}, 250, 200)
                    .halves(0, 0, 444, 200).pad(46, -444).with(StoreBack).cut("0/8", "8/8").spanOf(30000)
                    .pattern("HHH (VVvv)2 TTTT (AAaa)4 (CCcc)4"));
    // 34: the other leader of the same protocol, on the buffer row 33 left.
    t.push_back(C(26, BP, "2666,-444,-444,444,-444,-444,444,-444,444,-444,444,444,444,-444,-444,bbbbbbbbbbbbbbbb",
                  {444, -444, -444, 444}, 250, 200)
                    .bufferOfRowBefore().with(StoreBack).cut("0/8", "8/8").spanOf(30000)
                    .pattern("HHH (VVvv)2 TTTT (AAaa)4 (CCcc)4"));
    // 35: RCA, 24 bits most significant first after a 4000 us space: device
    // (4), function (8), then both inverted. Two code bytes hold device and
    // function; any frame of the press gives the code. The header mark is
    // 4 ms, or 20 ms in the first frame of older remotes: one window takes both.
    t.push_back(C(27, PD, "12000,-4000,bbbbbbbbbbbbbbbbbbbbbbbb,500", {500, -2000, 500, -1000}, 9000, 300)
                    .cut("0/4", "4/8").spanOf(60000).pattern("HH (AAaa)2 (CCcc)4 (AAaa)2 (CCcc)4 H"));
    t.push_back(C(28, PD));  // 36
    t.push_back(C(29, PD));  // 37
    t.push_back(C(30, PD));  // 38
    // 39: Samsung32 (and NECx), 32 bits after the 4500/4500 header, all of
    // them command: plain for full repeats (protocol 232), or with the
    // one-bit repeats of id 32 (protocol 234, which keeps the first 32 bits).
    // The 4500/4500 rows (this one, 233 and the one-bit repeat 32) take a
    // header of 3600 .. 5400 us and 8100 .. 9900 us of header period: a
    // remote whose clock runs 5% fast or slow, with the receiver's 2% on
    // each duration (Samsung32's 4400/4400 at 0.95 is 4096 us and 8192 us
    // of period; 4500/4500 at 1.05 is 4820 and 9640).
    t.push_back(C(232, PD, "4500,-4500,bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb,560", {560, -1690, 560, -560}, 900, 250)
                    .cut("-", "0/32").spanOf(110000).pattern("HH (CCcc)16 H"));
    t.push_back(C(232, PD)); // 40
    t.push_back(C(520, PD)); // 41
    // 42: two 4500/4500 halves, 36 bits; the command's two bytes must differ.
    t.push_back(C(231, PD, "4500,-4500,bbbbbbbbbbbbbbbb,500,-4500,bbbbbbbbbbbbbbbbbbbb,500", {500, -1500, 500, -500},
                  250, 200)
                    .differ(20, 28, 8).cut("0/20", "20/8").spanOf(65000).pattern("HH (AAaa)8 HH (AAaa)2 (CCcc)8 H"));
    // 43: Samsung20, 20 bits after the 4500/4500 header: 6 device, 6
    // subdevice, 8 function bits; three code bytes.
    t.push_back(C(233, PD, "4500,-4500,bbbbbbbbbbbbbbbbbbbb,560", {560, -1690, 560, -560}, 900, 250)
                    .cut("0/12", "12/8").spanOf(110000).pattern("HH (AAaa)6 (CCcc)4 H"));
    // 44: the repeat of NECx and Samsung32 remotes that do not resend the
    // frame: the 4500/4500 header, one bit, a final mark. Case 232b keeps
    // this bit after the first frame's 32.
    t.push_back(C(32, PD, "4500,-4500,b,560", {560, -1690, 560, -560}, 900, 250)
                    .cut("-", "0/1").spanOf(110000).pattern("HH CC H"));
    t.push_back(C(32, PD));  // 45
    t.push_back(C(562, PD)); // 46
    // 47: 2500/3368 header only.
    t.push_back(C(422, PD, "2500,-3368,421", {421, -1263, 421, -421}, 500, 150).spanOf(65000).pattern("HHH"));
    t.push_back(C(34, PD)); // 48
    t.push_back(C(35, PD)); // 49
    t.push_back(C(36, PD)); // 50
    // 51: Denon and Sharp, 15 bits without header: 5 address bits, 8
    // command bits and 2 extension bits; the second frame of each pair
    // inverts command and extension, as case 37 expects of odd messages.
    t.push_back(C(37, PD, "bbbbbbbbbbbbbbb,264", {264, -1848, 264, -792}, 200, 250)
                    .cut("0/5", "5/10").spanOf(45000).pattern("(AAaa)2 AA (CCcc)5 H"));
    t.push_back(C(38, PD)); // 52
    // 53, 54: 2400/600 header, 12 bits (7 command, 5 address); the last bit
    // is read from its mark alone.
    t.push_back(C(39, PD, "2400,-600,bbbbbbbbbbb,1200,o", {1200, -600, 600, -600}, 250, 200)
                    .cut("7/5", "0/7").spanOf(45000).pattern("HH (CCcc)3 CC (AAaa)2 AA"));
    t.push_back(C(39, PD, "2400,-600,bbbbbbbbbbb,600,z", {1200, -600, 600, -600}, 250, 200)
                    .cut("7/5", "0/7").spanOf(45000).pattern("HH (CCcc)3 CC (AAaa)2 AA"));
    // 55, 56: the same with 15 bits (8 address).
    t.push_back(C(40, PD, "2400,-600,bbbbbbbbbbbbbb,1200,o", {1200, -600, 600, -600}, 250, 200)
                    .cut("7/8", "0/7").spanOf(45000).pattern("HH (CCcc)3 CC (AAaa)4"));
    t.push_back(C(40, PD, "2400,-600,bbbbbbbbbbbbbb,600,z", {1200, -600, 600, -600}, 250, 200)
                    .cut("7/8", "0/7").spanOf(45000).pattern("HH (CCcc)3 CC (AAaa)4"));
    // 57, 58: the same with 20 bits (13 address).
    t.push_back(C(41, PD, "2400,-600,bbbbbbbbbbbbbbbbbbb,1200,o", {1200, -600, 600, -600}, 250, 200)
                    .cut("7/13", "0/7").spanOf(45000).pattern("HH (CCcc)3 CC (AAaa)6 H"));
    t.push_back(C(41, PD, "2400,-600,bbbbbbbbbbbbbbbbbbb,600,z", {1200, -600, 600, -600}, 250, 200)
                    .cut("7/13", "0/7").spanOf(45000).pattern("HH (CCcc)3 CC (AAaa)6 H"));
    t.push_back(C(42, PD)); // 59
    t.push_back(C(43, PD)); // 60
    // 61: three-symbol code after a repeated 727/2800/727/9800 leader, 5 bits.
    t.push_back(C(44, S3, "727,-2800,727,-9800,727,-2800,727,-9800,727,-2800,727,-9800,727,-2800,bbbbb,727",
                  {727, -2800, 727, -2800, 727, -6327}, 250, 200)
                    .cut("-", "0/5").spanOf(100000).pattern(""));
    t.push_back(C(45, PD)); // 62
    // 63: 421 us biphase after a 421/2100 header, 7 bits.
    t.push_back(C(46, BP, "421,-2100,bbbbbbb", {-421, 421, 421, -421}, 250, 200)
                    .halves(0, 0, 450, 200).with(StoreBack).cut("-", "0/7").spanOf(10000).pattern("HH (CCcc)3 CC"));
    t.push_back(C(47, PD)); // 64
    t.push_back(C(48, PD)); // 65
    // 66: 18000/4500 header only.
    t.push_back(C(49, PD, "18000,-4500,1130", {1130, -3370, 1130, -1130}, 1000, 400).spanOf(170000).pattern("HHH"));
    // 67: Mitsubishi, 16 bits of 300 us marks without header (300/900 and
    // 300/2100), device then function: two code bytes, plain.
    t.push_back(C(50, PD, "bbbbbbbbbbbbbbbb,300", {300, -2100, 300, -900}, 200, 250)
                    .cut("0/8", "8/8").spanOf(30000).pattern("(AAaa)4 (CCcc)4 H"));
    t.push_back(C(51, PD)); // 68
    t.push_back(C(52, PD)); // 69
    // 70: a fixed 4050/2050 frame without data.
    t.push_back(C(53, PD, "4050,-2050,500,-1000,500,-1000,500", {1500, -1000, 500, -1000}, 250, 200)
                    .spanOf(60000).pattern("HHHHHHH"));
    // 71, 72: 12 bits of long and short marks, the last one read from its mark.
    t.push_back(C(54, PD, "bbbbbbbbbbbo,1260", {1260, -421, 421, -1260}, 250, 200)
                    .cut("-", "0/12").spanOf(20000).pattern("(CCcc)6"));
    t.push_back(C(54, PD, "bbbbbbbbbbbz,421", {1260, -421, 421, -1260}, 250, 200)
                    .cut("-", "0/12").spanOf(20000).pattern("(CCcc)6"));
    // 73, 74: three-symbol code of 11 bits, the last one given by its ending.
    t.push_back(C(55, S3, "bbbbbbbbbbz,500", {500, -500, 500, -4100, 500, -5100}, 250, 200)
                    .cut("-", "0/11").spanOf(100000).pattern(""));
    t.push_back(C(55, S3, "bbbbbbbbbbo,500,-500,500", {500, -500, 500, -4100, 500, -5100}, 250, 200)
                    .cut("-", "0/11").spanOf(100000).pattern(""));
    t.push_back(C(56, PD)); // 75
    t.push_back(C(57, PD)); // 76
    t.push_back(C(61, PD)); // 77
    t.push_back(C(62, PD)); // 78
    t.push_back(C(63, PD)); // 79
    t.push_back(C(64, PD)); // 80
    t.push_back(C(66, PD)); // 81
    t.push_back(C(66, PD)); // 82
    t.push_back(C(67, PD)); // 83
    t.push_back(C(68, PD)); // 84
    // 85: 4650/4650 header only.
    t.push_back(C(69, PD, "4650,-4650,579", {579, -1730, 579, -570}, 250, 200)
                    .cut("-", "0/32").spanOf(65000).pattern("HHH"));
    t.push_back(C(70, PD)); // 86
    t.push_back(C(71, PD)); // 87
    t.push_back(C(72, PD)); // 88
    t.push_back(C(73, PD)); // 89
    // 90: 2-bit symbols of a 208 mark, 24 bits; two fixed zeros in the command.
    t.push_back(C(74, S4, "395,-280,bbbbbbbbbbbb,158", {208, -730, 208, -570, 208, -400, 208, -230}, 250, 75)
                    .cut("-", "0/16+'00'+18/6").spanOf(15000).pattern("HH (CCcc)4 TTccCCccH"));
    // 91: Nokia32, a 412/276 leader and sixteen 2-bit symbols (164 us marks,
    // four spaces), most significant first: device, subdevice, toggle and 7
    // bits, function. Case 78 clears bit 16, the toggle.
    t.push_back(C(78, S4, "412,-276,bbbbbbbbbbbbbbbb,164", {164, -783, 164, -614, 164, -445, 164, -276}, 100, 80)
                    .cut("-", "0/32").spanOf(60000).pattern("HH (CCcc)8 H"));
    // 92: 550 us biphase after a raw 500/2500 header, 7 bits.
    t.push_back(C(75, BP, "500,-2500,bbbbbbb", {-550, 500, 500, -550}, 250, 200)
                    .halves(2, 3, 550, 200).with(C::RawHead | StoreBack).cut("-", "0/7").spanOf(15000)
                    .pattern("HH (CCcc)3 CC"));
    t.push_back(C(76, PD)); // 93
    // 94: 300 us biphase after a 2000/1500 leader, 32 bits.
    t.push_back(C(81, BP, "2000,-1500,300,300,300,bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb", {-200, 300, 300, -200}, 250, 150)
                    .halves(0, 0, 270, 150).pad(68, -200).with(StoreBack).cut("-", "0/32").spanOf(25000)
                    .pattern("HHHHH (CCcc)2 CCTT (CCcc)11 CCTTCCcc"));
    // 95: 300 us biphase after a 2500/1950 leader, 32 bits.
    t.push_back(C(82, BP, "2500,-1950,300,300,bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb", {280, -320, -320, 280}, 300, 130)
                    .halves(0, 0, 300, 150).with(StoreBack).cut("-", "0/32").spanOf(30000)
                    .pattern("HHHH (CCcc)4 TT (ccCC)9 ccTTccCCcc"));
    t.push_back(C(83, PD)); // 96
    // 97: eight hex digits of a 200 mark and sixteen spaces.
    t.push_back(C(84, S16, "bbbbbbbb,200",
                  {200, -780,  200, -916,  200, -1052, 200, -1188, 200, -1324, 200, -1460, 200, -1596, 200, -1732,
                   200, -1868, 200, -2004, 200, -2140, 200, -2276, 200, -2412, 200, -2548, 200, -2684, 200, -2820},
                  65, 65)
                    .cut("-", "0/8").spanOf(20000).pattern("(CCcc)4 H"));
    // 98: 300 us biphase, 18 bits.
    t.push_back(C(86, BP, "bbbbbbbbbbbbbbbbbb", {300, -320, -320, 300}, 200, 200)
                    .halves(0, 0, 300, 150).with(StoreBack).cut("-", "0/18").spanOf(15000).pattern("(CCcc)9"));
    // 99: 440 us biphase after a fixed leader, 32 bits; one fixed zero in the command.
    t.push_back(C(89, BP,
                  "2650,-440,-440,440,-440,440,-440,440,-440,-440,440,-440,-440,440,440,bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
                  {440, -440, -440, 440}, 200, 200)
                    .halves(0, 0, 440, 200).pad(78, -440).with(StoreBack).cut("-", "0/16+'0'+17/15").spanOf(42000)
                    .pattern("HHH (VVvv)2 HHHH (CCcc)8 TT (ccCC)7 cc"));
    t.push_back(C(90, PD)); // 100
    t.push_back(C(91, S4)); // 101
    t.push_back(C(91, S4)); // 102
    // 103: 889 us biphase with a long space in the middle, 20 bits.
    t.push_back(C(503, BP, "bbbbbbbbbbbbbbbbbbbb", {-889, 889, 889, -889}, 250, 200)
                    .halves(0, 1, 889, 160).firstEntry(-889).with(C::SpaceCorrections | StoreBack | C::Insert3500)
                    .cut("3/5", "8/12").spanOf(50000).pattern("VVvvTT (AAaa)2 AAH (CCcc)6"));
    // 104: 444 us biphase with a double-length trailer bit, 29 bits. The
    // trailer bit toggles from press to press: the command holds '0' in its
    // place, so that one key gives one code.
    t.push_back(C(432, BP, "2650,-888,bbbbbbbbbbbbbbbbbbbbbbbbbbbbb", {444, -444, -444, 444}, 200, 200)
                    .halves(0, 0, 444, 100).merge(69).pad(59, -444).with(C::Double1011 | StoreBack)
                    .cut("-", "0/4+'0'+5/24").spanOf(42000).pattern("HH (CCcc)2 TT (CCcc)4 (AAaa)4 (CCcc)4"));
    t.push_back(C(435, S4)); // 105
    // 106: the same family with 25 bits, its trailer bit masked too.
    t.push_back(C(587, BP, "2650,-888,bbbbbbbbbbbbbbbbbbbbbbbbb", {444, -444, -444, 444}, 200, 200)
                    .halves(0, 0, 444, 100).merge(61).pad(51, -444).with(C::Double1011 | StoreBack)
                    .cut("-", "0/4+'0'+5/20").spanOf(42000).pattern("HH (CCcc)2 TT (CCcc)4 (AAaa)4 (CCcc)2"));
    // 107: 330 us biphase, 19 bits (10 address, 9 command).
    t.push_back(C(92, BP, "bbbbbbbbbbbbbbbbbbb", {330, -330, -330, 330}, 250, 100)
                    .halves(0, 0, 330, 200).with(StoreBack).cut("0/10", "10/9").spanOf(15000)
                    .pattern("(AAaa)5 (CCcc)5"));
    // 108: the same, 10 bits of address only.
    t.push_back(C(93, BP, "bbbbbbbbbb", {330, -330, -330, 330}, 250, 100)
                    .halves(0, 0, 330, 200).with(StoreBack).cut("0/10", "-").spanOf(15000).pattern("(AAaa)5"));
    t.push_back(C(94, PD));  // 109
    t.push_back(C(521, PD)); // 110
    // 111: 837 us biphase, 12 bits and a trailer.
    t.push_back(C(95, BP, "bbbbbbbbbbbb,3371,-837", {-837, 837, 837, -837}, 250, 200)
                    .halves(0, 1, 837, 200).firstEntry(-837).with(StoreBack).cut("-", "0/12").spanOf(30000)
                    .pattern("(CCcc)6 HH"));
    // 112: the same with 5 bits.
    t.push_back(C(96, BP, "bbbbb,3371,-837", {-837, 837, 837, -837}, 250, 200)
                    .halves(0, 1, 837, 200).firstEntry(-837).with(StoreBack).cut("-", "0/5").spanOf(30000)
                    .pattern("(CCcc)2 CCHH"));
    // 113: octal digits of a 217 mark and eight spaces, 21 digits.
    t.push_back(C(98, S8, "bbbbbbbbbbbbbbbbbbbbb,217",
                  {217, -2913, 217, -6036, 217, -9159, 217, -12282, 217, -15405, 217, -18528, 217, -21651, 217, -24774},
                  200, 400)
                    .cut("-", "0/21").spanOf(150000).pattern("(CCcc)10 CCH"));
    // 114: 215 us biphase, 18 bits.
    t.push_back(C(401, BP, "bbbbbbbbbbbbbbbbbb", {-200, 230, 200, -230}, 250, 100)
                    .halves(0, 0, 215, 100).with(StoreBack).cut("-", "0/18").spanOf(10000).pattern("(CCcc)9"));
    t.push_back(C(402, PD)); // 115
    t.push_back(C(403, S4)); // 116
    t.push_back(C(404, PD)); // 117
    // 118: 12968/4418 header only.
    t.push_back(C(405, PD, "12968,-4418,556", {556, -3906, 556, -556}, 500, 200).spanOf(120000).pattern("HHH"));
    t.push_back(C(406, S4)); // 119
    // 120: 250 us biphase, 23 bits.
    t.push_back(C(511, BP, "bbbbbbbbbbbbbbbbbbbbbbb", {-250, 250, 250, -250}, 250, 100)
                    .halves(0, 0, 250, 100).with(StoreBack).cut("-", "0/23").spanOf(12000).pattern("(CCcc)11 CC"));
    // 121: octal digits, each a space of eight lengths and a 170 mark.
    t.push_back(C(407, S8, "430,bbbbbbbb",
                  {-260, 170, -330, 170, -405, 170, -480, 170, -550, 170, -620, 170, -690, 170, -765, 170}, 100, 35)
                    .cut("-", "0/8").spanOf(6000).pattern("(CCcc)4 H"));
    // 122: 520 us biphase, 24 bits.
    t.push_back(C(408, BP, "bbbbbbbbbbbbbbbbbbbbbbbb", {-520, 520, 520, -520}, 250, 200)
                    .halves(0, 0, 520, 200).with(StoreBack).cut("-", "0/24").spanOf(26000).pattern("(CCcc)12"));
    // 123, 124: 8 bits of long and short marks, the last given by the final mark.
    t.push_back(C(409, PD, "bbbbbbb,700", {2920, -700, 700, -2920}, 200, 200)
                    .cut("-", "0/7+'0'").spanOf(27000).pattern("(CCcc)4"));
    t.push_back(C(409, PD, "bbbbbbb,2920", {2920, -700, 700, -2920}, 200, 200)
                    .cut("-", "0/7+'1'").spanOf(30000).pattern("(CCcc)4"));
    t.push_back(C(410, PD)); // 125
    // 126: 700 us biphase, 22 bits.
    t.push_back(C(411, BP, "bbbbbbbbbbbbbbbbbbbbbb", {-700, 700, 700, -700}, 250, 250)
                    .halves(0, 1, 700, 200).firstEntry(-700).with(StoreBack).cut("-", "0/22").spanOf(32000)
                    .pattern("(CCcc)11"));
    // 127, 128: 25 bits of long and short marks, the last given by the final mark.
    t.push_back(C(595, PD, "bbbbbbbbbbbbbbbbbbbbbbb,630", {1900, -630, 630, -1900}, 200, 200)
                    .cut("-", "0/24+'0'").spanOf(65000).pattern("(CCcc)4 (AAaa)4 (CCcc)4"));
    t.push_back(C(595, PD, "bbbbbbbbbbbbbbbbbbbbbbb,2920", {1900, -630, 630, -1900}, 200, 200)
                    .cut("-", "0/24+'1'").spanOf(65000).pattern("(CCcc)4 (AAaa)4 (CCcc)4"));
    // 129: 425 us biphase after a 450/2150 header, 16 bits.
    t.push_back(C(412, BP, "450,-2150,bbbbbbbbbbbbbbbb", {-400, 450, 450, -400}, 250, 100)
                    .halves(0, 0, 425, 150).with(StoreBack).cut("-", "0/16").spanOf(17000).pattern("HH (CCcc)8"));
    t.push_back(C(413, PD)); // 130
    // 131: 960/1263 header only.
    t.push_back(C(414, PD, "960,-1263,483", {483, -848, 483, -412}, 300, 100).spanOf(25000).pattern("HHH"));
    t.push_back(C(415, PD)); // 132
    // 133: 6000/1453 header only.
    t.push_back(C(416, PD, "6000,-1453,438", {438, -1060, 438, -310}, 400, 100).spanOf(50000).pattern("HHH"));
    // 134, 135: 2-bit symbols of 840/420 cells, 22 bits and two bits given by the ending.
    t.push_back(C(417, S4, "bbbbbbbbbbb,420", {840, -840, 840, -420, 420, -840, 420, -420}, 200, 200)
                    .cut("-", "0/22+'00'").spanOf(20000).pattern("(CCcc)6"));
    t.push_back(C(417, S4, "bbbbbbbbbbb,840", {840, -840, 840, -420, 420, -840, 420, -420}, 200, 200)
                    .cut("-", "0/22+'10'").spanOf(20000).pattern("(CCcc)6"));
    t.push_back(C(418, PD)); // 136
    // 137: 10250/5000 header only.
    t.push_back(C(419, PD, "10250,-5000,634", {634, -1920, 634, -634}, 500, 150).spanOf(85000).pattern("HHH"));
    // 138: 889 us biphase, 14 bits; a fixed zero in the command.
    t.push_back(C(420, BP, "bbbbbbbbbbbbbb", {-889, 889, 889, -889}, 250, 100)
                    .halves(0, 0, 889, 200).with(StoreBack).cut("-", "0/2+'0'+3/11").spanOf(30000)
                    .pattern("CCccTT (CCcc)5 CC"));
    t.push_back(C(421, S4)); // 139
    // 140: 6106/2459 header, 18 bits.
    t.push_back(C(422, PD, "6106,-2459,bbbbbbbbbbbbbbbbbb,372", {372, -2138, 372, -1236}, 500, 200)
                    .cut("-", "0/18").spanOf(60000).pattern("HH (CCcc)9 H"));
    t.push_back(C(423, PD)); // 141
    // 142: 8134/3901 header, one bit.
    t.push_back(C(424, PD, "8134,-3901,b,886", {886, -1515, 886, -752}, 200, 100)
                    .cut("-", "0/1").spanOf(80000).pattern("HHAAH"));
    // 143, 144: the same frame whose header mark was lost: it is put back.
    t.push_back(C(424, PD, "3901,-886, 1515,-886", {886, -1515, 886, -752}, 200, 200)
                    .with(C::Prepend8134).cut("-", "'1'").spanOf(80000).pattern("HHAAH"));
    t.push_back(C(424, PD, "3901,-886, 752,-886", {886, -1515, 886, -752}, 200, 200)
                    .with(C::Prepend8134).cut("-", "'0'").spanOf(80000).pattern("HHAAH"));
    t.push_back(C(425, PD)); // 145
    t.push_back(C(426, PD)); // 146
    t.push_back(C(427, PD)); // 147
    t.push_back(C(428, PD)); // 148
    t.push_back(C(430, PD)); // 149
    t.push_back(C(431, PD)); // 150
    return t;
}

std::vector<ProtocolCandidate> buildNonModulated()
{
    // Marks of 10 to 36 us: their windows contain 0, so a final mark token
    // may take the row's terminating 0 (the message was closed by count).
    std::vector<ProtocolCandidate> t;
    // 1: flash pairs, 5 address and 7 command bits.
    t.push_back(C(101, FP, "10,-400,bbbbbb,10,-400,10",
                  {10, -300, 10, -200, 10, -300, 10, -100, 10, -100, 10, -200, 10, -100, 10, -100}, 50, 50)
                    .cut("0/5", "5/7").spanOf(3500).pattern("HHAAAAaaaaAACCccccCCCCccccHHH"));
    // 2: 3800 us leader twice, 10 bits.
    t.push_back(C(102, PD, "10,-3800,10,-3800,bbbbbbbbbb,10", {10, -7600, 10, -5100}, 250, 600)
                    .cut("-", "1/9").spanOf(80000).pattern("HHHHTT (CCcc)5 H"));
    // 3: 28000 us leader, 5 bits.
    t.push_back(C(103, PD, "10,-28000,bbbbb,10", {10, -14200, 10, -9500}, 1000, 1000)
                    .cut("-", "0/5").spanOf(110000).pattern("HH (CCcc)2 CC"));
    // 4: 300 us leader, 11 bits.
    t.push_back(C(104, PD, "10,-300,bbbbbbbbbbb,10,-300,10", {10, -200, 10, -100}, 70, 50)
                    .cut("1/4", "5/6").spanOf(3000).pattern("HHVV (AAaa)2 (CCcc)3 HHH"));
    // 5: 11 bits without a leader, 7600/5100 spaces.
    t.push_back(C(105, PD, "bbbbbbbbbbb,10", {10, -7600, 10, -5100}, 250, 200)
                    .cut("2/3", "5/6").spanOf(80000).pattern("ttTTAAaaAA (CCcc)3 H"));
    // 6: the same with 8550/5700 spaces.
    t.push_back(C(106, PD, "bbbbbbbbbbb,10", {10, -8550, 10, -5700}, 250, 500)
                    .cut("2/3", "5/6").spanOf(90000).pattern("ttTTAAaaAA (CCcc)3 H"));
    // 7: 325 us leader, 11 bits of 20 us marks.
    t.push_back(C(107, PD, "20,-325,bbbbbbbbbbb,20,-325,20", {20, -230, 20, -95}, 100, 51)
                    .cut("-", "1/10").spanOf(3500).pattern("HH (CCcc)5 CCHHH"));
    // 8: 11 bits of 20 us marks, 5400/3650 spaces.
    t.push_back(C(108, PD, "bbbbbbbbbbb,20", {20, -5400, 20, -3650}, 250, 200)
                    .cut("2/3", "6/6").spanOf(65000).pattern("TTttAAaaAA (CCcc)3 H"));
    // 9: 15700 us leader, 5 bits.
    t.push_back(C(109, PD, "10,-15700,bbbbb,10", {10, -7950, 10, -5250}, 500, 400)
                    .cut("-", "0/5").spanOf(60000).pattern("HH (CCcc)2 CCH"));
    // 10: 300 us leader, 6 bits of 30 us marks.
    t.push_back(C(110, PD, "30,-300,bbbbbb,30,-300,30", {30, -200, 30, -100}, 70, 50)
                    .cut("-", "0/6").spanOf(2500).pattern("HH (CCcc)3 HHH"));
    // 11: 12150 us leader, 5 bits.
    t.push_back(C(111, PD, "10,-12150,bbbbb,10", {10, -6100, 10, -4100}, 1000, 600)
                    .cut("-", "0/5").spanOf(45000).pattern("HH (CCcc)2 CCH"));
    // 12: flash pairs of 30 us marks, 5 address and 7 command bits.
    t.push_back(C(112, FP, "10,-630,bbbbbb,10,-630,10",
                  {30, -490, 30, -345, 30, -490, 30, -130, 30, -130, 30, -345, 30, -130, 30, -130}, 70, 70)
                    .cut("0/5", "5/7").spanOf(7000).pattern("HHAAAAaaaaAACCccccCCCCccccHHH"));
    // 13: 490 us leader, 11 bits of 30 us marks.
    t.push_back(C(113, PD, "10,-490,bbbbbbbbbbb,10,-490,10", {30, -270, 30, -130}, 80, 70)
                    .cut("1/4", "5/6").spanOf(5000).pattern("HHVV (AAaa)2 (CCcc)3 HHH"));
    // 14: 23500 us leader, 5 bits.
    t.push_back(C(114, PD, "10,-23500,bbbbb,10", {10, -11850, 10, -7950}, 500, 400)
                    .cut("-", "0/5").spanOf(90000).pattern("HH (CCcc)2 CCH"));
    // 15: 11 bits, 5900/3900 spaces.
    t.push_back(C(115, PD, "bbbbbbbbbbb,10", {10, -5900, 10, -3900}, 250, 400)
                    .cut("2/3", "5/6").spanOf(60000).pattern("TTttAAaaAA (CCcc)3 H"));
    // 16: 12 bits, 8600/5800 spaces.
    t.push_back(C(116, PD, "bbbbbbbbbbbb,10", {10, -8600, 10, -5800}, 250, 400)
                    .cut("2/3", "5/7").spanOf(100000).pattern("TTttAAaaAA (CCcc)3 CCH"));
    // 17, 18: 10300 us leader, 5 bits, with and without the final mark.
    t.push_back(C(117, PD, "10,-10300,bbbbb,20", {10, -5200, 10, -3500}, 800, 800)
                    .cut("-", "0/5").spanOf(40000).pattern("HH (CCcc)2 CCH"));
    t.push_back(C(117, PD, "10,-10300,bbbbb", {10, -5200, 10, -3500}, 400, 400)
                    .cut("-", "0/5").spanOf(40000).pattern("HH (CCcc)2 CCH"));
    // 19: 5 bits and a 28670 us trailer.
    t.push_back(C(118, PD, "bbbbb,10,-28670", {10, -9560, 10, -14330}, 1500, 1000)
                    .cut("-", "0/5").spanOf(110000).pattern("(ccCC)2 ccHH"));
    // 20: 5 bits and a 23680 us trailer.
    t.push_back(C(119, PD, "bbbbb,10,-23680", {10, -7890, 10, -11870}, 1500, 1000)
                    .cut("-", "0/5").spanOf(110000).pattern("(ccCC)2 ccHH"));
    // 21: 2966 us leader, 11 bits.
    t.push_back(C(120, PD, "36,-2966,bbbbbbbbbbb,36", {10, -1765, 10, -1165}, 300, 200)
                    .cut("-", "0/11").spanOf(25000).pattern("HH (CCcc)5 CCH"));
    return t;
}

} // namespace

const std::vector<ProtocolCandidate> &ProtocolCandidate::modulatedChain()
{
    static const std::vector<ProtocolCandidate> chain = buildModulated();
    return chain;
}

const std::vector<ProtocolCandidate> &ProtocolCandidate::nonModulatedChain()
{
    static const std::vector<ProtocolCandidate> chain = buildNonModulated();
    return chain;
}
