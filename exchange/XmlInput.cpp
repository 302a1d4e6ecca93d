#include "exchange/XmlInput.h"

#include "app/QuotedValue.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// The encodings an XML declaration at the start of text names, in order;
// false when it names one in a form that cannot be read. Only the text up
// to the next markup can be the declaration: Qt's reader refuses a "<" in it.
bool declaredEncodings(const QString &text, QStringList *names, bool *closed)
{
    *closed = true;
    if (!text.startsWith(QLatin1String("<?xml")) || text.size() < 6 || !isBlank(text.at(5).unicode()))
        return true;
    qsizetype end = text.indexOf(QLatin1Char('<'), 1);
    if (end < 0) {
        *closed = false;
        end = text.size();
    }
    static const QRegularExpression value(QStringLiteral("\\Gencoding\\s*=\\s*([\"'])([^\"']*)\\1"));
    const QStringView declaration = QStringView(text).left(end);
    for (qsizetype at = declaration.indexOf(QLatin1String("encoding")); at >= 0;
         at = declaration.indexOf(QLatin1String("encoding"), at + 1)) {
        const QRegularExpressionMatch match = value.match(declaration, at);
        if (!match.hasMatch())
            return false;
        *names << match.captured(2);
    }
    return true;
}

} // namespace

XmlInput::XmlInput(const QByteArray &bytes) : m_bytes(bytes)
{
    // As Qt's reader chooses: a byte-order mark or the pattern of the first
    // "<" tells UTF-16 or UTF-32, else UTF-8; a declared encoding then takes
    // over the whole file.
    std::optional<QStringConverter::Encoding> detected;
    if (bytes.size() >= 4)
        detected = QStringConverter::encodingForData(bytes, u'<');
    const QStringConverter::Encoding first = detected.value_or(QStringConverter::Utf8);

    // Only the declaration is needed: the start of the file is enough, unless
    // the declaration runs on past it.
    constexpr qsizetype kStart = 64 * 1024;
    QStringList declared;
    bool closed = true;
    bool readable = declaredEncodings(QStringDecoder(first).decode(bytes.left(kStart)), &declared, &closed);
    if (readable && !closed && bytes.size() > kStart) {
        declared.clear();
        readable = declaredEncodings(QStringDecoder(first).decode(bytes), &declared, &closed);
    }
    if (!readable) {
        m_refusal = tr("the encoding in the XML declaration cannot be read");
        return;
    }
    const bool utf8 = std::all_of(declared.cbegin(), declared.cend(), [](const QString &name) {
        return name.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0;
    });
    if (first == QStringConverter::Utf8 && utf8) {
        scan(bytes.constData(), bytes.size());
        return;
    }

    QStringDecoder decoder = declared.isEmpty() ? QStringDecoder(first) : QStringDecoder(declared.constLast().toLatin1());
    if (!decoder.isValid()) {
        m_refusal = tr("the encoding \"%1\" is not supported").arg(QuotedValue::cut(declared.constLast()));
        return;
    }
    m_text = decoder.decode(bytes);
    m_decoded = true;
    scan(reinterpret_cast<const char16_t *>(m_text.constData()), m_text.size());
}

std::unique_ptr<QXmlStreamReader> XmlInput::reader() const
{
    // Given a text, Qt's reader keeps to it whatever encoding it declares.
    auto reader = m_decoded ? std::make_unique<QXmlStreamReader>(m_text) : std::make_unique<QXmlStreamReader>(m_bytes);
    reader->setNamespaceProcessing(false);
    return reader;
}

// Markup is found the way Qt's reader finds it: a comment ends at the first
// "-->", a CDATA section at the first "]]>", a processing instruction at the
// first "?>", a start tag (and the declaration) at the first ">" outside a
// quoted value. Each attribute has exactly one quoted value. Where a file is
// not well-formed the reader stops at that place, so counting on past it
// only counts more.
template <typename Char>
void XmlInput::scan(const Char *text, qsizetype size)
{
    auto startsWith = [&](qsizetype at, const char *word) {
        for (qsizetype k = 0; word[k]; ++k)
            if (at + k >= size || text[at + k] != Char(word[k]))
                return false;
        return true;
    };
    // The position after the first occurrence of word from `from` on; the
    // end when there is none.
    auto after = [&](qsizetype from, const char *word) {
        const qsizetype length = qsizetype(std::strlen(word));
        for (qsizetype at = from; at + length <= size; ++at) {
            at = std::find(text + at, text + size - length + 1, Char(word[0])) - text;
            if (at + length <= size && startsWith(at, word))
                return at + length;
        }
        return size;
    };
    auto lineAt = [&](qsizetype at) { return 1 + std::count(text, text + at, Char('\n')); };

    qsizetype at = 0;
    while (at < size) {
        at = std::find(text + at, text + size, Char('<')) - text;
        if (at >= size)
            break;
        if (startsWith(at, "<!--")) {
            at = after(at + 4, "-->");
        } else if (startsWith(at, "<![CDATA[")) {
            at = after(at + 9, "]]>");
        } else if (startsWith(at, "<!DOCTYPE")) {
            m_refusal = tr("the file has a document type declaration");
            return;
        } else if (startsWith(at, "<?") && !(startsWith(at, "<?xml") && at + 5 < size && isBlank(text[at + 5]))) {
            at = after(at + 2, "?>");
        } else if (startsWith(at, "</") || startsWith(at, "<!")) {
            at += 2;
        } else {
            // A start tag, or the XML declaration with its pseudo-attributes.
            const qsizetype tag = at;
            int attributes = 0;
            for (++at; at < size && text[at] != Char('>'); ++at) {
                if (text[at] != Char('"') && text[at] != Char('\''))
                    continue;
                at = std::find(text + at + 1, text + size, text[at]) - text;
                if (at >= size)
                    return;
                if (++attributes > MaxAttributes) {
                    m_refusal = tr("the element on line %1 has more than %2 attributes")
                                    .arg(QString::number(lineAt(tag)), QString::number(MaxAttributes));
                    return;
                }
            }
            ++at;
        }
    }
}
