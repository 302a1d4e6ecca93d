// The main window object on a sample working directory: what its constructor
// sets up (title, timers, hidden widgets, lists, markers) and that every
// connection of its constructor reaches its slot exactly once.
#include "TestSupport.h"
#include "app/MessageBox.h"
#include "mainwindow/MainWindowImpl.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QTimer>
#include <QtTest>

namespace {

using W = MainWindowImpl;
using Check = bool (*)(W *w); // disconnects one expected connection; true when it existed

#define ROW(name, sender, signal, slot)                                                                                  \
    QTest::addRow(name) << Check([](W *w) { return QObject::disconnect(sender, signal, w, slot); })

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_previousDir;
    MainWindowImpl *m_window = nullptr;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(TestSupport::enterSampleDirectory(m_dir.path(), &m_previousDir));
    }
    void cleanupTestCase() { QDir::setCurrent(m_previousDir); }

    void init() { m_window = new MainWindowImpl; }
    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
        MessageBox::takeLog();
    }

    void title() { QCOMPARE(m_window->windowTitle(), QStringLiteral("Irvanta 2.5.10")); }

    void timersRun()
    {
        QVERIFY(m_window->insertKeyTimer && m_window->receiveTimer);
        QCOMPARE(m_window->insertKeyTimer->parent(), m_window);
        QCOMPARE(m_window->receiveTimer->parent(), m_window);
        QVERIFY(m_window->insertKeyTimer->isActive());
        QCOMPARE(m_window->insertKeyTimer->interval(), 10);
        QVERIFY(m_window->receiveTimer->isActive());
        QCOMPARE(m_window->receiveTimer->interval(), 50);
        QVERIFY(!m_window->insertKeyTimer->isSingleShot());
        QVERIFY(!m_window->receiveTimer->isSingleShot());
    }

    // The window's side of the capture store: start values, and the receive
    // timer's slot, which hands closed messages on and keeps the timer running.
    void captureStoreStartValues()
    {
        const CaptureStore::Counters c = m_window->captureStore.counters();
        QCOMPARE(c.messageCount, 0);
        QCOMPARE(c.processedCount, 0);
        QCOMPARE(c.quietTicks, 1000);
        QCOMPARE(c.gapThreshold, 20000);
        QCOMPARE(c.messageLengthLimit, 1000000);
    }

    void lastMessageHandsOnClosedMessages()
    {
        CaptureStore &store = m_window->captureStore;
        const int frames[] = {2000, 1000, 2000, 1000, 2000, 8000, 2000, 1000, 2000, 1000, 8000};
        store.appendDurations(frames, int(std::size(frames)));
        QCOMPARE(store.counters().messageCount, 2);
        m_window->lastMessage();
        QCOMPARE(store.counters().processedCount, 2);
        QCOMPARE(store.captureSnapshot[0][4], 2000);
        QCOMPARE(store.captureSnapshot[1][3], -1020);
        QVERIFY(m_window->receiveTimer->isActive());
        QCOMPARE(m_window->receiveTimer->interval(), 50);
    }

    // Driven by its own timer: a message without a gap is closed by the pause.
    void receiveTimerClosesAfterAPause()
    {
        CaptureStore &store = m_window->captureStore;
        const int frame[] = {2000, 1000, 2000, 1000, 2000};
        store.appendDurations(frame, int(std::size(frame)));
        QTRY_COMPARE_WITH_TIMEOUT(store.counters().processedCount, 1, 3000);
        QCOMPARE(store.counters().messageCount, 1);
    }

    // The hidden log is one menu entry away, on the page that holds it.
    void logShownFromTheToolsMenu()
    {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        m_window->tabWidget->setCurrentIndex(0);
        QAction *entry = nullptr;
        for (QAction *action : m_window->menuTools->actions())
            if (action->text() == QLatin1String("Show Log"))
                entry = action;
        QVERIFY(entry);
        entry->trigger();
        QVERIFY(m_window->textEdit->isVisible());
        QCOMPARE(m_window->tabWidget->currentWidget(), m_window->linksTab);
        entry->trigger();
        QVERIFY(m_window->textEdit->isHidden());
    }

    // Log lines carry model names and device texts: they stay as typed.
    void logLinesArePlainText()
    {
        m_window->textEdit->clear();
        const QString hostile = QStringLiteral("<b>BOLD</b> <img src=\"/nowhere.png\"> &amp;");
        m_window->appendLog(QStringLiteral("first"));
        m_window->appendLog(hostile);
        m_window->appendLog(QStringLiteral("third"));
        QCOMPARE(m_window->textEdit->toPlainText(), QStringLiteral("first\n") + hostile + QStringLiteral("\nthird"));
        const QString html = m_window->textEdit->toHtml();
        QVERIFY2(!html.contains(QLatin1String("<img")), qPrintable(html));
        QVERIFY2(!html.contains(QLatin1String("font-weight:700")), qPrintable(html));
    }

    void hiddenAtStart()
    {
        QVERIFY(m_window->prog->isHidden());
        QVERIFY(m_window->statusbar->isHidden());
        QVERIFY(m_window->textEdit->isHidden());
        QVERIFY(m_window->ledLabel);
        QCOMPARE(m_window->ledLabel->parent(), m_window->mainTab);
        QVERIFY(m_window->ledLabel->isHidden());
        QCOMPARE(m_window->ledLabel->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 QImage(QStringLiteral(":/Icons/led.png")).convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }

    void databaseFilterEntries()
    {
        QStringList items;
        for (int i = 0; i < m_window->comboBoxDatabase->count(); ++i)
            items << m_window->comboBoxDatabase->itemText(i);
        QCOMPARE(items, QStringList({"Whole Database", "Own", "Factory", "Whole without links"}));
    }

    void sameKeyMarkersStartOutsideThePicture()
    {
        for (QLabel *marker : m_window->sameKeyMarkers) {
            QVERIFY(marker);
            QCOMPARE(marker->parent(), m_window->labelPicture);
            // Created at (-100, 50); the first key-position load then parks them at (-50, -50).
            // Applying the display mode shows the window, and its layout sizes the markers to the picture.
            QCOMPARE(marker->pos(), QPoint(-50, -50));
            QCOMPARE(marker->width(), marker->height());
            QVERIFY(!marker->pixmap().isNull());
            QVERIFY(marker->pixmap().width() <= marker->width() && marker->pixmap().height() <= marker->height());
        }
    }

    void pictureFlagsAndOscillographStart()
    {
        QVERIFY(m_window->labelPicture->hasMouseTracking());
        QVERIFY(!m_window->labelPicture->transmitMode);
        QVERIFY(!m_window->labelPicture->shift);
        QVERIFY(!m_window->labelPicture->assignRequest);
        QCOMPARE(m_window->transmitValue, 0);
        QVERIFY(m_window->transmitReady);
        QVERIFY(!m_window->oscillographColors[0][0].isValid());
        QVERIFY(!m_window->oscillographColors[9][999].isValid());
    }

    void protocolBarShown()
    {
        QVERIFY(!m_window->protocolBarPixmap.isNull());
        QCOMPARE(m_window->protocolBarPixmap.size(), QSize(600, 50));
        QVERIFY(!m_window->labelProtocol->pixmap().isNull());
        QVERIFY(m_window->labelProtocol->pixmap().height() <= m_window->labelProtocol->height());
    }

    void windowIconsComeFromTheFile()
    {
        const QImage file = QImage(QStringLiteral("rc.ico")).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (const QIcon &icon : {m_window->messageBox.windowIcon(), m_window->windowIcon()})
            QCOMPARE(icon.pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), file);
    }

    // Made without a parent; the first fitting pass of the photo tab adopts it.
    void photoLabelIsAdoptedByTheImagesTab()
    {
        QVERIFY(m_window->imageLabel);
        m_window->refreshImageGeometries();
        QCOMPARE(m_window->scrollArea->widget(), m_window->imageLabel);
    }

    void searchActionShowsTheSearchPage_data()
    {
        QTest::addColumn<int>("from");
        for (int page = 0; page < 5; ++page)
            QTest::addRow("page %d", page) << page;
    }
    void searchActionShowsTheSearchPage()
    {
        QFETCH(int, from);
        m_window->tabWidget->setCurrentIndex(from);
        m_window->actionSearch->trigger();
        QCOMPARE(m_window->tabWidget->currentIndex(), 4);
        QCOMPARE(m_window->tabWidget->currentWidget(), m_window->searchTab);
    }

    void connections_data()
    {
        QTest::addColumn<Check>("check");
        ROW("1", w->actionDeleteRemoteControl, &QAction::triggered, &W::deleteRemoteControl);
        ROW("2", w->actionNewRemoteControl, &QAction::triggered, &W::addNewRemoteControlDialog);
        ROW("3", w->actionNewRemoteControlLink, &QAction::triggered, &W::addNewRemoteControlLinkDialog);
        ROW("4", w->actionEditRemoteControl, &QAction::triggered, &W::editRemoteControlDialog);
        ROW("5", w->actionConvertRemoteControl, &QAction::triggered, &W::convertDialogOpen);
        ROW("6", w->actionClose, &QAction::triggered, &QWidget::close);
        ROW("7", w->actionSettings, &QAction::triggered, &W::editSettings);
        ROW("8", w->actionConvertDB, &QAction::triggered, &W::convertDB);
        ROW("9", w->actionUpdateProgram, &QAction::triggered, &W::updateProgramDialogOpen);
        ROW("10", w->actionFullVersion, &QAction::triggered, &W::fullVersion);
        ROW("11", w->actionSimpleVersion, &QAction::triggered, &W::simpleVersion);
        ROW("12", w->actionTransmitMode, &QAction::triggered, &W::setTransmit);
        ROW("13", w->shiftCheckBox, &QAbstractButton::pressed, &W::changeShift);
        ROW("14", w->setFiltersPushButton, &QAbstractButton::clicked, &W::setFilters);
        ROW("15", w->removeFiltersPushButton, &QAbstractButton::clicked, &W::removeFilters);
        ROW("16", w->ModelsTV, &QAbstractItemView::clicked, &W::refreshRC);
        ROW("17", w->RCTypesTV, &QAbstractItemView::clicked, &W::refreshRC);
        ROW("18", w->tabWidget, &QTabWidget::currentChanged, &W::tabSwitched);
        ROW("19", w->KeysTV, &QAbstractItemView::clicked, &W::refreshID);
        ROW("20", w->newRemoteDialog.okPushButton, &QAbstractButton::pressed, &W::editRemoteControl);
        ROW("21", w->settingsDialog.savePushButton, &QAbstractButton::pressed, &W::updateSettings);
        ROW("22", w->insertKeyTimer, &QTimer::timeout, &W::insertKey);
        ROW("23", w->pushButtonAdd, &QAbstractButton::clicked, &W::addNewImage);
        ROW("24", w->pushButtonDelete, &QAbstractButton::clicked, &W::deleteNewImage);
        ROW("25", w->pushButton1, &QAbstractButton::clicked, &W::imageClick1);
        ROW("26", w->pushButton2, &QAbstractButton::clicked, &W::imageClick2);
        ROW("27", w->pushButton3, &QAbstractButton::clicked, &W::imageClick3);
        ROW("28", w->pushButton4, &QAbstractButton::clicked, &W::imageClick4);
        ROW("29", w->pushButton5, &QAbstractButton::clicked, &W::imageClick5);
        ROW("30", w->menuLanguage, &QMenu::triggered, &W::doTran);
        ROW("31", w->actionExport, &QAction::triggered, &W::exportRemote);
        ROW("32", w->actionImport, &QAction::triggered, &W::importRemote);
        ROW("33", w->actionPrint, &QAction::triggered, &W::print);
        ROW("34", w->actionPrintPreview, &QAction::triggered, &W::previewDialog);
        ROW("35", w->receiveTimer, &QTimer::timeout, &W::lastMessage);
        ROW("36", w->actionUSBProgramm, &QAction::triggered, &W::programUSBDialogOpen);
#define CHANGER(n, program, clear)                                                                                       \
    ROW(#program, w->changer8in1Dialog.cpushButton##n, &QAbstractButton::pressed, &W::startProgramming81_##n);         \
    ROW(#clear, w->changer8in1Dialog.dpushButton##n, &QAbstractButton::pressed, &W::startDelete81_##n);
        CHANGER(1, 37, 45) CHANGER(2, 38, 46) CHANGER(3, 39, 47) CHANGER(4, 40, 48)
        CHANGER(5, 41, 49) CHANGER(6, 42, 50) CHANGER(7, 43, 51) CHANGER(8, 44, 52)
        ROW("53", w->actionMacroProgramm, &QAction::triggered, &W::macroDialogOpen);
        ROW("54", w->macroDialog.programMacroButton, &QAbstractButton::pressed, &W::programMacro);
#define SIMPLE(n, add, del)                                                                                              \
    ROW(#add, w->dev##n##Add, &QAbstractButton::pressed, &W::simpleProgramming_##n);                                     \
    ROW(#del, w->dev##n##Del, &QAbstractButton::pressed, &W::simpleDelete_##n);
        SIMPLE(1, 55, 59) SIMPLE(2, 56, 60) SIMPLE(3, 57, 61) SIMPLE(4, 58, 62)
        ROW("63", w->buttonSimpleUSBProgramm, &QAbstractButton::pressed, &W::startProgramming81Simple);
        ROW("64", w->actionSearch, &QAction::triggered, &W::searchDialogOpen);
        ROW("65", w->actionModuleted_Signal_30kHz_56kHz, &QAction::triggered, &W::changeSignal30);
        ROW("66", w->actionNon_modulated_Signal_ITT, &QAction::triggered, &W::changeSignalITT);
        ROW("67", w->convertDialog.convertButton, &QAbstractButton::pressed, &W::convertRC);
        ROW("68", w->actionHelp, &QAction::triggered, &W::openHelp);
        ROW("69", w->actionAbout, &QAction::triggered, &W::openAbout);
#define SEARCH(s, add, del)                                                                                              \
    ROW(#add, w->keysSearch##s, &QAbstractButton::clicked, &W::addKeysSearch##s);                                        \
    ROW(#del, w->minus##s, &QAbstractButton::clicked, &W::deleteKeysSearch##s);
        SEARCH(1, 70, 92) SEARCH(2, 71, 93) SEARCH(3, 72, 94) SEARCH(4, 73, 95) SEARCH(5, 74, 96)
        SEARCH(6, 75, 97) SEARCH(7, 76, 98) SEARCH(8, 77, 99) SEARCH(9, 78, 100) SEARCH(10, 79, 101)
        SEARCH(11, 80, 102) SEARCH(12, 81, 103) SEARCH(13, 82, 104) SEARCH(14, 83, 105) SEARCH(15, 84, 106)
        SEARCH(16, 85, 107) SEARCH(17, 86, 108) SEARCH(18, 87, 109) SEARCH(19, 88, 110) SEARCH(20, 89, 111)
        SEARCH(X1, 90, 112) SEARCH(X2, 91, 113)
        ROW("114", w->removeSearchPushButton, &QAbstractButton::clicked, &W::removeSearch);
    }
    void connections()
    {
        QFETCH(Check, check);
        QVERIFY2(check(m_window), "connection missing");
        QVERIFY2(!check(m_window), "connected more than once");
    }

    // The numbered families route each member to its own number: the search
    // rows put the shown code into their own field, the photo buttons pick
    // their own place. The window's slots are what the tests can see of that:
    // each slot exists under its own name in the meta-object.
    void slotsExistByName_data()
    {
        QTest::addColumn<QString>("signature");
        const QStringList fixed = {"searchDialogOpen()", "programUSBDialogOpen()", "sqlSubmitAll()",
                                   "doTran(QAction*)", "initFunctions1(QTime)", "initDots1(int)",
                                   "paintPreview(QPrinter*)", "changeFullSimpleVersion(bool)",
                                   "startProgramming81(int)", "startDelete81(int)", "simpleProgramming(int)",
                                   "simpleDelete(int)", "drawMessage(int)", "drawMessageOscillograph(int)",
                                   "sendDB()", "doStrKeys()", "doStrKeys81(int)",
                                   "doStrKeys81Simple(int,int,QString)", "keyPressEvent(QKeyEvent*)",
                                   "keyReleaseEvent(QKeyEvent*)", "resizeEvent(QResizeEvent*)"};
        for (const QString &s : fixed)
            QTest::addRow("%s", qPrintable(s)) << s;
        for (int n = 1; n <= 7; ++n)
            QTest::addRow("initUsb%d", n) << QStringLiteral("initUsb%1()").arg(n);
        for (const char *s : {"initReceiver1()", "initReceiver2()", "initFunctions2()", "initFunctions3()",
                              "refreshInformation1()", "refreshInformation2()", "refreshActionUSBProgramm()"})
            QTest::addRow("%s", s) << QString::fromLatin1(s);
    }
    void slotsExistByName()
    {
        QFETCH(QString, signature);
        const int index = m_window->metaObject()->indexOfSlot(QMetaObject::normalizedSignature(qPrintable(signature)));
        QVERIFY2(index >= 0, qPrintable(signature));
        QVERIFY(index >= MainWindowImpl::staticMetaObject.methodOffset());
    }

    void declaresNoSignals()
    {
        const QMetaObject &mo = MainWindowImpl::staticMetaObject;
        for (int i = mo.methodOffset(); i < mo.methodCount(); ++i)
            QVERIFY2(mo.method(i).methodType() != QMetaMethod::Signal, mo.method(i).methodSignature().constData());
    }

    void getInstancePublishesOneWindow()
    {
        MainWindowImpl *first = MainWindowImpl::getInstance();
        QVERIFY(first);
        QCOMPARE(MainWindowImpl::getInstance(), first);
        delete first;
        // A destroyed window is no longer handed out.
        MainWindowImpl *second = MainWindowImpl::getInstance();
        QVERIFY(second);
        delete second;
    }

    void windowWithoutIconFileStillStarts()
    {
        QTemporaryDir other;
        QVERIFY(other.isValid());
        QDir::setCurrent(other.path());
        const auto back = qScopeGuard([this] { QDir::setCurrent(m_dir.path()); });
        MainWindowImpl window;
        QVERIFY(window.messageBox.windowIcon().pixmap(32).isNull());
        QVERIFY(window.windowIcon().pixmap(32).isNull());
        QCOMPARE(window.windowTitle(), QStringLiteral("Irvanta 2.5.10"));
    }

    void sampleIconFileIsReadable()
    {
        const QImage icon(QStringLiteral("rc.ico"));
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.size(), QSize(32, 32));
        QVERIFY(icon.hasAlphaChannel());
        QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);      // outside the remote
        QCOMPARE(qAlpha(icon.pixel(16, 16)), 255);  // on it
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
