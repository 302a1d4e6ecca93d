// The key sheet's rules without painting: the print variant from the
// documentation, the template cascade over the files present, legend places,
// photo geometry, the photo page rule and the page mapping.
#include "printing/KeySheetLayout.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestKeySheetLayout : public QObject
{
    Q_OBJECT

private slots:
    void printVariant_data()
    {
        QTest::addColumn<QString>("documentation");
        QTest::addColumn<QString>("variant");
        QTest::addRow("none") << "Sample TV remote." << "";
        QTest::addRow("one line") << "print=compact" << "compact";
        QTest::addRow("last wins") << "print=A\nnotes\nprint=B" << "B";
        QTest::addRow("capital P ignored") << "Print=A" << "";
        QTest::addRow("capital after") << "print=A\r\nPrint=B" << "A";
        QTest::addRow("split at last =") << "print=A=B" << "";
        QTest::addRow("word alone") << "print" << "print";
        QTest::addRow("other word alone") << "printing" << "";
        QTest::addRow("tab splits the line") << "  print \t=  wide  " << "print";
        QTest::addRow("spaces trimmed") << "  print  =  wide  " << "wide";
        QTest::addRow("tabs and CR split") << "a=1\tprint=x\r\rb=2" << "x";
        QTest::addRow("empty value") << "print=A\nprint=" << "";
        QTest::addRow("empty text") << "" << "";
    }
    void printVariant()
    {
        QFETCH(QString, documentation);
        QFETCH(QString, variant);
        QCOMPARE(KeySheetLayout::printVariant(documentation), variant);
    }

    void documentationPairs()
    {
        const QList<KeySheetLayout::Pair> pairs =
            KeySheetLayout::documentationPairs(QStringLiteral("\n\n a = b \r\nalone\t\tx=y=z\n"));
        QCOMPARE(pairs.size(), 3);
        QCOMPARE(pairs.at(0).key, QStringLiteral("a"));
        QCOMPARE(pairs.at(0).value, QStringLiteral("b"));
        QCOMPARE(pairs.at(1).key, QStringLiteral("alone"));
        QCOMPARE(pairs.at(1).value, QStringLiteral("alone"));
        QCOMPARE(pairs.at(2).key, QStringLiteral("x=y"));
        QCOMPARE(pairs.at(2).value, QStringLiteral("z"));
    }

    void usableVariant_data()
    {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<bool>("usable");
        QTest::addRow("word") << "compact" << true;
        QTest::addRow("digits, - and _") << "A_4-2" << true;
        QTest::addRow("empty") << "" << false;
        QTest::addRow("parent folder") << "../../x" << false;
        QTest::addRow("slash") << "a/b" << false;
        QTest::addRow("dot") << "a.b" << false;
        QTest::addRow("space") << "a b" << false;
        QTest::addRow("letter outside ASCII") << QString::fromUtf8("gr\xC3\xBCn") << false;
        QTest::addRow("newline at end") << "a\n" << false;
    }
    void usableVariant()
    {
        QFETCH(QString, variant);
        QFETCH(bool, usable);
        QCOMPARE(KeySheetLayout::isUsableVariant(variant), usable);
    }

    void templateChoice_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("namedKeys");
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QString>("chosen"); // empty: nothing found
        QTest::addColumn<QString>("sheetCustomer");
        const QStringList all{"images/print-7-3.png", "images/print-0-3-wide.png", "images/print-0-3.png",
                              "images/print.png", "images/print-7-3-clear.png", "images/print-0-3-clear.png"};
        QTest::addRow("own first") << all << 2 << "wide" << "images/print-7-3.png" << "7";
        QTest::addRow("variant second") << all.mid(1) << 2 << "wide" << "images/print-0-3-wide.png" << "0";
        QTest::addRow("other variant") << all.mid(1) << 2 << "narrow" << "images/print-0-3.png" << "0";
        QTest::addRow("shared third") << all.mid(2) << 1 << "wide" << "images/print-0-3.png" << "0";
        QTest::addRow("fallback") << QStringList{"images/print.png", "images/print-0-3-clear.png"} << 1 << ""
                                  << "images/print.png" << "0";
        QTest::addRow("clear own") << all << 0 << "wide" << "images/print-7-3-clear.png" << "7";
        QTest::addRow("clear shared")
            << QStringList{"images/print-7-3.png", "images/print-0-3.png", "images/print-0-3-clear.png",
                           "images/print.png"}
            << 0 << "" << "images/print-0-3-clear.png" << "0";
        QTest::addRow("clear falls to print.png, not the named ones")
            << QStringList{"images/print-7-3.png", "images/print-0-3.png", "images/print.png"} << 0 << ""
            << "images/print.png" << "0";
        QTest::addRow("named keys skip clear ones")
            << QStringList{"images/print-7-3-clear.png", "images/print-0-3-clear.png", "images/print.png"} << 5 << ""
            << "images/print.png" << "0";
        // A variant that is not plain never names a file, even one that exists.
        QTest::addRow("empty variant skips its candidate")
            << QStringList{"images/print-0-3-.png", "images/print.png"} << 1 << "" << "images/print.png" << "0";
        QTest::addRow("unsafe variant skips its candidate")
            << QStringList{"images/print-0-3-a.b.png", "images/print.png"} << 1 << "a.b" << "images/print.png"
            << "0";
        QTest::addRow("missing print.png, named") << QStringList{"images/print-0-3-clear.png"} << 1 << "" << ""
                                                  << "";
        QTest::addRow("missing print.png, clear") << QStringList{"images/print-0-3.png"} << 0 << "" << "" << "";
        QTest::addRow("nothing") << QStringList{} << 0 << "" << "" << "";
    }
    void templateChoice()
    {
        QFETCH(QStringList, files);
        QFETCH(int, namedKeys);
        QFETCH(QString, variant);
        QFETCH(QString, chosen);
        QFETCH(QString, sheetCustomer);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("images")));
        for (const QString &f : files) {
            QFile file(dir.filePath(f));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const KeySheetLayout::Choice choice = KeySheetLayout::chooseTemplate(
            namedKeys, QStringLiteral("7"), QStringLiteral("3"), variant, dir.path());
        QCOMPARE(choice.found, !chosen.isEmpty());
        QCOMPARE(choice.candidate.fileName, chosen);
        QCOMPARE(choice.candidate.sheetCustomerId, sheetCustomer);
    }

    void legendPosition_data()
    {
        QTest::addColumn<int>("order");
        QTest::addColumn<QPoint>("position");
        QTest::addRow("0") << 0 << QPoint(1110, 392);
        QTest::addRow("31") << 31 << QPoint(1110, 2407);
        QTest::addRow("32") << 32 << QPoint(2410, 392);
        QTest::addRow("63") << 63 << QPoint(2410, 2407);
        QTest::addRow("64") << 64 << QPoint(1610, 392);
        QTest::addRow("95") << 95 << QPoint(1610, 2407);
        QTest::addRow("96") << 96 << QPoint(2910, 392);
        QTest::addRow("127") << 127 << QPoint(2910, 2407);
        QTest::addRow("128") << 128 << QPoint(5000, 5000);
        QTest::addRow("-1") << -1 << QPoint(5000, 5000);
        QTest::addRow("-32") << -32 << QPoint(5000, 5000);
    }
    void legendPosition()
    {
        QFETCH(int, order);
        QFETCH(QPoint, position);
        QCOMPARE(KeySheetLayout::legendPosition(order), position);
    }

    void legendText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("namedKeys");
        QTest::addColumn<QString>("text");
        QTest::addRow("named") << "VOL+" << 3 << "VOL+";
        QTest::addRow("unnamed among named") << "" << 3 << "            *";
        QTest::addRow("unnamed, none named") << "" << 0 << "";
    }
    void legendText()
    {
        QFETCH(QString, name);
        QFETCH(int, namedKeys);
        QFETCH(QString, text);
        QCOMPARE(KeySheetLayout::legendText(name, namedKeys), text);
    }

    void photoSize_data()
    {
        QTest::addColumn<QSize>("original");
        QTest::addColumn<bool>("turned");
        QTest::addColumn<QSize>("fitted");
        QTest::addRow("landscape 800x600") << QSize(800, 600) << true << QSize(500, 666);
        QTest::addRow("upright 600x800") << QSize(600, 800) << false << QSize(500, 666);
        QTest::addRow("square") << QSize(1000, 1000) << false << QSize(500, 500);
        QTest::addRow("tall and thin") << QSize(100, 3000) << false << QSize(70, 2100);
        QTest::addRow("small is enlarged") << QSize(300, 200) << true << QSize(500, 750);
        QTest::addRow("empty") << QSize(0, 0) << false << QSize();
    }
    void photoSize()
    {
        QFETCH(QSize, original);
        QFETCH(bool, turned);
        QFETCH(QSize, fitted);
        QCOMPARE(KeySheetLayout::photoTurned(original), turned);
        QCOMPARE(KeySheetLayout::photoSize(original), fitted);
    }

    void photoPage_data()
    {
        QTest::addColumn<bool>("secondPhoto");
        QTest::addColumn<bool>("onlyFirst");
        QTest::addColumn<bool>("due");
        QTest::addRow("photo 2, all photos") << true << false << true;
        QTest::addRow("photo 2, first only") << true << true << false;
        QTest::addRow("no photo 2") << false << false << false;
        QTest::addRow("no photo 2, first only") << false << true << false;
    }
    void photoPage()
    {
        QFETCH(bool, secondPhoto);
        QFETCH(bool, onlyFirst);
        QFETCH(bool, due);
        QCOMPARE(KeySheetLayout::photoPageDue(secondPhoto, onlyFirst), due);
    }

    void sheetViewport_data()
    {
        QTest::addColumn<QRect>("printable");
        QTest::addColumn<QSize>("templateSize");
        QTest::addColumn<QRect>("viewport");
        QTest::addRow("height limits") << QRect(10, 20, 1000, 500) << QSize(3508, 2480) << QRect(10, 20, 707, 500);
        QTest::addRow("width limits") << QRect(0, 0, 700, 2000) << QSize(3508, 2480) << QRect(0, 0, 700, 494);
        QTest::addRow("same shape") << QRect(5, 5, 200, 100) << QSize(40, 20) << QRect(5, 5, 200, 100);
    }
    void sheetViewport()
    {
        QFETCH(QRect, printable);
        QFETCH(QSize, templateSize);
        QFETCH(QRect, viewport);
        QCOMPARE(KeySheetLayout::sheetViewport(printable, templateSize), viewport);
    }
};

QTEST_GUILESS_MAIN(TestKeySheetLayout)
#include "tst_keysheetlayout.moc"
