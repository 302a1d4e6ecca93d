// The simple-programming panel and its batch in the real main window on the
// sample directory: which boxes show, assigning and clearing over
// "prhistory", and the four entries the batch posts.
#include "ProgrammingRig.h"
#include "TestSupport.h"
#include "app/MessageBox.h"
#include "catalogue/CurrentRow.h"
#include "mainwindow/MainWindowImpl.h"
#include "programming/Remote2SlotImage.h"
#include "tools/samplekit/SampleProtocolLookups.h"
#include "usb/UsbState.h"

#include <QSqlQuery>
#include <QToolTip>
#include <QTranslator>
#include <QtTest>

namespace {

void setRow(int type, int maxdevices, const QStringList &rcids)
{
    QSqlQuery q;
    QString sql = QStringLiteral("UPDATE prhistory SET maxdevices=?");
    for (int c = 1; c <= 8; ++c)
        sql += QStringLiteral(", rcid%1=?").arg(c);
    q.prepare(sql + QStringLiteral(" WHERE hid=? AND RCTypeId=?"));
    q.addBindValue(maxdevices);
    for (int c = 0; c < 8; ++c)
        q.addBindValue(rcids.value(c));
    q.addBindValue(type);
    q.addBindValue(type);
    QVERIFY(q.exec());
}

QStringList rowOf(int type)
{
    QSqlQuery q;
    q.prepare("SELECT rcid1, rcid2, rcid3, rcid4 FROM prhistory WHERE hid=? AND RCTypeId=?");
    q.addBindValue(type);
    q.addBindValue(type);
    QStringList out;
    if (q.exec() && q.next())
        for (int c = 0; c < 4; ++c)
            out << q.value(c).toString();
    return out;
}

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

} // namespace

class TestSimpleProgramming : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_previousDir;
    MainWindowImpl *w = nullptr;
    UsbState *m_state = nullptr;

    QGroupBox *box(int k) { return w->findChild<QGroupBox *>(QStringLiteral("dev%1GB").arg(k)); }
    QLabel *label(int k, const char *what) { return w->findChild<QLabel *>(QStringLiteral("dev%1%2").arg(k).arg(what)); }

    UsbRequestData waiting() { return ProgrammingRig::waiting(m_state); }
    void finishWaiting() { ProgrammingRig::finishWaiting(m_state); }
    void connectRemote2()
    {
        ProgrammingRig::connectRemote(w, m_state, "remote2", ProgrammingRig::remote2Info(1));
        const char *captions[] = {"TV", "SAT", "DVD", "AUX"};
        for (int s = 0; s < 4; ++s)
            w->slotCaptions[s] = QString::fromLatin1(captions[s]);
    }
    bool selectModel(const QString &rcid)
    {
        for (int row = 0; row < w->ModelsTV->model()->rowCount(); ++row) {
            w->ModelsTV->selectRow(row);
            if (CurrentRow::text(w->ModelsTV, 0) == rcid)
                return true;
        }
        return false;
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
        finishWaiting();
        QCOMPARE(CurrentRow::cell(w->RCTypesTV, 0).toInt(), 1);
        QVERIFY(QSqlDatabase::database().transaction()); // each test leaves the catalogue as it was
        MessageBox::takeLog();
    }
    void cleanup()
    {
        QSqlDatabase::database().rollback();
        delete w;
        w = nullptr;
        delete m_state;
        m_state = nullptr;
        MessageBox::takeLog();
    }

    void visibility_data()
    {
        QTest::addColumn<int>("maxdevices");
        QTest::addColumn<bool>("setting");
        QTest::addColumn<QString>("shown"); // boxes 1..4, then the program button
        QTest::addRow("two, setting on") << 2 << true << "11001";
        QTest::addRow("four, setting on") << 4 << true << "11111";
        QTest::addRow("six, setting on") << 6 << true << "11111";
        QTest::addRow("none, setting on") << 0 << true << "00001";
        QTest::addRow("four, setting off") << 4 << false << "00000";
    }
    void visibility()
    {
        QFETCH(int, maxdevices);
        QFETCH(bool, setting);
        QFETCH(QString, shown);
        const QStringList models = modelsWithKeys(1, 4);
        setRow(1, maxdevices, models);
        w->settingsSimpleProgramming = setting;
        w->refreshSimpleProgram();
        QString actual;
        for (int k = 1; k <= 4; ++k)
            actual += box(k)->isHidden() ? '0' : '1';
        actual += w->buttonSimpleUSBProgramm->isHidden() ? '0' : '1';
        QCOMPARE(actual, shown);
        // Hidden boxes still name their models.
        QSqlQuery q;
        q.prepare("SELECT Brand, Model FROM rcmodels WHERE Rcid=?");
        q.addBindValue(models.at(3));
        QVERIFY(q.exec() && q.next());
        QCOMPARE(label(4, "Brand")->text(), q.value(0).toString());
        QCOMPARE(label(4, "Model")->text(), q.value(1).toString());
    }

    // A type without a row shows no panel when the setting is off.
    void typeWithoutRow()
    {
        QVERIFY(QSqlQuery().exec("DELETE FROM prhistory WHERE hid=1"));
        w->settingsSimpleProgramming = false;
        w->refreshSimpleProgram();
        for (int k = 1; k <= 4; ++k)
            QVERIFY(box(k)->isHidden());
        QVERIFY(w->buttonSimpleUSBProgramm->isHidden());
    }

    void assignAndClear()
    {
        setRow(1, 4, {});
        w->settingsSimpleProgramming = true;
        const QString rcid = modelsWithKeys(1, 1).value(0);
        QVERIFY(selectModel(rcid));
        const QString brand = CurrentRow::text(w->ModelsTV, 1);
        const QString model = CurrentRow::text(w->ModelsTV, 3);
        QTest::mousePress(w->dev2Add, Qt::LeftButton);
        QTest::mousePress(w->dev3Add, Qt::LeftButton);
        QCOMPARE(rowOf(1), (QStringList{"", rcid, rcid, ""}));
        QCOMPARE(label(2, "Brand")->text(), brand);
        QCOMPARE(label(3, "Model")->text(), model);
        QTest::mousePress(w->dev2Del, Qt::LeftButton);
        QCOMPARE(rowOf(1), (QStringList{"", "", rcid, ""}));
        QVERIFY(label(2, "Brand")->text().isEmpty());
        QVERIFY(label(2, "Model")->text().isEmpty());
        // Another type keeps its own assignment.
        QCOMPARE(rowOf(2), (QStringList{"", "", "", ""}));
        QVERIFY(MessageBox::takeLog().isEmpty());
    }

    // An assignment whose model is gone shows empty labels and stays.
    void assignedModelGone()
    {
        setRow(1, 4, {"deadbeef"});
        w->settingsSimpleProgramming = true;
        w->refreshSimpleProgram();
        QVERIFY(label(1, "Brand")->text().isEmpty());
        QCOMPARE(rowOf(1).value(0), QStringLiteral("deadbeef"));
    }

    // A failed write is reported: a trigger stands in for a full disk.
    void failedAssignmentIsReported()
    {
        QVERIFY(QSqlQuery().exec("CREATE TEMP TRIGGER refuse BEFORE UPDATE ON prhistory "
                                 "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
        QTest::mousePress(w->dev1Add, Qt::LeftButton);
        const auto boxes = MessageBox::takeLog();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes.at(0).text.contains("disk full"));
        QVERIFY(QSqlQuery().exec("DROP TRIGGER refuse"));
    }

    // A greyed-out "+" or "Program" says why in its tooltip (the simple
    // version hides the remote type); once usable again the tooltip is gone.
    void greyedButtonsSayWhy_data()
    {
        QTest::addColumn<int>("keys");      // keys the chosen model keeps for the type
        QTest::addColumn<bool>("assigned");  // a slot holds a model
        QTest::addColumn<bool>("connected"); // the remote (of this type) is connected
        QTest::addColumn<QString>("addTip");     // %1 %2: brand and model, %3: the type's name
        QTest::addColumn<QString>("programTip");
        QTest::addRow("no keys") << 0 << true << true << "%1 %2 has no keys for the remote control type %3."
                                 << "";
        QTest::addRow("one key, no slot filled")
            << 1 << false << true << "%1 %2 has only one key for the remote control type %3; a slot needs at least two."
            << "No slot holds a model yet: add one with \"+\".";
        QTest::addRow("two keys") << 2 << true << true << ""
                                  << "";
        QTest::addRow("no remote") << 2 << true << false << ""
                                   << "No programmable remote control is connected.";
    }
    void greyedButtonsSayWhy()
    {
        QFETCH(int, keys);
        QFETCH(bool, assigned);
        QFETCH(bool, connected);
        QFETCH(QString, addTip);
        QFETCH(QString, programTip);
        const QStringList models = modelsWithKeys(1, 2);
        QCOMPARE(models.size(), 2);
        const QString rcid = models.at(0);
        w->settingsSimpleProgramming = true;
        w->changeFullSimpleVersion(false);
        // First greyed out for a reason (no model chosen, no remote), then
        // the row's state.
        setRow(1, 4, {});
        w->ModelsTV->setCurrentIndex(QModelIndex());
        w->refreshRC();
        QVERIFY(!w->dev1Add->isEnabled() && !w->dev1Add->toolTip().isEmpty());
        QVERIFY(!w->buttonSimpleUSBProgramm->isEnabled() && !w->buttonSimpleUSBProgramm->toolTip().isEmpty());

        QSqlQuery q;
        q.prepare("DELETE FROM rckeys WHERE RCTypeId=1 AND Rcid=? AND Nkey NOT IN "
                  "(SELECT Nkey FROM rckeys WHERE RCTypeId=1 AND Rcid=? ORDER BY Nkey LIMIT ?)");
        q.addBindValue(rcid);
        q.addBindValue(rcid);
        q.addBindValue(keys);
        QVERIFY(q.exec());
        setRow(1, 4, assigned ? QStringList{models.at(1)} : QStringList{});
        if (connected)
            connectRemote2();
        QVERIFY(selectModel(rcid));
        w->refreshRC();
        const QString brand = CurrentRow::text(w->ModelsTV, 1);
        const QString model = CurrentRow::text(w->ModelsTV, 3);
        QCOMPARE(CurrentRow::text(w->ModelsTV, 0), rcid);
        const QString type = CurrentRow::text(w->RCTypesTV, 1);
        QVERIFY(!type.isEmpty());
        if (!addTip.isEmpty())
            addTip = addTip.arg(brand, model, type);
        for (QPushButton *add : {w->dev1Add, w->dev2Add, w->dev3Add, w->dev4Add}) {
            QCOMPARE(add->isEnabled(), addTip.isEmpty());
            QCOMPARE(add->toolTip(), addTip);
        }
        QCOMPARE(w->buttonSimpleUSBProgramm->isEnabled(), programTip.isEmpty());
        QCOMPARE(w->buttonSimpleUSBProgramm->toolTip(), programTip);
    }

    // Hovering a greyed-out button shows why, also while another window is
    // the active one: after the switch between the versions shows the
    // window anew, a window manager may leave Qt thinking just that.
    void reasonShownWhileAnotherWindowIsActive()
    {
        w->settingsSimpleProgramming = true;
        w->changeFullSimpleVersion(false);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->ModelsTV->setCurrentIndex(QModelIndex());
        w->refreshRC();
        QPushButton *add = w->dev1Add;
        QVERIFY(add->isVisible() && !add->isEnabled());
        QCOMPARE(add->toolTip(), QStringLiteral("No model is chosen."));

        QWidget other;
        other.setGeometry(w->geometry().right() + 10, 0, 100, 100);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        other.activateWindow();
        QTRY_VERIFY(other.isActiveWindow());
        QVERIFY(!w->isActiveWindow());

        // Earlier tests press buttons without releasing them; a move with a
        // button held shows no tooltip.
        QTest::mouseRelease(&other, Qt::LeftButton, {}, QPoint(5, 5));
        QToolTip::hideText();
        QTest::mouseMove(add, add->rect().center() - QPoint(1, 1));
        QTest::mouseMove(add, add->rect().center());
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), add->toolTip());
        QToolTip::hideText();
    }

    // A language switch says the reasons again in the language chosen.
    void reasonsFollowTheLanguage()
    {
        w->settingsSimpleProgramming = true;
        w->ModelsTV->setCurrentIndex(QModelIndex());
        w->refreshRC();
        QCOMPARE(w->dev1Add->toolTip(), QStringLiteral("No model is chosen."));
        QTranslator german;
        QVERIFY(german.load(TestSupport::binaryDir() + QStringLiteral("/languages/German.qm")));
        QVERIFY(QCoreApplication::installTranslator(&german));
        QTRY_COMPARE(w->dev1Add->toolTip(), QStringLiteral("Es ist kein Modell gewählt."));
        QCOMPARE(w->buttonSimpleUSBProgramm->toolTip(),
                 QStringLiteral("Es ist keine programmierbare Fernbedienung angeschlossen."));
        QVERIFY(QCoreApplication::removeTranslator(&german));
        QTRY_COMPARE(w->dev1Add->toolTip(), QStringLiteral("No model is chosen."));
    }

    // A remote that goes away leaves "Program RC" greyed out with the reason.
    void programActionSaysTheRemoteIsGone()
    {
        connectRemote2();
        m_state->slotInfoValid = true;
        w->refreshActionUSBProgramm();
        QVERIFY(w->actionUSBProgramm->isEnabled());
        QCOMPARE(w->actionUSBProgramm->toolTip(), w->actionUSBProgramm->text());
        w->initUsb4();
        QVERIFY(!w->actionUSBProgramm->isEnabled());
        QCOMPARE(w->actionUSBProgramm->toolTip(), QStringLiteral("No programmable remote control is connected."));
    }

    void batchEntries_data()
    {
        QTest::addColumn<int>("maxdevices");
        QTest::addColumn<QStringList>("assigned"); // "m<i>": the i-th keyed model, "gone": a missing one
        QTest::addColumn<QStringList>("entries");  // "image", or the literal entry
        QTest::addRow("two: an image and a clear") << 2 << QStringList{"m0", "", "m1", "m2"}
                                                   << QStringList{"image", "DELETE", "NONEED", "NONEED"};
        QTest::addRow("six: only four") << 6 << QStringList{"m0", "m1", "", "m2", "m0", "m1"}
                                        << QStringList{"image", "image", "DELETE", "image"};
        QTest::addRow("none") << 0 << QStringList{"m0"} << QStringList{"NONEED", "NONEED", "NONEED", "NONEED"};
        QTest::addRow("a model that is gone") << 3 << QStringList{"gone", "m1", ""}
                                              << QStringList{"FALSE", "image", "DELETE", "NONEED"};
    }
    void batchEntries()
    {
        QFETCH(int, maxdevices);
        QFETCH(QStringList, assigned);
        QFETCH(QStringList, entries);
        const QStringList models = modelsWithKeys(1, 3);
        QStringList rcids;
        for (const QString &a : assigned)
            rcids << (a.startsWith('m') ? models.at(a.mid(1).toInt()) : a == "gone" ? QStringLiteral("deadbeef") : a);
        setRow(1, maxdevices, rcids);
        connectRemote2();
        w->settingsSimpleProgramming = true;
        w->refreshRC(); // the button is on for the device's type with an assignment
        QVERIFY(w->buttonSimpleUSBProgramm->isEnabled());
        QTest::mousePress(w->buttonSimpleUSBProgramm, Qt::LeftButton);
        const UsbRequestData r = waiting();
        QCOMPARE(r.command, 166);
        for (int i = 0; i < 4; ++i) {
            if (entries.at(i) != "image") {
                QCOMPARE(r.slotFlashData[size_t(i)], entries.at(i));
                continue;
            }
            // The image of the assigned model headed by its slot's caption.
            const auto expected = Remote2SlotImage::forModel(QSqlDatabase::database(), rcids.at(i), 1,
                                                             w->slotCaptions[i], SampleProtocolLookups::kRemote2DeviceId);
            QVERIFY(expected.ok());
            QCOMPARE(r.slotFlashData[size_t(i)], expected.image);
        }
        const QString log = w->textEdit->toPlainText();
        QVERIFY(log.contains(QStringLiteral("Simple programming: %1 slots to write, %2 to clear, %3 left as they are.")
                                 .arg(entries.count("image"))
                                 .arg(entries.count("DELETE"))
                                 .arg(entries.count("NONEED") + entries.count("FALSE"))));
        if (entries.contains("FALSE"))
            QVERIFY(log.contains("DEV1: model deadbeef cannot be written; the slot stays as it is."));
        QVERIFY(MessageBox::takeLog().isEmpty());
    }

    // The same model in two slots: the images differ in the caption only.
    void sameModelTwice()
    {
        const QString m = modelsWithKeys(1, 1).value(0);
        setRow(1, 2, {m, m});
        connectRemote2();
        w->startProgramming81Simple();
        const UsbRequestData r = waiting();
        const QString a = r.slotFlashData[0], b = r.slotFlashData[1];
        // Fixed fields, then the text count, then the caption record:
        // "02" "5456" (TV) against "03" "534154" (SAT).
        QCOMPARE(a.left(10), b.left(10));
        QCOMPARE(b.mid(10, 2).toInt(nullptr, 16), a.mid(10, 2).toInt(nullptr, 16) + 1);
        QCOMPARE(a.mid(12, 6), QStringLiteral("025456"));
        QCOMPARE(b.mid(12, 8), QStringLiteral("03534154"));
        QCOMPARE(a.mid(18), b.mid(20));
    }

    void batchRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<QString>("message");
        QTest::addRow("first-generation remote") << "remote1" << false
            << "Simple programming needs a connected programmable remote control with simple slots; nothing was sent.";
        QTest::addRow("no remote") << "" << false
            << "Simple programming needs a connected programmable remote control with simple slots; nothing was sent.";
        QTest::addRow("busy") << "remote2" << true << "device busy";
    }
    void batchRefused()
    {
        QFETCH(QString, kind);
        QFETCH(bool, busy);
        QFETCH(QString, message);
        setRow(1, 2, modelsWithKeys(1, 2));
        connectRemote2();
        m_state->setRemoteKind(kind);
        if (busy) {
            UsbRequestData other;
            other.command = 82;
            m_state->request.post(other);
        }
        w->startProgramming81Simple();
        const auto boxes = MessageBox::takeLog();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.at(0).text, message);
        QCOMPARE(waiting().command, busy ? 82 : 0);
    }

    // Without a row for the type nothing is posted, and the log says so.
    void batchWithoutRow()
    {
        QVERIFY(QSqlQuery().exec("DELETE FROM prhistory WHERE hid=1"));
        connectRemote2();
        w->startProgramming81Simple();
        QVERIFY(!m_state->transmitRequested.load());
        QVERIFY(w->textEdit->toPlainText().contains("remote type 1 has no simple slots"));
    }
};

QTEST_MAIN(TestSimpleProgramming)
#include "tst_simpleprogramming.moc"
