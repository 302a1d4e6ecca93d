// Choosing the HID layer at start, the session around it, and the program on
// each layer.
#include "TestSupport.h"
#include "usb/Device.h"
#include "usb/HidBackend.h"
#include "usb/HidSession.h"
#include "usb/sim/HidSimulator.h"
#include "usb/UsbState.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using Kind = HidBackendChoice::Kind;

class TestHidSession : public QObject
{
    Q_OBJECT

private slots:
    void choose_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<QString>("devices");
        QTest::addColumn<QString>("replay");
        QTest::addColumn<bool>("simulator");
        QTest::addColumn<QStringList>("plugged");
        QTest::addColumn<int>("warnings");
        QTest::addRow("default") << "" << "" << "" << false << QStringList{} << 0;
        QTest::addRow("hidapi named") << "hidapi" << "remote1" << "" << false << QStringList{} << 0;
        QTest::addRow("unknown backend") << "usb3" << "" << "" << false << QStringList{} << 1;
        QTest::addRow("simulator, default devices") << "simulator" << "" << "" << true << QStringList{"remote2"} << 0;
        QTest::addRow("simulator, case and blanks") << " Simulator " << " Remote1 , remote2,remote1" << "" << true
                                                    << QStringList{"remote1", "remote2"} << 0;
        QTest::addRow("simulator, no device") << "simulator" << "none" << "" << true << QStringList{} << 0;
        QTest::addRow("unknown device") << "simulator" << "remote3,remote2" << "" << true << QStringList{"remote2"}
                                        << 1;
        QTest::addRow("replay without receiver") << "simulator" << "remote1" << "keys.tsv" << true
                                                 << QStringList{"remote1"} << 1;
    }
    void choose()
    {
        QFETCH(QString, backend);
        QFETCH(QString, devices);
        QFETCH(QString, replay);
        QFETCH(bool, simulator);
        QFETCH(QStringList, plugged);
        QFETCH(int, warnings);
        const HidBackendChoice c = HidBackendChoice::choose(backend, devices, replay);
        QCOMPARE(c.kind == Kind::Simulator, simulator);
        QCOMPARE(c.simulatedDevices, plugged);
        QCOMPARE(c.warnings.size(), warnings);
    }

    void environmentWinsOverSettings()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("config.ini"), QSettings::IniFormat);
        settings.setValue("Debug/hidBackend", "simulator");
        settings.setValue("Debug/simulatedDevices", "remote1,remote2"); // comes back as a list
        settings.setValue("Debug/replayFile", "keys.tsv");
        settings.sync();
        QSettings reread(dir.filePath("config.ini"), QSettings::IniFormat);

        qunsetenv("IRVANTA_HID_BACKEND");
        qunsetenv("IRVANTA_SIM_DEVICES");
        qunsetenv("IRVANTA_SIM_REPLAY");
        HidBackendChoice c = HidBackendChoice::fromEnvironment(reread);
        QCOMPARE(c.kind, Kind::Simulator);
        QCOMPARE(c.simulatedDevices, (QStringList{"remote1", "remote2"}));
        QCOMPARE(c.replayFile, QStringLiteral("keys.tsv"));

        qputenv("IRVANTA_HID_BACKEND", "hidapi");
        c = HidBackendChoice::fromEnvironment(reread);
        QCOMPARE(c.kind, Kind::HidApi);
        qputenv("IRVANTA_HID_BACKEND", "simulator");
        qputenv("IRVANTA_SIM_DEVICES", "remote1");
        qputenv("IRVANTA_SIM_REPLAY", "");
        c = HidBackendChoice::fromEnvironment(reread);
        QCOMPARE(c.simulatedDevices, QStringList{"remote1"});
        QVERIFY(c.replayFile.isEmpty());
        qunsetenv("IRVANTA_HID_BACKEND");
        qunsetenv("IRVANTA_SIM_DEVICES");
        qunsetenv("IRVANTA_SIM_REPLAY");
    }

    void simulatorSession()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath("keys.tsv"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("id\tdurations\npower\t9000 -4500 560 -40000\n");
        f.close();
        HidSession session(HidBackendChoice::choose("simulator", "remote1,remote2", f.fileName()));
        QVERIFY(session.simulator());
        QCOMPARE(session.backend(), static_cast<HidBackend *>(session.simulator()));

        UsbState state;
        state.setBackend(session.backend());
        Device device(&state);
        QVERIFY(device.isPresent(0x04B4, 0xF234));
        QVERIFY(device.isPresent(0x04B4, 0xF231));
        QVERIFY(device.openReceiver(0x04B4, 0xF231));
        HidReport out{};
        setCommandReport(out, 0x98, 0x19);
        QVERIFY(device.writeReport(state.receiverWriteHandle(), 8, out));
        // The replay: two seconds of pause (longer than a code can say), then the press.
        HidReport in{};
        QCOMPARE(device.readReport(state.receiverReadHandle(), 8, in, 10000), 9);
        const QByteArray payload(reinterpret_cast<const char *>(in.data()) + 1, 8);
        QCOMPARE(payload, QByteArray::fromHex("ffffffff01c2e11c"));
        device.closeReceiver();
        // The demo runs in strict mode: the reports above broke nothing.
        QVERIFY(session.simulator()->violations().isEmpty());
    }

    void hidapiSession()
    {
        HidSession outer(HidBackendChoice::choose("", "", ""));
        QVERIFY(!outer.simulator());
        QVERIFY(outer.backend());
        {
            HidSession inner(HidBackendChoice::choose("hidapi", "", ""));
            QVERIFY(inner.backend());
        }
        // Still usable after the inner session ended.
        QVERIFY(!outer.backend()->open(QStringLiteral("/nonexistent/hidraw99")));
        UsbState state;
        state.setBackend(outer.backend());
        Device device(&state);
        // Product id 0 would mean "any device" to hidapi: never matched.
        QVERIFY(!device.isPresent(0x04B4, 0));
        QVERIFY(!device.openRemote(0x04B4, 0));
        QVERIFY(outer.backend()->enumerate(0, 0).isEmpty());
    }

    void programRuns_data()
    {
        QTest::addColumn<QStringList>("env");
        QTest::addColumn<QString>("expected");
        QTest::addRow("hidapi, no device") << QStringList{} << QString();
        QTest::addRow("simulator") << QStringList{"IRVANTA_HID_BACKEND=simulator", "IRVANTA_SIM_DEVICES=remote1,remote2",
                                                  "IRVANTA_SIM_REPLAY=keys.tsv"}
                                   << "HidSession: replaying 1 key presses from keys.tsv";
        QTest::addRow("simulator, bad replay file")
            << QStringList{"IRVANTA_HID_BACKEND=simulator", "IRVANTA_SIM_REPLAY=missing.tsv"}
            << "HidSession: no replay: Cannot read the file missing.tsv: ";
        // Sources that never end or block the open: refused, the window comes up.
        QTest::addRow("simulator, replay from /dev/zero")
            << QStringList{"IRVANTA_HID_BACKEND=simulator", "IRVANTA_SIM_REPLAY=/dev/zero"}
            << "HidSession: no replay: Cannot read the file /dev/zero: not a regular file but a device";
        QTest::addRow("simulator, replay from a FIFO")
            << QStringList{"IRVANTA_HID_BACKEND=simulator", "IRVANTA_SIM_REPLAY=fifo.tsv"}
            << "HidSession: no replay: Cannot read the file fifo.tsv: not a regular file but a named pipe";
    }
    void programRuns()
    {
        QFETCH(QStringList, env);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(TestSupport::writeSampleDirectory(dir.path(), 5));
        QFile f(dir.filePath("keys.tsv"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("id\tdurations\npower\t9000 -4500 560 -40000\n");
        f.close();
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("fifo.tsv")).constData(), 0600), 0);
        env << QStringLiteral("IRVANTA_CLOSE_AFTER_MS=1500");
        const TestSupport::RunResult r = TestSupport::runProgram(dir.path(), env);
        QVERIFY2(r.finished, qPrintable(r.output));
        QCOMPARE(r.exitStatus, QProcess::NormalExit);
        QVERIFY2(r.exitCode == 0, qPrintable(r.output));
        QVERIFY(r.boxes.isEmpty());
        QVERIFY2(!r.output.contains("hidapi did not start"), qPrintable(r.output));
        QVERIFY2(!r.output.contains("sequence broken"), qPrintable(r.output));
        if (!expected.isEmpty())
            QVERIFY2(r.output.contains(expected), qPrintable(r.output));
    }
};

QTEST_GUILESS_MAIN(TestHidSession)
#include "tst_hidsession.moc"
