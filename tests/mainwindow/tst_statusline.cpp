// The status bar after each action of the main window on the sample working
// directory: an action that did something says what, naming a model by brand
// and model; one that failed says so in a message box and leaves no line of
// an earlier action standing.
#include "TestSupport.h"

#include "app/MessageBox.h"
#include "ir/Decode.h"
#include "mainwindow/MainWindowImpl.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QTimer>
#include <QtTest>

namespace {

const QString kEarlier = QStringLiteral("A line of an earlier action.");

using TestSupport::sqlExec;
using TestSupport::sqlValue;

} // namespace

class TestStatusLine : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    QString m_previousDir;
    MainWindowImpl *m_window = nullptr;

    QString selectedType() const
    {
        const QModelIndex current = m_window->RCTypesTV->currentIndex();
        return current.siblingAtColumn(0).data().toString();
    }

    // A master with keys of the selected type and no linked models, own or
    // factory, renamed so that the expected lines can name it.
    QString chooseMaster(bool own)
    {
        const QString rcid =
            sqlValue(QStringLiteral("SELECT Rcid FROM rcmodels m WHERE Own=? AND Rcid=Link AND Hidden=0 AND Hidden1=0 "
                                 "AND (SELECT COUNT(*) FROM rcmodels l WHERE l.Link=m.Rcid)=1 "
                                 "AND Rcid IN (SELECT Rcid FROM rckeys WHERE RCTypeId=?) ORDER BY Rcid"),
                  {own ? 1 : 0, selectedType()})
                .toString();
        if (rcid.isEmpty() || !sqlExec(QStringLiteral("UPDATE rcmodels SET Brand='ACME', Model='TV-1' WHERE Rcid=?"),
                                    {rcid}))
            return QString();
        return rcid;
    }

    bool select(const QString &rcid)
    {
        m_window->comboBoxDatabase->setCurrentIndex(0);
        m_window->brandLineEdit->clear();
        m_window->modelLineEdit->clear();
        m_window->refreshModels();
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

    // Runs open() and, in the file dialog it shows, accepts name.
    void throughFileDialog(const std::function<void()> &open, const QString &name)
    {
        bool seen = false;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog || seen)
                return;
            seen = true;
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

    void learn(const QString &code, int nkey)
    {
        m_window->setKeyCodeLabels(code);
        m_window->labelPicture->selectedKey = nkey;
        m_window->labelPicture->assignRequest = true;
        m_window->insertKey();
    }

    void newModel(const QString &brand, const QString &model)
    {
        QVERIFY(TestSupport::whileModalDialogOpen([&] { m_window->addNewRemoteControlDialog(); },
                                                  [&](QDialog *) {
                                                      NewRemoteDialogImpl &d = m_window->newRemoteDialog;
                                                      d.brandLineEdit->setText(brand);
                                                      d.typeLineEdit->setText(QStringLiteral("tv"));
                                                      d.modelLineEdit->setText(model);
                                                      QTest::mousePress(d.okPushButton, Qt::LeftButton);
                                                  }));
    }

private slots:
    void initTestCase() { m_previousDir = QDir::currentPath(); }

    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(TestSupport::enterSampleDirectory(m_dir->path(), nullptr));
        m_window = new MainWindowImpl;
        m_window->resize(1200, 800);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
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

    // {dir} in a line stands for the working directory, {code} for the code
    // that was learned.
    void lineAfterAction_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("own");        // the chosen model (ACME TV-1) is the user's own
        QTest::addColumn<QStringList>("boxes"); // kinds of the message boxes shown
        QTest::addColumn<QString>("line");
        QTest::addRow("import") << "import" << true << QStringList{"question"} << "The model ACME TV-1 was imported.";
        QTest::addRow("import of a wrong file") << "import wrong" << true << QStringList{"warning"} << "";
        QTest::addRow("print to a PDF file") << "print" << true << QStringList{}
                                             << "The key sheet was printed to {dir}/sheet.pdf.";
        QTest::addRow("delete") << "delete" << true << QStringList{"question"} << "The model ACME TV-1 was deleted.";
        QTest::addRow("delete of a factory model") << "delete" << false << QStringList{"critical"} << "";
        QTest::addRow("learn a key") << "learn" << true << QStringList{} << "The code {code} was stored in ACME TV-1.";
        // The replace question is a box built by hand ("custom").
        QTest::addRow("learn a key, replacing") << "learn again" << true << QStringList{"custom"}
                                                << "The code {code} replaced the key's former code in ACME TV-1.";
        QTest::addRow("learn a key of a factory model") << "learn" << false << QStringList{"information"} << "";
        QTest::addRow("save the settings") << "settings" << true << QStringList{} << "The settings were saved.";
        QTest::addRow("settings that cannot be saved")
            << "settings unwritable" << true << QStringList{"warning"}
            << "The settings were not saved; they stay in effect until the program ends.";
        QTest::addRow("add a model") << "add" << true << QStringList{} << "The model ACME TV-2 was saved.";
        QTest::addRow("add a model without a name") << "add empty" << true << QStringList{"warning"} << "";
        // An action that has no line of its own still ends the earlier one.
        QTest::addRow("assign a simple slot") << "assign" << true << QStringList{} << "";
    }
    void lineAfterAction()
    {
        QFETCH(QString, action);
        QFETCH(bool, own);
        QFETCH(QStringList, boxes);
        QFETCH(QString, line);
        const QString rcid = chooseMaster(own);
        QVERIFY(!rcid.isEmpty());
        QVERIFY(select(rcid));
        const QString code = QStringLiteral("0552") + Decode::encode(QStringLiteral("1001"));
        const int nkey = sqlValue(QStringLiteral("SELECT MIN(Nkey) FROM rckeys WHERE Rcid=? AND RCTypeId=?"),
                               {rcid, selectedType()})
                             .toInt();

        if (action == QLatin1String("import")) {
            // The export's own line is the earlier one here.
            throughFileDialog([&] { m_window->actionExport->trigger(); },
                              QDir::current().absoluteFilePath(QStringLiteral("mine.xml")));
            QVERIFY(m_window->statusbar->currentMessage().startsWith(QLatin1String("The model was exported")));
        } else {
            m_window->showStatus(kEarlier);
        }
        MessageBox::takeLog();

        if (action == QLatin1String("import")) {
            MessageBox::setNextAnswer(QMessageBox::Yes); // a copy
            throughFileDialog([&] { m_window->actionImport->trigger(); },
                              QDir::current().absoluteFilePath(QStringLiteral("mine.xml")));
        } else if (action == QLatin1String("import wrong")) {
            QVERIFY(TestSupport::writeFile(QStringLiteral("wrong.xml"), "<nothing/>"));
            throughFileDialog([&] { m_window->actionImport->trigger(); },
                              QDir::current().absoluteFilePath(QStringLiteral("wrong.xml")));
        } else if (action == QLatin1String("print")) {
            QVERIFY(TestSupport::whileModalDialogOpen([&] { m_window->actionPrint->trigger(); },
                                                      [&](QDialog *dialog) {
                                                          auto *file = dialog->findChild<QLineEdit *>(
                                                              QStringLiteral("filename"));
                                                          QVERIFY(file);
                                                          file->setText(
                                                              QDir::current().filePath(QStringLiteral("sheet.pdf")));
                                                          dialog->accept();
                                                      }));
            QVERIFY(QFileInfo(QStringLiteral("sheet.pdf")).size() > 0);
        } else if (action == QLatin1String("delete")) {
            MessageBox::setNextAnswer(QMessageBox::Yes);
            m_window->deleteRemoteControl();
            QCOMPARE(sqlValue(QStringLiteral("SELECT COUNT(*) FROM rcmodels WHERE Rcid=?"), {rcid}).toInt(), own ? 0 : 1);
        } else if (action == QLatin1String("learn")) {
            QVERIFY(sqlExec(QStringLiteral("DELETE FROM rckeys WHERE Rcid=? AND RCTypeId=? AND Nkey=?"),
                         {rcid, selectedType(), nkey}));
            m_window->refreshRC();
            learn(code, nkey);
        } else if (action == QLatin1String("learn again")) {
            MessageBox::setNextAnswer(QMessageBox::Yes);
            learn(code, nkey);
        } else if (action == QLatin1String("settings unwritable")) {
            QVERIFY(QFile::remove(QStringLiteral("config.ini")));
            QVERIFY(QDir().mkdir(QStringLiteral("config.ini"))); // a directory in the file's place
        } else if (action == QLatin1String("add")) {
            newModel(QStringLiteral("acme"), QStringLiteral("tv-2"));
        } else if (action == QLatin1String("add empty")) {
            newModel(QStringLiteral("acme"), QString());
        } else if (action == QLatin1String("assign")) {
            m_window->simpleProgramming_1();
            QCOMPARE(sqlValue(QStringLiteral("SELECT rcid1 FROM prhistory WHERE hid=? AND RCTypeId=?"),
                           {selectedType(), selectedType()})
                         .toString(),
                     rcid);
        }
        if (action.startsWith(QLatin1String("settings"))) {
            QVERIFY(TestSupport::whileModalDialogOpen([&] { m_window->editSettings(); },
                                                      [&](QDialog *) {
                                                          m_window->settingsDialog.companyLineEdit->setText(
                                                              QStringLiteral("Changed Ltd."));
                                                          QTest::mousePress(m_window->settingsDialog.savePushButton,
                                                                            Qt::LeftButton);
                                                      }));
            QCOMPARE(m_window->company, QStringLiteral("Changed Ltd."));
        }

        QStringList shown;
        for (const MessageBox::Record &box : MessageBox::takeLog())
            shown << box.kind;
        QCOMPARE(shown, boxes);
        line.replace(QLatin1String("{dir}"), QDir::currentPath()).replace(QLatin1String("{code}"), code);
        QCOMPARE(m_window->statusbar->currentMessage(), line);
    }
};

QTEST_MAIN(TestStatusLine)
#include "tst_statusline.moc"
