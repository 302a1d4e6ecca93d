// The window's printing slots on the sample working directory: the preview
// dialog renders the selected model's sheet, the print dialog prints it to a
// PDF file or nothing when cancelled, and a missing template is told before
// any dialog opens.
#include "FifoWatchdog.h"
#include "TestSupport.h"

#include "app/MessageBox.h"
#include "mainwindow/MainWindowImpl.h"
#include "tools/samplekit/SamplePhotos.h"

#include <QDir>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QtTest>

class TestMainWindowPrinting : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    QString m_previousDir;
    MainWindowImpl *m_window = nullptr;

    bool selectModel(const QString &rcid)
    {
        auto *list = qobject_cast<QSqlTableModel *>(m_window->ModelsTV->model());
        if (!list)
            return false;
        while (list->canFetchMore())
            list->fetchMore();
        for (int row = 0; row < list->rowCount(); ++row) {
            if (list->index(row, 0).data().toString() == rcid) {
                m_window->ModelsTV->selectRow(row);
                m_window->refreshRC();
                return true;
            }
        }
        return false;
    }

    static int pdfPages(const QString &pdf)
    {
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {pdf});
        if (!info.waitForFinished(60000) || info.exitCode() != 0)
            return -1;
        for (const QString &line : QString::fromUtf8(info.readAllStandardOutput()).split(QLatin1Char('\n')))
            if (line.startsWith(QLatin1String("Pages:")))
                return line.mid(6).trimmed().toInt();
        return -1;
    }

    QString linkedMaster() const
    {
        for (const SamplePhotos::Set &set : SamplePhotos::choose(QSqlDatabase::database()))
            if (set.places == QList<int>{1, 2, 3})
                return set.master;
        return QString();
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        QVERIFY(TestSupport::enterSampleDirectory(m_dir->path(), &m_previousDir));
        m_window = new MainWindowImpl;
        m_window->resize(1200, 800);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        m_window->RCTypesTV->selectRow(0);
        MessageBox::takeLog();
    }
    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
        QSqlDatabase::database().close();
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
        QDir::setCurrent(m_previousDir);
        delete m_dir;
        m_dir = nullptr;
        MessageBox::takeLog();
    }

    void previewRendersTheSelectedModel_data()
    {
        QTest::addColumn<bool>("withPhotos");
        QTest::addColumn<bool>("onlyFirst");
        QTest::addColumn<int>("pages");
        QTest::addRow("photos 1-3") << true << false << 2;
        QTest::addRow("photos 1-3, first only") << true << true << 1;
        QTest::addRow("no photos") << false << false << 1;
    }
    void previewRendersTheSelectedModel()
    {
        QFETCH(bool, withPhotos);
        QFETCH(bool, onlyFirst);
        QFETCH(int, pages);
        const QString master = linkedMaster();
        QVERIFY(!master.isEmpty());
        if (!withPhotos)
            for (int n = 1; n <= 3; ++n)
                QVERIFY(QFile::remove(QStringLiteral("RCImages/%1_%2.jpg").arg(master).arg(n)));
        QVERIFY(selectModel(master));
        m_window->printOnlyFirstImage = onlyFirst;
        int shownPages = -1;
        QVERIFY(TestSupport::whileModalDialogOpen([&] { m_window->actionPrintPreview->trigger(); },
                                [&](QDialog *dialog) {
                                    QVERIFY(qobject_cast<QPrintPreviewDialog *>(dialog));
                                    QCOMPARE(dialog->parentWidget(), static_cast<QWidget *>(m_window));
                                    QVERIFY(dialog->windowState() & Qt::WindowMaximized);
                                    QVERIFY(!(dialog->windowFlags() & Qt::WindowContextHelpButtonHint));
                                    auto *widget = dialog->findChild<QPrintPreviewWidget *>();
                                    QVERIFY(widget);
                                    QTRY_VERIFY(widget->pageCount() > 0);
                                    shownPages = widget->pageCount();
                                }));
        QCOMPARE(shownPages, pages);
        QVERIFY(MessageBox::takeLog().isEmpty());
    }

    void missingTemplateIsToldAndNothingOpens_data()
    {
        QTest::addColumn<bool>("preview");
        QTest::addRow("preview") << true;
        QTest::addRow("print") << false;
    }
    void missingTemplateIsToldAndNothingOpens()
    {
        QFETCH(bool, preview);
        // Type 5 of the sample prints on the generic template only.
        m_window->RCTypesTV->selectRow(4);
        QCOMPARE(m_window->RCTypesTV->currentIndex().siblingAtColumn(0).data().toString(), QStringLiteral("5"));
        QVERIFY(QFile::remove(QStringLiteral("images/print.png")));
        bool opened = TestSupport::whileModalDialogOpen(
            [&] { (preview ? m_window->actionPrintPreview : m_window->actionPrint)->trigger(); }, [](QDialog *) {});
        QVERIFY(!opened);
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log.at(0).kind, QStringLiteral("warning"));
        QCOMPARE(log.at(0).text,
                 QStringLiteral("The print template \"images/print.png\" is missing; nothing is printed."));
    }

    // A print template that is a named pipe: Print Preview does not wait on
    // it; a box names the file and why, and no dialog opens.
    void templateThatIsAPipeIsToldAndNothingOpens()
    {
        // Type 5 of the sample prints on the generic template only.
        m_window->RCTypesTV->selectRow(4);
        QCOMPARE(m_window->RCTypesTV->currentIndex().siblingAtColumn(0).data().toString(), QStringLiteral("5"));
        QVERIFY(QFile::remove(QStringLiteral("images/print.png")));
        FifoWatchdog pipe(QStringLiteral("images/print.png"));
        QVERIFY(pipe.made());
        const bool opened =
            TestSupport::whileModalDialogOpen([&] { m_window->actionPrintPreview->trigger(); }, [](QDialog *) {});
        QVERIFY(!opened);
        QVERIFY2(!pipe.fired(), "the window waited on the pipe");
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log.at(0).text, QStringLiteral("The print template \"images/print.png\" cannot be read; nothing is "
                                                "printed.\nCannot read the file %1: not a regular file but a named "
                                                "pipe")
                                     .arg(QDir::toNativeSeparators(QDir::current().filePath("images/print.png"))));
    }

    void printWritesTheSheet()
    {
        const QString master = linkedMaster();
        QVERIFY(selectModel(master));
        const QString pdf = QDir::current().filePath(QStringLiteral("sheet.pdf"));
        QVERIFY(TestSupport::whileModalDialogOpen([&] { m_window->actionPrint->trigger(); },
                                [&](QDialog *dialog) {
                                    auto *print = qobject_cast<QPrintDialog *>(dialog);
                                    QVERIFY(print);
                                    QCOMPARE(print->printer()->pageLayout().orientation(), QPageLayout::Landscape);
                                    QCOMPARE(print->printer()->pageLayout().pageSize().id(), QPageSize::A4);
                                    QVERIFY(print->printer()->docName().endsWith(QLatin1Char('_') +
                                                                                 m_window->ModelsTV->currentIndex()
                                                                                     .siblingAtColumn(3)
                                                                                     .data()
                                                                                     .toString()));
                                    auto *file = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
                                    QVERIFY(file);
                                    file->setText(pdf);
                                    print->accept();
                                }));
        QVERIFY(MessageBox::takeLog().isEmpty());
        QCOMPARE(pdfPages(pdf), 2);
    }

    void failedPrintIsLogged()
    {
        // A directory where the PDF file should go: the printer cannot start.
        const QString blocked = QDir::current().filePath(QStringLiteral("blocked.pdf"));
        QVERIFY(QDir::current().mkdir(QStringLiteral("blocked.pdf")));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(blocked);
        QTest::ignoreMessage(QtWarningMsg, "KeySheet: The key sheet could not be printed.");
        m_window->paintPreview(&printer);
        QVERIFY(QFileInfo(blocked).isDir());
    }

    void cancelledPrintPrintsNothing()
    {
        const QString pdf = QDir::current().filePath(QStringLiteral("sheet.pdf"));
        QVERIFY(TestSupport::whileModalDialogOpen([&] { m_window->actionPrint->trigger(); },
                                [&](QDialog *dialog) {
                                    auto *file = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
                                    QVERIFY(file);
                                    file->setText(pdf);
                                    dialog->reject();
                                }));
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(MessageBox::takeLog().isEmpty());
    }
};

QTEST_MAIN(TestMainWindowPrinting)
#include "tst_mainwindowprinting.moc"
