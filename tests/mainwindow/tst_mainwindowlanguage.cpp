// The Language menu, switching languages at run time and the help page, on
// the main window over a sample working directory with the built languages.
#include "TestSupport.h"
#include "app/MessageBox.h"
#include "mainwindow/MainWindowImpl.h"

#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QSettings>
#include <QSqlDatabase>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

namespace {

// Copies the languages the build wrote into the sample directory.
bool copyBuiltLanguages(const QString &to)
{
    const QString from = TestSupport::binaryDir() + QStringLiteral("/sample/Languages");
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    int copied = 0;
    while (it.hasNext()) {
        const QString source = it.next();
        const QString dest = QDir(to).filePath(QDir(from).relativeFilePath(source));
        QDir().mkpath(QFileInfo(dest).path());
        QFile::remove(dest);
        if (!QFile::copy(source, dest))
            return false;
        ++copied;
    }
    return copied > 0;
}

QStringList entryTexts(const MainWindowImpl &w)
{
    QStringList texts;
    for (const QAction *a : w.menuLanguage->actions())
        texts.append(a->text());
    return texts;
}

QStringList checkedEntries(const MainWindowImpl &w)
{
    QStringList names;
    for (const QAction *a : w.menuLanguage->actions()) {
        if (a->isChecked())
            names.append(a->data().toString());
    }
    return names;
}

QAction *entry(const MainWindowImpl &w, const QString &baseName)
{
    for (QAction *a : w.menuLanguage->actions()) {
        if (a->data().toString() == baseName)
            return a;
    }
    return nullptr;
}

} // namespace

// Receives the URLs the window hands to the desktop.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void openUrl(const QUrl &url) { urls.append(url); }
};

class TestMainWindowLanguage : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    QString m_previousDir;

    void setConfig(const QString &key, const QVariant &value)
    {
        QSettings s(QStringLiteral("config.ini"), QSettings::IniFormat);
        s.setValue(key, value);
    }
    QString savedLanguage() const
    {
        QSettings s(QStringLiteral("config.ini"), QSettings::IniFormat);
        return s.value(QStringLiteral("Settings/language")).toString();
    }

private slots:
    void initTestCase()
    {
        MessageBox::setAutomatic(true);
        m_previousDir = QDir::currentPath();
    }

    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(TestSupport::writeSampleDirectory(m_dir->path()));
        QVERIFY(copyBuiltLanguages(m_dir->filePath("Languages")));
        QVERIFY(QDir::setCurrent(m_dir->path()));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(QStringLiteral("rc.db"));
        QVERIFY(db.open());
    }
    void cleanup()
    {
        QDir::setCurrent(m_previousDir);
        QSqlDatabase::database().close();
        QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
        delete m_dir;
        m_dir = nullptr;
        MessageBox::takeLog();
    }

    void menuEntries_data()
    {
        QTest::addColumn<int>("showType");
        QTest::addColumn<QStringList>("texts");
        QTest::addRow("own and base") << 0 << QStringList{"English English", "Deutsch German"};
        QTest::addRow("own") << 1 << QStringList{"English", "Deutsch"};
        QTest::addRow("base") << 2 << QStringList{"English", "German"};
        QTest::addRow("other value") << 7 << QStringList{"English English", "Deutsch German"};
    }
    void menuEntries()
    {
        QFETCH(int, showType);
        QFETCH(QStringList, texts);
        setConfig("Settings/languageShowType", showType);
        MainWindowImpl w;
        QCOMPARE(w.languageShowType, showType);
        QCOMPARE(entryTexts(w), texts);
        QCOMPARE(w.languageCount, 2);
        QCOMPARE(w.languageActions.size(), 2);
        QCOMPARE(w.languageActions.at(0)->data().toString(), QStringLiteral("English"));
        QCOMPARE(w.languageActions.at(1)->data().toString(), QStringLiteral("German"));
        for (QAction *a : std::as_const(w.languageActions)) {
            QCOMPARE(a->parent(), &w);
            QVERIFY(!a->icon().isNull());
            QVERIFY(!a->actionGroup());
        }
    }

    // Plain files only, "qt_" files skipped (case-sensitively), any file counts.
    void unusualFiles()
    {
        QVERIFY(QDir("Languages").removeRecursively());
        QVERIFY(QDir().mkpath("Languages/English"));
        const QString built = TestSupport::binaryDir() + "/sample/Languages/";
        QVERIFY(QFile::copy(built + "English.qm", "Languages/English.qm"));
        QVERIFY(QFile::copy(built + "German.qm", "Languages/Deutsch.qm"));
        QVERIFY(QFile::copy(built + "German.qm", "Languages/qt_de.qm"));
        QVERIFY(QFile::copy(built + "English.qm", "Languages/Qt_x.qm"));
        QFile readme("Languages/readme.txt");
        QVERIFY(readme.open(QIODevice::WriteOnly));
        readme.close();
        setConfig("Settings/languageShowType", 0);
        MainWindowImpl w;
        QCOMPARE(entryTexts(w), (QStringList{"Deutsch Deutsch", "English English", "English Qt_x", "readme. readme."}));
        QVERIFY(w.languageActions.at(0)->icon().isNull());

        // Choosing the readme loads no translation: the texts stay English.
        entry(w, "readme.")->trigger();
        QCOMPARE(checkedEntries(w), QStringList{"readme."});
        QCOMPARE(w.actionHelp->text(), QStringLiteral("Help"));
        QVERIFY(w.menuLanguage->icon().isNull());
    }

    void noLanguagesFolder()
    {
        QVERIFY(QDir("Languages").removeRecursively());
        MainWindowImpl w;
        QCOMPARE(w.languageCount, 0);
        QVERIFY(w.menuLanguage->actions().isEmpty());
        QCOMPARE(w.actionHelp->text(), QStringLiteral("Help"));
        QCOMPARE(w.languageTranslators.size(), 2);
    }

    void switching()
    {
        setConfig("Settings/language", "English");
        MainWindowImpl w;
        QCOMPARE(checkedEntries(w), QStringList{"English"});
        QCOMPARE(w.actionHelp->text(), QStringLiteral("Help"));
        QCOMPARE(w.menu_File->title(), QStringLiteral("File"));
        QCOMPARE(w.tabWidget->tabText(3), QStringLiteral("Oscillograph"));
        QCOMPARE(w.comboBoxDatabase->itemText(1), QStringLiteral("Own"));
        // The constructor's switch saves nothing.
        QCOMPARE(savedLanguage(), QStringLiteral("English"));
        const QImage englishFlag = w.menuLanguage->icon().pixmap(16, 16).toImage();
        QVERIFY(!englishFlag.isNull());

        const int currentIndex = w.tabWidget->currentIndex();
        w.menuLanguage->setActiveAction(nullptr);
        entry(w, "German")->trigger();

        QCOMPARE(w.language, QStringLiteral("German"));
        QCOMPARE(savedLanguage(), QStringLiteral("German"));
        QCOMPARE(checkedEntries(w), QStringList{"German"});
        QVERIFY(entry(w, "English")->isCheckable());
        QVERIFY(w.menuLanguage->icon().pixmap(16, 16).toImage() != englishFlag);
        QCOMPARE(w.menu_File->title(), QStringLiteral("Datei"));
        QCOMPARE(w.actionHelp->text(), QStringLiteral("Hilfe"));
        QCOMPARE(w.actionUpdateProgram->text(), QStringLiteral("Nach Updates suchen"));
        QCOMPARE(w.menuLanguage->title(), QStringLiteral("Sprache"));
        QCOMPARE(w.comboBoxDatabase->count(), 4);
        QCOMPARE(w.comboBoxDatabase->itemText(0), QStringLiteral("Gesamte Datenbank"));
        QCOMPARE(w.comboBoxDatabase->itemText(3), QStringLiteral("Gesamt ohne Verknüpfungen"));
        QCOMPARE(w.pushButton3->text(), QStringLiteral("Bild 3"));
        QCOMPARE(w.tabWidget->tabText(0), QStringLiteral("Start"));
        QCOMPARE(w.tabWidget->tabText(2), QStringLiteral("Verknüpfungen"));
        QCOMPARE(w.tabWidget->tabText(3), QStringLiteral("Oszillograph"));
        QCOMPARE(w.tabWidget->currentIndex(), currentIndex);
        QCOMPARE(w.newRemoteDialog.ownCheckBox->text(), QStringLiteral("Eigene Datenbank"));
        QCOMPARE(w.newRemoteDialog.labelBrand->text(), QStringLiteral("Marke:"));
        QCOMPARE(w.settingsDialog.windowTitle(), QStringLiteral("Einstellungen"));
        QVERIFY(!(w.settingsDialog.windowFlags() & Qt::WindowContextHelpButtonHint));
        QCOMPARE(w.settingsDialog.companyLabel->text(), QStringLiteral("Firma:"));
        QCOMPARE(w.settingsDialog.savePushButton->text(), QStringLiteral("Änderungen speichern"));
        QCOMPARE(w.settingsDialog.printGroupBox->title(), QStringLiteral("Druckoptionen"));
        QCOMPARE(w.settingsDialog.automaticUpdatesChekingCheckBox->text(),
                 QStringLiteral("Beim Start nach Updates suchen"));
        QCOMPARE(w.changer8in1Dialog.windowTitle(), QStringLiteral("Fernbedienungs-Ersetzer"));
        QVERIFY(!(w.changer8in1Dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
        QCOMPARE(w.setFiltersPushButton->text(), QStringLiteral("Filter setzen"));
        QCOMPARE(w.languageTranslators.size(), 2);

        // Back again: one pair of translators at a time.
        entry(w, "English")->trigger();
        QCOMPARE(savedLanguage(), QStringLiteral("English"));
        QCOMPARE(checkedEntries(w), QStringList{"English"});
        QCOMPARE(w.actionHelp->text(), QStringLiteral("Help"));
        QCOMPARE(w.menu_File->title(), QStringLiteral("File"));
        QCOMPARE(w.languageTranslators.size(), 2);
    }

    // Column headers: models and keys always, links only on the Links page.
    void headers_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("linksHeader");
        QTest::addRow("Main page") << 0 << "before";
        QTest::addRow("Links page") << 2 << "Marke";
    }
    void headers()
    {
        QFETCH(int, page);
        QFETCH(QString, linksHeader);
        MainWindowImpl w;
        w.tabWidget->setCurrentIndex(page);
        // The views' own models where they have one, else stand-ins.
        QStandardItemModel standIn[3];
        QTableView *views[] = {w.ModelsTV, w.KeysTV, w.LinksTV};
        QAbstractItemModel *models[3];
        for (int i = 0; i < 3; ++i) {
            if (!views[i]->model()) {
                standIn[i].setColumnCount(6);
                views[i]->setModel(&standIn[i]);
            }
            models[i] = views[i]->model();
            for (int c = 0; c < models[i]->columnCount(); ++c)
                models[i]->setHeaderData(c, Qt::Horizontal, QStringLiteral("before"), Qt::EditRole);
        }
        entry(w, "German")->trigger();
        const auto header = [&](int view, int column) {
            return models[view]->headerData(column, Qt::Horizontal).toString();
        };
        QCOMPARE(header(0, 1), QStringLiteral("Marke"));
        QCOMPARE(header(0, 2), QStringLiteral("Typ"));
        QCOMPARE(header(0, 3), QStringLiteral("Modell"));
        QCOMPARE(header(0, 0), QStringLiteral("before"));
        QCOMPARE(header(1, 2), QStringLiteral("Name"));
        QCOMPARE(header(1, 3), QStringLiteral("ID"));
        QCOMPARE(header(1, 1), QStringLiteral("before"));
        QCOMPARE(header(2, 1), linksHeader);
        for (int i = 0; i < 3; ++i) {
            if (views[i]->model() == &standIn[i])
                views[i]->setModel(nullptr);
        }
    }

    void unknownLanguage()
    {
        setConfig("Settings/language", "Klingon");
        MainWindowImpl w;
        // The settings rule turns a language without a file into English.
        QCOMPARE(w.language, QStringLiteral("English"));
        w.loadLanguage(QStringLiteral("Klingon"));
        QVERIFY(checkedEntries(w).isEmpty());
        QVERIFY(w.menuLanguage->icon().isNull());
        QCOMPARE(w.actionHelp->text(), QStringLiteral("Help"));
    }

    void help_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("page");
        QTest::addRow("English") << "English" << "Languages/English/index.html";
        QTest::addRow("German") << "German" << "Languages/German/index.html";
        QTest::addRow("German without page") << "German-nopage" << "Languages/English/index.html";
    }
    void help()
    {
        QFETCH(QString, language);
        QFETCH(QString, page);
        MainWindowImpl w;
        if (language == QLatin1String("German-nopage")) {
            QVERIFY(QFile::remove("Languages/German/index.html"));
            language = QStringLiteral("German");
        }
        entry(w, language)->trigger();
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "openUrl");
        w.actionHelp->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(catcher.urls.first(), QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()));
    }
};

QTEST_MAIN(TestMainWindowLanguage)
#include "tst_mainwindowlanguage.moc"
