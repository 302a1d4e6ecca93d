// Macro programming in the real main window on the sample directory: the
// editor opened from the information block and the catalogue, and the page
// posted for the device when "Program" is pressed.
#include "MacroEditorRun.h"
#include "TestSupport.h"
#include "app/MessageBox.h"
#include "mainwindow/MainWindowImpl.h"
#include "programming/MacroDelegates.h"
#include "programming/MacroTreeModel.h"
#include "usb/UsbState.h"

#include <QDir>
#include <QPointer>
#include <QLineEdit>
#include <QSettings>
#include <QSpinBox>
#include <QSqlQuery>
#include <QtTest>

#include <functional>

namespace {

// An information block with a macro page and the given macro key codes
// (entries 48..55), name set 5 * 256 (the sample's), slotCount slots.
DeviceInfo macroInfo(const QByteArray &page, const QList<int> &keyCodes, int slotCount = 4)
{
    DeviceInfo info;
    info.entries[8] = 2;
    info.entries[27] = 5;
    info.entries[28] = 0;
    info.entries[29] = 1;
    info.entries[31] = slotCount;
    for (int i = 0; i < 128; ++i)
        info.entries[size_t(256 + i)] = i < page.size() ? quint8(page[i]) : 0xFF;
    for (int m = 0; m < 8; ++m)
        info.entries[size_t(48 + m)] = keyCodes.value(m, m);
    return info;
}

// Macro 2 (key 0x92): two steps; macro 5 (key 0x95): one step.
const QByteArray kPage = QByteArray::fromHex("0b0712" "00000a1f" "01110600" "ff"
                                             "070715" "020b0101" "ff" "ff");
const QList<int> kKeys = {0x11, 0x92, 0x13, 0x14, 0x95, 0x16, 0x17, 0x18};

} // namespace

class TestMacroProgramming : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_previousDir;
    MainWindowImpl *w = nullptr;
    UsbState *m_state = nullptr;

    bool runEditor(const std::function<void()> &action = {}) { return MacroEditorRun::run(w, action); }

    // The request waiting in the mailbox; none: command 0.
    UsbRequestData waiting()
    {
        UsbRequestData request;
        if (!m_state->request.take(&request, nullptr))
            return UsbRequestData();
        return request;
    }

    void finishWaiting()
    {
        quint64 ticket = 0;
        if (m_state->request.take(nullptr, &ticket))
            m_state->request.finish(ticket);
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
        w->deviceRCTypeId = 2;
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

    void noMacroPage()
    {
        DeviceInfo info = macroInfo(kPage, kKeys);
        info.entries[29] = 0;
        m_state->setDeviceInfo(info);
        QVERIFY(!runEditor());
        QCOMPARE(w->macroTreeModel, nullptr);
    }

    // The tree of the block, the catalogue's key names and macro names, the
    // slot captions as switch names, the editors per column.
    void opensTheTree()
    {
        m_state->setDeviceInfo(macroInfo(kPage, kKeys, 1));
        // Slot 0 is captioned in its header page; the device has one slot.
        const QByteArray header = QByteArray::fromHex("0001000000000454562d41");
        for (int b = 0; b < header.size(); ++b)
            w->slotHeaderPages[b] = quint8(header[b]);
        w->refreshInformation2();

        QString title;
        QStringList buttons;
        QStringList tips;
        QVERIFY(runEditor([&] {
            title = w->macroDialog.windowTitle();
            buttons << w->macroDialog.insertMacroButton->text() << w->macroDialog.removeMacroButton->text()
                    << w->macroDialog.programMacroButton->text();
            tips << w->macroDialog.insertMacroButton->toolTip() << w->macroDialog.removeMacroButton->toolTip();
        }));
        QCOMPARE(title, QStringLiteral("Macro programing"));
        QCOMPARE(buttons, (QStringList{"Macro", "Macro", "Program"}));
        // The two "Macro" buttons work on steps, and say so.
        QCOMPARE(tips, (QStringList{"Adds a step after the selected step, or at the end of the selected macro",
                                    "Deletes the selected step; a macro itself stays"}));

        QTreeView *view = w->macroDialog.macroTV;
        QVERIFY(w->macroTreeModel);
        QCOMPARE(view->model(), w->macroTreeModel);
        // Sample names: "Watch TV;Movie night;Radio;Good night;"; keys of
        // type 2: 0 POWER, 11 VOL+, 17 OK.
        QCOMPARE(MacroEditorRun::treeText(w->macroTreeModel), (QStringList{
                                                  "Macro Movie night\t     \t     \t     ",
                                                  "  TV-A\tPOWER\t160\t496",
                                                  "  2nd\tOK\t96\t0",
                                                  "Macro 5\t     \t     \t     ",
                                                  "  3rd\tVOL+\t16\t16",
                                              }));
        QVERIFY(view->isColumnHidden(4));
        QCOMPARE(view->columnWidth(1), 250);
        QVERIFY(view->isExpanded(w->macroTreeModel->index(0, 0)));
        QCOMPARE(view->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(view->selectionBehavior(), QAbstractItemView::SelectItems);

        auto *switches = qobject_cast<SwitchDelegate *>(view->itemDelegateForColumn(0));
        QVERIFY(switches);
        QCOMPARE(switches->switchNames.values(), (QStringList{"TV-A", "2nd", "3rd"}));
        auto *keys = qobject_cast<KeyDelegate *>(view->itemDelegateForColumn(1));
        QVERIFY(keys);
        // The catalogue's order: POWER heads the list.
        QSqlQuery q(QStringLiteral("SELECT COUNT(*) FROM rctypemacro WHERE RCTypeId = 2"));
        QVERIFY(q.next());
        QCOMPARE(keys->keyOrder.size(), q.value(0).toInt());
        QCOMPARE(keys->keyOrder.first(), 0);
        QCOMPARE(keys->keyNames.value(5), QStringLiteral(" - 5 - "));
        for (int c : {2, 3}) {
            auto *times = qobject_cast<EmitWaitDelegate *>(view->itemDelegateForColumn(c));
            QVERIFY(times);
            QCOMPARE(QList<int>({times->minimum, times->maximum, times->singleStep}), QList<int>({0, 4000, 16}));
        }
        QVERIFY(MessageBox::takeLog().isEmpty());
    }

    // Each opening builds the tree anew from the block; the old one and its
    // editors are gone.
    void reopening()
    {
        m_state->setDeviceInfo(macroInfo(kPage, kKeys));
        QVERIFY(runEditor([&] { w->macroTreeModel->removeRows(0, 1, w->macroTreeModel->index(0, 0)); }));
        QPointer<QAbstractItemModel> first = w->macroTreeModel;
        QPointer<QAbstractItemDelegate> firstKeys = w->macroDialog.macroTV->itemDelegateForColumn(1);
        QCOMPARE(first->rowCount(first->index(0, 0)), 1);
        QVERIFY(runEditor());
        QVERIFY(first.isNull());
        QVERIFY(firstKeys.isNull());
        QCOMPARE(w->macroTreeModel->rowCount(w->macroTreeModel->index(0, 0)), 2);
    }

    // A catalogue the macro lists cannot be read from: the device's macros
    // still show, and the user is told.
    void catalogueWithoutMacroKeys()
    {
        m_state->setDeviceInfo(macroInfo(kPage, kKeys));
        const QByteArray captions = QByteArray::fromHex("000100000000025456") + QByteArray(55, '\0')
                                    + QByteArray::fromHex("0001000000000353415400") + QByteArray(53, '\0')
                                    + QByteArray::fromHex("0001000000000344564400");
        for (int b = 0; b < captions.size(); ++b)
            w->slotHeaderPages[b] = quint8(captions[b]);
        w->refreshInformation2();
        QSqlQuery q;
        QVERIFY(q.exec(QStringLiteral("ALTER TABLE rctypemacro RENAME TO rctypemacro_away")));
        const bool shown = runEditor();
        QVERIFY(q.exec(QStringLiteral("ALTER TABLE rctypemacro_away RENAME TO rctypemacro")));
        QVERIFY(shown);
        const QList<MessageBox::Record> boxes = MessageBox::takeLog();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].kind, QStringLiteral("warning"));
        QVERIFY2(boxes[0].text.contains(QStringLiteral("rctypemacro")), qPrintable(boxes[0].text));
        // The names come from the other table, which is still there.
        QCOMPARE(MacroEditorRun::treeText(w->macroTreeModel),
                 (QStringList{"Macro Movie night\t     \t     \t     ", "  TV\t\t160\t496", "  SAT\t\t96\t0",
                              "Macro 5\t     \t     \t     ", "  DVD\t\t16\t16"}));
    }

    // "Program": the tree as a page, posted as request 129; a page too long
    // or a device still busy is refused with a message and nothing posted.
    void program_data()
    {
        QTest::addColumn<QList<int>>("keyCodes");
        QTest::addColumn<int>("extraSteps"); // added to the first macro
        QTest::addColumn<bool>("busy");
        QTest::addColumn<QString>("text");    // the page, unpadded; empty: nothing posted
        QTest::addColumn<QString>("message");
        QTest::addRow("macros 2 and 5") << kKeys << 0 << false << QString::fromLatin1(kPage.toHex().toUpper())
                                        << QString();
        QTest::addRow("no macros") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8} << 0 << false << "FF" << QString();
        QTest::addRow("30 steps in two macros") << kKeys << 27 << false << "" << "Too many macro keys, please delete some.";
        QTest::addRow("busy") << kKeys << 0 << true << "" << "device busy";
        // Macro 2 grows to 28 steps and macro 5 keeps its one: 4 * 29 + 9 = 125 bytes.
        QTest::addRow("29 steps in all") << kKeys << 26 << false << "long" << QString();
    }
    void program()
    {
        QFETCH(QList<int>, keyCodes);
        QFETCH(int, extraSteps);
        QFETCH(bool, busy);
        QFETCH(QString, text);
        QFETCH(QString, message);
        m_state->setDeviceInfo(macroInfo(kPage, keyCodes));
        QVERIFY(runEditor());
        MacroTreeModel *model = qobject_cast<MacroTreeModel *>(w->macroTreeModel);
        QVERIFY(model);
        if (extraSteps > 0)
            QVERIFY(model->insertRows(0, extraSteps, model->index(0, 0)));
        w->flashData = QStringLiteral("before");
        if (busy) {
            w->changeSignalITT();
            QVERIFY(m_state->transmitRequested.load());
        }

        w->programMacro();

        const QList<MessageBox::Record> boxes = MessageBox::takeLog();
        if (text.isEmpty()) {
            QCOMPARE(boxes.size(), 1);
            QCOMPARE(boxes[0].title, QStringLiteral("Information"));
            QCOMPARE(boxes[0].text, message);
            QCOMPARE(w->flashData, QStringLiteral("before"));
            QCOMPARE(waiting().command, busy ? 9805 : 0);
            // The tree stays as edited.
            QCOMPARE(model->rowCount(model->index(0, 0)), 2 + extraSteps);
            QVERIFY(w->statusbar->currentMessage().isEmpty());
            return;
        }
        QVERIFY(boxes.isEmpty());
        QCOMPARE(w->statusbar->currentMessage(), QStringLiteral("Writing the macros to the remote control..."));
        const UsbRequestData request = waiting();
        QCOMPARE(request.command, 129);
        QCOMPARE(w->usbCommand, 129);
        QCOMPARE(request.flashData.size(), 256);
        QCOMPARE(request.flashData, w->flashData);
        if (text == QLatin1String("long")) {
            const QString steps = QStringLiteral("00000000").repeated(extraSteps);
            QCOMPARE(request.flashData.left(250),
                     QStringLiteral("730712") + steps + QString::fromLatin1(kPage.toHex().toUpper()).mid(6, 230));
            QCOMPARE(request.flashData.mid(250), QStringLiteral("FFFFFF"));
        } else {
            QCOMPARE(request.flashData, text + QString(256 - text.size(), QLatin1Char('F')));
        }
    }

    // The edited step reaches the page: a step's wait changed in the view,
    // a new step, then "Program" pressed in the open dialog.
    void editAndProgram()
    {
        m_state->setDeviceInfo(macroInfo(kPage, kKeys));
        QVERIFY(runEditor([&] {
            QTreeView *view = w->macroDialog.macroTV;
            QAbstractItemModel *model = view->model();
            const QModelIndex wait = model->index(1, 3, model->index(0, 0));
            view->setCurrentIndex(wait);
            view->edit(wait);
            auto *spin = view->viewport()->findChild<QSpinBox *>();
            if (!spin)
                return;
            spin->findChild<QLineEdit *>()->selectAll();
            QTest::keyClicks(spin, QStringLiteral("800"));
            // Pressing the button takes the focus from the editor, which
            // hands its value over first.
            view->setCurrentIndex(model->index(1, 0));
            QTest::mouseClick(w->macroDialog.insertMacroButton, Qt::LeftButton);
            QTest::mouseClick(w->macroDialog.programMacroButton, Qt::LeftButton);
        }));
        const UsbRequestData request = waiting();
        QCOMPARE(request.command, 129);
        QCOMPARE(request.flashData.left(50), QStringLiteral("0B0712" "00000A1F" "01110632" "FF"
                                                             "0B0715" "020B0101" "00001010" "FF" "FF"));
        QCOMPARE(request.flashData.mid(50), QString(206, QLatin1Char('F')));
    }

    // With "Debug/saveFlashData" the page is also kept in "config.ini"; a
    // file that cannot be written is told in the log.
    void savedPage()
    {
        m_state->setDeviceInfo(macroInfo(kPage, kKeys));
        QVERIFY(runEditor());
        w->saveFlashData = true;
        w->programMacro();
        const QString page = waiting().flashData;
        QCOMPARE(page.size(), 256);
        QCOMPARE(QSettings(QStringLiteral("config.ini"), QSettings::IniFormat).value("Debug/flashMacro").toString(),
                 page);

        finishWaiting();
        QVERIFY(QFile::rename(QStringLiteral("config.ini"), QStringLiteral("config.ini.away")));
        QVERIFY(QDir().mkdir(QStringLiteral("config.ini")));
        w->programMacro();
        QVERIFY(QDir().rmdir(QStringLiteral("config.ini")));
        QVERIFY(QFile::rename(QStringLiteral("config.ini.away"), QStringLiteral("config.ini")));
        QCOMPARE(waiting().command, 129); // the page went to the device all the same
        QVERIFY2(w->textEdit->toPlainText().contains(QStringLiteral("could not be saved")),
                 qPrintable(w->textEdit->toPlainText()));
    }
};

QTEST_MAIN(TestMacroProgramming)
#include "tst_macroprogramming.moc"
