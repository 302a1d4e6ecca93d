// The replacer dialog in the real main window on the sample directory: its
// form, the remote-type list that follows the device, the overview filled
// from the published snapshots, and the requests its buttons post.
#include "ProgrammingRig.h"
#include "TestSupport.h"
#include "app/MessageBox.h"
#include "catalogue/CurrentRow.h"
#include "catalogue/RCTypesModel.h"
#include "mainwindow/MainWindowImpl.h"
#include "programming/Remote1SlotImage.h"
#include "tools/samplekit/SampleKit.h"
#include "tools/samplekit/SampleProtocolLookups.h"
#include "usb/UsbState.h"

#include <QSettings>
#include <QSqlQuery>
#include <QRegularExpression>
#include <QtTest>

namespace {

using ProgrammingRig::remote2Info;

QStringList typeColumn(QAbstractItemView *view)
{
    QStringList ids;
    for (int r = 0; r < view->model()->rowCount(); ++r)
        ids << view->model()->index(r, 0).data().toString();
    return ids;
}

// The protocol numbers of a master's keys, each once.
QStringList keyProtocols(const QString &link)
{
    QSqlQuery q;
    q.prepare(QStringLiteral("SELECT DISTINCT substr(ID, 1, 3) FROM rckeys WHERE Rcid=?"));
    q.addBindValue(link);
    QStringList out;
    if (q.exec())
        while (q.next())
            out << q.value(0).toString();
    return out;
}

} // namespace

class TestReplacerWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_previousDir;
    MainWindowImpl *w = nullptr;
    UsbState *m_state = nullptr;

    UsbRequestData waiting() { return ProgrammingRig::waiting(m_state); }
    void finishWaiting() { ProgrammingRig::finishWaiting(m_state); }
    // Selects the first model whose link master has keys of one protocol for
    // the type; returns its Link.
    QString selectKeyedModel(int type)
    {
        for (int row = 0; row < w->ModelsTV->model()->rowCount(); ++row) {
            w->ModelsTV->selectRow(row);
            const QString link = CurrentRow::text(w->ModelsTV, 5);
            QSqlQuery q;
            q.prepare("SELECT COUNT(*) FROM rckeys WHERE Rcid=? AND RCTypeId=?");
            q.addBindValue(link);
            q.addBindValue(type);
            if (q.exec() && q.next() && q.value(0).toInt() > 0)
                return link;
        }
        return QString();
    }
    void connectRemote(const QString &kind, const DeviceInfo &info)
    {
        ProgrammingRig::connectRemote(w, m_state, kind, info);
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
        finishWaiting(); // the reception mode the window chose at start
        MessageBox::takeLog();
    }
    void cleanup()
    {
        delete w;
        w = nullptr;
        delete m_state;
        m_state = nullptr;
        MessageBox::takeLog();
    }

    void form()
    {
        Changer8in1Dialog &d = w->changer8in1Dialog;
        QCOMPARE(d.objectName(), QStringLiteral("Changer8in1Dialog"));
        QCOMPARE(d.windowTitle(), QStringLiteral("Remote control replacer"));
        // Opens at its smallest, which fits a 980x660 screen with its title bar.
        QCOMPARE(d.size(), QSize(750, 580));
        QCOMPARE(d.minimumSize(), QSize(750, 580));
        QVERIFY(!d.parent());
        const char *titles[] = {"TV1", "TV2", "SAT", "DVD", "HOME", "VCD", "AUX", "VCR"};
        for (int n = 1; n <= 8; ++n) {
            auto *box = d.findChild<QGroupBox *>(QStringLiteral("cgroupBox%1").arg(n));
            QVERIFY(box);
            QCOMPARE(box->title(), QString::fromLatin1(titles[n - 1]));
            int row = -1, column = -1, rs = 0, cs = 0;
            d.gridLayout->getItemPosition(d.gridLayout->indexOf(box), &row, &column, &rs, &cs);
            QCOMPARE(row, (n - 1) % 4);
            QCOMPARE(column, (n - 1) / 4);
            QCOMPARE(box->findChild<QLabel *>(QStringLiteral("clabelBrand%1").arg(n))->text(), QStringLiteral("Brand:"));
            QCOMPARE(box->findChild<QLabel *>(QStringLiteral("clabelDate%1").arg(n))->text(),
                     QStringLiteral("Date and Time:"));
            for (const QString &name : {QStringLiteral("dpushButton%1"), QStringLiteral("cpushButton%1")}) {
                auto *b = box->findChild<QPushButton *>(name.arg(n));
                QVERIFY(b);
                QCOMPARE(b->minimumSize(), QSize(40, 40));
                QCOMPARE(b->maximumSize(), QSize(40, 40));
                QCOMPARE(b->iconSize(), QSize(30, 30));
                QVERIFY(b->text().isEmpty());
                QVERIFY(!b->icon().isNull());
            }
            auto *layout = qobject_cast<QVBoxLayout *>(box->layout());
            QVERIFY(layout);
            QCOMPARE(layout->spacing(), 5);
            QCOMPARE(layout->contentsMargins(), QMargins(5, 5, 5, 5));
        }
    }

    void typeListFollowsTheDevice_data()
    {
        QTest::addColumn<QStringList>("configured");
        QTest::addColumn<int>("deviceType");
        QTest::addColumn<int>("macroPage");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<bool>("programEnabled");
        QTest::addRow("device type added") << QStringList{"1", "2"} << 5 << 1 << QStringList{"1", "2", "5"} << true;
        QTest::addRow("device type listed once") << QStringList{"2", "3"} << 2 << 1 << QStringList{"2", "3"} << true;
        QTest::addRow("empty configuration: the device's type alone") << QStringList{} << 3 << 0 << QStringList{"3"}
                                                                      << true;
        QTest::addRow("type unknown to the catalogue") << QStringList{"1"} << 9 << 1 << QStringList{"1"} << false;
    }
    void typeListFollowsTheDevice()
    {
        QFETCH(QStringList, configured);
        QFETCH(int, deviceType);
        QFETCH(int, macroPage);
        QFETCH(QStringList, listed);
        QFETCH(bool, programEnabled);
        w->rcTypesList = configured;
        connectRemote("remote2", remote2Info(deviceType, macroPage));
        m_state->slotInfoValid = true;
        w->refreshActionUSBProgramm();
        QCOMPARE(typeColumn(w->RCTypesTV), listed);
        QCOMPARE(w->actionUSBProgramm->isEnabled(), programEnabled);
        QCOMPARE(w->actionMacroProgramm->isEnabled(), macroPage != 0);
        if (programEnabled)
            QCOMPARE(CurrentRow::cell(w->RCTypesTV, 0).toInt(), deviceType);
        else
            QVERIFY(!w->RCTypesTV->currentIndex().isValid());
        QCOMPARE(w->RCTypesTV->model(), w->rcTypesModel);
    }

    void nothingWithoutValidSlotInformation()
    {
        connectRemote("remote2", remote2Info(5, 1));
        m_state->slotInfoValid = false;
        QAbstractItemModel *before = w->RCTypesTV->model();
        w->refreshActionUSBProgramm();
        QCOMPARE(w->RCTypesTV->model(), before);
        QVERIFY(!w->actionUSBProgramm->isEnabled());
        QVERIFY(!w->actionMacroProgramm->isEnabled());
    }

    // The overview of a second-generation remote from the window's copy of
    // the header pages: titles, labels, boxes and buttons, and the captions.
    void remote2Overview()
    {
        connectRemote("remote2", remote2Info(2, 0));
        const QByteArray p0 = QByteArray::fromHex("0101000000000254560641" "4C544F5241" "025456" "03582D31");
        const QByteArray p1 = QByteArray::fromHex("0000000000000353415403") + "OLD";
        for (int b = 0; b < p0.size(); ++b)
            w->slotHeaderPages[b] = quint8(p0[b]);
        for (int b = 0; b < p1.size(); ++b)
            w->slotHeaderPages[64 + b] = quint8(p1[b]);
        w->refreshInformation2();
        Changer8in1Dialog &d = w->changer8in1Dialog;
        QCOMPARE(d.cgroupBox1->title(), QStringLiteral("TV"));
        QCOMPARE(d.cgroupBox2->title(), QStringLiteral("SAT"));
        QCOMPARE(d.cgroupBox3->title(), QString());
        QCOMPARE(d.cgroupBox5->title(), QStringLiteral("5th"));
        QCOMPARE(d.clabelBrand1->text(), QStringLiteral("Brand: ALTORA"));
        QCOMPARE(d.clabelType1->text(), QStringLiteral("Type: TV"));
        QCOMPARE(d.clabelModel1->text(), QStringLiteral("Model: X-1"));
        QCOMPARE(d.clabelBrand2->text(), QStringLiteral("Brand: "));
        QVERIFY(d.clabelDate1->text().isEmpty());
        QVERIFY(d.cgroupBox4->isEnabled());
        QVERIFY(!d.cgroupBox5->isEnabled());
        QVERIFY(d.cpushButton1->isEnabled());
        QVERIFY(!d.dpushButton2->isEnabled());
        QCOMPARE(w->slotCaptions[0], QStringLiteral("TV"));
        QCOMPARE(w->slotCaptions[1], QStringLiteral("SAT"));
        QVERIFY(m_state->slotInfoValid.load());
        QVERIFY(w->actionUSBProgramm->isEnabled());
    }

    // Names read back from the remote are text: markup in them is shown as
    // typed, never drawn bold or underlined.
    void overviewShowsDeviceTextAsTyped()
    {
        connectRemote("remote2", remote2Info(2, 0));
        const QByteArray page = QByteArray::fromHex("010100000000025456") + char(11) + "<b>BOLD</b>" +
                                char(11) + "T<u>Y</u>PE" + char(3) + "X-1";
        for (int b = 0; b < page.size(); ++b)
            w->slotHeaderPages[b] = quint8(page[b]);
        w->refreshInformation2();
        Changer8in1Dialog &d = w->changer8in1Dialog;
        QCOMPARE(d.clabelBrand1->text(), QStringLiteral("Brand: <b>BOLD</b>"));
        QCOMPARE(d.clabelType1->text(), QStringLiteral("Type: T<u>Y</u>PE"));
        for (QLabel *label : {d.clabelBrand1, d.clabelType1, d.clabelModel1, d.clabelBrand8, d.clabelDate1})
            QCOMPARE(label->textFormat(), Qt::PlainText);
    }

    // Program button of slot 3 on a first-generation remote: the image of
    // the selected model for slot index 2, with the slot's protocol codes.
    void programRemote1()
    {
        DeviceInfo info;
        info.entries[7] = SampleProtocolLookups::kRemote1DeviceId;
        info.entries[8] = 1;
        info.entries[31] = 8;
        connectRemote("remote1", info);
        const QString link = selectKeyedModel(1);
        QVERIFY(!link.isEmpty());
        const QString brand = CurrentRow::text(w->ModelsTV, 1);
        QTest::mousePress(w->changer8in1Dialog.cpushButton3, Qt::LeftButton);
        const UsbRequestData r = waiting();
        QCOMPARE(r.command, 81);
        QCOMPARE(r.nPult, 2);
        QCOMPARE(r.flashData.left(2), QStringLiteral("01"));
        QCOMPARE(r.flashData.mid(12, 2).toInt(nullptr, 16), brand.toLatin1().size());
        QVERIFY(r.flashData.mid(14).startsWith(QString::fromLatin1(brand.toLatin1().toHex().toUpper())));
        // The sample's models use one protocol each: both blobs are its own,
        // for slot codes 4 and 5; their first byte names the protocol.
        const int prot = r.flashData.mid(2048, 2).toInt(nullptr, 16);
        QVERIFY2(SampleKit::protocolNumbers().contains(prot), qPrintable(QString::number(prot)));
        QCOMPARE(keyProtocols(link), QStringList{QStringLiteral("%1").arg(prot, 3, 10, QLatin1Char('0'))});
        QCOMPARE(r.flashData.mid(2048), SampleProtocolLookups::usbCode(21, prot, 4) + SampleProtocolLookups::usbCode(21, prot, 5));
        QCOMPARE(r.flashData.size(), 256 + 1792 + 2 * 48);
        QVERIFY(MessageBox::takeLog().isEmpty());
        // The log shows the length and the image.
        QVERIFY(w->textEdit->toPlainText().contains(QString::number(r.flashData.size()) + "\n" + r.flashData));
    }

    // A second press while the first request waits is refused; a delete too.
    void busyRefusesTheNextPress()
    {
        connectRemote("remote2", remote2Info(1, 0));
        selectKeyedModel(1);
        QTest::mousePress(w->changer8in1Dialog.cpushButton1, Qt::LeftButton);
        const UsbRequestData first = waiting();
        QCOMPARE(first.command, 165);
        QCOMPARE(first.nPult, 0);
        QTest::mousePress(w->changer8in1Dialog.dpushButton2, Qt::LeftButton);
        QTest::mousePress(w->changer8in1Dialog.cpushButton2, Qt::LeftButton);
        const auto boxes = MessageBox::takeLog();
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes.at(0).text, QStringLiteral("device busy"));
        const UsbRequestData still = waiting();
        QCOMPARE(still.command, 165);
        QCOMPARE(still.nPult, 0);
        QCOMPARE(still.flashData, first.flashData);
        finishWaiting();
        QTest::mousePress(w->changer8in1Dialog.dpushButton2, Qt::LeftButton);
        const UsbRequestData del = waiting();
        QCOMPARE(del.command, 82);
        QCOMPARE(del.nPult, 1);
    }

    // With "Debug/saveFlashData" the image posted is also kept in "config.ini".
    void flashDataDump()
    {
        connectRemote("remote2", remote2Info(1, 0));
        selectKeyedModel(1);
        w->saveFlashData = true;
        w->startProgramming81(3);
        const UsbRequestData r = waiting();
        QCOMPARE(r.command, 165);
        QCOMPARE(r.nPult, 3);
        QSettings file(QStringLiteral("config.ini"), QSettings::IniFormat);
        QCOMPARE(file.value("Debug/flashData").toString(), r.flashData);
        QVERIFY(w->textEdit->toPlainText().contains(QStringLiteral("numBytes: %1").arg(r.flashData.size())));
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("capacity"); // remote2 slot room in 64-byte units
        QTest::addColumn<QString>("sql");   // run before pressing; %1 is the selected model's link
        QTest::addColumn<QString>("message"); // a pattern for the whole text
        const auto exactly = [](const char *text) { return QRegularExpression::escape(QString::fromLatin1(text)); };
        QTest::addRow("remote2: image larger than the slot")
            << "remote2" << 1 << "" << exactly("cannot write this remote control. not enough flash.");
        // The refusal names what is missing: the remote lacks the model's protocol.
        QTest::addRow("remote2: no code blob")
            << "remote2" << 40 << "DELETE FROM usbprotocols"
            << exactly("cannot write this remote control.\nno code of protocol ") + QStringLiteral("\\w+ for device \\d+");
        QTest::addRow("remote1: no code blob") << "remote1" << 0 << "DELETE FROM usbprotocols"
                                               << exactly("Cannot write this protocols. Please update the programm.");
        QTest::addRow("remote1: a third protocol")
            << "remote1" << 0
            << "UPDATE rckeys SET ID=(CASE WHEN Nkey=1 THEN '008' ELSE '009' END)||substr(ID,4) "
               "WHERE Rcid='%1' AND RCTypeId=1 AND Nkey IN (1,2)"
            << exactly("cannot write more than two different protocols.");
        QTest::addRow("no device") << "" << 0 << "" << "";
    }
    void refusals()
    {
        QFETCH(QString, kind);
        QFETCH(int, capacity);
        QFETCH(QString, sql);
        QFETCH(QString, message);
        DeviceInfo info = remote2Info(1, 0);
        info.entries[7] = kind == "remote1" ? SampleProtocolLookups::kRemote1DeviceId : info.entries[7];
        info.entries[33] = capacity;
        connectRemote(kind, info);
        w->ModelsTV->selectRow(0);
        QSqlDatabase::database().transaction();
        if (!sql.isEmpty())
            QVERIFY(QSqlQuery().exec(sql.contains("%1") ? sql.arg(CurrentRow::text(w->ModelsTV, 5)) : sql));
        w->startProgramming81(0);
        QSqlDatabase::database().rollback();
        QVERIFY(!m_state->transmitRequested.load());
        const auto boxes = MessageBox::takeLog();
        if (message.isEmpty()) {
            QVERIFY(boxes.isEmpty());
            return;
        }
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.at(0).title, QStringLiteral("information"));
        QCOMPARE(w->messageBox.icon(), QMessageBox::Critical);
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(message)).match(boxes.at(0).text).hasMatch(),
                 qPrintable(boxes.at(0).text));
    }
};

QTEST_MAIN(TestReplacerWindow)
#include "tst_replacerwindow.moc"
