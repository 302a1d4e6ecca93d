// The sample remotes' key codes are codes the program produces: each sample
// protocol's frames land on the recogniser's row for that protocol, every
// key gives a code of its own, held keys and toggles do not change it, and
// the catalogue stores what a press of the key resolves to.
#include "TestSupport.h"

#include "tools/samplekit/SampleCaptureFile.h"
#include "tools/samplekit/SampleKit.h"
#include "tools/samplekit/SampleSignals.h"
#include "ir/IrReplayFile.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QSqlQuery>
#include <QtTest>

using SampleSignals::Kind;

Q_DECLARE_METATYPE(SampleSignals::Kind)

class TestSampleKeyCodes : public QObject
{
    Q_OBJECT

    static void addKinds()
    {
        QTest::addColumn<Kind>("kind");
        for (const SampleSignals::SampleProtocol &p : SampleSignals::protocols())
            QTest::newRow(p.name) << p.kind;
    }

private slots:
    void framesLandOnTheirRow_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("toggle");
        QTest::addColumn<int>("recognizerId");
        QTest::addRow("sirc12") << Kind::Sirc12 << 1 << 21 << 0 << 39;
        QTest::addRow("sirc12 all ones") << Kind::Sirc12 << 31 << 127 << 0 << 39;
        QTest::addRow("sirc15") << Kind::Sirc15 << 0x97 << 0 << 0 << 40;
        QTest::addRow("sirc20") << Kind::Sirc20 << 0x1A3A << 0x55 << 0 << 41;
        QTest::addRow("rc5") << Kind::Rc5 << 0 << 12 << 0 << 23;
        QTest::addRow("rc5 toggled") << Kind::Rc5 << 31 << 63 << 1 << 23;
        QTest::addRow("rc5x") << Kind::Rc5 << 5 << 64 << 0 << 223;
        QTest::addRow("rc6") << Kind::Rc6 << 0 << 12 << 0 << 26;
        QTest::addRow("rc6 toggled") << Kind::Rc6 << 0xFF << 0x80 << 1 << 26;
        QTest::addRow("nec") << Kind::Nec << 0x04 << 0x08 << 0 << 315;
        QTest::addRow("jvc") << Kind::Jvc << 0x03 << 0x17 << 0 << 10;
        QTest::addRow("samsung32") << Kind::Samsung32 << 0x07 << 0x02 << 0 << 232;
    }
    void framesLandOnTheirRow()
    {
        QFETCH(Kind, kind);
        QFETCH(int, address);
        QFETCH(int, command);
        QFETCH(int, toggle);
        QFETCH(int, recognizerId);
        const QVector<int> frame = SampleSignals::frame(kind, address, command, toggle);
        QVERIFY(frame.size() > 10);
        QVERIFY(frame.first() > 0 && frame.last() > 0); // from the first mark to the last
        for (int i = 0; i < frame.size(); ++i) {
            QCOMPARE(frame.at(i) % 20, 0); // on the receiver's grid
            QCOMPARE(frame.at(i) > 0, i % 2 == 0);
        }
        QCOMPARE(SampleSignals::firstRecognizerId(frame), recognizerId);
    }

    // Every command and a spread of addresses give codes of their own; the
    // toggle and the length of the press do not change a key's code.
    void everyKeyItsOwnCode_data() { addKinds(); }
    void everyKeyItsOwnCode()
    {
        QFETCH(Kind, kind);
        const SampleSignals::SampleProtocol &p = SampleSignals::protocol(kind);
        QSet<QString> seen;
        QString error;
        const int commands = 1 << p.commandBits;
        const QList<int> addresses{0, 1, (1 << p.addressBits) - 1, 0x55 & ((1 << p.addressBits) - 1)};
        for (int address : addresses) {
            for (int command = 0; command < commands; ++command) {
                const QString code = SampleKit::sampleKeyCode(kind, address, command, &error);
                QVERIFY2(!code.isEmpty(), qPrintable(error));
                QVERIFY2(!seen.contains(code), qPrintable(QStringLiteral("%1/%2: %3").arg(address).arg(command).arg(code)));
                seen.insert(code);
            }
        }
        QCOMPARE(seen.size(), addresses.size() * commands);
        // One prefix per protocol.
        QSet<QString> prefixes;
        for (const QString &code : std::as_const(seen))
            prefixes.insert(code.left(4));
        QCOMPARE(prefixes.size(), 1);

        const QString code = SampleKit::sampleKeyCode(kind, 3, 17);
        for (int frames = p.frames; frames <= p.frames + 5; ++frames)
            QCOMPARE(SampleKit::sampleKeyCode(kind, 3, 17, &error, frames), code);
        for (int toggle = 0; toggle < 2; ++toggle) {
            int messages = 0;
            QCOMPARE(SampleSignals::resolvePress(SampleSignals::press(kind, 3, 17, p.frames, toggle), &messages), code);
            QCOMPARE(messages, p.frames); // one message per frame
        }
    }

    // A press the program cannot resolve is refused with a reason, never
    // handed on as a code.
    void unresolvedPressIsRefused()
    {
        QString error;
        // RC6 codes need the repeated frame: a single one resolves to nothing.
        QCOMPARE(SampleSignals::resolvePress(SampleSignals::press(Kind::Rc6, 1, 2, 1)), QStringLiteral("UNKNOWN"));
        QCOMPARE(SampleKit::sampleKeyCode(Kind::Rc6, 1, 2, &error, 1), QString());
        QVERIFY2(error.contains(QStringLiteral("RC6")) && error.contains(QStringLiteral("\"UNKNOWN\"")),
                 qPrintable(error));
        QCOMPARE(SampleSignals::resolvePress({9000, -4500}), QStringLiteral("UNKNOWN"));
        QCOMPARE(SampleSignals::resolvePress({}), QStringLiteral("UNKNOWN"));
    }

    // The catalogue holds, for every key of a keyed master, the code a press
    // of that key resolves to; the same seed writes the same codes.
    void catalogueHoldsWhatPressesResolveTo()
    {
        QTemporaryDir dir;
        QSqlDatabase db = TestSupport::openFixtureCatalogue(dir.path(), QStringLiteral("codes"));
        QVERIFY(db.isOpen());
        QList<SampleKit::SampleRemote> remotes;
        QString error;
        QVERIFY2(SampleKit::fillCatalogue(db, SampleKit::Options(), &error, &remotes), qPrintable(error));
        QVERIFY(remotes.size() > 10);
        QSet<int> kinds;
        int keys = 0;
        for (const SampleKit::SampleRemote &r : std::as_const(remotes)) {
            kinds.insert(int(r.kind));
            QSqlQuery q(db);
            q.prepare(QStringLiteral("SELECT Nkey, ID, RCTypeId FROM rckeys WHERE Rcid=?"));
            q.addBindValue(r.rcid);
            QVERIFY(q.exec());
            int firstType = 0;
            while (q.next()) {
                const int nkey = q.value(0).toInt();
                const int type = q.value(2).toInt();
                const int offset = SampleKit::shiftOffset(type);
                const bool shift = nkey >= offset;
                const int command = SampleKit::sampleCommand(shift ? nkey - offset : nkey, shift);
                const QVector<int> press = SampleSignals::press(r.kind, r.address, command,
                                                                SampleSignals::protocol(r.kind).frames);
                QCOMPARE(q.value(1).toString(), SampleSignals::resolvePress(press));
                firstType += type == 1 && !shift ? 1 : 0;
                ++keys;
            }
            QCOMPARE(firstType, r.firstTypeKeys);
        }
        QCOMPARE(kinds.size(), SampleSignals::protocols().size());
        QVERIFY(keys > 500);

        QTemporaryDir again;
        QSqlDatabase db2 = TestSupport::openFixtureCatalogue(again.path(), QStringLiteral("codes again"));
        QVERIFY(SampleKit::fillCatalogue(db2, SampleKit::Options()));
        const QString all = QStringLiteral("SELECT Rcid, RCTypeId, Nkey, Name, ID FROM rckeys ORDER BY Rcid, RCTypeId, Nkey");
        QSqlQuery a(db), b(db2);
        QVERIFY(a.exec(all) && b.exec(all));
        while (a.next()) {
            QVERIFY(b.next());
            for (int c = 0; c < 5; ++c)
                QCOMPARE(b.value(c), a.value(c));
        }
        QVERIFY(!b.next());
        a = QSqlQuery();
        b = QSqlQuery();
        db.close();
        db2.close();
        db = QSqlDatabase();
        db2 = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("codes"));
        QSqlDatabase::removeDatabase(QStringLiteral("codes again"));
    }

    // The sample directory's capture file is one the simulator replays, and
    // each of its presses resolves to the code its model stores for the key.
    void captureFileHoldsPressesOfSampleKeys()
    {
        QTemporaryDir dir;
        QVERIFY(TestSupport::writeSampleDirectory(dir.path()));
        const QString path = dir.filePath(SampleCaptureFile::fileName());
        QList<IrReplayRow> rows;
        QString error;
        QVERIFY2(IrReplayFile::load(path, &rows, &error), qPrintable(error));
        QCOMPARE(rows.size(), 3 * int(SampleSignals::protocols().size()));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        const QList<QByteArray> header = lines.first().split('\t');
        const int rcidColumn = int(header.indexOf("rcid")), keyColumn = int(header.indexOf("key"));
        QVERIFY(rcidColumn >= 0 && keyColumn >= 0);

        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("capture"));
        db.setDatabaseName(dir.filePath(QStringLiteral("rc.db")));
        QVERIFY(db.open());
        QSet<QString> ids, models, codes;
        QList<int> messageCounts;
        for (int i = 0; i < rows.size(); ++i) {
            const QList<QByteArray> fields = lines.at(i + 1).split('\t');
            const QString rcid = QString::fromUtf8(fields.at(rcidColumn));
            const QString key = QString::fromUtf8(fields.at(keyColumn));
            QSqlQuery q(db);
            q.prepare(QStringLiteral("SELECT DISTINCT ID FROM rckeys WHERE Rcid=? AND Name=?"));
            q.addBindValue(rcid);
            q.addBindValue(key);
            QVERIFY(q.exec());
            QVERIFY2(q.next(), qPrintable(rows.at(i).id));
            const QString stored = q.value(0).toString();
            QVERIFY(!q.next()); // one code per key
            int messages = 0;
            QCOMPARE(SampleSignals::resolvePress(rows.at(i).durations, &messages), stored);
            messageCounts.append(messages);
            ids.insert(rows.at(i).id);
            models.insert(rcid);
            codes.insert(stored);
        }
        QCOMPARE(ids.size(), rows.size());
        QCOMPARE(models.size(), int(SampleSignals::protocols().size()));
        QCOMPARE(codes.size(), rows.size());
        // Each remote's first key is held: more repeats than its other presses.
        for (int k = 0; k + 2 < messageCounts.size(); k += 3)
            QVERIFY(messageCounts.at(k) > messageCounts.at(k + 1) && messageCounts.at(k) > messageCounts.at(k + 2));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("capture"));
    }

    // A capture file that cannot be written stops the kit with the reason.
    void unwritableCaptureFileIsReported()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(SampleCaptureFile::fileName()));
        QString error;
        QVERIFY(!SampleKit::writeWorkingDirectory(dir.path(), SampleKit::Options(), &error));
        QVERIFY2(error.contains(SampleCaptureFile::fileName()), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestSampleKeyCodes)
#include "tst_samplekeycodes.moc"
