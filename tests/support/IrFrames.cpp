#include "IrFrames.h"

#include "ir/CaptureStore.h"

#include <QElapsedTimer>
#include <QThread>

namespace IrFrames {

QVector<int> necFrame(quint32 bits)
{
    QVector<int> d{9000, 4500};
    for (int i = 0; i < 32; ++i)
        d << 560 << ((bits >> i) & 1 ? 1680 : 560);
    d << 560;
    return d;
}

QVector<int> rc5Frame(int toggle, int address, int command)
{
    const int word = (0b11 << 12) | (toggle << 11) | (address << 6) | command;
    QVector<bool> halves;
    for (int i = 13; i >= 0; --i) {
        const bool one = (word >> i) & 1;
        halves << !one << one; // true = mark
    }
    QVector<int> d;
    bool level = false;
    int run = 0;
    for (bool h : halves) {
        if (h != level && run > 0) {
            if (!d.isEmpty() || level)
                d << run * 889;
            run = 0;
        }
        level = h;
        ++run;
    }
    if (level)
        d << run * 889;
    return d;
}

QVector<int> row(int n, const QVector<int> &raw)
{
    QVector<int> r{n};
    for (int k = 0; k < raw.size(); ++k) {
        const int d = (raw[k] + 10) / 20 * 20;
        r << (k % 2 == 0 ? d : -(d + 20));
    }
    r << 0;
    return r;
}

Handed collect(CaptureStore &store, int count, int timeoutMs, const std::function<void()> &between)
{
    Handed handed;
    const auto handOn = [&](int n) {
        QVector<int> r{n};
        for (int k = 0; k < CaptureStore::kRowLength; ++k) {
            r << store.captureSnapshot[n][k];
            if (store.captureSnapshot[n][k] == 0)
                break;
        }
        handed << r;
    };
    const auto tick = [&] {
        if (between)
            between();
        store.tick(handOn);
    };
    QElapsedTimer clock;
    clock.start();
    while (handed.size() < count && clock.elapsed() < timeoutMs) {
        tick();
        QThread::msleep(50);
    }
    for (int i = 0; i < 4; ++i) {
        QThread::msleep(50);
        tick();
    }
    return handed;
}

} // namespace IrFrames
