// The sample directory's capture file replayed through the simulator into
// the running window, the road a user takes without hardware: the HID
// session loads the file into the simulated remote2, the connection thread
// opens the receiver and switches reception on, the capture thread fills
// the window's capture store, and the window's receive timer recognises and
// resolves each press. Every press must show a code of its model's key list,
// the code of the key that was pressed.
#include "ConnectionRig.h"
#include "TestSupport.h"
#include "app/MessageBox.h"
#include "ir/CaptureStore.h"
#include "mainwindow/MainWindowImpl.h"
#include "tools/samplekit/SampleCaptureFile.h"
#include "usb/HidSession.h"
#include "usb/sim/HidSimulator.h"
#include "ir/IrReplayFile.h"
#include "usb/UsbConnection.h"
#include "usb/UsbReceiverDots.h"
#include "usb/UsbState.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTimer>
#include <QtTest>

namespace {

struct Row
{
    QString id, rcid, key;
};

// The rows of the capture file with the model and key columns, which the
// replay itself does not read.
QList<Row> fileRows(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = file.readAll().split('\n');
    const QList<QByteArray> header = lines.value(0).split('\t');
    const int id = int(header.indexOf("id")), rcid = int(header.indexOf("rcid")), key = int(header.indexOf("key"));
    QList<Row> rows;
    for (int i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines.at(i).split('\t');
        if (fields.size() != header.size())
            continue;
        rows.append({QString::fromUtf8(fields.value(id)), QString::fromUtf8(fields.value(rcid)),
                     QString::fromUtf8(fields.value(key))});
    }
    return rows;
}

} // namespace

class TestSampleReplay : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_previousDir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(TestSupport::enterSampleDirectory(m_dir.path(), &m_previousDir));
    }
    void cleanupTestCase()
    {
        MessageBox::takeLog();
        QDir::setCurrent(m_previousDir);
    }

    void replayShowsTheCodesOfTheSampleKeys()
    {
        const QString path = QDir::current().filePath(SampleCaptureFile::fileName());
        const QList<Row> rows = fileRows(path);
        QList<IrReplayRow> replayRows;
        QString error;
        QVERIFY2(IrReplayFile::load(path, &replayRows, &error), qPrintable(error));
        QCOMPARE(rows.size(), replayRows.size());
        QVERIFY(rows.size() >= 5);

        HidSession session(HidBackendChoice::choose(QStringLiteral("simulator"), QStringLiteral("remote2"), path));
        QVERIFY(session.simulator());
        UsbState state;
        state.setBackend(session.backend());
        MainWindowImpl w;
        UsbConnection connection(&state);
        connection.setTimings(ConnectionRig::fastTimings());
        UsbReceiverDots capture(&state, &w.captureStore);
        w.attachUsb(&state);
        w.connectUsbConnection(&connection);
        // The threads end before the window and the session, also when a check fails.
        const auto stopThreads = qScopeGuard([&] {
            capture.stop();
            connection.stop();
        });

        // The key code each press settles on: once its last message was
        // closed by the pause and handed on, the label holds the code until
        // the next press starts a new capture (at least two seconds later).
        QMap<unsigned, QString> shown;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            const CaptureStore::Counters c = w.captureStore.counters();
            if (c.messageCount > 0 && c.processedCount == c.messageCount && c.idx == 0 &&
                c.quietTicks > CaptureStore::kPauseTicks && !shown.contains(c.generation))
                shown.insert(c.generation, w.labelKeyId->text());
        });
        poll.start();
        connection.start();
        capture.start();
        QTRY_COMPARE(w.labelUSBreceiver->text(), QStringLiteral("USB infrared receiver is connected"));
        // Two seconds before the first press, then at least two between presses.
        QTRY_VERIFY_WITH_TIMEOUT(shown.size() >= rows.size(), 20000 + 4000 * int(rows.size()));
        poll.stop();
        capture.stop();
        connection.stop();
        QVERIFY(session.simulator()->violations().isEmpty());

        const QStringList codes = shown.values();
        QCOMPARE(codes.size(), rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            const Row &row = rows.at(i);
            QSqlQuery q;
            q.prepare(QStringLiteral("SELECT Name FROM rckeys WHERE Rcid=? AND ID=?"));
            q.addBindValue(row.rcid);
            q.addBindValue(codes.at(i));
            QVERIFY(q.exec());
            QVERIFY2(q.next(), qPrintable(QStringLiteral("%1 showed \"%2\", not a code of %3")
                                              .arg(row.id, codes.at(i), row.rcid)));
            QCOMPARE(q.value(0).toString(), row.key);
        }
    }
};

QTEST_MAIN(TestSampleReplay)
#include "tst_samplereplay.moc"
