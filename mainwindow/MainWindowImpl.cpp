#include "mainwindow/MainWindowImpl.h"

#include "app/CheckedPicture.h"
#include "app/FittedFont.h"
#include "app/MessageBox.h"
#include "app/PlainTextLabels.h"
#include "app/ResizeWatcher.h"
#include "app/ShownText.h"

#include "catalogue/KeyReleaseForwarder.h"
#include "catalogue/RCKeysModel.h"
#include "catalogue/RCModelsModel.h"
#include "catalogue/RCTypesModel.h"
#include "catalogue/RemoteTypeQuery.h"

#include <QHeaderView>
#include <QIcon>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

// The icon set is compiled into the static GUI library; naming its initialiser
// here keeps it linked wherever the window is.
int qInitResources_icons();
namespace {
const int iconResources = qInitResources_icons();
} // namespace

std::atomic<MainWindowImpl *> MainWindowImpl::instance{nullptr};

// ---------------------------------------------------------------------------
// Numbered families: one row per member, so each family is one table.

// Search rows: suffix, index 0..21.
#define IRVANTA_SEARCH_ROWS(X)                                                                                            \
    X(1, 0) X(2, 1) X(3, 2) X(4, 3) X(5, 4) X(6, 5) X(7, 6) X(8, 7) X(9, 8) X(10, 9) X(11, 10) X(12, 11) X(13, 12)     \
        X(14, 13) X(15, 14) X(16, 15) X(17, 16) X(18, 17) X(19, 18) X(20, 19) X(X1, 20) X(X2, 21)
// Device slots of the slot dialog, 1..8.
#define IRVANTA_DEVICE_SLOTS(X) X(1) X(2) X(3) X(4) X(5) X(6) X(7) X(8)
// Simple-mode boxes, 1..4.
#define IRVANTA_SIMPLE_BOXES(X) X(1) X(2) X(3) X(4)
// Photo places, 1..5.
#define IRVANTA_PHOTO_PLACES(X) X(1) X(2) X(3) X(4) X(5)

#define IRVANTA_FORWARD_SEARCH(s, i)                                                                                     \
    void MainWindowImpl::addKeysSearch##s() { addKeysSearch(i); }                                                        \
    void MainWindowImpl::deleteKeysSearch##s() { deleteKeysSearch(i); }
IRVANTA_SEARCH_ROWS(IRVANTA_FORWARD_SEARCH)

#define IRVANTA_FORWARD_DEVICE_SLOT(n)                                                                                   \
    void MainWindowImpl::startProgramming81_##n() { startProgramming81(n - 1); }                                         \
    void MainWindowImpl::startDelete81_##n() { startDelete81(n - 1); }
IRVANTA_DEVICE_SLOTS(IRVANTA_FORWARD_DEVICE_SLOT)

#define IRVANTA_FORWARD_SIMPLE_BOX(n)                                                                                    \
    void MainWindowImpl::simpleProgramming_##n() { simpleProgramming(n - 1); }                                           \
    void MainWindowImpl::simpleDelete_##n() { simpleDelete(n - 1); }
IRVANTA_SIMPLE_BOXES(IRVANTA_FORWARD_SIMPLE_BOX)

#define IRVANTA_FORWARD_PHOTO(n)                                                                                         \
    void MainWindowImpl::imageClick##n() { imageClick(n); }
IRVANTA_PHOTO_PLACES(IRVANTA_FORWARD_PHOTO)

// ---------------------------------------------------------------------------
// The constructor's connections, numbered as the construction steps make them.

namespace {

using W = MainWindowImpl;

struct Connection
{
    int row;
    void (*make)(W *w);
};

#define IRVANTA_ROW(n, sender, signal, slot)                                                                             \
    {                                                                                                                    \
        n, [](W *w) { QObject::connect(sender, signal, w, slot); }                                                      \
    }
#define IRVANTA_CHANGER_ROWS(n)                                                                                          \
    IRVANTA_ROW(36 + n, w->changer8in1Dialog.cpushButton##n, &QPushButton::pressed, &W::startProgramming81_##n),
#define IRVANTA_CHANGER_DELETE_ROWS(n)                                                                                   \
    IRVANTA_ROW(44 + n, w->changer8in1Dialog.dpushButton##n, &QPushButton::pressed, &W::startDelete81_##n),
#define IRVANTA_SIMPLE_ADD_ROWS(n) IRVANTA_ROW(54 + n, w->dev##n##Add, &QPushButton::pressed, &W::simpleProgramming_##n),
#define IRVANTA_SIMPLE_DELETE_ROWS(n) IRVANTA_ROW(58 + n, w->dev##n##Del, &QPushButton::pressed, &W::simpleDelete_##n),
#define IRVANTA_PHOTO_ROWS(n) IRVANTA_ROW(24 + n, w->pushButton##n, &QPushButton::clicked, &W::imageClick##n),
#define IRVANTA_SEARCH_ADD_ROWS(s, i) IRVANTA_ROW(70 + i, w->keysSearch##s, &QPushButton::clicked, &W::addKeysSearch##s),
#define IRVANTA_SEARCH_DELETE_ROWS(s, i) IRVANTA_ROW(92 + i, w->minus##s, &QPushButton::clicked, &W::deleteKeysSearch##s),

const Connection kConnections[] = {
    IRVANTA_ROW(1, w->actionDeleteRemoteControl, &QAction::triggered, &W::deleteRemoteControl),
    IRVANTA_ROW(2, w->actionNewRemoteControl, &QAction::triggered, &W::addNewRemoteControlDialog),
    IRVANTA_ROW(3, w->actionNewRemoteControlLink, &QAction::triggered, &W::addNewRemoteControlLinkDialog),
    IRVANTA_ROW(4, w->actionEditRemoteControl, &QAction::triggered, &W::editRemoteControlDialog),
    IRVANTA_ROW(5, w->actionConvertRemoteControl, &QAction::triggered, &W::convertDialogOpen),
    IRVANTA_ROW(6, w->actionClose, &QAction::triggered, &QWidget::close),
    IRVANTA_ROW(7, w->actionSettings, &QAction::triggered, &W::editSettings),
    IRVANTA_ROW(8, w->actionConvertDB, &QAction::triggered, &W::convertDB),
    IRVANTA_ROW(9, w->actionUpdateProgram, &QAction::triggered, &W::updateProgramDialogOpen),
    IRVANTA_ROW(10, w->actionFullVersion, &QAction::triggered, &W::fullVersion),
    IRVANTA_ROW(11, w->actionSimpleVersion, &QAction::triggered, &W::simpleVersion),
    IRVANTA_ROW(12, w->actionTransmitMode, &QAction::triggered, &W::setTransmit),
    IRVANTA_ROW(13, w->shiftCheckBox, &QCheckBox::pressed, &W::changeShift),
    IRVANTA_ROW(14, w->setFiltersPushButton, &QPushButton::clicked, &W::setFilters),
    IRVANTA_ROW(15, w->removeFiltersPushButton, &QPushButton::clicked, &W::removeFilters),
    IRVANTA_ROW(16, w->ModelsTV, &QAbstractItemView::clicked, &W::refreshRC),
    IRVANTA_ROW(17, w->RCTypesTV, &QAbstractItemView::clicked, &W::refreshRC),
    IRVANTA_ROW(18, w->tabWidget, &QTabWidget::currentChanged, &W::tabSwitched),
    IRVANTA_ROW(19, w->KeysTV, &QAbstractItemView::clicked, &W::refreshID),
    IRVANTA_ROW(20, w->newRemoteDialog.okPushButton, &QPushButton::pressed, &W::editRemoteControl),
    IRVANTA_ROW(21, w->settingsDialog.savePushButton, &QPushButton::pressed, &W::updateSettings),
    IRVANTA_ROW(22, w->insertKeyTimer, &QTimer::timeout, &W::insertKey),
    IRVANTA_ROW(23, w->pushButtonAdd, &QPushButton::clicked, &W::addNewImage),
    IRVANTA_ROW(24, w->pushButtonDelete, &QPushButton::clicked, &W::deleteNewImage),
    IRVANTA_PHOTO_PLACES(IRVANTA_PHOTO_ROWS)
    IRVANTA_ROW(30, w->menuLanguage, &QMenu::triggered, &W::doTran),
    IRVANTA_ROW(31, w->actionExport, &QAction::triggered, &W::exportRemote),
    IRVANTA_ROW(32, w->actionImport, &QAction::triggered, &W::importRemote),
    IRVANTA_ROW(33, w->actionPrint, &QAction::triggered, &W::print),
    IRVANTA_ROW(34, w->actionPrintPreview, &QAction::triggered, &W::previewDialog),
    IRVANTA_ROW(35, w->receiveTimer, &QTimer::timeout, &W::lastMessage),
    IRVANTA_ROW(36, w->actionUSBProgramm, &QAction::triggered, &W::programUSBDialogOpen),
    IRVANTA_DEVICE_SLOTS(IRVANTA_CHANGER_ROWS)
    IRVANTA_DEVICE_SLOTS(IRVANTA_CHANGER_DELETE_ROWS)
    IRVANTA_ROW(53, w->actionMacroProgramm, &QAction::triggered, &W::macroDialogOpen),
    IRVANTA_ROW(54, w->macroDialog.programMacroButton, &QPushButton::pressed, &W::programMacro),
    IRVANTA_SIMPLE_BOXES(IRVANTA_SIMPLE_ADD_ROWS)
    IRVANTA_SIMPLE_BOXES(IRVANTA_SIMPLE_DELETE_ROWS)
    IRVANTA_ROW(63, w->buttonSimpleUSBProgramm, &QPushButton::pressed, &W::startProgramming81Simple),
    IRVANTA_ROW(64, w->actionSearch, &QAction::triggered, &W::searchDialogOpen),
    IRVANTA_ROW(65, w->actionModuleted_Signal_30kHz_56kHz, &QAction::triggered, &W::changeSignal30),
    IRVANTA_ROW(66, w->actionNon_modulated_Signal_ITT, &QAction::triggered, &W::changeSignalITT),
    IRVANTA_ROW(67, w->convertDialog.convertButton, &QPushButton::pressed, &W::convertRC),
    IRVANTA_ROW(68, w->actionHelp, &QAction::triggered, &W::openHelp),
    IRVANTA_ROW(69, w->actionAbout, &QAction::triggered, &W::openAbout),
    IRVANTA_SEARCH_ROWS(IRVANTA_SEARCH_ADD_ROWS)
    IRVANTA_SEARCH_ROWS(IRVANTA_SEARCH_DELETE_ROWS)
    IRVANTA_ROW(114, w->removeSearchPushButton, &QPushButton::clicked, &W::removeSearch),
};

} // namespace

void MainWindowImpl::makeConnections(int firstRow, int lastRow)
{
    for (const Connection &c : kConnections) {
        if (c.row >= firstRow && c.row <= lastRow)
            c.make(this);
    }
}

// ---------------------------------------------------------------------------

void MainWindowImpl::showStatus(const QString &text)
{
    statusbar->show();
    // A status names models and codes, which can be megabytes long; the bar
    // lays out what it is given at every paint.
    statusbar->showMessage(ShownText::bounded(text));
}

void MainWindowImpl::clearStatus()
{
    statusbar->clearMessage();
}

void MainWindowImpl::appendLog(const QString &line)
{
    QTextCursor cursor(textEdit->document());
    cursor.movePosition(QTextCursor::End);
    if (!textEdit->document()->isEmpty())
        cursor.insertBlock();
    cursor.insertText(line);
    textEdit->ensureCursorVisible();
}

void MainWindowImpl::tellFileNotRead(const QString &why)
{
    // A picture read again at each resize is logged once, not once a resize.
    if (why.contains(QLatin1Char('\n')) || textEdit->document()->lastBlock().text() != why)
        appendLog(why);
    if (gatheredUnreadFiles) {
        if (!gatheredUnreadFiles->contains(why))
            gatheredUnreadFiles->append(why);
        return;
    }
    showStatus(QString(why).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

MainWindowImpl *MainWindowImpl::getInstance()
{
    MainWindowImpl *window = instance.load(std::memory_order_acquire);
    if (!window) {
        window = new MainWindowImpl();
        instance.store(window, std::memory_order_release);
    }
    return window;
}

MainWindowImpl::MainWindowImpl(QWidget *parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags), productName(QStringLiteral("Irvanta"))
{
    Q_UNUSED(iconResources);
    setupUi(this);
    // Files the program did not write itself that the start could not read
    // are told in one box once the window is built.
    QStringList unreadFiles;
    gatheredUnreadFiles = &unreadFiles;
    QString iconProblem;
    setWindowIcon(CheckedPicture::windowIcon(&iconProblem));
    if (!iconProblem.isEmpty())
        tellFileNotRead(iconProblem);
    // The switch between full and simple version shows the window anew, and
    // some window managers then give it the keyboard without Qt taking it as
    // active again; tooltips (why a button is greyed out) must not depend on
    // that.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    // Every label shows data as typed; the documentation label chooses per
    // text when it is filled (refreshKeys).
    showLabelsAsPlainText(this);
    // Codes are read whole: where the labels and the search rows are narrow
    // (simple panel, small screen) they shrink their font instead of cutting.
    // Their width comes from the layout, not from the code they show, so a
    // code's length never moves the window's layout; the layout keeps room
    // for a code of the usual 19 characters.
    for (QLabel *label : {labelKeyId, labelKeyId2, labelKeyIdSearch}) {
        FittedFont::keepWhole(label);
        FittedFont::keepRoomFor(label, QStringLiteral("0123456789ABCDEF012"));
    }
    for (QLineEdit *edit : searchTab->findChildren<QLineEdit *>())
        FittedFont::keepWhole(edit);
    // The protocol bar follows its label through every re-layout, also the
    // ones that come after the picture beside it has taken its new width.
    ResizeWatcher::watch(labelProtocol, [this] { fitProtocolBar(); });
    // The search rows' key buttons (short key names) keep to their minimum,
    // so that the code fields beside them get the width.
    for (QPushButton *button : searchTab->findChildren<QPushButton *>()) {
        if (button->objectName().startsWith(QLatin1String("keysSearch")))
            button->setMaximumWidth(button->minimumWidth());
    }
    prog->hide();
    statusbar->hide();
    textEdit->hide();
    // The log stays hidden until the user asks for it.
    actionShowLog = menuTools->addAction(tr("Show Log"));
    actionShowLog->setCheckable(true);
    connect(actionShowLog, &QAction::toggled, this, [this](bool on) {
        textEdit->setVisible(on);
        if (on)
            tabWidget->setCurrentWidget(linksTab);
    });
    labelPicture->setMouseTracking(true);

    loadSettings();

    makeConnections(1, 11);
    labelPicture->transmitMode = false;
    makeConnections(12, 12);
    labelPicture->shift = false;
    makeConnections(13, 21);
    // The picture is laid out again whenever its label changes height, also
    // when only the layout moved (see QMainMouseMoveCatchWidget::heightChanged).
    connect(labelPicture, &QMainMouseMoveCatchWidget::heightChanged, this, &MainWindowImpl::formResize,
            Qt::QueuedConnection);

    insertKeyTimer = new QTimer(this);
    makeConnections(22, 22);
    insertKeyTimer->start(10);

    labelPicture->assignRequest = false;

    // Same-key markers start outside the picture.
    sameKeyPixmap.load(QStringLiteral(":/Icons/samekey.png"));
    for (QLabel *&marker : sameKeyMarkers) {
        marker = new QLabel(labelPicture);
        marker->setGeometry(-100, 50, 30, 30);
        if (!sameKeyPixmap.isNull())
            marker->setPixmap(sameKeyPixmap.scaled(marker->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }

    makeConnections(23, 29);

    imageLabel = new QLabel(nullptr);

    buildLanguageMenu();
    makeConnections(30, 34);

    transmitValue = 0;
    transmitReady = true;
    receiveTimer = new QTimer(this);
    makeConnections(35, 35);

    makeConnections(36, 67);

    ledLabel = new QLabel(mainTab);
    ledPixmap.load(QStringLiteral(":/Icons/led.png"));
    ledLabel->setPixmap(ledPixmap);
    ledLabel->hide();

    makeConnections(68, 69);

    rcTypeList = RemoteTypeQuery::typeIds(rcTypesList);

    setWindowTitle(productName + QStringLiteral(" ") + QStringLiteral("2.5.10"));

    comboBoxDatabase->addItem(QStringLiteral("Whole Database"));
    comboBoxDatabase->addItem(QStringLiteral("Own"));
    comboBoxDatabase->addItem(QStringLiteral("Factory"));
    comboBoxDatabase->addItem(QStringLiteral("Whole without links"));
    // Each part of the catalogue is named whole, in every language (the
    // minimum follows the texts, see loadLanguage).
    comboBoxDatabase->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // The filter fields act on key releases, which line edits keep to themselves.
    KeyReleaseForwarder::install(this, {brandLineEdit, modelLineEdit});
    // An in-place edit of a model changes rows the links list may be showing.
    connect(ModelsTV, &RCModelsTableView::modelEdited, this, &MainWindowImpl::refreshLinks);

    // The first reads of the catalogue: a damaged part fails in several lists
    // at once, and is told once, when the window is built.
    QStringList startFailures;
    gatheredCatalogueErrors = &startFailures;
    installTypeList(rcTypesList);
    RCTypesTV->verticalHeader()->setDefaultSectionSize(20);
    RCTypesTV->selectRow(0);
    RCTypesTV->show();
    // The types list gives up the width its names do not need, so that the
    // filters beside it keep their texts whole in the smallest window.
    RCTypesTV->setMinimumWidth(std::min(RCTypesTV->minimumWidth(), RCTypesTV->widthForNames()));

    ModelsTV->verticalHeader()->setDefaultSectionSize(20);
    KeysTV->verticalHeader()->setDefaultSectionSize(20);
    LinksTV->verticalHeader()->setDefaultSectionSize(20);

    refreshBrands();
    refreshTypes();
    refreshModels();
    ModelsTV->selectRow(0);
    refreshImageEnable();
    refreshImageButtons();
    refreshKeys();
    refreshLinks();
    refreshChangerPosition();

    protocolBarPixmap.load(QStringLiteral(":/Icons/protocolbar.png"));
    if (!protocolBarPixmap.isNull())
        labelProtocol->setPixmap(
            protocolBarPixmap.scaled(labelProtocol->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    // The oscillograph is drawn at the label's size; its picture must not hold
    // the label (and the window) at that size afterwards.
    labelOscillograph->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);

    // The "WindowsXP" style does not exist here; the default style stays.

    messageBox.setWindowIcon(windowIcon());

    loadLanguage(language);
    changeFullSimpleVersion(settingsFullVersion);

    makeConnections(70, 114);

    changeSignal30();

    receiveTimer->start(50);

    // Runs once the constructor has returned, so the window is published before
    // the check's local event loop can deliver anything.
    if (automaticUpdatesCheking)
        QTimer::singleShot(0, this, &MainWindowImpl::checkUpdatesAtStart);

    refreshRC();
    gatheredCatalogueErrors = nullptr;
    for (const QString &failure : std::as_const(startFailures))
        tellCatalogueUnread(failure);
    gatheredUnreadFiles = nullptr;
    if (!unreadFiles.isEmpty())
        MessageBox::warning(this, tr("Warning"),
                            tr("These files were not read; the program goes on without them.") + QLatin1Char('\n')
                                + unreadFiles.join(QLatin1Char('\n')));

    labelD->setFocus(Qt::OtherFocusReason);
}

MainWindowImpl::~MainWindowImpl()
{
    MainWindowImpl *self = this;
    instance.compare_exchange_strong(self, nullptr, std::memory_order_acq_rel);
    // The photo label belongs to nobody until the Images tab adopts it.
    if (imageLabel && !imageLabel->parent())
        delete imageLabel;
}

void MainWindowImpl::searchDialogOpen()
{
    tabWidget->setCurrentIndex(4);
}

void MainWindowImpl::programUSBDialogOpen()
{
    changer8in1Dialog.exec();
}

void MainWindowImpl::sqlSubmitAll()
{
    if (modelsModel)
        modelsModel->submitAll();
    if (keysModel)
        keysModel->submitAll();
}
