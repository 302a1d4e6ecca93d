// The main window form as the form alone builds it on a plain QMainWindow:
// object names and classes, menus, tool bar, actions, tabs and the texts,
// sizes and states the form sets (the language texts replace some at start-up).
#include "ui_MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QtTest>

namespace {

const QStringList kSearchSuffixes = [] {
    QStringList s;
    for (int i = 1; i <= 20; ++i)
        s << QString::number(i);
    return s << QStringLiteral("X1") << QStringLiteral("X2");
}();

QString entryName(QAction *a)
{
    if (a->isSeparator())
        return QStringLiteral("-");
    if (a->menu())
        return a->menu()->objectName();
    return a->objectName();
}

QStringList entries(const QList<QAction *> &actions)
{
    QStringList names;
    for (QAction *a : actions)
        names << entryName(a);
    return names;
}

bool sameImage(const QIcon &icon, const QString &path)
{
    const QImage expected = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage actual = icon.pixmap(expected.size()).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return !expected.isNull() && expected == actual;
}

const char *const kTableStyle = "QTableView {     selection-background-color: qlineargradient(x1: 0, y1: 0, x2: 0.5, "
                                "y2: 0.5,                                 stop: 0 #6666FF, stop: 1 #9999FF); }";

} // namespace

class TestMainWindowForm : public QObject
{
    Q_OBJECT

    QMainWindow *m_window = nullptr;
    Ui::MainWindow m_ui;

    template<typename T = QObject>
    T *child(const QString &name)
    {
        return m_window->findChild<T *>(name);
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(icons);
        m_window = new QMainWindow;
        m_ui.setupUi(m_window);
    }
    void cleanupTestCase() { delete m_window; }

    void windowProperties()
    {
        QCOMPARE(m_window->objectName(), QStringLiteral("MainWindow"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Zenomat"));
        QCOMPARE(m_window->size(), QSize(980, 819));
        QCOMPARE(m_window->minimumSize(), QSize(980, 660));
        QCOMPARE(m_window->sizePolicy().horizontalPolicy(), QSizePolicy::Preferred);
        QCOMPARE(m_window->sizePolicy().verticalPolicy(), QSizePolicy::Preferred);
        QVERIFY(!m_window->hasMouseTracking());
        QCOMPARE(m_window->windowModality(), Qt::NonModal);
    }

    void keepsAnExistingObjectName()
    {
        QMainWindow named;
        named.setObjectName(QStringLiteral("Other"));
        Ui::MainWindow ui;
        ui.setupUi(&named);
        QCOMPARE(named.objectName(), QStringLiteral("Other"));
    }

    void objectClasses_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        const QList<QPair<const char *, const char *>> fixed = {
            {"centralwidget", "QWidget"},
            {"labelD", "QLabel"},
            {"comboBoxDatabase", "QComboBox"},
            {"labelB", "QLabel"},
            {"brandLineEdit", "QLineEdit"},
            {"labelT", "QLabel"},
            {"comboBoxType", "QxtCheckComboBox"},
            {"labelM", "QLabel"},
            {"modelLineEdit", "QLineEdit"},
            {"labelR", "QLabel"},
            {"rcidLineEdit", "QLineEdit"},
            {"labelL", "QLabel"},
            {"linkLineEdit", "QLineEdit"},
            {"setFiltersPushButton", "QPushButton"},
            {"removeFiltersPushButton", "QPushButton"},
            {"RCTypesTV", "RCTypesTableView"},
            {"ModelsTV", "RCModelsTableView"},
            {"tabWidget", "QTabWidget"},
            {"mainTab", "QWidget"},
            {"shiftCheckBox", "QCheckBox"},
            {"labelKeyId", "QLabel"},
            {"labelProtocol", "QLabel"},
            {"KeysTV", "RCKeysTableView"},
            {"labelPicture", "QMainMouseMoveCatchWidget"},
            {"imagesTab", "QWidget"},
            {"pushButtonAdd", "QPushButton"},
            {"pushButtonDelete", "QPushButton"},
            {"scrollArea", "QScrollArea"},
            {"scrollAreaWidgetContents", "QWidget"},
            {"linksTab", "QWidget"},
            {"documentationLabel", "QLabel"},
            {"LinksTV", "RCLinksTableView"},
            {"textEdit", "QTextEdit"},
            {"oscillographTab", "QWidget"},
            {"labelKeyId2", "QLabel"},
            {"labelOscillograph", "QLabel"},
            {"searchTab", "QWidget"},
            {"labelKeyIdSearch", "QLabel"},
            {"removeSearchPushButton", "QPushButton"},
            {"prog", "programming"},
            {"labelUSBconnection", "QLabel"},
            {"labelUSBreceiver", "QLabel"},
            {"buttonSimpleUSBProgramm", "QPushButton"},
            {"menubar", "QMenuBar"},
            {"menuTools", "QMenu"},
            {"menuLanguage", "QMenu"},
            {"menuAbout", "QMenu"},
            {"menu_File", "QMenu"},
            {"menu_Receiver_Type", "QMenu"},
            {"statusbar", "QStatusBar"},
            {"toolBar", "QToolBar"},
        };
        for (const auto &row : fixed)
            QTest::addRow("%s", row.first) << QString::fromLatin1(row.first) << QString::fromLatin1(row.second);
        for (int n = 1; n <= 5; ++n)
            QTest::addRow("pushButton%d", n) << QStringLiteral("pushButton%1").arg(n) << "QPushButton";
        for (const QString &s : kSearchSuffixes) {
            QTest::addRow("keysSearch%s", qPrintable(s)) << "keysSearch" + s << "QPushButton";
            QTest::addRow("lineEdit%s", qPrintable(s)) << "lineEdit" + s << "QLineEdit";
            QTest::addRow("minus%s", qPrintable(s)) << "minus" + s << "QPushButton";
        }
        for (int n = 1; n <= 4; ++n) {
            QTest::addRow("dev%dGB", n) << QStringLiteral("dev%1GB").arg(n) << "QGroupBox";
            for (const char *part : {"Brand", "Model"})
                QTest::addRow("dev%d%s", n, part) << QStringLiteral("dev%1%2").arg(n).arg(QLatin1String(part)) << "QLabel";
            for (const char *part : {"Del", "Add"})
                QTest::addRow("dev%d%s", n, part) << QStringLiteral("dev%1%2").arg(n).arg(QLatin1String(part))
                                                  << "QPushButton";
        }
    }
    void objectClasses()
    {
        QFETCH(QString, name);
        QFETCH(QString, className);
        QObject *object = child(name);
        QVERIFY2(object, qPrintable(name));
        QCOMPARE(QString::fromLatin1(object->metaObject()->className()), className);
    }

    void layoutNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        const QList<QPair<const char *, const char *>> rows = {
            {"gridLayout", "QGridLayout"},       {"verticalLayout", "QVBoxLayout"},
            {"horizontalLayout_7", "QHBoxLayout"}, {"verticalLayout_5", "QVBoxLayout"},
            {"gridLayout_2", "QGridLayout"},     {"verticalLayout_2", "QVBoxLayout"},
            {"horizontalLayout", "QHBoxLayout"}, {"verticalLayout_3", "QVBoxLayout"},
            {"horizontalLayout_2", "QHBoxLayout"}, {"verticalLayout_4", "QVBoxLayout"},
            {"horizontalLayout_5", "QHBoxLayout"}, {"verticalLayout_10", "QVBoxLayout"},
            {"verticalLayout_11", "QVBoxLayout"}, {"horizontalLayout_4", "QHBoxLayout"},
            {"verticalLayout_9", "QVBoxLayout"}, {"verticalLayout_12", "QVBoxLayout"},
            {"horizontalLayout_8", "QHBoxLayout"}, {"searchKeysVL1", "QVBoxLayout"},
            {"searchKeysVL2", "QVBoxLayout"},    {"verticalLayout_6", "QVBoxLayout"},
            {"verticalLayout_7", "QVBoxLayout"}, {"dev1HL", "QHBoxLayout"},
            {"verticalLayout_8", "QVBoxLayout"}, {"dev2HL", "QHBoxLayout"},
            {"verticalLayout_13", "QVBoxLayout"}, {"dev1HL_7", "QHBoxLayout"},
            {"verticalLayout_14", "QVBoxLayout"}, {"dev4HL", "QHBoxLayout"},
        };
        for (const auto &row : rows)
            QTest::addRow("%s", row.first) << QString::fromLatin1(row.first) << QString::fromLatin1(row.second);
        for (int i = 1; i <= 20; ++i)
            QTest::addRow("searchKeysHL%02d", i) << QStringLiteral("searchKeysHL%1").arg(i, 2, 10, QLatin1Char('0'))
                                                 << "QHBoxLayout";
        QTest::addRow("searchKeysHLX1") << "searchKeysHLX1" << "QHBoxLayout";
        QTest::addRow("searchKeysHLX2") << "searchKeysHLX2" << "QHBoxLayout";
    }
    void layoutNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, className);
        QLayout *layout = m_window->findChild<QLayout *>(name);
        QVERIFY2(layout, qPrintable(name));
        QCOMPARE(QString::fromLatin1(layout->metaObject()->className()), className);
    }

    void menuBarOrder()
    {
        QCOMPARE(entries(m_ui.menubar->actions()), QStringList({"menu_File", "menuTools", "menuAbout"}));
        QCOMPARE(m_ui.menuLanguage->parent(), m_ui.menuTools);
        QCOMPARE(m_ui.menu_Receiver_Type->parent(), m_ui.menu_File);
    }

    void menuContents_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("File") << "menu_File" << "File"
                              << QStringList{"actionEditRemoteControl", "actionNewRemoteControl",
                                             "actionNewRemoteControlLink", "actionDeleteRemoteControl",
                                             "actionConvertRemoteControl", "-", "actionImport", "actionExport", "-",
                                             "actionUSBProgramm", "actionMacroProgramm", "-", "actionPrintPreview",
                                             "actionPrint", "-", "actionTransmitMode", "menu_Receiver_Type",
                                             "actionSearch", "actionConvertDB", "-", "actionClose"};
        QTest::addRow("Receiver Type") << "menu_Receiver_Type" << "Receiver Type"
                                       << QStringList{"actionModuleted_Signal_30kHz_56kHz",
                                                      "actionNon_modulated_Signal_ITT"};
        QTest::addRow("Tools") << "menuTools" << "Tools"
                               << QStringList{"actionSettings", "actionFullVersion", "actionSimpleVersion",
                                              "menuLanguage"};
        QTest::addRow("About") << "menuAbout" << "About"
                               << QStringList{"actionUpdateProgram", "-", "actionHelp", "actionAbout"};
        QTest::addRow("Language") << "menuLanguage" << "Language" << QStringList{};
    }
    void menuContents()
    {
        QFETCH(QString, menu);
        QFETCH(QString, title);
        QFETCH(QStringList, expected);
        auto *m = child<QMenu>(menu);
        QVERIFY(m);
        QCOMPARE(m->title(), title);
        QCOMPARE(entries(m->actions()), expected);
    }

    void toolBarContents()
    {
        QCOMPARE(m_ui.toolBar->windowTitle(), QStringLiteral("toolBar"));
        QCOMPARE(m_ui.toolBar->iconSize(), QSize(32, 32));
        QCOMPARE(m_window->toolBarArea(m_ui.toolBar), Qt::TopToolBarArea);
        QCOMPARE(entries(m_ui.toolBar->actions()),
                 QStringList({"actionEditRemoteControl", "actionNewRemoteControl", "actionNewRemoteControlLink",
                              "actionDeleteRemoteControl", "actionConvertRemoteControl", "-", "actionImport",
                              "actionExport", "-", "actionUSBProgramm", "actionMacroProgramm", "-", "actionPrint",
                              "actionSearch", "actionSettings", "actionFullVersion", "actionSimpleVersion", "-",
                              "actionHelp"}));
    }

    void actionEnglishIsNowhere()
    {
        QVERIFY(m_ui.actionEnglish->isCheckable());
        QVERIFY(m_ui.actionEnglish->isChecked());
        QVERIFY(m_ui.actionEnglish->associatedObjects().isEmpty());
    }

    void actions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("icon"); // resource path, empty for none
        QTest::addColumn<bool>("iconInMenus");
        QTest::addColumn<bool>("checkable");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("enabled");
        struct Row
        {
            const char *name, *text, *icon;
            bool inMenus, checkable, checked, enabled;
        };
        const Row rows[] = {
            {"actionNewRemoteControl", "New Remote Control", "new_remote_control", true, false, false, true},
            {"actionDeleteRemoteControl", "Delete Remote Control", "delete_remote_control", false, false, false, true},
            {"actionImport", "Import", "import", false, false, false, true},
            {"actionExport", "Export", "export", false, false, false, true},
            {"actionPrint", "Print...", "print", false, false, false, true},
            {"actionModuleted_Signal_30kHz_56kHz", "Modulated Signal (30kHz-56kHz)", "", false, true, true, true},
            {"actionNon_modulated_Signal_ITT", "Non-modulated Signal (ITT)", "", false, true, false, true},
            {"actionClose", "Exit", "", false, false, false, true},
            {"actionSettings", "Settings", "settings", false, false, false, true},
            {"actionEnglish", "English", "", false, true, true, true},
            {"actionAbout", "About", "", false, false, false, true},
            {"actionHelp", "Help", "help", false, false, false, true},
            {"actionSearch", "Search", "search", false, false, false, true},
            {"actionPrintPreview", "Print Preview", "", false, false, false, true},
            {"actionTransmitMode", "Transmit mode", "", false, true, false, true},
            {"actionUSBProgramm", "Program Remote Control", "usbprogramm", true, false, false, false},
            {"actionEditRemoteControl", "Edit Remote Control", "edit_remote_control", true, false, false, true},
            {"actionNewRemoteControlLink", "New Remote Control", "new_remote_control_link", true, false, false, true},
            {"actionUpdateProgram", "Check For Updates", "", false, false, false, true},
            {"actionMacroProgramm", "Program Macro", "macroprogramm", true, false, false, false},
            {"actionConvertRemoteControl", "Convert Remote Control", "convert_remote_control", true, false, false, true},
            {"actionFullVersion", "Full Version", "full_version", false, false, false, true},
            {"actionSimpleVersion", "Simple Version", "simple_version", false, false, false, true},
            {"actionConvertDB", "Convert DB", "", false, false, false, true},
        };
        for (const Row &r : rows) {
            const QString icon = *r.icon ? QStringLiteral(":/Icons/%1.png").arg(QLatin1String(r.icon)) : QString();
            QTest::addRow("%s", r.name) << QString::fromLatin1(r.name) << QString::fromLatin1(r.text) << icon
                                        << r.inMenus << r.checkable << r.checked << r.enabled;
        }
    }
    void actions()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, icon);
        QFETCH(bool, iconInMenus);
        QFETCH(bool, checkable);
        QFETCH(bool, checked);
        QFETCH(bool, enabled);
        auto *action = child<QAction>(name);
        QVERIFY(action);
        QCOMPARE(action->parent(), m_window);
        QCOMPARE(action->text(), text);
        if (icon.isEmpty()) {
            QVERIFY(action->icon().isNull());
        } else {
            QVERIFY2(sameImage(action->icon(), icon), qPrintable(icon));
        }
        if (iconInMenus)
            QVERIFY(action->isIconVisibleInMenu());
        QCOMPARE(action->isCheckable(), checkable);
        QCOMPARE(action->isChecked(), checked);
        QCOMPARE(action->isEnabled(), enabled);
        QVERIFY(action->shortcut().isEmpty());
        if (icon.isEmpty())
            QVERIFY(!m_ui.toolBar->actions().contains(action));
    }

    void updateActionToolTip() { QCOMPARE(m_ui.actionUpdateProgram->toolTip(), QStringLiteral("Check For updates")); }

    void tabs()
    {
        const QStringList titles = {"Main", "Images", "Links", "Oscillograph", "Search"};
        const QStringList pages = {"mainTab", "imagesTab", "linksTab", "oscillographTab", "searchTab"};
        QCOMPARE(m_ui.tabWidget->count(), titles.size());
        for (int i = 0; i < titles.size(); ++i) {
            QCOMPARE(m_ui.tabWidget->tabText(i), titles[i]);
            QCOMPARE(m_ui.tabWidget->widget(i)->objectName(), pages[i]);
        }
        QCOMPARE(m_ui.tabWidget->currentIndex(), 0);
        QCOMPARE(m_ui.tabWidget->iconSize(), QSize(12, 12));
        QVERIFY(m_ui.tabWidget->usesScrollButtons());
    }

    void widgetTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        const QList<QPair<const char *, const char *>> rows = {
            {"labelD", "Database:"},          {"labelB", "Brand:"},
            {"labelT", "Type:"},              {"labelM", "Model:"},
            {"labelR", "Id:"},                {"labelL", "Link:"},
            {"setFiltersPushButton", "Set Filters"}, {"removeFiltersPushButton", "Remove Filters"},
            {"shiftCheckBox", "Shift"},       {"labelKeyId", "UNKNOWN"},
            {"labelProtocol", ""},            {"labelPicture", ""},
            {"pushButtonAdd", "Image"},       {"pushButtonDelete", "Image"},
            {"documentationLabel", "TextLabel"}, {"labelKeyId2", "UNKNOWN"},
            {"labelOscillograph", ""},        {"labelKeyIdSearch", "UNKNOWN"},
            {"removeSearchPushButton", "New Search"}, {"prog", "programmnig"},
            {"labelUSBconnection", ""},       {"labelUSBreceiver", ""},
            {"buttonSimpleUSBProgramm", "Program"},
        };
        for (const auto &row : rows)
            QTest::addRow("%s", row.first) << QString::fromLatin1(row.first) << QString::fromUtf8(row.second);
        for (int n = 1; n <= 5; ++n)
            QTest::addRow("pushButton%d", n) << QStringLiteral("pushButton%1").arg(n) << QStringLiteral("Image %1").arg(n);
        const QStringList keyNames = {"POWER", "MUTE",  "1",     "2",      "3",    "0",     "VOL+", "VOL-",
                                      "P+",    "P-",    "RED",   "GREEN",  "YELLOW", "BLUE", "EJECT", "PLAY",
                                      "STOP",  "PAUSE", "MENU",  "OK",     "...",  "..."};
        for (int i = 0; i < kSearchSuffixes.size(); ++i) {
            const QString s = kSearchSuffixes[i];
            QTest::addRow("keysSearch%s", qPrintable(s)) << "keysSearch" + s << keyNames[i];
            QTest::addRow("minus%s", qPrintable(s)) << "minus" + s << "-";
            QTest::addRow("lineEdit%s", qPrintable(s)) << "lineEdit" + s << "";
        }
        for (int n = 1; n <= 4; ++n) {
            for (const char *part : {"Brand", "Model", "Del", "Add"})
                QTest::addRow("dev%d%s", n, part) << QStringLiteral("dev%1%2").arg(n).arg(QLatin1String(part)) << "";
        }
    }
    void widgetTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QObject *object = child(name);
        QVERIFY2(object, qPrintable(name));
        QString actual;
        if (auto *label = qobject_cast<QLabel *>(object))
            actual = label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(object))
            actual = button->text();
        else if (auto *edit = qobject_cast<QLineEdit *>(object))
            actual = edit->text();
        else
            QFAIL("no text widget");
        QCOMPARE(actual, text);
    }

    void sizes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("minimum");
        QTest::addColumn<QSize>("maximum");
        const int M = 16777215;
        // The filter labels get at least 50 px from their grid column and at
        // least their text's width from their own size hint (below).
        for (const char *label : {"labelD", "labelB", "labelT", "labelM", "labelR", "labelL"})
            QTest::addRow("%s", label) << QString::fromLatin1(label) << QSize(0, 0) << QSize(150, M);
        QTest::addRow("RCTypesTV") << "RCTypesTV" << QSize(160, 155) << QSize(200, 400);
        QTest::addRow("ModelsTV") << "ModelsTV" << QSize(310, 0) << QSize(2000, M);
        // Its grid column keeps it at least 350 px wide (below).
        QTest::addRow("tabWidget") << "tabWidget" << QSize(0, 0) << QSize(1000, M);
        QTest::addRow("shiftCheckBox") << "shiftCheckBox" << QSize(90, 0) << QSize(90, M);
        QTest::addRow("labelProtocol") << "labelProtocol" << QSize(190, 25) << QSize(M, 25);
        QTest::addRow("KeysTV") << "KeysTV" << QSize(190, 0) << QSize(M, M);
        QTest::addRow("labelPicture") << "labelPicture" << QSize(100, 380) << QSize(M, M);
        // Wrapped, it grows by lines instead of widening the window.
        QTest::addRow("documentationLabel") << "documentationLabel" << QSize(0, 50) << QSize(M, M);
        QTest::addRow("labelKeyId2") << "labelKeyId2" << QSize(0, 20) << QSize(M, 20);
        QTest::addRow("labelKeyIdSearch") << "labelKeyIdSearch" << QSize(0, 24) << QSize(M, 24);
        QTest::addRow("removeSearchPushButton") << "removeSearchPushButton" << QSize(0, 24) << QSize(M, 24);
        for (const QString &s : kSearchSuffixes) {
            QTest::addRow("keysSearch%s", qPrintable(s)) << "keysSearch" + s << QSize(60, 0) << QSize(100, M);
            QTest::addRow("minus%s", qPrintable(s)) << "minus" + s << QSize(25, 25) << QSize(25, 25);
        }
        for (int n = 1; n <= 4; ++n) {
            // As low as their contents allow, so that four fit the simple mode's height.
            QTest::addRow("dev%dGB", n) << QStringLiteral("dev%1GB").arg(n) << QSize(220, 0) << QSize(220, 140);
            QTest::addRow("dev%dDel", n) << QStringLiteral("dev%1Del").arg(n) << QSize(32, 32) << QSize(32, 32);
            QTest::addRow("dev%dAdd", n) << QStringLiteral("dev%1Add").arg(n) << QSize(32, 32) << QSize(32, 32);
        }
    }
    void sizes()
    {
        QFETCH(QString, name);
        QFETCH(QSize, minimum);
        QFETCH(QSize, maximum);
        auto *widget = child<QWidget>(name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(widget->minimumSize(), minimum);
        QCOMPARE(widget->maximumSize(), maximum);
    }

    // Floors the form keeps on grid columns instead of on the widgets, so that
    // a text or a picture needing more still gets it.
    void columnMinimumWidths()
    {
        QCOMPARE(m_ui.gridLayout_2->columnMinimumWidth(0), 50);
        QCOMPARE(m_ui.gridLayout->columnMinimumWidth(2), 350);
    }

    void buttonIcons_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("icon");
        for (int n = 1; n <= 5; ++n)
            QTest::addRow("pushButton%d", n) << QStringLiteral("pushButton%1").arg(n) << ":/Icons/jpg.png";
        QTest::addRow("pushButtonAdd") << "pushButtonAdd" << ":/Icons/add.png";
        QTest::addRow("pushButtonDelete") << "pushButtonDelete" << ":/Icons/delete.png";
        for (int n = 1; n <= 4; ++n) {
            QTest::addRow("dev%dDel", n) << QStringLiteral("dev%1Del").arg(n) << ":/Icons/delete.png";
            QTest::addRow("dev%dAdd", n) << QStringLiteral("dev%1Add").arg(n) << ":/Icons/add.png";
        }
        QTest::addRow("buttonSimpleUSBProgramm") << "buttonSimpleUSBProgramm" << ":/Icons/usbprogramm.png";
    }
    void buttonIcons()
    {
        QFETCH(QString, name);
        QFETCH(QString, icon);
        auto *button = child<QAbstractButton>(name);
        QVERIFY(button);
        QVERIFY(sameImage(button->icon(), icon));
    }

    void tablesShareTheSelectionStyle_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("horizontalHeader");
        QTest::addColumn<bool>("verticalHeader");
        QTest::addRow("RCTypesTV") << "RCTypesTV" << false << false;
        QTest::addRow("ModelsTV") << "ModelsTV" << true << false;
        QTest::addRow("KeysTV") << "KeysTV" << true << true;
        QTest::addRow("LinksTV") << "LinksTV" << true << false;
    }
    void tablesShareTheSelectionStyle()
    {
        QFETCH(QString, name);
        QFETCH(bool, horizontalHeader);
        QFETCH(bool, verticalHeader);
        auto *view = child<QTableView>(name);
        QVERIFY(view);
        QCOMPARE(view->styleSheet(), QString::fromLatin1(kTableStyle));
        QCOMPARE(view->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(view->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(!view->horizontalHeader()->isHidden(), horizontalHeader);
        QCOMPARE(!view->verticalHeader()->isHidden(), verticalHeader);
    }

    void editingAndPolicies()
    {
        QCOMPARE(m_ui.ModelsTV->editTriggers(), QAbstractItemView::DoubleClicked);
        QVERIFY(m_ui.ModelsTV->tabKeyNavigation());
        QCOMPARE(m_ui.KeysTV->editTriggers(), QAbstractItemView::DoubleClicked);
        QCOMPARE(m_ui.RCTypesTV->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
        QCOMPARE(m_ui.RCTypesTV->sizePolicy().verticalPolicy(), QSizePolicy::Minimum);
        QVERIFY(m_ui.comboBoxType->isEditable());
        QCOMPARE(m_ui.comboBoxType->count(), 0);
        QCOMPARE(m_ui.comboBoxDatabase->count(), 0);
        QVERIFY(m_ui.labelPicture->hasMouseTracking());
        QVERIFY(m_ui.scrollArea->widgetResizable());
        QCOMPARE(m_ui.scrollArea->widget(), m_ui.scrollAreaWidgetContents);
        QVERIFY(m_ui.statusbar->isSizeGripEnabled());
        QCOMPARE(m_ui.buttonSimpleUSBProgramm->iconSize(), QSize(30, 30));
        QCOMPARE(m_ui.labelUSBreceiver->alignment(), Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(m_ui.labelKeyId->alignment(), Qt::AlignCenter);
        QCOMPARE(m_ui.labelKeyId->font().family(), QStringLiteral("MS Shell Dlg 2"));
        for (QWidget *w : {static_cast<QWidget *>(m_ui.labelKeyId), static_cast<QWidget *>(m_ui.labelKeyId2),
                           static_cast<QWidget *>(m_ui.labelKeyIdSearch), static_cast<QWidget *>(m_ui.shiftCheckBox)}) {
            QCOMPARE(w->font().pointSize(), 12);
            QVERIFY(w->font().bold());
        }
    }

    void searchFieldsRefuseTyping()
    {
        for (const QString &s : kSearchSuffixes) {
            auto *edit = child<QLineEdit>("lineEdit" + s);
            QVERIFY(edit);
            QVERIFY(edit->isReadOnly());
            QTest::keyClicks(edit, QStringLiteral("123"));
            QVERIFY(edit->text().isEmpty());
        }
    }

    void searchRowsSitInTheirColumns()
    {
        // Rows 1..11 under the received code on the left, the others on the right.
        auto *left = m_window->findChild<QLayout *>(QStringLiteral("searchKeysVL1"));
        auto *right = m_window->findChild<QLayout *>(QStringLiteral("searchKeysVL2"));
        QVERIFY(left && right);
        for (int i = 0; i < kSearchSuffixes.size(); ++i) {
            const QString s = kSearchSuffixes[i];
            const QString layoutName = i < 20 ? QStringLiteral("searchKeysHL%1").arg(i + 1, 2, 10, QLatin1Char('0'))
                                              : "searchKeysHL" + s;
            QLayout *expected = i < 11 ? left : right;
            bool found = false;
            for (int k = 0; k < expected->count(); ++k) {
                QLayout *row = expected->itemAt(k)->layout();
                if (row && row->objectName() == layoutName) {
                    found = true;
                    QCOMPARE(row->itemAt(0)->widget(), child<QWidget>("keysSearch" + s));
                    QCOMPARE(row->itemAt(1)->widget(), child<QWidget>("lineEdit" + s));
                    QCOMPARE(row->itemAt(2)->widget(), child<QWidget>("minus" + s));
                }
            }
            QVERIFY2(found, qPrintable(layoutName));
        }
    }

    void simpleModeBoxes()
    {
        for (int n = 1; n <= 4; ++n) {
            auto *box = child<QGroupBox>(QStringLiteral("dev%1GB").arg(n));
            QVERIFY(box);
            QCOMPARE(box->title(), QStringLiteral("DEV%1").arg(n));
            QLayout *layout = box->layout();
            QVERIFY(layout);
            QCOMPARE(layout->spacing(), 5);
            QCOMPARE(layout->contentsMargins(), QMargins(5, 5, 5, 5));
        }
    }
};

QTEST_MAIN(TestMainWindowForm)
#include "tst_mainwindowform.moc"
