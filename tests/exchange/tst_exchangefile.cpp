// The exchange file's bytes as written and the checks of its reader.
#include "GermanTexts.h"

#include "catalogue/DocumentationText.h"
#include "exchange/ExchangeFile.h"
#include "exchange/ImportValues.h"
#include "exchange/XmlInput.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

#include <cstring>

#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A "Vm..." figure of this process's status, in KiB; -1 when it is not there.
long statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field) && line.size() > qsizetype(std::strlen(field)) && line.at(std::strlen(field)) == ':')
            return line.mid(qsizetype(std::strlen(field)) + 1).trimmed().split(' ').value(0).toLong();
    return -1;
}

constexpr long NoPeak = -2; // the peak resident size cannot be reset here

// How far the resident size of a child that reads bytes rose above what it
// had when it began, in KiB; -1 when the child did not end on its own. The
// child first hands its free heap back and resets its peak, so neither what
// it inherited nor memory the parent freed hides the reader's own use. Its
// address space is capped, so a reader that runs away stops there instead
// of taking the machine down with it.
long readersGrowthKiB(const QByteArray &bytes, bool *accepted)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeEnds[0]);
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
        const rlimit cap{rlim_t(3) << 30, rlim_t(3) << 30};
        setrlimit(RLIMIT_AS, &cap);
#endif
        malloc_trim(0);
        const int clear = open("/proc/self/clear_refs", O_WRONLY);
        const bool reset = clear >= 0 && write(clear, "5", 1) == 1;
        if (clear >= 0)
            close(clear);
        const long start = statusKiB("VmRSS");
        ExchangeFile::Document d;
        QString error;
        const bool ok = ExchangeFile::read(bytes, &d, &error);
        const long peak = statusKiB("VmHWM");
        const QByteArray report =
            QByteArray::number(qlonglong(reset ? peak - start : NoPeak)) + (ok ? " 1" : " 0");
        const bool sent = write(pipeEnds[1], report.constData(), size_t(report.size())) == report.size();
        _exit(sent && start >= 0 && peak >= 0 ? 0 : 2);
    }
    close(pipeEnds[1]);
    QByteArray report;
    char chunk[64];
    for (ssize_t n; pid > 0 && (n = read(pipeEnds[0], chunk, sizeof chunk)) > 0;)
        report.append(chunk, n);
    close(pipeEnds[0]);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    const QList<QByteArray> fields = report.split(' ');
    if (fields.size() != 2)
        return -1;
    *accepted = fields.at(1) == "1";
    return fields.at(0).toLong();
}

// A file as the reader sees it: the description's leaves (missing when
// null), the keys and the links group given as ready XML.
QByteArray fileWith(const QString &description, const QString &keys, const QString &links = QStringLiteral("<RCLinks/>"))
{
    return (QStringLiteral("<?xml version=\"1.0\"?>\n<Irvanta>\n<RCDescription>") + description
            + QStringLiteral("</RCDescription>\n") + keys + links + QStringLiteral("\n</Irvanta>\n"))
        .toUtf8();
}

QString description(const QString &version = QStringLiteral("2.5.10"), const QString &typeId = QStringLiteral("1"),
                    const QString &rcid = QStringLiteral("1a2b3c4d"))
{
    return QStringLiteral("<IrvantaVersion>%1</IrvantaVersion><Rcid>%2</Rcid><Brand>ACME</Brand><Type>TV</Type>"
                          "<Model>X-1</Model><RCTypeId>%3</RCTypeId><Documentation/><Correction>0</Correction>"
                          "<Prot>7</Prot>")
        .arg(version, rcid, typeId);
}

QString key(const QString &id, const QString &nkey, const QString &pcb = QString())
{
    QString out = QStringLiteral("<RCKey><Name>k</Name><ID>%1</ID><Nkey>%2</Nkey>").arg(id, nkey);
    if (!pcb.isNull())
        out += QStringLiteral("<PCB>%1</PCB>").arg(pcb);
    return out + QStringLiteral("</RCKey>");
}

} // namespace

class TestExchangeFile : public QObject
{
    Q_OBJECT

private slots:
    void writesTheDocumentForm()
    {
        ExchangeFile::Document d;
        d.version = QStringLiteral("2.5.10");
        d.hasMaster = true;
        d.master = {QStringLiteral("1a2b3c4d"), QStringLiteral("A&B"), QStringLiteral("TV"), QStringLiteral("<X>"),
                    QStringLiteral("line 1\nline\x01 2\r"), QStringLiteral("1.5"), QString()};
        d.rcTypeId = QStringLiteral("3");
        d.keys << ExchangeFile::Key{QStringLiteral("Power"), QStringLiteral("0013ABC"), QStringLiteral("12")};
        const QByteArray expected = "<?xml version=\"1.0\"?>\n"
                                    "<Irvanta>\n"
                                    "    <RCDescription>\n"
                                    "        <IrvantaVersion>2.5.10</IrvantaVersion>\n"
                                    "        <Rcid>1a2b3c4d</Rcid>\n"
                                    "        <Brand>A&amp;B</Brand>\n"
                                    "        <Type>TV</Type>\n"
                                    "        <Model>&lt;X&gt;</Model>\n"
                                    "        <RCTypeId>3</RCTypeId>\n"
                                    "        <Documentation>line 1\nline 2&#xD;</Documentation>\n"
                                    "        <Correction>1.5</Correction>\n"
                                    "        <Prot></Prot>\n"
                                    "    </RCDescription>\n"
                                    "    <RCKeys>\n"
                                    "        <RCKey>\n"
                                    "            <Name>Power</Name>\n"
                                    "            <ID>0013ABC</ID>\n"
                                    "            <Nkey>12</Nkey>\n"
                                    "        </RCKey>\n"
                                    "    </RCKeys>\n"
                                    "    <RCLinks/>\n"
                                    "</Irvanta>\n";
        QCOMPARE(ExchangeFile::write(d), expected);

        // What was written reads back to the same values.
        ExchangeFile::Document back;
        QString error;
        QVERIFY2(ExchangeFile::read(expected, &back, &error), qPrintable(error));
        QCOMPARE(back.master.documentation, QStringLiteral("line 1\nline 2\r"));
        QCOMPARE(back.master.model, QStringLiteral("<X>"));
        QCOMPARE(back.keys.size(), 1);
        QCOMPARE(back.keys[0].nkey, QStringLiteral("12"));
        QVERIFY(back.hasLinksGroup);
    }

    void withoutMasterOnlyTheVersion()
    {
        ExchangeFile::Document d;
        d.version = QStringLiteral("2.5.10");
        d.rcTypeId = QStringLiteral("1");
        QCOMPARE(ExchangeFile::write(d), QByteArray("<?xml version=\"1.0\"?>\n<Irvanta>\n    <RCDescription>\n"
                                                    "        <IrvantaVersion>2.5.10</IrvantaVersion>\n"
                                                    "    </RCDescription>\n    <RCKeys/>\n    <RCLinks/>\n"
                                                    "</Irvanta>\n"));
    }

    void dropsCharactersXmlForbids()
    {
        const QString text = QStringLiteral("a") + QChar(0x0) + QChar(0x1F) + QChar(0xFFFE) + QChar(0xD800)
            + QStringLiteral("b\t") + QString::fromUcs4(U"\U0001F600");
        QCOMPARE(ExchangeFile::xmlCharacters(text), QStringLiteral("ab\t") + QString::fromUcs4(U"\U0001F600"));
    }

    // The format never needs a document type declaration; one with entities
    // would have their references dropped, so the whole file is refused and
    // the reason says so.
    void refusesDocumentTypes_data()
    {
        QTest::addColumn<QByteArray>("doctype");
        QTest::addRow("plain") << QByteArray("<!DOCTYPE Irvanta>");
        QTest::addRow("internal entity") << QByteArray("<!DOCTYPE Irvanta [<!ENTITY b \"ACME\">]>");
        QTest::addRow("external entity")
            << QByteArray("<!DOCTYPE Irvanta [<!ENTITY b SYSTEM \"file:///etc/hostname\">]>");
        QTest::addRow("external subset") << QByteArray("<!DOCTYPE Irvanta SYSTEM \"irvanta.dtd\">");
    }
    void refusesDocumentTypes()
    {
        QFETCH(QByteArray, doctype);
        QByteArray bytes = fileWith(description(), QStringLiteral("<RCKeys/>"));
        ExchangeFile::Document d;
        QString error;
        QVERIFY2(ExchangeFile::read(bytes, &d, &error), qPrintable(error)); // fine without it
        bytes.replace("<Irvanta>", doctype + "\n<Irvanta>");
        if (doctype.contains("ENTITY"))
            bytes.replace("<Brand>ACME</Brand>", "<Brand>&b;</Brand>");
        error.clear();
        QVERIFY(!ExchangeFile::read(bytes, &d, &error));
        QVERIFY2(error.contains(QLatin1String("document type")), qPrintable(error));
    }

    // A text XML 1.0 cannot carry is named with its model and field, so the
    // export can refuse instead of writing it shortened.
    void namesTextsXmlCannotCarry_data()
    {
        QTest::addColumn<int>("where");
        QTest::addColumn<QString>("expected");
        QTest::addRow("master documentation") << 0 << "Documentation of model ACME TV X-1 (1a2b3c4d)";
        QTest::addRow("master brand lone surrogate") << 1 << "Brand of model";
        QTest::addRow("key name") << 2 << "Name of key";
        QTest::addRow("link model") << 3 << "Model of model DEF TV ctl end (1a2b0001)";
    }
    void namesTextsXmlCannotCarry()
    {
        QFETCH(int, where);
        QFETCH(QString, expected);
        ExchangeFile::Document d;
        d.version = QStringLiteral("2.5.10");
        d.hasMaster = true;
        d.master = {QStringLiteral("1a2b3c4d"), QStringLiteral("ACME"), QStringLiteral("TV"), QStringLiteral("X-1"),
                    QStringLiteral("line\ttab \U0001F600"), QStringLiteral("1.5"), QStringLiteral("7")};
        d.rcTypeId = QStringLiteral("1");
        d.keys << ExchangeFile::Key{QStringLiteral("Power"), QStringLiteral("0013A"), QStringLiteral("3")};
        d.links << ExchangeFile::Model{QStringLiteral("1a2b0001"), QStringLiteral("DEF"), QStringLiteral("TV"),
                                       QStringLiteral("Y-2"), QString(), QString(), QString()};
        QCOMPARE(ExchangeFile::unwritable(d), QString());
        const QString control = QStringLiteral("ctl") + QChar(0x01) + QStringLiteral(" end");
        switch (where) {
        case 0: d.master.documentation = control; break;
        case 1: d.master.brand = QStringLiteral("A") + QChar(0xD800); break;
        case 2: d.keys[0].name = control; break;
        default: d.links[0].model = control; break;
        }
        const QString why = ExchangeFile::unwritable(d);
        QVERIFY2(why.contains(expected), qPrintable(why));
    }

    void refusesBrokenFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QString good = key(QStringLiteral("0013ABC"), QStringLiteral("5"));
        const QByteArray whole = fileWith(description(), QStringLiteral("<RCKeys>") + good + QStringLiteral("</RCKeys>"));
        QTest::addRow("truncated") << whole.left(whole.size() / 2);
        QTest::addRow("not XML") << QByteArray("Rcid=1a2b3c4d\n");
        QTest::addRow("empty") << QByteArray();
        QTest::addRow("comment first") << QByteArray(whole).replace("<Irvanta>\n", "<Irvanta><!-- x -->");
        QTest::addRow("other first child")
            << QByteArray(whole).replace("<RCDescription>", "<RCKeys/><RCDescription>");
        QTest::addRow("missing Rcid") << QByteArray(whole).replace("<Rcid>1a2b3c4d</Rcid>", "");
        QTest::addRow("missing Model") << QByteArray(whole).replace("<Model>X-1</Model>", "<Model></Model>");
        QTest::addRow("missing RCKeys") << fileWith(description(), QString());
        QTest::addRow("comment before RCKeys") << fileWith(description(), QStringLiteral("<!--c--><RCKeys/>"));
        QTest::addRow("type abc") << fileWith(description(QStringLiteral("2.5.10"), QStringLiteral("abc")),
                                              QStringLiteral("<RCKeys/>"));
        QTest::addRow("type 0") << fileWith(description(QStringLiteral("2.5.10"), QStringLiteral("0")),
                                            QStringLiteral("<RCKeys/>"));
        QTest::addRow("type 256") << fileWith(description(QStringLiteral("2.5.10"), QStringLiteral("256")),
                                              QStringLiteral("<RCKeys/>"));
        QTest::addRow("key number x")
            << fileWith(description(), QStringLiteral("<RCKeys>") + key(QStringLiteral("0013"), QStringLiteral("x"))
                                           + QStringLiteral("</RCKeys>"));
        QTest::addRow("key number 128")
            << fileWith(description(), QStringLiteral("<RCKeys>") + key(QStringLiteral("0013"), QStringLiteral("128"))
                                           + QStringLiteral("</RCKeys>"));
        QTest::addRow("key number -1")
            << fileWith(description(), QStringLiteral("<RCKeys>") + key(QStringLiteral("0013"), QStringLiteral("-1"))
                                           + QStringLiteral("</RCKeys>"));
        QTest::addRow("key number missing")
            << fileWith(description(), QStringLiteral("<RCKeys>") + key(QStringLiteral("0013"), QString())
                                           + QStringLiteral("</RCKeys>"));
        QTest::addRow("PCB beyond 127 version 1")
            << fileWith(description(QStringLiteral("1.3"), QStringLiteral("5")),
                        QStringLiteral("<RCKeys>") + key(QStringLiteral("0013"), QStringLiteral("1"), QStringLiteral("3 52"))
                            + QStringLiteral("</RCKeys>"));
        QTest::addRow("Rcid injection")
            << fileWith(description(QStringLiteral("2.5.10"), QStringLiteral("1"), QStringLiteral("x') OR ('1'='1")),
                        QStringLiteral("<RCKeys/>"));
        QTest::addRow("Rcid path") << fileWith(
            description(QStringLiteral("2.5.10"), QStringLiteral("1"), QStringLiteral("../1a2b3c4d")),
            QStringLiteral("<RCKeys/>"));
        QTest::addRow("nested without end") << QByteArray("<a>").repeated(200000);
        QTest::addRow("nested in the description")
            << fileWith(QStringLiteral("<b>").repeated(100000) + QStringLiteral("</b>").repeated(100000),
                        QStringLiteral("<RCKeys/>"));
        QTest::addRow("Prot text") << QByteArray(whole).replace("<Prot>7</Prot>", "<Prot>seven</Prot>");
        QTest::addRow("Correction out of range")
            << QByteArray(whole).replace("<Correction>0</Correction>", "<Correction>1e300</Correction>");
    }
    void refusesBrokenFiles()
    {
        QFETCH(QByteArray, bytes);
        ExchangeFile::Document d;
        QString error;
        QVERIFY(!ExchangeFile::read(bytes, &d, &error));
        QVERIFY(!error.isEmpty());
        // Every reason is a text of the program, told in German as well.
        const GermanTexts texts;
        QVERIFY(texts.isInstalled());
        QString german;
        QVERIFY(!ExchangeFile::read(bytes, &d, &german));
        QVERIFY2(german != error, qPrintable(error));
    }

    // Every text the import stores has a bound far above real ones: a value
    // at the bound is taken whole, one longer refuses the file (a link's
    // only its links, which a copy does not read), naming the field.
    void fieldsBeyondTheirBoundAreRefused_data()
    {
        QTest::addColumn<int>("where");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("german");
        const QString characters = QString::number(ImportValues::maxCharacters(ImportValues::Field::Brand));
        QTest::addRow("brand") << 0 << QStringLiteral("the brand is longer than %1 characters").arg(characters)
                               << QStringLiteral("die Marke ist l\u00e4nger als %1 Zeichen").arg(characters);
        QTest::addRow("type") << 1 << QStringLiteral("the type is longer than %1 characters").arg(characters)
                              << QStringLiteral("der Typ ist l\u00e4nger als %1 Zeichen").arg(characters);
        QTest::addRow("model") << 2 << QStringLiteral("the model is longer than %1 characters").arg(characters)
                               << QStringLiteral("das Modell ist l\u00e4nger als %1 Zeichen").arg(characters);
        QTest::addRow("key name") << 3
                                  << QStringLiteral("line 5: the key name is longer than %1 characters").arg(characters)
                                  << QStringLiteral("Zeile 5: der Tastenname ist l\u00e4nger als %1 Zeichen").arg(characters);
        QTest::addRow("key code") << 4
                                  << QStringLiteral("line 5: the key code is longer than %1 characters").arg(characters)
                                  << QStringLiteral("Zeile 5: der Tastencode ist l\u00e4nger als %1 Zeichen").arg(characters);
        QTest::addRow("link brand") << 5
                                    << QStringLiteral("link 0000aaaa: the brand is longer than %1 characters").arg(characters)
                                    << QStringLiteral("verkn\u00fcpftes Modell 0000aaaa: die Marke ist l\u00e4nger als %1 "
                                                      "Zeichen").arg(characters);
        QTest::addRow("link type") << 6
                                   << QStringLiteral("link 0000aaaa: the type is longer than %1 characters").arg(characters)
                                   << QStringLiteral("verkn\u00fcpftes Modell 0000aaaa: der Typ ist l\u00e4nger als %1 "
                                                     "Zeichen").arg(characters);
        QTest::addRow("link model") << 7
                                    << QStringLiteral("link 0000aaaa: the model is longer than %1 characters").arg(characters)
                                    << QStringLiteral("verkn\u00fcpftes Modell 0000aaaa: das Modell ist l\u00e4nger als %1 "
                                                      "Zeichen").arg(characters);
    }
    void fieldsBeyondTheirBoundAreRefused()
    {
        QFETCH(int, where);
        QFETCH(QString, english);
        QFETCH(QString, german);
        auto file = [&](const QString &value) {
            QStringList texts = {QStringLiteral("ACME"), QStringLiteral("TV"),     QStringLiteral("X-1"),
                                 QStringLiteral("k"),    QStringLiteral("0013A"), QStringLiteral("B"),
                                 QStringLiteral("T"),    QStringLiteral("M")};
            texts[where] = value;
            return fileWith(QStringLiteral("<IrvantaVersion>2.5.10</IrvantaVersion><Rcid>1a2b3c4d</Rcid><Brand>%1</Brand>"
                                           "<Type>%2</Type><Model>%3</Model><RCTypeId>1</RCTypeId>")
                                .arg(texts[0], texts[1], texts[2]),
                            QStringLiteral("<RCKeys>\n<RCKey><Name>%1</Name><ID>%2</ID><Nkey>4</Nkey></RCKey></RCKeys>")
                                .arg(texts[3], texts[4]),
                            QStringLiteral("<RCLinks><RCLink><Rcid>0000aaaa</Rcid><Brand>%1</Brand><Type>%2</Type>"
                                           "<Model>%3</Model></RCLink></RCLinks>")
                                .arg(texts[5], texts[6], texts[7]));
        };
        const int bound = ImportValues::maxCharacters(ImportValues::Field::Brand);
        ExchangeFile::Document d;
        QString error;
        QVERIFY2(ExchangeFile::read(file(QString(bound, QLatin1Char('v'))), &d, &error), qPrintable(error));
        QVERIFY(d.linksError.isEmpty());
        const QStringList stored = {d.master.brand, d.master.type, d.master.model, d.keys.value(0).name,
                                    d.keys.value(0).id, d.links.value(0).brand, d.links.value(0).type,
                                    d.links.value(0).model};
        QCOMPARE(stored.at(where), QString(bound, QLatin1Char('v')));

        const QByteArray longer = file(QString(bound + 1, QLatin1Char('v')));
        const bool link = where >= 5;
        QCOMPARE(ExchangeFile::read(longer, &d, &error), link);
        QCOMPARE(link ? d.linksError : error, english);
        if (link)
            QVERIFY(d.links.isEmpty());
        const GermanTexts texts;
        QCOMPARE(ExchangeFile::read(longer, &d, &error), link);
        QCOMPARE(link ? d.linksError : error, german);
    }

    // A value of a megabyte is quoted by its start only; the reason names
    // the field in the program's language.
    // Qt's reader compares each attribute of an element with every one before
    // it: an element of tens of thousands is refused before the reader sees
    // it, in whatever encoding the file comes.
    void refusesElementsOfManyAttributesQuickly_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QString many;
        for (int n = 0; n < 50000; ++n)
            many += QStringLiteral(" a%1=\"\"").arg(n);
        const QByteArray file =
            fileWith(description() + QStringLiteral("<Ignored%1/>").arg(many), QStringLiteral("<RCKeys/>"));
        QTest::addRow("UTF-8") << file;
        QByteArray utf16("\xff\xfe");
        utf16 += QByteArray(reinterpret_cast<const char *>(QString::fromUtf8(file).utf16()), file.size() * 2);
        QTest::addRow("UTF-16 with a byte-order mark") << utf16;
        QTest::addRow("declared Latin-1")
            << QByteArray(file).replace("<?xml version=\"1.0\"?>", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>");
        QTest::addRow("in the XML declaration")
            << QByteArray(file).replace("<?xml version=\"1.0\"?>",
                                        "<?xml version=\"1.0\"" + many.toUtf8() + "?>");
        QTest::addRow("values holding >") << QByteArray(file).replace("=\"\"", "=\">\"");
    }
    void refusesElementsOfManyAttributesQuickly()
    {
        QFETCH(QByteArray, bytes);
        ExchangeFile::Document d;
        QString error;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!ExchangeFile::read(bytes, &d, &error));
        const qint64 ms = timer.elapsed();
        QVERIFY2(error.contains(QLatin1String("attributes")), qPrintable(error));
        // A scan of a megabyte takes milliseconds; the bound leaves room for a
        // loaded machine.
        QVERIFY2(ms < 2000, qPrintable(QStringLiteral("%1 ms").arg(ms)));
    }

    // The bound is on one element; attributes inside comments and CDATA are
    // text, and the encoding Qt's reader chooses is the one the scan reads.
    void attributesUpToTheBound_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("accepted");
        auto attributes = [](int count) {
            QString out;
            for (int n = 0; n < count; ++n)
                out += QStringLiteral(" a%1='%1'").arg(n);
            return out;
        };
        const int bound = XmlInput::MaxAttributes;
        auto file = [](const QString &extra) { return fileWith(description() + extra, QStringLiteral("<RCKeys/>")); };
        QTest::addRow("at the bound") << file(QStringLiteral("<Ignored%1/>").arg(attributes(bound))) << true;
        QTest::addRow("one past the bound") << file(QStringLiteral("<Ignored%1/>").arg(attributes(bound + 1)))
                                            << false;
        QTest::addRow("in a comment") << file(QStringLiteral("<!--<Ignored%1/>-->").arg(attributes(1000))) << true;
        QTest::addRow("in CDATA") << file(QStringLiteral("<Ignored><![CDATA[<a%1>]]></Ignored>").arg(attributes(1000)))
                                  << true;
        QTest::addRow("in a processing instruction")
            << file(QStringLiteral("<?do <a%1> ?>").arg(attributes(1000))) << true;
        QTest::addRow("quotes in text") << file(QStringLiteral("<Ignored>%1</Ignored>").arg(QString(2000, u'"')))
                                        << true;
    }
    void attributesUpToTheBound()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, accepted);
        ExchangeFile::Document d;
        QString error;
        QCOMPARE(ExchangeFile::read(bytes, &d, &error), accepted);
        if (!accepted)
            QCOMPARE(error, QStringLiteral("the element on line 3 has more than %1 attributes")
                                .arg(XmlInput::MaxAttributes));
    }

    // Files in other encodings read as before: the reader gets the text the
    // scan decoded, whatever the declaration says.
    void readsOtherEncodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QString brand = QStringLiteral("M\u00fcller \u00c5");
        const QByteArray file = fileWith(description().replace(QStringLiteral("ACME"), brand), QStringLiteral("<RCKeys/>"));
        QTest::addRow("UTF-8") << file;
        QTest::addRow("UTF-8, declared") << QByteArray(file).replace("version=\"1.0\"", "version=\"1.0\" encoding='utf-8'");
        QByteArray utf16("\xff\xfe");
        const QString text = QString::fromUtf8(file);
        utf16 += QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        QTest::addRow("UTF-16 with a byte-order mark") << utf16;
        const QString declared =
            QString(text).replace(QStringLiteral("version=\"1.0\""), QStringLiteral("version=\"1.0\" encoding=\"UTF-16\""));
        QByteArray utf16Declared("\xff\xfe");
        utf16Declared += QByteArray(reinterpret_cast<const char *>(declared.utf16()), declared.size() * 2);
        QTest::addRow("UTF-16, declared") << utf16Declared;
        QTest::addRow("Latin-1, declared")
            << QString(text)
                   .replace(QStringLiteral("version=\"1.0\""), QStringLiteral("version=\"1.0\" encoding=\"ISO-8859-1\""))
                   .toLatin1();
    }
    void readsOtherEncodings()
    {
        QFETCH(QByteArray, bytes);
        ExchangeFile::Document d;
        QString error;
        QVERIFY2(ExchangeFile::read(bytes, &d, &error), qPrintable(error));
        QCOMPARE(d.master.brand, QStringLiteral("M\u00fcller \u00c5"));
    }

    void refusalsQuoteValuesCut_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("german");
        const QString huge(1 << 20, QLatin1Char('7'));
        const QString cut = QString(40, QLatin1Char('7')) + QChar(0x2026);
        QTest::addRow("Rcid") << fileWith(description(QStringLiteral("2.5.10"), QStringLiteral("1"), huge),
                                          QStringLiteral("<RCKeys/>"))
                              << QStringLiteral("Rcid \"%1\" is not a model identity").arg(cut)
                              << QStringLiteral("Rcid \u201e%1\u201c ist keine Modellkennung").arg(cut);
        QTest::addRow("RCTypeId") << fileWith(description(QStringLiteral("2.5.10"), huge), QStringLiteral("<RCKeys/>"))
                                  << QStringLiteral("RCTypeId \"%1\" is not a remote type").arg(cut)
                                  << QStringLiteral("RCTypeId \u201e%1\u201c ist kein Fernbedienungstyp").arg(cut);
        QTest::addRow("Correction")
            << fileWith(description().replace(QStringLiteral("<Correction>0<"), QStringLiteral("<Correction>") + huge
                                                                                   + QLatin1Char('<')),
                        QStringLiteral("<RCKeys/>"))
            << QStringLiteral("Correction \"%1\" is not a number from -20 to 20").arg(cut)
            << QStringLiteral("Correction \u201e%1\u201c ist keine Zahl von -20 bis 20").arg(cut);
        QTest::addRow("Prot") << fileWith(description().replace(QStringLiteral("<Prot>7<"),
                                                                QStringLiteral("<Prot>") + huge + QLatin1Char('<')),
                                          QStringLiteral("<RCKeys/>"))
                              << QStringLiteral("Prot \"%1\" is not a protocol number").arg(cut)
                              << QStringLiteral("Prot \u201e%1\u201c ist keine Protokollnummer").arg(cut);
        QTest::addRow("Nkey") << fileWith(description(), QStringLiteral("<RCKeys>") + key(QStringLiteral("0013"), huge)
                                                             + QStringLiteral("</RCKeys>"))
                              << QStringLiteral("key number \"%1\" is not 0 to 127").arg(cut)
                              << QStringLiteral("die Tastennummer \u201e%1\u201c liegt nicht zwischen 0 und 127")
                                     .arg(cut);
        // Layer 3 takes the key number past 127: refused, not skipped.
        QTest::addRow("PCB")
            << fileWith(description(QStringLiteral("1.3"), QStringLiteral("5")),
                        QStringLiteral("<RCKeys>")
                            + key(QStringLiteral("0013"), QStringLiteral("1"), QStringLiteral("3 52") + huge)
                            + QStringLiteral("</RCKeys>"))
            << QStringLiteral("key position \"3 52%1\" has no key on remote type 5").arg(cut.mid(4))
            << QStringLiteral("die Tastenposition \u201e3 52%1\u201c hat keine Taste auf dem Fernbedienungstyp 5")
                   .arg(cut.mid(4));
    }
    void refusalsQuoteValuesCut()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, english);
        QFETCH(QString, german);
        ExchangeFile::Document d;
        QString error;
        QVERIFY(!ExchangeFile::read(bytes, &d, &error));
        QCOMPARE(error, english);
        const GermanTexts texts;
        QVERIFY(!ExchangeFile::read(bytes, &d, &error));
        QCOMPARE(error, german);
    }

    void readsKeyNumbers_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("typeId");
        QTest::addColumn<QString>("nkey");
        QTest::addColumn<QString>("pcb");
        QTest::addColumn<QString>("expected");
        QTest::addRow("version 2 takes Nkey") << "2.5.10" << "5" << "17" << "1 52" << "17";
        QTest::addRow("version 1, type 2, 1 05") << "1.0" << "2" << "9" << "1 05" << "61";
        QTest::addRow("version 10.1 is major 1") << "10.1" << "2" << "9" << "0 12" << "12";
        QTest::addRow("version 1, type 5, 1 52") << "1.0" << "5" << "9" << "1 52" << "44";
        QTest::addRow("version 1, type 5, 0 53") << "1.0" << "5" << "9" << "0 53" << "0";
        QTest::addRow("version 1, type 6 takes Nkey") << "1.0" << "6" << "9" << "0 53" << "9";
        QTest::addRow("no version takes Nkey") << "" << "1" << "3" << "1 05" << "3";
    }
    void readsKeyNumbers()
    {
        QFETCH(QString, version);
        QFETCH(QString, typeId);
        QFETCH(QString, nkey);
        QFETCH(QString, pcb);
        QFETCH(QString, expected);
        const QByteArray bytes =
            fileWith(description(version, typeId),
                     QStringLiteral("<RCKeys>") + key(QStringLiteral("0013ABC"), nkey, pcb)
                         + QStringLiteral("<RCKey><Name>no code</Name><Nkey>4</Nkey></RCKey></RCKeys>"));
        ExchangeFile::Document d;
        QString error;
        QVERIFY2(ExchangeFile::read(bytes, &d, &error), qPrintable(error));
        QCOMPARE(d.keys.size(), 1); // the entry without ID is skipped
        QCOMPARE(d.keys[0].nkey, expected);
    }

    // The catalogue keeps one key per number, the last written: so does the
    // reader, in the first one's place. A file of many keys on few numbers
    // then costs the catalogue a few writes, not one per entry (a 60 MiB
    // file of two million keys held the window 40 s in the writes).
    void keepsTheLastKeyOfEachNumber()
    {
        QString keys;
        for (int n = 0; n < 3000; ++n)
            keys += key(QStringLiteral("0013%1").arg(n), QString::number(n % 3 == 0 ? 7 : n % 3 == 1 ? 2 : 99));
        ExchangeFile::Document d;
        QString error;
        QVERIFY2(ExchangeFile::read(fileWith(description(), QStringLiteral("<RCKeys>") + keys + QStringLiteral("</RCKeys>")),
                                    &d, &error),
                 qPrintable(error));
        QCOMPARE(d.keys.size(), 3);
        QCOMPARE(d.keys[0].nkey, QStringLiteral("7"));
        QCOMPARE(d.keys[0].id, QStringLiteral("00132997"));
        QCOMPARE(d.keys[1].nkey, QStringLiteral("2"));
        QCOMPARE(d.keys[1].id, QStringLiteral("00132998"));
        QCOMPARE(d.keys[2].nkey, QStringLiteral("99"));
        QCOMPARE(d.keys[2].id, QStringLiteral("00132999"));
    }

    // On remote type 5 a position without a key drops that key alone, with
    // a line for the log; the file's other keys are read.
    void skipsKeysAtType5PositionsWithoutKey_data()
    {
        QTest::addColumn<QString>("position");
        QTest::addRow("position 54") << "0 54";
        QTest::addRow("position 0, layer 1") << "1 00";
        QTest::addRow("position 15") << "0 15";
        QTest::addRow("beyond the table") << "0 99";
    }
    void skipsKeysAtType5PositionsWithoutKey()
    {
        QFETCH(QString, position);
        const QString keys = QStringLiteral("<RCKeys>") + key(QStringLiteral("0013A"), QString(), QStringLiteral("0 52"))
            + QStringLiteral("<RCKey><Name>Mute %1</Name><ID>0013B</ID><PCB>%2</PCB></RCKey>").arg(QStringLiteral("%3"), position)
            + key(QStringLiteral("0013C"), QString(), QStringLiteral("0 53")) + QStringLiteral("</RCKeys>");
        ExchangeFile::Document d;
        QString error;
        QVERIFY2(ExchangeFile::read(fileWith(description(QStringLiteral("1.2"), QStringLiteral("5")), keys), &d, &error),
                 qPrintable(error));
        QCOMPARE(d.keys.size(), 2);
        QCOMPARE(d.keys[0].id, QStringLiteral("0013A"));
        QCOMPARE(d.keys[0].nkey, QStringLiteral("1"));
        QCOMPARE(d.keys[1].id, QStringLiteral("0013C"));
        QCOMPARE(d.keys[1].nkey, QStringLiteral("0"));
        QCOMPARE(d.log, QStringList(QStringLiteral("Lines skipped: 1 (line 4: key \"Mute %3\": position \"%1\" has no "
                                                   "key on remote type 5).")
                                        .arg(position)));
    }

    // Many keys at positions without a key give one line, as in the other
    // readers: the count and the first few with their lines.
    void skippedKeysGiveOneLine()
    {
        QString keys = QStringLiteral("<RCKeys>\n");
        for (int n = 0; n < 7; ++n)
            keys += QStringLiteral("<RCKey><Name>k%1</Name><ID>0013A</ID><PCB>0 54</PCB></RCKey>\n").arg(n);
        keys += key(QStringLiteral("0013C"), QString(), QStringLiteral("0 53")) + QStringLiteral("</RCKeys>");
        ExchangeFile::Document d;
        QString error;
        QVERIFY2(ExchangeFile::read(fileWith(description(QStringLiteral("1.2"), QStringLiteral("5")), keys), &d, &error),
                 qPrintable(error));
        QCOMPARE(d.keys.size(), 1);
        QCOMPARE(d.log.size(), 1);
        QVERIFY2(d.log[0].startsWith(QStringLiteral("Lines skipped: 7 (line 5: key \"k0\": position \"0 54\" has no key "
                                                    "on remote type 5; line 6: key \"k1\"")),
                 qPrintable(d.log[0]));
        QVERIFY2(d.log[0].endsWith(QStringLiteral("line 9: key \"k4\": position \"0 54\" has no key on remote type 5; "
                                                  "\u2026).")),
                 qPrintable(d.log[0]));
    }

    // A value from the file is put into its message last, or with the
    // others at once: a "%2" in it stays as it is.
    void valuesWithPercentSignsStayIntact_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("told");
        QTest::addRow("key number")
            << fileWith(description(), QStringLiteral("<RCKeys>") + key(QStringLiteral("0013"), QStringLiteral("%2x"))
                                           + QStringLiteral("</RCKeys>"))
            << QStringLiteral("key number \"%2x\" is not 0 to 127");
        QTest::addRow("key position")
            << fileWith(description(QStringLiteral("1.3"), QStringLiteral("5")),
                        QStringLiteral("<RCKeys>")
                            + key(QStringLiteral("0013"), QStringLiteral("1"), QStringLiteral("3 52%2"))
                            + QStringLiteral("</RCKeys>"))
            << QStringLiteral("key position \"3 52%2\" has no key on remote type 5");
        QTest::addRow("skipped key")
            << fileWith(description(QStringLiteral("1.3"), QStringLiteral("5")),
                        QStringLiteral("<RCKeys><RCKey><Name>%1 %2 %3</Name><ID>1</ID><PCB>0 54</PCB></RCKey></RCKeys>"))
            << QStringLiteral("Lines skipped: 1 (line 4: key \"%1 %2 %3\": position \"0 54\" has no key on remote "
                              "type 5).");
    }
    void valuesWithPercentSignsStayIntact()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, told);
        ExchangeFile::Document d;
        QString error;
        if (ExchangeFile::read(bytes, &d, &error))
            QCOMPARE(d.log.join(QLatin1Char('\n')), told);
        else
            QCOMPARE(error, told);
    }

    // Qt's own reasons name what they read from the file whole; the
    // refusal cuts each name as the program's own quotes are cut.
    void parseErrorsQuoteNamesCut_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        const QString name(4000, QLatin1Char('n'));
        QTest::addRow("entity") << fileWith(description().replace(QStringLiteral("ACME"), QStringLiteral("&%1;").arg(name)),
                                            QStringLiteral("<RCKeys/>"))
                                << name;
        QTest::addRow("attribute") << fileWith(description() + QStringLiteral("<Ignored %1='' %1=''/>").arg(name),
                                               QStringLiteral("<RCKeys/>"))
                                   << name;
        QTest::addRow("encoding") << QByteArray(fileWith(description(), QStringLiteral("<RCKeys/>")))
                                         .replace("version=\"1.0\"", "version=\"1.0\" encoding=\"" + name.toUtf8() + '"')
                                  << name;
    }
    void parseErrorsQuoteNamesCut()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        ExchangeFile::Document d;
        QString error;
        QVERIFY(!ExchangeFile::read(bytes, &d, &error));
        QVERIFY2(error.size() < 160, qPrintable(error.left(200)));
        QVERIFY2(error.contains(name.left(40) + QChar(0x2026)), qPrintable(error));
    }

    // A master with thousands of links reads back as it was written.
    void readsALargeWrittenFile()
    {
        ExchangeFile::Document d;
        d.version = QLatin1String(ExchangeFile::ProgramVersion);
        d.hasMaster = true;
        d.master = {QStringLiteral("1a2b3c4d"), QStringLiteral("ACME"), QStringLiteral("TV"), QStringLiteral("X-1"),
                    QStringLiteral("notes"), QStringLiteral("1.5"), QStringLiteral("7")};
        d.rcTypeId = QStringLiteral("1");
        for (int n = 0; n <= ExchangeFile::MaxKeyNumber; ++n)
            d.keys << ExchangeFile::Key{QStringLiteral("key %1").arg(n), QStringLiteral("0013%1").arg(n),
                                        QString::number(n)};
        for (int n = 0; n < 5000; ++n)
            d.links << ExchangeFile::Model{QStringLiteral("%1").arg(n, 8, 16, QLatin1Char('0')), QStringLiteral("B"),
                                           QStringLiteral("T"), QStringLiteral("M %1").arg(n), QStringLiteral("doc"),
                                           QStringLiteral("0.5"), QStringLiteral("3")};
        ExchangeFile::Document back;
        QString error;
        QVERIFY2(ExchangeFile::read(ExchangeFile::write(d), &back, &error), qPrintable(error));
        QCOMPARE(back.keys.size(), d.keys.size());
        QCOMPARE(back.links.size(), d.links.size());
    }

    // The reader's memory stays near the file's size whatever the file is
    // made of (the bound is generous: a loaded machine or another allocator
    // must not fail it).
    void memoryStaysNearTheFileSize_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("accepted");
        const qsizetype size = 16 * 1024 * 1024;
        const QString ignored = QStringLiteral("<Ignored>") + QStringLiteral("<a/>").repeated(size / 4)
            + QStringLiteral("</Ignored>");
        // Nothing of what the document does not keep costs: no tree is built.
        QTest::addRow("empty elements in an ignored element")
            << fileWith(description() + ignored, QStringLiteral("<RCKeys/>")) << true;
        QTest::addRow("comments") << fileWith(description() + QStringLiteral("<!---->").repeated(size / 7),
                                              QStringLiteral("<RCKeys/>"))
                                  << true;
        QTest::addRow("blank CDATA sections")
            << fileWith(description() + QStringLiteral("<Ignored>")
                            + QStringLiteral("<![CDATA[ ]]>").repeated(size / 13) + QStringLiteral("</Ignored>"),
                        QStringLiteral("<RCKeys/>"))
            << true;
        QTest::addRow("fields repeated in the description")
            << fileWith(description() + QStringLiteral("<Brand>b</Brand>").repeated(size / 16), QStringLiteral("<RCKeys/>"))
            << true;
        // What is kept, as small as a file can make it: each key and link is
        // a row of texts.
        const QString smallKey = QStringLiteral("<a><ID>x</ID><Nkey>1</Nkey></a>");
        QTest::addRow("the smallest keys")
            << fileWith(description(), QStringLiteral("<RCKeys>") + smallKey.repeated(size / smallKey.size())
                                           + QStringLiteral("</RCKeys>"))
            << true;
        const QString smallLink =
            QStringLiteral("<a><Rcid>1a2b3c4d</Rcid><Brand>b</Brand><Type>t</Type><Model>m</Model></a>");
        QTest::addRow("the smallest links")
            << fileWith(description(), QStringLiteral("<RCKeys/>"),
                        QStringLiteral("<RCLinks>") + smallLink.repeated(size / smallLink.size())
                            + QStringLiteral("</RCLinks>"))
            << true;
        // Read whole, then refused: longer than any documentation is stored.
        QTest::addRow("one long documentation")
            << fileWith(description().replace(QStringLiteral("<Documentation/>"),
                                              QStringLiteral("<Documentation>") + QString(size, QLatin1Char('d'))
                                                  + QStringLiteral("</Documentation>")),
                        QStringLiteral("<RCKeys/>"))
            << false;
        // Qt's reader held 4 GB for these (59 MB); an element past the
        // attribute bound is refused at once.
        QString hundred;
        for (int n = 0; n < 100; ++n)
            hundred += QStringLiteral(" a%1=''").arg(n);
        QTest::addRow("85,000 elements of 100 attributes")
            << fileWith(description() + QStringLiteral("<Ignored>")
                            + QStringLiteral("<a%1/>").arg(hundred).repeated(85000) + QStringLiteral("</Ignored>"),
                        QStringLiteral("<RCKeys/>"))
            << false;
        QString most;
        for (int n = 0; n < XmlInput::MaxAttributes; ++n)
            most += QStringLiteral(" a%1=''").arg(n);
        const QString full = QStringLiteral("<a%1/>").arg(most);
        QTest::addRow("elements of the most attributes")
            << fileWith(description() + QStringLiteral("<Ignored>") + full.repeated(size / full.size())
                            + QStringLiteral("</Ignored>"),
                        QStringLiteral("<RCKeys/>"))
            << true;
    }
    void memoryStaysNearTheFileSize()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, accepted);
        bool read = !accepted;
        QElapsedTimer timer;
        timer.start();
        const long growth = readersGrowthKiB(bytes, &read);
        const qint64 ms = timer.elapsed();
        if (growth == NoPeak)
            QSKIP("this system cannot reset a process's peak resident size");
        QVERIFY2(growth >= 0, "the reading child did not end on its own");
        qInfo("the reader's peak: %ld KiB above its start for a file of %lld KiB, %lld ms", growth,
              qlonglong(bytes.size() / 1024), qlonglong(ms));
        // Eight times the file, and room for what the reader itself starts with.
        const long bound = 8 * bytes.size() / 1024 + 64 * 1024;
        QVERIFY2(growth < bound, qPrintable(QStringLiteral("%1 KiB for a file of %2 KiB (bound %3 KiB)")
                                                 .arg(growth)
                                                 .arg(bytes.size() / 1024)
                                                 .arg(bound)));
        // Time grows with the file: a second or two for these, ten times that
        // on a loaded machine.
        QVERIFY2(ms < 20000, qPrintable(QStringLiteral("%1 ms").arg(ms)));
        QCOMPARE(read, accepted);
    }

    // A documentation is taken up to the length the record dialog edits, as
    // the export writes it; a longer one refuses the file, or for a link the
    // links group, naming the field, and the export refuses to write it.
    void documentationBound_data()
    {
        QTest::addColumn<bool>("link");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("accepted");
        for (bool link : {false, true}) {
            const char *who = link ? "link" : "master";
            QTest::addRow("%s at the bound", who) << link << DocumentationText::kMaxStoredChars << true;
            QTest::addRow("%s one past", who) << link << DocumentationText::kMaxStoredChars + 1 << false;
        }
    }
    void documentationBound()
    {
        QFETCH(bool, link);
        QFETCH(int, length);
        QFETCH(bool, accepted);
        // Markup and line ends, as a formatted documentation has them, written by the export.
        const QString text = QStringLiteral("<b>&x</b>\n").repeated(length / 10 + 1).left(length);
        ExchangeFile::Document d;
        d.hasMaster = true;
        d.version = QStringLiteral("2.5.10");
        d.rcTypeId = QStringLiteral("1");
        d.master = {QStringLiteral("1a2b3c4d"), QStringLiteral("ACME"), QStringLiteral("TV"), QStringLiteral("X-1"),
                    link ? QString() : text, QStringLiteral("0"), QStringLiteral("7")};
        if (link)
            d.links << ExchangeFile::Model{QStringLiteral("0000aaaa"), QStringLiteral("B"), QStringLiteral("T"),
                                           QStringLiteral("M"), text, QString(), QString()};
        // The export refuses what the import would: a documentation from
        // before the bound never goes into a file the program then refuses.
        const QString unwritable = ExchangeFile::unwritable(d);
        QVERIFY2(accepted == unwritable.isEmpty(), qPrintable(unwritable));
        if (!accepted)
            QVERIFY2(unwritable.contains(QLatin1String("Documentation of model ")
                                         + (link ? QLatin1String("B T M (0000aaaa)") : QLatin1String("ACME TV X-1 (1a2b3c4d)"))),
                     qPrintable(unwritable));
        ExchangeFile::Document back;
        QString error;
        const bool read = ExchangeFile::read(ExchangeFile::write(d), &back, &error);
        const QString why = QStringLiteral("Documentation is longer than 65536 characters");
        if (!link) {
            QCOMPARE(read, accepted);
            QCOMPARE(accepted ? back.master.documentation : error, accepted ? text : why);
            return;
        }
        QVERIFY2(read, qPrintable(error));
        QCOMPARE(back.linksError, accepted ? QString() : QStringLiteral("link 0000aaaa: ") + why);
        QCOMPARE(back.links.size(), accepted ? 1 : 0);
        if (accepted)
            QCOMPARE(back.links.at(0).documentation, text);
    }

    void linksNeedTheirFourNames()
    {
        const QString links = QStringLiteral(
            "<RCLinks><RCLink><Rcid>0000aaaa</Rcid><Brand>B</Brand><Type>T</Type><Model>M</Model></RCLink>"
            "<RCLink><Rcid>0000bbbb</Rcid><Brand>B</Brand><Type>T</Type></RCLink></RCLinks>");
        ExchangeFile::Document d;
        QString error;
        QVERIFY(ExchangeFile::read(fileWith(description(), QStringLiteral("<RCKeys/>"), links), &d, &error));
        QCOMPARE(d.links.size(), 1);
        QCOMPARE(d.links[0].rcid, QStringLiteral("0000aaaa"));
        QVERIFY(d.linksError.isEmpty());

        // A bad link spoils the links group only.
        const QString bad = QStringLiteral(
            "<RCLinks><RCLink><Rcid>x'--</Rcid><Brand>B</Brand><Type>T</Type><Model>M</Model></RCLink></RCLinks>");
        QVERIFY(ExchangeFile::read(fileWith(description(), QStringLiteral("<RCKeys/>"), bad), &d, &error));
        QCOMPARE(d.linksError, QStringLiteral("link Rcid \"x'--\" is not a model identity"));
        const QString huge = QStringLiteral("<RCLinks><RCLink><Rcid>%1</Rcid><Brand>B</Brand><Type>T</Type><Model>M"
                                            "</Model></RCLink></RCLinks>")
                                 .arg(QString(1 << 20, QLatin1Char('f')));
        QVERIFY(ExchangeFile::read(fileWith(description(), QStringLiteral("<RCKeys/>"), huge), &d, &error));
        QCOMPARE(d.linksError, QStringLiteral("link Rcid \"%1\u2026\" is not a model identity")
                                   .arg(QString(40, QLatin1Char('f'))));

        QVERIFY(ExchangeFile::read(fileWith(description(), QStringLiteral("<RCKeys/>"), QString()), &d, &error));
        QVERIFY(!d.hasLinksGroup);
    }

    void positions_data()
    {
        QTest::addColumn<QString>("position");
        QTest::addColumn<int>("typeId");
        QTest::addColumn<int>("nkey");
        QTest::addRow("type 1 layer 0") << "0 12" << 1 << 12;
        QTest::addRow("type 4 layer 1") << "1 55" << 4 << 111;
        QTest::addRow("type 4 position 56") << "0 56" << 4 << 56;
        QTest::addRow("type 1 position 60") << "0 60" << 1 << 60;
        QTest::addRow("type 5 position 52") << "1 52" << 5 << 44;
        QTest::addRow("type 5 position 14") << "0-14" << 5 << 42;
        QTest::addRow("type 5 position 53") << "0 53" << 5 << 0;
        QTest::addRow("type 5 layer 2") << "2 52" << 5 << 87;
        QTest::addRow("type 5 no key at 0") << "0 00" << 5 << int(ExchangeFile::NoKey);
        QTest::addRow("type 5 position 64") << "0 64" << 5 << int(ExchangeFile::NoKey);
        QTest::addRow("type 5 beyond 127") << "3 53" << 5 << -1;
        QTest::addRow("layer 2") << "2 01" << 1 << 113;
        QTest::addRow("beyond 127") << "3 00" << 1 << -1;
        QTest::addRow("short") << "1 5" << 1 << 61;
        QTest::addRow("trailing blank") << "0 12 " << 1 << 12;
        QTest::addRow("position not a number") << "1 +5" << 1 << 56;
        QTest::addRow("layer not a number") << "x 12" << 1 << 12;
        QTest::addRow("empty") << "" << 2 << 0;
        QTest::addRow("type 6") << "0 01" << 6 << -1;
    }
    void positions()
    {
        QFETCH(QString, position);
        QFETCH(int, typeId);
        QFETCH(int, nkey);
        QCOMPARE(ExchangeFile::nkeyFromPosition(position, typeId), nkey);
    }

    void fourInOneTableIsAPermutation()
    {
        QList<int> seen(43, 0);
        for (int p = 0; p < 64; ++p) {
            const int key = ExchangeFile::fourInOnePosition(p);
            if (key >= 0)
                ++seen[key];
        }
        QCOMPARE(seen, QList<int>(43, 1));
    }
};

QTEST_GUILESS_MAIN(TestExchangeFile)
#include "tst_exchangefile.moc"
