// irvanta-recognize as a user runs it: capture files written here, the tool
// started as a process, its lines, messages and exit status read back.
#include "IrPresses.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace IrPresses;

namespace {

struct Run
{
    int exitCode = -1;
    QStringList lines; // standard output
    QString errors;    // standard error
};

// name=content pairs become files in dir; "@name" in args is that file's path.
Run runTool(const QTemporaryDir &dir, const QMap<QString, QByteArray> &files, const QStringList &args)
{
    for (auto it = files.begin(); it != files.end(); ++it) {
        QFile f(dir.filePath(it.key()));
        if (!f.open(QIODevice::WriteOnly) || f.write(it.value()) != it.value().size())
            qFatal("cannot write %s", qPrintable(f.fileName()));
    }
    QStringList argv;
    for (const QString &a : args)
        argv << (a.startsWith('@') ? dir.filePath(a.mid(1)) : a);
    QProcess p;
    p.start(QStringLiteral(IRVANTA_RECOGNIZE), argv);
    Run run;
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = p.exitCode();
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    run.lines = out.split('\n', Qt::SkipEmptyParts);
    run.errors = QString::fromUtf8(p.readAllStandardError());
    return run;
}

QByteArray header()
{
    return "id\tprotocol\tdurations\n";
}

QByteArray row(const QByteArray &id, const QVector<int> &durations)
{
    return id + "\tx\t" + field(durations) + "\n";
}

QString line(const QString &id, const QString &code, const QString &ids)
{
    return id + '\t' + code + '\t' + ids;
}

QByteArray many(int count)
{
    QByteArray s;
    for (int i = 0; i < count; ++i)
        s += i % 2 ? " -600" : (i ? " 600" : "600");
    return s;
}

} // namespace

using FileMap = QMap<QString, QByteArray>;
Q_DECLARE_METATYPE(FileMap)

class TestRecognizeTool : public QObject
{
    Q_OBJECT

private slots:
    void run_data()
    {
        QTest::addColumn<FileMap>("files");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("lines");
        // Each part must appear in standard error ("" = nothing is said).
        QTest::addColumn<QStringList>("errors");

        const QByteArray good = header() + row("sony-a", sonyPress(21, 1)) + row("rc5-b", rc5Press(5, 12)) +
                                row("noise", noise(60));
        const QStringList goodLines{line("sony-a", sonyCode(21, 1), "39,39,39"),
                                    line("rc5-b", rc5Code(5, 12), "23,23,23"), line("noise", "UNKNOWN", "-1")};

        QTest::addRow("good rows") << FileMap{{"a.tsv", good}} << QStringList{"@a.tsv"} << 0 << goodLines
                                   << QStringList{};
        QTest::addRow("mode given") << FileMap{{"a.tsv", good}} << QStringList{"--mode", "modulated", "@a.tsv"} << 0
                                    << goodLines << QStringList{};
        QTest::addRow("time") << FileMap{{"a.tsv", good}} << QStringList{"--time", "@a.tsv"} << 0 << goodLines
                              << QStringList{"time per message (7 messages): median ", " us, worst "};
        QTest::addRow("two files") << FileMap{{"a.tsv", header() + row("one", sonyPress(18, 1))},
                                              {"b.tsv", header() + row("two", rc5Press(0, 1))}}
                                   << QStringList{"@a.tsv", "@b.tsv"} << 0
                                   << QStringList{line("one", sonyCode(18, 1), "39,39,39"),
                                                  line("two", rc5Code(0, 1), "23,23,23")}
                                   << QStringList{};
        QTest::addRow("no id column: the line stands for it")
            << FileMap{{"a.tsv", "durations\n" + field(sonyPress(21, 1)) + "\n"}} << QStringList{"@a.tsv"} << 0
            << QStringList{line("row 2", sonyCode(21, 1), "39,39,39")} << QStringList{};

        // Bad rows are named and skipped; the others are still read.
        QTest::addRow("missing field")
            << FileMap{{"a.tsv", header() + "short\t" + field(sonyPress(21, 1)) + "\n" + row("ok", sonyPress(21, 1))}}
            << QStringList{"@a.tsv"} << 0 << QStringList{line("ok", sonyCode(21, 1), "39,39,39")}
            << QStringList{"a.tsv: line 2 (row \"short\"): 2 fields, the header has 3; row skipped"};
        QTest::addRow("not a number")
            << FileMap{{"a.tsv", header() + "bad\tx\t2400 -600 1x0\n" + row("ok", sonyPress(21, 1))}}
            << QStringList{"@a.tsv"} << 0 << QStringList{line("ok", sonyCode(21, 1), "39,39,39")}
            << QStringList{"line 2 (row \"bad\"): \"1x0\" is not a duration; row skipped"};
        QTest::addRow("NUL inside a duration")
            << FileMap{{"a.tsv", header() + QByteArray("nul\tx\t2400 -600 1200\0" "600\n", 25) + row("ok", sonyPress(21, 1))}}
            << QStringList{"@a.tsv"} << 0 << QStringList{line("ok", sonyCode(21, 1), "39,39,39")}
            << QStringList{"a.tsv: line 2 (row \"nul\"): \"1200\\x00600\" is not a duration; row skipped"};
        QTest::addRow("zero duration")
            << FileMap{{"a.tsv", header() + row("ok", sonyPress(21, 1)) + "zero\tx\t2400 0 600\n"}}
            << QStringList{"@a.tsv"} << 0 << QStringList{line("ok", sonyCode(21, 1), "39,39,39")}
            << QStringList{"line 3 (row \"zero\"): \"0\" is not a duration"};
        QTest::addRow("100000 durations")
            << FileMap{{"a.tsv", header() + "long\tx\t" + many(100000) + "\n" + row("ok", rc5Press(5, 12))}}
            << QStringList{"@a.tsv"} << 0 << QStringList{line("ok", rc5Code(5, 12), "23,23,23")}
            << QStringList{"line 2 (row \"long\"): 100000 durations, more than the 10000 a row may hold"};
        QTest::addRow("empty durations field")
            << FileMap{{"a.tsv", header() + "none\tx\t\n" + row("ok", rc5Press(5, 12))}} << QStringList{"@a.tsv"} << 0
            << QStringList{line("ok", rc5Code(5, 12), "23,23,23")}
            << QStringList{"line 2 (row \"none\"): no durations"};

        // Files that cannot be read: the others still are.
        QTest::addRow("empty file") << FileMap{{"a.tsv", ""}} << QStringList{"@a.tsv"} << 1 << QStringList{}
                                    << QStringList{"a.tsv: the file is empty", "no row could be read"};
        QTest::addRow("no durations column")
            << FileMap{{"a.tsv", "id\tprotocol\nx\ty\n"}} << QStringList{"@a.tsv"} << 1 << QStringList{}
            << QStringList{"a.tsv: line 1: the header names no \"durations\" column"};
        QTest::addRow("header only") << FileMap{{"a.tsv", header()}} << QStringList{"@a.tsv"} << 1 << QStringList{}
                                     << QStringList{"a.tsv: no rows", "no row could be read"};
        QTest::addRow("only bad rows") << FileMap{{"a.tsv", header() + "a\tx\t1 -x\n" + "b\tx\t0\n"}}
                                       << QStringList{"@a.tsv"} << 1 << QStringList{}
                                       << QStringList{"line 2 (row \"a\")", "line 3 (row \"b\")",
                                                      "no row could be read"};
        QTest::addRow("missing file beside a good one")
            << FileMap{{"b.tsv", header() + row("ok", sonyPress(21, 1))}} << QStringList{"@a.tsv", "@b.tsv"} << 0
            << QStringList{line("ok", sonyCode(21, 1), "39,39,39")} << QStringList{"a.tsv: "};
        QTest::addRow("a directory for a file")
            << FileMap{{"b.tsv", header() + row("ok", sonyPress(21, 1))}} << QStringList{"@", "@b.tsv"} << 0
            << QStringList{line("ok", sonyCode(21, 1), "39,39,39")} << QStringList{"irvanta-recognize: "};
        QTest::addRow("a device that never ends beside a good one")
            << FileMap{{"b.tsv", header() + row("ok", sonyPress(21, 1))}} << QStringList{"/dev/zero", "@b.tsv"} << 0
            << QStringList{line("ok", sonyCode(21, 1), "39,39,39")}
            << QStringList{"irvanta-recognize: Cannot read the file /dev/zero: not a regular file but a device"};

        // Usage errors.
        QTest::addRow("no file") << FileMap{} << QStringList{} << 2 << QStringList{} << QStringList{"usage:"};
        QTest::addRow("unknown mode") << FileMap{{"a.tsv", good}} << QStringList{"--mode", "loud", "@a.tsv"} << 2
                                      << QStringList{} << QStringList{"--mode takes modulated or unmodulated"};
        QTest::addRow("unknown option") << FileMap{{"a.tsv", good}} << QStringList{"--fast", "@a.tsv"} << 2
                                        << QStringList{} << QStringList{"unknown option --fast"};
    }
    void run()
    {
        QFETCH(FileMap, files);
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, errors);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const Run got = runTool(dir, files, args);
        QCOMPARE(got.exitCode, exitCode);
        QCOMPARE(got.lines, lines);
        if (errors.isEmpty())
            QCOMPARE(got.errors, QString());
        for (const QString &part : errors)
            QVERIFY2(got.errors.contains(part), qPrintable(got.errors));
    }

    // The receiver's other signal mode runs the other candidate chain: SIRC
    // and RC5 frames are modulated signals and none of its rows.
    void unmodulated()
    {
        QTemporaryDir dir;
        const Run got = runTool(dir, {{"a.tsv", header() + row("sony", sonyPress(21, 1))}},
                                {"--mode", "unmodulated", "@a.tsv"});
        QCOMPARE(got.exitCode, 0);
        QCOMPARE(got.lines, QStringList{line("sony", "UNKNOWN", "-1,-1,-1")});
    }
};

QTEST_GUILESS_MAIN(TestRecognizeTool)
#include "tst_recognizetool.moc"
