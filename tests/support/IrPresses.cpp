#include "IrPresses.h"

#include "IrFrames.h"

#include "ir/Decode.h"

#include <cstdlib>

namespace IrPresses {

namespace {

QString bits(int value, int width, bool lsbFirst)
{
    QString s;
    for (int i = 0; i < width; ++i) {
        const int bit = lsbFirst ? i : width - 1 - i;
        s += (value >> bit) & 1 ? QLatin1Char('1') : QLatin1Char('0');
    }
    return s;
}

} // namespace

QVector<int> sony12Frame(int command, int address)
{
    QVector<int> d{2400};
    const int word = command | (address << 7);
    for (int i = 0; i < 12; ++i)
        d << -600 << ((word >> i) & 1 ? 1200 : 600);
    return d;
}

QVector<int> press(const QVector<int> &frame, int count, int periodUs)
{
    int length = 0;
    for (int v : frame)
        length += std::abs(v);
    QVector<int> d;
    for (int k = 0; k < count; ++k) {
        if (k > 0)
            d << -(periodUs - length);
        d << frame;
    }
    d << -500000;
    return d;
}

QVector<int> sonyPress(int command, int address, int count)
{
    return press(sony12Frame(command, address), count, 45000);
}

QVector<int> rc5Press(int address, int command, int count)
{
    return press(IrFrames::rc5Frame(1, address, command), count, 113778);
}

QVector<int> noise(int count)
{
    QVector<int> d;
    quint32 x = 12345;
    for (int i = 0; i < count; ++i) {
        x = x * 1103515245u + 12345u;
        const int v = 150 + int((x >> 8) % 2351);
        d << (i % 2 == 0 ? v : -v);
    }
    d << -500000;
    return d;
}

QVector<int> joined(QVector<int> a, int silenceUs, const QVector<int> &b)
{
    while (!a.isEmpty() && a.last() < 0)
        a.removeLast();
    a << -silenceUs << b;
    return a;
}

QString sonyCode(int command, int address)
{
    // RecognizerId 39: command, address, nine zero bits.
    return QStringLiteral("0394") + Decode::encode(bits(command, 7, true) + bits(address, 5, true) + "000000000");
}

QString rc5Code(int address, int command)
{
    // RecognizerId 23 (second start bit 1): "1", address, command.
    return QStringLiteral("0232") + Decode::encode("1" + bits(address, 5, false) + bits(command, 6, false));
}

QByteArray field(const QVector<int> &durations)
{
    QByteArray s;
    for (int d : durations) {
        if (!s.isEmpty())
            s += ' ';
        s += QByteArray::number(d);
    }
    return s;
}

} // namespace IrPresses
