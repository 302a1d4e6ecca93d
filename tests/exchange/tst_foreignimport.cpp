// The two import-only formats: VRC and KESTRUL parsers on small files of our
// own, and their writing into the catalogue as new own masters.
#include "CatalogueFixture.h"
#include "GermanTexts.h"
#include "TestSupport.h"
#include "catalogue/DocumentationText.h"

#include "exchange/CatalogueWriter.h"
#include "exchange/ImportValues.h"
#include "exchange/KestrulFile.h"
#include "exchange/VrcFile.h"
#include "ir/Decode.h"

#include <QElapsedTimer>
#include <QtTest>

#include <sys/stat.h>

namespace {

const char kHeader[] = "VARNO Infrared Remote Control File v1.00";

// A VRC file from its lines, every line ended with eol.
QByteArray vrc(const QList<QByteArray> &lines, const QByteArray &eol)
{
    QByteArray out;
    for (const QByteArray &line : lines)
        out += line + eol;
    return out;
}

QList<QByteArray> dvdLines()
{
    return {kHeader, "ACME", "DVD PLAYER", "D-1", "changer DVD.bmp",
            "key", "Power", "0013AAAA", "1 05",
            "key", "Play", "0013BBBB", "0 12",
            "key", "No code", "", "0 99",
            "<end_of_file>", "first line", "second line"};
}

QString keysOf(const ImportedRemote &r)
{
    QStringList out;
    for (const ImportedRemote::Key &k : r.keys)
        out << QStringLiteral("%1=%2:%3").arg(k.nkey).arg(k.name, k.id);
    return out.join(QLatin1Char(' '));
}

QByteArray kestrul(const QList<QByteArray> &keyLines, const QByteArray &eol = "\r\n")
{
    QList<QByteArray> lines = {"FileFormat=KESTRUL", "Version=1", "KeyMap=K5", "Type=TV", "Brand=ACME",
                               "Model=K-1", "", "Buttons=3"};
    return vrc(lines + keyLines, eol);
}

// What a reader tells: its reason when it refuses, else its log lines.
QString toldBy(bool isVrc, const QByteArray &bytes, ImportedRemote *remote = nullptr)
{
    ImportedRemote r;
    QString error;
    const bool read = isVrc ? VrcFile::parse(bytes, &r, &error) : KestrulFile::parse(bytes, &r, &error);
    if (remote)
        *remote = r;
    return read ? r.log.join(QLatin1Char('\n')) : error;
}

QStringList debugLines;
void keepDebugLine(QtMsgType, const QMessageLogContext &, const QString &text)
{
    debugLines << text;
}

} // namespace

class TestForeignImport : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    QSqlDatabase m_db;

    QStringList dump()
    {
        return TestSupport::tableRows(m_db, QStringLiteral("rcmodels"), QStringLiteral("Rcid"))
            + TestSupport::tableRows(m_db, QStringLiteral("rckeys"), QStringLiteral("Rcid,RCTypeId,Nkey,Name"));
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        m_db = TestSupport::openFixtureCatalogue(m_dir->path());
        QVERIFY(m_db.isOpen());
        QVERIFY(CatalogueFixture::addModel(m_db, {"victim00", "VICTIM", "TV", "V-1", "keep me", {}, {}}));
        QVERIFY(CatalogueFixture::addKey(m_db, {"victim00", 5, "Power", "0013CCCC", 22}));
    }
    void cleanup()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
        delete m_dir;
    }

    void vrcLineEndsGiveTheSameRows_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addRow("CR LF with header") << vrc(dvdLines(), "\r\n");
        QTest::addRow("LF with header") << vrc(dvdLines(), "\n");
        QList<QByteArray> noHeader = dvdLines();
        noHeader[0] = "some other first line";
        QTest::addRow("CR LF without header") << vrc(noHeader, "\r\n");
        QTest::addRow("LF without header") << vrc(noHeader, "\n");
        QTest::addRow("no line end at the end") << vrc(dvdLines(), "\n").chopped(1);
        QTest::addRow("CR with header") << vrc(dvdLines(), "\r");
        QTest::addRow("CR without header") << vrc(noHeader, "\r");
    }
    void vrcLineEndsGiveTheSameRows()
    {
        QFETCH(QByteArray, bytes);
        ImportedRemote r;
        QString error;
        QVERIFY2(VrcFile::parse(bytes, &r, &error), qPrintable(error));
        QCOMPARE(r.brand, QStringLiteral("ACME"));
        QCOMPARE(r.type, QStringLiteral("DVD PLAYER"));
        QCOMPARE(r.model, QStringLiteral("D-1"));
        QCOMPARE(r.typeId, 2);
        // "1 05" is key 5 of the shift layer; the record without code is skipped.
        QCOMPARE(keysOf(r), QStringLiteral("61=Power:0013AAAA 12=Play:0013BBBB"));
        QVERIFY(r.documentation.startsWith(QLatin1String("first line")));
        QVERIFY(r.documentation.contains(QLatin1String("second line")));
    }

    void vrcPositionsOfTheFourInOne()
    {
        const QByteArray bytes = vrc({kHeader, "B", "T", "M", "changer 4in1.png", "k", "Shifted", "0013A", "1 52",
                                      "k", "Zero", "0013B", "0 53", "<end_of_file>"},
                                     "\r\n");
        ImportedRemote r;
        QString error;
        QVERIFY2(VrcFile::parse(bytes, &r, &error), qPrintable(error));
        QCOMPARE(r.typeId, 5);
        QCOMPARE(keysOf(r), QStringLiteral("44=Shifted:0013A 0=Zero:0013B"));
        QCOMPARE(r.documentation, QString());
    }

    void vrcRefusesWholeFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QList<QByteArray> lines = dvdLines();
        QTest::addRow("no end marker") << vrc(lines.mid(0, 17), "\r\n");
        QTest::addRow("ends inside a record") << vrc(lines.mid(0, 11), "\r\n");
        QTest::addRow("ends in the header") << vrc(lines.mid(0, 3), "\r\n");
        QTest::addRow("empty") << QByteArray();
        lines[4] = "changer TV.jpg";
        QTest::addRow("unknown picture") << vrc(lines, "\r\n");
        lines[4] = "7";
        QTest::addRow("type 7") << vrc(lines, "\r\n");
        lines[4] = "x') OR ('1'='1";
        QTest::addRow("picture injection") << vrc(lines, "\r\n");
        lines = dvdLines();
        lines[8] = "3 60";
        QTest::addRow("key number beyond 127") << vrc(lines, "\r\n");
        lines[8] = "9 xx";
        QTest::addRow("layer beyond 127") << vrc(lines, "\r\n");
    }
    void vrcRefusesWholeFiles()
    {
        QFETCH(QByteArray, bytes);
        ImportedRemote r;
        QString error;
        QVERIFY(!VrcFile::parse(bytes, &r, &error));
        QVERIFY(!error.isEmpty());
    }

    // The documentation (the rest after the end marker) is taken up to the
    // length the record dialog edits; a longer one refuses the file.
    void vrcDocumentationBound_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("accepted");
        QTest::addRow("at the bound") << DocumentationText::kMaxStoredChars << true;
        QTest::addRow("one past") << DocumentationText::kMaxStoredChars + 1 << false;
        QTest::addRow("ten megabytes") << 10 * 1024 * 1024 << false;
    }
    void vrcDocumentationBound()
    {
        QFETCH(int, length);
        QFETCH(bool, accepted);
        QList<QByteArray> lines = dvdLines().mid(0, 18);
        lines << QByteArray(length - 2, 'd'); // and its line end
        ImportedRemote r;
        QString error;
        QCOMPARE(VrcFile::parse(vrc(lines, "\r\n"), &r, &error), accepted);
        if (accepted)
            QCOMPARE(r.documentation.size(), length);
        else
            QCOMPARE(error, QStringLiteral("the documentation is longer than 65536 characters"));
    }

    // The position is b (first character) and p (third and fourth), each 0
    // when not a number; only a key number beyond 127 refuses the file.
    void vrcPositionsAsWritten_data()
    {
        QTest::addColumn<QByteArray>("picture");
        QTest::addColumn<QByteArray>("position");
        QTest::addColumn<int>("nkey");
        QTest::addRow("trailing blank") << QByteArray("changer DVD.bmp") << QByteArray("0 12 ") << 12;
        QTest::addRow("one digit") << QByteArray("changer DVD.bmp") << QByteArray("1 5") << 61;
        QTest::addRow("beyond 55 on type 1") << QByteArray("changer TV.png") << QByteArray("0 60") << 60;
        QTest::addRow("layer 2") << QByteArray("changer AUX.bmp") << QByteArray("2 15") << 127;
        QTest::addRow("layer not a digit") << QByteArray("changer SAT.bmp") << QByteArray("- 07") << 7;
        QTest::addRow("4in1 layer 2") << QByteArray("changer 4in1.bmp") << QByteArray("2 52") << 87;
    }
    void vrcPositionsAsWritten()
    {
        QFETCH(QByteArray, picture);
        QFETCH(QByteArray, position);
        QFETCH(int, nkey);
        const QByteArray bytes =
            vrc({kHeader, "B", "T", "M", picture, "k", "Key", "0013A", position, "<end_of_file>"}, "\r\n");
        ImportedRemote r;
        QString error;
        QVERIFY2(VrcFile::parse(bytes, &r, &error), qPrintable(error));
        QCOMPARE(keysOf(r), QStringLiteral("%1=Key:0013A").arg(nkey));
        QVERIFY(r.log.isEmpty());
    }

    void vrcFourInOnePositionWithoutKeyIsSkipped()
    {
        const QByteArray bytes = vrc({kHeader, "B", "T", "M", "changer 4in1.png", "k", "Nowhere", "0013A", "0 54",
                                      "k", "Zero", "0013B", "0 53", "<end_of_file>"},
                                     "\r\n");
        ImportedRemote r;
        QString error;
        QVERIFY2(VrcFile::parse(bytes, &r, &error), qPrintable(error));
        // Not key 0: the record at position 53 is the only key 0.
        QCOMPARE(keysOf(r), QStringLiteral("0=Zero:0013B"));
        QCOMPARE(r.log.size(), 1);
        QVERIFY(r.log.constFirst().contains(QLatin1String("Nowhere")));
    }

    void oversizedInputIsRefused()
    {
        QByteArray bytes = vrc(dvdLines(), "\r\n");
        bytes.append(ImportValues::MaxFileSize + 1 - bytes.size(), '\n');
        ImportedRemote r;
        QString error;
        QVERIFY(!VrcFile::parse(bytes, &r, &error));
        QVERIFY(error.contains(QLatin1String("larger")));
        bytes.replace(0, 40, kestrul({}).left(40));
        error.clear();
        QVERIFY(!KestrulFile::parse(bytes, &r, &error));
        QVERIFY(error.contains(QLatin1String("larger")));
        bytes.chop(2);
        QVERIFY2(KestrulFile::parse(bytes, &r, &error), qPrintable(error)); // at the limit it is read
    }

    void vrcReadsLatin1AndStopsTextAtNul()
    {
        QList<QByteArray> lines = dvdLines();
        lines[1] = QByteArray("M\xe9tal\0rest", 10);
        ImportedRemote r;
        QString error;
        QVERIFY(VrcFile::parse(vrc(lines, "\r\n"), &r, &error));
        QCOMPARE(r.brand, QStringLiteral("M\u00e9tal"));
        QCOMPARE(r.documentation, QStringLiteral("first line\r\nsecond line\r\n"));
    }

    void kestrulKeyLines_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("nkey");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("id");
        QTest::addRow("0051") << QByteArray("4,Power=0051 04 FB 08") << 22 << "Power"
                              << "3155" + Decode::encode("00100000110111110001000011101111");
        QTest::addRow("0254") << QByteArray("4,Power=0254 04 FB 08") << 22 << "Power"
                              << "3155" + Decode::encode("00100000001000001101111100100000");
        QTest::addRow("0043") << QByteArray("2,Vol=0043 00 05 01") << 14 << "Vol"
                              << "0232" + Decode::encode("110100100000");
        QTest::addRow("0176") << QByteArray("3,Mute=0176 00 00 81 03") << 16 << "Mute"
                              << "0264" + Decode::encode("100000010000001100000011");
        QTest::addRow("0099 16 bits") << QByteArray("5,Ch=0099 01 1FFF") << 24 << "Ch"
                                      << "0394" + Decode::encode("1000000111111111111111");
        QTest::addRow("1018") << QByteArray("6,In=1018 01 02 03 04") << 2 << "In"
                              << "2345" + Decode::encode("100000000100000011000000001000001");
        QTest::addRow("name with =") << QByteArray("7,A=B=0101 01 02") << 3 << "A=B"
                                     << "0103" + Decode::encode("1000000001000000");
        QTest::addRow("n 0") << QByteArray("0,Zero=0101 01 02") << 1 << "Zero"
                             << "0103" + Decode::encode("1000000001000000");
        QTest::addRow("n 1") << QByteArray("1,One=0101 01 02") << 0 << "One"
                             << "0103" + Decode::encode("1000000001000000");
        QTest::addRow("n not a number") << QByteArray("x,Odd=0101 01 02") << 1 << "Odd"
                                        << "0103" + Decode::encode("1000000001000000");
        QTest::addRow("unreadable number is 0") << QByteArray("9,Bad=0101 ZZ 02") << 29 << "Bad"
                                                << "0103" + Decode::encode("0000000001000000");
    }
    void kestrulKeyLines()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, nkey);
        QFETCH(QString, name);
        QFETCH(QString, id);
        ImportedRemote r;
        QString error;
        QVERIFY(KestrulFile::parse(kestrul({line}), &r, &error));
        QCOMPARE(r.keys.size(), 1);
        QCOMPARE(r.keys[0].nkey, nkey);
        QCOMPARE(r.keys[0].name, name);
        QCOMPARE(r.keys[0].id, id);
        QCOMPARE(r.typeId, 5);
    }

    void kestrulBadLinesSkipOnlyThemselves()
    {
        const QByteArray bytes = kestrul({"4,Power=0051 04 FB 08", "90,Far=0051 04 FB 08", "5,Short=0051 04",
                                          "xxx", "6,None=xxx", "-1,Neg=0101 01 02", "7,Last=0101 01 02", "",
                                          "8,After=0101 01 02"});
        ImportedRemote r;
        QString error;
        QVERIFY(KestrulFile::parse(bytes, &r, &error));
        QCOMPARE(r.keys.size(), 2);
        QCOMPARE(r.keys[0].name, QStringLiteral("Power"));
        QCOMPARE(r.keys[1].name, QStringLiteral("Last"));
        QCOMPARE(r.log.size(), 1);
        QVERIFY2(r.log.constFirst().startsWith(QLatin1String("Lines skipped: 5 (line 10: key 90 is not 0 to 85; "
                                                             "line 11: code \"0051\"")),
                 qPrintable(r.log.constFirst()));
        QCOMPARE(r.brand, QStringLiteral("ACME"));
        QCOMPARE(r.type, QStringLiteral("TV"));
        QCOMPARE(r.model, QStringLiteral("K-1"));
    }

    void kestrulHeaderAndLineEnds()
    {
        ImportedRemote r;
        QString error;
        // LF line ends lose no real character.
        QVERIFY(KestrulFile::parse(kestrul({"4,Power=0051 04 FB 08"}, "\n"), &r, &error));
        QCOMPARE(r.brand, QStringLiteral("ACME"));
        QCOMPARE(r.keys.size(), 1);
        // A short file reads its missing header lines as empty.
        QVERIFY(KestrulFile::parse("FileFormat=KESTRUL\r\nVersion=1\r\n", &r, &error));
        QCOMPARE(r.brand, QString());
        QVERIFY(r.keys.isEmpty());
        QVERIFY(KestrulFile::parse("  FileFormat=KESTRUL \n", &r, &error));
        QVERIFY(!KestrulFile::parse("\xef\xbb\xbf" "FileFormat=KESTRUL\r\n", &r, &error));
        QVERIFY(!KestrulFile::parse("FileFormat=OTHER\r\n", &r, &error));
        QVERIFY(!KestrulFile::parse(QByteArray(), &r, &error));
    }

    // Each format read with every line end a file may have: LF, CR LF or CR.
    void kestrulLineEnds_data()
    {
        QTest::addColumn<QByteArray>("eol");
        QTest::addRow("LF") << QByteArray("\n");
        QTest::addRow("CR LF") << QByteArray("\r\n");
        QTest::addRow("CR") << QByteArray("\r");
    }
    void kestrulLineEnds()
    {
        QFETCH(QByteArray, eol);
        ImportedRemote r;
        QString error;
        QVERIFY2(KestrulFile::parse(kestrul({"4,Power=0051 04 FB 08", "7,Last=0101 01 02"}, eol), &r, &error),
                 qPrintable(error));
        QCOMPARE(r.brand, QStringLiteral("ACME"));
        QCOMPARE(r.model, QStringLiteral("K-1"));
        QCOMPARE(r.keys.size(), 2);
        QCOMPARE(r.keys[1].name, QStringLiteral("Last"));
        QVERIFY(r.log.isEmpty());
    }

    // A file of nothing but lines the reader skips gives one log line that
    // counts them and names the first few, however many there are; the
    // bound on the time is far above what the reading takes.
    void skippedLinesAreCounted_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("isVrc");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<QString>("first");
        const int lines = 600000;
        QTest::addRow("KESTRUL lines without code")
            << kestrul({}) + QByteArray("no code here\r\n").repeated(lines) << false << lines
            << QStringLiteral("line 9: key line \"no code here\" has no code; line 10: ");
        QTest::addRow("KESTRUL keys beyond 85")
            << kestrul({}) + QByteArray("90,Far=0051 04 FB 08\n").repeated(lines) << false << lines
            << QStringLiteral("line 9: key 90 is not 0 to 85; line 10: ");
        QTest::addRow("VRC positions without key")
            << vrc(QList<QByteArray>{kHeader, "B", "T", "M", "changer 4in1.png"}, "\r\n")
                   + QByteArray("k\r\nNowhere\r\n0013A\r\n0 54\r\n").repeated(lines / 4) + "<end_of_file>\r\n"
            << true << lines / 4
            << QStringLiteral("line 9: key \"Nowhere\": position \"0 54\" has no key on remote type 5; line 13: ");
    }
    void skippedLinesAreCounted()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, isVrc);
        QFETCH(int, skipped);
        QFETCH(QString, first);
        QElapsedTimer timer;
        timer.start();
        ImportedRemote r;
        toldBy(isVrc, bytes, &r);
        QVERIFY2(timer.elapsed() < 30000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(r.keys.isEmpty());
        QCOMPARE(r.log.size(), 1);
        const QString line = r.log.constFirst();
        QVERIFY2(line.startsWith(QStringLiteral("Lines skipped: %1 (").arg(skipped) + first), qPrintable(line));
        static const QRegularExpression shown(QStringLiteral("line \\d+: "));
        int named = 0;
        for (auto it = shown.globalMatch(line); it.hasNext(); it.next())
            ++named;
        QCOMPARE(named, ImportValues::SkippedLines::Shown);
        QVERIFY2(line.endsWith(QStringLiteral("; \u2026).")), qPrintable(line));
    }

    // A value of a megabyte is quoted by its start only, in a refusal as in
    // the log.
    void longValuesAreQuotedCut_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("isVrc");
        QTest::addColumn<QString>("start");
        const QByteArray huge(1 << 20, 'x');
        QList<QByteArray> lines = dvdLines();
        lines[4] = "changer " + huge;
        QTest::addRow("VRC picture") << vrc(lines, "\r\n") << true << "unknown remote-type picture \"changer xxx";
        lines = dvdLines();
        lines[6] = huge;
        lines[8] = "3 60" + huge;
        QTest::addRow("VRC position beyond 127") << vrc(lines, "\r\n") << true << "line 9: key \"xxx";
        QTest::addRow("VRC position without key")
            << vrc({kHeader, "B", "T", "M", "changer 4in1.png", "k", huge, "0013A", "0 54" + huge, "<end_of_file>"},
                   "\r\n")
            << true << "Lines skipped: 1 (line 9: key \"xxx";
        QTest::addRow("KESTRUL line without code") << kestrul({"4," + huge}) << false
                                                   << "Lines skipped: 1 (line 9: key line \"4,xxx";
        QTest::addRow("KESTRUL unknown code") << kestrul({"4,Power=" + huge + " 01"}) << false
                                              << "Lines skipped: 1 (line 9: code \"xxx";
    }
    void longValuesAreQuotedCut()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, isVrc);
        QFETCH(QString, start);
        const QString told = toldBy(isVrc, bytes);
        QVERIFY2(told.startsWith(start), qPrintable(told.left(200)));
        QVERIFY2(told.size() < 300, qPrintable(told.left(200)));
        QVERIFY2(told.contains(QStringLiteral("x\u2026\"")), qPrintable(told));
    }

    // Every text the readers store has a bound far above real ones: a value
    // at the bound is taken whole, one longer refuses the file, naming the
    // field. (A KESTRUL code is made by the reader from a few bytes.)
    void fieldsBeyondTheirBoundAreRefused_data()
    {
        QTest::addColumn<bool>("isVrc");
        QTest::addColumn<int>("where"); // the line (from 0) that holds the value
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("german");
        const QString characters = QString::number(ImportValues::maxCharacters(ImportValues::Field::Brand));
        const QString brand = QStringLiteral("the brand is longer than %1 characters").arg(characters);
        const QString marke = QStringLiteral("die Marke ist l\u00e4nger als %1 Zeichen").arg(characters);
        const QString type = QStringLiteral("the type is longer than %1 characters").arg(characters);
        const QString typ = QStringLiteral("der Typ ist l\u00e4nger als %1 Zeichen").arg(characters);
        const QString model = QStringLiteral("the model is longer than %1 characters").arg(characters);
        const QString modell = QStringLiteral("das Modell ist l\u00e4nger als %1 Zeichen").arg(characters);
        QTest::addRow("VRC brand") << true << 1 << brand << marke;
        QTest::addRow("VRC type") << true << 2 << type << typ;
        QTest::addRow("VRC model") << true << 3 << model << modell;
        QTest::addRow("VRC key name") << true << 10
                                      << QStringLiteral("line 11: the key name is longer than %1 characters").arg(characters)
                                      << QStringLiteral("Zeile 11: der Tastenname ist l\u00e4nger als %1 Zeichen")
                                             .arg(characters);
        QTest::addRow("VRC key code") << true << 11
                                      << QStringLiteral("line 12: the key code is longer than %1 characters").arg(characters)
                                      << QStringLiteral("Zeile 12: der Tastencode ist l\u00e4nger als %1 Zeichen")
                                             .arg(characters);
        QTest::addRow("KESTRUL type") << false << 3 << type << typ;
        QTest::addRow("KESTRUL brand") << false << 4 << brand << marke;
        QTest::addRow("KESTRUL model") << false << 5 << model << modell;
        QTest::addRow("KESTRUL key name")
            << false << 9 << QStringLiteral("line 10: the key name is longer than %1 characters").arg(characters)
            << QStringLiteral("Zeile 10: der Tastenname ist l\u00e4nger als %1 Zeichen").arg(characters);
    }
    void fieldsBeyondTheirBoundAreRefused()
    {
        QFETCH(bool, isVrc);
        QFETCH(int, where);
        QFETCH(QString, english);
        QFETCH(QString, german);
        auto file = [&](const QByteArray &value) {
            QList<QByteArray> lines = isVrc ? dvdLines()
                                            : QList<QByteArray>{"FileFormat=KESTRUL", "Version=1", "KeyMap=K5",
                                                                "Type=TV", "Brand=ACME", "Model=K-1", "", "Buttons=3",
                                                                "4,Power=0051 04 FB 08", "5,Mute=0051 04 FB 09"};
            if (isVrc)
                lines[where] = value;
            else if (where == 9)
                lines[where] = "5," + value + "=0051 04 FB 09";
            else
                lines[where] = lines[where].left(lines[where].indexOf('=') + 1) + value;
            return vrc(lines, "\r\n");
        };
        const int bound = ImportValues::maxCharacters(ImportValues::Field::Brand);
        ImportedRemote r;
        const QString atBound = toldBy(isVrc, file(QByteArray(bound, 'v')), &r);
        const QStringList stored = {r.brand, r.type, r.model, r.keys.value(1).name, r.keys.value(1).id};
        QVERIFY2(stored.contains(QString(bound, QLatin1Char('v'))), qPrintable(atBound.left(200)));
        QCOMPARE(toldBy(isVrc, file(QByteArray(bound + 1, 'v'))), english);
        const GermanTexts texts;
        QCOMPARE(toldBy(isVrc, file(QByteArray(bound + 1, 'v'))), german);
    }

    // A value from the file is put into its message last, or with the
    // others at once: a "%3" in it stays as it is.
    void valuesWithPercentSignsStayIntact_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("told");
        QTest::addRow("VRC skipped key")
            << vrc({kHeader, "B", "T", "M", "changer 4in1.png", "k", "Mute %3", "0013A", "0 54", "<end_of_file>"}, "\n")
            << QStringLiteral("Lines skipped: 1 (line 9: key \"Mute %3\": position \"0 54\" has no key on remote "
                              "type 5).");
        QTest::addRow("VRC position beyond 127")
            << vrc({kHeader, "B", "T", "M", "changer TV.bmp", "k", "Mute %3 %4", "0013A", "3 60", "<end_of_file>"}, "\n")
            << QStringLiteral("line 9: key \"Mute %3 %4\": position \"3 60\" has no key on remote type 1");
    }
    void valuesWithPercentSignsStayIntact()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, told);
        QCOMPARE(toldBy(true, bytes), told);
    }

    // The reader's debug lines name the header values, cut as well.
    void kestrulDebugLinesQuoteCut()
    {
        QByteArray bytes = kestrul({"4,Power=0051 04 FB 08"});
        const int length = ImportValues::maxCharacters(ImportValues::Field::Brand);
        bytes.replace("Brand=ACME", "Brand=" + QByteArray(length, 'b'));
        debugLines.clear();
        const QtMessageHandler previous = qInstallMessageHandler(keepDebugLine);
        ImportedRemote r;
        QString error;
        const bool read = KestrulFile::parse(bytes, &r, &error);
        qInstallMessageHandler(previous);
        QVERIFY(read);
        QCOMPARE(r.brand.size(), length); // the value itself stays whole
        QVERIFY(debugLines.contains(QStringLiteral("brand => ") + QString(40, QLatin1Char('b')) + QChar(0x2026)));
        for (const QString &line : std::as_const(debugLines))
            QVERIFY2(line.size() < 100, qPrintable(line.left(100)));
    }

    // The reasons of both readers are the program's texts: German when the
    // program runs in German, in the message as in the log.
    void reasonsInGerman_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("isVrc");
        QTest::addColumn<QString>("german");
        QList<QByteArray> lines = dvdLines();
        QTest::addRow("VRC header") << vrc(lines.mid(0, 3), "\r\n") << true
                                    << QStringLiteral("die Datei endet innerhalb ihres Kopfes");
        QTest::addRow("VRC end marker") << vrc(lines.mid(0, 17), "\r\n") << true
                                        << QStringLiteral("die Datei hat keine Endmarke");
        lines[4] = "changer TV.jpg";
        QTest::addRow("VRC picture")
            << vrc(lines, "\r\n") << true
            << QStringLiteral("unbekanntes Bild eines Fernbedienungstyps \u201echanger TV.jpg\u201c");
        lines = dvdLines();
        lines[8] = "3 60";
        QTest::addRow("VRC position") << vrc(lines, "\r\n") << true
                                      << QStringLiteral("Zeile 9: Taste \u201ePower\u201c: die Position "
                                                        "\u201e3 60\u201c hat keine Taste auf dem Fernbedienungstyp 2");
        QTest::addRow("VRC skipped")
            << vrc({kHeader, "B", "T", "M", "changer 4in1.png", "k", "Nowhere", "0013A", "0 54", "<end_of_file>"},
                   "\r\n")
            << true
            << QStringLiteral("\u00dcbersprungene Zeilen: 1 (Zeile 9: Taste \u201eNowhere\u201c: die Position "
                              "\u201e0 54\u201c hat keine Taste auf dem Fernbedienungstyp 5).");
        QTest::addRow("KESTRUL first line")
            << QByteArray("FileFormat=OTHER\r\n") << false
            << QStringLiteral("die erste Zeile ist nicht \u201eFileFormat=KESTRUL\u201c");
        QTest::addRow("KESTRUL skipped")
            << kestrul({"xxx", "90,Far=0051 04 FB 08", "5,Short=0051 04"}) << false
            << QStringLiteral("\u00dcbersprungene Zeilen: 3 (Zeile 9: die Tastenzeile \u201exxx\u201c hat keinen "
                              "Code; Zeile 10: die Taste 90 liegt nicht zwischen 0 und 85; Zeile 11: der Code "
                              "\u201e0051\u201c ist unbekannt oder hat zu wenige Zahlen).");
        lines = dvdLines().mid(0, 18);
        lines << QByteArray(DocumentationText::kMaxStoredChars, 'd');
        QTest::addRow("VRC documentation") << vrc(lines, "\r\n") << true
                                           << QStringLiteral("die Dokumentation ist l\u00e4nger als 65536 Zeichen");
        QByteArray big = kestrul({});
        big.append(ImportValues::MaxFileSize + 1 - big.size(), '\n');
        QTest::addRow("KESTRUL too large") << big << false
                                           << QStringLiteral("die Datei ist gr\u00f6\u00dfer als 67108864 Bytes");
    }
    void reasonsInGerman()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, isVrc);
        QFETCH(QString, german);
        const GermanTexts texts;
        QVERIFY(texts.isInstalled());
        QCOMPARE(toldBy(isVrc, bytes), german);
    }

    // Only plain files beside the VRC file become photos: a link (even to a
    // photo), a FIFO or a folder is skipped with a log line.
    void vrcPhotosOnlyPlainFiles()
    {
        QTemporaryDir elsewhere;
        const QString secret = elsewhere.filePath("secret.jpg");
        QVERIFY(TestSupport::writeFile(secret, "secret"));
        const QDir dir(m_dir->path());
        QVERIFY(dir.mkpath("old"));
        const QString vrcPath = dir.filePath("old/remote.vrc");
        QVERIFY(TestSupport::writeFile(vrcPath, vrc(dvdLines(), "\r\n")));
        QVERIFY(TestSupport::writeFile(dir.filePath("old/remote_1.jpg"), "one"));
        QVERIFY(QFile::link(secret, dir.filePath("old/remote_2.jpg")));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("old/remote_3.jpg")).constData(), 0600), 0);
        QVERIFY(dir.mkpath("old/remote_4.jpg"));
        QVERIFY(QFile::link(dir.filePath("old/remote_1.jpg"), dir.filePath("old/remote_5.jpg")));
        QVERIFY(dir.mkpath("work/RCImages"));
        QStringList log;
        const QStringList problems = VrcFile::copyPhotos(vrcPath, dir.filePath("work"), "0000abcd", &log);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        QCOMPARE(QDir(dir.filePath("work/RCImages")).entryList(QDir::Files | QDir::System),
                 QStringList{"0000abcd_1.jpg"});
        QCOMPARE(log.size(), 4);
        QVERIFY(log[0].contains("remote_2.jpg skipped: it is a symbolic link"));
        QVERIFY(log[1].contains("remote_3.jpg skipped: it is not a plain file"));
        QVERIFY(log[2].contains("remote_4.jpg skipped: it is not a plain file"));
        QVERIFY(log[3].contains("remote_5.jpg skipped: it is a symbolic link"));
    }

    // A photo past the photo bound (sparse: it takes no room on the disk) is
    // not copied and is named; the others are.
    void vrcPhotoPastTheBoundIsNamed()
    {
        const QDir dir(m_dir->path());
        QVERIFY(dir.mkpath("old"));
        const QString vrcPath = dir.filePath("old/remote.vrc");
        QVERIFY(TestSupport::writeFile(vrcPath, vrc(dvdLines(), "\r\n")));
        QVERIFY(TestSupport::writeFile(dir.filePath("old/remote_1.jpg"), "one"));
        const QString huge = dir.filePath("old/remote_2.jpg");
        {
            QFile f(huge);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(qint64(64) * 1024 * 1024 + 1));
        }
        QVERIFY(dir.mkpath("work/RCImages"));
        QStringList log;
        const QStringList problems = VrcFile::copyPhotos(vrcPath, dir.filePath("work"), "0000abcd", &log);
        QCOMPARE(problems, QStringList{QStringLiteral("Cannot read the file %1: larger than 64 MiB")
                                           .arg(QDir::toNativeSeparators(huge))});
        QVERIFY(log.isEmpty());
        QCOMPARE(QDir(dir.filePath("work/RCImages")).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"0000abcd_1.jpg"});
    }

    void writesNewMastersWithBoundValues()
    {
        QList<QByteArray> lines = dvdLines();
        lines[1] = "O'NEIL";
        lines << "x'--";
        ImportedRemote r;
        QString error;
        QVERIFY(VrcFile::parse(vrc(lines, "\r\n"), &r, &error));
        const QStringList before = dump();
        QString first, second;
        QVERIFY2(CatalogueWriter::writeNewMaster(m_db, r, &first, &error), qPrintable(error));
        QVERIFY2(CatalogueWriter::writeNewMaster(m_db, r, &second, &error), qPrintable(error));
        QVERIFY(first != second); // the same file twice makes two models
        const QVariantMap row = TestSupport::modelRow(m_db, first);
        QCOMPARE(row.value("Brand").toString(), QStringLiteral("O'NEIL"));
        QCOMPARE(row.value("Link").toString(), first);
        QCOMPARE(row.value("Own").toInt(), 1);
        QCOMPARE(row.value("Documentation").toString(), QStringLiteral("first line\r\nsecond line\r\nx'--\r\n"));
        QCOMPARE(row.value("Correction"), QVariant(QStringLiteral("")));
        QCOMPARE(CatalogueFixture::column(m_db, "SELECT Nkey FROM rckeys WHERE Rcid=? AND RCTypeId=2 ORDER BY Nkey",
                                          {second}),
                 QStringList({"12", "61"}));
        for (const QString &line : before)
            QVERIFY(dump().contains(line));
        QCOMPARE(dump().size(), before.size() + 2 + 4);
    }

    // Neither format gives a documentation or a correction: both are stored
    // as empty texts, not NULL and not a number.
    void emptyDocumentationAndCorrection_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("isVrc");
        QList<QByteArray> lines = dvdLines();
        QTest::addRow("VRC without documentation") << vrc(lines.mid(0, 18), "\r\n") << true;
        QTest::addRow("KESTRUL") << kestrul({"4,Power=0051 04 FB 08"}) << false;
    }
    void emptyDocumentationAndCorrection()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, isVrc);
        ImportedRemote r;
        QString error;
        QVERIFY(isVrc ? VrcFile::parse(bytes, &r, &error) : KestrulFile::parse(bytes, &r, &error));
        QString rcid;
        QVERIFY2(CatalogueWriter::writeNewMaster(m_db, r, &rcid, &error), qPrintable(error));
        QCOMPARE(CatalogueFixture::column(m_db,
                                          "SELECT typeof(Documentation)||':'||Documentation||'|'||typeof(Correction)"
                                          "||':'||Correction FROM rcmodels WHERE Rcid=?",
                                          {rcid}),
                 QStringList({"text:|text:"}));
    }

    // The catalogue keeps one key per number, the last written; a file of
    // many keys on a few positions is written as that, not statement by
    // statement (a 64 MiB file holds millions of key lines).
    void manyKeysOnFewPositionsAreWrittenOnce()
    {
        QList<QByteArray> lines = {kHeader, "B", "T", "M", "changer DVD.bmp"};
        for (int n = 0; n < 30000; ++n)
            lines << "key" << "k" + QByteArray::number(n) << "0013" + QByteArray::number(n) << (n % 2 ? "1 05" : "0 12");
        lines << "<end_of_file>";
        ImportedRemote r;
        QString error;
        QVERIFY2(VrcFile::parse(vrc(lines, "\n"), &r, &error), qPrintable(error));
        const auto changes = [this] {
            return CatalogueFixture::column(m_db, "SELECT total_changes()", {}).value(0).toLongLong();
        };
        const qlonglong before = changes();
        QString rcid;
        QVERIFY2(CatalogueWriter::writeNewMaster(m_db, r, &rcid, &error), qPrintable(error));
        // The model row and one row per key number.
        QVERIFY2(changes() - before <= 3, qPrintable(QString::number(changes() - before)));
        QCOMPARE(CatalogueFixture::column(m_db, "SELECT Nkey||'='||Name||':'||ID FROM rckeys WHERE Rcid=? ORDER BY Nkey",
                                          {rcid}),
                 QStringList({"12=k29998:001329998", "61=k29999:001329999"}));
    }

    void kestrulInjectionNameIsJustAName()
    {
        ImportedRemote r;
        QString error;
        QVERIFY(KestrulFile::parse(kestrul({"4,a','b','5','1'),('victim','n','c=0051 04 FB 08"}), &r, &error));
        const QStringList before = dump();
        QString rcid;
        QVERIFY(CatalogueWriter::writeNewMaster(m_db, r, &rcid, &error));
        QCOMPARE(CatalogueFixture::column(m_db, "SELECT Name FROM rckeys WHERE Rcid=?", {rcid}),
                 QStringList({"a','b','5','1'),('victim','n','c"}));
        QStringList after = dump();
        for (const QString &line : before)
            QVERIFY(after.removeOne(line));
        QCOMPARE(after.size(), 2); // the new model and its one key
    }

    void failedWriteLeavesNothing()
    {
        ImportedRemote r;
        QString error;
        QVERIFY(VrcFile::parse(vrc(dvdLines(), "\r\n"), &r, &error));
        QVERIFY(CatalogueFixture::exec(m_db, QStringLiteral(
            "CREATE TRIGGER refuse BEFORE INSERT ON rckeys WHEN NEW.Nkey=61 BEGIN SELECT RAISE(ABORT, 'no'); END")));
        const QStringList before = dump();
        QString rcid;
        QVERIFY(!CatalogueWriter::writeNewMaster(m_db, r, &rcid, &error));
        QCOMPARE(dump(), before);
        QVERIFY(m_db.transaction()); // none left open
        QVERIFY(m_db.rollback());
    }
};

QTEST_GUILESS_MAIN(TestForeignImport)
#include "tst_foreignimport.moc"
