#include "exchange/ImportValues.h"

#include <cmath>
#include <cstring>

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

qsizetype LineReader::lineEnd() const
{
    const qsizetype lf = m_bytes.indexOf('\n', m_pos);
    return lf < 0 ? m_bytes.size() : lf + 1;
}

QString LineReader::text(qsizetype end) const
{
    // The search stays inside the line: looking further would make reading
    // a file take time growing with the square of its size.
    const char *begin = m_bytes.constData() + m_pos;
    if (const void *nul = std::memchr(begin, '\0', size_t(end - m_pos)))
        end = m_pos + (static_cast<const char *>(nul) - begin);
    return QString::fromLatin1(m_bytes.constData() + m_pos, end - m_pos);
}

bool LineReader::next(QString *line)
{
    if (atEnd())
        return false;
    const qsizetype end = lineEnd();
    qsizetype stop = end;
    if (stop > m_pos && m_bytes.at(stop - 1) == '\n') {
        --stop;
        if (stop > m_pos && m_bytes.at(stop - 1) == '\r')
            --stop;
    }
    *line = text(stop);
    m_pos = end;
    return true;
}

QString LineReader::rest()
{
    QString out;
    while (!atEnd()) {
        const qsizetype end = lineEnd();
        out += text(end);
        m_pos = end;
    }
    return out;
}

} // namespace ImportValues
