// The older fixed-size key image: protocol fields, the record of each key on
// its layer and place, the "FALSE" mark with the full image behind it, keys
// whose number addresses no record, and the read of a link master's keys.
#include "TestSupport.h"
#include "CatalogueFixture.h"

#include "KeyImageRows.h"
#include "programming/KeyImage.h"

#include <QRegularExpression>
#include <QtTest>

Q_DECLARE_METATYPE(KeyImage::Key)

namespace {

// Plain first blocks, 15 hex digits each; a record shows the first 13.
const QString A = QStringLiteral("0123456789ABCDE");
const QString B = QStringLiteral("FEDCBA987654321");
const QString C = QStringLiteral("13579BDF02468AC");
const QString D = QStringLiteral("C0FFEE123456789");

// The plain digits of an empty code's first block: what the decode of an
// empty block gives.
QString emptyBlock()
{
    const QString bits = Decode::decode(QString());
    QString plain;
    for (int i = 0; i + 4 <= bits.size(); i += 4)
        plain += QLatin1Char(Decode::binToHex(bits.mid(i, 4)));
    return plain.leftJustified(13, QLatin1Char('0'));
}

KeyImage::Key key(const QString &prot, const QString &plain, const QVariant &nkey)
{
    return {KeyImageRows::code(prot, plain), nkey};
}

using KeyImageRows::code;
using KeyImageRows::first;
using KeyImageRows::image;
using KeyImageRows::other;

} // namespace

class TestKeyImage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

    void addKey(const QString &rcid, int type, const QString &id, const QVariant &nkey)
    {
        QVERIFY(CatalogueFixture::addKey(m_db, {rcid, type, QStringLiteral("KEY"), id, nkey}));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = TestSupport::openFixtureCatalogue(m_dir.path(), QStringLiteral("keyimage"));
        QVERIFY(m_db.isOpen());
    }

    void build_data()
    {
        QTest::addColumn<QList<KeyImage::Key>>("keys");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QList<int>>("skipped");

        QTest::addRow("one protocol")
            << QList<KeyImage::Key>{key("001", A, 0), key("001", B, 7), key("001", C, 63)}
            << image(true, "001", "001", {{0, first(A)}, {7, first(B)}, {63, first(C)}}) << QList<int>{};
        QTest::addRow("two protocols, the first met is protocol 1")
            << QList<KeyImage::Key>{key("002", A, 5), key("001", B, 60), key("002", C, 111)}
            << image(true, "002", "001", {{5, first(A)}, {60, other(B)}, {111, first(C)}}) << QList<int>{};
        QTest::addRow("a third protocol gives FALSE and the full image")
            << QList<KeyImage::Key>{key("001", A, 0), key("002", B, 1), key("003", C, 2), key("001", D, 55)}
            << image(false, "001", "002", {{0, first(A)}, {1, other(B)}, {2, other(C)}, {55, first(D)}})
            << QList<int>{};
        QTest::addRow("no keys") << QList<KeyImage::Key>{} << QStringLiteral("FALSE") + QString(1568, QLatin1Char('0'))
                                 << QList<int>{};
        QTest::addRow("a later key replaces an earlier one on its record")
            << QList<KeyImage::Key>{key("001", A, 7), key("001", B, 7)} << image(true, "001", "001", {{7, first(B)}})
            << QList<int>{};
        QTest::addRow("layer edges")
            << QList<KeyImage::Key>{key("001", A, 55), key("001", B, 56), key("001", C, 111)}
            << image(true, "001", "001", {{55, first(A)}, {56, first(B)}, {111, first(C)}}) << QList<int>{};
        QTest::addRow("key number stored as text") << QList<KeyImage::Key>{key("001", A, QStringLiteral("07"))}
                                                   << image(true, "001", "001", {{7, first(A)}}) << QList<int>{};
        QTest::addRow("layer text, first layer")
            << QList<KeyImage::Key>{key("001", A, QStringLiteral("0-07"))}
            << image(true, "001", "001", {{7, first(A)}}) << QList<int>{};
        QTest::addRow("layer text, second layer")
            << QList<KeyImage::Key>{key("001", A, QStringLiteral("1-07"))}
            << image(true, "001", "001", {{63, first(A)}}) << QList<int>{};
        QTest::addRow("layer text, any other layer digit and separator")
            << QList<KeyImage::Key>{key("001", A, QStringLiteral("9x55")), key("001", B, QStringLiteral("0 00"))}
            << image(true, "001", "001", {{0, first(B)}, {111, first(A)}}) << QList<int>{};
        // Only characters 0, 2 and 3 are read, of any text of four or more.
        QTest::addRow("layer text, a letter as layer")
            << QList<KeyImage::Key>{key("001", A, QStringLiteral("A-09"))}
            << image(true, "001", "001", {{65, first(A)}}) << QList<int>{};
        QTest::addRow("layer text longer than four characters")
            << QList<KeyImage::Key>{key("001", A, QStringLiteral("0-10 ")), key("001", B, QStringLiteral("1-07xyz"))}
            << image(true, "001", "001", {{10, first(A)}, {63, first(B)}}) << QList<int>{};
        QTest::addRow("layer text and integer on one record")
            << QList<KeyImage::Key>{key("001", A, 63), key("002", B, QStringLiteral("1-07"))}
            << image(true, "001", "002", {{63, other(B)}}) << QList<int>{};
        QTest::addRow("layer text beyond its layer is skipped")
            << QList<KeyImage::Key>{key("001", A, QStringLiteral("0-56")), key("002", B, QStringLiteral("1-99")),
                                    key("003", C, QStringLiteral("0-7")), key("001", D, 2)}
            << image(true, "001", "001", {{2, first(D)}}) << QList<int>{0, 1, 2};
        // Keys that address no record take no part: their protocols do not
        // count, so the image stays valid.
        QTest::addRow("numbers outside the records are skipped")
            << QList<KeyImage::Key>{key("001", A, 3), key("002", B, 112), key("003", C, -1), key("004", D, QVariant()),
                                    key("002", B, QStringLiteral("abc")), key("003", B, 7.5),
                                    key("004", C, qint64(1) << 32)}
            << image(true, "001", "001", {{3, first(A)}}) << QList<int>{1, 2, 3, 4, 5, 6};
        // A code of one or two characters would make a short protocol
        // field; an empty one is the empty protocol, which fills no field.
        QTest::addRow("codes of one or two characters are skipped, an empty one is not")
            << QList<KeyImage::Key>{KeyImage::Key{QStringLiteral("1"), 3}, key("002", A, 5),
                                    KeyImage::Key{QString(), 6}, KeyImage::Key{QStringLiteral("00"), 7}}
            << image(true, "002", "002", {{5, first(A)}, {6, other(emptyBlock())}})
            << QList<int>{0, 3};
        QTest::addRow("an empty code before the first protocol")
            << QList<KeyImage::Key>{KeyImage::Key{QString(), 3}, key("002", A, 5)}
            << image(true, "002", "002", {{3, other(emptyBlock())}, {5, first(A)}}) << QList<int>{};
        QTest::addRow("an empty code is a third protocol")
            << QList<KeyImage::Key>{key("001", A, 0), key("002", B, 1), KeyImage::Key{QString(), 2}}
            << image(false, "001", "002", {{0, first(A)}, {1, other(B)}, {2, other(emptyBlock())}})
            << QList<int>{};
        QTest::addRow("only empty codes")
            << QList<KeyImage::Key>{KeyImage::Key{QString(), 4}}
            << image(false, "", "", {{4, first(emptyBlock())}}) << QList<int>{};
        QTest::addRow("only keys outside the records")
            << QList<KeyImage::Key>{key("001", A, 200)} << QStringLiteral("FALSE") + QString(1568, QLatin1Char('0'))
            << QList<int>{0};
    }
    void build()
    {
        QFETCH(QList<KeyImage::Key>, keys);
        QFETCH(QString, expected);
        QFETCH(QList<int>, skipped);
        const KeyImage::Result result = KeyImage::build(keys);
        QCOMPARE(result.image, expected);
        QCOMPARE(result.valid, !expected.startsWith(QLatin1String("FALSE")));
        QCOMPARE(result.skipped, skipped);
    }

    // A code whose first block is short or has lower-case key digits still
    // gives a record of 14 upper-case digits: a short block reads as padded
    // with "0", lower-case key digits give no bits of their own.
    void malformedCodeKeepsRecordSize()
    {
        const QString shortBlock = KeyImage::build({{QStringLiteral("0014AB"), 3}}).image;
        QCOMPARE(shortBlock, KeyImage::build({{QStringLiteral("0014AB0000000000000"), 3}}).image);

        const QString lower = KeyImage::build({{QStringLiteral("0014") + code("001", D).mid(4).toLower(), 3}}).image;
        QCOMPARE(lower.size(), 6 + 1568);
        const QString record = lower.mid(6 + 3 * 14, 14);
        QVERIFY2(QRegularExpression(QStringLiteral("^F[0-9A-F]{13}$")).match(record).hasMatch(), qPrintable(record));
        QCOMPARE(lower.left(6 + 3 * 14), QStringLiteral("001001") + QString(3 * 14, QLatin1Char('0')));
        QCOMPARE(lower.mid(6 + 4 * 14), QString(108 * 14, QLatin1Char('0')));
    }

    // The keys of a link master, all remote types together, with the link
    // bound: other masters' keys stay out and quotes are plain text.
    void forLink()
    {
        addKey(QStringLiteral("m0000001"), 1, code("001", A), 7);
        addKey(QStringLiteral("m0000001"), 1, code("002", C), 60);
        addKey(QStringLiteral("m0000001"), 2, code("001", B), 7); // later in the query: replaces type 1's key 7
        addKey(QStringLiteral("m0000002"), 1, code("003", D), 0);
        addKey(QStringLiteral("q'uote"), 3, code("004", D), 9);

        QCOMPARE(KeyImage::forLink(m_db, QStringLiteral("m0000001")),
                 image(true, "001", "002", {{7, first(B)}, {60, other(C)}}));
        QCOMPARE(KeyImage::forLink(m_db, QStringLiteral("q'uote")), image(true, "004", "004", {{9, first(D)}}));
        QCOMPARE(KeyImage::forLink(m_db, QStringLiteral("x' OR '1'='1")),
                 QStringLiteral("FALSE") + QString(1568, QLatin1Char('0')));
    }

    // Key numbers stored as layer text in the catalogue.
    void forLinkWithLayerText()
    {
        addKey(QStringLiteral("m0000004"), 1, code("001", A), QStringLiteral("0-07"));
        addKey(QStringLiteral("m0000004"), 1, code("001", B), QStringLiteral("1-07"));
        QCOMPARE(KeyImage::forLink(m_db, QStringLiteral("m0000004")),
                 image(true, "001", "001", {{7, first(A)}, {63, first(B)}}));
    }

    void forLinkLogsSkippedKeys()
    {
        addKey(QStringLiteral("m0000003"), 1, code("001", A), 2);
        addKey(QStringLiteral("m0000003"), 1, code("001", B), 120);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
                                               "^KeyImage: key number 120 of m0000003 .*addresses no record 0..111")));
        QCOMPARE(KeyImage::forLink(m_db, QStringLiteral("m0000003")), image(true, "001", "001", {{2, first(A)}}));
    }

    void forLinkWithoutTable()
    {
        QSqlDatabase empty = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("empty"));
        empty.setDatabaseName(QDir(m_dir.path()).filePath(QStringLiteral("empty.db")));
        QVERIFY(empty.open());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^KeyImage: keys of m0000001 could not be read")));
        QCOMPARE(KeyImage::forLink(empty, QStringLiteral("m0000001")),
                 QStringLiteral("FALSE") + QString(1568, QLatin1Char('0')));
    }
};

QTEST_GUILESS_MAIN(TestKeyImage)
#include "tst_keyimage.moc"
