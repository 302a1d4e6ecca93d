// The protocol bar and the oscillograph in the real main window, checked by
// their pixels, and a received message's road from the store to both.
#include "TestSupport.h"
#include "app/MessageBox.h"
#include "ir/SignalDisplay.h"
#include "mainwindow/MainWindowImpl.h"
#include "tools/samplekit/SampleKit.h"

#include <QDir>
#include <QImage>
#include <QSettings>
#include <QVector>
#include <QtTest>

namespace {

const QColor kGreenBox(0, 255, 0, 150);
const QColor kRedBox(255, 0, 0, 150);
const QColor kBackground(238, 238, 238);

// src drawn with its alpha over dst, as the painter blends.
QColor over(const QColor &src, const QColor &dst)
{
    const double a = src.alphaF();
    return QColor(qRound(src.red() * a + dst.red() * (1 - a)), qRound(src.green() * a + dst.green() * (1 - a)),
                  qRound(src.blue() * a + dst.blue() * (1 - a)));
}

bool near(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) <= 3 && qAbs(a.green() - b.green()) <= 3 && qAbs(a.blue() - b.blue()) <= 3;
}

QString text(const QColor &c)
{
    return c.name();
}

// Pixels of a band of rows whose colour is neither the background nor black.
int stray(const QImage &image, int top, int bottom)
{
    int count = 0;
    for (int y = top; y <= bottom && y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.rgb() != kBackground.rgb() && c.rgb() != QColor(Qt::black).rgb())
                ++count;
        }
    }
    return count;
}

void settle()
{
    for (int i = 0; i < 10; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::processEvents();
    }
}

void setLanguage(const QString &language)
{
    QSettings settings(QStringLiteral("config.ini"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("Settings/language"), language);
}

// The texts left of the trace in oscillograph row 0: its RecognizerId, address
// and command lines, down to above row 1.
QImage rowZeroTexts(const QPixmap &picture)
{
    return picture.toImage().copy(0, 60, SignalDisplay::kTraceLeft, 50);
}

} // namespace

class TestSignalDisplay : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_previousDir;
    MainWindowImpl *w = nullptr;

    void setRow(int n, const QVector<int> &durations, int recognizerId)
    {
        std::fill(std::begin(w->captureStore.captureSnapshot[n]), std::end(w->captureStore.captureSnapshot[n]), 0);
        std::copy(durations.begin(), durations.end(), w->captureStore.captureSnapshot[n]);
        w->captureStore.messageRecognizerId[n] = recognizerId;
        w->captureStore.messageAddressText[n] = QStringLiteral("0101");
        w->captureStore.messageCommandText[n] = QStringLiteral("1100");
    }

    QImage oscillograph() const { return w->labelOscillograph->pixmap().toImage(); }

    // A message the 1640 us stage recognises (RecognizerId 635, span 14000
    // us), closed by its gap and handed on by the receive timer.
    void receiveMessage()
    {
        // Spaces arrive as the receiver measures them; the store adds 20 us.
        const int durations[] = {1640, 1620, 3280, 20000};
        w->captureStore.appendDurations(durations, 4);
        w->lastMessage();
    }

    void showWindow()
    {
        w->showNormal();
        w->resize(1366, 768);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        settle();
    }

    // Rows 0 .. rows - 1 of the picture shown hold the received message: its
    // first mark cell in the command colour at the label's own scale.
    void verifyRowsDrawn(int rows)
    {
        const QImage image = oscillograph();
        QVERIFY2(!image.isNull(), "no picture");
        QCOMPARE(image.size(), w->labelOscillograph->size());
        QVERIFY(image.width() > SignalDisplay::kTraceLeft + 200);
        const int firstCell = 1640 * (image.width() - SignalDisplay::kTraceLeft) / 14000;
        for (int n = 0; n < rows; ++n) {
            const QPoint p(SignalDisplay::kTraceLeft + firstCell / 2, 60 * n + 85);
            QVERIFY2(image.pixelColor(p) == QColor(0x9999FF),
                     qPrintable(QStringLiteral("row %1: %2").arg(n).arg(text(image.pixelColor(p)))));
            QVERIFY(stray(image, 60 * n + 60, 60 * n + 110) > 0);
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(TestSupport::enterSampleDirectory(m_dir.path(), &m_previousDir));
        QString error;
        QVERIFY2(SampleKit::writeLanguages(m_dir.path(), TestSupport::binaryDir() + "/sample/Languages", &error),
                 qPrintable(error));
    }
    void cleanupTestCase() { QDir::setCurrent(m_previousDir); }

    void init()
    {
        w = new MainWindowImpl;
        // Not shown, so no layout changes this size behind the test's back.
        w->labelOscillograph->resize(1000, 700);
    }
    void cleanup()
    {
        delete w;
        w = nullptr;
        MessageBox::takeLog();
        setLanguage(QStringLiteral("English"));
    }

    void protocolBox_data()
    {
        QTest::addColumn<int>("message");
        QTest::addColumn<int>("recognizerId");
        QTest::addColumn<QColor>("box");
        QTest::addRow("recognised, message 0") << 0 << 635 << kGreenBox;
        QTest::addRow("not recognised") << 3 << -1 << kRedBox;
        QTest::addRow("RecognizerId 0 counts as not recognised") << 4 << 0 << kRedBox;
        QTest::addRow("recognised, message 9") << 9 << 1 << kGreenBox;
        QTest::addRow("not recognised, message 9") << 9 << -1 << kRedBox;
    }
    void protocolBox()
    {
        QFETCH(int, message);
        QFETCH(int, recognizerId);
        QFETCH(QColor, box);
        const QImage empty(QStringLiteral(":/Icons/protocolbar.png"));
        QVERIFY(!empty.isNull());
        w->captureStore.messageRecognizerId[message] = recognizerId;
        w->drawMessage(message);
        const QImage bar = w->protocolBarPixmap.toImage();
        QCOMPARE(bar.size(), empty.size());

        // Inside, the box colour over the bar; the outline from (60n + 9, 8)
        // to (60n + 50, 39) in the default black pen; outside, the bar.
        const int left = 60 * message + 9;
        for (const QPoint p : {QPoint(left + 1, 9), QPoint(left + 20, 24), QPoint(left + 40, 38)})
            QVERIFY2(near(bar.pixelColor(p), over(box, empty.pixelColor(p))), qPrintable(text(bar.pixelColor(p))));
        for (const QPoint p : {QPoint(left, 8), QPoint(left + 41, 39), QPoint(left, 39)})
            QCOMPARE(bar.pixelColor(p), QColor(Qt::black));
        for (const QPoint p : {QPoint(left - 1, 24), QPoint(left + 42, 24), QPoint(left + 20, 40)})
            QCOMPARE(bar.pixelColor(p), empty.pixelColor(p));
        QVERIFY(!w->labelProtocol->pixmap().isNull());
    }

    // Message 0 starts a new series on the empty bar.
    void messageZeroClearsTheBar()
    {
        const QImage empty(QStringLiteral(":/Icons/protocolbar.png"));
        w->captureStore.messageRecognizerId[1] = 5;
        w->drawMessage(1);
        QVERIFY(w->protocolBarPixmap.toImage().pixelColor(90, 24) != empty.pixelColor(90, 24));
        w->drawMessage(0);
        QCOMPARE(w->protocolBarPixmap.toImage().pixelColor(90, 24), empty.pixelColor(90, 24));
    }

    // Each cell of a recognised row in its letter's colour, 30 pixels high
    // for a mark and 5 for a space; the scale is 800 pixels for the span.
    void labelledCells_data()
    {
        QTest::addColumn<int>("message");
        QTest::addRow("message 1") << 1;
        QTest::addRow("message 9") << 9;
    }
    void labelledCells()
    {
        QFETCH(int, message);
        setRow(message, {3000, -3000, 3000}, 7);
        w->colorSignalFields(message, QStringLiteral("HaC"));
        w->captureStore.messageSpan = 30000;
        w->drawMessageOscillograph(message);
        const QImage image = oscillograph();
        QCOMPARE(image.size(), QSize(1000, 700));
        const int markLevel = 60 * message + 70;
        const int baseLine = 60 * message + 95;
        // 3000 us of 30000 are 80 pixels: cells at 200, 280 and 360.
        QCOMPARE(image.pixelColor(240, markLevel + 15), QColor(0xAAAAAA));
        QCOMPARE(image.pixelColor(320, baseLine + 3), QColor(0xDDFFDD));
        QCOMPARE(image.pixelColor(320, markLevel + 15), kBackground);
        QCOMPARE(image.pixelColor(400, markLevel + 15), QColor(0x9999FF));
        QCOMPARE(image.pixelColor(240, markLevel), QColor(Qt::black)); // the level line
        QCOMPARE(image.pixelColor(280, markLevel + 10), QColor(Qt::black)); // the falling edge
        QCOMPARE(image.pixelColor(440, markLevel + 15), QColor(Qt::black)); // the closing edge
        QCOMPARE(image.pixelColor(445, markLevel + 15), kBackground);
        // The RecognizerId in #FF3333 at the left (its edges smoothed).
        int red = 0;
        for (int y = markLevel - 10; y <= markLevel + 6; ++y) {
            for (int x = 0; x < 60; ++x) {
                const QColor c = image.pixelColor(x, y);
                red += c.red() > 240 && c.green() < 120 && c.blue() < 120;
            }
        }
        QVERIFY(red > 0);
    }

    void unrecognisedRowHasTheTraceOnly()
    {
        setRow(2, {3000, -3000, 3000}, -1);
        w->colorSignalFields(2, QStringLiteral("HHH"));
        w->captureStore.messageSpan = 30000;
        w->drawMessageOscillograph(2);
        const QImage image = oscillograph();
        QCOMPARE(stray(image, 60 * 2 + 60, 60 * 2 + 110), 0);
        QCOMPARE(image.pixelColor(240, 60 * 2 + 70), QColor(Qt::black));
        QCOMPARE(image.pixelColor(320, 60 * 2 + 95), QColor(Qt::black));
    }

    void spanZeroBecomes30000()
    {
        setRow(0, {15000, -15000}, 7);
        w->captureStore.messageSpan = 0;
        w->drawMessageOscillograph(0);
        QCOMPARE(w->captureStore.messageSpan, 30000);
        // 15000 of 30000 us: half of the 800 pixels.
        const QImage image = oscillograph();
        QCOMPARE(image.pixelColor(600, 80), QColor(Qt::black));
        QCOMPARE(image.pixelColor(600, 70), QColor(Qt::black));
        QCOMPARE(image.pixelColor(601, 70), kBackground);
    }

    // A long address or command stays left of the trace, whatever its length.
    void longCodesStayLeftOfTheTrace_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("command");
        QTest::addRow("34-digit command") << "0101" << QString(34, QLatin1Char('1'));
        QTest::addRow("34-digit address") << QString(34, QLatin1Char('0')) << "1100";
        QTest::addRow("100 digits each") << QString(100, QLatin1Char('0')) << QString(100, QLatin1Char('1'));
    }
    void longCodesStayLeftOfTheTrace()
    {
        QFETCH(QString, address);
        QFETCH(QString, command);
        QPixmap picture(800, 300);
        picture.fill(kBackground);
        const int durations[] = {0};
        const SignalDisplay::Trace trace{durations, 1, 5, address, command, 30000, nullptr};
        SignalDisplay::drawOscillographRow(picture, 1, trace);
        const QImage image = picture.toImage();
        int written = 0;
        int intruding = 0;
        for (int y = 60; y < 60 + 110; ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.rgb() == kBackground.rgb() || c.rgb() == QColor(Qt::black).rgb())
                    continue;
                ++(x < SignalDisplay::kTraceLeft ? written : intruding);
            }
        }
        QVERIFY(written > 0);
        QCOMPARE(intruding, 0);
    }

    // Mark or space is the sign of a duration: a row may start with a space.
    void rowStartingWithASpace()
    {
        setRow(0, {-3000, 3000}, -1);
        w->captureStore.messageSpan = 30000;
        w->drawMessageOscillograph(0);
        const QImage image = oscillograph();
        QCOMPARE(image.pixelColor(240, 95), QColor(Qt::black));
        QCOMPARE(image.pixelColor(240, 70), kBackground);
        QCOMPARE(image.pixelColor(320, 70), QColor(Qt::black));
    }

    // A longer pattern colours more cells; a shorter one later leaves the
    // cells past its end as they were, and other letters leave their cell.
    void patternsOverwriteOnlyTheirLength()
    {
        w->colorSignalFields(5, QStringLiteral("CCCC"));
        w->colorSignalFields(5, QStringLiteral("a?"));
        QCOMPARE(w->oscillographColors[5][0], QColor(0xDDFFDD));
        QCOMPARE(w->oscillographColors[5][1], QColor(0x9999FF));
        QCOMPARE(w->oscillographColors[5][3], QColor(0x9999FF));
        QVERIFY(!w->oscillographColors[5][4].isValid());
    }

    void fieldColours_data()
    {
        QTest::addColumn<QChar>("letter");
        QTest::addColumn<QColor>("colour");
        const QList<QPair<char, QRgb>> table = {{'H', 0xAAAAAA}, {'T', 0xFF6600}, {'t', 0xFF3300},
                                                {'V', 0xFFDD99}, {'v', 0xFFFF66}, {'A', 0x99FF99},
                                                {'a', 0xDDFFDD}, {'C', 0x9999FF}, {'c', 0xCCCCFF}};
        for (const auto &entry : table)
            QTest::addRow("%c", entry.first) << QChar(entry.first) << QColor(entry.second);
        QTest::addRow("h is no field") << QChar('h') << QColor();
    }
    void fieldColours()
    {
        QFETCH(QChar, letter);
        QFETCH(QColor, colour);
        QCOMPARE(SignalDisplay::fieldColor(letter), colour);
    }

    // A received message recognised by the 1640 us stage, processed by the
    // receive timer on each page that shows it.
    void receivedMessageIsShown_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addRow("main page") << 0;
        QTest::addRow("oscillograph page") << 3;
    }
    void receivedMessageIsShown()
    {
        QFETCH(int, tab);
        w->tabWidget->setCurrentIndex(tab);
        w->labelOscillograph->resize(1000, 700);
        // Spaces arrive as the receiver measures them; the store adds 20 us.
        const int durations[] = {1640, 1620, 3280, 20000};
        w->captureStore.appendDurations(durations, 4);
        w->lastMessage();
        QCOMPARE(w->captureStore.messageRecognizerId[0], 635);
        QCOMPARE(w->captureStore.messageCommandText[0], QStringLiteral("10110000"));
        QCOMPARE(w->captureStore.messageSpan, 14000);
        QCOMPARE(w->oscillographColors[0][0], QColor(0x9999FF));
        QCOMPARE(w->oscillographColors[0][1], QColor(0xCCCCFF));
        if (tab == 0) {
            const QColor bar = w->protocolBarPixmap.toImage().pixelColor(29, 24);
            QVERIFY2(bar.green() > 200 && bar.red() < 120, qPrintable(text(bar)));
        } else {
            // 1640 of 14000 us over 800 pixels: the first mark cell ends at 293.
            const QImage image = oscillograph();
            QCOMPARE(image.pixelColor(240, 85), QColor(0x9999FF));
        }
    }

    // Messages that arrive while another page is shown are drawn when the
    // oscillograph is brought up, at whatever moment that is, at the label's
    // size then, and again at its new size when the window is resized.
    void broughtUpAfterMessages_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::addRow("after the last message") << 2 << 0;
        QTest::addRow("between two messages") << 1 << 1;
        QTest::addRow("before the first message") << 0 << 2;
    }
    void broughtUpAfterMessages()
    {
        QFETCH(int, before);
        QFETCH(int, after);
        showWindow();
        QCOMPARE(w->tabWidget->currentIndex(), 0);
        for (int i = 0; i < before; ++i)
            receiveMessage();
        w->tabWidget->setCurrentIndex(3);
        settle();
        for (int i = 0; i < after; ++i)
            receiveMessage();
        QCOMPARE(w->captureStore.messageRecognizerId[1], 635);
        verifyRowsDrawn(2);

        const QSize before1366 = w->labelOscillograph->size();
        w->resize(1024, 700);
        settle();
        QVERIFY(w->labelOscillograph->size() != before1366);
        verifyRowsDrawn(2);
    }

    // A language switch redraws the picture: its texts are those the drawing
    // gives in the new language, both ways and back.
    void textsFollowTheLanguage_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("other");
        QTest::addRow("German to English") << "German" << "English";
        QTest::addRow("English to German") << "English" << "German";
    }
    void textsFollowTheLanguage()
    {
        QFETCH(QString, start);
        QFETCH(QString, other);
        delete w;
        setLanguage(start);
        w = new MainWindowImpl;
        QCOMPARE(w->language, start);
        showWindow();
        w->tabWidget->setCurrentIndex(3);
        settle();
        receiveMessage();
        QCOMPARE(w->captureStore.messageRecognizerId[0], 635);

        QHash<QString, QImage> texts;
        for (const QString &language : {start, other, start}) {
            if (language != w->language) {
                QAction *entry = nullptr;
                for (QAction *a : w->menuLanguage->actions()) {
                    if (a->data().toString() == language)
                        entry = a;
                }
                QVERIFY(entry);
                entry->trigger();
                settle();
            }
            const bool german = language == QLatin1String("German");
            QCOMPARE(QCoreApplication::translate("SignalDisplay", "address:"), german ? "Adresse:" : "address:");
            QCOMPARE(QCoreApplication::translate("SignalDisplay", "command:"), german ? "Befehl:" : "command:");
            // The same row drawn now, in the language in force, on a picture
            // of the same size: its texts must match what the window shows.
            QPixmap reference(w->labelOscillograph->pixmap().size());
            QVERIFY(!reference.isNull());
            reference.fill(SignalDisplay::kBackground);
            const int none[] = {0};
            const SignalDisplay::Trace trace{none, 1, 635, w->captureStore.messageAddressText[0],
                                             w->captureStore.messageCommandText[0], 14000, nullptr};
            SignalDisplay::drawOscillographRow(reference, 0, trace);
            texts[language] = rowZeroTexts(reference);
            QVERIFY2(rowZeroTexts(w->labelOscillograph->pixmap()) == texts[language],
                     qPrintable(QStringLiteral("the picture's texts are not those of ") + language));
        }
        // The two languages' texts are told apart by their pixels.
        QVERIFY(texts[start] != texts[other]);
    }
};

QTEST_MAIN(TestSignalDisplay)
#include "tst_signaldisplay.moc"
