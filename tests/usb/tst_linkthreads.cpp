// The threads that share the devices, run together on the simulator: the
// connection thread and the capture thread (and the request worker), with
// devices plugged, unplugged and silenced at chosen moments.
#include "ConnectionRig.h"
#include "IrFrames.h"
#include "ir/CaptureStore.h"
#include "usb/SimulatedRemote1.h"
#include "usb/SimulatedRemote2.h"
#include "usb/UsbReceiverDots.h"

#include <QtTest>

#include <memory>

using namespace IrFrames;

namespace {

const QStringList kStart = {"updateReceiver1", "updateUsb1"};
const QStringList kRemote1Read = {"updateUsb2", "updateCustomerNumber(4)", "updateUsb5", "updateUsb3"};
const QStringList kRemote2Read = {"updateUsb2", "updateCustomerNumber(4)", "updateUsb6", "updateUsb7", "updateUsb3"};

// The connection rig with a capture thread on the same USB state, as the
// application runs them.
struct LinkRig : ConnectionRig
{
    explicit LinkRig(const UsbConnection::Timings &timings = fastTimings()) : ConnectionRig(timings)
    {
        capture = std::make_unique<UsbReceiverDots>(&state, store.get());
    }
    ~LinkRig() { capture->stop(); }

    void start()
    {
        connection.start();
        capture->start();
    }

    std::unique_ptr<CaptureStore> store = std::make_unique<CaptureStore>();
    std::unique_ptr<UsbReceiverDots> capture;
};

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
};

QTEST_GUILESS_MAIN(TestLinkThreads)
#include "tst_linkthreads.moc"
