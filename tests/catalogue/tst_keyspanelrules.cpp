// Which model actions and buttons the keys panel enables, by the model's kind,
// the key count and the device state.
#include "catalogue/KeysPanelRules.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using Input = KeysPanelRules::Input;
Q_DECLARE_METATYPE(Input)

class TestKeysPanelRules : public QObject
{
    Q_OBJECT

    static Input model(const char *rcid, const char *link, bool own)
    {
        Input in;
        in.rcid = QString::fromLatin1(rcid);
        in.link = QString::fromLatin1(link);
        in.own = own;
        in.typeId = 3;
        in.deviceRCTypeId = 3;
        in.keyCount = 5;
        return in;
    }

private slots:
    void modelActions_data()
    {
        QTest::addColumn<Input>("in");
        // busy, print, delete, images, edit, link, convert
        QTest::addColumn<QList<bool>>("expected");
        QTest::addRow("no model") << model("", "", false)
                                  << QList<bool>{true, false, false, false, false, false, false};
        Input noModelSwitches = model("", "", false);
        noModelSwitches.enableImages = noModelSwitches.enableMakeOwn = true;
        QTest::addRow("no model, switches on") << noModelSwitches
                                               << QList<bool>{true, false, false, false, false, false, false};
        QTest::addRow("factory") << model("11111111", "11111111", false)
                                 << QList<bool>{true, true, false, false, false, true, false};
        Input factorySwitches = model("11111111", "11111111", false);
        factorySwitches.enableImages = true;
        QTest::addRow("factory, images on") << factorySwitches
                                            << QList<bool>{true, true, false, true, false, true, false};
        factorySwitches.enableImages = false;
        factorySwitches.enableMakeOwn = true;
        QTest::addRow("factory, make own on") << factorySwitches
                                              << QList<bool>{true, true, false, false, true, true, false};
        QTest::addRow("own master") << model("22222222", "22222222", true)
                                    << QList<bool>{false, true, true, true, true, true, true};
        QTest::addRow("own linked") << model("33333333", "22222222", true)
                                    << QList<bool>{false, true, true, true, true, true, false};
    }
    void modelActions()
    {
        QFETCH(Input, in);
        QFETCH(QList<bool>, expected);
        const KeysPanelRules r = KeysPanelRules::evaluate(in);
        QCOMPARE((QList<bool>{r.busy, r.print, r.deleteModel, r.imageButtons, r.editModel, r.newLink, r.convert}),
                 expected);
    }

    void deviceAndSimpleMode_data()
    {
        QTest::addColumn<bool>("slotInfo");
        QTest::addColumn<int>("deviceType");
        QTest::addColumn<int>("keys");
        QTest::addColumn<QStringList>("simple");
        QTest::addColumn<int>("usb"); // -1 keeps its state
        QTest::addColumn<bool>("simpleProgram");
        QTest::addColumn<bool>("add");
        QTest::addColumn<QList<bool>>("del");
        const QStringList none{"", "", "", ""};
        const QList<bool> noDel{false, false, false, false};
        QTest::addRow("one key, device matches") << true << 3 << 1 << none << 1 << false << false << noDel;
        QTest::addRow("two keys") << true << 3 << 2 << none << 1 << false << true << noDel;
        QTest::addRow("no keys") << true << 3 << 0 << none << 0 << false << false << noDel;
        QTest::addRow("other device type") << true << 5 << 9 << QStringList{"TV-1", "", "", ""} << 0 << false << true
                                           << QList<bool>{true, false, false, false};
        QTest::addRow("no slot information") << false << 3 << 9 << QStringList{"", "", "X", ""} << -1 << true << true
                                             << QList<bool>{false, false, true, false};
        QTest::addRow("all slots") << false << 5 << 9 << QStringList{"A", "B", "C", "D"} << -1 << false << true
                                   << QList<bool>{true, true, true, true};
    }
    void deviceAndSimpleMode()
    {
        QFETCH(bool, slotInfo);
        QFETCH(int, deviceType);
        QFETCH(int, keys);
        QFETCH(QStringList, simple);
        QFETCH(int, usb);
        QFETCH(bool, simpleProgram);
        QFETCH(bool, add);
        QFETCH(QList<bool>, del);
        Input in = model("22222222", "22222222", true);
        in.slotInfoValid = slotInfo;
        in.deviceRCTypeId = deviceType;
        in.keyCount = keys;
        for (int i = 0; i < 4; ++i)
            in.simpleModels[size_t(i)] = simple.at(i);
        const KeysPanelRules r = KeysPanelRules::evaluate(in);
        QCOMPARE(r.usbProgram.has_value(), usb >= 0);
        if (usb >= 0)
            QCOMPARE(*r.usbProgram, usb == 1);
        QCOMPARE(r.simpleProgram, simpleProgram);
        QCOMPARE(r.simpleAdd, add);
        QCOMPARE((QList<bool>{r.simpleDelete[0], r.simpleDelete[1], r.simpleDelete[2], r.simpleDelete[3]}), del);
    }

    // Why each programming control is greyed out: the simple version hides
    // the remote type, so the reason names it and the model.
    void reasons_data()
    {
        QTest::addColumn<bool>("selected");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<int>("deviceType");
        QTest::addColumn<int>("keys");
        QTest::addColumn<bool>("assigned");
        QTest::addColumn<QStringList>("why"); // "Program RC", the simple "Program", "+"
        const QString none = "No programmable remote control is connected.";
        const QString other = "The connected remote control is not of the chosen remote control type TV.";
        const QString noKeys = "ACME X-1 has no keys for the remote control type TV.";
        const QString noModel = "No model is chosen.";
        const QString noSlot = "No slot holds a model yet: add one with \"+\".";
        QTest::addRow("usable") << true << true << 3 << 2 << true << QStringList{"", "", ""};
        QTest::addRow("no keys") << true << true << 3 << 0 << true << QStringList{noKeys, "", noKeys};
        QTest::addRow("one key") << true << true << 3 << 1 << false
                                 << QStringList{"", noSlot,
                                                "ACME X-1 has only one key for the remote control type TV; a slot "
                                                "needs at least two."};
        QTest::addRow("no model") << false << true << 3 << 0 << true << QStringList{noModel, "", noModel};
        QTest::addRow("no remote") << true << false << 0 << 5 << true << QStringList{none, none, ""};
        QTest::addRow("other type") << true << true << 5 << 0 << true << QStringList{other, other, noKeys};
    }
    void reasons()
    {
        QFETCH(bool, selected);
        QFETCH(bool, connected);
        QFETCH(int, deviceType);
        QFETCH(int, keys);
        QFETCH(bool, assigned);
        QFETCH(QStringList, why);
        Input in = selected ? model("22222222", "22222222", true) : model("", "", false);
        in.brand = selected ? QStringLiteral("ACME") : QString();
        in.model = selected ? QStringLiteral("X-1") : QString();
        in.typeName = QStringLiteral("TV");
        in.slotInfoValid = connected;
        in.remoteConnected = connected;
        in.deviceRCTypeId = deviceType;
        in.keyCount = keys;
        in.simpleModels[1] = assigned ? QStringLiteral("Y-2") : QString();
        const KeysPanelRules r = KeysPanelRules::evaluate(in);
        QCOMPARE((QStringList{r.usbProgramWhy, r.simpleProgramWhy, r.simpleAddWhy}), why);
        // A reason is given exactly where the control is greyed out.
        QCOMPARE(r.simpleProgramWhy.isEmpty(), r.simpleProgram);
        QCOMPARE(r.simpleAddWhy.isEmpty(), r.simpleAdd);
        if (r.usbProgram)
            QCOMPARE(r.usbProgramWhy.isEmpty(), *r.usbProgram);
    }

    void documentationIcon_data()
    {
        QTest::addColumn<bool>("show");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("icon");
        QTest::addRow("shown") << true << "Notes" << true;
        QTest::addRow("switched off") << false << "Notes" << false;
        QTest::addRow("no text") << true << "" << false;
    }
    void documentationIcon()
    {
        QFETCH(bool, show);
        QFETCH(QString, text);
        QFETCH(bool, icon);
        Input in = model("22222222", "22222222", true);
        in.showDocumentationIcon = show;
        in.documentation = text;
        QCOMPARE(KeysPanelRules::evaluate(in).documentationIcon, icon);
    }

    void keysFilterSelectsTheMastersRows()
    {
        QCOMPARE(KeysPanelRules::keysFilter(QStringLiteral("1a2b3c4d"), 3),
                 QStringLiteral("(Rcid='1a2b3c4d' AND RCTypeId='3')"));
        QCOMPARE(KeysPanelRules::keysFilter(QString(), 0), QStringLiteral("(Rcid='' AND RCTypeId='0')"));
        // The catalogue's value goes in as it is, a "%2" in it too.
        QCOMPARE(KeysPanelRules::keysFilter(QStringLiteral("a%2b"), 3), QStringLiteral("(Rcid='a%2b' AND RCTypeId='3')"));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(QStringLiteral(":memory:"));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("CREATE TABLE rckeys (Rcid TEXT, RCTypeId INTEGER, Name TEXT, ID TEXT, Nkey INTEGER)")));
        QVERIFY(q.exec(QStringLiteral("INSERT INTO rckeys VALUES ('o''k', 3, 'A', '1', 1), ('x', 3, 'B', '2', 2)")));
        const QString link = QStringLiteral("o'k");
        QVERIFY(q.exec(QStringLiteral("SELECT Name FROM rckeys WHERE ") + KeysPanelRules::keysFilter(link, 3)));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("A"));
        QVERIFY(!q.next());
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM rckeys WHERE ")
                       + KeysPanelRules::keysFilter(QStringLiteral("x' OR '1'='1"), 3)));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestKeysPanelRules)
#include "tst_keyspanelrules.moc"
