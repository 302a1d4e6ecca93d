// The key sheet drawn: photo preparation, refusals that print nothing, the
// sample directory's templates, and sheets printed to PDF files, rendered to
// pictures with pdftoppm and read back at the places the layout gives.
#include "FifoWatchdog.h"
#include "TestSupport.h"

#include "CatalogueFixture.h"
#include "app/ShownText.h"
#include "catalogue/PhotoPlaces.h"
#include "printing/KeySheet.h"
#include "printing/KeySheetLayout.h"
#include "tools/samplekit/SampleKit.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

using CatalogueFixture::Key;

namespace {

const QString kMaster = QStringLiteral("0000000a");
const QRgb kMarker = qRgb(0, 0, 255);

// A white template of the sample size at 300 dpi with a blue marker in its
// lower right corner, so the printed page shows which picture was used.
QImage fixtureTemplate()
{
    QImage image(3508, 2480, QImage::Format_RGB32);
    image.setDotsPerMeterX(11811);
    image.setDotsPerMeterY(11811);
    image.fill(Qt::white);
    QPainter(&image).fillRect(3200, 2250, 200, 150, QColor(kMarker));
    return image;
}

// The template as PNG bytes, encoded once: most tests write it anew.
QByteArray fixtureTemplatePng(bool marker)
{
    static QByteArray encoded[2];
    QByteArray &png = encoded[marker];
    if (png.isEmpty()) {
        QImage image = fixtureTemplate();
        if (!marker)
            image.fill(Qt::white);
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    return png;
}

QImage solid(int w, int h, QColor color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

bool isNear(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) < 60 && qAbs(qGreen(a) - qGreen(b)) < 60 && qAbs(qBlue(a) - qBlue(b)) < 60;
}

} // namespace

class TestKeySheet : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    QSqlDatabase m_db;
    QTemporaryDir m_sample; // the sample directory, written once by the first test that needs it
    bool m_sampleWritten = false;

    QString path(const QString &relative) const { return m_dir->filePath(relative); }

    KeySheet::Input input() const
    {
        KeySheet::Input in;
        in.link = kMaster;
        in.brand = QStringLiteral("ACME");
        in.type = QStringLiteral("TV");
        in.model = QStringLiteral("X1");
        in.documentation = QStringLiteral("Sample.\nprint=wide");
        in.typeId = QStringLiteral("1");
        in.customerId = QStringLiteral("7");
        in.company = QStringLiteral("SERVICE");
        return in;
    }

    // Prints the sheet into a PDF file; the rendered pages at 100 dpi and the
    // page count pdfinfo reads.
    struct Printed
    {
        int pages = 0;
        QList<QImage> images;
        QRectF paintRect; // printable area in inches
    };
    Printed printToPdf(const KeySheet &sheet)
    {
        Printed out;
        const QString pdf = path(QStringLiteral("sheet.pdf"));
        QFile::remove(pdf);
        {
            QPrinter printer(QPrinter::HighResolution);
            KeySheet::setUpPrinter(&printer, QStringLiteral("ACME"), QStringLiteral("X1"));
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            out.paintRect = printer.pageLayout().paintRect(QPageLayout::Inch);
            if (!sheet.paint(&printer))
                return out;
        }
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {pdf});
        if (!info.waitForFinished(60000) || info.exitCode() != 0)
            return out;
        for (const QString &line : QString::fromUtf8(info.readAllStandardOutput()).split(QLatin1Char('\n')))
            if (line.startsWith(QLatin1String("Pages:")))
                out.pages = line.mid(6).trimmed().toInt();
        const QString prefix = path(QStringLiteral("page"));
        QProcess render;
        render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-png"),
                                                  pdf, prefix});
        if (!render.waitForFinished(60000) || render.exitCode() != 0)
            return out;
        for (int page = 1; page <= out.pages; ++page)
            out.images << QImage(QStringLiteral("%1-%2.png").arg(prefix).arg(page));
        return out;
    }

    // Rendered pixel of a point given in template pixels.
    static QPoint toPage(const Printed &p, const QPointF &sheet)
    {
        const double scale = qMin(p.paintRect.width() * 100 / 3508, p.paintRect.height() * 100 / 2480);
        return (p.paintRect.topLeft() * 100 + sheet * scale).toPoint();
    }
    static QRgb colourAt(const Printed &p, int page, const QPointF &sheet)
    {
        return p.images.at(page).pixel(toPage(p, sheet));
    }
    // Dark pixels inside a rectangle of template pixels.
    static int inkIn(const Printed &p, int page, const QRectF &sheet)
    {
        const QRect r(toPage(p, sheet.topLeft()), toPage(p, sheet.bottomRight()));
        int count = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                count += qGray(p.images.at(page).pixel(x, y)) < 110;
        return count;
    }
    // The band a text of the sheet font occupies above its baseline.
    static QRectF textBand(const QPoint &baseline, int width = 260)
    {
        return QRectF(baseline.x(), baseline.y() - 40, width, 46);
    }

    void order(int customer, int nkey, int printOrder)
    {
        QVERIFY(CatalogueFixture::exec(
            m_db, QStringLiteral("INSERT INTO rctypeprint VALUES (1,%1,%2,%3)").arg(customer).arg(nkey).arg(printOrder)));
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        m_db = TestSupport::openFixtureCatalogue(m_dir->path());
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("images")));
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("RCImages")));
        for (const Key &k : {Key{kMaster, 1, "POWER", "x", 0}, Key{kMaster, 1, "", "x", 1},
                             Key{kMaster, 1, "MUTE", "x", 2}, Key{kMaster, 1, "FAR OFF", "x", 3}})
            QVERIFY(CatalogueFixture::addKey(m_db, k));
        order(7, 0, 0);   // (1110, 392)
        order(7, 1, 33);  // (2410, 457): a star, the key has no name
        order(7, 2, 70);  // (1610, 782)
        order(7, 3, 128); // off the sheet
        order(0, 0, 31);  // the shared order would put POWER at (1110, 2407)
        QVERIFY(TestSupport::writeFile(path(QStringLiteral("images/print-7-1.png")), fixtureTemplatePng(true)));
        // No marker on the fallback: tells the two apart.
        QVERIFY(TestSupport::writeFile(path(QStringLiteral("images/print.png")), fixtureTemplatePng(false)));
    }
    void cleanup()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
        delete m_dir;
        m_dir = nullptr;
    }

    void landscapePhotoIsTurnedClockwiseAndFitted()
    {
        QImage photo = solid(800, 600, Qt::white);
        QPainter(&photo).fillRect(0, 0, 100, 100, Qt::red); // top-left corner
        const QImage prepared = KeySheet::preparePhoto(photo);
        QCOMPARE(prepared.size(), QSize(500, 666));
        // A quarter turn clockwise takes the top-left corner to the top right.
        QVERIFY(isNear(prepared.pixel(480, 20), qRgb(255, 0, 0)));
        QVERIFY(isNear(prepared.pixel(20, 20), qRgb(255, 255, 255)));
        QVERIFY(isNear(prepared.pixel(480, 640), qRgb(255, 255, 255)));

        QImage upright = solid(600, 800, Qt::white);
        QPainter(&upright).fillRect(0, 0, 100, 100, Qt::red);
        const QImage kept = KeySheet::preparePhoto(upright);
        QCOMPARE(kept.size(), QSize(500, 666));
        QVERIFY(isNear(kept.pixel(20, 20), qRgb(255, 0, 0)));
        QVERIFY(KeySheet::preparePhoto(QImage()).isNull());
    }

    void nothingIsPrintedWithoutATemplate_data()
    {
        QTest::addColumn<QString>("remove");
        QTest::addColumn<QByteArray>("garbage"); // written as the chosen template
        QTest::addColumn<QString>("message");
        QTest::addRow("print.png missing") << "images/print-7-1.png" << QByteArray()
                                           << "The print template \"images/print.png\" is missing";
        QTest::addRow("chosen template unreadable") << "" << QByteArray("not a picture")
                                                    << "The print template \"images/print-7-1.png\" cannot be read";
    }
    void nothingIsPrintedWithoutATemplate()
    {
        QFETCH(QString, remove);
        QFETCH(QByteArray, garbage);
        QFETCH(QString, message);
        if (!remove.isEmpty()) {
            QVERIFY(QFile::remove(path(remove)));
            QVERIFY(QFile::remove(path(QStringLiteral("images/print.png"))));
        }
        if (!garbage.isEmpty())
            QVERIFY(TestSupport::writeFile(path(QStringLiteral("images/print-7-1.png")), garbage));
        KeySheet sheet;
        QString error;
        QVERIFY(!sheet.load(input(), m_db, m_dir->path(), &error));
        QVERIFY2(error.startsWith(message), qPrintable(error));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(path(QStringLiteral("never.pdf")));
        QVERIFY(!sheet.paint(&printer));
        QVERIFY(!QFile::exists(path(QStringLiteral("never.pdf"))));
    }

    // The template and the photos are read only when they are regular files
    // within their bounds: a pipe is never waited on, a link to a device
    // never read. A template refused prints nothing and says why; a photo
    // refused is left out and named.
    void filesThatAreNoRegularFileAreNotRead_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::addRow("template is a pipe") << "images/print-7-1.png" << "pipe" << "named pipe";
        QTest::addRow("template links to a device") << "images/print-7-1.png" << "device" << "device";
        QTest::addRow("photo 1 is a pipe") << PhotoPlaces::relativePath(kMaster, 1) << "pipe" << "named pipe";
        QTest::addRow("photo 2 links to a device") << PhotoPlaces::relativePath(kMaster, 2) << "device" << "device";
    }
    void filesThatAreNoRegularFileAreNotRead()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        for (int n : {1, 2, 3})
            QVERIFY(solid(600, 800, Qt::red).save(path(PhotoPlaces::relativePath(kMaster, n))));
        QFile::remove(path(file));
        std::unique_ptr<FifoWatchdog> pipe;
        if (kind == QLatin1String("pipe")) {
            pipe = std::make_unique<FifoWatchdog>(path(file));
            QVERIFY(pipe->made());
        } else {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path(file)));
        }
        const QString told = QStringLiteral("Cannot read the file %1: not a regular file but a %2")
                                 .arg(QDir::toNativeSeparators(path(file)), reason);
        KeySheet sheet;
        QString error;
        const bool loaded = sheet.load(input(), m_db, m_dir->path(), &error);
        if (pipe)
            QVERIFY2(!pipe->fired(), "the sheet waited on the pipe");
        if (file.startsWith(QLatin1String("images/"))) {
            QVERIFY(!loaded);
            QCOMPARE(error, QStringLiteral("The print template \"images/print-7-1.png\" cannot be read; nothing is "
                                           "printed.\n")
                                + told);
            return;
        }
        QVERIFY2(loaded, qPrintable(error));
        QCOMPARE(sheet.skippedPhotos(), QStringList{told});
        // The others are printed; the photo page is due as before.
        QCOMPARE(sheet.pageCount(), 2);
        const Printed p = printToPdf(sheet);
        QCOMPARE(p.pages, 2);
    }

    void failedCatalogueReadPrintsNothing()
    {
        QVERIFY(CatalogueFixture::exec(m_db, QStringLiteral("DROP TABLE rctypeprint")));
        KeySheet sheet;
        QString error;
        QVERIFY(!sheet.load(input(), m_db, m_dir->path(), &error));
        QVERIFY2(error.contains(QLatin1String("rctypeprint")), qPrintable(error));
    }

    void pageOneShowsTemplateTextsPhotoAndLegend()
    {
        QVERIFY(solid(800, 600, Qt::red).save(path(PhotoPlaces::relativePath(kMaster, 1))));
        KeySheet sheet;
        QString error;
        QVERIFY2(sheet.load(input(), m_db, m_dir->path(), &error), qPrintable(error));
        QCOMPARE(sheet.templateFile(), QStringLiteral("images/print-7-1.png"));
        QCOMPARE(sheet.sheetCustomerId(), QStringLiteral("7"));
        QCOMPARE(sheet.variant(), QStringLiteral("wide"));
        QCOMPARE(sheet.namedKeys(), 3);
        const Printed p = printToPdf(sheet);
        QCOMPARE(p.pages, 1);
        QCOMPARE(p.images.size(), 1);
        QVERIFY(!p.images.at(0).isNull());

        // The template fills the printable area's width at its top-left corner.
        QVERIFY(isNear(colourAt(p, 0, QPointF(3300, 2325)), kMarker));
        QVERIFY(isNear(colourAt(p, 0, QPointF(3100, 2325)), qRgb(255, 255, 255)));

        // Photo 1, turned to 500 x 666 at (100, 280), and nothing below it.
        QVERIFY(isNear(colourAt(p, 0, QPointF(120, 300)), qRgb(255, 0, 0)));
        QVERIFY(isNear(colourAt(p, 0, QPointF(580, 930)), qRgb(255, 0, 0)));
        QVERIFY(isNear(colourAt(p, 0, QPointF(350, 990)), qRgb(255, 255, 255)));
        QVERIFY(isNear(colourAt(p, 0, QPointF(640, 600)), qRgb(255, 255, 255)));

        // Texts on their baselines; an empty address and contact print nothing.
        using T = KeySheetLayout::Text;
        for (T t : {T::Brand, T::Type, T::Model, T::Company})
            QVERIFY2(inkIn(p, 0, textBand(KeySheetLayout::textPosition(t), 90)) > 20,
                     qPrintable(QString::number(int(t))));
        QCOMPARE(inkIn(p, 0, textBand(KeySheetLayout::textPosition(T::Address))), 0);
        QCOMPARE(inkIn(p, 0, textBand(KeySheetLayout::textPosition(T::Contact))), 0);

        // Legend: the customer's own order, the star behind twelve spaces.
        QVERIFY(inkIn(p, 0, textBand(KeySheetLayout::legendPosition(0))) > 20);   // POWER
        QVERIFY(inkIn(p, 0, textBand(KeySheetLayout::legendPosition(70))) > 20);  // MUTE
        const QPoint star = KeySheetLayout::legendPosition(33);
        QCOMPARE(inkIn(p, 0, textBand(star, 100)), 0);
        QVERIFY(inkIn(p, 0, QRectF(star.x() + 100, star.y() - 40, 250, 46)) > 0);
        // Nothing at the shared order's place, nor in a row no key uses.
        QCOMPARE(inkIn(p, 0, textBand(KeySheetLayout::legendPosition(31))), 0);
        QCOMPARE(inkIn(p, 0, textBand(KeySheetLayout::legendPosition(1))), 0);
    }

    // Brand, type, model and a key name of megabytes (an old import) print
    // their start at once: the sheet holds far less.
    void textsOfMegabytesPrintTheirStart()
    {
        const QString longName = QStringLiteral("MUTE ").repeated(400'000);
        QVERIFY(TestSupport::sqlExec(QStringLiteral("UPDATE rckeys SET Name=? WHERE Name='MUTE'"), {longName}));
        KeySheet::Input in = input();
        in.brand = QStringLiteral("ACME ").repeated(2'000'000);
        in.type = QStringLiteral("TV ").repeated(3'000'000);
        in.model = QStringLiteral("X1 ").repeated(3'000'000);
        KeySheet sheet;
        QString error;
        QVERIFY2(sheet.load(in, m_db, m_dir->path(), &error), qPrintable(error));
        QElapsedTimer timer;
        timer.start();
        QBuffer pdf;
        QVERIFY(pdf.open(QIODevice::WriteOnly));
        {
            QPdfWriter writer(&pdf);
            QVERIFY(sheet.paint(&writer));
        }
        const qint64 elapsed = timer.elapsed();
        QVERIFY(pdf.size() > 0);
        // 50 ms here, 5 s drawn whole; generous for a loaded machine.
        QVERIFY2(elapsed < 1500, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
        QPrinter printer;
        KeySheet::setUpPrinter(&printer, in.brand, in.model);
        QCOMPARE(printer.docName(), ShownText::bounded(in.brand) + QLatin1Char('_') + ShownText::bounded(in.model));
    }

    void sharedTemplateUsesTheSharedOrder()
    {
        QVERIFY(QFile::remove(path(QStringLiteral("images/print-7-1.png"))));
        QVERIFY(TestSupport::writeFile(path(QStringLiteral("images/print-0-1-wide.png")), fixtureTemplatePng(true)));
        KeySheet sheet;
        QString error;
        QVERIFY2(sheet.load(input(), m_db, m_dir->path(), &error), qPrintable(error));
        QCOMPARE(sheet.templateFile(), QStringLiteral("images/print-0-1-wide.png"));
        QCOMPARE(sheet.sheetCustomerId(), QStringLiteral("0"));
        const Printed p = printToPdf(sheet);
        QCOMPARE(p.pages, 1);
        QVERIFY(isNear(colourAt(p, 0, QPointF(3300, 2325)), kMarker));
        QVERIFY(inkIn(p, 0, textBand(KeySheetLayout::legendPosition(31))) > 20); // POWER, shared order
        QCOMPARE(inkIn(p, 0, textBand(KeySheetLayout::legendPosition(0))), 0);
        QCOMPARE(inkIn(p, 0, textBand(KeySheetLayout::legendPosition(70))), 0);
    }

    void photoPage_data()
    {
        QTest::addColumn<QList<int>>("places");
        QTest::addColumn<bool>("onlyFirst");
        QTest::addColumn<int>("pages");
        QTest::addRow("photos 1-3") << QList<int>{1, 2, 3} << false << 2;
        QTest::addRow("photos 1-3, first only") << QList<int>{1, 2, 3} << true << 1;
        QTest::addRow("photo 2 missing") << QList<int>{1, 3, 4} << false << 1;
        QTest::addRow("photo 1 missing") << QList<int>{2, 5} << false << 2;
    }
    void photoPage()
    {
        QFETCH(QList<int>, places);
        QFETCH(bool, onlyFirst);
        QFETCH(int, pages);
        const QColor colours[5] = {Qt::red, Qt::green, Qt::blue, Qt::magenta, Qt::cyan};
        for (int n : places) // photo 1 landscape, the others upright
            QVERIFY(solid(n == 1 ? 800 : 600, n == 1 ? 600 : 800, colours[n - 1])
                        .save(path(PhotoPlaces::relativePath(kMaster, n))));
        KeySheet::Input in = input();
        in.printOnlyFirstImage = onlyFirst;
        KeySheet sheet;
        QString error;
        QVERIFY2(sheet.load(in, m_db, m_dir->path(), &error), qPrintable(error));
        QCOMPARE(sheet.pageCount(), pages);
        const Printed p = printToPdf(sheet);
        QCOMPARE(p.pages, pages);
        QCOMPARE(p.images.size(), pages);
        // Photo 1 stays on the sheet whatever the setting.
        QCOMPARE(isNear(colourAt(p, 0, QPointF(350, 600)), QColor(colours[0]).rgb()), places.contains(1));
        if (pages < 2)
            return;
        // Page 2: place n at (100 + 600 (n - 1), 280), 500 x 666; empty places stay white.
        for (int n = 1; n <= 5; ++n) {
            const QPoint at = KeySheetLayout::photoPagePosition(n);
            const QRgb expected = places.contains(n) ? QColor(colours[n - 1]).rgb() : qRgb(255, 255, 255);
            QVERIFY2(isNear(colourAt(p, 1, at + QPointF(20, 20)), expected), qPrintable(QString::number(n)));
            QVERIFY2(isNear(colourAt(p, 1, at + QPointF(480, 640)), expected), qPrintable(QString::number(n)));
            QVERIFY(isNear(colourAt(p, 1, at + QPointF(250, 700)), qRgb(255, 255, 255)));
        }
        // The photo page carries no template.
        QVERIFY(isNear(colourAt(p, 1, QPointF(3300, 2325)), qRgb(255, 255, 255)));
    }

    // The sample directory prints real sheets: each combination the kit
    // provides picks its template and the legend order that goes with it.
    void sampleDirectoryTemplates_data()
    {
        QTest::addColumn<int>("model"); // index of the sample model
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("templateFile");
        QTest::addColumn<QString>("sheetCustomer");
        QTest::addRow("customer's own") << 0 << "1" << "images/print-4-1.png" << "4";
        QTest::addRow("variant") << 10 << "3" << "images/print-0-3-compact.png" << "0";
        QTest::addRow("shared") << 0 << "4" << "images/print-0-4.png" << "0";
        QTest::addRow("generic") << 0 << "5" << "images/print.png" << "0";
        QTest::addRow("no keys of the type") << 0 << "9" << "images/print.png" << "0";
    }
    void sampleDirectoryTemplates()
    {
        QFETCH(int, model);
        QFETCH(QString, type);
        QFETCH(QString, templateFile);
        QFETCH(QString, sheetCustomer);
        QTemporaryDir &sample = m_sample;
        if (!m_sampleWritten)
            QVERIFY(m_sampleWritten = TestSupport::writeSampleDirectory(sample.path(), 12));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("sample"));
        db.setDatabaseName(QDir(sample.path()).filePath(QStringLiteral("rc.db")));
        QVERIFY(db.open());
        {
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("SELECT Link, Documentation FROM rcmodels ORDER BY Rcid")));
            for (int i = 0; i <= model; ++i)
                QVERIFY(q.next());
            KeySheet::Input in;
            in.link = q.value(0).toString();
            in.documentation = q.value(1).toString();
            in.typeId = type;
            in.customerId = SampleKit::customerId();
            KeySheet sheet;
            QString error;
            QVERIFY2(sheet.load(in, db, sample.path(), &error), qPrintable(error));
            QCOMPARE(sheet.templateFile(), templateFile);
            QCOMPARE(sheet.sheetCustomerId(), sheetCustomer);
            // Every key the catalogue orders for that customer is in the legend.
            QSqlQuery count(db);
            count.prepare(QStringLiteral("SELECT count(*) FROM rckeys JOIN rctypeprint ON rckeys.Nkey = "
                                         "rctypeprint.Nkey AND rckeys.RCTypeId = rctypeprint.RCTypeId WHERE "
                                         "rckeys.Rcid=? AND rckeys.RCTypeId=? AND rctypeprint.CustomerId=?"));
            count.addBindValue(in.link);
            count.addBindValue(type);
            count.addBindValue(sheetCustomer);
            QVERIFY(count.exec() && count.next());
            QCOMPARE(sheet.legend().size(), count.value(0).toInt());
            if (type != QLatin1String("9"))
                QVERIFY(!sheet.legend().isEmpty());
            QCOMPARE(QImage(QDir(sample.path()).filePath(templateFile)).size(), QSize(3508, 2480));
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("sample"));
    }
};

QTEST_MAIN(TestKeySheet)
#include "tst_keysheet.moc"
