// Learning and transmitting keys in the real main window, on an own master of
// the sample catalogue, with the simulated remote2 as receiver and
// transmitter: a received key press is stored on the key double-clicked on
// the picture (inserted, or replaced after the question) and marked on every
// key with that code; in transmit mode a press sends the key's frame and the
// release ends it.
#include "ConnectionRig.h"
#include "IrFrames.h"
#include "LinkRig.h"
#include "TestSupport.h"
#include "app/MessageBox.h"
#include "catalogue/PictureGeometry.h"
#include "ir/Decode.h"
#include "ir/TransmitFrame.h"
#include "mainwindow/MainWindowImpl.h"
#include "tools/samplekit/SampleProtocolLookups.h"
#include "usb/sim/SimulatedRemote2.h"
#include "usb/UsbFunctions.h"
#include "usb/UsbReceiverDots.h"

#include <QDir>
#include <QLineEdit>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

namespace {

// The device link as the application builds it, on the simulator: the
// capture thread fills the window's own store, the worker carries out what
// the window posts.
struct WindowLink
{
    explicit WindowLink(MainWindowImpl *w)
        : capture(&rig.state, &w->captureStore), functions(0, &rig.state)
    {
        functions.setTimings(LinkRig::fastWorkerTimings());
        w->attachUsb(&rig.state);
        w->connectUsbConnection(&rig.connection);
        w->connectUsbFunctions(&functions);
        remote = rig.sim.addRemote2();
        rig.sim.plug(remote);
        rig.connection.start();
        capture.start();
        functions.start();
    }
    ~WindowLink()
    {
        functions.stop();
        capture.stop();
        rig.connection.stop();
    }

    ConnectionRig rig;
    UsbReceiverDots capture;
    UsbFunctions functions;
    std::shared_ptr<SimulatedRemote2> remote;
};

using TestSupport::sqlExec;
using TestSupport::sqlValue;

// The simulated remote's own type, which the window turns to when it connects.
const int kType = 2;

} // namespace

class TestKeyLearning : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_previousDir;
    std::unique_ptr<MainWindowImpl> w;
    QString m_master;

    static void fetchAll(QAbstractItemModel *m)
    {
        while (m && m->canFetchMore(QModelIndex()))
            m->fetchMore(QModelIndex());
    }
    // The first own master in the model list, and the remote's type.
    bool selectOwnMaster()
    {
        QAbstractItemModel *models = w->ModelsTV->model();
        fetchAll(models);
        for (int row = 0; models && row < models->rowCount(); ++row) {
            const QString rcid = models->index(row, 0).data().toString();
            if (models->index(row, 8).data().toInt() == 1 && models->index(row, 5).data().toString() == rcid) {
                w->ModelsTV->setCurrentIndex(models->index(row, 1));
                m_master = rcid;
                break;
            }
        }
        QAbstractItemModel *types = w->RCTypesTV->model();
        for (int row = 0; types && row < types->rowCount(); ++row) {
            if (types->index(row, 0).data().toInt() == kType) {
                w->RCTypesTV->setCurrentIndex(types->index(row, 1));
                w->refreshRC();
                return !m_master.isEmpty();
            }
        }
        return false;
    }
    QPoint keyPoint(int nkey) const
    {
        const KeyPosition k = w->keyPositions.at(nkey);
        const int h = w->labelPicture->height();
        return QPoint(k.X * h / 2261, k.Y * h / 2261);
    }
    QPoint markerOf(int nkey) const
    {
        return PictureGeometry::markerPosition(w->keyPositions.at(nkey), w->labelPicture->height());
    }
    QList<QPoint> markers() const
    {
        return {w->sameKeyMarkers[0]->pos(), w->sameKeyMarkers[1]->pos(), w->sameKeyMarkers[2]->pos()};
    }
    QVariant storedCode(int nkey) const
    {
        return sqlValue(QStringLiteral("SELECT ID FROM rckeys WHERE Rcid=? AND RCTypeId=? AND Nkey=?"),
                     {m_master, kType, nkey});
    }
    // A normal-layer key from `from` to 111 with a place on the picture, taken out
    // of the master (the sample gives it every key) so that it can be added.
    int freeKey(int from)
    {
        for (int n = from; n < 112; ++n) {
            // Where hot-spots overlap the lower key wins: take one that a
            // click on its centre reaches.
            if (!w->keyPositions.contains(n) || w->labelPicture->hitTest(keyPoint(n), w->labelPicture->height()) != n)
                continue;
            if (!sqlExec(QStringLiteral("DELETE FROM rckeys WHERE Rcid=? AND RCTypeId=? AND Nkey=?"), {m_master, kType, n}))
                return -1;
            w->refreshRC();
            return n;
        }
        return -1;
    }
    // A received NEC key press, shown as its key code.
    QString receiveKeyPress(WindowLink &link, quint32 bits)
    {
        const QVector<int> nec = IrFrames::necFrame(bits);
        link.remote->injectDurations(nec + QVector<int>{-40000} + nec + QVector<int>{-40000} + nec +
                                     QVector<int>{-200000});
        if (!QTest::qWaitFor([&] { return w->labelKeyId->text() != QLatin1String("UNKNOWN"); }, 10000))
            return QString();
        // Let the rest of the press come in.
        QTest::qWait(400);
        return w->labelKeyId->text();
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
        w = std::make_unique<MainWindowImpl>();
        w->resize(1280, 900);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->tabWidget->setCurrentIndex(0);
        QVERIFY(selectOwnMaster());
        MessageBox::takeLog();
    }
    void cleanup()
    {
        w.reset();
        MessageBox::takeLog();
    }

    void learnInsertThenReplace()
    {
        QCOMPARE(w->deviceId, -1);
        WindowLink link(w.get());
        QTRY_COMPARE_WITH_TIMEOUT(w->labelUSBreceiver->text(), QStringLiteral("USB infrared receiver is connected"),
                                  10000);
        QTRY_COMPARE_WITH_TIMEOUT(w->deviceId, SampleProtocolLookups::kRemote2DeviceId, 10000);
        const int fresh = freeKey(1);
        QVERIFY(fresh >= 0);
        const int taken = 0;
        QCOMPARE(w->labelPicture->hitTest(keyPoint(taken), w->labelPicture->height()), taken);
        if (!storedCode(taken).isValid()) {
            QVERIFY(sqlExec(QStringLiteral("INSERT INTO rckeys VALUES (?,?,'K0',?,0)"),
                         {m_master, kType, QStringLiteral("0552") + Decode::encode(QStringLiteral("1001"))}));
            w->refreshRC();
        }
        const QVariant takenCode = storedCode(taken);
        QVERIFY(takenCode.isValid());
        QVERIFY(!w->labelPicture->busy);

        // Nothing received yet: a double click learns nothing.
        QCOMPARE(w->labelKeyId->text(), QStringLiteral("UNKNOWN"));
        QTest::mouseDClick(w->labelPicture, Qt::LeftButton, Qt::NoModifier, keyPoint(fresh));
        QTRY_VERIFY(!w->labelPicture->assignRequest);
        QVERIFY(!storedCode(fresh).isValid());
        QVERIFY(MessageBox::takeLog().isEmpty());

        const QString code = receiveKeyPress(link, 0x20DF10EF);
        QVERIFY2(!code.isEmpty() && code != QLatin1String("UNKNOWN"), qPrintable(code));
        QVERIFY(!sqlValue(QStringLiteral("SELECT Nkey FROM rckeys WHERE Rcid=? AND ID=?"), {m_master, code}).isValid());
        QVERIFY(sqlExec(QStringLiteral("UPDATE rcmodels SET Flag=1 WHERE Rcid=?"), {m_master}));

        // Insert: the new key is stored, its row chosen for naming, its
        // circle drawn and the marker on it.
        QTest::mouseDClick(w->labelPicture, Qt::LeftButton, Qt::NoModifier, keyPoint(fresh));
        QTRY_COMPARE(storedCode(fresh).toString(), code);
        QVERIFY(MessageBox::takeLog().isEmpty());
        QCOMPARE(sqlValue(QStringLiteral("SELECT Flag FROM rcmodels WHERE Rcid=?"), {m_master}).toInt(), 0);
        const QModelIndex current = w->KeysTV->currentIndex();
        QCOMPARE(w->KeysTV->model()->index(current.row(), 4).data().toInt(), fresh);
        const auto *editor = w->KeysTV->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor && editor->isVisible());
        // The empty name is seen and typed into at once.
        QVERIFY(editor->hasFrame());
        QCOMPARE(w->focusWidget(), editor);
        // The status line that says so shows the status bar at its first
        // use, and the picture is laid out again once the window has settled.
        QTRY_COMPARE(markers(), (QList<QPoint>{markerOf(fresh), QPoint(-50, -50), QPoint(-50, -50)}));

        // Replace, answered No: nothing changes.
        MessageBox::setNextAnswer(QMessageBox::No);
        QTest::mouseDClick(w->labelPicture, Qt::LeftButton, Qt::NoModifier, keyPoint(taken));
        QTRY_COMPARE(MessageBox::log().size(), 1);
        QTest::qWait(50);
        const MessageBox::Record asked = MessageBox::takeLog().first();
        QCOMPARE(asked.title, QStringLiteral("Confirm"));
        QCOMPARE(asked.text, QStringLiteral("are you sure you want to replace this key?"));
        QCOMPARE(storedCode(taken), takenCode);

        // Answered Yes: the key takes the code and both keys are marked.
        MessageBox::setNextAnswer(QMessageBox::Yes);
        QTest::mouseDClick(w->labelPicture, Qt::LeftButton, Qt::NoModifier, keyPoint(taken));
        QTRY_COMPARE(storedCode(taken).toString(), code);
        QCOMPARE(MessageBox::takeLog().size(), 1);
        QCOMPARE(w->KeysTV->model()->index(w->KeysTV->currentIndex().row(), 4).data().toInt(), taken);
        const QList<QPoint> marked = markers();
        QVERIFY(marked.contains(markerOf(fresh)));
        QVERIFY(marked.contains(markerOf(taken)));
        QCOMPARE(marked.at(2), QPoint(-50, -50));
        QCOMPARE(sqlValue(QStringLiteral("SELECT COUNT(*) FROM rckeys WHERE Rcid=? AND RCTypeId=? AND Nkey=?"),
                       {m_master, kType, taken}).toInt(), 1);
    }

    void transmitPressAndRelease()
    {
        WindowLink link(w.get());
        QTRY_COMPARE_WITH_TIMEOUT(w->labelUSBreceiver->text(), QStringLiteral("USB infrared receiver is connected"),
                                  10000);
        QTRY_COMPARE_WITH_TIMEOUT(w->deviceId, SampleProtocolLookups::kRemote2DeviceId, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(link.functions.polling() && !link.rig.state.transmitRequested.load(), 10000);

        // A key of a protocol with a blob for the device, and one without.
        const QString blob = QStringLiteral("0102030405");
        const QString known = QStringLiteral("0552") + Decode::encode(QStringLiteral("101101110001"));
        const QString unknown = QStringLiteral("9992") + Decode::encode(QStringLiteral("1111"));
        QVERIFY(sqlExec(QStringLiteral("INSERT INTO usbprotocols (DevID, Prot, Nrc, Code) VALUES (?,?,0,?)"),
                     {SampleProtocolLookups::kRemote2DeviceId, 55, blob}));
        const int sent = freeKey(1);
        QVERIFY(sqlExec(QStringLiteral("INSERT INTO rckeys VALUES (?,?,'SEND',?,?)"), {m_master, kType, known, sent}));
        const int refused = freeKey(sent + 1);
        QVERIFY(refused >= 0);
        QVERIFY(sqlExec(QStringLiteral("INSERT INTO rckeys VALUES (?,?,'NONE',?,?)"), {m_master, kType, unknown, refused}));
        w->refreshRC();

        w->actionTransmitMode->trigger();
        QVERIFY(w->actionTransmitMode->isChecked());
        QVERIFY(w->labelPicture->transmitMode);

        const QByteArray frame = QByteArray::fromHex(TransmitFrame::build(known, blob).toLatin1());
        QCOMPARE(frame.size(), 16);
        QCOMPARE(frame.left(4), QByteArray::fromHex("01020304"));
        // Ending programming mode is the same report as a key release: the
        // remote's information read at connection counts too.
        const int released = link.remote->keyReleaseCount();
        QCOMPARE(link.remote->transmittedFrames().size(), 0);
        for (int round = 1; round <= 2; ++round) {
            QTest::mousePress(w->labelPicture, Qt::LeftButton, Qt::NoModifier, keyPoint(sent));
            QTRY_COMPARE_WITH_TIMEOUT(link.remote->transmittedFrames().size(), round, 10000);
            QCOMPARE(link.remote->transmittedFrames().last(), frame);
            QCOMPARE(link.remote->keyReleaseCount(), released + round - 1);
            QTest::mouseRelease(w->labelPicture, Qt::LeftButton, Qt::NoModifier, keyPoint(sent));
            QTRY_COMPARE_WITH_TIMEOUT(link.remote->keyReleaseCount(), released + round, 10000);
            QVERIFY(w->textEdit->toPlainText().endsWith(QStringLiteral("unpressed")));

            if (round == 2)
                break;
            // The protocol without a blob: the message, nothing sent, and
            // the next press still transmits.
            QTest::mousePress(w->labelPicture, Qt::LeftButton, Qt::NoModifier, keyPoint(refused));
            QTRY_COMPARE(MessageBox::log().size(), 1);
            const MessageBox::Record told = MessageBox::takeLog().first();
            QCOMPARE(told.title, QStringLiteral("information"));
            QCOMPARE(told.text, QStringLiteral("cannot transmit this protocol. Please update programm."));
            QTRY_VERIFY(w->transmitReady);
            QVERIFY(!w->labelPicture->keyPressed);
            QTest::mouseRelease(w->labelPicture, Qt::LeftButton, Qt::NoModifier, keyPoint(refused));
            QTest::qWait(100);
            QCOMPARE(link.remote->transmittedFrames().size(), 1);
            QCOMPARE(link.remote->keyReleaseCount(), released + 1);
        }
        QVERIFY(MessageBox::takeLog().isEmpty());
        QVERIFY2(link.rig.sim.violations().isEmpty(), qPrintable(link.rig.sim.violations().join('\n')));
    }

    // The frame follows the code blob's length, its count byte does not: a
    // frame of more reports than the count holds is refused before anything
    // is sent (the remote would take the reports after the count for
    // commands), and the user is told which protocol.
    void transmitFrameBeyondTheCount_data()
    {
        QTest::addColumn<int>("blobBytes");
        QTest::addColumn<bool>("sent");
        QTest::addRow("255 reports, the most a count holds") << 255 * 8 << true;
        QTest::addRow("256 reports") << 255 * 8 + 1 << false;
        QTest::addRow("4200 digits") << 2100 << false;
    }
    void transmitFrameBeyondTheCount()
    {
        QFETCH(int, blobBytes);
        QFETCH(bool, sent);
        WindowLink link(w.get());
        QTRY_COMPARE_WITH_TIMEOUT(w->deviceId, SampleProtocolLookups::kRemote2DeviceId, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(link.functions.polling() && !link.rig.state.transmitRequested.load(), 10000);
        // Bytes that read as commands where the count would be cut.
        QString blob;
        for (int i = 0; i < blobBytes; ++i)
            blob += QStringLiteral("%1").arg(i % 8 == 0 ? 0x03 : 0x01, 2, 16, QLatin1Char('0'));
        const QString code = QStringLiteral("0552") + Decode::encode(QStringLiteral("101101110001"));
        // The protocol's only blob for the device (an earlier test adds one too).
        QVERIFY(sqlExec(QStringLiteral("DELETE FROM usbprotocols WHERE DevID=? AND Prot=?"),
                     {SampleProtocolLookups::kRemote2DeviceId, 55}));
        QVERIFY(sqlExec(QStringLiteral("INSERT INTO usbprotocols (DevID, Prot, Nrc, Code) VALUES (?,?,0,?)"),
                     {SampleProtocolLookups::kRemote2DeviceId, 55, blob}));
        const int key = freeKey(1);
        QVERIFY(key >= 0);
        QVERIFY(sqlExec(QStringLiteral("INSERT INTO rckeys VALUES (?,?,'LONG',?,?)"), {m_master, kType, code, key}));
        w->refreshRC();
        w->actionTransmitMode->trigger();
        QVERIFY(w->labelPicture->transmitMode);

        link.rig.sim.clearTrace();
        QTest::mousePress(w->labelPicture, Qt::LeftButton, Qt::NoModifier, keyPoint(key));
        if (sent) {
            QTRY_COMPARE_WITH_TIMEOUT(link.remote->transmittedFrames().size(), 1, 10000);
            QCOMPARE(link.remote->transmittedFrames().last().size(), 255 * 8);
            QVERIFY(MessageBox::log().isEmpty());
        } else {
            QTRY_COMPARE(MessageBox::log().size(), 1);
            const MessageBox::Record told = MessageBox::takeLog().first();
            QCOMPARE(told.title, QStringLiteral("information"));
            QVERIFY2(told.text.contains(QStringLiteral("protocol 055")) && told.text.contains(QStringLiteral("255")),
                     qPrintable(told.text));
            QTRY_VERIFY(w->transmitReady);
            QVERIFY(!w->labelPicture->keyPressed);
            QTest::qWait(300);
            QVERIFY(link.remote->transmittedFrames().isEmpty());
            // Nothing reached the remote: no count, no report of the frame.
            for (const SimTraceEntry &e : link.rig.sim.trace())
                QVERIFY2(!e.output, qPrintable(e.channel + QLatin1Char(' ') + QString::fromLatin1(e.bytes.toHex())));
        }
        QTest::mouseRelease(w->labelPicture, Qt::LeftButton, Qt::NoModifier, keyPoint(key));
        QTest::qWait(100);
        QVERIFY2(link.rig.sim.violations().isEmpty(), qPrintable(link.rig.sim.violations().join('\n')));
    }
};

QTEST_MAIN(TestKeyLearning)
#include "tst_keylearning.moc"
