#pragma once

#include "catalogue/KeyPositionTable.h"
#include "catalogue/NewRemoteDialogImpl.h"
#include "ir/CaptureStore.h"
#include "ir/Decode.h"
#include "ir/Message.h"
#include "ir/Protocol.h"
#include "mainwindow/SettingsDialogImpl.h"
#include "mainwindow/SettingsFile.h"
#include "programming/Changer8in1Dialog.h"
#include "programming/MacroDialog.h"
#include "search/ConvertDialog.h"
#include "ui_MainWindow.h"

#include <QColor>
#include <QMainWindow>
#include <QMap>
#include <QMessageBox>
#include <QPixmap>
#include <QSize>
#include <QStringList>
#include <QTime>

#include <atomic>

class QCompleter;
class QKeyEvent;
class QLabel;
class QPrinter;
class QResizeEvent;
class QSettings;
class QTimer;
class RCKeysModel;
class RCLinksModel;
class RCModelsModel;
class RCTypesModel;
class RCConvertModel;
class UpdateDialog;
class UsbConnection;
class UsbFunctions;
class UsbState;
class QAbstractItemModel;

// The single main window: the shell in which the features live. Most feature
// code is written as slots of this class, each group in a .cpp of its own
// feature folder; this file declares them all so the window is whole.
class MainWindowImpl : public QMainWindow, public Ui::MainWindow
{
    Q_OBJECT
public:
    // Constructs the window on first use; the pointer is published only after
    // the constructor has returned, so code run by the constructor must work
    // on `this` and never call the accessor.
    static MainWindowImpl *getInstance();

    explicit MainWindowImpl(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~MainWindowImpl() override;

    // ---- settings file (loadSettings/saveSettings fill and write these)
    void loadSettings();
    void saveSettings();

    // ---- window shell
    QTimer *receiveTimer = nullptr;   // 50 ms: lastMessage()
    QTimer *insertKeyTimer = nullptr; // 10 ms: insertKey()
    QLabel *ledLabel = nullptr;       // LED over the remote-type picture, hidden at start
    QStringList rcTypeList;           // remote-type ids offered, as text, for the key search
    RCTypesModel *rcTypesModel = nullptr;

    // ---- settings members ("config.ini")
    QSettings *settings = nullptr;
    // Where saves go: config.ini of the working directory at start, also
    // when it could not be read there (settings then reads nothing).
    QString settingsPath;
    bool lastSettingsSaveFailed = false; // what the last saveSettings() gave, for the status line
    // The saved keys as the file holds them for all this window knows: as
    // loaded, then as last saved. A save writes only what differs from it, so
    // keys another writer saved meanwhile are not written over.
    SettingsValues savedSettings;
    QString customerId;
    QString defaultCustomerId;
    QString language;
    int languageShowType = 0;
    QString company;
    QString address;
    QString contact;
    bool printOnlyFirstImage = false;
    bool advancedFilter = false;
    // "Settings/simpleProgramming"; named apart from the slot simpleProgramming(int).
    bool settingsSimpleProgramming = false;
    bool settingsFullVersion = false;
    bool settingsShowRCTypesInSimpleMode = false;
    QString lastImportPath;
    QString lastExportPath;
    QString lastImagesPath;
    bool automaticUpdatesCheking = false;
    bool enableImages = false;
    bool enableMakeOwn = false;
    bool enableCorrection = false;
    bool enableProtocol = false;
    bool showHidden = false;
    bool showHidden1 = false;
    bool showRcidLink = false;
    bool showDocumentationIcon = false;
    bool saveFlashData = false;
    bool convertDBdeleteImages = false;
    QStringList rcTypesList; // configured remote-type ids, one per entry
    QString rcTypes;         // the same ids joined by ","

    // ---- display modes
    QSize formMinimumSize; // the form's minimum, lowered in simple mode and restored in full mode
    // The tab widget's grid column as the form sets it; given up in simple mode.
    int formTabColumnStretch = 0;
    int formTabColumnMinimum = 0;

    // ---- languages
    // One entry per translation file in "Languages/", in scan order; as many
    // as there are files.
    QList<QAction *> languageActions;
    int languageCount = 0;

    // ---- About box
    QString productName;
    // Translated when shown.
    QString authorLine = QString::fromLatin1(
        QT_TRANSLATE_NOOP("MainWindowImpl", "Written and maintained by the Irvanta developers."));

    // ---- update
    UpdateDialog *updateDialog = nullptr;

    // ---- model list, keys and links
    RCModelsModel *modelsModel = nullptr;
    RCKeysModel *keysModel = nullptr;
    RCLinksModel *linksModel = nullptr;
    QCompleter *brandCompleter = nullptr;
    QCompleter *typeCompleter = nullptr;
    int lastKey = 0;
    QString lastLinksLink;
    // The model (its Rcid and link master) and the remote type whose keys the
    // panels show: set when the key list is refilled. A learned key is stored
    // there, and a refresh the catalogue refused puts the lists' selection
    // back on them.
    QString shownRcid;
    QString shownLink;
    QString shownTypeId;
    // Selects the rows of the model and type the panels show.
    void selectShownRows();
    // Tells that a list or panel could not be read. While refreshRC() refills
    // the panels, and while the window is built, failures are gathered and
    // each reason is told once.
    void tellCatalogueUnread(const QString &error);
    QStringList *gatheredCatalogueErrors = nullptr;
    // Tells that a file the program did not write itself was not read (why
    // names the file): a log line and the status line. While the window is
    // built the reasons are gathered and told in one box at its end.
    void tellFileNotRead(const QString &why);
    QStringList *gatheredUnreadFiles = nullptr;
    // Fills the remote-type list with the offered rows of the types ids.
    void installTypeList(const QStringList &ids);
    // A list that failed after it was shown (rows fetched as it is scrolled).
    void listFailedLater(QAbstractItemView *view, const QString &error);
    // The search's failure: a box, and a list that cannot pass for its result.
    void searchFailed(const QString &error);
    // What formResize() does; without readCatalogue only what needs no
    // catalogue read (the same-key marks stay where they are).
    void layoutPanels(bool readCatalogue);

    // ---- remote-type picture
    KeyPositionTable keyPositions; // 128 hot-spots of the selected type and customer
    bool keyPositionsRead = true;  // false: they could not be read, and no picture is drawn
    QMap<QString, QPixmap> pictureCache;
    QMap<QString, QString> pictureCustomers;
    int pictureCacheHeight = 0;
    QLabel *sameKeyMarkers[3] = {};

    // ---- model photos
    int currentImage = 1;
    QLabel *imageLabel = nullptr; // no parent until the Images tab adopts it

    // ---- request mailbox and device-derived values
    // The posting slots write the mailbox on the GUI thread; the worker must
    // not read these fields directly: the request mailbox brings its lock.
    int usbCommand = 0;
    int nPult = 0;
    QString flashData;
    QString slotFlashData[4];
    QString transmitFrame;
    int deviceId = -1; // none read yet: matches no usbprotocols row
    int deviceRCTypeId = 0;
    static constexpr int kSlotHeaderPages = 16;
    int slotHeaderPages[kSlotHeaderPages * 64] = {};
    QString slotCaptions[kSlotHeaderPages];
    // What the device status lines say, as source texts, so a language
    // switch can say it again; the overview last shown (1 or 2, 0 none).
    const char *remoteLineSource = nullptr;
    QString remoteLineProduct; // with its trailing space
    const char *receiverLineSource = nullptr;
    int shownOverview = 0;
    void showDeviceLines();
    void showSlotOverview1();
    // A code (received or picked) into the three key-code labels, each in
    // the largest font that shows it whole.
    void setKeyCodeLabels(const QString &code);

    // ---- device link
    // The application's USB state: the window reads the snapshots the link
    // threads publish there and posts requests; it never touches a device.
    UsbState *usbState = nullptr;
    void attachUsb(UsbState *state);
    // Connects the connection thread's signals, queued, to the status slots.
    void connectUsbConnection(UsbConnection *connection);
    // Connects the request worker's signals, queued, to the status slots.
    void connectUsbFunctions(UsbFunctions *functions);
    // Hands the mailbox fields (usbCommand, nPult, flashData, slotFlashData,
    // transmitFrame) to the request worker. Before the USB state is attached
    // the request waits and is posted by attachUsb(). A programming request
    // while another is pending is refused with "device busy" (false).
    bool postUsbRequest();
    // Takes over the customer number a connected remote reported.
    void takeCustomerNumber(const QString &number);
    bool usbRequestWaiting = false;

    // ---- received signals and transmission
    // The received messages of the current key press. The window owns it and
    // hands it to the receiver thread; it starts with its start values.
    CaptureStore captureStore;
    int transmitValue = 0;
    bool transmitReady = true;

    // ---- programming and conversion
    QAbstractItemModel *macroTreeModel = nullptr;
    RCConvertModel *convertModel = nullptr;

    // ---- embedded objects, in construction order
    Changer8in1Dialog changer8in1Dialog;
    Message message;
    Decode decode;
    QMessageBox messageBox;
    // Tools menu entry that shows or hides the log (hidden at start).
    QAction *actionShowLog = nullptr;
    Protocol protocol;
    QPixmap changerPixmap;     // remote-type picture as shown
    QPixmap protocolBarPixmap; // bar of received messages
    QPixmap sameKeyPixmap;
    QPixmap imagePixmap;       // photo shown
    QPixmap ledPixmap;
    QPixmap oscillographPixmap;
    NewRemoteDialogImpl newRemoteDialog;
    SettingsDialogImpl settingsDialog;
    MacroDialog macroDialog;
    ConvertDialog convertDialog;
    static constexpr int kOscillographRows = 10;
    static constexpr int kOscillographCells = 1000;
    QColor oscillographColors[kOscillographRows][kOscillographCells];
    // Messages of the current series processed so far, and the span each was
    // recognised with: the rows the oscillograph draws again when its page is
    // brought up, resized or switched to another language.
    int oscillographMessages = 0;
    int oscillographSpans[kOscillographRows] = {};

    // ---- plain members of the features
    void buildLanguageMenu();
    void checkUpdatesAtStart();
    void resizeSameKeyMarkers();
    void colorSignalFields(int row, const QString &pattern);
    // The current series afresh at the label's size, when its page is shown.
    void redrawOscillograph();
    void addKeysSearch(int row);    // row 0..21: search rows 1..20, X1, X2
    void deleteKeysSearch(int row);
    // Shows "rcmodels" under filter (conditions and ordering) in the model
    // list and selects its first row; false when the select failed.
    bool installModelList(const QString &filter, QString *error = nullptr);
    void imageClick(int place);     // photo place 1..5
    void deleteCurrentKey();        // Delete released in the key list
    // What an action did, in the status bar (shown on the first message).
    void showStatus(const QString &text);
    // An action starts: the line of an earlier one no longer says what happened.
    void clearStatus();
    // One line in the log, as plain text: log lines carry catalogue and
    // device texts, which QTextEdit::append would take for markup.
    void appendLog(const QString &line);

public slots:
    // catalogue: model list, filters and refresh
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void refreshModels();
    void refreshRC();
    void setFilters();
    void removeFilters();
    void refreshBrands();
    void refreshTypes();
    void sqlSubmitAll();
    // catalogue: keys and links panels, remote-type picture
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override; // a language switch re-says the greyed-out buttons' reasons
    void refreshKeys();
    void refreshLinks();
    void formResize();
    // A tab was brought up: what it shows is refilled, or the status line
    // says why not.
    void tabSwitched();
    void refreshChangerPosition();
    void refreshChangerPicture();
    void refreshChangerPictureView();
    // The protocol bar at its label's size: a twelfth of its width high, the
    // bar's picture scaled into it.
    void fitProtocolBar();
    void refreshID();
    void changeShift();
    // catalogue: records, deletion, photos
    void addNewRemoteControlDialog();
    void editRemoteControlDialog();
    void addNewRemoteControlLinkDialog();
    void editRemoteControl();
    void deleteRemoteControl();
    void refreshImageEnable();
    void refreshImageButtons();
    void refreshImageGeometries();
    void imageClick1();
    void imageClick2();
    void imageClick3();
    void imageClick4();
    void imageClick5();
    void addNewImage();
    void deleteNewImage();
    // settings, display modes, About
    void editSettings();
    void updateSettings();
    void fullVersion();
    void simpleVersion();
    void changeFullSimpleVersion(bool full);
    void openAbout();
    // languages, help, update
    void loadLanguage(QString language);
    void doTran(QAction *action);
    void openHelp();
    void updateProgramDialogOpen();
    // device status
    void initUsb1();
    void initUsb2();
    void initUsb3();
    void initUsb4();
    void initUsb5();
    void initUsb6();
    void initUsb7();
    void initReceiver1();
    void initReceiver2();
    // A remote of this kind is present but cannot be opened (no rights to
    // its device node): the remote label says so, with the udev hint.
    void initUsbRefused(const QString &kind);
    void initFunctions1(QTime start);
    void initFunctions2();
    void initFunctions3();
    // A request of the worker was refused or ended early: one log line.
    void initFunctionsFailed(const QString &text);
    void initFunctionsDone(int command, int slot);
    void changeSignal30();
    void changeSignalITT();
    void refreshInformation1();
    void refreshInformation2();
    // capture, recognition, learning and transmission
    void initDots1(int count);
    void lastMessage();
    void insertKey();
    void setTransmit();
    void drawMessage(int nmessage);
    void drawMessageOscillograph(int nmessage);
    void refreshSameKey();
    void selectSameIdRows();
    // remote programming
    void programUSBDialogOpen();
    void refreshActionUSBProgramm();
    void startProgramming81(int nPult);
    void startDelete81(int nPult);
    void startProgramming81_1();
    void startProgramming81_2();
    void startProgramming81_3();
    void startProgramming81_4();
    void startProgramming81_5();
    void startProgramming81_6();
    void startProgramming81_7();
    void startProgramming81_8();
    void startDelete81_1();
    void startDelete81_2();
    void startDelete81_3();
    void startDelete81_4();
    void startDelete81_5();
    void startDelete81_6();
    void startDelete81_7();
    void startDelete81_8();
    QString doStrKeys81(int nPult);
    QString doStrKeys();
    QString doStrKeys81Simple(int nPult, int RCTypeIdInt, QString Rcid);
    void refreshSimpleProgram();
    void simpleProgramming_1();
    void simpleProgramming_2();
    void simpleProgramming_3();
    void simpleProgramming_4();
    void simpleDelete_1();
    void simpleDelete_2();
    void simpleDelete_3();
    void simpleDelete_4();
    void simpleProgramming(int nPult);
    void simpleDelete(int nPult);
    void startProgramming81Simple();
    void macroDialogOpen();
    void programMacro();
    // key search and type conversion
    void searchDialogOpen();
    void search();
    void addKeysSearch1();
    void addKeysSearch2();
    void addKeysSearch3();
    void addKeysSearch4();
    void addKeysSearch5();
    void addKeysSearch6();
    void addKeysSearch7();
    void addKeysSearch8();
    void addKeysSearch9();
    void addKeysSearch10();
    void addKeysSearch11();
    void addKeysSearch12();
    void addKeysSearch13();
    void addKeysSearch14();
    void addKeysSearch15();
    void addKeysSearch16();
    void addKeysSearch17();
    void addKeysSearch18();
    void addKeysSearch19();
    void addKeysSearch20();
    void addKeysSearchX1();
    void addKeysSearchX2();
    void deleteKeysSearch1();
    void deleteKeysSearch2();
    void deleteKeysSearch3();
    void deleteKeysSearch4();
    void deleteKeysSearch5();
    void deleteKeysSearch6();
    void deleteKeysSearch7();
    void deleteKeysSearch8();
    void deleteKeysSearch9();
    void deleteKeysSearch10();
    void deleteKeysSearch11();
    void deleteKeysSearch12();
    void deleteKeysSearch13();
    void deleteKeysSearch14();
    void deleteKeysSearch15();
    void deleteKeysSearch16();
    void deleteKeysSearch17();
    void deleteKeysSearch18();
    void deleteKeysSearch19();
    void deleteKeysSearch20();
    void deleteKeysSearchX1();
    void deleteKeysSearchX2();
    void removeSearch();
    void convertDialogOpen();
    void convertRC();
    // file exchange
    void exportRemote();
    void importRemote();
    void convertDB();
    bool sendDB();
    // key-sheet printing
    void print();
    void previewDialog();
    void paintPreview(QPrinter *printer);

private:
    void makeConnections(int firstRow, int lastRow);
    // Recognition, key-code resolution and display of closed message n.
    void processMessage(int n);
    // The resolved key code into the three key-code labels, then the
    // same-key markers.
    void showKeyCode(const QString &code);
    // The three steps of insertKey(): learn the shown code into the key
    // double-clicked, send the pressed key, end its transmission.
    void learnKey();
    void transmitKey();
    void releaseKey();

    static std::atomic<MainWindowImpl *> instance;
};
