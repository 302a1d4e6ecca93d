// The device status in the real main window: the labels, actions and
// signal-mode menu that the status slots set, what initUsb2 takes over from
// the information block, the customer-number rule, and the whole road from
// the connection thread on the simulated devices to the window.
#include "ConnectionRig.h"
#include "TestSupport.h"
#include "app/MessageBox.h"
#include "app/SettingsText.h"
#include "mainwindow/MainWindowImpl.h"
#include "mainwindow/SettingsFile.h"
#include "usb/sim/SimulatedRemote2.h"

#include <QDir>
#include <QMutex>
#include <QSqlDatabase>
#include <QtTest>

namespace {

const QString kRed = QStringLiteral("QLabel { color: red}");
const QString kGreen = QStringLiteral("QLabel { color: green}");
const QString kNoRemote = QStringLiteral("USB remote control not connected");
const QString kNoReceiver = QStringLiteral("USB infrared receiver not connected");
const QString kReceiver = QStringLiteral("USB infrared receiver is connected");

// Collects the status slots' debug lines ("initUsb2", ...) from any thread,
// or the debug lines that start with another prefix.
class SlotLog
{
public:
    explicit SlotLog(const QString &prefix = QStringLiteral("init"))
        : m_prefix(prefix)
    {
        s_current = this;
        m_previous = qInstallMessageHandler(&SlotLog::handler);
    }
    ~SlotLog()
    {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }
    QStringList lines() const
    {
        QMutexLocker lock(&m_mutex);
        return m_lines;
    }

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        SlotLog *log = s_current;
        if (log && type == QtDebugMsg && message.startsWith(log->m_prefix)) {
            QMutexLocker lock(&log->m_mutex);
            log->m_lines.append(message);
        }
        if (log && log->m_previous)
            log->m_previous(type, context, message);
    }

    static SlotLog *s_current;
    const QString m_prefix;
    mutable QMutex m_mutex;
    QStringList m_lines;
    QtMessageHandler m_previous = nullptr;
};
SlotLog *SlotLog::s_current = nullptr;

} // namespace

class TestDeviceStatus : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_previousDir;
    MainWindowImpl *w = nullptr;
    UsbState *m_state = nullptr;

    // A key of "config.ini" as the file holds it now.
    static QString savedSetting(const QString &key)
    {
        const QSettings file(QStringLiteral("config.ini"), QSettings::IniFormat);
        return settingsText(file, key);
    }

    QStringList logLines() const
    {
        return w->textEdit->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(TestSupport::enterSampleDirectory(m_dir.path(), &m_previousDir));
    }
    void cleanupTestCase() { QDir::setCurrent(m_previousDir); }

    void init()
    {
        m_state = new UsbState;
        w = new MainWindowImpl;
        w->attachUsb(m_state);
    }
    void cleanup()
    {
        delete w;
        w = nullptr;
        delete m_state;
        m_state = nullptr;
        MessageBox::takeLog();
    }

    // The constructor chooses modulated reception before any USB state
    // exists; the request is posted once the state is attached.
    void constructorRequestIsPostedOnAttach()
    {
        MainWindowImpl window;
        QVERIFY(window.actionModuleted_Signal_30kHz_56kHz->isChecked());
        QVERIFY(!window.actionNon_modulated_Signal_ITT->isChecked());
        UsbState state;
        QVERIFY(!state.transmitRequested.load());
        window.attachUsb(&state);
        UsbRequestData request;
        QVERIFY(state.request.take(&request, nullptr));
        QCOMPARE(request.command, 9825);
        QVERIFY(!window.usbRequestWaiting);
    }

    // The two menu actions are a pair of exclusive choices; each choice posts
    // its request, also when it was already on.
    void signalMode_data()
    {
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("modulated");
        QTest::addRow("non-modulated") << QStringList{"ITT"} << 9805 << false;
        QTest::addRow("back to modulated") << QStringList{"ITT", "30"} << 9825 << true;
        QTest::addRow("modulated twice stays on") << QStringList{"30", "30"} << 9825 << true;
        QTest::addRow("non-modulated twice stays on") << QStringList{"ITT", "ITT"} << 9805 << false;
    }
    void signalMode()
    {
        QFETCH(QStringList, choices);
        QFETCH(int, command);
        QFETCH(bool, modulated);
        for (const QString &c : choices) {
            UsbRequestData taken;
            quint64 ticket = 0;
            if (m_state->request.take(&taken, &ticket))
                m_state->request.finish(ticket);
            const QString line = QStringLiteral("usbTransmitOption: %1").arg(c == "ITT" ? 9805 : 9825);
            QTest::ignoreMessage(QtDebugMsg, qPrintable(line));
            (c == "ITT" ? w->actionNon_modulated_Signal_ITT : w->actionModuleted_Signal_30kHz_56kHz)->trigger();
            QVERIFY(m_state->transmitRequested.load());
        }
        UsbRequestData request;
        QVERIFY(m_state->request.take(&request, nullptr));
        QCOMPARE(request.command, command);
        QCOMPARE(w->usbCommand, command);
        QCOMPARE(w->actionModuleted_Signal_30kHz_56kHz->isChecked(), modulated);
        QCOMPARE(w->actionNon_modulated_Signal_ITT->isChecked(), !modulated);
    }

    void statusSlots_data()
    {
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("remoteText");
        QTest::addColumn<QString>("remoteStyle");
        QTest::addColumn<QString>("receiverText");
        QTest::addColumn<QString>("receiverStyle");
        QTest::addColumn<bool>("receiverActions"); // actionTransmitMode and menu_Receiver_Type
        QTest::addColumn<bool>("modulated");       // checked: modulated, unchecked: non-modulated
        QTest::addColumn<bool>("slotInfoValid");

        const QString connected = QStringLiteral("Remote X is connected");
        QTest::addRow("nothing at start") << QStringList{"initReceiver1", "initUsb1"} << kNoRemote << kRed
                                          << kNoReceiver << kRed << false << false << false;
        QTest::addRow("receiver opened") << QStringList{"initReceiver1", "initUsb1", "initReceiver2"} << kNoRemote
                                         << kRed << kReceiver << kGreen << true << true << false;
        QTest::addRow("remote read")
            << QStringList{"initReceiver1", "initUsb1", "initReceiver2", "initUsb3"} << connected << kGreen
            << kReceiver << kGreen << true << true << false;
        QTest::addRow("second generation")
            << QStringList{"initReceiver1", "initUsb1", "initUsb7", "initUsb3"} << connected << kGreen << kReceiver
            << kGreen << false << true << false;
        // The receiver's actions go off with the remote, even while the
        // receiver stays open.
        QTest::addRow("remote gone") << QStringList{"initReceiver2", "initUsb3", "initUsb4"} << kNoRemote << kRed
                                     << kReceiver << kGreen << false << true << false;
        QTest::addRow("receiver gone") << QStringList{"initReceiver2", "initUsb3", "initReceiver1"} << connected
                                       << kGreen << kNoReceiver << kRed << false << true << true;
    }
    void statusSlots()
    {
        QFETCH(QStringList, calls);
        QFETCH(QString, remoteText);
        QFETCH(QString, remoteStyle);
        QFETCH(QString, receiverText);
        QFETCH(QString, receiverStyle);
        QFETCH(bool, receiverActions);
        QFETCH(bool, modulated);
        QFETCH(bool, slotInfoValid);

        m_state->setProductString(QStringLiteral("Remote X"));
        // What the slot overview and the user may have set before.
        m_state->slotInfoValid.store(true);
        w->actionUSBProgramm->setEnabled(true);
        w->actionMacroProgramm->setEnabled(true);
        w->actionTransmitMode->setEnabled(true);
        w->menu_Receiver_Type->setEnabled(true);
        w->changeSignalITT();

        for (const QString &slot : calls)
            QVERIFY(QMetaObject::invokeMethod(w, qPrintable(slot), Qt::DirectConnection));

        QCOMPARE(w->labelUSBconnection->text(), remoteText);
        QCOMPARE(w->labelUSBconnection->styleSheet(), remoteStyle);
        QCOMPARE(w->labelUSBreceiver->text(), receiverText);
        QCOMPARE(w->labelUSBreceiver->styleSheet(), receiverStyle);
        QCOMPARE(w->actionTransmitMode->isEnabled(), receiverActions);
        QCOMPARE(w->menu_Receiver_Type->isEnabled(), receiverActions);
        QCOMPARE(w->menu_Receiver_Type->menuAction()->isEnabled(), receiverActions);
        QCOMPARE(w->actionModuleted_Signal_30kHz_56kHz->isChecked(), modulated);
        QCOMPARE(w->actionNon_modulated_Signal_ITT->isChecked(), !modulated);
        QCOMPARE(m_state->slotInfoValid.load(), slotInfoValid);
        // Only the slot overview turns the remote's actions on again.
        const bool remoteActions = !calls.contains("initUsb1") && !calls.contains("initUsb4");
        QCOMPARE(w->actionUSBProgramm->isEnabled(), remoteActions);
        QCOMPARE(w->actionMacroProgramm->isEnabled(), remoteActions);
        // Checking from code posts nothing: the last request is still ITT's.
        UsbRequestData request;
        QVERIFY(m_state->request.take(&request, nullptr));
        QCOMPARE(request.command, 9805);
    }

    // The request worker's status: a slot write's time and a failure each
    // become a line of the log.
    void workerStatusLines()
    {
        w->textEdit->clear();
        w->initFunctions1(QTime::currentTime().addMSecs(-1500));
        w->initFunctionsFailed(QStringLiteral("slot 2 write ended: the remote took no report 7 (05 12)"));
        // The slot overview's own line follows the time.
        const QStringList lines = logLines();
        QCOMPARE(lines.size(), 3);
        QVERIFY2(QRegularExpression("^1[5-9][0-9][0-9]ms$").match(lines[0]).hasMatch(), qPrintable(lines[0]));
        QCOMPARE(lines[1], QStringLiteral("//-----------------"));
        QCOMPARE(lines[2], QStringLiteral("USB request failed: slot 2 write ended: the remote took no report 7 (05 12)"));
    }

    // The busy rule for every poster: a programming request while another is
    // pending is refused with "device busy"; a transmit request is not.
    void busyProgrammingRequestIsRefused()
    {
        UsbRequestData pending;
        quint64 ticket = 0;
        while (m_state->request.take(nullptr, &ticket))
            m_state->request.finish(ticket);
        MessageBox::takeLog();
        w->usbCommand = UsbCommand::TransmitPressed;
        QVERIFY(w->postUsbRequest());
        w->usbCommand = UsbCommand::DeleteSlot;
        w->nPult = 3;
        QVERIFY(!w->postUsbRequest());
        const QList<MessageBox::Record> boxes = MessageBox::takeLog();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QStringLiteral("device busy"));
        QVERIFY(m_state->request.take(&pending, nullptr));
        QCOMPARE(pending.command, int(UsbCommand::TransmitPressed));
        w->usbCommand = UsbCommand::TransmitReleased;
        QVERIFY(w->postUsbRequest());
        QVERIFY(MessageBox::takeLog().isEmpty());
    }

    // A remote that cannot be opened: the remote label says so in red, with
    // the udev hint, and the remote's and receiver's actions are off; the
    // next connected remote takes the label over.
    void refusedRemote()
    {
        m_state->slotInfoValid.store(true);
        w->actionUSBProgramm->setEnabled(true);
        w->actionTransmitMode->setEnabled(true);
        w->initUsbRefused(QStringLiteral("remote1"));
        QCOMPARE(w->labelUSBconnection->text(),
                 QStringLiteral("USB remote control found, but it cannot be opened: install the udev rule (see README, "
                                "Devices)"));
        QCOMPARE(w->labelUSBconnection->styleSheet(), kRed);
        QVERIFY(!m_state->slotInfoValid.load());
        QVERIFY(!w->actionUSBProgramm->isEnabled());
        QVERIFY(!w->actionTransmitMode->isEnabled());
        m_state->setProductString(QStringLiteral("Remote X"));
        w->initUsb3();
        QCOMPARE(w->labelUSBconnection->text(), QStringLiteral("Remote X is connected"));
    }

    void emptyProductString()
    {
        m_state->setProductString(QString());
        w->initUsb3();
        QCOMPARE(w->labelUSBconnection->text(), QStringLiteral(" is connected"));
        QCOMPARE(w->labelUSBconnection->styleSheet(), kGreen);
    }

    // The device's remote type joins the list when the catalogue knows it;
    // a separator only between ids.
    void takesOverTheInformationBlock_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("joined");
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("expectedList");
        QTest::addColumn<QString>("expectedJoined");
        QTest::addRow("new known type") << QStringList{"1", "2"} << "1,2" << 3 << QStringList{"1", "2", "3"} << "1,2,3";
        QTest::addRow("already listed") << QStringList{"1", "3"} << "1,3" << 3 << QStringList{"1", "3"} << "1,3";
        QTest::addRow("empty list") << QStringList{} << "" << 3 << QStringList{"3"} << "3";
        QTest::addRow("unknown to the catalogue") << QStringList{"1"} << "1" << 9 << QStringList{"1"} << "1";
        QTest::addRow("type 0") << QStringList{"1"} << "1" << 0 << QStringList{"1"} << "1";
    }
    void takesOverTheInformationBlock()
    {
        QFETCH(QStringList, list);
        QFETCH(QString, joined);
        QFETCH(int, type);
        QFETCH(QStringList, expectedList);
        QFETCH(QString, expectedJoined);
        DeviceInfo info;
        for (int i = 0; i < DeviceInfo::kSize; ++i)
            info.entries[i] = (i * 5) & 0xFF;
        info.entries[7] = 42;
        info.entries[8] = type;
        m_state->setDeviceInfo(info);
        w->rcTypesList = list;
        w->rcTypes = joined;
        w->textEdit->clear();
        const QStringList before = SettingsFile::parseRcTypes(savedSetting("Settings/rcTypes"));

        {
            SlotLog dump(QStringLiteral("Device information block:"));
            w->initUsb2();
            // The first 256 entries go to the debug output, not to the user's log.
            QStringList entries;
            for (int i = 0; i < 256; ++i)
                entries << QString::number(info.entries[i]);
            QCOMPARE(dump.lines(), QStringList{"Device information block: " + entries.join(' ')});
            QCOMPARE(logLines(), QStringList());
        }
        QCOMPARE(w->deviceId, 42);
        QCOMPARE(w->deviceRCTypeId, type);
        QCOMPARE(w->rcTypesList, expectedList);
        QCOMPARE(w->rcTypes, expectedJoined);
        // Saved (in the file's own notation) only when the list grew.
        QCOMPARE(SettingsFile::parseRcTypes(savedSetting("Settings/rcTypes")),
                 expectedList != list ? expectedList : before);

        // The same device again changes nothing.
        w->initUsb2();
        QCOMPARE(w->rcTypesList, expectedList);
        QCOMPARE(w->rcTypes, expectedJoined);
    }

    void remoteGoneClosesItsDialogs()
    {
        w->changer8in1Dialog.show();
        w->macroDialog.show();
        QVERIFY(w->changer8in1Dialog.isVisible() && w->macroDialog.isVisible());
        w->initUsb4();
        QVERIFY(!w->changer8in1Dialog.isVisible());
        QVERIFY(!w->macroDialog.isVisible());
    }

    void customerNumber_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("reported");
        QTest::addColumn<QString>("expected");
        QTest::addRow("replaced") << "12" << "7" << "7";
        QTest::addRow("same") << "7" << "7" << "7";
        QTest::addRow("empty stays empty") << "" << "7" << "";
    }
    void customerNumber()
    {
        QFETCH(QString, stored);
        QFETCH(QString, reported);
        QFETCH(QString, expected);
        w->customerId = stored;
        const QString before = savedSetting("Settings/customerId");
        w->takeCustomerNumber(reported);
        QCOMPARE(w->customerId, expected);
        // Saved only when replaced.
        QCOMPARE(savedSetting("Settings/customerId"), expected != stored ? expected : before);
    }

    // From the simulated bus to the window: the slots run in the thread's
    // order, in the window's thread, and show what the device reported.
    void endToEnd()
    {
        delete w;
        w = new MainWindowImpl;
        SlotLog slotLog;
        ConnectionRig rig;
        w->attachUsb(&rig.state);
        w->connectUsbConnection(&rig.connection);
        w->customerId = QStringLiteral("12");
        w->rcTypesList = QStringList{"1"};
        w->rcTypes = QStringLiteral("1");
        auto remote = rig.sim.addRemote2();
        for (int s = 0; s < 4; ++s) {
            QByteArray header = remote->slotHeader(s);
            header[0] = 1;
            header[20] = static_cast<char>(100 + s);
            remote->setSlotHeader(s, header);
        }
        rig.sim.plug(remote);
        rig.connection.start();

        QTRY_COMPARE(w->labelUSBreceiver->text(), kReceiver);
        QCOMPARE(slotLog.lines(), (QStringList{"initReceiver1", "initUsb1", "initUsb2", "initUsb6", "initUsb7",
                                             "initUsb3", "initReceiver2"}));
        QCOMPARE(w->labelUSBconnection->text(), QStringLiteral("Simulated Remote 2 is connected"));
        QCOMPARE(w->labelUSBconnection->styleSheet(), kGreen);
        QVERIFY(w->actionTransmitMode->isEnabled());
        QCOMPARE(w->deviceId, 33);
        QCOMPARE(w->deviceRCTypeId, 2);
        QCOMPARE(w->rcTypes, QStringLiteral("1,2"));
        QCOMPARE(w->customerId, QStringLiteral("4"));
        QCOMPARE(savedSetting("Settings/customerId"), QStringLiteral("4"));
        QCOMPARE(SettingsFile::parseRcTypes(savedSetting("Settings/rcTypes")), (QStringList{"1", "2"}));
        for (int s = 0; s < 4; ++s) {
            const QByteArray header = remote->slotHeader(s);
            for (int b = 0; b < 64; ++b)
                QCOMPARE(w->slotHeaderPages[64 * s + b], int(quint8(header[b])));
        }

        // Non-modulated chosen, then the device unplugged and plugged in again:
        // the receiver comes back in modulated mode, as the thread sets it.
        w->changeSignalITT();
        rig.sim.unplug(remote);
        QTRY_COMPARE(w->labelUSBconnection->text(), kNoRemote);
        QTRY_COMPARE(w->labelUSBreceiver->text(), kNoReceiver);
        QVERIFY(!w->actionTransmitMode->isEnabled());
        QVERIFY(!w->menu_Receiver_Type->isEnabled());
        QVERIFY(w->actionNon_modulated_Signal_ITT->isChecked());
        rig.sim.plug(remote);
        QTRY_COMPARE(w->labelUSBreceiver->text(), kReceiver);
        QVERIFY(w->actionModuleted_Signal_30kHz_56kHz->isChecked());
        QVERIFY(!w->actionNon_modulated_Signal_ITT->isChecked());
        QCOMPARE(remote->receiveMode(), 0x19);
        rig.connection.stop();
    }

    // The program itself, with its default timings, wires the thread to its
    // window: a simulated second-generation remote is connected within about
    // two seconds of the start, with no report out of sequence.
    void programConnectsTheSimulatedRemote()
    {
        QTemporaryDir dir;
        QVERIFY(TestSupport::writeSampleDirectory(dir.path(), 5));
        const TestSupport::RunResult r = TestSupport::runProgram(
            dir.path(), {"IRVANTA_HID_BACKEND=simulator", "IRVANTA_SIM_DEVICES=remote2", "IRVANTA_CLOSE_AFTER_MS=4000"});
        QVERIFY2(r.finished && r.exitCode == 0, qPrintable(r.output));
        QStringList lines;
        for (const QString &line : r.output.split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("init")))
                lines << line.trimmed();
        }
        QCOMPARE(lines, (QStringList{"initReceiver1", "initUsb1", "initUsb2", "initUsb6", "initUsb7", "initUsb3",
                                     "initReceiver2"}));
        QVERIFY2(!r.output.contains("sequence broken"), qPrintable(r.output));
    }
};

QTEST_MAIN(TestDeviceStatus)
#include "tst_devicestatus.moc"
