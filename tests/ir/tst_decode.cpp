#include "ir/Decode.h"
#include "ir/Misc.h"

#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

class TestDecode : public QObject
{
    Q_OBJECT

private:
    static QString randomBits(QRandomGenerator &rng, int n)
    {
        QString s;
        for (int i = 0; i < n; ++i)
            s.append(rng.bounded(2) ? QLatin1Char('1') : QLatin1Char('0'));
        return s;
    }
    static QString padded(const QString &bits)
    {
        const int target = bits.isEmpty() ? 60 : (bits.size() + 59) / 60 * 60;
        return bits.leftJustified(target, QLatin1Char('0'));
    }

private slots:
    void tableInvariants()
    {
        for (int k = 0; k < 256; ++k) {
            QSet<int> seen;
            for (int c = 0; c < 13; ++c) {
                const int p = Decode::permutationTable[k][c];
                QVERIFY2(p >= 0 && p <= 12, qPrintable(QStringLiteral("row %1").arg(k)));
                seen.insert(p);
                const int s = Decode::substitutionTable[k][c];
                QVERIFY2(s >= 0 && s <= 15, qPrintable(QStringLiteral("row %1").arg(k)));
            }
            QCOMPARE(seen.size(), 13);
        }
    }

    void tablesAreNotTrivial()
    {
        // A table of identity rows or zero substitutions would scramble nothing.
        int identityRows = 0, zeroRows = 0;
        for (int k = 0; k < 256; ++k) {
            bool identity = true, zero = true;
            for (int c = 0; c < 13; ++c) {
                identity = identity && Decode::permutationTable[k][c] == c;
                zero = zero && Decode::substitutionTable[k][c] == 0;
            }
            identityRows += identity;
            zeroRows += zero;
        }
        QVERIFY(identityRows < 2);
        QVERIFY(zeroRows < 2);
    }

    void roundTripAllLengths()
    {
        QRandomGenerator rng(4711);
        for (int n = 0; n <= 200; ++n) {
            const QString bits = randomBits(rng, n);
            const QString code = Decode::encode(bits);
            const int blocks = n == 0 ? 1 : (n + 59) / 60;
            QCOMPARE(code.size(), 15 * blocks);
            for (QChar c : code)
                QVERIFY(QStringLiteral("0123456789ABCDEF").contains(c));
            QCOMPARE(Decode::decode(code), padded(bits));
        }
    }

    void clearKeyDigits()
    {
        // The first two block digits are the first 8 bits in clear.
        const QString bits = QStringLiteral("10100101") + QString(52, QLatin1Char('1'));
        const QString code = Decode::encode(bits);
        QCOMPARE(code.size(), 15);
        QCOMPARE(code.left(2), QStringLiteral("A5"));
    }

    void deterministicAndScrambled()
    {
        const QString bits = QStringLiteral("00010000111011110000001011111101");
        QCOMPARE(Decode::encode(bits), Decode::encode(bits));
        // Scrambling changes the digits after the key byte for most inputs.
        QString plain;
        for (int i = 0; i < 60; i += 4)
            plain.append(QLatin1Char(Decode::binToHex(padded(bits).mid(i, 4))));
        QVERIFY(Decode::encode(bits) != plain);
    }

    void blockBoundaries_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("codeLength");
        QTest::addColumn<int>("decodedLength");
        QTest::addRow("empty") << 0 << 15 << 60;
        QTest::addRow("59") << 59 << 15 << 60;
        QTest::addRow("60") << 60 << 15 << 60;
        QTest::addRow("61") << 61 << 30 << 120;
        QTest::addRow("120") << 120 << 30 << 120;
        QTest::addRow("121") << 121 << 45 << 180;
    }
    void blockBoundaries()
    {
        QFETCH(int, bits);
        QFETCH(int, codeLength);
        QFETCH(int, decodedLength);
        const QString in(bits, QLatin1Char('1'));
        const QString code = Decode::encode(in);
        QCOMPARE(code.size(), codeLength);
        const QString out = Decode::decode(code);
        QCOMPARE(out.size(), decodedLength);
        QCOMPARE(out.left(bits), in);
        QCOMPARE(out.mid(bits), QString(decodedLength - bits, QLatin1Char('0')));
    }

    void emptyDecodesToZeros()
    {
        QCOMPARE(Decode::decode(Decode::encode(QString())), QString(60, QLatin1Char('0')));
    }

    void longInputDecodesPartialBlock()
    {
        QRandomGenerator rng(99);
        const QString code = Decode::encode(randomBits(rng, 14 * 60));
        // 200 characters: 13 full blocks plus 5 characters of the 14th.
        const QString out = Decode::decode(code.left(200));
        QCOMPARE(out.left(780), Decode::decode(code.left(195)));
        QCOMPARE(out.mid(780), Decode::decode(code.mid(195, 5)));
    }

    void partialBlocks_data()
    {
        QTest::addColumn<int>("length");
        for (int len : {0, 1, 2, 14})
            QTest::addRow("%d", len) << len;
    }
    void partialBlocks()
    {
        // A short block reads as the same block padded with '0' to 15 digits.
        QFETCH(int, length);
        QRandomGenerator rng(length + 1);
        const QString block = Decode::encode(randomBits(rng, 60));
        const QString part = block.left(length);
        QCOMPARE(Decode::decode(part), Decode::decode(part.leftJustified(15, QLatin1Char('0'))));
    }

    void lowerCaseBlocks()
    {
        QRandomGenerator rng(7);
        // Key digits in lower case: K counts 0 and they give no bits.
        QString block = Decode::encode(QStringLiteral("10101011") + randomBits(rng, 52));
        QCOMPARE(block.left(2), QStringLiteral("AB"));
        const QString lowered = block.left(2).toLower() + block.mid(2);
        QCOMPARE(Decode::decode(lowered).size(), 52);

        // Lower-case scrambled digits are read by their value.
        QString upper = Decode::encode(QStringLiteral("00010010") + QString(52, QLatin1Char('1')));
        QString mixed = upper.left(2) + upper.mid(2).toLower();
        QCOMPARE(Decode::decode(mixed), Decode::decode(upper));
    }

    void converters_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("hexValue");
        QTest::addRow("0") << "0" << 0;
        QTest::addRow("9") << "9" << 9;
        QTest::addRow("A") << "A" << 10;
        QTest::addRow("F") << "F" << 15;
        QTest::addRow("lower a") << "a" << 0;
        QTest::addRow("empty") << "" << 0;
        QTest::addRow("two digits") << "12" << 0;
        QTest::addRow("G") << "G" << 0;
    }
    void converters()
    {
        QFETCH(QString, input);
        QFETCH(int, hexValue);
        QCOMPARE(Decode::hexToInt(input), hexValue);
    }

    void binToHexAndHexDigit()
    {
        QCOMPARE(Decode::binToHex(QStringLiteral("0000")), '0');
        QCOMPARE(Decode::binToHex(QStringLiteral("1010")), 'A');
        QCOMPARE(Decode::binToHex(QStringLiteral("1111")), 'F');
        QCOMPARE(Decode::binToHex(QStringLiteral("111")), '0');
        QCOMPARE(Decode::binToHex(QStringLiteral("1x11")), '0');
        QCOMPARE(Misc::hexDigit(0), '0');
        QCOMPARE(Misc::hexDigit(15), 'F');
        QCOMPARE(Misc::hexDigit(16), '0');
        QCOMPARE(Misc::hexDigit(-1), '0');
    }

    void nonBitGroupsShiftDigits()
    {
        // "xxxx" is no bit pattern: it gives no digit and the next ones move up.
        const QString withJunk = QStringLiteral("xxxx") + QStringLiteral("0001") + QStringLiteral("0010") +
                                 QString(44, QLatin1Char('0'));
        const QString clean = QStringLiteral("00010010") + QString(52, QLatin1Char('0'));
        QCOMPARE(Decode::encode(withJunk), Decode::encode(clean));
    }
};

QTEST_APPLESS_MAIN(TestDecode)
#include "tst_decode.moc"
