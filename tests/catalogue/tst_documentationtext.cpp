// What the documentation shows: formatting that names no resource and keeps
// within bounds, everything else as plain text. Each result is laid out by
// Qt's own rich text, which must ask for nothing and finish quickly.
#include "CostlyDocumentations.h"
#include "catalogue/DocumentationText.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QtTest>

#include <sys/stat.h>

namespace {

// Records every resource Qt's rich text asks for.
class RecordingDocument : public QTextDocument
{
public:
    QList<QUrl> asked;

protected:
    QVariant loadResource(int type, const QUrl &name) override
    {
        Q_UNUSED(type);
        asked.append(name);
        return QVariant();
    }
};

QString nested(const QString &open, const QString &close, int levels, const QString &inner = QStringLiteral("x"))
{
    return CostlyDocumentations::nested(open, close, levels, inner);
}

// Lays out what a view shows for documentation as the documentation label
// does at its narrowest width (words wrap, every word on a line) and at the
// width it tries for one line, and as the record dialog's editor does at a
// small width; the milliseconds it took.
qint64 layOutAsTheViewsDo(const DocumentationText::Shown &shown)
{
    QElapsedTimer timer;
    timer.start();
    for (const auto &[wrap, width] : {std::pair{QTextOption::WordWrap, 0}, std::pair{QTextOption::WordWrap, 16777215},
                                      std::pair{QTextOption::WordWrap, 200}}) {
        QTextDocument document;
        QTextOption option = document.defaultTextOption();
        option.setWrapMode(wrap);
        document.setDefaultTextOption(option);
        if (shown.rich)
            document.setHtml(shown.text);
        else
            document.setPlainText(shown.text);
        document.setTextWidth(width);
        if (document.size().height() <= 0)
            return -1;
    }
    return timer.elapsed();
}

} // namespace

class TestDocumentationText : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_fifo, m_picture;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_fifo = m_dir.filePath(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(m_fifo).constData(), 0600), 0);
        m_picture = m_dir.filePath(QStringLiteral("red.png"));
        QImage red(40, 40, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(m_picture));
    }

    void forDisplay_data()
    {
        QTest::addColumn<QString>("documentation");
        QTest::addColumn<bool>("rich");
        QTest::addColumn<QStringList>("kept");    // rich: pieces of markup that stay
        QTest::addColumn<QStringList>("dropped"); // rich: pieces that go

        const QStringList none;
        QTest::addRow("picture on /dev/zero")
            << "<b>Power</b> key <img src=\"/dev/zero\"> here" << true << QStringList{"<b>Power</b> key ", " here"}
            << QStringList{"img", "/dev/zero"};
        QTest::addRow("picture on a FIFO") << "<i>Mute</i><IMG SRC='%FIFO%' width=20>" << true
                                           << QStringList{"<i>Mute</i>"} << QStringList{"img", "pipe"};
        QTest::addRow("local picture") << "<p>Remote <img src=%PICTURE%></p>" << true << QStringList{"<p>Remote </p>"}
                                       << QStringList{"img", "red.png"};
        QTest::addRow("picture as a data address")
            << "<u>x</u><img src=\"data:image/png;base64,iVBORw0KGgo=\">" << true << QStringList{"<u>x</u>"}
            << QStringList{"img", "data:"};
        QTest::addRow("background attribute")
            << "<table background=\"/dev/zero\" border=\"1\"><tr><td background=\"/dev/zero\">x</td></tr></table>"
            << true << QStringList{"<table border=\"1\"><tr><td>x</td></tr></table>"} << QStringList{"background"};
        QTest::addRow("style sheet address")
            << "<p style=\"background-image:url(/dev/zero); color:#ff0000; background: url('/dev/zero')\">x</p>"
            << true << QStringList{"<p style=\"color:#ff0000;\">x</p>"} << QStringList{"url", "/dev/zero"};
        QTest::addRow("escaped style sheet address")
            << "<span style=\"background-image:u\\72l(/dev/zero);background-image:u&#114;l(/dev/zero)\">x</span>"
            << true << QStringList{"<span>x</span>"} << QStringList{"dev"};
        QTest::addRow("linked and imported style sheets")
            << "<html><head><link rel=\"stylesheet\" href=\"/dev/zero\"><style>@import url(/dev/zero); b {}</style>"
               "</head><body background=\"/dev/zero\"><b>x</b></body></html>"
            << true << QStringList{"<b>x</b>"} << QStringList{"link", "import", "zero", "style", "body"};
        QTest::addRow("20 nested tables")
            << nested("<table><tr><td>", "</td></tr></table>", 20) << false << none << none;
        QTest::addRow("3000 nested tables")
            << nested("<table><tr><td>", "</td></tr></table>", 3000) << false << none << none;
        QTest::addRow("4 nested tables") << nested("<table><tr><td>", "</td></tr></table>", 4) << false << none
                                         << none;
        QTest::addRow("3 nested tables") << nested("<table><tr><td>", "</td></tr></table>", 3) << true
                                         << QStringList{nested("<table><tr><td>", "</td></tr></table>", 3)} << none;
        QTest::addRow("20000 nested lists") << nested("<ul><li>", "</li></ul>", 20000) << false << none << none;
        QTest::addRow("20 nested lists") << nested("<ul><li>", "</li></ul>", 20) << false << none << none;
        QTest::addRow("60 nested blocks") << nested("<div>", "</div>", 60) << false << none << none;
        QTest::addRow("lists without ends stay flat")
            << "<ul>" + QStringLiteral("<li>item").repeated(500) + "</ul>" << true
            << QStringList{"<ul><li>item</li><li>item</li>"} << none;
        QTest::addRow("font-size 100000pt") << "<span style=\"font-size:100000pt\">big</span>" << false << none
                                            << none;
        QTest::addRow("font-size 100000px") << "<p style=\"font-size: 100000px;\">big</p>" << false << none << none;
        QTest::addRow("font size attribute") << "<font size=\"99999\">big</font>" << false << none << none;
        QTest::addRow("huge margin") << "<p style=\"margin-left:9999999px\">far</p>" << false << none << none;
        QTest::addRow("huge indent") << "<p style=\"-qt-block-indent:100000\">far</p>" << false << none << none;
        QTest::addRow("huge table width") << "<table width=\"99999999\"><tr><td>x</td></tr></table>" << false
                                          << none << none;
        QTest::addRow("more cells than the bound")
            << "<table><tr>" + QStringLiteral("<td>x</td>").repeated(DocumentationText::kMaxItems + 1) + "</table>"
            << false << none << none;
        QTest::addRow("huge cell span") << "<table><tr><td colspan=\"100000\">x</td></tr></table>" << false << none
                                        << none;
        QTest::addRow("markup over the size bound")
            << "<b>" + QString(DocumentationText::kMaxMarkupChars, u'x') + "</b>" << false << none << none;
        QTest::addRow("ordinary formatted text")
            << "<p>Press <b>Power</b> and <i>Mute</i>, see <a href=\"http://example.com/x?a=1&amp;b=2\">the "
               "manual</a>.</p><ul><li>one</li><li>two</li></ul><p style=\"color:#0000ff; font-size:14pt; "
               "font-weight:700\">blue</p><table border=\"1\" cellpadding=\"2\"><tr><td>a</td><td>b</td></tr></table>"
            << true
            << QStringList{"<p>Press <b>Power</b> and <i>Mute</i>, see ",
                           "<a href=\"http://example.com/x?a=1&amp;b=2\">the manual</a>", "<ul><li>one</li><li>two</li></ul>",
                           "<p style=\"color:#0000ff; font-size:14pt; font-weight:700;\">blue</p>",
                           "<table border=\"1\" cellpadding=\"2\"><tr><td>a</td><td>b</td></tr></table>"}
            << none;
        QTest::addRow("text that only looks like a tag") << "<b>a < b && c > d</b>" << true
                                                         << QStringList{"<b>a &lt; b && c &gt; d</b>"} << none;
        QTest::addRow("a tag that never ends") << "<b>x</b><font color=\"red" << true
                                               << QStringList{"<b>x</b>&lt;font color=\"red"} << none;
        QTest::addRow("closed script and title")
            << "<b>Tip</b><title>Remote</title> press <script>alert(1)</script>OK" << true
            << QStringList{"<b>Tip</b> press OK"} << QStringList{"Remote", "alert", "script", "title"};
        QTest::addRow("script without its end")
            << "<b>Tip</b> press the <script> key, then OK" << true
            << QStringList{"<b>Tip</b> press the ", " key, then OK"} << QStringList{"script"};
        QTest::addRow("textarea and style without their ends")
            << "<p>Use the <TEXTAREA> field</p><p>and the <style> key</p><p>last line</p>" << true
            << QStringList{"<p>Use the  field</p><p>and the  key</p><p>last line</p>"}
            << QStringList{"textarea", "style"};
        QTest::addRow("plain text") << "Use the < and > keys\nsecond line" << false << none << none;
        QTest::addRow("markup after the first line")
            << "first line\n<img src=\"/dev/zero\">" << false << none << none;
        QTest::addRow("empty") << "" << false << none << none;
    }
    void forDisplay()
    {
        QFETCH(QString, documentation);
        QFETCH(bool, rich);
        QFETCH(QStringList, kept);
        QFETCH(QStringList, dropped);
        documentation.replace(QLatin1String("%FIFO%"), m_fifo).replace(QLatin1String("%PICTURE%"), m_picture);

        QElapsedTimer timer;
        timer.start();
        const DocumentationText::Shown shown = DocumentationText::forDisplay(documentation);
        QCOMPARE(shown.rich, rich);
        if (!rich) {
            // Shown as it is stored, every character of it.
            QCOMPARE(shown.text, documentation);
        }
        for (const QString &piece : kept)
            QVERIFY2(shown.text.contains(piece), qPrintable(shown.text.left(2000)));
        for (const QString &piece : dropped)
            QVERIFY2(!shown.text.contains(piece, Qt::CaseInsensitive), qPrintable(shown.text.left(2000)));

        // What Qt builds from it asks for nothing and is laid out at once.
        RecordingDocument document;
        if (shown.rich)
            document.setHtml(shown.text);
        else
            document.setPlainText(shown.text);
        document.setTextWidth(600);
        QVERIFY(document.size().height() > 0 || documentation.isEmpty());
        QVERIFY2(document.asked.isEmpty(), qPrintable(document.asked.value(0).toString()));
        // Generous for a loaded machine: the unbounded texts took minutes.
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    }

    // Qt's own HTML, as the record dialog stores an edited formatted text,
    // comes back with its formatting.
    void qtHtmlKeepsItsFormatting()
    {
        QTextDocument source;
        source.setHtml(QStringLiteral("<p>Press <b>Power</b>  twice, <i>slowly</i>.</p>"
                                      "<ul><li>one</li><li>two</li></ul><p><a href=\"http://x\">link</a></p>"));
        const QString html = source.toHtml();
        const DocumentationText::Shown shown = DocumentationText::forDisplay(html);
        QVERIFY(shown.rich);
        QTextDocument again;
        again.setHtml(shown.text);
        QCOMPARE(again.toPlainText(), source.toPlainText());
        QTextCursor bold = again.find(QStringLiteral("Power"));
        QVERIFY(!bold.isNull());
        QVERIFY(bold.charFormat().fontWeight() >= QFont::Bold);
        QTextCursor italic = again.find(QStringLiteral("slowly"));
        QVERIFY(italic.charFormat().fontItalic());
        QTextCursor item = again.find(QStringLiteral("two"));
        QVERIFY(item.block().textList());
        QTextCursor link = again.find(QStringLiteral("link"));
        QCOMPARE(link.charFormat().anchorHref(), QStringLiteral("http://x"));
    }

    // What costs Qt's layout more than its length says is shown formatted
    // only within the bounds, and every text lays out at once: the texts of
    // the hostile-input pass (a line height, spans, a long list), a text at
    // every bound at once, and one just past.
    void costlyTextsLayOutAtOnce_data()
    {
        QTest::addColumn<QString>("documentation");
        QTest::addColumn<bool>("rich");
        QTest::addColumn<int>("boundMs");
        for (const CostlyDocumentations::Row &row : CostlyDocumentations::rows())
            QTest::addRow("%s", row.name) << row.text << row.rich << row.boundMs;
        QTest::addRow("lists at the depth bound")
            << nested("<ul><li>", "</li></ul>", DocumentationText::kMaxListDepth,
                      QStringLiteral("word ").repeated((DocumentationText::kMaxMarkupChars - 1000) / 5))
            << true << CostlyDocumentations::kBoundedMs;
        QTest::addRow("blocks at the depth bound")
            << nested("<blockquote>", "</blockquote>", DocumentationText::kMaxDepth - 1,
                      QStringLiteral("<b>w</b> ").repeated((DocumentationText::kMaxMarkupChars - 1000) / 9))
            << true << CostlyDocumentations::kBoundedMs;
        QTest::addRow("largest fonts")
            << QStringLiteral("<p style=\"font-size:72pt; margin-left:1000px; -qt-block-indent:20\">word</p>")
                   .repeated(DocumentationText::kMaxMarkupChars / 80)
            << true << CostlyDocumentations::kBoundedMs;
    }
    void costlyTextsLayOutAtOnce()
    {
        QFETCH(QString, documentation);
        QFETCH(bool, rich);
        QFETCH(int, boundMs);
        QVERIFY(documentation.size() <= DocumentationText::kMaxMarkupChars);
        const DocumentationText::Shown shown = DocumentationText::forDisplay(documentation);
        QCOMPARE(shown.rich, rich);
        const qint64 ms = layOutAsTheViewsDo(shown);
        qDebug() << "laid out in" << ms << "ms";
        QVERIFY2(ms >= 0 && ms < boundMs, qPrintable(QString::number(ms)));
    }

    // Each fill of the text at every bound got some of its bound's room, so
    // that text really stands at each of them.
    void everyBoundIsReached()
    {
        QList<int> parts;
        QString oneMore;
        const QString text = CostlyDocumentations::atEveryBound(&parts, &oneMore);
        QCOMPARE(parts.size(), 5);
        for (int n : parts)
            QVERIFY2(n > 0, qPrintable(QString::number(n)));
        QCOMPARE(text.size(), DocumentationText::kMaxMarkupChars);
        QVERIFY(DocumentationText::forDisplay(text).rich);
        QVERIFY(!oneMore.isEmpty());
        QVERIFY(!DocumentationText::forDisplay(oneMore).rich);
    }

    void labelCutsLongPlainText()
    {
        const QString text = QString(DocumentationText::kMaxLabelChars + 10, u'a');
        const DocumentationText::Shown shown = DocumentationText::forDisplay(text, DocumentationText::kMaxLabelChars);
        QVERIFY(!shown.rich);
        QCOMPARE(shown.text, QString(DocumentationText::kMaxLabelChars, u'a') + QChar(0x2026));
        // Never between the halves of a character outside the BMP.
        const QString emoji = QString(DocumentationText::kMaxLabelChars - 1, u'a') + QString::fromUtf8("\xF0\x9F\x98\x80")
            + QStringLiteral("tail");
        QCOMPARE(DocumentationText::forDisplay(emoji, DocumentationText::kMaxLabelChars).text,
                 QString(DocumentationText::kMaxLabelChars - 1, u'a') + QChar(0x2026));
        QCOMPARE(DocumentationText::forDisplay(text).text, text);
    }

    // The same rule as Qt's automatic text format.
    void looksRichAsQtDoes_data()
    {
        QTest::addColumn<QString>("text");
        for (const char *t : {"", "plain", "<b>bold</b>", "  <p>x", "<B>x</B>", "<qt>x", "<unknown>x", "a <b>x</b>",
                              "line\n<b>x</b>", "&lt;tag&gt;", "<!DOCTYPE html><p>", "<?xml version=\"1.0\"?><html>",
                              "<!-- c --><b>", "<br/>", "<img src=x>", "< b>x", "<b", "x < y > z", "<h1 class=a>",
                              "<tr2>"})
            QTest::addRow("%s", t) << QString::fromUtf8(t);
    }
    void looksRichAsQtDoes()
    {
        QFETCH(QString, text);
        QCOMPARE(DocumentationText::looksRich(text), Qt::mightBeRichText(text));
    }
};

QTEST_MAIN(TestDocumentationText)
#include "tst_documentationtext.moc"
