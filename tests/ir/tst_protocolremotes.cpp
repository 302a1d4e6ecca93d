// Key presses of real remotes, rendered from the protocols' published
// timings, through the capture store, the candidate chain and the resolver:
// each protocol lands on the row meant for it, a key gives one code however
// often it is pressed, and different keys give different codes.
#include "CandidateFrames.h"
#include "ir/CaptureStore.h"
#include "ir/Protocol.h"

#include <QSet>
#include <QtTest>

#include <cstdlib>
#include <memory>

using RemoteFrames::Remote;
Q_DECLARE_METATYPE(Remote)

namespace {

struct Heard
{
    QString code = QStringLiteral("UNKNOWN");
    QVector<int> ids; // RecognizerId of each message
};

// The press as the receiver hands it over: durations, then the silence after
// each frame (which closes the message), the window ticking in between.
Heard hear(const RemoteFrames::Press &press)
{
    auto store = std::make_unique<CaptureStore>();
    Protocol protocol;
    Heard heard;
    const auto handOn = [&](int n) {
        protocol.recognizeFrame(*store, n, ReceiveMode::Modulated);
        heard.code = Protocol::resolveKeyCode(*store, n);
        heard.ids << store->messageRecognizerId[n];
    };
    for (int k = 0; k < press.frames.size(); ++k) {
        QVector<int> durations;
        for (const int v : press.frames[k])
            durations << std::abs(v);
        durations << press.gaps[k];
        store->appendDurations(durations.constData(), durations.size());
        store->tick(handOn);
    }
    for (int t = 0; t < 6; ++t)
        store->tick(handOn);
    return heard;
}

} // namespace

class TestProtocolRemotes : public QObject
{
    Q_OBJECT

private slots:
    void landsOnItsRow_data()
    {
        QTest::addColumn<Remote>("remote");
        QTest::addColumn<int>("frames");
        QTest::addColumn<QVector<int>>("ids");
        QTest::addColumn<QString>("prefix");
        QTest::addRow("NEC, one frame") << Remote::Nec << 1 << QVector<int>{315} << "3165";
        // A short tap (one ditto) gets the held key's code.
        QTest::addRow("NEC and one ditto") << Remote::Nec << 2 << QVector<int>{315, 18} << "3155";
        QTest::addRow("NEC and three dittos") << Remote::Nec << 4 << QVector<int>{315, 18, 18, 18} << "3155";
        QTest::addRow("NEC repeated in full") << Remote::Nec2 << 3 << QVector<int>{315, 315, 315} << "3165";
        QTest::addRow("JVC, one frame") << Remote::Jvc << 1 << QVector<int>{10} << "0103";
        QTest::addRow("JVC and headerless repeats") << Remote::Jvc << 4 << QVector<int>{10, 11, 11, 11} << "0103";
        QTest::addRow("Kaseikyo") << Remote::Kaseikyo << 3 << QVector<int>{20, 20, 20} << "0207";
        QTest::addRow("Samsung32, one frame") << Remote::Samsung32 << 1 << QVector<int>{232} << "2325";
        QTest::addRow("Samsung32 repeated") << Remote::Samsung32 << 3 << QVector<int>{232, 232, 232} << "2325";
        QTest::addRow("Denon, two pairs") << Remote::Denon << 4 << QVector<int>{37, 37, 37, 37} << "0373";
        QTest::addRow("RCA") << Remote::Rca << 3 << QVector<int>{27, 27, 27} << "0272";
        QTest::addRow("Mitsubishi") << Remote::Mitsubishi << 3 << QVector<int>{50, 50, 50} << "0502";
        QTest::addRow("Nokia32") << Remote::Nokia32 << 3 << QVector<int>{78, 78, 78} << "0784";
    }
    void landsOnItsRow()
    {
        QFETCH(Remote, remote);
        QFETCH(int, frames);
        QFETCH(QVector<int>, ids);
        QFETCH(QString, prefix);
        QRandomGenerator rng(7);
        for (int n = 0; n < 5; ++n) {
            const quint32 device = rng.bounded(256u);
            const quint32 command = rng.bounded(256u);
            const Heard heard = hear(RemoteFrames::press(remote, device, command, frames, rng));
            QCOMPARE(heard.ids, ids);
            QCOMPARE(heard.code.left(prefix.size()), prefix);
        }
    }

    // Eight keys, each pressed twice with fresh jitter: one code per key,
    // none shared, none "UNKNOWN".
    void keysStayApart_data()
    {
        QTest::addColumn<Remote>("remote");
        QTest::addColumn<int>("frames");
        QTest::addColumn<quint32>("deviceMask");
        QTest::addRow("NEC") << Remote::Nec << 4 << 0xFFFFu;
        QTest::addRow("NEC repeated in full") << Remote::Nec2 << 2 << 0xFFu;
        QTest::addRow("JVC") << Remote::Jvc << 3 << 0xFFu;
        QTest::addRow("Kaseikyo") << Remote::Kaseikyo << 2 << 0xFF0FFFFFu;
        QTest::addRow("Samsung32") << Remote::Samsung32 << 2 << 0xFFFFu;
        QTest::addRow("Denon") << Remote::Denon << 2 << 0x1Fu;
        QTest::addRow("RCA") << Remote::Rca << 2 << 0xFu;
        QTest::addRow("Mitsubishi") << Remote::Mitsubishi << 2 << 0xFFu;
        QTest::addRow("Nokia32") << Remote::Nokia32 << 2 << 0xFFFFu;
    }
    void keysStayApart()
    {
        QFETCH(Remote, remote);
        QFETCH(int, frames);
        QFETCH(quint32, deviceMask);
        QRandomGenerator rng(11);
        QSet<QString> codes;
        QSet<QPair<quint32, quint32>> keys;
        while (keys.size() < 8) {
            // Neighbouring keys of one device, and other devices.
            const quint32 device = keys.size() < 4 ? 0x2Au & deviceMask : rng.generate() & deviceMask;
            const quint32 command = rng.bounded(256u);
            if (keys.contains({device, command}))
                continue;
            keys.insert({device, command});
            const QString first = hear(RemoteFrames::press(remote, device, command, frames, rng)).code;
            const QString again = hear(RemoteFrames::press(remote, device, command, frames, rng)).code;
            QVERIFY2(first != QLatin1String("UNKNOWN"), qPrintable(QString::number(command)));
            QCOMPARE(again, first);
            QVERIFY2(!codes.contains(first), qPrintable(first));
            codes.insert(first);
        }
    }

    // A remote whose clock runs 5% slow or fast stretches every duration,
    // its headers included: the keys still land on their rows and give the
    // code of the same key at the nominal clock.
    void clockOff_data()
    {
        QTest::addColumn<Remote>("remote");
        QTest::addColumn<int>("frames");
        QTest::addColumn<QVector<int>>("ids");
        QTest::addColumn<double>("clock");
        QTest::addRow("JVC slow") << Remote::Jvc << 3 << QVector<int>{10, 11, 11} << 1.05;
        QTest::addRow("JVC fast") << Remote::Jvc << 3 << QVector<int>{10, 11, 11} << 0.95;
        QTest::addRow("JVC one frame, slow") << Remote::Jvc << 1 << QVector<int>{10} << 1.05;
        QTest::addRow("JVC one frame, fast") << Remote::Jvc << 1 << QVector<int>{10} << 0.95;
        QTest::addRow("NEC one frame, slow") << Remote::Nec << 1 << QVector<int>{315} << 1.05;
        QTest::addRow("NEC one frame, fast") << Remote::Nec << 1 << QVector<int>{315} << 0.95;
    }
    void clockOff()
    {
        QFETCH(Remote, remote);
        QFETCH(int, frames);
        QFETCH(QVector<int>, ids);
        QFETCH(double, clock);
        QRandomGenerator rng(5);
        for (int n = 0; n < 20; ++n) {
            const quint32 device = rng.bounded(256u);
            const quint32 command = rng.bounded(256u);
            const QString nominal = hear(RemoteFrames::press(remote, device, command, frames, rng)).code;
            RemoteFrames::Press press = RemoteFrames::press(remote, device, command, frames, rng);
            for (QVector<int> &frame : press.frames) {
                for (int &v : frame)
                    v = qRound(v * clock);
            }
            for (int &gap : press.gaps)
                gap = qRound(gap * clock);
            const Heard heard = hear(press);
            QCOMPARE(heard.ids, ids);
            QVERIFY(nominal != QLatin1String("UNKNOWN"));
            QCOMPARE(heard.code, nominal);
        }
    }

    // A clock 5% off with the receiver's jitter of 2% on every duration
    // (headers and periods included): each press gives the code of the same
    // key at the nominal clock, every frame on its row.
    void clockOffWithJitter_data()
    {
        QTest::addColumn<Remote>("remote");
        QTest::addColumn<int>("frames");
        QTest::addColumn<QVector<int>>("ids");
        QTest::addColumn<double>("clock");
        for (const double clock : {0.95, 1.0, 1.05}) {
            const QByteArray at = QByteArray::number(clock);
            QTest::addRow("JVC at %s", at.constData()) << Remote::Jvc << 3 << QVector<int>{10, 11, 11} << clock;
            QTest::addRow("JVC one frame at %s", at.constData()) << Remote::Jvc << 1 << QVector<int>{10} << clock;
            QTest::addRow("JVC repeats alone at %s", at.constData())
                << Remote::Jvc << -3 << QVector<int>{11, 11} << clock;
            QTest::addRow("Samsung32 at %s", at.constData())
                << Remote::Samsung32 << 3 << QVector<int>{232, 232, 232} << clock;
            QTest::addRow("Samsung32 one frame at %s", at.constData())
                << Remote::Samsung32 << 1 << QVector<int>{232} << clock;
            QTest::addRow("Samsung20 at %s", at.constData())
                << Remote::Samsung20 << 2 << QVector<int>{233, 233} << clock;
            QTest::addRow("NECx with one-bit repeats at %s", at.constData())
                << Remote::Necx << 3 << QVector<int>{232, 32, 32} << clock;
        }
    }
    void clockOffWithJitter()
    {
        QFETCH(Remote, remote);
        QFETCH(int, frames);
        QFETCH(QVector<int>, ids);
        QFETCH(double, clock);
        // A negative count: the press without its first frame.
        const bool firstMissed = frames < 0;
        const auto pressOf = [&](quint32 device, quint32 command, QRandomGenerator &rng,
                                 const RemoteFrames::Drift &drift) {
            RemoteFrames::Press press = RemoteFrames::press(remote, device, command, std::abs(frames), rng, drift);
            if (firstMissed) {
                press.frames.removeFirst();
                press.gaps.removeFirst();
            }
            return press;
        };
        QRandomGenerator rng(17);
        for (int n = 0; n < 36; ++n) {
            const quint32 device = rng.bounded(0x10000u);
            const quint32 command = rng.bounded(256u);
            const Heard nominal = hear(pressOf(device, command, rng, {1.0, 0.0}));
            QVERIFY(nominal.code != QLatin1String("UNKNOWN"));
            const Heard heard = hear(pressOf(device, command, rng, {clock, 0.02}));
            const QString what = QStringLiteral("press %1: %2").arg(n).arg(nominal.code);
            QVERIFY2(heard.ids == ids, qPrintable(what));
            QVERIFY2(heard.code == nominal.code, qPrintable(what));
        }
    }

    // JVC's repeats alone (the first frame missed) still give a code, of
    // their own protocol number.
    void jvcRepeatsAlone()
    {
        QRandomGenerator rng(3);
        RemoteFrames::Press press = RemoteFrames::press(Remote::Jvc, 0x03, 0x17, 4, rng);
        press.frames.removeFirst();
        press.gaps.removeFirst();
        const Heard heard = hear(press);
        QCOMPARE(heard.ids, (QVector<int>{11, 11, 11}));
        QCOMPARE(heard.code.left(4), QStringLiteral("0113"));
    }

    // Nokia32's toggle bit flips from press to press of one key: the code
    // leaves it out.
    void nokiaToggleLeftOut()
    {
        QRandomGenerator rng(5);
        const Heard plain = hear(RemoteFrames::press(Remote::Nokia32, 0x25F0, 0x81, 2, rng));
        const Heard toggled = hear(RemoteFrames::press(Remote::Nokia32, 0x25F0, 0x181, 2, rng));
        QCOMPARE(plain.ids, (QVector<int>{78, 78}));
        QCOMPARE(toggled.code, plain.code);
        QVERIFY(hear(RemoteFrames::press(Remote::Nokia32, 0x25F0, 0x82, 2, rng)).code != plain.code);
    }

    // A Samsung32 frame followed by one-bit repeats (as NECx remotes send
    // them) gives the first frame's bits and the repeat's bit under
    // protocol 234, from the first repeat on.
    void oneBitRepeats()
    {
        QRandomGenerator rng(9);
        const RemoteFrames::Press full = RemoteFrames::press(Remote::Samsung32, 0x0707, 0x02, 1, rng);
        RemoteFrames::Press press = full;
        const QVector<int> repeat{4500, -4500, 560, -1690, 560};
        for (int k = 0; k < 3; ++k) {
            press.frames << repeat;
            press.gaps << 50000;
        }
        const Heard heard = hear(press);
        QCOMPARE(heard.ids, (QVector<int>{232, 32, 32, 32}));
        QCOMPARE(heard.code.left(4), QStringLiteral("2345"));
        press.frames.resize(2);
        press.gaps.resize(2);
        QCOMPARE(hear(press).code, heard.code);
    }
};

QTEST_APPLESS_MAIN(TestProtocolRemotes)
#include "tst_protocolremotes.moc"
