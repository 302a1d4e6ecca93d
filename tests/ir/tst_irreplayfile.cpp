// Capture files for the simulated receiver.
#include "ir/IrReplayFile.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class TestIrReplayFile : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<QList<QVector<int>>>("durations");
        QTest::addColumn<QString>("error");

        QTest::addRow("corpus layout")
            << QByteArray("id\tsource\tprotocol\tparams\tcarrier_hz\tdurations\n"
                          "a-1\tsomewhere\tNEC1\tD=1,F=2\t38000\t9000 -4500 560 -500000\n"
                          "b-2\telsewhere\tRC5\tD=0,F=1\t0\t889 -889 1778\n")
            << true << QStringList{"a-1", "b-2"}
            << QList<QVector<int>>{{9000, -4500, 560, -500000}, {889, -889, 1778}} << QString();
        QTest::addRow("durations only, CRLF, blank lines, extra blanks")
            << QByteArray("durations\r\n\r\n100  -200 300 \r\n") << true << QStringList{"row 3"}
            << QList<QVector<int>>{{100, -200, 300}} << QString();
        QTest::addRow("header only") << QByteArray("id\tdurations\n") << true << QStringList{}
                                     << QList<QVector<int>>{} << QString();
        QTest::addRow("empty") << QByteArray("") << false << QStringList{} << QList<QVector<int>>{}
                               << "the file is empty";
        QTest::addRow("no durations column") << QByteArray("id\tsource\nx\ty\n") << false << QStringList{}
                                             << QList<QVector<int>>{} << "line 1: the header names no \"durations\"";
        QTest::addRow("not a number") << QByteArray("id\tdurations\nx\t100 -2x0\n") << false << QStringList{}
                                      << QList<QVector<int>>{} << "line 2 (row \"x\"): \"-2x0\" is not a duration";
        QTest::addRow("zero") << QByteArray("id\tdurations\nx\t100 0 300\n") << false << QStringList{}
                              << QList<QVector<int>>{} << "line 2 (row \"x\"): \"0\" is not a duration";
        QTest::addRow("missing field") << QByteArray("id\tsource\tdurations\nx\t100 -200\n") << false
                                       << QStringList{} << QList<QVector<int>>{} << "line 2 (row \"x\"): 2 fields, the header has 3";
        QTest::addRow("no durations in a row") << QByteArray("id\tdurations\nx\t \n") << false << QStringList{}
                                               << QList<QVector<int>>{} << "line 2 (row \"x\"): no durations";
        // Digits and a leading minus only: anything else refuses the row,
        // never a shorter number.
        QTest::addRow("NUL inside a duration")
            << QByteArray("id\tdurations\nkey\t9000\0" "12345 -4500\n", 34) << false << QStringList{}
            << QList<QVector<int>>{} << "line 2 (row \"key\"): \"9000\\x0012345\" is not a duration";
        QTest::addRow("NUL after a duration") << QByteArray("id\tdurations\nkey\t9000\0\n", 23) << false
                                              << QStringList{} << QList<QVector<int>>{}
                                              << "line 2 (row \"key\"): \"9000\\x00\" is not a duration";
        QTest::addRow("plus sign") << QByteArray("id\tdurations\nkey\t+9000\n") << false << QStringList{}
                                   << QList<QVector<int>>{} << "\"+9000\" is not a duration";
        QTest::addRow("form feed before a duration") << QByteArray("id\tdurations\nkey\t\f9000\n") << false
                                                     << QStringList{} << QList<QVector<int>>{}
                                                     << "\"\\x0c9000\" is not a duration";
        QTest::addRow("minus alone") << QByteArray("id\tdurations\nkey\t100 - 200\n") << false << QStringList{}
                                     << QList<QVector<int>>{} << "\"-\" is not a duration";
        QTest::addRow("two minus signs") << QByteArray("id\tdurations\nkey\t--200\n") << false << QStringList{}
                                         << QList<QVector<int>>{} << "\"--200\" is not a duration";
        QTest::addRow("overflow") << QByteArray("id\tdurations\nx\t99999999999\n") << false << QStringList{}
                                  << QList<QVector<int>>{} << "is not a duration";
    }
    void parse()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, ok);
        QFETCH(QStringList, ids);
        QFETCH(QList<QVector<int>>, durations);
        QFETCH(QString, error);
        QList<IrReplayRow> rows{{QStringLiteral("stale"), {1}}};
        QString message;
        QCOMPARE(IrReplayFile::parse(text, &rows, &message), ok);
        if (!ok) {
            QVERIFY(rows.isEmpty());
            QVERIFY2(message.contains(error), qPrintable(message));
            return;
        }
        QCOMPARE(rows.size(), ids.size());
        for (int i = 0; i < rows.size(); ++i) {
            QCOMPARE(rows[i].id, ids[i]);
            QCOMPARE(rows[i].durations, durations[i]);
        }
    }

    void load()
    {
        QTemporaryDir dir;
        QList<IrReplayRow> rows;
        QString error;
        QVERIFY(!IrReplayFile::load(dir.filePath("missing.tsv"), &rows, &error));
        QVERIFY(error.contains("missing.tsv"));
        // A directory where the file should be.
        QVERIFY(!IrReplayFile::load(dir.path(), &rows, &error));

        QFile f(dir.filePath("keys.tsv"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("id\tdurations\npower\t9000 -4500 560\n");
        f.close();
        QVERIFY2(IrReplayFile::load(f.fileName(), &rows, &error), qPrintable(error));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].durations, (QVector<int>{9000, -4500, 560}));

        // A refused row is named with its file, line and id.
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray("id\tdurations\npower\t9000 -4500 560\nmute\t9000\0" "12345 -4500\n", 56));
        f.close();
        QVERIFY(!IrReplayFile::load(f.fileName(), &rows, &error));
        QVERIFY(rows.isEmpty());
        QCOMPARE(error, f.fileName() + ": line 3 (row \"mute\"): \"9000\\x0012345\" is not a duration");
    }
    // Only a regular file within the size limit is read: a FIFO would block
    // the open until a writer comes, /dev/zero would never end.
    void notARegularFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::addRow("FIFO") << "fifo" << "not a regular file";
        QTest::addRow("/dev/zero") << "/dev/zero" << "not a regular file";
        QTest::addRow("directory") << "directory" << "not a regular file";
        QTest::addRow("over the size limit") << "large" << "larger than";
    }
    void notARegularFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString path = kind;
        if (kind == QLatin1String("fifo")) {
            path = dir.filePath("keys.tsv");
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == QLatin1String("directory")) {
            path = dir.path();
        } else if (kind == QLatin1String("large")) {
            // Sparse: a header line, then nothing written up to one byte past the limit.
            path = dir.filePath("keys.tsv");
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("id\tdurations\n");
            QVERIFY(f.resize(IrReplayFile::kMaxFileBytes + 1));
        }
        QList<IrReplayRow> rows{IrReplayRow{}};
        QList<IrReplayProblem> problems{IrReplayProblem{}};
        QString error;
        QVERIFY(!IrReplayFile::load(path, &rows, &error));
        QVERIFY2(error.contains(message) && error.contains(path), qPrintable(error));
        QVERIFY(rows.isEmpty());
        error.clear();
        rows = {IrReplayRow{}};
        QVERIFY(!IrReplayFile::loadRows(path, &rows, &problems, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
        QVERIFY(rows.isEmpty());
        QVERIFY(problems.isEmpty());
    }

    // Row by row: sound rows are kept, each other row is named with its line
    // and id; only a file without a usable header fails as a whole.
    void parseRows_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("rows");     // id@line of the rows read
        QTest::addColumn<QStringList>("problems"); // line|id|message

        const QByteArray limit = QByteArray("100 -100 ").repeated(IrReplayFile::kMaxRowDurations / 2);
        QTest::addRow("bad rows between good ones")
            << QByteArray("id\tprotocol\tdurations\n"
                          "a\tx\t100 -200 300\n"
                          "b\tx\n"
                          "c\tx\t100 -2x0\n"
                          "d\tx\t100 0\n"
                          "e\tx\t \n"
                          "f\tx\t400 -500 600\n")
            << true << QStringList{"a@2", "f@7"}
            << QStringList{"3|b|2 fields, the header has 3", "4|c|\"-2x0\" is not a duration",
                           "5|d|\"0\" is not a duration", "6|e|no durations"};
        QTest::addRow("id column after a missing field") << QByteArray("durations\tid\n100\n") << true
                                                         << QStringList{}
                                                         << QStringList{"2||1 fields, the header has 2"};
        QTest::addRow("at the row limit") << QByteArray("id\tdurations\nfull\t" + limit + "\n") << true
                                          << QStringList{"full@2"} << QStringList{};
        QTest::addRow("over the row limit")
            << QByteArray("id\tdurations\nlong\t" + limit + "100\nok\t1 -1 1\n") << true << QStringList{"ok@3"}
            << QStringList{"2|long|10001 durations, more than the 10000 a row may hold"};
        QTest::addRow("a long bad value is cut short")
            << QByteArray("id\tdurations\nx\t" + QByteArray(100, '7') + "\n") << true << QStringList{}
            << QStringList{"2|x|\"" + QString(40, '7') + "\u2026\" is not a duration"};
        QTest::addRow("cut by characters, not bytes")
            << QByteArray("id\tdurations\nx\t" + QByteArray("\xc3\xa9").repeated(300) + "\n") << true
            << QStringList{} << QStringList{"2|x|\"" + QString(40, QChar(0xe9)) + "\u2026\" is not a duration"};
        QTest::addRow("NUL in a duration refuses its row only")
            << QByteArray("id\tdurations\na\t100 -200\nkey\t9000\0" "12345\nb\t300\n", 45) << true
            << QStringList{"a@2", "b@4"} << QStringList{"3|key|\"9000\\x0012345\" is not a duration"};
        QTest::addRow("empty") << QByteArray() << false << QStringList{} << QStringList{};
        QTest::addRow("no durations column") << QByteArray("id\nx\n") << false << QStringList{} << QStringList{};
        // Line ends and the byte-order mark as other programs save them: the
        // id column stays the id column, every line is a line of its own.
        QTest::addRow("byte-order mark") << QByteArray("\xEF\xBB\xBFid\tdurations\npower\t100 -200\n") << true
                                         << QStringList{"power@2"} << QStringList{};
        QTest::addRow("byte-order mark, id column first, bad row")
            << QByteArray("\xEF\xBB\xBFid\tdurations\nmute\t1x\n") << true << QStringList{}
            << QStringList{"2|mute|\"1x\" is not a duration"};
        QTest::addRow("CR line ends") << QByteArray("id\tdurations\rpower\t100 -200\r\rmute\t300\r") << true
                                      << QStringList{"power@2", "mute@4"} << QStringList{};
        QTest::addRow("CRLF line ends") << QByteArray("id\tdurations\r\npower\t100 -200\r\nmute\t300") << true
                                        << QStringList{"power@2", "mute@3"} << QStringList{};
        QTest::addRow("mixed line ends") << QByteArray("id\tdurations\r\na\t1\rb\t2\nc\t3\r\n") << true
                                         << QStringList{"a@2", "b@3", "c@4"} << QStringList{};
        QTest::addRow("byte-order mark and CR line ends")
            << QByteArray("\xEF\xBB\xBF" "durations\tid\r5 -5\tk\r") << true << QStringList{"k@2"}
            << QStringList{};
        // Only at the very start: elsewhere the bytes belong to the value.
        QTest::addRow("byte-order mark inside a line")
            << QByteArray("id\tdurations\n\xEF\xBB\xBFk\t7\n") << true << QStringList{"\uFEFFk@2"}
            << QStringList{};
    }
    void parseRows()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, ok);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, problems);
        QList<IrReplayRow> gotRows{{QStringLiteral("stale"), {1}, 1}};
        QList<IrReplayProblem> gotProblems{{1, QStringLiteral("stale"), QStringLiteral("stale")}};
        QString error;
        QCOMPARE(IrReplayFile::parseRows(text, &gotRows, &gotProblems, &error), ok);
        QCOMPARE(error.isEmpty(), ok);
        QStringList rowText, problemText;
        for (const IrReplayRow &r : gotRows)
            rowText << QStringLiteral("%1@%2").arg(r.id).arg(r.line);
        for (const IrReplayProblem &p : gotProblems)
            problemText << QStringLiteral("%1|%2|%3").arg(p.line).arg(p.id, p.message);
        QCOMPARE(rowText, rows);
        QCOMPARE(problemText, problems);
        // The replay takes a file only when every row is sound.
        QList<IrReplayRow> all;
        QCOMPARE(IrReplayFile::parse(text, &all, &error), ok && problems.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestIrReplayFile)
#include "tst_irreplayfile.moc"
