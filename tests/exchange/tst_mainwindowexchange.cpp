// The export and import slots of the main window on the sample working
// directory: the file dialogs, the question and its answers, the message for
// a wrong file, and what the window shows afterwards.
#include "FifoWatchdog.h"
#include "TestSupport.h"

#include "app/AtomicFile.h"
#include "app/MessageBox.h"
#include "exchange/ImportValues.h"
#include "mainwindow/MainWindowImpl.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QTimer>
#include <QtTest>

#include <sys/resource.h>

class TestMainWindowExchange : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    QString m_previousDir;
    MainWindowImpl *m_window = nullptr;

    QStringList dump()
    {
        QSqlDatabase db = QSqlDatabase::database();
        return TestSupport::tableRows(db, QStringLiteral("rcmodels"), QStringLiteral("Rcid"))
            + TestSupport::tableRows(db, QStringLiteral("rckeys"), QStringLiteral("Rcid,RCTypeId,Nkey,Name"));
    }

    QString selectedRcid() const
    {
        const QModelIndex current = m_window->ModelsTV->currentIndex();
        return current.isValid() ? current.sibling(current.row(), 0).data().toString() : QString();
    }

    bool select(const QString &rcid)
    {
        auto *list = qobject_cast<QSqlTableModel *>(m_window->ModelsTV->model());
        while (list && list->canFetchMore())
            list->fetchMore();
        for (int row = 0; list && row < list->rowCount(); ++row) {
            if (list->index(row, 0).data().toString() == rcid) {
                m_window->ModelsTV->selectRow(row);
                m_window->refreshRC();
                return true;
            }
        }
        return false;
    }

    // Runs open() and, in the file dialog it shows, types name and accepts
    // (an empty name cancels).
    void throughFileDialog(const std::function<void()> &open, const QString &name, const QString &title)
    {
        bool seen = false;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog || seen)
                return;
            seen = true;
            QCOMPARE(dialog->windowTitle(), title);
            if (name.isEmpty()) {
                dialog->reject();
                return;
            }
            auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(edit);
            edit->setText(name);
            static_cast<QDialog *>(dialog)->accept();
            if (dialog->isVisible())
                dialog->reject();
        });
        poll.start();
        open();
        QVERIFY(seen);
    }

    QString ownMasterWithKeys()
    {
        QSqlQuery q;
        q.prepare(QStringLiteral("SELECT Rcid FROM rcmodels WHERE Own=1 AND Rcid=Link AND Rcid IN "
                                 "(SELECT Rcid FROM rckeys WHERE RCTypeId=?) ORDER BY Rcid"));
        q.addBindValue(m_window->RCTypesTV->currentIndex().sibling(m_window->RCTypesTV->currentIndex().row(), 0).data());
        if (q.exec() && q.next())
            return q.value(0).toString();
        return QString();
    }

    // An exchange file with one key whose master is rcid.
    static QByteArray masterFile(const QString &rcid, int typeId)
    {
        return QStringLiteral("<Irvanta><RCDescription><IrvantaVersion>2.5.10</IrvantaVersion><Rcid>%1</Rcid>"
                              "<Brand>FILE</Brand><Type>TV</Type><Model>FROM FILE</Model><RCTypeId>%2</RCTypeId>"
                              "</RCDescription><RCKeys><RCKey><Name>k</Name><ID>0013AB</ID><Nkey>1</Nkey></RCKey>"
                              "</RCKeys><RCLinks/></Irvanta>")
            .arg(rcid)
            .arg(typeId)
            .toUtf8();
    }

private slots:
    void initTestCase() { m_previousDir = QDir::currentPath(); }

    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(TestSupport::enterSampleDirectory(m_dir->path(), nullptr));
        m_window = new MainWindowImpl;
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        m_window->comboBoxDatabase->setCurrentIndex(1); // own models
        m_window->refreshModels();
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

    void exportThenImportWithEachAnswer_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addRow("cancel") << "Cancel";
        QTest::addRow("copy") << "Yes";
        QTest::addRow("replace") << "No";
    }
    void exportThenImportWithEachAnswer()
    {
        QFETCH(QString, answer);
        const QString master = ownMasterWithKeys();
        QVERIFY(!master.isEmpty());
        QVERIFY(select(master));
        QVERIFY(QDir().mkpath(QStringLiteral("exports")));
        const QString typed = QDir::current().absoluteFilePath(QStringLiteral("exports/mine"));
        throughFileDialog([&] { m_window->actionExport->trigger(); }, typed, QStringLiteral("Export"));
        QVERIFY(QFileInfo::exists(typed + QStringLiteral(".xml"))); // the dialog added the suffix
        QCOMPARE(m_window->lastExportPath, QDir::current().absoluteFilePath(QStringLiteral("exports")));
        QVERIFY(MessageBox::takeLog().isEmpty());
        QVERIFY(m_window->statusbar->isVisible());
        QCOMPARE(m_window->statusbar->currentMessage(),
                 QStringLiteral("The model was exported to %1.xml.").arg(typed));

        const QStringList before = dump();
        MessageBox::setNextAnswer(answer);
        throughFileDialog([&] { m_window->actionImport->trigger(); }, typed + QStringLiteral(".xml"),
                          QStringLiteral("Import"));
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].title, QStringLiteral("Confirm"));
        QCOMPARE(log[0].text, QStringLiteral("This RC is already exists.\nDo you want to create copy?\nYes - copy\n"
                                             "No - replace\nCancel - no need import"));
        QCOMPARE(m_window->lastImportPath, QDir::current().absoluteFilePath(QStringLiteral("exports")));
        const QStringList after = dump();
        if (answer == QLatin1String("Cancel")) {
            QCOMPARE(after, before);
        } else if (answer == QLatin1String("Yes")) {
            QVERIFY(selectedRcid() != master);
            QVERIFY(!selectedRcid().isEmpty());
            QVERIFY(after.size() > before.size());
        } else {
            QCOMPARE(selectedRcid(), master);
            QCOMPARE(after.size(), before.size());
        }
    }

    void wrongFileIsToldAndChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addRow("not XML") << QByteArray("<Irvanta><RCDescription>");
        QTest::addRow("type abc")
            << QByteArray("<Irvanta><RCDescription><Rcid>1a2b3c4d</Rcid><Brand>A</Brand><Type>T</Type>"
                          "<Model>M</Model><RCTypeId>abc</RCTypeId></RCDescription><RCKeys/><RCLinks/></Irvanta>");
        // A value of megabytes is quoted by its start only.
        QTest::addRow("huge Rcid")
            << "<Irvanta><RCDescription><Rcid>" + QByteArray(1 << 20, 'f')
                   + "</Rcid><Brand>A</Brand><Type>T</Type><Model>M</Model><RCTypeId>1</RCTypeId></RCDescription>"
                     "<RCKeys/><RCLinks/></Irvanta>";
    }
    void wrongFileIsToldAndChangesNothing()
    {
        QFETCH(QByteArray, content);
        QVERIFY(TestSupport::writeFile(QStringLiteral("bad.xml"), content));
        const QStringList before = dump();
        throughFileDialog([&] { m_window->importRemote(); }, QDir::current().absoluteFilePath("bad.xml"),
                          QStringLiteral("Import"));
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].title, QStringLiteral("Warning"));
        // The box names the reason the parser gave, the same the log keeps.
        QVERIFY2(log[0].text.startsWith(QLatin1String("Wrong import file\n")), qPrintable(log[0].text));
        const QString reason = log[0].text.section(QLatin1Char('\n'), 1);
        QVERIFY(!reason.trimmed().isEmpty());
        QVERIFY2(reason.size() < 200, qPrintable(reason.left(200)));
        QCOMPARE(dump(), before);
        QVERIFY(m_window->textEdit->toPlainText().contains(QLatin1String("Import: ") + reason));
    }

    // A file whose master is a factory row linked to another master is
    // refused before any question: the box and the log name the row and its
    // master, and the catalogue stays as it was.
    void masterThatIsALinkIsRefused()
    {
        QSqlQuery q;
        QVERIFY(q.exec(QStringLiteral("SELECT Rcid,Link FROM rcmodels WHERE Rcid!=Link AND Own=0 ORDER BY Rcid")));
        QVERIFY(q.next());
        const QString rcid = q.value(0).toString();
        const QString master = q.value(1).toString();
        QVERIFY(TestSupport::writeFile(QStringLiteral("taken.xml"), masterFile(rcid, 1)));
        const QStringList before = dump();
        MessageBox::setNextAnswer(QStringLiteral("No"));
        throughFileDialog([&] { m_window->importRemote(); }, QDir::current().absoluteFilePath("taken.xml"),
                          QStringLiteral("Import"));
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].title, QStringLiteral("Warning"));
        QVERIFY2(log[0].text.contains(rcid) && log[0].text.contains(master), qPrintable(log[0].text));
        QCOMPARE(dump(), before);
        QVERIFY(m_window->textEdit->toPlainText().contains(master));
    }

    // A factory master is replaced only when the user says so, also when it
    // has no keys of the file's type yet.
    void factoryMasterIsReplacedOnlyAfterTheQuestion_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addRow("cancel") << "Cancel";
        QTest::addRow("replace") << "No";
    }
    void factoryMasterIsReplacedOnlyAfterTheQuestion()
    {
        QFETCH(QString, answer);
        const int typeId = 200;
        QSqlQuery q;
        q.prepare(QStringLiteral("SELECT Rcid FROM rcmodels WHERE Own=0 AND Rcid=Link AND Rcid NOT IN "
                                 "(SELECT Rcid FROM rckeys WHERE RCTypeId=?) ORDER BY Rcid"));
        q.addBindValue(typeId);
        QVERIFY(q.exec() && q.next());
        const QString rcid = q.value(0).toString();
        QVERIFY(TestSupport::writeFile(QStringLiteral("factory.xml"), masterFile(rcid, typeId)));
        const QStringList before = dump();
        MessageBox::setNextAnswer(answer);
        throughFileDialog([&] { m_window->importRemote(); }, QDir::current().absoluteFilePath("factory.xml"),
                          QStringLiteral("Import"));
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].title, QStringLiteral("Confirm"));
        const QVariantMap row = TestSupport::modelRow(QSqlDatabase::database(), rcid);
        if (answer == QLatin1String("Cancel")) {
            QCOMPARE(dump(), before);
        } else {
            QCOMPARE(row.value("Model").toString(), QStringLiteral("FROM FILE"));
            QCOMPARE(row.value("Own").toInt(), 0);
        }
    }

    // An export whose photos could not all be copied says so in the status
    // line, where a whole export says it was exported, and the box names them.
    void partialExportSaysHowManyPhotosAreMissing()
    {
        const QString master = ownMasterWithKeys();
        QVERIFY(!master.isEmpty());
        QVERIFY(select(master));
        for (int n = 1; n <= 5; ++n)
            QFile::remove(QStringLiteral("RCImages/%1_%2.jpg").arg(master).arg(n));
        QVERIFY(TestSupport::writeFile(QStringLiteral("RCImages/%1_1.jpg").arg(master), QByteArray(200000, 'a')));
        QVERIFY(TestSupport::writeFile(QStringLiteral("RCImages/%1_2.jpg").arg(master), QByteArray(200000, 'b')));
        QVERIFY(QDir().mkpath(QStringLiteral("exports")));
        const QString typed = QDir::current().absoluteFilePath(QStringLiteral("exports/partial"));
        // The file fits, the photos do not.
        AtomicFile::setFailAfterBytesForTesting(100000);
        throughFileDialog([&] { m_window->actionExport->trigger(); }, typed, QStringLiteral("Export"));
        AtomicFile::setFailAfterBytesForTesting(-1);
        QVERIFY(QFileInfo::exists(typed + QStringLiteral(".xml")));
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QVERIFY2(log[0].text.startsWith(QLatin1String("These photos could not be copied:")), qPrintable(log[0].text));
        QCOMPARE(m_window->statusbar->currentMessage(),
                 QStringLiteral("The model was exported without 2 photo(s) to %1.xml.").arg(typed));
    }

    void vrcImportShowsTheNewModelWithItsPhotos()
    {
        QVERIFY(QDir().mkpath(QStringLiteral("old")));
        QVERIFY(TestSupport::writeFile(QStringLiteral("old/remote.vrc"),
                                       "VARNO Infrared Remote Control File v1.00\r\nZETA\r\nTV\r\nZ-9\r\n"
                                       "changer TV.png\r\nkey\r\nPower\r\n0013ABCD\r\n0 01\r\n"
                                       "<end_of_file>\r\nnotes\r\n"));
        QVERIFY(TestSupport::writeFile(QStringLiteral("old/remote_1.jpg"), "one"));
        QVERIFY(TestSupport::writeFile(QStringLiteral("old/remote_3.jpg"), "three"));
        // A link is no photo of the file, wherever it points.
        QVERIFY(TestSupport::writeFile(QStringLiteral("secret.jpg"), "secret"));
        QVERIFY(QFile::link(QDir::current().absoluteFilePath("secret.jpg"), QStringLiteral("old/remote_2.jpg")));
        const int before = dump().size();
        throughFileDialog([&] { m_window->importRemote(); }, QDir::current().absoluteFilePath("old/remote.vrc"),
                          QStringLiteral("Import"));
        QVERIFY(MessageBox::takeLog().isEmpty());
        QCOMPARE(dump().size(), before + 2);
        const QString rcid = selectedRcid();
        QCOMPARE(TestSupport::modelRow(QSqlDatabase::database(), rcid).value("Brand").toString(),
                 QStringLiteral("ZETA"));
        QCOMPARE(m_window->comboBoxDatabase->currentIndex(), 1);
        QCOMPARE(m_window->brandLineEdit->text(), QStringLiteral("ZETA"));
        QCOMPARE(TestSupport::readText(QStringLiteral("RCImages/%1_1.jpg").arg(rcid)), QStringLiteral("one"));
        QVERIFY(!QFileInfo::exists(QStringLiteral("RCImages/%1_2.jpg").arg(rcid)));
        QCOMPARE(TestSupport::readText(QStringLiteral("RCImages/%1_3.jpg").arg(rcid)), QStringLiteral("three"));
        const QString shown = m_window->textEdit->toPlainText();
        QVERIFY2(shown.contains(QLatin1String("remote_2.jpg skipped: it is a symbolic link")), qPrintable(shown));
    }

    // A file of lines that are no keys gives one log line, not one per line,
    // and the user is told that the model came without keys. The bound on
    // the time is generous; one log line per skipped line took seconds.
    void kestrulWithoutKeysIsTold()
    {
        const int lines = 300000;
        QVERIFY(TestSupport::writeFile(QStringLiteral("nokeys.txt"),
                                       "FileFormat=KESTRUL\r\nVersion=1\r\nKeyMap=K5\r\nType=TV\r\nBrand=ACME\r\n"
                                       "Model=K-1\r\n\r\nButtons=3\r\n"
                                           + QByteArray("no code here\r\n").repeated(lines)));
        const int blocks = m_window->textEdit->document()->blockCount();
        QElapsedTimer timer;
        timer.start();
        throughFileDialog([&] { m_window->importRemote(); }, QDir::current().absoluteFilePath("nokeys.txt"),
                          QStringLiteral("Import"));
        QVERIFY2(timer.elapsed() < 60000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(m_window->textEdit->document()->blockCount() <= blocks + 2);
        QVERIFY(m_window->textEdit->toPlainText().contains(
            QStringLiteral("Import: Lines skipped: %1 (line 9: key line \"no code here\" has no code;").arg(lines)));
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].text, QStringLiteral("The model ACME K-1 was imported without keys: the file holds no key this "
                                             "program can read."));
        QCOMPARE(m_window->brandLineEdit->text(), QStringLiteral("ACME"));
    }

    // The import keeps the file's spelling of the brand and then lists the
    // new model by that brand: it must be found whatever the letter case.
    void importedBrandIsListed_data()
    {
        QTest::addColumn<QByteArray>("brand"); // as the Latin-1 file holds it
        QTest::addColumn<QString>("stored");
        QTest::addRow("mixed case") << QByteArray("Acme") << QStringLiteral("Acme");
        QTest::addRow("lower case outside ASCII") << QByteArray("\xf8resund") << QString::fromUtf8("øresund");
    }
    void importedBrandIsListed()
    {
        QFETCH(QByteArray, brand);
        QFETCH(QString, stored);
        QVERIFY(TestSupport::writeFile(QStringLiteral("brand.vrc"),
                                       "VARNO Infrared Remote Control File v1.00\r\n" + brand +
                                           "\r\nTV\r\nB-1\r\nchanger TV.png\r\nkey\r\nPower\r\n0013ABCD\r\n"
                                           "0 01\r\n<end_of_file>\r\n"));
        throughFileDialog([&] { m_window->importRemote(); }, QDir::current().absoluteFilePath("brand.vrc"),
                          QStringLiteral("Import"));
        QVERIFY(MessageBox::takeLog().isEmpty());
        const QString rcid = selectedRcid();
        QVERIFY2(!rcid.isEmpty(), "the imported model is not listed");
        QCOMPARE(TestSupport::modelRow(QSqlDatabase::database(), rcid).value("Brand").toString(), stored);
        QCOMPARE(m_window->brandLineEdit->text(), stored);
    }

    // A named pipe chosen in the real dialog: the window does not wait in
    // open() for a writer; a box names the file and says why.
    void pipeChosenForImportIsRefusedUnread_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addRow("XML") << "pipe.xml";
        QTest::addRow("VRC") << "pipe.vrc";
    }
    void pipeChosenForImportIsRefusedUnread()
    {
        QFETCH(QString, name);
        const QString pipe = QDir::current().absoluteFilePath(name);
        FifoWatchdog watchdog(pipe);
        QVERIFY(watchdog.made());
        const QStringList before = dump();
        throughFileDialog([&] { m_window->importRemote(); }, pipe, QStringLiteral("Import"));
        QVERIFY2(!watchdog.fired(), "the window waited on the pipe");
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].kind, QStringLiteral("warning"));
        QVERIFY2(log[0].text.contains(QDir::toNativeSeparators(pipe))
                     && log[0].text.contains(QLatin1String("not a regular file but a named pipe")),
                 qPrintable(log[0].text));
        QCOMPARE(dump(), before);
    }

    // A photo beside an imported file that is past the photo bound (sparse:
    // it takes no room on the disk) is left out and named, in a box and in
    // the log; the model is imported all the same, and the photo is never
    // held in memory. The memory bound is generous: reading the photo alone
    // would pass it many times.
    void hugePhotoBesideAnImportIsLeftOut()
    {
        QVERIFY(QDir().mkpath(QStringLiteral("in")));
        QVERIFY(TestSupport::writeFile(QStringLiteral("in/M.xml"), masterFile(QStringLiteral("0badf00d"), 1)));
        QVERIFY(TestSupport::writeFile(QStringLiteral("in/M 0badf00d_1.jpg"), "small photo"));
        const QString huge = QDir::current().absoluteFilePath(QStringLiteral("in/M 0badf00d_2.jpg"));
        {
            QFile f(huge);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.write("\xFF\xD8\xFF") == 3);
            QVERIFY(f.resize(qint64(400) * 1024 * 1024));
        }
        rusage usage = {};
        getrusage(RUSAGE_SELF, &usage);
        const long before = usage.ru_maxrss;
        throughFileDialog([&] { m_window->importRemote(); }, QDir::current().absoluteFilePath("in/M.xml"),
                          QStringLiteral("Import"));
        getrusage(RUSAGE_SELF, &usage);
        const long grown = usage.ru_maxrss - before;
        QVERIFY2(grown < 64 * 1024, qPrintable(QStringLiteral("%1 KiB more at the peak").arg(grown)));

        const QString rcid = selectedRcid();
        QCOMPARE(TestSupport::modelRow(QSqlDatabase::database(), rcid).value("Model").toString(),
                 QStringLiteral("FROM FILE"));
        QCOMPARE(TestSupport::readText(QStringLiteral("RCImages/%1_1.jpg").arg(rcid)), QStringLiteral("small photo"));
        QVERIFY(!QFileInfo::exists(QStringLiteral("RCImages/%1_2.jpg").arg(rcid)));
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QVERIFY2(log[0].text.contains(QDir::toNativeSeparators(huge)) && log[0].text.contains("larger than 64 MiB"),
                 qPrintable(log[0].text));
        const QString shown = m_window->textEdit->toPlainText();
        QVERIFY2(shown.contains(QStringLiteral("Import: Cannot read the file %1: larger than 64 MiB")
                                    .arg(QDir::toNativeSeparators(huge))),
                 qPrintable(shown));
    }

    // A file beyond the size limit is refused before it is read (the file
    // is sparse: it takes no disk space). Its name is told as it is.
    void oversizedFileIsRefusedUnread_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addRow("plain name") << QStringLiteral("big.vrc");
        QTest::addRow("name with a percent sign") << QStringLiteral("big %2.vrc");
    }
    void oversizedFileIsRefusedUnread()
    {
        QFETCH(QString, name);
        QFile big(name);
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.write("VARNO Infrared Remote Control File v1.00\r\n") > 0);
        QVERIFY(big.resize(ImportValues::MaxFileSize + 1));
        big.close();
        const QStringList before = dump();
        throughFileDialog([&] { m_window->importRemote(); }, QDir::current().absoluteFilePath(name),
                          QStringLiteral("Import"));
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QVERIFY2(log[0].text.contains(QLatin1String("larger than 64 MiB")), qPrintable(log[0].text));
        QVERIFY2(log[0].text.contains(name), qPrintable(log[0].text));
        QCOMPARE(dump(), before);
    }

    void vrcWithoutEndMarkerIsAWrongFile()
    {
        QVERIFY(TestSupport::writeFile(QStringLiteral("cut.vrc"), "header\nZETA\nTV\nZ-9\nchanger TV.png\nkey\n"));
        const QStringList before = dump();
        throughFileDialog([&] { m_window->importRemote(); }, QDir::current().absoluteFilePath("cut.vrc"),
                          QStringLiteral("Import"));
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QVERIFY2(log[0].text.startsWith(QLatin1String("Wrong import file\n")), qPrintable(log[0].text));
        QVERIFY(!log[0].text.section(QLatin1Char('\n'), 1).trimmed().isEmpty());
        QCOMPARE(dump(), before);
    }

    void convertDBAsksFirst_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("status"); // the status line afterwards
        QTest::addRow("no") << "No" << "";
        QTest::addRow("yes") << "Yes" << "The catalogue was converted.";
    }
    void convertDBAsksFirst()
    {
        QFETCH(QString, answer);
        QFETCH(QString, status);
        QSqlQuery q;
        QVERIFY(q.exec(QStringLiteral("INSERT INTO rcmodels(Rcid,Link,Brand,Type,Model,Own) VALUES("
                                      "'{abcdef01-0000-4000-8000-000000000001}','{abcdef01-0000-4000-8000-000000000001}',"
                                      "'OLD','TV','O-1',1)")));
        const QStringList before = dump();
        MessageBox::setNextAnswer(answer);
        m_window->actionConvertDB->trigger();
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].text, QStringLiteral("Do you really want to convert DB?"));
        if (answer == QLatin1String("No")) {
            QCOMPARE(dump(), before);
        } else {
            QVERIFY(!TestSupport::modelRow(QSqlDatabase::database(), "abcdef01").isEmpty());
            QCOMPARE(dump().size(), before.size());
        }
        QCOMPARE(m_window->statusbar->currentMessage(), status);
    }

    void sendDBWritesTheFileByName()
    {
        bool written = false;
        QVERIFY(QMetaObject::invokeMethod(m_window, "sendDB", Q_RETURN_ARG(bool, written)));
        QVERIFY(written);
        QVERIFY(TestSupport::readText(QStringLiteral("simple-modified.xml")).contains(QLatin1String("<about")));
    }

    void cancelledDialogKeepsThePath()
    {
        m_window->lastImportPath = QStringLiteral("/nowhere/at/all");
        throughFileDialog([&] { m_window->importRemote(); }, QString(), QStringLiteral("Import"));
        QCOMPARE(m_window->lastImportPath, QStringLiteral("xml"));
        QVERIFY(MessageBox::takeLog().isEmpty());
    }
};

QTEST_MAIN(TestMainWindowExchange)
#include "tst_mainwindowexchange.moc"
