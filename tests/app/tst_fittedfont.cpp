// Code fields and labels that shrink their font to show a code whole.
#include "app/FittedFont.h"
#include "app/ShownText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTextDocument>
#include <QtTest>

namespace {

// What a line edit shows of its text, read off at its two ends.
QPair<int, int> shownRange(QLineEdit &edit)
{
    const int y = edit.height() / 2;
    return {edit.cursorPositionAt(QPoint(0, y)), edit.cursorPositionAt(QPoint(edit.width() - 1, y))};
}

// What a tooltip shows of its text: Qt takes one for markup by the rule of
// Qt::mightBeRichText.
QString tipShows(const QString &tip)
{
    if (!Qt::mightBeRichText(tip))
        return tip;
    QTextDocument document;
    document.setHtml(tip);
    return document.toPlainText();
}

const QString kCode19 = QStringLiteral("039401568FD4356AAEA");
const QString kCode34 = QStringLiteral("0846A5F00C3B7E19D42A86C5F0E3B1A5F0");

} // namespace

class TestFittedFont : public QObject
{
    Q_OBJECT

private slots:
    void fitPicksTheLargestSizeThatFits()
    {
        QFont base;
        base.setPointSizeF(12);
        const int room = FittedFont::widthOf(base, kCode19) - 1;
        const QFont fitted = FittedFont::fit(base, kCode19, room, 12);
        QVERIFY(fitted.pointSizeF() < 12);
        QVERIFY(fitted.pointSizeF() >= FittedFont::kSmallestPoints);
        QVERIFY(FittedFont::widthOf(fitted, kCode19) <= room);
        QFont larger = fitted;
        larger.setPointSizeF(fitted.pointSizeF() + 1);
        QVERIFY(FittedFont::widthOf(larger, kCode19) > room);
        // Never below the smallest size, even when nothing fits.
        QCOMPARE(FittedFont::fit(base, kCode19, 10, 12).pointSizeF(), FittedFont::kSmallestPoints);
    }

    void lineEdit_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("smaller");
        QTest::addColumn<bool>("whole");
        QTest::addRow("wide field, full size") << 400 << kCode19 << false << true;
        QTest::addRow("narrow field, smaller font") << 140 << kCode19 << true << true;
        QTest::addRow("too narrow even so") << 73 << kCode19 << true << false;
        QTest::addRow("longest code in a search field") << 132 << kCode34 << true << false;
        QTest::addRow("markup as text") << 60 << QStringLiteral("<b>0394</b><img src=x>") << true << false;
    }
    void lineEdit()
    {
        QFETCH(int, width);
        QFETCH(QString, text);
        QFETCH(bool, smaller);
        QFETCH(bool, whole);
        QLineEdit edit;
        edit.setReadOnly(true);
        QFont font = edit.font();
        font.setPointSizeF(10);
        edit.setFont(font);
        edit.setFixedWidth(width);
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        FittedFont::keepWhole(&edit);
        edit.setText(text);
        QCOMPARE(edit.font().pointSizeF() < 10, smaller);
        const QPair<int, int> shown = shownRange(edit);
        QCOMPARE(shown.first, 0); // a code is read from its start
        QCOMPARE(shown.second == text.size(), whole);
        QCOMPARE(edit.toolTip().isEmpty(), whole);
        if (!whole)
            QCOMPARE(tipShows(edit.toolTip()), text);

        // A wider field gives the font back and drops the tooltip.
        edit.setFixedWidth(600);
        QTRY_COMPARE(edit.font().pointSizeF(), 10.0);
        QVERIFY(edit.toolTip().isEmpty());
        QCOMPARE(shownRange(edit).second, text.size());
    }

    void label()
    {
        QLabel label;
        QFont font = label.font();
        font.setPointSizeF(12);
        label.setFont(font);
        label.setFixedWidth(160);
        label.show();
        QVERIFY(QTest::qWaitForWindowExposed(&label));
        FittedFont::keepWhole(&label);
        label.setText(kCode19);
        FittedFont::refit(&label);
        QVERIFY(label.font().pointSizeF() < 12);
        QVERIFY(FittedFont::widthOf(label.font(), kCode19) <= FittedFont::textRoom(&label));
        // The next, shorter code is shown at the full size again.
        label.setText(QStringLiteral("UNKNOWN"));
        FittedFont::refit(&label);
        QCOMPARE(label.font().pointSizeF(), 12.0);
    }

    // A label's text does not claim room in its layout: beside a field, with
    // a short or a long code, both keep their widths and the window's
    // smallest width stays; the label fits its font into what it is given.
    void labelTakesTheRoomGiven()
    {
        QWidget window;
        auto *layout = new QHBoxLayout(&window);
        auto *label = new QLabel(QStringLiteral("UNKNOWN"));
        QFont font = label->font();
        font.setPointSizeF(12);
        label->setFont(font);
        auto *field = new QLineEdit;
        layout->addWidget(label);
        layout->addWidget(field);
        FittedFont::keepWhole(label);
        window.resize(300, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        const QRect labelAt = label->geometry();
        const QRect fieldAt = field->geometry();
        const int smallest = window.minimumSizeHint().width();
        for (const QString &code : {kCode19, kCode34, QStringLiteral("UNKNOWN")}) {
            label->setText(code);
            FittedFont::refit(label);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            QCoreApplication::processEvents();
            QCOMPARE(label->geometry(), labelAt);
            QCOMPARE(field->geometry(), fieldAt);
            QCOMPARE(window.minimumSizeHint().width(), smallest);
            QCOMPARE(window.width(), 300);
            const QString shown = label->fontMetrics().elidedText(code, Qt::ElideRight, FittedFont::textRoom(label));
            QVERIFY(shown == code || label->font().pointSizeF() == FittedFont::kSmallestPoints);
        }
        // Room kept for a usual code: even with the window at its narrowest
        // such a code is shown whole, and a longer one changes nothing.
        FittedFont::keepRoomFor(label, kCode19);
        for (const QString &code : {kCode19, kCode34}) {
            label->setText(code);
            FittedFont::refit(label);
            window.resize(window.minimumSizeHint().width(), 40);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            QCoreApplication::processEvents();
            QCOMPARE(window.minimumSizeHint().width(), window.width());
            QCOMPARE(label->width(), label->minimumWidth());
            if (code == kCode19)
                QVERIFY(FittedFont::widthOf(label->font(), code) <= FittedFont::textRoom(label));
            else
                QVERIFY(FittedFont::widthOf(label->font(), code) > FittedFont::textRoom(label));
        }
    }

    // Too long even for the smallest size: the label shows the code's start
    // and an ellipsis (as a label holding just that would), whatever its
    // width and alignment, and a whole code again once it has the room; its
    // text stays the whole code throughout.
    void labelTooNarrow_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::addRow("centred") << int(Qt::AlignCenter);
        QTest::addRow("left") << int(Qt::AlignLeft | Qt::AlignVCenter);
        QTest::addRow("right") << int(Qt::AlignRight | Qt::AlignVCenter);
    }
    void labelTooNarrow()
    {
        QFETCH(int, alignment);
        const QString code = QStringLiteral("03928A3C008C81E4F5D1B3F2A9C4D5E6F7");
        QWidget window;
        QLabel label(code, &window);
        label.setAlignment(Qt::Alignment(alignment));
        QFont font = label.font();
        font.setPointSizeF(12);
        label.setFont(font);
        window.resize(800, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        FittedFont::keepWhole(&label);
        int cut = 0;
        for (int width : {500, 160, 120, 61, 160, 500}) {
            label.setGeometry(0, 0, width, 30);
            QCoreApplication::processEvents();
            QCOMPARE(label.text(), code);
            const QString shown = label.fontMetrics().elidedText(code, Qt::ElideRight, FittedFont::textRoom(&label));
            if (width == 500)
                QCOMPARE(shown, code);
            if (shown != code) {
                ++cut;
                QCOMPARE(label.font().pointSizeF(), FittedFont::kSmallestPoints);
                QVERIFY2(shown.endsWith(QChar(0x2026)) && code.startsWith(shown.chopped(1)), qPrintable(shown));
                QVERIFY(label.toolTip().contains(code));
            }
            QLabel reference(shown, &window);
            reference.setFont(label.font());
            reference.setAlignment(label.alignment());
            reference.setGeometry(label.geometry());
            reference.show();
            QVERIFY2(label.grab().toImage() == reference.grab().toImage(),
                     qPrintable(QStringLiteral("%1 px does not show %2").arg(width).arg(shown)));
        }
        QVERIFY(cut >= 3);
    }

    // A code longer than a screen can show: the label is given its start
    // (QLabel measures all of its text), the window reads it back whole; a
    // text set on the label directly since is what the label holds.
    void labelKeepsAVeryLongTextWhole()
    {
        const QString code = QStringLiteral("0123456789ABCDEF").repeated(1000);
        QLabel label;
        FittedFont::keepWhole(&label);
        FittedFont::setText(&label, code);
        FittedFont::refit(&label);
        QCOMPARE(label.text(), code.left(ShownText::kMaxChars) + QChar(0x2026));
        QCOMPARE(FittedFont::text(&label), code);
        QVERIFY(label.toolTip().contains(label.text()));
        QVERIFY(!label.toolTip().contains(code.left(ShownText::kMaxChars + 1)));
        FittedFont::setText(&label, kCode19);
        QCOMPARE(label.text(), kCode19);
        QCOMPARE(FittedFont::text(&label), kCode19);
        FittedFont::setText(&label, code);
        label.setText(QStringLiteral("UNKNOWN"));
        QCOMPARE(FittedFont::text(&label), QStringLiteral("UNKNOWN"));
        // Measured as shown: its start, wider than any screen.
        QCOMPARE(FittedFont::widthOf(label.font(), code), FittedFont::widthOf(label.font(), ShownText::bounded(code)));
        QVERIFY(FittedFont::widthOf(label.font(), code) > 16384);
    }
};

QTEST_MAIN(TestFittedFont)
#include "tst_fittedfont.moc"
