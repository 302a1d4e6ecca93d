// The macro page: encoding the macros into the page text, reading them back
// from the information block, the macro names and the switch names.
#include "programming/MacroBlock.h"
#include "programming/SlotNames.h"

#include <QtTest>

Q_DECLARE_METATYPE(MacroStep)

namespace {

using Steps = QList<MacroStep>;

MacroBlock::Bytes blockOf(const QByteArray &bytes, char fill = char(0xFF))
{
    MacroBlock::Bytes out{};
    for (int i = 0; i < MacroBlock::kBytes; ++i)
        out[size_t(i)] = quint8(i < bytes.size() ? bytes.at(i) : fill);
    return out;
}

DeviceInfo infoWith(const QByteArray &page, const QList<int> &keyCodes)
{
    DeviceInfo info;
    info.entries[29] = 1;
    const MacroBlock::Bytes block = blockOf(page);
    for (int i = 0; i < MacroBlock::kBytes; ++i)
        info.entries[size_t(256 + i)] = block[size_t(i)];
    for (int m = 0; m < 8; ++m)
        info.entries[size_t(48 + m)] = keyCodes.value(m, 0);
    return info;
}

} // namespace

class TestMacroBlock : public QObject
{
    Q_OBJECT

private slots:
    // Worked by hand: macro 2 on key 0x85 with two steps, macro 5 on key 0xC0
    // without steps.
    //   0B 07 05            L = 4*2+3, marker, 0x85-0x80
    //   01 10 06 FA         switch 1, key 0x10, 100 ms -> 6, 4000 ms -> 250
    //   00 2A 00 01         switch 0, key 0x2A, 0 ms, 31 ms -> 1
    //   FF                  end of the steps
    //   03 07 40 FF         L = 3, marker, 0xC0-0x80, no steps
    //   FF                  end of the block
    void workedExample()
    {
        const QList<MacroRecord> macros = {
            {2, 0x85, {{1, 0x10, 100, 4000}, {0, 0x2A, 0, 31}}},
            {5, 0xC0, {}},
        };
        const QString text = MacroBlock::encode(macros);
        QCOMPARE(text, QStringLiteral("0B0705" "011006FA" "002A0001" "FF" "030740FF" "FF"));
        QVERIFY(MacroBlock::fits(text));
        const QString page = MacroBlock::padded(text);
        QCOMPARE(page.size(), 256);
        QCOMPARE(page, text + QString(256 - text.size(), QLatin1Char('F')));

        // Read back from the information block: times in 16 ms steps.
        const DeviceInfo info = infoWith(QByteArray::fromHex(text.toLatin1()), {0x12, 0x85, 0x7F, 0, 0xC0});
        const QList<MacroRecord> read = MacroBlock::read(info);
        QCOMPARE(read.size(), 2);
        QCOMPARE(read[0].number, 2);
        QCOMPARE(read[0].keyCode, 0x85);
        QCOMPARE(read[0].steps, (Steps{{1, 0x10, 96, 4000}, {0, 0x2A, 0, 16}}));
        QCOMPARE(read[1].number, 5);
        QCOMPARE(read[1].keyCode, 0xC0);
        QVERIFY(read[1].steps.isEmpty());
        // What was read encodes to the same page.
        QCOMPARE(MacroBlock::encode(read), text);
    }

    void noMacros()
    {
        const QString text = MacroBlock::encode({});
        QCOMPARE(text, QStringLiteral("FF"));
        QCOMPARE(MacroBlock::padded(text), QStringLiteral("FF") + QString(254, QLatin1Char('F')));
        QVERIFY(MacroBlock::read(infoWith(QByteArray(), {0x7F, 0, 1, 2, 3, 4, 5, 127})).isEmpty());
    }

    // The page holds 4 n + 5 bytes for one macro of n steps: 30 steps fit
    // (125 bytes), 31 do not (129). Eight macros share 23 steps.
    void sizeLimit_data()
    {
        QTest::addColumn<QList<int>>("stepsPerMacro");
        QTest::addColumn<int>("length");
        QTest::addRow("30 steps") << QList<int>{30} << 250;
        QTest::addRow("31 steps") << QList<int>{31} << 258;
        QTest::addRow("8 macros, 23 steps") << QList<int>{3, 3, 3, 3, 3, 3, 3, 2} << 250;
        QTest::addRow("8 macros, 24 steps") << QList<int>{3, 3, 3, 3, 3, 3, 3, 3} << 258;
    }
    void sizeLimit()
    {
        QFETCH(QList<int>, stepsPerMacro);
        QFETCH(int, length);
        QList<MacroRecord> macros;
        for (int m = 0; m < stepsPerMacro.size(); ++m)
            macros.append({m + 1, 0x80 + m, Steps(stepsPerMacro[m], MacroStep{2, 0x33, 4000, 16})});
        const QString text = MacroBlock::encode(macros);
        QCOMPARE(text.size(), length);
        QCOMPARE(MacroBlock::fits(text), length <= 256);
        if (MacroBlock::fits(text)) {
            QCOMPARE(MacroBlock::padded(text).size(), 256);
            // A full page reads back whole.
            QList<int> codes;
            for (const MacroRecord &m : macros)
                codes << m.keyCode;
            const QList<MacroRecord> read =
                MacroBlock::read(infoWith(QByteArray::fromHex(text.toLatin1()), codes));
            QCOMPARE(read.size(), macros.size());
            for (int m = 0; m < macros.size(); ++m)
                QCOMPARE(read[m].steps, macros[m].steps);
        }
    }

    // Values are written as their low byte; times with the remainder dropped.
    void byteValues_data()
    {
        QTest::addColumn<MacroStep>("step");
        QTest::addColumn<QString>("bytes");
        QTest::addRow("100 ms") << MacroStep{0, 1, 100, 100} << "00010606";
        QTest::addRow("4000 ms") << MacroStep{2, 255, 4000, 4000} << "02FFFAFA";
        QTest::addRow("15 ms drops to 0") << MacroStep{1, 0, 15, 16} << "01000001";
        QTest::addRow("key above a byte") << MacroStep{0, 0x1A5, 0, 0} << "00A50000";
    }
    void byteValues()
    {
        QFETCH(MacroStep, step);
        QFETCH(QString, bytes);
        QCOMPARE(MacroBlock::encode({{1, 0x90, {step}}}), QStringLiteral("070710") + bytes + "FFFF");
    }

    // Reading finds a macro's record by its key code and stays inside the page.
    void steps_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<char>("fill"); // bytes after the given ones

        const QByteArray two = QByteArray::fromHex("0b0701" "00010203" "01040506" "ff");
        QTest::addRow("first record") << two + QByteArray::fromHex("ff") << 0x81
                                      << Steps{{0, 1, 32, 48}, {1, 4, 80, 96}} << char(0xFF);
        QTest::addRow("second record")
            << two + QByteArray::fromHex("070702" "02090a0b" "ff" "ff") << 0x82 << Steps{{2, 9, 160, 176}}
            << char(0xFF);
        QTest::addRow("no record, end byte") << two + QByteArray::fromHex("ff") << 0x83 << Steps{} << char(0xFF);
        QTest::addRow("key code below 128") << QByteArray::fromHex("070700" "00010203" "ff" "ff") << 0x00
                                            << Steps{} << char(0xFF);
        // A record whose length byte leads past the page ends the search.
        QTest::addRow("hop past the page") << QByteArray::fromHex("f00701") << 0x82 << Steps{} << char(0x00);
        // The second record starts at byte 126: its key byte would be byte 128.
        QByteArray at126 = QByteArray::fromHex("7d0701");
        at126.append(QByteArray(126 - at126.size(), '\x05'));
        at126.append(QByteArray::fromHex("0307"));
        QTest::addRow("record at byte 126") << at126 << 0x80 << Steps{} << char(0x00);
        // Found at byte 124: steps would start at 127, past the last whole step.
        QByteArray at124 = QByteArray::fromHex("7b0701");
        at124.append(QByteArray(124 - at124.size(), '\x05'));
        at124.append(QByteArray::fromHex("030702" "01"));
        QTest::addRow("record at byte 124") << at124 << 0x82 << Steps{} << char(0x00);
        // No end byte: the steps run on to the page's end; the last whole step
        // ends at byte 126, byte 127 is not read.
        QByteArray endless = QByteArray::fromHex("7f0701");
        endless.append(QByteArray(125, '\x02'));
        QTest::addRow("steps run past the page") << endless << 0x81 << Steps(31, MacroStep{2, 2, 32, 32})
                                                 << char(0x00);
        // A step reading stops at a switch byte 0xFF, whatever the length says.
        QTest::addRow("switch byte 0xff ends") << QByteArray::fromHex("0f0701" "00010101" "ff010101" "00020202")
                                               << 0x81 << Steps{{0, 1, 16, 16}} << char(0xFF);
    }
    void steps()
    {
        QFETCH(QByteArray, page);
        QFETCH(int, keyCode);
        QFETCH(Steps, steps);
        QFETCH(char, fill);
        QCOMPARE(MacroBlock::steps(blockOf(page, fill), keyCode), steps);
    }

    // Only macros whose key code is 128 or more are on the device; a present
    // macro without a record has no steps.
    void presentMacros()
    {
        const QByteArray page = QByteArray::fromHex("070705" "01020304" "ff" "ff");
        const QList<MacroRecord> read = MacroBlock::read(infoWith(page, {0x05, 0x80, 0, 0, 0x85, 0, 0, 0xFF}));
        QCOMPARE(read.size(), 3);
        QCOMPARE(read[0].number, 2);
        QVERIFY(read[0].steps.isEmpty());
        QCOMPARE(read[1].number, 5);
        QCOMPARE(read[1].steps, (Steps{{1, 2, 48, 64}}));
        QCOMPARE(read[2].number, 8);
        QCOMPARE(read[2].keyCode, 0xFF);
    }

    void nameSet()
    {
        DeviceInfo info;
        info.entries[27] = 5;
        info.entries[28] = 3;
        QCOMPARE(MacroBlock::nameSetId(info), 5 * 256 + 3);
    }

    void names_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("names");
        QTest::addRow("two closed") << "Watch TV;Radio;" << QStringList{"Watch TV", "Radio"};
        QTest::addRow("last not closed") << "Watch TV;Radio" << QStringList{"Watch TV"};
        QTest::addRow("starts with ;") << ";Radio;" << QStringList{};
        QTest::addRow("empty name ends") << "A;;B;" << QStringList{"A"};
        QTest::addRow("empty") << "" << QStringList{};
        QTest::addRow("ninth ignored") << "1;2;3;4;5;6;7;8;9;" << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"};
        QTest::addRow("blanks kept") << " a ;b;" << QStringList{" a ", "b"};
    }
    void names()
    {
        QFETCH(QString, value);
        QFETCH(QStringList, names);
        QCOMPARE(MacroBlock::names(value), names);
    }

    void switchNames_data()
    {
        QTest::addColumn<int>("slotCount");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("names");
        const QStringList captions{"TV", "SAT", "DVD", "AUX"};
        QTest::addRow("four slots") << 4 << captions << QStringList{"TV", "SAT", "DVD"};
        QTest::addRow("one slot") << 1 << captions << QStringList{"TV", "2nd", "3rd"};
        QTest::addRow("no slots") << 0 << captions << QStringList{"1th", "2nd", "3rd"};
        QTest::addRow("slot without caption") << 4 << QStringList{"TV", "", "DVD"} << QStringList{"TV", "2nd", "DVD"};
        QTest::addRow("no captions known") << 3 << QStringList{} << QStringList{"1th", "2nd", "3rd"};
    }
    void switchNames()
    {
        QFETCH(int, slotCount);
        QFETCH(QStringList, captions);
        QFETCH(QStringList, names);
        const QMap<int, QString> map = MacroBlock::switchNames(slotCount, captions);
        QCOMPARE(map.keys(), (QList<int>{0, 1, 2}));
        QCOMPARE(map.values(), names);
    }

    void ordinals()
    {
        QStringList all;
        for (int i = -1; i <= 10; ++i)
            all << SlotNames::ordinal(i);
        QCOMPARE(all, (QStringList{"", "1th", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th", "9th", "10th", ""}));
    }

    void remote2Caption_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("caption");
        QTest::addRow("used") << QByteArray::fromHex("0101000000000353415403") << "SAT";
        QTest::addRow("cleared slot keeps it") << QByteArray::fromHex("0001000000000354565a") << "TVZ";
        QTest::addRow("zero byte ends") << QByteArray::fromHex("0001000000000554560041") << "TV";
        QTest::addRow("length 0") << QByteArray::fromHex("0101000000000054") << "";
        QTest::addRow("Latin-1") << QByteArray::fromHex("01010000000002d841") << QString::fromUtf8("\xC3\x98" "A");
        // A length beyond the page stops at its last byte.
        QByteArray full = QByteArray::fromHex("010100000000ff");
        full.append(QByteArray(57, 'x'));
        QTest::addRow("length past the page") << full << QString(57, QLatin1Char('x'));
    }
    void remote2Caption()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, caption);
        // A larger buffer with a marker after the page shows that nothing
        // beyond byte 63 is read.
        int buffer[128];
        for (int i = 0; i < 128; ++i)
            buffer[i] = i < page.size() ? quint8(page[i]) : (i < 64 ? 0 : 'Z');
        QCOMPARE(SlotNames::remote2Caption(buffer), caption);
    }
};

QTEST_APPLESS_MAIN(TestMacroBlock)
#include "tst_macroblock.moc"
