#include "exchange/ImportValues.h"

#include <cmath>

namespace ImportValues {

int integer(const QString &text, int min, int max)
{
    if (text.isEmpty() || text.size() > 9)
        return -1;
    int value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value >= min && value <= max ? value : -1;
}

bool isCorrection(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) && value >= -20.0 && value <= 20.0;
}

QList<QString> latin1Lines(const QByteArray &bytes)
{
    QList<QString> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        qsizetype stop = end;
        if (end < bytes.size() && stop > start && bytes.at(stop - 1) == '\r')
            --stop;
        // The text of a line ends at its first NUL byte.
        const qsizetype nul = bytes.indexOf('\0', start);
        if (nul >= 0 && nul < stop)
            stop = nul;
        lines << QString::fromLatin1(bytes.constData() + start, stop - start);
        start = next;
    }
    return lines;
}

} // namespace ImportValues
