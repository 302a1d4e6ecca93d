// The threads that share the devices, run together on the simulator: the
// connection thread and the capture thread (and the request worker), with
// devices plugged, unplugged and silenced at chosen moments.
#include "IrFrames.h"
#include "LinkRig.h"
#include "usb/sim/SimulatedRemote1.h"
#include "usb/sim/SimulatedRemote2.h"

#include <QtTest>

using namespace IrFrames;

namespace {

const QStringList kStart = {"updateReceiver1", "updateUsb1"};
const QStringList kRemote1Read = {"updateUsb2", "updateCustomerNumber(4)", "updateUsb5", "updateUsb3"};
const QStringList kRemote2Read = {"updateUsb2", "updateCustomerNumber(4)", "updateUsb6", "updateUsb7", "updateUsb3"};

} // namespace

class TestLinkThreads : public QObject
{
    Q_OBJECT

private slots:
    // remote1 is the remote and remote2 the receiver. remote1 goes, so
    // remote2 is read as the remote: its answers reach the receiver channel
    // too, many more than the capture thread takes while the read runs. None
    // of them may become a message, and the next real frame arrives whole
    // and alone (an answer message would have raised the gap threshold and
    // cut the frame's lead-in).
    void deviceAnswersAreNotCaptured()
    {
        LinkRig rig;
        auto remote1 = rig.sim.addRemote1();
        auto remote2 = rig.sim.addRemote2();
        rig.sim.plug(remote1);
        rig.sim.plug(remote2);
        rig.start();
        const QStringList first = kStart + kRemote1Read + QStringList{"updateReceiver2"};
        QVERIFY(rig.waitForEvents(first.size()));
        rig.takeEvents();

        rig.sim.unplug(remote1);
        const QStringList second = QStringList{} + kRemote2Read;
        QVERIFY(rig.waitForEvents(second.size()));
        QCOMPARE(rig.events(), second);
        // The window ticks on meanwhile, as it would.
        QCOMPARE(collect(*rig.store, 1, 400), Handed{});

        const QVector<int> nec = necFrame(0x00FF807F);
        remote2->injectDurations(nec + QVector<int>{40000});
        QCOMPARE(collect(*rig.store, 1), Handed{row(0, nec)});
        QVERIFY2(rig.sim.violations().isEmpty(), qPrintable(rig.sim.violations().join('\n')));
    }

    // The worker writes a slot of remote2 and reads it again while the
    // receiver is open: the answers of the reread reach the receiver channel
    // too and must not become messages; a frame sent after the request
    // arrives whole, and one sent during it is not half taken.
    void workerRequestAnswersAreNotCaptured()
    {
        LinkRig rig;
        auto remote2 = rig.sim.addRemote2();
        rig.sim.plug(remote2);
        rig.start();
        QVERIFY(rig.waitForEvents(kStart.size() + kRemote2Read.size() + 1));
        QCOMPARE(collect(*rig.store, 1, 300), Handed{});

        UsbRequestData write;
        write.command = UsbCommand::WriteSlotRemote2;
        write.nPult = 1;
        write.flashData = QString(600, QLatin1Char('7'));
        QVERIFY(rig.carryOut(write));
        QVERIFY(rig.events().contains("worker:updateUsb7"));
        QCOMPARE(collect(*rig.store, 1, 400), Handed{});

        const QVector<int> nec = necFrame(0x20DF10EF);
        remote2->injectDurations(nec + QVector<int>{40000});
        QCOMPARE(collect(*rig.store, 1), Handed{row(0, nec)});
        QVERIFY2(rig.sim.violations().isEmpty(), qPrintable(rig.sim.violations().join('\n')));
    }
};

QTEST_GUILESS_MAIN(TestLinkThreads)
#include "tst_linkthreads.moc"
