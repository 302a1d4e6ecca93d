// The Language menu, switching languages at run time and the help page, on
// the main window over a sample working directory with the built languages.
#include "TestSupport.h"
#include "app/FittedFont.h"
#include "app/LanguageTranslators.h"
#include "app/MessageBox.h"
#include "mainwindow/MainWindowImpl.h"
#include "usb/UsbState.h"

#include <QDesktopServices>
#include <QDir>
#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QFileDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTableView>
#include <QTranslator>
#include <QTreeView>
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

// ---- what the layouts make of the window

bool layoutHolds(const QLayout *layout, const QWidget *widget)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget() == widget || (item->layout() && layoutHolds(item->layout(), widget)))
            return true;
    }
    return false;
}

// Visible widgets below root that a layout of their parent places; widgets the
// program puts over others itself (the LED, the same-key markers) are in no layout.
QList<QWidget *> laidOutWidgets(QWidget *root)
{
    QList<QWidget *> widgets;
    for (QWidget *w : root->findChildren<QWidget *>()) {
        QWidget *parent = w->parentWidget();
        if (w->isVisibleTo(root) && parent && parent->layout() && layoutHolds(parent->layout(), w))
            widgets << w;
    }
    return widgets;
}

int textWidth(const QWidget *w, const QString &text)
{
    int width = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        width = qMax(width, w->fontMetrics().horizontalAdvance(line));
    return width;
}

// Width the widget has for its text, or -1 when it shows no text.
int roomForText(QWidget *w, int *needed)
{
    if (auto *label = qobject_cast<QLabel *>(w)) {
        if (label->text().isEmpty() || label->textFormat() == Qt::RichText)
            return -1;
        // A wrapped text needs its lines' height instead.
        if (label->wordWrap()) {
            *needed = label->heightForWidth(label->contentsRect().width());
            return *needed < 0 ? -1 : label->contentsRect().height();
        }
        *needed = textWidth(label, label->text()) + qMax(0, label->indent());
        return label->contentsRect().width() - 2 * label->margin();
    }
    if (auto *check = qobject_cast<QCheckBox *>(w)) {
        if (check->text().isEmpty())
            return -1;
        QStyleOptionButton option;
        option.initFrom(check);
        option.text = check->text();
        *needed = textWidth(check, check->text());
        return check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check).width();
    }
    if (auto *button = qobject_cast<QPushButton *>(w)) {
        if (button->text().isEmpty())
            return -1;
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        option.icon = button->icon();
        option.iconSize = button->iconSize();
        *needed = textWidth(button, button->text()) + (button->icon().isNull() ? 0 : button->iconSize().width() + 4);
        return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
    }
    if (auto *combo = qobject_cast<QComboBox *>(w)) {
        if (combo->currentText().isEmpty() || combo->isEditable())
            return -1;
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.currentText = combo->currentText();
        option.editable = false;
        *needed = textWidth(combo, combo->currentText());
        // The style draws the text inside the edit field with a few pixels of margin.
        return combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width() -
               4;
    }
    return -1;
}

QString describe(const QWidget *w, const QWidget *root)
{
    const QRect r(w->mapTo(root, QPoint(0, 0)), w->size());
    return QStringLiteral("%1 (%2 %3,%4 %5x%6)")
        .arg(w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName())
        .arg(QString::fromLatin1(w->metaObject()->className()))
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height());
}

// Every fault of the layout under root: widgets lying over each other or over
// their parent's edge, and texts wider than the room they get.
QStringList layoutFaults(QWidget *root)
{
    QStringList faults;
    // A tab bar too narrow for its titles hides some behind scroll arrows.
    for (QTabBar *bar : root->findChildren<QTabBar *>()) {
        if (!bar->isVisibleTo(root) || bar->count() == 0)
            continue;
        const int needed = bar->tabRect(bar->count() - 1).right() - bar->tabRect(0).left() + 1;
        if (needed > bar->width())
            faults << QStringLiteral("tabs cut: %1 needs %2 px").arg(describe(bar, root)).arg(needed);
    }
    const QList<QWidget *> widgets = laidOutWidgets(root);
    for (int i = 0; i < widgets.size(); ++i) {
        QWidget *a = widgets.at(i);
        const QRect ra(a->mapTo(root, QPoint(0, 0)), a->size());
        if (!QRect(QPoint(0, 0), a->parentWidget()->size()).contains(a->geometry()))
            faults << QStringLiteral("over its parent's edge: %1").arg(describe(a, root));
        for (int j = i + 1; j < widgets.size(); ++j) {
            QWidget *b = widgets.at(j);
            if (a->isAncestorOf(b) || b->isAncestorOf(a))
                continue;
            const QRect rb(b->mapTo(root, QPoint(0, 0)), b->size());
            if (ra.intersects(rb))
                faults << QStringLiteral("overlap: %1 and %2").arg(describe(a, root), describe(b, root));
        }
        if (auto *edit = qobject_cast<QLineEdit *>(a); edit && !edit->text().isEmpty()) {
            // What the field shows of its text, read off at its two ends. A
            // field too narrow even for the smallest font (the search rows
            // beside the simple-programming panel) must show the start and
            // carry the whole text as its tooltip.
            const int y = edit->height() / 2;
            const int first = edit->cursorPositionAt(QPoint(0, y));
            const int last = edit->cursorPositionAt(QPoint(edit->width() - 1, y));
            const bool whole = first == 0 && last == edit->text().size();
            const bool reachable = first == 0 && edit->font().pointSizeF() <= 7 &&
                                   edit->toolTip().contains(edit->text());
            if (!whole && !reachable)
                faults << QStringLiteral("text cut: %1 shows characters %2 to %3 of %4")
                              .arg(describe(a, root))
                              .arg(first)
                              .arg(last)
                              .arg(edit->text().size());
        }
        int needed = 0;
        const int room = roomForText(a, &needed);
        if (room >= 0 && room < needed)
            faults << QStringLiteral("text cut: %1 needs %2 px, has %3").arg(describe(a, root)).arg(needed).arg(room);
    }
    return faults;
}

// Lets the layouts and the window's own queued re-layouts (the picture
// follows its label's height) run to the end.
void settle()
{
    for (int i = 0; i < 10; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::processEvents();
    }
}

enum class DeviceTexts { AtStart, Absent, Connected };

} // namespace

Q_DECLARE_METATYPE(DeviceTexts)

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
        // A test that stopped early may leave a start-up pair behind.
        qDeleteAll(LanguageTranslators::installed());
        QLocale::setDefault(QLocale::system());
    }

    void menuEntries_data()
    {
        QTest::addColumn<int>("showType");
        QTest::addColumn<QStringList>("texts");
        QTest::addRow("own and base") << 0 << QStringList{"English", "Deutsch (German)"};
        QTest::addRow("own") << 1 << QStringList{"English", "Deutsch"};
        QTest::addRow("base") << 2 << QStringList{"English", "German"};
        QTest::addRow("other value") << 7 << QStringList{"English", "Deutsch (German)"};
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
        QCOMPARE(entryTexts(w), (QStringList{"Deutsch", "English", "English (Qt_x)", "readme."}));
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
        QCOMPARE(LanguageTranslators::installed().size(), 2);
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
        QVERIFY(entry(w, "German")->font().bold());
        QVERIFY(!entry(w, "English")->font().bold());
        QVERIFY(entry(w, "English")->isCheckable());
        QVERIFY(w.menuLanguage->icon().pixmap(16, 16).toImage() != englishFlag);
        QCOMPARE(w.menu_File->title(), QStringLiteral("Datei"));
        QCOMPARE(w.actionHelp->text(), QStringLiteral("Hilfe"));
        QCOMPARE(w.actionUpdateProgram->text(), QStringLiteral("Nach Updates suchen"));
        QCOMPARE(w.menuLanguage->title(), QStringLiteral("Sprache"));
        QCOMPARE(w.comboBoxDatabase->count(), 4);
        QCOMPARE(w.comboBoxDatabase->itemText(0), QStringLiteral("Gesamt"));
        QCOMPARE(w.comboBoxDatabase->itemText(3), QStringLiteral("Gesamt ohne Links"));
        QCOMPARE(w.pushButton3->text(), QStringLiteral("Bild 3"));
        QCOMPARE(w.tabWidget->tabText(0), QStringLiteral("Start"));
        QCOMPARE(w.tabWidget->tabText(2), QStringLiteral("Links"));
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
        QCOMPARE(LanguageTranslators::installed().size(), 2);

        // Back again: one pair of translators at a time.
        entry(w, "English")->trigger();
        QCOMPARE(savedLanguage(), QStringLiteral("English"));
        QCOMPARE(checkedEntries(w), QStringList{"English"});
        QCOMPARE(w.actionHelp->text(), QStringLiteral("Help"));
        QCOMPARE(w.menu_File->title(), QStringLiteral("File"));
        QCOMPARE(LanguageTranslators::installed().size(), 2);
    }

    // Started as the program starts, with the pair of translators installed
    // before the window exists: a switch shows the chosen language in the
    // texts it re-sets and in Qt's own texts, both ways and back, and Qt's
    // file dialogs write sizes and dates in it.
    void switchFromStartLanguage_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("other");
        QTest::addRow("German to English") << "German" << "English";
        QTest::addRow("English to German") << "English" << "German";
    }
    void switchFromStartLanguage()
    {
        QFETCH(QString, start);
        QFETCH(QString, other);
        QVERIFY(QDir().mkpath("files"));
        QVERIFY(TestSupport::writeFile("files/seventy-eight.xml", QByteArray(78, 'x')));
        setConfig("Settings/language", start);
        setConfig("Settings/lastImportPath", QDir("files").absolutePath());
        LanguageTranslators::install(QStringLiteral("Languages"), start, qApp);
        MainWindowImpl w;
        for (const QString &language : {start, other, start}) {
            if (language != w.language)
                entry(w, language)->trigger();
            const bool german = language == QLatin1String("German");
            const QString in = QStringLiteral(" in ") + language;
            QCOMPARE(QLocale().language(), german ? QLocale::German : QLocale::English);
            QVERIFY2(w.menu_File->title() == (german ? "Datei" : "File"), qPrintable(w.menu_File->title() + in));
            QVERIFY2(w.menuTools->title() == (german ? "Werkzeuge" : "Tools"), qPrintable(w.menuTools->title() + in));
            QVERIFY2(w.tabWidget->tabText(0) == (german ? "Start" : "Main"), qPrintable(w.tabWidget->tabText(0) + in));
            QVERIFY2(w.tabWidget->tabText(1) == (german ? "Bilder" : "Images"),
                     qPrintable(w.tabWidget->tabText(1) + in));
            QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("q"),
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, &w);
            const QString buttons = QStringList{box.button(QMessageBox::Yes)->text(),
                                                box.button(QMessageBox::No)->text(),
                                                box.button(QMessageBox::Cancel)->text()}
                                        .join(QLatin1Char('/'))
                                        .remove(QLatin1Char('&'));
            QVERIFY2(buttons == (german ? "Ja/Nein/Abbrechen" : "Yes/No/Cancel"), qPrintable(buttons + in));

            // The import's file dialog, as the File menu opens it.
            QString size, date;
            QVERIFY(TestSupport::whileModalDialogOpen([&] { w.importRemote(); }, [&](QDialog *dialog) {
                auto *files = qobject_cast<QFileDialog *>(dialog);
                QVERIFY(files);
                auto *view = files->findChild<QTreeView *>(QStringLiteral("treeView"));
                QVERIFY(view);
                const auto row = [view]() -> QModelIndex {
                    const QAbstractItemModel *model = view->model();
                    for (int r = 0; r < model->rowCount(view->rootIndex()); ++r) {
                        const QModelIndex name = model->index(r, 0, view->rootIndex());
                        if (name.data().toString() == QLatin1String("seventy-eight.xml"))
                            return name;
                    }
                    return QModelIndex();
                };
                QTRY_VERIFY(row().isValid());
                size = row().siblingAtColumn(1).data().toString();
                date = row().siblingAtColumn(3).data().toString();
            }));
            const QDateTime modified = QFileInfo("files/seventy-eight.xml").lastModified();
            QVERIFY2(size == (german ? "78 Bytes" : "78 bytes"), qPrintable(size + in));
            QVERIFY2(date == QLocale().toString(modified, QLocale::ShortFormat), qPrintable(date + in));
        }
        QCOMPARE(LanguageTranslators::installed().size(), 2);
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

    // The window as a newcomer sees it, in both languages and display modes,
    // at the start size, at the smallest sizes each mode allows and on common
    // screens: nothing a layout places lies over anything else or over its
    // parent's edge, and every label and button shows its whole text, also
    // with the device status lines at their longest.
    void layoutFits_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("full");
        QTest::addColumn<QString>("language");
        QTest::addColumn<DeviceTexts>("deviceTexts");
        QTest::addColumn<QString>("extraConfig");
        QTest::addColumn<QString>("scenario");
        const QList<QPair<QSize, bool>> sizes = {
            {QSize(980, 819), true}, {QSize(980, 660), true},  {QSize(1024, 768), true},
            {QSize(1366, 768), true}, {QSize(750, 580), false},
        };
        const QList<QPair<DeviceTexts, const char *>> texts = {
            {DeviceTexts::AtStart, "texts at start"},
            {DeviceTexts::Absent, "devices absent"},
            {DeviceTexts::Connected, "devices connected"},
        };
        for (const auto &size : sizes)
            for (const char *language : {"English", "German"})
                for (const auto &t : texts)
                    QTest::addRow("%dx%d %s, %s, %s", size.first.width(), size.first.height(),
                                  size.second ? "full" : "simple", language, t.second)
                        << size.first << size.second << QString::fromLatin1(language) << t.first << QString()
                        << QString();
        QTest::addRow("980x660 full, German, Id and Link filters")
            << QSize(980, 660) << true << "German" << DeviceTexts::Connected << "Debug/showRcidLink" << QString();
        QTest::addRow("750x580 simple, German, remote types shown")
            << QSize(750, 580) << false << "German" << DeviceTexts::Connected
            << "Settings/settingsShowRCTypesInSimpleMode" << QString();
        for (const QSize &size : {QSize(1366, 768), QSize(980, 660)}) {
            for (const char *language : {"English", "German"}) {
                const QByteArray at = QStringLiteral("%1x%2 full, %3, ")
                                          .arg(size.width())
                                          .arg(size.height())
                                          .arg(QLatin1String(language))
                                          .toLatin1();
                QTest::newRow(at + "long documentation")
                    << size << true << language << DeviceTexts::Connected << QString() << "documentation";
                QTest::newRow(at + "replacer") << size << true << language << DeviceTexts::Connected << QString()
                                               << "replacer";
            }
        }
        for (const QSize &size : {QSize(1366, 768), QSize(980, 660)})
            for (const char *language : {"English", "German"})
                for (const char *programming : {"Settings/simpleProgramming", ""})
                    QTest::addRow("%dx%d full, %s, %s, key codes", size.width(), size.height(), language,
                                  *programming ? "simple programming" : "search fields")
                        << size << true << QString::fromLatin1(language) << DeviceTexts::Connected
                        << QString::fromLatin1(programming) << "key code";
        QTest::addRow("750x580 simple to full at 980x660, protocol bar")
            << QSize(750, 580) << false << "English" << DeviceTexts::Connected << QString() << "simple to full";
        // A maximised window on a screen of 1366x768 under a window manager.
        for (const char *language : {"English", "German"})
            QTest::addRow("750x580 simple programming, simple to full at 1366x749, %s, protocol bar", language)
                << QSize(750, 580) << false << QString::fromLatin1(language) << DeviceTexts::Connected
                << "Settings/simpleProgramming"
                << "simple to full at 1366x749";
        for (const QSize &size : {QSize(1366, 768), QSize(980, 660)})
            for (const char *programming : {"Settings/simpleProgramming", ""})
                QTest::addRow("%dx%d full, simple-programming panel %s, protocol bar", size.width(), size.height(),
                              *programming ? "hidden" : "shown")
                    << size << true << "German" << DeviceTexts::Connected << QString::fromLatin1(programming)
                    << "panel toggled";
        QTest::addRow("1366x768 narrowed and widened, protocol bar")
            << QSize(1366, 768) << true << "English" << DeviceTexts::Connected << QString() << "resize";
        QTest::addRow("1366x768 simple programming, narrowed and widened, protocol bar")
            << QSize(1366, 768) << true << "German" << DeviceTexts::Connected << "Settings/simpleProgramming"
            << "resize";
    }
    void layoutFits()
    {
        QFETCH(QSize, size);
        QFETCH(bool, full);
        QFETCH(QString, language);
        QFETCH(DeviceTexts, deviceTexts);
        QFETCH(QString, extraConfig);
        QFETCH(QString, scenario);
        if (scenario == QLatin1String("documentation")) {
            // One line, as a catalogue may hold it, ahead of every model.
            QString text;
            while (text.size() < 250)
                text += QStringLiteral("Documentation without line breaks ");
            QSqlQuery q;
            QVERIFY(q.prepare(QStringLiteral("UPDATE rcmodels SET Documentation = ?")));
            q.addBindValue(text.left(250));
            QVERIFY(q.exec());
        }
        setConfig("Settings/language", language);
        setConfig("Settings/settingsFullVersion", full);
        if (!extraConfig.isEmpty())
            setConfig(extraConfig, true);
        MainWindowImpl w;
        QCOMPARE(w.language, language);
        UsbState usb;
        usb.setProductString(QStringLiteral("Simulated Remote 2"));
        switch (deviceTexts) {
        case DeviceTexts::AtStart:
            break;
        case DeviceTexts::Absent:
            w.initUsb1();
            w.initReceiver1();
            break;
        case DeviceTexts::Connected:
            w.attachUsb(&usb);
            w.initUsb3();
            w.initReceiver2();
            break;
        }
        w.showNormal();
        w.resize(size);
        settle();
        QCOMPARE(w.size(), size);
        if (scenario == QLatin1String("documentation"))
            QVERIFY(w.documentationLabel->text().size() >= 250);
        if (scenario == QLatin1String("key code")) {
            // The sample's codes have 19 characters, the length nearly every
            // real remote gives: a key picked in the list shows its code in
            // the three labels, and every search row gets it.
            QTableView *keys = w.KeysTV;
            QVERIFY(keys->isVisible());
            QVERIFY(keys->model()->rowCount() > 0);
            const QModelIndex first = keys->model()->index(0, 3);
            QCOMPARE(first.data().toString().size(), 19);
            QTest::mouseClick(keys->viewport(), Qt::LeftButton, {}, keys->visualRect(first).center());
            settle();
            QCOMPARE(w.labelKeyIdSearch->text(), first.data().toString());
            // A pick after a short received text fits the labels anew (the
            // labels keep their size, so no resize does it): each in the
            // font that fits its code, seen on its own page.
            for (QLabel *label : {w.labelKeyId, w.labelKeyId2, w.labelKeyIdSearch}) {
                label->setText(QStringLiteral("UNKNOWN"));
                FittedFont::refit(label);
                QCOMPARE(label->font().pointSizeF(), 12.0);
            }
            keys->selectRow(1);
            w.refreshID();
            settle();
            for (QLabel *label : {w.labelKeyId, w.labelKeyId2, w.labelKeyIdSearch}) {
                QWidget *page = label->parentWidget();
                while (page && page->parentWidget() && page->parentWidget()->parentWidget() != w.tabWidget)
                    page = page->parentWidget();
                w.tabWidget->setCurrentWidget(page);
                settle();
                const QFont fitted = FittedFont::fit(label->font(), label->text(), FittedFont::textRoom(label), 12);
                QVERIFY2(label->font().pointSizeF() == fitted.pointSizeF(),
                         qPrintable(QStringLiteral("%1 at %2 pt, fits at %3 pt")
                                        .arg(label->objectName())
                                        .arg(label->font().pointSizeF())
                                        .arg(fitted.pointSizeF())));
            }
            w.tabWidget->setCurrentIndex(0);
            keys->selectRow(0);
            w.refreshID();
            settle();
            // Each code the list shows is drawn whole.
            int shown = 0;
            for (int row = 0; row < keys->model()->rowCount(); ++row) {
                const QModelIndex code = keys->model()->index(row, 3);
                const QRect cell = keys->visualRect(code);
                if (!cell.isValid() || !keys->viewport()->rect().intersects(cell))
                    continue;
                QStyleOptionViewItem option;
                option.initFrom(keys->viewport());
                option.font = keys->font();
                option.fontMetrics = keys->fontMetrics();
                option.rect = cell;
                option.widget = keys;
                const QSize needed = keys->itemDelegateForIndex(code)->sizeHint(option, code);
                QVERIFY2(needed.width() <= cell.width(), qPrintable(QStringLiteral("row %1: code needs %2 px, has %3")
                                                                        .arg(row)
                                                                        .arg(needed.width())
                                                                        .arg(cell.width())));
                ++shown;
            }
            QVERIFY(shown > 0);
            // The names keep a quarter of the list.
            QVERIFY2(4 * keys->columnWidth(2) >= keys->columnWidth(2) + keys->columnWidth(3) - 3,
                     qPrintable(QStringLiteral("names %1 px, codes %2 px")
                                    .arg(keys->columnWidth(2))
                                    .arg(keys->columnWidth(3))));
            for (int row = 0; row < 22; ++row)
                w.addKeysSearch(row);
            settle();
            // Without the simple-programming panel the search rows have the
            // room to show every code whole (with it, layoutFaults accepts
            // the code's start and the whole code as tooltip).
            if (extraConfig.isEmpty()) {
                w.tabWidget->setCurrentWidget(w.searchTab);
                settle();
                for (QLineEdit *edit : w.searchTab->findChildren<QLineEdit *>()) {
                    const int y = edit->height() / 2;
                    QVERIFY2(edit->cursorPositionAt(QPoint(0, y)) == 0 &&
                                 edit->cursorPositionAt(QPoint(edit->width() - 1, y)) == edit->text().size(),
                             qPrintable(edit->objectName()));
                }
                w.tabWidget->setCurrentIndex(0);
                settle();
            }
        }
        const bool simpleToFull = scenario.startsWith(QLatin1String("simple to full"));
        const bool barScenario =
            simpleToFull || scenario == QLatin1String("resize") || scenario == QLatin1String("panel toggled");
        if (barScenario) {
            // A bar of received messages, as the first capture draws it.
            QVERIFY(w.protocolBarPixmap.load(QStringLiteral(":/Icons/protocolbar.png")));
            w.formResize();
            settle();
        }
        if (simpleToFull) {
            const QSize after = scenario.endsWith(QLatin1String("1366x749")) ? QSize(1366, 749) : QSize(980, 660);
            w.actionFullVersion->trigger();
            settle();
            full = true;
            w.showNormal();
            w.resize(after);
            settle();
            QCOMPARE(w.size(), after);
        }
        if (scenario == QLatin1String("panel toggled")) {
            // As the settings dialog does: the simple-programming panel comes
            // or goes beside the key list, the window keeps its size.
            w.settingsSimpleProgramming = !w.settingsSimpleProgramming;
            w.refreshSimpleProgram();
            settle();
        }
        if (scenario == QLatin1String("resize")) {
            // The bar drawn wide must not hold the window wide afterwards.
            w.resize(980, 660);
            settle();
            QCOMPARE(w.size(), QSize(980, 660));
            const QStringList narrowFaults = layoutFaults(w.centralWidget());
            QVERIFY2(narrowFaults.isEmpty(), qPrintable(narrowFaults.join(QLatin1Char('\n'))));
            w.resize(size);
            settle();
        }
        if (barScenario) {
            const QPixmap bar = w.labelProtocol->pixmap();
            QVERIFY(!bar.isNull());
            const QSize room = w.labelProtocol->contentsRect().size();
            QVERIFY2(bar.width() <= room.width(),
                     qPrintable(QStringLiteral("bar %1 px wide in %2 px").arg(bar.width()).arg(w.labelProtocol->width())));
            // A twelfth of its width high, and the bar scaled to that, not
            // left at an earlier size.
            QVERIFY2(w.labelProtocol->height() == w.labelProtocol->width() / 12,
                     qPrintable(QStringLiteral("bar's label %1x%2")
                                    .arg(w.labelProtocol->width())
                                    .arg(w.labelProtocol->height())));
            QVERIFY2(bar.width() == room.width() || bar.height() == room.height(),
                     qPrintable(QStringLiteral("bar %1x%2 in %3x%4")
                                    .arg(bar.width())
                                    .arg(bar.height())
                                    .arg(room.width())
                                    .arg(room.height())));
            const int barRight = w.labelProtocol->mapTo(&w, QPoint(w.labelProtocol->width(), 0)).x();
            const int pictureLeft = w.labelPicture->mapTo(&w, QPoint(0, 0)).x();
            QVERIFY2(barRight <= pictureLeft, qPrintable(QStringLiteral("bar ends at %1, picture starts at %2")
                                                              .arg(barRight)
                                                              .arg(pictureLeft)));
        }
        if (scenario == QLatin1String("replacer")) {
            // Opened as the File menu opens it, on a screen of this size
            // with room for a title bar.
            Changer8in1Dialog &d = w.changer8in1Dialog;
            d.show();
            settle();
            QVERIFY2(d.minimumSizeHint().height() <= 640, qPrintable(QString::number(d.minimumSizeHint().height())));
            QVERIFY2(d.height() <= size.height() - 40 && d.width() <= size.width(),
                     qPrintable(QStringLiteral("%1x%2").arg(d.width()).arg(d.height())));
            const QStringList faults = layoutFaults(&d);
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
            d.close();
        }

        // Every page of the tab widget in full mode; simple mode has none.
        const int pages = full ? w.tabWidget->count() : 1;
        for (int page = 0; page < pages; ++page) {
            if (full) {
                w.tabWidget->setCurrentIndex(page);
                settle();
            }
            const QStringList faults = layoutFaults(w.centralWidget());
            QVERIFY2(faults.isEmpty(),
                     qPrintable(QStringLiteral("page %1:\n").arg(page) + faults.join(QLatin1Char('\n'))));
        }
        // Without the tab pages the model list takes the width up to the
        // simple-mode panel instead of leaving a gap beside it (the spacings
        // of the two empty columns between them remain).
        if (!full) {
            const int listRight = w.ModelsTV->mapTo(&w, QPoint(w.ModelsTV->width(), 0)).x();
            const int panelLeft = w.dev1GB->mapTo(&w, QPoint(0, 0)).x();
            QVERIFY2(panelLeft - listRight <= 3 * w.gridLayout->horizontalSpacing(),
                     qPrintable(QStringLiteral("gap of %1 px").arg(panelLeft - listRight)));
        }
        w.attachUsb(nullptr);
    }

    // A code longer than its label has room for, even in the smallest font:
    // each code label shows the code's start and an ellipsis, as a label
    // holding just that would, never a middle part that looks like a whole
    // code; the tooltip has the whole code. Followed through narrowing and
    // widening the window.
    void longCodeShowsItsStart_data()
    {
        QTest::addColumn<QString>("extraConfig");
        QTest::addRow("simple programming") << "Settings/simpleProgramming";
        QTest::addRow("search fields") << QString();
    }
    void longCodeShowsItsStart()
    {
        QFETCH(QString, extraConfig);
        setConfig("Settings/settingsFullVersion", true);
        if (!extraConfig.isEmpty())
            setConfig(extraConfig, true);
        MainWindowImpl w;
        w.showNormal();
        const QString code = QStringLiteral("03928A3C008C81E4F5D1B3F2A9C4D5E6F7");
        w.setKeyCodeLabels(code);
        int cut = 0;
        for (const QSize &size : {QSize(980, 660), QSize(1366, 768), QSize(980, 660)}) {
            w.resize(size);
            settle();
            for (QLabel *label : {w.labelKeyId, w.labelKeyId2, w.labelKeyIdSearch}) {
                QWidget *page = label->parentWidget();
                while (page && page->parentWidget() && page->parentWidget()->parentWidget() != w.tabWidget)
                    page = page->parentWidget();
                w.tabWidget->setCurrentWidget(page);
                settle();
                const QString where = QStringLiteral("%1 at %2x%3").arg(label->objectName()).arg(size.width()).arg(size.height());
                QCOMPARE(label->text(), code);
                const QString shown =
                    label->fontMetrics().elidedText(code, Qt::ElideRight, FittedFont::textRoom(label));
                if (shown != code) {
                    ++cut;
                    QVERIFY2(shown.endsWith(QChar(0x2026)) && code.startsWith(shown.chopped(1)) && shown.size() > 8,
                             qPrintable(where + QStringLiteral(": ") + shown));
                    QVERIFY2(label->toolTip().contains(code), qPrintable(where));
                }
                QLabel reference(shown, label->parentWidget());
                reference.setFont(label->font());
                reference.setAlignment(label->alignment());
                reference.setGeometry(label->geometry());
                reference.show();
                QVERIFY2(label->grab().toImage() == reference.grab().toImage(),
                         qPrintable(where + QStringLiteral(" does not show ") + shown));
            }
        }
        // At 980x660 beside the simple-programming panel the code does not fit.
        if (!extraConfig.isEmpty())
            QVERIFY(cut > 0);
    }

    // A code's length decides the code labels' font, never the window's
    // layout: with "UNKNOWN", a usual 19-character code and a 34-character
    // one the tab widget, the model list, the labels and the search code
    // fields keep their places and widths on every page.
    void codeLengthKeepsLayout_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("extraConfig");
        for (const QSize &size : {QSize(980, 660), QSize(1366, 768)})
            for (const char *programming : {"Settings/simpleProgramming", ""})
                QTest::addRow("%dx%d, %s", size.width(), size.height(),
                              *programming ? "simple programming" : "search fields")
                    << size << QString::fromLatin1(programming);
    }
    void codeLengthKeepsLayout()
    {
        QFETCH(QSize, size);
        QFETCH(QString, extraConfig);
        setConfig("Settings/settingsFullVersion", true);
        if (!extraConfig.isEmpty())
            setConfig(extraConfig, true);
        MainWindowImpl w;
        w.showNormal();
        w.resize(size);
        settle();
        QCOMPARE(w.size(), size);
        const auto placeOf = [&w](const QWidget *widget) {
            return QRect(widget->mapTo(&w, QPoint(0, 0)), widget->size());
        };
        // Per page: where each watched widget is, in window coordinates.
        const auto layoutNow = [&]() {
            QStringList places;
            for (int page = 0; page < w.tabWidget->count(); ++page) {
                w.tabWidget->setCurrentIndex(page);
                settle();
                const auto note = [&](const QWidget *widget) {
                    const QRect r = placeOf(widget);
                    places << QStringLiteral("page %1 %2 at %3,%4 %5x%6")
                                  .arg(page)
                                  .arg(widget->objectName())
                                  .arg(r.x())
                                  .arg(r.y())
                                  .arg(r.width())
                                  .arg(r.height());
                };
                note(w.tabWidget);
                note(w.ModelsTV);
                for (QLabel *label : {w.labelKeyId, w.labelKeyId2, w.labelKeyIdSearch}) {
                    if (label->isVisible())
                        note(label);
                }
                for (QLineEdit *edit : w.searchTab->findChildren<QLineEdit *>()) {
                    if (edit->isVisible())
                        note(edit);
                }
            }
            w.tabWidget->setCurrentIndex(0);
            settle();
            return places;
        };
        const QStringList unknown = layoutNow();
        QVERIFY(unknown.size() > 6);
        QVERIFY(unknown.join(QLatin1Char('\n')).contains(QLatin1String("labelKeyIdSearch")));
        QVERIFY(unknown.join(QLatin1Char('\n')).contains(QLatin1String("lineEdit1")));
        for (const QString &code :
             {QStringLiteral("03928A3C008C81E4F5D"), QStringLiteral("03928A3C008C81E4F5D1B3F2A9C4D5E6F7"),
              QStringLiteral("UNKNOWN")}) {
            // As a key picked in the list sets them.
            w.setKeyCodeLabels(code);
            settle();
            const QStringList now = layoutNow();
            QCOMPARE(now.size(), unknown.size());
            for (int i = 0; i < now.size(); ++i)
                QVERIFY2(now.at(i) == unknown.at(i),
                         qPrintable(QStringLiteral("%1 characters: %2, with UNKNOWN %3")
                                        .arg(code.size())
                                        .arg(now.at(i), unknown.at(i))));
            // The window's size stays, and every label shows its code whole
            // or its start (longCodeShowsItsStart follows how).
            QCOMPARE(w.size(), size);
            for (QLabel *label : {w.labelKeyId, w.labelKeyId2, w.labelKeyIdSearch})
                QCOMPARE(label->text(), code);
        }
    }

    // The record dialog's texts come from the window's translation, each
    // opener's own title and OK text.
    void recordDialogTexts_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("ok");
        QTest::addRow("new") << 1 << "Neue Fernbedienung"
                             << "Neue FB hinzufügen";
        QTest::addRow("edit") << 2 << "Fernbedienung bearbeiten"
                              << "FB bearbeiten";
        QTest::addRow("link") << 3 << "Neue verknüpfte Fernbedienung"
                              << "Neue FB-Verknüpfung hinzufügen";
    }
    void recordDialogTexts()
    {
        QFETCH(int, mode);
        QFETCH(QString, title);
        QFETCH(QString, ok);
        setConfig("Settings/language", "German");
        MainWindowImpl w;
        QVERIFY(w.ModelsTV->currentIndex().isValid());
        bool seen = false;
        QVERIFY(TestSupport::whileModalDialogOpen(
            [&] {
                if (mode == 1)
                    w.addNewRemoteControlDialog();
                else if (mode == 2)
                    w.editRemoteControlDialog();
                else
                    w.addNewRemoteControlLinkDialog();
            },
            [&](QDialog *dialog) {
                QCOMPARE(dialog, &w.newRemoteDialog);
                QCOMPARE(w.newRemoteDialog.windowTitle(), title);
                QCOMPARE(w.newRemoteDialog.okPushButton->text(), ok);
                QCOMPARE(w.newRemoteDialog.cancelPushButton->text(), QStringLiteral("Abbrechen"));
                seen = true;
            }));
        QVERIFY(seen);
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
        QVERIFY(MessageBox::takeLog().isEmpty());
    }

    // With nothing that opens web pages the user learns where the page is.
    void helpNotOpened()
    {
        MainWindowImpl w;
        entry(w, "German")->trigger();
        MessageBox::takeLog();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".*")));
        w.actionHelp->trigger();
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log.first().kind, QStringLiteral("warning"));
        QCOMPARE(log.first().title, QStringLiteral("Hilfe"));
        QVERIFY2(log.first().text.contains(QFileInfo("Languages/German/index.html").absoluteFilePath()),
                 qPrintable(log.first().text));
        QVERIFY2(log.first().text.startsWith(QStringLiteral("Die Hilfeseite")), qPrintable(log.first().text));
    }

    // German reaches Qt's own texts, and a switch at run time reaches the
    // texts the devices and the slot overview put on the window.
    void germanEverywhere()
    {
        setConfig("Settings/language", "German");
        {
            MainWindowImpl w;
            QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("q"),
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, &w);
            QCOMPARE(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Ja"));
            QCOMPARE(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Nein"));
            QCOMPARE(box.button(QMessageBox::Cancel)->text().remove(QLatin1Char('&')), QStringLiteral("Abbrechen"));
        }

        setConfig("Settings/language", "English");
        MainWindowImpl w;
        UsbState usb;
        usb.setProductString(QStringLiteral("Simulated Remote 2"));
        w.attachUsb(&usb);
        w.initUsb3();
        w.initReceiver2();
        w.refreshInformation2();
        QCOMPARE(w.changer8in1Dialog.cgroupBox5->title(), QStringLiteral("5th"));
        QCOMPARE(w.buttonSimpleUSBProgramm->text(), QStringLiteral("Program"));

        entry(w, "German")->trigger();
        QCOMPARE(w.labelUSBconnection->text(), QStringLiteral("Simulated Remote 2 ist angeschlossen"));
        QCOMPARE(w.labelUSBreceiver->text(), QStringLiteral("USB-Infrarotempfänger ist angeschlossen"));
        QCOMPARE(w.buttonSimpleUSBProgramm->text(), QStringLiteral("Programmieren"));
        QCOMPARE(w.actionConvertDB->text(), QStringLiteral("Datenbank umwandeln"));
        QCOMPARE(w.changer8in1Dialog.cgroupBox5->title(), QStringLiteral("5."));
        QCOMPARE(w.changer8in1Dialog.cgroupBox8->title(), QStringLiteral("8."));
        QCOMPARE(w.changer8in1Dialog.clabelBrand1->text().section(QLatin1Char(' '), 0, 0), QStringLiteral("Marke:"));

        // A remote gone before the switch stays gone: its line in German,
        // the programming actions still off.
        w.initUsb4();
        entry(w, "English")->trigger();
        entry(w, "German")->trigger();
        QCOMPARE(w.labelUSBconnection->text(), QStringLiteral("USB-Fernbedienung nicht angeschlossen"));
        QVERIFY(!w.actionUSBProgramm->isEnabled());
        w.attachUsb(nullptr);
    }
};

QTEST_MAIN(TestMainWindowLanguage)
#include "tst_mainwindowlanguage.moc"
