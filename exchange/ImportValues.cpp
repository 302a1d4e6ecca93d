#include "exchange/ImportValues.h"

#include <QCoreApplication>

#include <cmath>
#include <cstring>

namespace ImportValues {

namespace {

struct FieldBound
{
    Field field;
    int maxCharacters;
    const char *tooLong;
};

// QLineEdit's own limit: the longest brand, type, model, key name or code a
// user can type into the program.
constexpr int kLineEditCharacters = 32767;

constexpr FieldBound kFieldBounds[] = {
    {Field::Brand, kLineEditCharacters, QT_TRANSLATE_NOOP("ImportValues", "the brand is longer than %1 characters")},
    {Field::Type, kLineEditCharacters, QT_TRANSLATE_NOOP("ImportValues", "the type is longer than %1 characters")},
    {Field::Model, kLineEditCharacters, QT_TRANSLATE_NOOP("ImportValues", "the model is longer than %1 characters")},
    {Field::KeyName, kLineEditCharacters,
     QT_TRANSLATE_NOOP("ImportValues", "the key name is longer than %1 characters")},
    {Field::KeyCode, kLineEditCharacters,
     QT_TRANSLATE_NOOP("ImportValues", "the key code is longer than %1 characters")},
};

const FieldBound &boundOf(Field field)
{
    for (const FieldBound &bound : kFieldBounds)
        if (bound.field == field)
            return bound;
    Q_UNREACHABLE();
    return kFieldBounds[0];
}

} // namespace

int maxCharacters(Field field)
{
    return boundOf(field).maxCharacters;
}

QString tooLong(Field field, const QString &value)
{
    const FieldBound &bound = boundOf(field);
    if (value.size() <= bound.maxCharacters)
        return QString();
    return QCoreApplication::translate("ImportValues", bound.tooLong).arg(bound.maxCharacters);
}

QString onLine(qsizetype line, const QString &reason)
{
    return QCoreApplication::translate("ImportValues", "line %1: %2").arg(QString::number(line), reason);
}

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

void LineReader::lineEnd(qsizetype *stop, qsizetype *end) const
{
    const char *data = m_bytes.constData();
    const qsizetype size = m_bytes.size();
    qsizetype i = m_pos;
    while (i < size && data[i] != '\n' && data[i] != '\r')
        ++i;
    *stop = i;
    if (i < size && data[i] == '\r' && i + 1 < size && data[i + 1] == '\n')
        ++i;
    *end = i < size ? i + 1 : size;
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
    qsizetype stop, end;
    lineEnd(&stop, &end);
    *line = text(stop);
    m_pos = end;
    ++m_line;
    return true;
}

QString LineReader::rest()
{
    QString out;
    while (!atEnd()) {
        qsizetype stop, end;
        lineEnd(&stop, &end);
        out += text(end);
        m_pos = end;
        ++m_line;
    }
    return out;
}

void SkippedLines::add(qsizetype line, const QString &reason)
{
    if (m_first.size() < Shown)
        m_first << onLine(line, reason);
    ++m_count;
}

QString SkippedLines::summary() const
{
    if (m_count == 0)
        return QString();
    QString text = QCoreApplication::translate("ImportValues", "Lines skipped: %1").arg(m_count);
    text += QStringLiteral(" (") + m_first.join(QStringLiteral("; "));
    if (m_count > m_first.size())
        text += QStringLiteral("; ") + QChar(0x2026);
    return text + QStringLiteral(").");
}

} // namespace ImportValues
