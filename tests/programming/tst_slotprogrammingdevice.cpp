// Slot programming end to end: the main window with the connection, capture
// and request worker threads running on a simulated remote. The replacer
// dialog shows the device's slots, its buttons write and clear them in the
// simulated flash, and the overview follows what the device holds afterwards.
#include "LinkRig.h"
#include "ProgrammingRig.h"
#include "TestSupport.h"
#include "app/MessageBox.h"
#include "catalogue/CurrentRow.h"
#include "mainwindow/MainWindowImpl.h"
#include "programming/Remote1SlotImage.h"
#include "programming/Remote2SlotImage.h"
#include "tools/samplekit/SampleProtocolLookups.h"
#include "usb/sim/SimulatedRemote1.h"
#include "usb/sim/SimulatedRemote2.h"

#include <QDateTime>
#include <QDir>
#include <QSqlQuery>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <mutex>

namespace {

// A slot header of the first generation holding these texts, written on
// 2024-03-05 at 10:20.
QByteArray remote1Header(const QByteArray &brand, const QByteArray &type, const QByteArray &model)
{
    QByteArray h = QByteArray::fromHex("01180305" "0A14");
    for (const QByteArray &text : {brand, type, model})
        h += char(text.size()) + text;
    return h.leftJustified(128, '\0');
}

// A used header page of the second generation with these texts.
QByteArray remote2Header(const QByteArray &caption, const QByteArray &brand, const QByteArray &type,
                         const QByteArray &model)
{
    QByteArray h = QByteArray::fromHex("010100000000");
    for (const QByteArray &text : {caption, brand, type, model})
        h += char(text.size()) + text;
    return h.leftJustified(SimulatedRemote2::kHeaderSize, '\0');
}

QString label(const QLabel *l) { return l->text(); }

// Link masters with keys for the type, in Rcid order.
QStringList modelsWithKeys(int type, int count)
{
    QSqlQuery q;
    q.prepare("SELECT Rcid FROM rcmodels WHERE Rcid=Link AND Rcid IN (SELECT Rcid FROM rckeys WHERE RCTypeId=?) "
              "ORDER BY Rcid LIMIT ?");
    q.addBindValue(type);
    q.addBindValue(count);
    QStringList out;
    if (q.exec())
        while (q.next())
            out << q.value(0).toString();
    return out;
}

// An image text as the bytes the device keeps in a slot of this room: the
// worker pads it with zeros to whole pages, and the room was zero before.
QByteArray slotImage(const QString &image, int room)
{
    return QByteArray::fromHex(image.toLatin1()).leftJustified(room, '\0');
}

} // namespace

class TestSlotProgrammingDevice : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_previousDir;

    // Selects the first model in the list whose link master has keys for
    // the type; returns its Rcid.
    static QString selectKeyedModel(MainWindowImpl *w, int type, int skip = 0)
    {
        for (int row = 0; row < w->ModelsTV->model()->rowCount(); ++row) {
            w->ModelsTV->selectRow(row);
            QSqlQuery q;
            q.prepare("SELECT COUNT(*) FROM rckeys WHERE Rcid=? AND RCTypeId=?");
            q.addBindValue(CurrentRow::text(w->ModelsTV, 5));
            q.addBindValue(type);
            if (q.exec() && q.next() && q.value(0).toInt() > 0 && skip-- == 0)
                return CurrentRow::text(w->ModelsTV, 0);
        }
        return QString();
    }

    // Opens the replacer dialog through its menu action; while it is shown,
    // action runs (its checks may end it early); then the dialog is closed.
    static bool runDialog(MainWindowImpl *w, const std::function<void()> &action)
    {
        bool shown = false;
        QTimer::singleShot(0, w, [&] {
            shown = w->changer8in1Dialog.isVisible();
            action();
            w->changer8in1Dialog.reject();
        });
        w->actionUSBProgramm->trigger();
        // With no dialog shown the timer runs out here.
        QCoreApplication::processEvents();
        return shown;
    }

    // The worker has started polling and nothing waits in the mailbox.
    static bool idle(LinkRig &rig)
    {
        return rig.functions.polling() && !rig.state.transmitRequested.load();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(TestSupport::enterSampleDirectory(m_dir.path(), &m_previousDir));
    }
    void cleanupTestCase() { QDir::setCurrent(m_previousDir); }
    void init() { MessageBox::takeLog(); }

    // First generation: names from the information block, contents from the
    // slot headers; program button 3 writes the selected model's image into
    // slot index 2, delete button 3 clears it again, and a press while a
    // request is pending is refused.
    void remote1()
    {
        MainWindowImpl w;
        LinkRig rig;
        w.attachUsb(&rig.state);
        w.connectUsbConnection(&rig.connection);
        w.connectUsbFunctions(&rig.functions);
        auto remote = rig.sim.addRemote1();
        QByteArray info = remote->information();
        info.replace(36 + 16 * 3, 12, QByteArray("Living room").leftJustified(12, '\0'));
        info[32 + 16 * 5] = 0; // slot 6: no buttons
        remote->setInformation(info);
        const int pageSize = remote->pageSize();
        const int firstHalf = quint8(info.at(35 + 16 * 2));
        const int secondHalf = quint8(info.at(34 + 16 * 2));
        const int pagesPerHalf = SimulatedRemote1::kHalfBytes / pageSize;
        const QByteArray slot1 = remote1Header("ALTORA", "TV", "X-1");
        for (int p = 0; p * pageSize < slot1.size(); ++p)
            remote->setPage(quint8(info.at(35)) + p, slot1.mid(p * pageSize, pageSize));
        const auto slotBytes = [&] {
            QByteArray bytes;
            for (int p = 0; p < pagesPerHalf; ++p)
                bytes += remote->page(firstHalf + p);
            for (int p = 0; p < pagesPerHalf; ++p)
                bytes += remote->page(secondHalf + p);
            return bytes;
        };
        rig.sim.plug(remote);
        rig.start();
        QTRY_VERIFY_WITH_TIMEOUT(rig.state.slotInfoValid.load() && idle(rig), 10000);
        QVERIFY(w.labelUSBconnection->text().endsWith(QStringLiteral("is connected")));
        QCOMPARE(CurrentRow::cell(w.RCTypesTV, 0).toInt(), 1);
        QVERIFY(w.actionUSBProgramm->isEnabled());
        const QString rcid = selectKeyedModel(&w, 1);
        QVERIFY(!rcid.isEmpty());
        const QString link = CurrentRow::text(w.ModelsTV, 5);
        const QString brand = CurrentRow::text(w.ModelsTV, 1);
        const QString type = CurrentRow::text(w.ModelsTV, 2);
        const QString model = CurrentRow::text(w.ModelsTV, 3);
        const QByteArray before = slotBytes();
        rig.takeEvents();

        QDateTime pressed, written;
        QVERIFY(runDialog(&w, [&] {
            Changer8in1Dialog &d = w.changer8in1Dialog;
            QCOMPARE(d.cgroupBox1->title(), QStringLiteral("Slot 1"));
            QCOMPARE(d.cgroupBox3->title(), QStringLiteral("Slot 3"));
            QCOMPARE(d.cgroupBox4->title(), QStringLiteral("Living room"));
            QCOMPARE(label(d.clabelBrand1), QStringLiteral("Brand: ALTORA"));
            QCOMPARE(label(d.clabelType1), QStringLiteral("Type: TV"));
            QCOMPARE(label(d.clabelModel1), QStringLiteral("Model: X-1"));
            QCOMPARE(label(d.clabelBrand3), QStringLiteral("Brand: "));
            QCOMPARE(label(d.clabelModel3), QStringLiteral("Model: "));
            QVERIFY(d.cpushButton3->isEnabled() && d.dpushButton3->isEnabled());
            QVERIFY(!d.cpushButton6->isEnabled() && !d.dpushButton6->isEnabled());
            QVERIFY(d.cgroupBox8->isEnabled());

            // While the worker is held before the device, the first request
            // stays pending: the second press and a delete are refused.
            {
                std::lock_guard<std::mutex> hold(rig.state.linkLock);
                pressed = QDateTime::currentDateTime();
                QTest::mousePress(d.cpushButton3, Qt::LeftButton);
                QVERIFY(rig.state.transmitRequested.load());
                QTest::mousePress(d.cpushButton3, Qt::LeftButton);
                QTest::mousePress(d.dpushButton3, Qt::LeftButton);
                const auto boxes = MessageBox::takeLog();
                QCOMPARE(boxes.size(), 2);
                QCOMPARE(boxes.at(0).text, QStringLiteral("device busy"));
                QCOMPARE(boxes.at(1).text, QStringLiteral("device busy"));
                QCOMPARE(slotBytes(), before);
            }
            // The open dialog follows the reread slot.
            QTRY_COMPARE_WITH_TIMEOUT(label(d.clabelBrand3), QStringLiteral("Brand: ") + brand, 10000);
            written = QDateTime::currentDateTime();
            QCOMPARE(label(d.clabelType3), QStringLiteral("Type: ") + type);
            QCOMPARE(label(d.clabelModel3), QStringLiteral("Model: ") + model);
            QCOMPARE(d.cgroupBox3->title(), QStringLiteral("Slot 3"));
            QCOMPARE(label(d.clabelBrand1), QStringLiteral("Brand: ALTORA"));
            QVERIFY(d.clabelDate3->text().isEmpty());
        }));
        if (QTest::currentTestFailed())
            return;
        QVERIFY(rig.takeEvents().contains(QStringLiteral("worker:updateFunctions1")));
        QTRY_VERIFY(idle(rig));

        // The device holds the image the builder makes of the model for this
        // slot; only the date and time come from the moment of the press.
        Remote1SlotImage::Inputs in;
        in.brand = brand;
        in.type = type;
        in.model = model;
        in.deviceId = SampleProtocolLookups::kRemote1DeviceId;
        in.nPult = 2;
        in.now = pressed;
        const Remote1SlotImage::Result expected = Remote1SlotImage::build(QSqlDatabase::database(), link, 1, in);
        QCOMPARE(int(expected.status), int(Remote1SlotImage::Status::Ok));
        QByteArray image = QByteArray::fromHex(expected.image.toLatin1());
        QCOMPARE(image.size(), 1024 + 48);
        image = image.leftJustified(2 * SimulatedRemote1::kHalfBytes, '\0');
        const QByteArray flash = slotBytes();
        QCOMPARE(flash.left(1) + flash.mid(6), image.left(1) + image.mid(6));
        const QDateTime stamp(QDate(2000 + quint8(flash[1]), quint8(flash[2]), quint8(flash[3])),
                              QTime(quint8(flash[4]), quint8(flash[5])));
        QVERIFY2(stamp >= pressed.addSecs(-pressed.time().second() - 1) && stamp <= written,
                 qPrintable(stamp.toString(Qt::ISODate)));
        QVERIFY(w.textEdit->toPlainText().contains(QRegularExpression(QStringLiteral("\n\\d+ms(\n|$)"))));

        // Delete button 3 empties the slot's first page; the rest stays.
        QVERIFY(runDialog(&w, [&] {
            Changer8in1Dialog &d = w.changer8in1Dialog;
            QCOMPARE(label(d.clabelBrand3), QStringLiteral("Brand: ") + brand);
            QTest::mousePress(d.dpushButton3, Qt::LeftButton);
            QTRY_COMPARE_WITH_TIMEOUT(label(d.clabelBrand3), QStringLiteral("Brand: "), 10000);
            QCOMPARE(label(d.clabelType3), QStringLiteral("Type: "));
            QCOMPARE(label(d.clabelModel3), QStringLiteral("Model: "));
            QCOMPARE(label(d.clabelBrand1), QStringLiteral("Brand: ALTORA"));
        }));
        if (QTest::currentTestFailed())
            return;
        QVERIFY(rig.takeEvents().contains(QStringLiteral("worker:updateFunctions2")));
        QTRY_VERIFY(idle(rig));
        const QByteArray cleared = slotBytes();
        QCOMPARE(cleared.left(pageSize), QByteArray(pageSize, '\0'));
        QCOMPARE(cleared.mid(pageSize), flash.mid(pageSize));
        QVERIFY(MessageBox::takeLog().isEmpty());
        QVERIFY2(rig.sim.violations().isEmpty(), qPrintable(rig.sim.violations().join('\n')));
    }

    // Second generation: titles from the captions and contents from the
    // header pages; program button 3 writes the model's image into slot
    // index 2 under the slot's caption, delete button 3 clears its used flag.
    void remote2()
    {
        MainWindowImpl w;
        LinkRig rig;
        w.attachUsb(&rig.state);
        w.connectUsbConnection(&rig.connection);
        w.connectUsbFunctions(&rig.functions);
        auto remote = rig.sim.addRemote2();
        remote->setSlotHeader(1, remote2Header("SAT", "ALTORA", "TV", "X-1"));
        rig.sim.plug(remote);
        rig.start();
        QTRY_VERIFY_WITH_TIMEOUT(rig.state.slotInfoValid.load() && idle(rig), 10000);
        QTRY_COMPARE(w.labelUSBreceiver->text(), QStringLiteral("USB infrared receiver is connected"));
        QCOMPARE(CurrentRow::cell(w.RCTypesTV, 0).toInt(), 2);
        const QString rcid = selectKeyedModel(&w, 2);
        QVERIFY(!rcid.isEmpty());
        const QString brand = CurrentRow::text(w.ModelsTV, 1);
        const QString type = CurrentRow::text(w.ModelsTV, 2);
        const QString model = CurrentRow::text(w.ModelsTV, 3);
        const QByteArray before = remote->slotData(2);
        rig.takeEvents();

        QVERIFY(runDialog(&w, [&] {
            Changer8in1Dialog &d = w.changer8in1Dialog;
            QCOMPARE(d.cgroupBox1->title(), QStringLiteral("TV"));
            QCOMPARE(d.cgroupBox2->title(), QStringLiteral("SAT"));
            QCOMPARE(d.cgroupBox3->title(), QStringLiteral("DVD"));
            QCOMPARE(d.cgroupBox4->title(), QStringLiteral("AUX"));
            QCOMPARE(d.cgroupBox5->title(), QStringLiteral("5th"));
            QVERIFY(d.cgroupBox4->isEnabled() && !d.cgroupBox5->isEnabled());
            QVERIFY(!d.cpushButton5->isEnabled());
            QCOMPARE(label(d.clabelBrand2), QStringLiteral("Brand: ALTORA"));
            QCOMPARE(label(d.clabelType2), QStringLiteral("Type: TV"));
            QCOMPARE(label(d.clabelModel2), QStringLiteral("Model: X-1"));
            QCOMPARE(label(d.clabelBrand3), QStringLiteral("Brand: "));
            QVERIFY(d.cpushButton3->isEnabled());
            QTest::mousePress(d.cpushButton3, Qt::LeftButton);
            QTRY_COMPARE_WITH_TIMEOUT(label(d.clabelBrand3), QStringLiteral("Brand: ") + brand, 10000);
            QCOMPARE(label(d.clabelType3), QStringLiteral("Type: ") + type);
            QCOMPARE(label(d.clabelModel3), QStringLiteral("Model: ") + model);
            QCOMPARE(d.cgroupBox3->title(), QStringLiteral("DVD"));
            QCOMPARE(label(d.clabelBrand2), QStringLiteral("Brand: ALTORA"));
        }));
        if (QTest::currentTestFailed())
            return;
        QTRY_VERIFY(idle(rig));
        QVERIFY(rig.takeEvents().contains(QStringLiteral("worker:updateUsb6")));
        const auto expected = Remote2SlotImage::forModel(QSqlDatabase::database(), rcid, 2, QStringLiteral("DVD"),
                                                         SampleProtocolLookups::kRemote2DeviceId);
        QVERIFY(expected.ok());
        QCOMPARE(remote->slotData(2), slotImage(expected.image, before.size()));
        QCOMPARE(remote->slotData(1).left(SimulatedRemote2::kHeaderSize), remote2Header("SAT", "ALTORA", "TV", "X-1"));
        QTRY_COMPARE(w.statusbar->currentMessage(), QStringLiteral("Slot 3 was written."));

        // Delete button 3: the used flag goes, the rest of the slot stays.
        const QByteArray written = remote->slotData(2);
        QVERIFY(runDialog(&w, [&] {
            Changer8in1Dialog &d = w.changer8in1Dialog;
            QTest::mousePress(d.dpushButton3, Qt::LeftButton);
            QTRY_COMPARE_WITH_TIMEOUT(label(d.clabelBrand3), QStringLiteral("Brand: "), 10000);
            QCOMPARE(label(d.clabelModel3), QStringLiteral("Model: "));
            QCOMPARE(d.cgroupBox3->title(), QStringLiteral("DVD"));
            QVERIFY(d.cpushButton3->isEnabled());
        }));
        if (QTest::currentTestFailed())
            return;
        QTRY_VERIFY(idle(rig));
        QByteArray clearedExpected = written;
        clearedExpected[0] = 0;
        QCOMPARE(remote->slotData(2), clearedExpected);
        QVERIFY(MessageBox::takeLog().isEmpty());
        QTRY_COMPARE(w.statusbar->currentMessage(), QStringLiteral("Slot 3 was cleared."));
        QVERIFY2(rig.sim.violations().isEmpty(), qPrintable(rig.sim.violations().join('\n')));

        // The worker's third status signal shows the pages the link read, not
        // the window's older copy: the copy is taken before the overview.
        std::fill(std::begin(w.slotHeaderPages), std::end(w.slotHeaderPages), 0);
        w.refreshInformation2();
        QCOMPARE(w.changer8in1Dialog.cgroupBox2->title(), QString());
        emit rig.functions.updateFunctions3();
        QTRY_COMPARE(w.changer8in1Dialog.cgroupBox2->title(), QStringLiteral("SAT"));
        QCOMPARE(label(w.changer8in1Dialog.clabelBrand2), QStringLiteral("Brand: ALTORA"));
        QCOMPARE(w.slotCaptions[2], QStringLiteral("DVD"));
    }

    // The simple batch on the simulated remote2: two models and a cleared
    // slot; the fourth slot lies beyond the type's simple slots.
    void simpleBatch()
    {
        MainWindowImpl w;
        LinkRig rig;
        w.attachUsb(&rig.state);
        w.connectUsbConnection(&rig.connection);
        w.connectUsbFunctions(&rig.functions);
        auto remote = rig.sim.addRemote2();
        remote->setSlotHeader(0, remote2Header("TV", "OLD", "TV", "A"));
        remote->setSlotHeader(2, remote2Header("DVD", "GONE", "DVD", "B"));
        remote->setSlotHeader(3, remote2Header("AUX", "KEPT", "AMP", "C"));
        const QStringList models = modelsWithKeys(2, 2);
        QCOMPARE(models.size(), 2);
        {
            QSqlQuery q;
            q.prepare("UPDATE prhistory SET maxdevices=3, rcid1=?, rcid2=?, rcid3='', rcid4=? WHERE hid=2 AND RCTypeId=2");
            q.addBindValue(models.at(0));
            q.addBindValue(models.at(1));
            q.addBindValue(models.at(0));
            QVERIFY(q.exec());
            QCOMPARE(q.numRowsAffected(), 1);
        }
        QList<QByteArray> before;
        for (int s = 0; s < 4; ++s)
            before << remote->slotData(s);
        rig.sim.plug(remote);
        rig.start();
        QTRY_VERIFY_WITH_TIMEOUT(rig.state.slotInfoValid.load() && idle(rig), 10000);
        QCOMPARE(CurrentRow::cell(w.RCTypesTV, 0).toInt(), 2);
        w.settingsSimpleProgramming = true;
        w.refreshRC();
        QVERIFY(!w.buttonSimpleUSBProgramm->isHidden());
        QCOMPARE(w.changer8in1Dialog.clabelBrand3->text(), QStringLiteral("Brand: GONE"));
        rig.takeEvents();

        QTest::mousePress(w.buttonSimpleUSBProgramm, Qt::LeftButton);
        QVERIFY(rig.state.transmitRequested.load());
        QTRY_VERIFY_WITH_TIMEOUT(idle(rig), 20000);
        QTRY_VERIFY(rig.events().count(QStringLiteral("worker:updateUsb6")) >= 3);
        QCOMPARE(rig.events().filter("updateFunctionsFailed"), QStringList());

        const QStringList captions{"TV", "SAT"};
        QString names[2][3];
        for (int s = 0; s < 2; ++s) {
            const auto expected = Remote2SlotImage::forModel(QSqlDatabase::database(), models.at(s), 2, captions.at(s),
                                                             SampleProtocolLookups::kRemote2DeviceId);
            QVERIFY(expected.ok());
            QCOMPARE(remote->slotData(s), slotImage(expected.image, before.at(s).size()));
            QSqlQuery q;
            q.prepare("SELECT Brand, Type, Model FROM rcmodels WHERE Rcid=?");
            q.addBindValue(models.at(s));
            QVERIFY(q.exec() && q.next());
            for (int c = 0; c < 3; ++c)
                names[s][c] = q.value(c).toString();
        }
        QByteArray cleared = before.at(2);
        cleared[0] = 0;
        QCOMPARE(remote->slotData(2), cleared);
        QCOMPARE(remote->slotData(3), before.at(3));

        // The batch's success is its last signal, queued after the clear's
        // reread: once the window shows it, the window has taken every
        // overview of the batch. The labels are no mark of that: any overview
        // shows the newest snapshot, so they can be current while the success
        // is still on its way.
        QTRY_COMPARE(w.statusbar->currentMessage(), QStringLiteral("Simple programming: all slots were written."));
        // The overview after the batch shows what the remote now holds.
        Changer8in1Dialog &d = w.changer8in1Dialog;
        QCOMPARE(label(d.clabelBrand3), QStringLiteral("Brand: "));
        QCOMPARE(label(d.clabelBrand1), QStringLiteral("Brand: ") + names[0][0]);
        QCOMPARE(label(d.clabelType1), QStringLiteral("Type: ") + names[0][1]);
        QCOMPARE(label(d.clabelModel1), QStringLiteral("Model: ") + names[0][2]);
        QCOMPARE(label(d.clabelBrand2), QStringLiteral("Brand: ") + names[1][0]);
        QCOMPARE(label(d.clabelModel2), QStringLiteral("Model: ") + names[1][2]);
        QCOMPARE(label(d.clabelBrand4), QStringLiteral("Brand: KEPT"));
        QCOMPARE(d.cgroupBox1->title(), QStringLiteral("TV"));
        QCOMPARE(d.cgroupBox2->title(), QStringLiteral("SAT"));
        QVERIFY(w.textEdit->toPlainText().contains(
            QStringLiteral("Simple programming: 2 slots to write, 1 to clear, 1 left as they are.")));
        QVERIFY(MessageBox::takeLog().isEmpty());
        QVERIFY2(rig.sim.violations().isEmpty(), qPrintable(rig.sim.violations().join('\n')));
    }

    // A remote that stops taking reports part-way through a slot write: the
    // user is told in a box which write broke, and nothing claims success.
    void writeBrokenOffIsShown()
    {
        MainWindowImpl w;
        LinkRig rig;
        w.attachUsb(&rig.state);
        w.connectUsbConnection(&rig.connection);
        w.connectUsbFunctions(&rig.functions);
        auto remote = rig.sim.addRemote2();
        rig.sim.plug(remote);
        rig.start();
        QTRY_VERIFY_WITH_TIMEOUT(rig.state.slotInfoValid.load() && idle(rig), 10000);
        QVERIFY(!selectKeyedModel(&w, 2).isEmpty());
        MessageBox::takeLog();

        QVERIFY(runDialog(&w, [&] {
            rig.sim.unplugAfterReports(remote, 4);
            QTest::mousePress(w.changer8in1Dialog.cpushButton3, Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!MessageBox::log().isEmpty(), 10000);
        }));
        if (QTest::currentTestFailed())
            return;
        const QList<MessageBox::Record> boxes = MessageBox::takeLog();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.at(0).kind, QStringLiteral("warning"));
        QVERIFY2(boxes.at(0).text.startsWith(QLatin1String("USB request failed: slot 3 write ended: the remote ")),
                 qPrintable(boxes.at(0).text));
        QVERIFY(w.statusbar->currentMessage().startsWith(QLatin1String("USB request failed: slot 3 write ended")));
    }

    // A batch that leaves a slot out (its model is gone from the catalogue)
    // writes the rest and tells the user which slot was skipped and why.
    void batchWithSkippedSlotIsShown()
    {
        MainWindowImpl w;
        LinkRig rig;
        w.attachUsb(&rig.state);
        w.connectUsbConnection(&rig.connection);
        w.connectUsbFunctions(&rig.functions);
        auto remote = rig.sim.addRemote2();
        remote->setSlotHeader(1, remote2Header("SAT", "OLD", "SAT", "B"));
        const QStringList models = modelsWithKeys(2, 1);
        QCOMPARE(models.size(), 1);
        {
            QSqlQuery q;
            q.prepare("UPDATE prhistory SET maxdevices=3, rcid1=?, rcid2='', rcid3='{no-such-model}', rcid4='' "
                      "WHERE hid=2 AND RCTypeId=2");
            q.addBindValue(models.at(0));
            QVERIFY(q.exec());
            QCOMPARE(q.numRowsAffected(), 1);
        }
        const QByteArray third = remote->slotData(2);
        rig.sim.plug(remote);
        rig.start();
        QTRY_VERIFY_WITH_TIMEOUT(rig.state.slotInfoValid.load() && idle(rig), 10000);
        w.settingsSimpleProgramming = true;
        w.refreshRC();
        MessageBox::takeLog();

        QTest::mousePress(w.buttonSimpleUSBProgramm, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!MessageBox::log().isEmpty(), 20000);
        const QList<MessageBox::Record> boxes = MessageBox::takeLog();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.at(0).kind, QStringLiteral("warning"));
        QCOMPARE(boxes.at(0).text, QStringLiteral("USB request failed: simple slots: 1 written, 1 cleared, 1 skipped\n"
                                                  "simple slot 3 skipped: its image could not be built"));
        QCOMPARE(remote->slotData(2), third);
        QCOMPARE(remote->slotData(1).at(0), char(0));
        QVERIFY(w.statusbar->currentMessage() != QLatin1String("Simple programming: all slots were written."));
    }

    // A link thread that starts after the connection thread's first overview
    // leaves the slot information valid, and the program action on.
    void lateThreadsKeepTheOverview()
    {
        MainWindowImpl w;
        LinkRig rig;
        w.attachUsb(&rig.state);
        w.connectUsbConnection(&rig.connection);
        w.connectUsbFunctions(&rig.functions);
        auto remote = rig.sim.addRemote1();
        rig.sim.plug(remote);
        rig.connection.start();
        QTRY_VERIFY_WITH_TIMEOUT(rig.state.slotInfoValid.load(), 10000);
        QVERIFY(w.actionUSBProgramm->isEnabled());
        rig.capture.start();
        rig.functions.start();
        QTRY_VERIFY_WITH_TIMEOUT(idle(rig), 10000);
        QCoreApplication::processEvents();
        QVERIFY(rig.state.slotInfoValid.load());
        QVERIFY(w.actionUSBProgramm->isEnabled());
    }
};

QTEST_MAIN(TestSlotProgrammingDevice)
#include "tst_slotprogrammingdevice.moc"
