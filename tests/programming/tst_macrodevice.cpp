// Macro programming on the simulated remote2, read by the connection thread:
// the editor shows the device's macro page with the sample catalogue's names,
// and an edited step reaches the page posted for the device.
#include "ConnectionRig.h"
#include "LinkRig.h"
#include "MacroEditorRun.h"
#include "TestSupport.h"
#include "app/MessageBox.h"
#include "app/ShownText.h"
#include "mainwindow/MainWindowImpl.h"
#include "usb/sim/SimulatedRemote2.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSpinBox>
#include <QtTest>

class TestMacroDevice : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_previousDir;

    // The window with a programmable remote connected through the simulator,
    // its start's reception mode request answered.
    static void connectRemote2(MainWindowImpl &w, ConnectionRig &rig, std::shared_ptr<SimulatedRemote2> *remote)
    {
        w.attachUsb(&rig.state);
        w.connectUsbConnection(&rig.connection);
        *remote = rig.sim.addRemote2();
        rig.sim.plug(*remote);
        rig.connection.start();
        QTRY_COMPARE(w.labelUSBreceiver->text(), QStringLiteral("USB infrared receiver is connected"));
        quint64 ticket = 0;
        if (rig.state.request.take(nullptr, &ticket))
            rig.state.request.finish(ticket);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(TestSupport::enterSampleDirectory(m_dir.path(), &m_previousDir));
    }
    void cleanupTestCase() { QDir::setCurrent(m_previousDir); }

    void simulatedMacroPage()
    {
        MainWindowImpl w;
        ConnectionRig rig;
        std::shared_ptr<SimulatedRemote2> remote;
        connectRemote2(w, rig, &remote);
        if (QTest::currentTestFailed())
            return;

        QVERIFY(MacroEditorRun::run(&w));
        // The simulated page with the sample names: macros 1 to 3 exist,
        // macro 3 without steps; switches named by the slots' captions.
        QCOMPARE(MacroEditorRun::treeText(w.macroTreeModel, QLatin1Char('|')), (QStringList{
                                                 "Macro Watch TV|     |     |     ",
                                                 "  TV|POWER|160|496",
                                                 "  SAT|POWER|160|496",
                                                 "  TV|VOL+|96|96",
                                                 "Macro Movie night|     |     |     ",
                                                 "  DVD|POWER|160|992",
                                                 "  DVD|OK|96|0",
                                                 "Macro Radio|     |     |     ",
                                             }));
        QVERIFY(MessageBox::takeLog().isEmpty());

        // The first step of "Movie night" switches to the second slot and
        // emits 480 ms; "Program" posts the page with just that changed.
        QVERIFY(MacroEditorRun::run(&w, [&] {
            QTreeView *view = w.macroDialog.macroTV;
            QAbstractItemModel *model = view->model();
            const QModelIndex step = model->index(0, 0, model->index(1, 0));
            view->setCurrentIndex(step);
            view->edit(step);
            if (auto *combo = view->viewport()->findChild<QComboBox *>())
                combo->setCurrentIndex(combo->findText(QStringLiteral("SAT")));
            const QModelIndex emitCell = step.siblingAtColumn(2);
            view->setCurrentIndex(emitCell);
            view->edit(emitCell);
            if (auto *spin = view->viewport()->findChild<QSpinBox *>()) {
                spin->findChild<QLineEdit *>()->selectAll();
                QTest::keyClicks(spin, QStringLiteral("480"));
            }
            QTest::mouseClick(w.macroDialog.programMacroButton, Qt::LeftButton);
        }));
        UsbRequestData request;
        QVERIFY(rig.state.request.take(&request, nullptr));
        QCOMPARE(request.command, 129);
        QByteArray expected = remote->macroPage();
        expected[16 + 3] = 1;    // switch of the first step of the second record
        expected[16 + 5] = 30;   // 480 ms
        QCOMPARE(request.flashData, QString::fromLatin1(expected.toHex().toUpper()));
        rig.connection.stop();
    }
    // With the request worker running beside the connection thread,
    // "Program" writes the edited page into the simulated remote, the
    // information is read again, and the reopened editor shows the edit.
    void programmedPageReachesTheRemote()
    {
        MainWindowImpl w;
        LinkRig rig;
        w.attachUsb(&rig.state);
        w.connectUsbConnection(&rig.connection);
        w.connectUsbFunctions(&rig.functions);
        auto remote = rig.sim.addRemote2();
        rig.sim.plug(remote);
        rig.start();
        QTRY_COMPARE(w.labelUSBreceiver->text(), QStringLiteral("USB infrared receiver is connected"));
        QTRY_VERIFY_WITH_TIMEOUT(rig.functions.polling() && !rig.state.transmitRequested.load(), 10000);
        QByteArray expected = remote->macroPage();
        expected[16 + 3] = 1;
        expected[16 + 5] = 30;
        QVERIFY(expected != remote->macroPage());
        rig.takeEvents();

        QVERIFY(MacroEditorRun::run(&w, [&] {
            QTreeView *view = w.macroDialog.macroTV;
            QAbstractItemModel *model = view->model();
            const QModelIndex step = model->index(0, 0, model->index(1, 0));
            view->setCurrentIndex(step);
            view->edit(step);
            if (auto *combo = view->viewport()->findChild<QComboBox *>())
            {
                combo->setCurrentIndex(combo->findText(QStringLiteral("SAT")));
                emit view->itemDelegate()->commitData(combo);
                emit view->itemDelegate()->closeEditor(combo);
            }
            const QModelIndex emitCell = step.siblingAtColumn(2);
            view->setCurrentIndex(emitCell);
            view->edit(emitCell);
            if (auto *spin = view->viewport()->findChild<QSpinBox *>()) {
                spin->findChild<QLineEdit *>()->selectAll();
                QTest::keyClicks(spin, QStringLiteral("480"));
                emit view->itemDelegate()->commitData(spin);
                emit view->itemDelegate()->closeEditor(spin);
            }
            QTest::mouseClick(w.macroDialog.programMacroButton, Qt::LeftButton);
        }));
        QTRY_COMPARE_WITH_TIMEOUT(remote->macroPage(), expected, 10000);
        // The information is read again and the window's copy follows it.
        QStringList events;
        QTRY_VERIFY2_WITH_TIMEOUT((events += rig.takeEvents()).contains(QStringLiteral("worker:updateUsb7")),
                                  qPrintable(events.join(' ')), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.state.transmitRequested.load(), 10000);
        const DeviceInfo info = rig.state.deviceInfo();
        for (int i = 0; i < 128; ++i)
            QCOMPARE(info.at(256 + i), int(quint8(expected.at(i))));
        QVERIFY(MessageBox::takeLog().isEmpty());

        QVERIFY(MacroEditorRun::run(&w));
        const QStringList tree = MacroEditorRun::treeText(w.macroTreeModel, QLatin1Char('|'));
        QVERIFY2(tree.size() > 6, qPrintable(tree.join('\n')));
        QCOMPARE(tree.at(4), QStringLiteral("Macro Movie night|     |     |     "));
        QCOMPARE(tree.at(5), QStringLiteral("  SAT|POWER|480|992"));
        QCOMPARE(tree.at(6), QStringLiteral("  DVD|OK|96|0"));
    }
    // A key name of megabytes (an old import, an edited rc.db) is drawn by
    // its start: the editor opens and paints as fast as with ordinary names.
    void hugeKeyNameShowsQuickly()
    {
        const QString name = QStringLiteral("POWER ").repeated(2'000'000);
        QVERIFY(TestSupport::sqlExec(QStringLiteral("UPDATE rctypemacro SET Name=? WHERE Name='POWER'"), {name}));
        MainWindowImpl w;
        ConnectionRig rig;
        std::shared_ptr<SimulatedRemote2> remote;
        connectRemote2(w, rig, &remote);
        if (QTest::currentTestFailed())
            return;

        QElapsedTimer timer;
        timer.start();
        QVERIFY(MacroEditorRun::run(&w, [&] {
            w.macroDialog.resize(800, 600);
            w.macroDialog.grab();
            // The key list of a step shows the name by its start as well.
            QTreeView *view = w.macroDialog.macroTV;
            const QModelIndex key = view->model()->index(0, 1, view->model()->index(0, 0));
            view->setCurrentIndex(key);
            view->edit(key);
            auto *combo = view->viewport()->findChild<QComboBox *>();
            QVERIFY(combo);
            QCOMPARE(combo->itemText(combo->currentIndex()), ShownText::bounded(name));
            w.macroDialog.grab();
        }));
        const qint64 elapsed = timer.elapsed();
        QVERIFY(TestSupport::sqlExec(QStringLiteral("UPDATE rctypemacro SET Name='POWER' WHERE Name=?"), {name}));
        // The catalogue's name is kept whole.
        QVERIFY(w.macroTreeModel->index(0, 1, w.macroTreeModel->index(0, 0)).data().toString() == name);
        qInfo("opened and drawn in %lld ms", elapsed);
        QVERIFY2(elapsed < 5000, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
    }
};

QTEST_MAIN(TestMacroDevice)
#include "tst_macrodevice.moc"
