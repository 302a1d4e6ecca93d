// The record slots of the main window on the sample working directory: the
// dialog openers and OK, model deletion with its questions, and the photo
// tab (show, add through the file dialog, delete with renumbering).
#include "FifoWatchdog.h"
#include "FullDisk.h"
#include "TestSupport.h"

#include "app/MessageBox.h"
#include "catalogue/PhotoPlaces.h"
#include "mainwindow/MainWindowImpl.h"
#include "tools/samplekit/SamplePhotos.h"

#include <QDir>
#include <QFileDialog>
#include <QImageReader>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QTimer>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <memory>

class TestMainWindowRecords : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    QString m_previousDir;
    QSqlDatabase m_db;
    MainWindowImpl *m_window = nullptr;
    QString m_linkedMaster, m_gapMaster; // masters with photos 1-3 and with 1 and 3

    // Makes rcid the selected model of the window's list (rebuilt from its
    // filters, or unfiltered for a hidden model) and refreshes the panels.
    bool select(const QString &rcid)
    {
        m_window->refreshModels();
        for (int pass = 0; pass < 2; ++pass) {
            auto *list = qobject_cast<QSqlTableModel *>(m_window->ModelsTV->model());
            if (!list)
                return false;
            if (pass == 1) {
                list->setFilter(QString());
                list->select();
            }
            while (list->canFetchMore())
                list->fetchMore();
            for (int row = 0; row < list->rowCount(); ++row) {
                if (list->index(row, 0).data().toString() == rcid) {
                    m_window->ModelsTV->selectRow(row);
                    m_window->refreshRC();
                    return true;
                }
            }
        }
        return false;
    }

    QString selectedRcid() const
    {
        const QModelIndex current = m_window->ModelsTV->currentIndex();
        return current.isValid() ? current.sibling(current.row(), 0).data().toString() : QString();
    }

    // Runs action while a modal dialog is open: fill works on it, and the
    // dialog is closed afterwards should fill leave it open.
    void whileDialogOpen(const std::function<void()> &open, const std::function<void(QDialog *)> &fill)
    {
        QVERIFY(TestSupport::whileModalDialogOpen(open, fill));
    }

    void type(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    QStringList rows(const QString &table)
    {
        return TestSupport::tableRows(m_db, table,
                                      table == QLatin1String("rcmodels") ? QStringLiteral("Rcid")
                                                                         : QStringLiteral("Rcid,RCTypeId,Nkey"));
    }

    QStringList photos() const
    {
        return QDir(QStringLiteral("RCImages")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries, QDir::Name);
    }

    QString ownMasterWithoutPhotos()
    {
        QSqlQuery q(m_db);
        q.exec(QStringLiteral("SELECT Rcid FROM rcmodels WHERE Own=1 AND Rcid=Link ORDER BY Rcid"));
        while (q.next())
            if (!QFileInfo::exists(PhotoPlaces::relativePath(q.value(0).toString(), 1)))
                return q.value(0).toString();
        return QString();
    }

    void exec(const QString &sql)
    {
        QSqlQuery q(m_db);
        QVERIFY2(q.exec(sql), qPrintable(sql));
    }

private slots:
    void initTestCase()
    {
        m_previousDir = QDir::currentPath();
        MessageBox::setAutomatic(true);
    }
    void cleanupTestCase() { QDir::setCurrent(m_previousDir); }

    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        QVERIFY(TestSupport::writeSampleDirectory(m_dir->path()));
        QDir::setCurrent(m_dir->path());
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        m_db.setDatabaseName(QStringLiteral("rc.db"));
        QVERIFY(m_db.open());
        for (const SamplePhotos::Set &set : SamplePhotos::choose(m_db)) {
            if (set.places == QList<int>{1, 2, 3})
                m_linkedMaster = set.master;
            if (set.places == QList<int>{1, 3})
                m_gapMaster = set.master;
        }
        QVERIFY(!m_linkedMaster.isEmpty() && !m_gapMaster.isEmpty());
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
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
        QDir::setCurrent(m_previousDir);
        delete m_dir;
        m_dir = nullptr;
        MessageBox::takeLog();
    }

    void addNewModel()
    {
        const int before = rows(QStringLiteral("rcmodels")).size();
        whileDialogOpen([&] { m_window->actionNewRemoteControl->trigger(); },
                        [&](QDialog *dialog) {
                            QCOMPARE(dialog, static_cast<QDialog *>(&m_window->newRemoteDialog));
                            QCOMPARE(m_window->newRemoteDialog.windowTitle(), QStringLiteral("New Remote Control"));
                            type(m_window->newRemoteDialog.brandLineEdit, QStringLiteral("o'neil"));
                            type(m_window->newRemoteDialog.typeLineEdit, QStringLiteral("tv 100%"));
                            type(m_window->newRemoteDialog.modelLineEdit, QStringLiteral("on-1"));
                            QTest::mousePress(m_window->newRemoteDialog.okPushButton, Qt::LeftButton);
                            QVERIFY(!dialog->isVisible()); // closed as the button went down
                        });
        QSqlQuery q(m_db);
        QVERIFY(q.exec(QStringLiteral("SELECT Rcid, Link, Own, Type FROM rcmodels WHERE Brand='O''NEIL' AND "
                                      "Model='ON-1'")));
        QVERIFY(q.next());
        QCOMPARE(q.value(1).toString(), q.value(0).toString());
        QCOMPARE(q.value(2).toInt(), 1);
        QCOMPARE(q.value(3).toString(), QStringLiteral("TV 100%"));
        QCOMPARE(rows(QStringLiteral("rcmodels")).size(), before + 1);
        QCOMPARE(selectedRcid(), q.value(0).toString());
        // The filters now list the new model.
        QCOMPARE(m_window->comboBoxDatabase->currentIndex(), 1);
        QCOMPARE(m_window->brandLineEdit->text(), QStringLiteral("O'NEIL"));
        QCOMPARE(m_window->modelLineEdit->text(), QStringLiteral("ON-1"));
        QVERIFY(MessageBox::takeLog().isEmpty());
        // The user knows the model by brand and model, not by its identifier.
        QCOMPARE(m_window->statusbar->currentMessage(), QStringLiteral("The model O'NEIL ON-1 was saved."));
    }

    void emptyFieldsAreNamed_data()
    {
        QTest::addColumn<QString>("brand");
        QTest::addColumn<QString>("typeText");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("missing");
        QTest::addRow("all empty") << "" << "" << "" << "Brand, Type, Model";
        QTest::addRow("no model") << "b" << "t" << "" << "Model";
        QTest::addRow("no brand, no type") << "" << "" << "m" << "Brand, Type";
    }
    void emptyFieldsAreNamed()
    {
        QFETCH(QString, brand);
        QFETCH(QString, typeText);
        QFETCH(QString, model);
        QFETCH(QString, missing);
        const QStringList before = rows(QStringLiteral("rcmodels"));
        whileDialogOpen([&] { m_window->actionNewRemoteControl->trigger(); },
                        [&](QDialog *dialog) {
                            NewRemoteDialogImpl &d = m_window->newRemoteDialog;
                            type(d.brandLineEdit, brand);
                            type(d.typeLineEdit, typeText);
                            type(d.modelLineEdit, model);
                            QTest::mousePress(d.okPushButton, Qt::LeftButton);
                            QVERIFY(dialog->isVisible()); // the user may fill them in
                        });
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].kind, QStringLiteral("warning"));
        QCOMPARE(log[0].text, QStringLiteral("The model was not saved: these fields are empty: ") + missing);
        QCOMPARE(rows(QStringLiteral("rcmodels")), before);
    }

    void failedWriteIsReportedAndDialogStaysOpen()
    {
        exec(QStringLiteral("CREATE TRIGGER full BEFORE INSERT ON rcmodels BEGIN SELECT RAISE(ABORT, 'disk is "
                            "full'); END"));
        const QStringList before = rows(QStringLiteral("rcmodels"));
        whileDialogOpen([&] { m_window->addNewRemoteControlDialog(); },
                        [&](QDialog *dialog) {
                            type(m_window->newRemoteDialog.brandLineEdit, QStringLiteral("b"));
                            type(m_window->newRemoteDialog.typeLineEdit, QStringLiteral("t"));
                            type(m_window->newRemoteDialog.modelLineEdit, QStringLiteral("m"));
                            QTest::mousePress(m_window->newRemoteDialog.okPushButton, Qt::LeftButton);
                            QTest::mouseRelease(m_window->newRemoteDialog.okPushButton, Qt::LeftButton);
                            QVERIFY(dialog->isVisible());
                        });
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].kind, QStringLiteral("warning"));
        QVERIFY2(log[0].text.contains(QLatin1String("disk is full")), qPrintable(log[0].text));
        QCOMPARE(rows(QStringLiteral("rcmodels")), before);
    }

    void editFactoryModelOnlyMakesItOwn()
    {
        QSqlQuery q(m_db);
        QVERIFY(q.exec(QStringLiteral("SELECT Rcid FROM rcmodels WHERE Own=0 AND Hidden=0 AND Hidden1=0 ORDER BY Rcid")));
        QVERIFY(q.next());
        const QString rcid = q.value(0).toString();
        exec(QStringLiteral("UPDATE rcmodels SET Correction=1.25, Prot=1234, Documentation='<b>factory</b> text' "
                            "WHERE Rcid='%1'").arg(rcid));
        QVERIFY(select(rcid));
        const QVariantMap before = TestSupport::modelRow(m_db, rcid);
        m_window->enableCorrection = true;
        m_window->enableProtocol = true;
        whileDialogOpen([&] { m_window->editRemoteControlDialog(); },
                        [&](QDialog *) {
                            NewRemoteDialogImpl &d = m_window->newRemoteDialog;
                            QCOMPARE(d.mode, 2);
                            QCOMPARE(d.brandLineEdit->text(), before.value(QStringLiteral("Brand")).toString());
                            QVERIFY(!d.brandLineEdit->isEnabled());
                            QVERIFY(d.correctionDSB->isVisible());
                            QTest::mouseClick(d.ownCheckBox, Qt::LeftButton, {}, QPoint(8, d.ownCheckBox->height() / 2));
                            QTest::mousePress(d.okPushButton, Qt::LeftButton);
                        });
        QVariantMap expected = before;
        expected[QStringLiteral("Own")] = 1;
        expected[QStringLiteral("Flag")] = 0;
        const QVariantMap after = TestSupport::modelRow(m_db, rcid);
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(after.value(it.key()).toString(), it.value().toString());
        // The brand filter holds the brand as stored, so the model stays listed.
        QCOMPARE(m_window->brandLineEdit->text(), before.value(QStringLiteral("Brand")).toString());
        QCOMPARE(selectedRcid(), rcid);
    }

    void linkJoinsTheMasterOfTheSelectedModel()
    {
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("SELECT Rcid FROM rcmodels WHERE Link=? AND Rcid!=Link"));
        q.addBindValue(m_linkedMaster);
        QVERIFY(q.exec() && q.next());
        QVERIFY(select(q.value(0).toString()));
        whileDialogOpen([&] { m_window->addNewRemoteControlLinkDialog(); },
                        [&](QDialog *) {
                            NewRemoteDialogImpl &d = m_window->newRemoteDialog;
                            QCOMPARE(d.mode, 3);
                            type(d.brandLineEdit, QStringLiteral("linked"));
                            type(d.typeLineEdit, QStringLiteral("tv"));
                            type(d.modelLineEdit, QStringLiteral("l-1"));
                            QTest::mousePress(d.okPushButton, Qt::LeftButton);
                        });
        QVERIFY(q.exec(QStringLiteral("SELECT Link, Rcid FROM rcmodels WHERE Brand='LINKED'")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), m_linkedMaster);
        QCOMPARE(selectedRcid(), q.value(1).toString());
        QCOMPARE(m_window->comboBoxDatabase->currentIndex(), 1);
    }

    // Filters that would hide the new link give way to its own brand and model.
    void newLinkIsListedDespiteTheFilters()
    {
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("SELECT Rcid, Brand FROM rcmodels WHERE Link=? AND Rcid!=Link"));
        q.addBindValue(m_linkedMaster);
        QVERIFY(q.exec() && q.next());
        const QString linked = q.value(0).toString();
        m_window->comboBoxDatabase->setCurrentIndex(1);
        m_window->brandLineEdit->setText(q.value(1).toString());
        m_window->rcidLineEdit->setText(linked);
        QVERIFY(select(linked));
        whileDialogOpen([&] { m_window->addNewRemoteControlLinkDialog(); },
                        [&](QDialog *) {
                            NewRemoteDialogImpl &d = m_window->newRemoteDialog;
                            type(d.brandLineEdit, QStringLiteral("elsewhere"));
                            type(d.typeLineEdit, QStringLiteral("tv"));
                            type(d.modelLineEdit, QStringLiteral("e-1"));
                            QTest::mousePress(d.okPushButton, Qt::LeftButton);
                        });
        QVERIFY(q.exec(QStringLiteral("SELECT Rcid FROM rcmodels WHERE Brand='ELSEWHERE'")));
        QVERIFY(q.next());
        const QString rcid = q.value(0).toString();
        QCOMPARE(selectedRcid(), rcid);
        QCOMPARE(m_window->brandLineEdit->text(), QStringLiteral("ELSEWHERE"));
        QVERIFY(m_window->rcidLineEdit->text().isEmpty());
        QCOMPARE(m_window->statusbar->currentMessage(), QStringLiteral("The model ELSEWHERE E-1 was saved."));
    }

    void linkWithMissingMasterOpensNothing()
    {
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("SELECT Rcid FROM rcmodels WHERE Link=? AND Rcid!=Link"));
        q.addBindValue(m_linkedMaster);
        QVERIFY(q.exec() && q.next());
        const QString linked = q.value(0).toString();
        exec(QStringLiteral("DELETE FROM rcmodels WHERE Rcid='%1'").arg(m_linkedMaster));
        QVERIFY(select(linked));
        const QStringList before = rows(QStringLiteral("rcmodels"));
        m_window->addNewRemoteControlLinkDialog(); // would block here if it opened
        QVERIFY(!m_window->newRemoteDialog.isVisible());
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QVERIFY(log[0].text.contains(m_linkedMaster));
        QCOMPARE(rows(QStringLiteral("rcmodels")), before);
    }

    void deleteMasterWithLinks()
    {
        exec(QStringLiteral("UPDATE rcmodels SET Own=1 WHERE Link='%1'").arg(m_linkedMaster));
        QVERIFY(select(m_linkedMaster));
        const int row = m_window->ModelsTV->currentIndex().row();
        QStringList models = rows(QStringLiteral("rcmodels"));
        QStringList keys = rows(QStringLiteral("rckeys"));
        QStringList files = photos();
        MessageBox::setNextAnswer(QMessageBox::Yes);
        m_window->deleteRemoteControl();
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].kind, QStringLiteral("question"));
        QCOMPARE(log[0].title, QStringLiteral("Confirm"));
        QVERIFY(log[0].text.startsWith(QLatin1String("Do you really want to delete  ")));
        QVERIFY(log[0].text.endsWith(
            QLatin1String("  ?\nThis remote control has links.\nAll links will be deleted too!")));

        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("SELECT Rcid FROM rcmodels WHERE Link=?"));
        q.addBindValue(m_linkedMaster);
        QVERIFY(q.exec());
        QVERIFY(!q.next());
        models.removeIf([&](const QString &r) { return r.section(QLatin1Char('|'), 5, 5) == m_linkedMaster; });
        keys.removeIf([&](const QString &r) { return r.startsWith(m_linkedMaster + QLatin1Char('|')); });
        files.removeIf([&](const QString &f) { return f.startsWith(m_linkedMaster + QLatin1Char('_')); });
        QCOMPARE(rows(QStringLiteral("rcmodels")), models);
        QCOMPARE(rows(QStringLiteral("rckeys")), keys);
        QCOMPARE(photos(), files);
        QVERIFY(files.size() >= 3); // the other masters kept their photos
        // The row above the deleted one is selected in the rebuilt list.
        QCOMPARE(m_window->ModelsTV->currentIndex().row(), qMax(0, row - 1));
    }

    // A name from an imported file is shown as typed: a picture tag in it
    // must not grow the question past the screen.
    void deleteQuestionShowsNamesAsTyped()
    {
        exec(QStringLiteral("UPDATE rcmodels SET Own=1, Brand='<b>ACME</b>', Model='<img src=\"/tmp/x.jpg\">' "
                            "WHERE Link='%1'").arg(m_gapMaster));
        QVERIFY(select(m_gapMaster));
        const QStringList models = rows(QStringLiteral("rcmodels"));
        MessageBox::setNextAnswer(QMessageBox::No);
        m_window->deleteRemoteControl();
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].kind, QStringLiteral("question"));
        QVERIFY2(log[0].text.startsWith(
                     QLatin1String("Do you really want to delete  <b>ACME</b>  <img src=\"/tmp/x.jpg\">  ?")),
                 qPrintable(log[0].text));
        QCOMPARE(log[0].textFormat, Qt::PlainText);
        QCOMPARE(rows(QStringLiteral("rcmodels")), models);
    }

    void deleteKeyOnFactoryModelIsRefused()
    {
        QSqlQuery q(m_db);
        QVERIFY(q.exec(QStringLiteral("SELECT Rcid FROM rcmodels WHERE Own=0 AND Hidden=0 AND Hidden1=0")));
        QVERIFY(q.next());
        QVERIFY(select(q.value(0).toString()));
        const QStringList models = rows(QStringLiteral("rcmodels"));
        m_window->activateWindow();
        m_window->ModelsTV->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(m_window->ModelsTV));
        QTest::keyClick(m_window->ModelsTV, Qt::Key_Delete);
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].kind, QStringLiteral("critical"));
        QCOMPARE(log[0].text, QStringLiteral("cannot delete key from FACTORY database."));
        QCOMPARE(rows(QStringLiteral("rcmodels")), models);
    }

    void deleteAnsweredNoOrRefusedOrFailed_data()
    {
        QTest::addColumn<QString>("case_");
        QTest::addColumn<QString>("lastBoxKind");
        QTest::addRow("answer no") << "no"
                                   << "question";
        QTest::addRow("factory model") << "factory"
                                       << "critical";
        QTest::addRow("keys locked") << "locked"
                                     << "warning";
        QTest::addRow("own master with a factory link") << "factory link"
                                                        << "critical";
    }
    void deleteAnsweredNoOrRefusedOrFailed()
    {
        QFETCH(QString, case_);
        QFETCH(QString, lastBoxKind);
        exec(QStringLiteral("UPDATE rcmodels SET Own=%1 WHERE Link='%2'")
                 .arg(case_ == QLatin1String("factory") ? 0 : 1)
                 .arg(m_gapMaster));
        if (case_ == QLatin1String("factory link"))
            exec(QStringLiteral("UPDATE rcmodels SET Own=0 WHERE Link='%1' AND Rcid!=Link").arg(m_linkedMaster));
        if (case_ == QLatin1String("locked"))
            exec(QStringLiteral("CREATE TRIGGER locked BEFORE DELETE ON rckeys BEGIN SELECT RAISE(ABORT, 'keys are "
                                "locked'); END"));
        const QString master = case_ == QLatin1String("factory link") ? m_linkedMaster : m_gapMaster;
        QVERIFY(select(master));
        const QStringList models = rows(QStringLiteral("rcmodels"));
        const QStringList keys = rows(QStringLiteral("rckeys"));
        const QStringList files = photos();
        MessageBox::setNextAnswer(case_ == QLatin1String("no") ? QMessageBox::No : QMessageBox::Yes);
        m_window->deleteRemoteControl();
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QVERIFY(!log.isEmpty());
        QCOMPARE(log.last().kind, lastBoxKind);
        if (case_ == QLatin1String("factory")) {
            QCOMPARE(log.size(), 1);
            QCOMPARE(log[0].title, QStringLiteral("information"));
            QCOMPARE(log[0].text, QStringLiteral("cannot delete key from FACTORY database."));
        }
        // Refused before the question, with the reason.
        if (case_ == QLatin1String("factory link")) {
            QCOMPARE(log.size(), 1);
            QCOMPARE(log[0].title, QStringLiteral("information"));
            QCOMPARE(log[0].text, QStringLiteral("This remote control cannot be deleted: its links include models "
                                                 "of the FACTORY database."));
        }
        if (case_ == QLatin1String("locked"))
            QVERIFY(log.last().text.contains(QLatin1String("keys are locked")));
        QCOMPARE(rows(QStringLiteral("rcmodels")), models);
        QCOMPARE(rows(QStringLiteral("rckeys")), keys);
        QCOMPARE(photos(), files);
        QCOMPARE(selectedRcid(), master);
    }

    void openersWithoutSelectedModelOpenNothing()
    {
        m_window->brandLineEdit->setText(QStringLiteral("NO SUCH BRAND"));
        m_window->refreshModels();
        QCOMPARE(m_window->ModelsTV->model()->rowCount(), 0);
        const QStringList before = rows(QStringLiteral("rcmodels"));
        m_window->addNewRemoteControlLinkDialog(); // would block here if it opened
        m_window->editRemoteControlDialog();
        QVERIFY(!m_window->newRemoteDialog.isVisible());
        QVERIFY(MessageBox::takeLog().isEmpty());
        QCOMPARE(rows(QStringLiteral("rcmodels")), before);
    }

    void photoTabShowsThePlaces()
    {
        // Off the Images tab the photo is marked but not loaded.
        QVERIFY(select(m_linkedMaster));
        QVERIFY(!m_window->tabWidget->tabIcon(1).isNull());
        QVERIFY(m_window->imagePixmap.isNull());
        m_window->tabWidget->setCurrentIndex(1);
        QVERIFY(!m_window->tabWidget->tabIcon(1).isNull());
        QVERIFY(!m_window->imagePixmap.isNull());
        QCOMPARE(m_window->currentImage, 1);
        QCOMPARE(m_window->scrollArea->widget(), m_window->imageLabel);
        QCOMPARE(m_window->imageLabel->size(), m_window->scrollArea->size() - QSize(20, 20));
        const QList<bool> enabled{m_window->pushButton1->isEnabled(), m_window->pushButton2->isEnabled(),
                                  m_window->pushButton3->isEnabled(), m_window->pushButton4->isEnabled(),
                                  m_window->pushButton5->isEnabled()};
        QCOMPARE(enabled, (QList<bool>{true, true, true, false, false}));

        QTest::mouseClick(m_window->pushButton3, Qt::LeftButton);
        QCOMPARE(m_window->currentImage, 3);
        QCOMPARE(m_window->imagePixmap.size(), QSize(SamplePhotos::Width, SamplePhotos::Height));
        m_window->imageClick(5); // disabled button: nothing happens
        QCOMPARE(m_window->currentImage, 3);

        // Every model of the group shows the master's photos.
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("SELECT Rcid FROM rcmodels WHERE Link=? AND Rcid!=Link"));
        q.addBindValue(m_linkedMaster);
        QVERIFY(q.exec() && q.next());
        QVERIFY(select(q.value(0).toString()));
        QVERIFY(!m_window->imagePixmap.isNull());
        QVERIFY(m_window->pushButton3->isEnabled());
        QVERIFY(!m_window->pushButton4->isEnabled());

        // A model without photos: no icon, nothing shown, every button off.
        QVERIFY(select(ownMasterWithoutPhotos()));
        QVERIFY(m_window->tabWidget->tabIcon(1).isNull());
        QVERIFY(m_window->imagePixmap.isNull());
        QVERIFY(!m_window->pushButton1->isEnabled());
        QVERIFY(!m_window->pushButtonDelete->isEnabled());
    }

    void deletePhotoRenumbers()
    {
        QVERIFY(select(m_linkedMaster));
        m_window->tabWidget->setCurrentIndex(1);
        QTest::mouseClick(m_window->pushButton2, Qt::LeftButton);
        MessageBox::setNextAnswer(QMessageBox::Yes);
        m_window->deleteNewImage();
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].text, QStringLiteral("do you realy want to delete this image?"));
        const PhotoPlaces places(QDir::currentPath(), m_linkedMaster);
        QVERIFY(places.isTaken(1) && places.isTaken(2) && !places.isTaken(3));
        QVERIFY(m_window->pushButton2->isEnabled());
        QVERIFY(!m_window->pushButton3->isEnabled());
        QCOMPARE(m_window->currentImage, 1);

        // With a gap: deleting photo 1 moves 3 to 2 and leaves place 1 empty.
        QVERIFY(select(m_gapMaster));
        MessageBox::setNextAnswer(QMessageBox::Yes);
        m_window->deleteNewImage();
        const PhotoPlaces gap(QDir::currentPath(), m_gapMaster);
        QVERIFY(!gap.isTaken(1) && gap.isTaken(2) && !gap.isTaken(3));
        QVERIFY(m_window->tabWidget->tabIcon(1).isNull());
        QVERIFY(!m_window->pushButtonDelete->isEnabled());
        QVERIFY(m_window->pushButton2->isEnabled());

        // Answering No deletes nothing.
        const QStringList before = photos();
        MessageBox::setNextAnswer(QMessageBox::No);
        m_window->deleteNewImage();
        QCOMPARE(photos(), before);
    }

    // Picks file through "+ Image" as a user would.
    void addThroughTheDialog(const QString &file)
    {
        whileDialogOpen([&] { m_window->addNewImage(); },
                        [&](QDialog *dialog) {
                            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                            QVERIFY(name);
                            name->setText(file);
                            dialog->accept();
                        });
    }

    void refusedPhotoLeavesTheShownPhoto_data()
    {
        QTest::addColumn<QString>("case_");
        QTest::addRow("not a picture") << "text";
        QTest::addRow("full disk") << "full";
    }
    void refusedPhotoLeavesTheShownPhoto()
    {
        QFETCH(QString, case_);
        QVERIFY(QDir().mkpath(QStringLiteral("pictures")));
        QString chosen = QDir::current().absoluteFilePath(QStringLiteral("pictures/small.png"));
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QVERIFY(picture.save(chosen, "PNG"));
        std::unique_ptr<FullDisk> disk;
        if (case_ == QLatin1String("text")) {
            chosen = QDir::current().absoluteFilePath(QStringLiteral("pictures/notes.jpg"));
            QVERIFY(TestSupport::writeFile(chosen, "not a picture at all"));
        } else {
            // The photo folder lies on a disk that is full.
            disk = std::make_unique<FullDisk>(512 * 1024);
            QVERIFY(disk->isValid());
            const QDir photoDir(disk->path());
            for (const QString &name : photos())
                QVERIFY(QFile::copy(QStringLiteral("RCImages/") + name, photoDir.filePath(name)));
            QVERIFY(QDir(QStringLiteral("RCImages")).removeRecursively());
            QVERIFY(QFile::link(disk->path(), QStringLiteral("RCImages")));
            QVERIFY(disk->fill());
        }
        QVERIFY(select(m_linkedMaster));
        m_window->tabWidget->setCurrentIndex(1);
        QTest::mouseClick(m_window->pushButton2, Qt::LeftButton);
        const PhotoPlaces places(QDir::currentPath(), m_linkedMaster);
        const QImage second = QImage(places.path(2)).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(m_window->imagePixmap.toImage().convertToFormat(QImage::Format_RGB32), second);
        const QStringList before = photos();

        addThroughTheDialog(chosen);
        if (disk)
            disk->release();

        QList<MessageBox::Record> boxes;
        for (const MessageBox::Record &r : MessageBox::takeLog())
            if (!r.text.contains(QLatin1String("config.ini")))
                boxes << r;
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.at(0).kind, QStringLiteral("warning"));
        if (disk) {
            QVERIFY2(boxes.at(0).text.contains(QDir::toNativeSeparators(places.path(4)))
                         && boxes.at(0).text.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
                     qPrintable(boxes.at(0).text));
            QVERIFY(QDir(disk->path()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".tmp")).isEmpty());
        }
        // Nothing stored, and the area shows a photo that exists: the one a
        // delete would remove.
        QCOMPARE(photos(), before);
        QVERIFY(!places.isTaken(4));
        QVERIFY(!m_window->pushButton4->isEnabled());
        const int shown = m_window->currentImage;
        QVERIFY(shown >= 1 && shown <= 3);
        QCOMPARE(m_window->imagePixmap.toImage().convertToFormat(QImage::Format_RGB32),
                 QImage(places.path(shown)).convertToFormat(QImage::Format_RGB32));
        QVERIFY(!m_window->imageLabel->pixmap().isNull());
    }

    void addPhotoThroughTheFileDialog_data()
    {
        QTest::addColumn<QString>("case_");
        QTest::addColumn<int>("storedPlace");
        QTest::addRow("fills the gap") << "gap" << 2;
        QTest::addRow("photo folder missing") << "nofolder" << 0;
        QTest::addRow("file in place of the photo folder") << "folderfile" << 0;
        QTest::addRow("unreadable file") << "unreadable" << 0;
        QTest::addRow("named pipe") << "pipe" << 0;
        QTest::addRow("master missing") << "nomaster" << 0;
        QTest::addRow("dialog cancelled") << "cancel" << 0;
    }
    void addPhotoThroughTheFileDialog()
    {
        QFETCH(QString, case_);
        QFETCH(int, storedPlace);
        QVERIFY(QDir().mkpath(QStringLiteral("pictures")));
        QString chosen = QDir::current().absoluteFilePath(QStringLiteral("pictures/chosen.png"));
        QImage picture(2000, 1500, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgb((x * 7) ^ y, (y * 13) ^ x, (x * y) & 0xff));
        QVERIFY(picture.save(chosen, "PNG"));
        if (case_ == QLatin1String("nofolder") || case_ == QLatin1String("folderfile")) {
            QVERIFY(QDir(QStringLiteral("RCImages")).removeRecursively());
            if (case_ == QLatin1String("folderfile")) {
                QFile blocker(QStringLiteral("RCImages")); // a file where the folder belongs
                QVERIFY(blocker.open(QIODevice::WriteOnly));
            }
        } else if (case_ == QLatin1String("unreadable")) {
            chosen = QDir::current().absoluteFilePath(QStringLiteral("pictures/broken.jpg"));
            QFile f(chosen);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("not a picture at all");
        } else if (case_ == QLatin1String("nomaster")) {
            exec(QStringLiteral("UPDATE rcmodels SET Link='00000000' WHERE Rcid='%1'").arg(m_gapMaster));
        }
        // The window must not wait in open() for a writer of the pipe.
        std::unique_ptr<FifoWatchdog> pipe;
        if (case_ == QLatin1String("pipe")) {
            chosen = QDir::current().absoluteFilePath(QStringLiteral("pictures/pipe.png"));
            pipe = std::make_unique<FifoWatchdog>(chosen);
            QVERIFY(pipe->made());
        }
        QVERIFY(select(m_gapMaster));
        m_window->tabWidget->setCurrentIndex(1);
        const QStringList before = photos();

        whileDialogOpen([&] { m_window->addNewImage(); },
                        [&](QDialog *dialog) {
                            auto *files = qobject_cast<QFileDialog *>(dialog);
                            QVERIFY(files);
                            QCOMPARE(files->windowTitle(), QStringLiteral("Open Image"));
                            if (case_ == QLatin1String("cancel")) {
                                files->reject();
                                return;
                            }
                            // Typed as a user would: selectFile() leaves the name
                            // field alone once that field has the focus.
                            auto *name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                            QVERIFY(name);
                            name->setText(chosen);
                            QCOMPARE(files->selectedFiles(), QStringList{chosen});
                            dialog->accept();
                        });

        const QList<MessageBox::Record> log = MessageBox::takeLog();
        const PhotoPlaces places(QDir::currentPath(), m_gapMaster);
        if (storedPlace > 0) {
            QVERIFY(log.isEmpty());
            QCOMPARE(m_window->currentImage, storedPlace);
            QImageReader stored(places.path(storedPlace));
            QCOMPARE(stored.format(), QByteArray("jpeg"));
            QCOMPARE(stored.size(), QSize(1280, 960));
            QVERIFY(m_window->pushButton2->isEnabled());
            QVERIFY(m_window->pushButtonDelete->isEnabled());
            QCOMPARE(m_window->lastImagesPath, QDir::current().absoluteFilePath(QStringLiteral("pictures")));
        } else {
            QCOMPARE(log.size(), case_ == QLatin1String("cancel") ? 0 : 1);
            QVERIFY(!places.isTaken(2));
            if (case_ != QLatin1String("nofolder") && case_ != QLatin1String("folderfile"))
                QCOMPARE(photos(), before);
            if (case_ == QLatin1String("nofolder"))
                QCOMPARE(log[0].text, QStringLiteral("The photo folder \"RCImages/\" does not exist; the photo was "
                                                     "not stored."));
            if (case_ == QLatin1String("folderfile"))
                QCOMPARE(log[0].text, QStringLiteral("\"RCImages\" in the working directory is a file, not the "
                                                     "photo folder; the photo was not stored."));
            if (case_ == QLatin1String("pipe")) {
                QVERIFY2(!pipe->fired(), "the window waited on the pipe");
                QCOMPARE(log[0].text, QStringLiteral("Cannot read the file %1: not a regular file but a named pipe")
                                          .arg(QDir::toNativeSeparators(chosen)));
            }
        }
    }

    // A photo in "RCImages/" that is a named pipe or a link to a device is
    // not read when the Images tab shows it: the window goes on, shows no
    // photo and names the file in the status line and the log.
    void photoThatIsNoRegularFileIsToldNotShown_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::addRow("named pipe") << "pipe" << "not a regular file but a named pipe";
        QTest::addRow("link to a device") << "device" << "not a regular file but a device";
    }
    void photoThatIsNoRegularFileIsToldNotShown()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const PhotoPlaces places(QDir::currentPath(), m_linkedMaster);
        for (int n : {1, 3}) {
            QVERIFY(QFile::remove(places.path(n)));
            if (kind == QLatin1String("device"))
                QVERIFY(QFile::link(QStringLiteral("/dev/zero"), places.path(n)));
        }
        std::unique_ptr<FifoWatchdog> pipes[2];
        if (kind == QLatin1String("pipe")) {
            pipes[0] = std::make_unique<FifoWatchdog>(places.path(1));
            pipes[1] = std::make_unique<FifoWatchdog>(places.path(3));
            QVERIFY(pipes[0]->made() && pipes[1]->made());
        }
        QVERIFY(select(m_linkedMaster));
        m_window->tabWidget->setCurrentIndex(1); // opening the tab shows place 1
        QVERIFY(m_window->imagePixmap.isNull());
        QString told = QStringLiteral("Cannot read the file %1: %2").arg(QDir::toNativeSeparators(places.path(1)), reason);
        QCOMPARE(m_window->statusbar->currentMessage(), told);
        QVERIFY2(m_window->textEdit->toPlainText().contains(told), qPrintable(m_window->textEdit->toPlainText()));

        // A regular photo beside them is shown; the other is told when chosen.
        QTest::mouseClick(m_window->pushButton2, Qt::LeftButton);
        QVERIFY(!m_window->imagePixmap.isNull());
        QTest::mouseClick(m_window->pushButton3, Qt::LeftButton);
        QVERIFY(m_window->imagePixmap.isNull());
        told = QStringLiteral("Cannot read the file %1: %2").arg(QDir::toNativeSeparators(places.path(3)), reason);
        QCOMPARE(m_window->statusbar->currentMessage(), told);
        for (const auto &pipe : pipes)
            QVERIFY2(!pipe || !pipe->fired(), "the window waited on the pipe");
        QVERIFY(MessageBox::takeLog().isEmpty());
    }
};

QTEST_MAIN(TestMainWindowRecords)
#include "tst_mainwindowrecords.moc"
