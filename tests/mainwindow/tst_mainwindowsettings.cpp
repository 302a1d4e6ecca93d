#include "mainwindow/MainWindowImpl.h"

#include "FullDisk.h"
#include "TestSupport.h"
#include "app/MessageBox.h"
#include "mainwindow/SettingsFile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>

namespace {
// Counts every menu that is shown, however briefly: a pop-up menu made
// visible outside its menu bar flashes up as a floating window.
class MenuShowSpy : public QObject
{
public:
    MenuShowSpy() { qApp->installEventFilter(this); }
    ~MenuShowSpy() override { qApp->removeEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<QMenu *>(watched))
            ++count;
        return false;
    }
};
} // namespace

// The main window's settings: "config.ini" at start and after changes, the
// settings dialog, the two display modes and the About box, on real windows
// built in a fresh working directory per test.
class TestMainWindowSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir catalogueDir;
    std::unique_ptr<QTemporaryDir> workDir;
    QString startDir;

    QString iniPath() const { return workDir->filePath("config.ini"); }

    void writeIni(const QByteArray &content)
    {
        QFile f(iniPath());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(content), qint64(content.size()));
    }

    QByteArray readIni() const
    {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString iniValue(const QString &key) const
    {
        // A fresh object per read: the file, not a cache, is what counts.
        QSettings s(iniPath(), QSettings::IniFormat);
        return s.value(key).toString();
    }

    // The boxes of one kind logged since the last call; warnings only when
    // they are about the settings file. Other features may speak up while the
    // window is built without an application object.
    static QList<MessageBox::Record> takeBoxes(const QString &kind)
    {
        QList<MessageBox::Record> boxes;
        for (const MessageBox::Record &r : MessageBox::takeLog())
            if (r.kind == kind && (kind != "warning" || r.text.contains("config.ini")))
                boxes << r;
        return boxes;
    }

    static std::unique_ptr<MainWindowImpl> makeWindow() { return std::make_unique<MainWindowImpl>(); }

    // Runs the settings dialog through the window; inside() acts on the open
    // dialog. A guard closes it should inside() leave it open.
    static void runDialog(MainWindowImpl *w, const std::function<void()> &inside)
    {
        bool ran = false;
        QTimer::singleShot(0, w, [&] {
            QVERIFY(w->settingsDialog.isVisible());
            ran = true;
            inside();
        });
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, &w->settingsDialog, [w] { w->settingsDialog.done(QDialog::Rejected); });
        guard.start(10000);
        w->editSettings();
        QVERIFY(ran);
        QVERIFY2(guard.isActive(), "the dialog was left open");
        QVERIFY(!w->settingsDialog.isVisible());
    }

    static QList<QMenu *> visibleMenus()
    {
        QList<QMenu *> menus;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *menu = qobject_cast<QMenu *>(w); menu && menu->isVisible())
                menus << menu;
        return menus;
    }

private slots:
    void initTestCase()
    {
        MessageBox::setAutomatic(true);
        startDir = QDir::currentPath();
        QVERIFY(TestSupport::writeSampleDirectory(catalogueDir.path(), 5));
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE");
        db.setDatabaseName(catalogueDir.filePath("rc.db"));
        QVERIFY(db.open());
    }

    void init()
    {
        workDir = std::make_unique<QTemporaryDir>();
        QVERIFY(workDir->isValid());
        QVERIFY(QDir::setCurrent(workDir->path()));
        MessageBox::takeLog();
    }

    void cleanup()
    {
        QDir::setCurrent(startDir);
        workDir.reset();
    }

    // ---- loading and saving

    void loadsEveryMemberAtConstruction()
    {
        writeIni("[Settings]\ncustomerId=7\ndefaultCustomerId=2\ncompany=ACME\nsimpleProgramming=true\n"
                 "lastImportPath=\nrcTypes=3_1_3\n[UpdateInfo]\nautomaticUpdatesCheking=false\n"
                 "[Debug]\nshowRcidLink=true\nenableImages=1\n");
        auto w = makeWindow();
        QCOMPARE(w->customerId, QString("7"));
        QCOMPARE(w->defaultCustomerId, QString("2"));
        QCOMPARE(w->company, QString("ACME"));
        QVERIFY(w->settingsSimpleProgramming);
        QCOMPARE(w->lastImportPath, QString("xml"));
        QCOMPARE(w->rcTypesList, QStringList({"3", "1"}));
        QCOMPARE(w->rcTypes, QString("3,1"));
        QVERIFY(w->showRcidLink);
        QVERIFY(w->enableImages);
        QVERIFY(!w->showHidden);
        QCOMPARE(w->language, QString("English")); // no "Languages/" here
        QVERIFY(!QFile::exists(workDir->filePath("config.ini.lock")));
    }

    // A hand-made list of 100,000 remote types: the window starts at its
    // usual pace and offers the catalogue's types among them, each once.
    void longTypeListStartsQuickly()
    {
        QByteArray ids;
        for (int id = 100000; id >= 1; --id) {
            if (id != 2)
                ids += QByteArray::number(id) + '_';
        }
        ids += "x_3_1_3";
        writeIni("[Settings]\nsettingsFullVersion=true\nrcTypes=" + ids + "\n");
        QElapsedTimer timer;
        timer.start();
        auto w = makeWindow();
        // Some 1 s with the window's own work; a lookup per id took minutes.
        QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(w->rcTypesList, QStringList({"5", "4", "3", "1"}));
        QCOMPARE(w->rcTypes, QString("5,4,3,1"));
        // The lists come in id order.
        QCOMPARE(w->rcTypeList, QStringList({"1", "3", "4", "5"}));
        QAbstractItemModel *types = w->RCTypesTV->model();
        QStringList shown;
        for (int row = 0; row < types->rowCount(); ++row)
            shown << types->index(row, 0).data().toString();
        QCOMPARE(shown, QStringList({"1", "3", "4", "5"}));
        QVERIFY(takeBoxes("warning").isEmpty());

        // Another change leaves the list in the file as it was written.
        w->simpleVersion();
        QCOMPARE(iniValue("Settings/settingsFullVersion"), QString("false"));
        QVERIFY(readIni().contains("rcTypes=" + ids + "\n"));
    }

    void saveKeepsForeignKeys()
    {
        writeIni("[Settings]\ndefaultCustomerId=9\nlanguageShowType=1\n[UpdateInfo]\ndatabase=2023-11-21\n"
                 "[Debug]\nshowHidden=true\n");
        auto w = makeWindow();
        w->lastExportPath = "exports";
        w->saveSettings();
        QCOMPARE(iniValue("Settings/lastExportPath"), QString("exports"));
        QCOMPARE(iniValue("Settings/defaultCustomerId"), QString("9"));
        QCOMPARE(iniValue("Settings/languageShowType"), QString("1"));
        QCOMPARE(iniValue("Debug/showHidden"), QString("true"));
        QVERIFY(readIni().contains("database=2023-11-21\n"));
        QVERIFY(takeBoxes("warning").isEmpty());
    }

    // ---- settings dialog

    void dialogSavesAndReopensWithSavedValues()
    {
        writeIni("[Settings]\ncompany=Old\naddress=Somewhere\n");
        auto w = makeWindow();
        runDialog(w.get(), [&] {
            SettingsDialogImpl &d = w->settingsDialog;
            QCOMPARE(d.companyLineEdit->text(), QString("Old"));
            QCOMPARE(d.addressLineEdit->text(), QString("Somewhere"));
            QVERIFY(!d.advancedFilterCheckBox->isChecked());
            d.companyLineEdit->setText("  New, Ltd.  ");
            d.addressLineEdit->clear();
            d.contactLineEdit->setText("Ann");
            d.printOnlyFirstImageCheckBox->setChecked(true);
            d.advancedFilterCheckBox->setChecked(true);
            d.simpleProgrammingCheckBox->setChecked(true);
            d.automaticUpdatesChekingCheckBox->setChecked(true);
            // Saving acts when the button goes down.
            QTest::mousePress(d.savePushButton, Qt::LeftButton);
            QVERIFY(!d.isVisible());
            QTest::mouseRelease(d.savePushButton, Qt::LeftButton);
        });
        QCOMPARE(w->company, QString("  New, Ltd.  "));
        QCOMPARE(w->address, QString());
        QCOMPARE(w->contact, QString("Ann"));
        QVERIFY(w->printOnlyFirstImage && w->advancedFilter && w->settingsSimpleProgramming
                && w->automaticUpdatesCheking);
        QCOMPARE(iniValue("Settings/company"), QString("  New, Ltd.  "));
        QCOMPARE(iniValue("Settings/address"), QString());
        QVERIFY(readIni().contains("\naddress=\n"));
        QCOMPARE(iniValue("Settings/contact"), QString("Ann"));
        QCOMPARE(iniValue("Settings/printOnlyFirstImage"), QString("true"));
        QCOMPARE(iniValue("Settings/advancedFilter"), QString("true"));
        QCOMPARE(iniValue("Settings/simpleProgramming"), QString("true"));
        QCOMPARE(iniValue("UpdateInfo/automaticUpdatesCheking"), QString("true"));

        runDialog(w.get(), [&] {
            SettingsDialogImpl &d = w->settingsDialog;
            QCOMPARE(d.companyLineEdit->text(), QString("  New, Ltd.  "));
            QCOMPARE(d.addressLineEdit->text(), QString());
            QCOMPARE(d.contactLineEdit->text(), QString("Ann"));
            QVERIFY(d.printOnlyFirstImageCheckBox->isChecked());
            QVERIFY(d.advancedFilterCheckBox->isChecked());
            QVERIFY(d.simpleProgrammingCheckBox->isChecked());
            QVERIFY(d.automaticUpdatesChekingCheckBox->isChecked());
            QTest::mousePress(d.cancelPushButton, Qt::LeftButton);
        });

        // A restart reads the same values.
        w.reset();
        auto again = makeWindow();
        QCOMPARE(again->company, QString("  New, Ltd.  "));
        QVERIFY(again->automaticUpdatesCheking);
    }

    // A save writes what its action changed and nothing else: saving the
    // dialog unchanged leaves the file as it is, byte for byte.
    void saveWithoutChangeLeavesTheFile()
    {
        QVERIFY(!QFile::exists(iniPath()));
        auto w = makeWindow();
        QVERIFY(!QFile::exists(iniPath())); // construction alone writes nothing
        runDialog(w.get(), [&] { QTest::mousePress(w->settingsDialog.savePushButton, Qt::LeftButton); });
        QVERIFY(!QFile::exists(iniPath()));
        QVERIFY(!w->lastSettingsSaveFailed);

        const QByteArray byHand = "; written by hand\n[Settings]\ncompany = Kept\nlastExportPath=\n";
        writeIni(byHand);
        w = makeWindow();
        runDialog(w.get(), [&] { QTest::mousePress(w->settingsDialog.savePushButton, Qt::LeftButton); });
        QCOMPARE(readIni(), byHand);
        QVERIFY(takeBoxes("warning").isEmpty());
    }

    // Another writer (a second window on the same folder) saved its keys
    // after this window read the file: this window's saves keep them.
    void anotherWritersKeysSurvive()
    {
        writeIni("[Settings]\nsettingsFullVersion=true\ncompany=Old\n");
        auto w = makeWindow();
        QVERIFY(w->settingsFullVersion);
        {
            QSettings other(iniPath(), QSettings::IniFormat);
            const SettingsValues loaded = SettingsFile::load(other, SettingsFile::systemEnvironment());
            SettingsValues changed = loaded;
            changed.company = "ACME";
            QVERIFY(SettingsFile::save(other, loaded, changed));
        }
        w->simpleVersion();
        QCOMPARE(iniValue("Settings/company"), QString("ACME"));
        QCOMPARE(iniValue("Settings/settingsFullVersion"), QString("false"));

        // The dialog still shows the company this window read; a change of the
        // contact alone does not write it back.
        runDialog(w.get(), [&] {
            QCOMPARE(w->settingsDialog.companyLineEdit->text(), QString("Old"));
            w->settingsDialog.contactLineEdit->setText("Ann");
            QTest::mousePress(w->settingsDialog.savePushButton, Qt::LeftButton);
        });
        QCOMPARE(iniValue("Settings/contact"), QString("Ann"));
        QCOMPARE(iniValue("Settings/company"), QString("ACME"));
        QCOMPARE(iniValue("Settings/settingsFullVersion"), QString("false"));
        QVERIFY(takeBoxes("warning").isEmpty());
    }

    void cancelChangesNothing_data()
    {
        QTest::addColumn<int>("how");
        QTest::addRow("Cancel button") << 0;
        QTest::addRow("Escape") << 1;
        QTest::addRow("closed") << 2;
    }
    void cancelChangesNothing()
    {
        QFETCH(int, how);
        writeIni("[Settings]\ncompany=Kept\nadvancedFilter=false\n");
        auto w = makeWindow();
        w->saveSettings();
        const QByteArray before = readIni();
        runDialog(w.get(), [&] {
            SettingsDialogImpl &d = w->settingsDialog;
            d.companyLineEdit->setText("Changed");
            d.contactLineEdit->setText("Changed");
            d.advancedFilterCheckBox->setChecked(true);
            d.automaticUpdatesChekingCheckBox->setChecked(true);
            if (how == 0)
                QTest::mousePress(d.cancelPushButton, Qt::LeftButton);
            else if (how == 1)
                QTest::keyClick(&d, Qt::Key_Escape);
            else
                d.close();
        });
        QCOMPARE(w->company, QString("Kept"));
        QCOMPARE(w->contact, QString());
        QVERIFY(!w->advancedFilter);
        QVERIFY(!w->automaticUpdatesCheking);
        QCOMPARE(readIni(), before);
        // The next opening shows the stored values, not what was typed.
        runDialog(w.get(), [&] {
            QCOMPARE(w->settingsDialog.companyLineEdit->text(), QString("Kept"));
            QCOMPARE(w->settingsDialog.contactLineEdit->text(), QString());
            QVERIFY(!w->settingsDialog.advancedFilterCheckBox->isChecked());
            w->settingsDialog.close();
        });
    }

    // ---- a settings file that cannot be written

    // Every failed save is told, in a box and in the log: each one is a
    // change the next start will not know.
    void unwritableFileIsReportedEveryTime()
    {
        QVERIFY(QDir().mkpath(iniPath())); // a directory in the file's place
        auto w = makeWindow();
        QVERIFY(!w->settingsFullVersion); // defaults
        QCOMPARE(w->lastExportPath, QString("xml"));
        // Reading tells once that the file was not read and the defaults are used.
        const QList<MessageBox::Record> start = takeBoxes("warning");
        QCOMPARE(start.size(), 1);
        QVERIFY2(start.at(0).text.contains(QStringLiteral("Cannot read the file %1: not a regular file but a folder")
                                               .arg(QDir::toNativeSeparators(iniPath())))
                     && start.at(0).text.contains(QLatin1String("The program's default settings are used.")),
                 qPrintable(start.at(0).text));

        w->fullVersion();
        const QList<MessageBox::Record> first = takeBoxes("warning");
        QCOMPARE(first.size(), 1);
        QCOMPARE(first.at(0).title, QString("Settings"));
        QVERIFY2(first.at(0).text.contains(QDir::toNativeSeparators(iniPath())), qPrintable(first.at(0).text));

        runDialog(w.get(), [&] {
            w->settingsDialog.companyLineEdit->setText("Still here");
            QTest::mousePress(w->settingsDialog.savePushButton, Qt::LeftButton);
        });
        QCOMPARE(takeBoxes("warning").size(), 1);
        // The company is not in the file yet: each later save tries it again.
        w->simpleVersion();
        QCOMPARE(takeBoxes("warning").size(), 1);
        w->saveSettings();
        QCOMPARE(takeBoxes("warning").size(), 1);
        QCOMPARE(w->textEdit->toPlainText().count("The settings could not be saved"), 4);
        // The values stay in force for the run.
        QCOMPARE(w->company, QString("Still here"));
        QVERIFY(!w->settingsFullVersion);
        QVERIFY(QFileInfo(iniPath()).isDir());
    }

    void fullDiskKeepsTheFileAndTellsWhy()
    {
        // The working directory lies on a disk that fills up during the run.
        FullDisk disk(256 * 1024);
        QVERIFY(disk.isValid());
        QVERIFY(QDir::setCurrent(disk.path()));
        const QString ini = QDir(disk.path()).filePath("config.ini");
        QVERIFY(TestSupport::writeFile(ini, "[Settings]\ncompany=Kept Ltd.\n"));
        auto w = makeWindow();
        w->saveSettings();
        QVERIFY(takeBoxes("warning").isEmpty());
        const QString before = TestSupport::readText(ini);
        QVERIFY(before.contains("company=Kept Ltd."));

        QVERIFY(disk.fill());
        w->fullVersion();
        const QList<MessageBox::Record> boxes = takeBoxes("warning");
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes.at(0).text.contains(QDir::toNativeSeparators(ini)), qPrintable(boxes.at(0).text));
        QVERIFY2(boxes.at(0).text.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
                 qPrintable(boxes.at(0).text));
        w->lastExportPath = "elsewhere";
        w->saveSettings();
        QCOMPARE(takeBoxes("warning").size(), 1); // told again while it goes on failing
        disk.release();
        QCOMPARE(TestSupport::readText(ini), before);

        // Saved again with room, the earlier change too, and a later failure is told again.
        w->fullVersion();
        QVERIFY(takeBoxes("warning").isEmpty());
        QVERIFY(TestSupport::readText(ini).split('\n').contains("settingsFullVersion=true"));
        QVERIFY(TestSupport::readText(ini).split('\n').contains("lastExportPath=elsewhere"));
        QVERIFY(disk.fill());
        w->simpleVersion();
        QCOMPARE(takeBoxes("warning").size(), 1);
        disk.release();
        QVERIFY(TestSupport::readText(ini).split('\n').contains("settingsFullVersion=true"));
        w.reset();
        QVERIFY(QDir::setCurrent(workDir->path()));
    }

    void fileLostDuringTheRunIsReported()
    {
        auto w = makeWindow();
        w->fullVersion(); // the file comes into being
        QVERIFY(takeBoxes("warning").isEmpty());
        QVERIFY(QFile::remove(iniPath()));
        QVERIFY(QDir().mkpath(iniPath()));
        w->simpleVersion();
        w->lastExportPath = "elsewhere";
        w->saveSettings();
        QCOMPARE(takeBoxes("warning").size(), 2);
    }

    // A failed language switch, then a failed switch to the full display:
    // both are told, and the file holds neither change, as the boxes say.
    void secondFailureIsToldToo()
    {
        FullDisk disk(256 * 1024);
        QVERIFY(disk.isValid());
        QVERIFY(QDir::setCurrent(disk.path()));
        const QString ini = QDir(disk.path()).filePath("config.ini");
        QVERIFY(TestSupport::writeFile(ini, "[Settings]\nlanguage=English\nsettingsFullVersion=false\n"));
        auto w = makeWindow();
        QVERIFY(takeBoxes("warning").isEmpty());
        const QString before = TestSupport::readText(ini);

        QVERIFY(disk.fill());
        QAction german;
        german.setData(QStringLiteral("German"));
        w->doTran(&german);
        const QList<MessageBox::Record> first = takeBoxes("warning");
        w->fullVersion();
        const QList<MessageBox::Record> second = takeBoxes("warning");
        disk.release();
        QCOMPARE(first.size(), 1);
        QCOMPARE(second.size(), 1);
        QVERIFY2(second.at(0).text.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
                 qPrintable(second.at(0).text));
        QVERIFY2(second.at(0).text.contains("until the program ends"), qPrintable(second.at(0).text));
        QCOMPARE(TestSupport::readText(ini), before);
        QVERIFY(w->settingsFullVersion); // in force for this run, as told
        w.reset();
        QVERIFY(QDir::setCurrent(workDir->path()));
    }

    void malformedFileGivesDefaults()
    {
        writeIni(QByteArray("\xff\xfe\x00[Settings\nsettingsFullVersion=\"true\n\x80", 40));
        auto w = makeWindow();
        QVERIFY(!w->settingsFullVersion);
        QCOMPARE(w->defaultCustomerId, QString("4"));
        QVERIFY(w->isVisible());
        w->fullVersion();
        QVERIFY(takeBoxes("warning").isEmpty());
        QCOMPARE(iniValue("Settings/settingsFullVersion"), QString("true"));
    }

    // ---- display modes

    void modeWidgets_data()
    {
        QTest::addColumn<bool>("full");
        QTest::addColumn<bool>("rcidLink");
        QTest::addColumn<bool>("typesInSimple");
        QTest::addRow("full") << true << false << false;
        QTest::addRow("full with Rcid and Link") << true << true << false;
        QTest::addRow("full, types in simple") << true << false << true;
        QTest::addRow("simple") << false << false << false;
        QTest::addRow("simple with Rcid and Link") << false << true << false;
        QTest::addRow("simple with types") << false << false << true;
    }
    void modeWidgets()
    {
        QFETCH(bool, full);
        QFETCH(bool, rcidLink);
        QFETCH(bool, typesInSimple);
        writeIni(QByteArray("[Settings]\nsettingsFullVersion=") + (full ? "true" : "false")
                 + "\nsettingsShowRCTypesInSimpleMode=" + (typesInSimple ? "true" : "false")
                 + "\n[Debug]\nshowRcidLink=" + (rcidLink ? "true" : "false") + "\n");
        MenuShowSpy menuShows;
        auto w = makeWindow();
        QCOMPARE(menuShows.count, 0);

        for (QAction *a : {w->actionEditRemoteControl, w->actionNewRemoteControl, w->actionNewRemoteControlLink,
                           w->actionDeleteRemoteControl, w->actionConvertRemoteControl, w->actionImport,
                           w->actionExport, w->actionSearch, w->actionTransmitMode,
                           w->actionModuleted_Signal_30kHz_56kHz, w->actionNon_modulated_Signal_ITT})
            QVERIFY2(a->isVisible() == full, qPrintable(a->objectName()));
        QCOMPARE(w->actionFullVersion->isVisible(), !full);
        QCOMPARE(w->actionSimpleVersion->isVisible(), full);
        QVERIFY(!w->actionTransmitMode->isChecked());

        QCOMPARE(w->menu_Receiver_Type->isEnabled(), full);
        QCOMPARE(w->menu_Receiver_Type->menuAction()->isEnabled(), full);
        QVERIFY(w->menu_Receiver_Type->menuAction()->isVisible()); // stays in the File menu
        QVERIFY(visibleMenus().isEmpty());

        for (QWidget *x : {static_cast<QWidget *>(w->tabWidget), static_cast<QWidget *>(w->labelT),
                           static_cast<QWidget *>(w->comboBoxType), static_cast<QWidget *>(w->labelD),
                           static_cast<QWidget *>(w->comboBoxDatabase), static_cast<QWidget *>(w->labelUSBreceiver)})
            QVERIFY2(x->isVisible() == full, qPrintable(x->objectName()));
        for (QWidget *x : {static_cast<QWidget *>(w->labelR), static_cast<QWidget *>(w->rcidLineEdit),
                           static_cast<QWidget *>(w->labelL), static_cast<QWidget *>(w->linkLineEdit)})
            QVERIFY2(x->isVisible() == (full && rcidLink), qPrintable(x->objectName()));
        QCOMPARE(w->RCTypesTV->isVisible(), full || typesInSimple);

        // Never touched by the mode.
        for (QWidget *x : {static_cast<QWidget *>(w->labelB), static_cast<QWidget *>(w->brandLineEdit),
                           static_cast<QWidget *>(w->labelM), static_cast<QWidget *>(w->modelLineEdit),
                           static_cast<QWidget *>(w->setFiltersPushButton),
                           static_cast<QWidget *>(w->removeFiltersPushButton), static_cast<QWidget *>(w->ModelsTV),
                           static_cast<QWidget *>(w->labelUSBconnection)})
            QVERIFY2(x->isVisible(), qPrintable(x->objectName()));

        QVERIFY(w->isVisible());
        if (full) {
            QVERIFY(w->windowState() & Qt::WindowMaximized);
            QCOMPARE(w->maximumSize(), QSize(16777215, 16777215));
            QCOMPARE(w->minimumSize(), QSize(980, 660));
            QCOMPARE(w->tabWidget->currentIndex(), 0);
        } else {
            QVERIFY(!(w->windowState() & Qt::WindowMaximized));
            QCOMPARE(w->maximumSize(), QSize(750, 580));
            QVERIFY(w->minimumSize().width() <= 750 && w->minimumSize().height() <= 580);
            QVERIFY(w->width() <= 750 && w->height() <= 580);
        }
    }

    void noFileStartsSimple()
    {
        auto w = makeWindow();
        QVERIFY(!w->tabWidget->isVisible());
        QVERIFY(!w->RCTypesTV->isVisible());
        QVERIFY(w->actionFullVersion->isVisible());
        QVERIFY(!w->actionSimpleVersion->isVisible());
        QCOMPARE(w->maximumSize(), QSize(750, 580));
        QVERIFY(!(w->windowState() & Qt::WindowMaximized));
    }

    void switchingWritesTheChoiceAndARestartKeepsIt()
    {
        writeIni("[Settings]\nsettingsFullVersion=true\n[Debug]\nshowHidden=true\n");
        MenuShowSpy menuShows;
        auto w = makeWindow();
        QVERIFY(w->windowState() & Qt::WindowMaximized);

        w->actionSimpleVersion->trigger(); // the connected path, as from the menu
        QVERIFY(!w->settingsFullVersion);
        QCOMPARE(iniValue("Settings/settingsFullVersion"), QString("false"));
        QCOMPARE(iniValue("Debug/showHidden"), QString("true"));
        QVERIFY(!(w->windowState() & Qt::WindowMaximized));
        QCOMPARE(w->maximumSize(), QSize(750, 580));
        QCOMPARE(w->gridLayout->columnStretch(2), 0);
        QCOMPARE(w->gridLayout->columnMinimumWidth(2), 0);

        w.reset();
        w = makeWindow();
        QVERIFY(!w->settingsFullVersion);
        QVERIFY(!w->tabWidget->isVisible());
        QCOMPARE(w->maximumSize(), QSize(750, 580));

        w->actionFullVersion->trigger();
        QCOMPARE(iniValue("Settings/settingsFullVersion"), QString("true"));
        QVERIFY(w->windowState() & Qt::WindowMaximized);
        QCOMPARE(w->maximumSize(), QSize(16777215, 16777215));
        QCOMPARE(w->minimumSize(), QSize(980, 660)); // the form's minimum is back
        // So is the room of the tab widget's column, which simple mode gave to the model list.
        QCOMPARE(w->gridLayout->columnStretch(2), 1);
        QCOMPARE(w->gridLayout->columnMinimumWidth(2), 350);

        w.reset();
        w = makeWindow();
        QVERIFY(w->settingsFullVersion);
        QVERIFY(w->tabWidget->isVisible());
        QVERIFY(visibleMenus().isEmpty());
        QCOMPARE(menuShows.count, 0);
    }

    void switchingResetsTransmitModeAndHiddenFilters()
    {
        writeIni("[Settings]\nsettingsFullVersion=true\n[Debug]\nshowRcidLink=true\n");
        auto w = makeWindow();
        w->tabWidget->setCurrentIndex(3);
        w->actionTransmitMode->setChecked(true);
        w->labelPicture->transmitMode = true;
        w->comboBoxDatabase->setCurrentIndex(2);
        if (w->comboBoxType->count() == 0)
            w->comboBoxType->addItem("1");
        w->comboBoxType->setCurrentIndex(0);

        w->simpleVersion();
        QVERIFY(!w->actionTransmitMode->isChecked());
        QVERIFY(!w->labelPicture->transmitMode);
        QCOMPARE(w->comboBoxDatabase->currentIndex(), 0);
        QCOMPARE(w->comboBoxType->currentIndex(), -1);
        QVERIFY(!w->rcidLineEdit->isVisible());

        w->fullVersion();
        QVERIFY(!w->actionTransmitMode->isChecked());
        QVERIFY(!w->labelPicture->transmitMode);
        QCOMPARE(w->tabWidget->currentIndex(), 0);
        QVERIFY(w->rcidLineEdit->isVisible());
        QVERIFY(w->linkLineEdit->isVisible());
        QVERIFY(visibleMenus().isEmpty());
    }

    // ---- About box

    void aboutShowsTheCatalogueDate()
    {
        writeIni("[UpdateInfo]\ndatabase=2023-11-21\n");
        auto w = makeWindow();
        w->actionAbout->trigger();
        QList<MessageBox::Record> log = takeBoxes("about");
        QCOMPARE(log.size(), 1);
        QCOMPARE(log.at(0).kind, QString("about"));
        QCOMPARE(log.at(0).title, QString("About Application"));
        QVERIFY2(log.at(0).text.startsWith("<center><b>Irvanta</b></center><br>Version 2.5.10<br>"),
                 qPrintable(log.at(0).text));
        QVERIFY2(log.at(0).text.contains("<br>Database Date 21.11.2023<br>"), qPrintable(log.at(0).text));
        QVERIFY(log.at(0).text.contains(w->authorLine));
        QVERIFY(!w->authorLine.isEmpty());

        // Read at each opening: a date the updater changed shows at once.
        QTest::qWait(5); // the file's time stamp must differ for the settings cache to notice
        writeIni("[UpdateInfo]\ndatabase=2024-02-03\nserver=x\n");
        w->openAbout();
        log = takeBoxes("about");
        QCOMPARE(log.size(), 1);
        QVERIFY2(log.at(0).text.contains("<br>Database Date 03.02.2024<br>"), qPrintable(log.at(0).text));

        QVERIFY(QFile::remove(iniPath()));
        w->openAbout();
        log = takeBoxes("about");
        QCOMPARE(log.size(), 1);
        QVERIFY2(log.at(0).text.contains("<br>Database Date <br>"), qPrintable(log.at(0).text));
    }
};

QTEST_MAIN(TestMainWindowSettings)
#include "tst_mainwindowsettings.moc"
