#include "exchange/ExchangeFile.h"

#include "app/QuotedValue.h"
#include "catalogue/DocumentationText.h"
#include "exchange/ImportValues.h"

#include <QDomDocument>
#include <QDomElement>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <utility>

namespace {

QString escaped(const QString &value)
{
    QString out;
    const QString clean = ExchangeFile::xmlCharacters(value);
    out.reserve(clean.size());
    for (const QChar c : clean) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        // A reader turns a bare CR into LF; the reference keeps it.
        case '\r': out += QLatin1String("&#xD;"); break;
        default: out += c;
        }
    }
    return out;
}

void leaf(QString &out, int level, const char *tag, const QString &value)
{
    out += QString(4 * level, QLatin1Char(' '));
    out += QLatin1Char('<') + QLatin1String(tag) + QLatin1Char('>') + escaped(value) + QLatin1String("</")
        + QLatin1String(tag) + QLatin1String(">\n");
}

void open(QString &out, int level, const char *tag)
{
    out += QString(4 * level, QLatin1Char(' ')) + QLatin1Char('<') + QLatin1String(tag) + QLatin1String(">\n");
}

void close(QString &out, int level, const char *tag)
{
    out += QString(4 * level, QLatin1Char(' ')) + QLatin1String("</") + QLatin1String(tag) + QLatin1String(">\n");
}

void empty(QString &out, int level, const char *tag)
{
    out += QString(4 * level, QLatin1Char(' ')) + QLatin1Char('<') + QLatin1String(tag) + QLatin1String("/>\n");
}

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

// The texts of the named children of an element; later duplicates win.
void collect(const QDomNode &parent, const QHash<QString, QString *> &fields)
{
    for (QDomNode n = parent.firstChild(); !n.isNull(); n = n.nextSibling()) {
        if (!n.isElement())
            continue;
        const QDomElement e = n.toElement();
        if (QString *target = fields.value(e.tagName()))
            *target = e.text();
    }
}

bool isElementNamed(const QDomNode &node, const char *tag)
{
    return node.isElement() && node.toElement().tagName() == QLatin1String(tag);
}

// Correction and Prot of a model row: empty, or a number within bounds; its
// documentation no longer than the record dialog edits.
QString modelNumbersError(const ExchangeFile::Model &m)
{
    if (m.documentation.size() > DocumentationText::kMaxStoredChars)
        return ExchangeFile::tr("Documentation is longer than %1 characters").arg(DocumentationText::kMaxStoredChars);
    if (!m.correction.isEmpty() && !ImportValues::isCorrection(m.correction))
        return ExchangeFile::tr("Correction \"%1\" is not a number from -20 to 20")
            .arg(QuotedValue::cut(m.correction));
    if (!m.prot.isEmpty() && ImportValues::integer(m.prot, 0, 999) < 0)
        return ExchangeFile::tr("Prot \"%1\" is not a protocol number").arg(QuotedValue::cut(m.prot));
    return QString();
}

// The document tree is built and read recursively; a file nested far deeper
// than the format ever is would exhaust the stack, so it is refused first.
constexpr int kMaxDepth = 64;

// Why the file is refused before it is parsed into a tree; empty when it is
// not. The format never carries a document type declaration: one could
// declare entities whose references the tree would silently drop.
QString refusedBeforeParsing(const QByteArray &bytes)
{
    QXmlStreamReader reader(bytes);
    int depth = 0;
    // Every token the tree keeps as a node counts (it drops text made only
    // of blanks), so its size is bounded whatever the file's shape.
    int nodes = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::DTD)
            return ExchangeFile::tr("the file has a document type declaration");
        if (token == QXmlStreamReader::StartElement && ++depth > kMaxDepth)
            return ExchangeFile::tr("elements nested deeper than %1 levels").arg(kMaxDepth);
        if (token == QXmlStreamReader::EndElement)
            --depth;
        const bool text = token == QXmlStreamReader::Characters && (!reader.isWhitespace() || reader.isCDATA());
        if ((text || token == QXmlStreamReader::StartElement || token == QXmlStreamReader::Comment
             || token == QXmlStreamReader::ProcessingInstruction || token == QXmlStreamReader::EntityReference)
            && ++nodes > ExchangeFile::MaxNodes)
            return ExchangeFile::tr("the file holds more than %1 elements, texts and comments")
                .arg(ExchangeFile::MaxNodes);
    }
    return QString();
}

bool isXmlCharacter(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

// True when every character of text can stand in an XML 1.0 file.
bool carriable(const QString &text)
{
    for (int i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            ++i;
            continue;
        }
        if (QChar::isSurrogate(c) || !isXmlCharacter(c))
            return false;
    }
    return true;
}

} // namespace

QString ExchangeFile::xmlCharacters(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c)) {
            // Only a whole pair is a character; a lone half is dropped.
            if (i + 1 < text.size() && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
                out += text.at(i);
                out += text.at(i + 1);
                ++i;
            }
            continue;
        }
        if (QChar::isLowSurrogate(c))
            continue;
        if (isXmlCharacter(c))
            out += QChar(c);
    }
    return out;
}

QString ExchangeFile::unwritable(const Document &d)
{
    auto model = [](const Model &m) {
        // The name itself is shown without the characters in question.
        return xmlCharacters(QStringLiteral("%1 %2 %3 (%4)").arg(m.brand, m.type, m.model, m.rcid)).simplified();
    };
    auto check = [&](const Model &m) {
        const std::pair<const char *, const QString *> fields[] = {
            {"Rcid", &m.rcid},
            {"Brand", &m.brand},
            {"Type", &m.type},
            {"Model", &m.model},
            {"Documentation", &m.documentation},
            {"Correction", &m.correction},
            {"Prot", &m.prot},
        };
        for (const auto &[name, value] : fields)
            if (!carriable(*value))
                return tr("The %1 of model %2 holds characters an XML file cannot carry.")
                    .arg(QLatin1String(name), model(m));
        return QString();
    };
    if (d.hasMaster) {
        QString why = check(d.master);
        if (why.isEmpty() && !carriable(d.rcTypeId))
            why = tr("The %1 of model %2 holds characters an XML file cannot carry.")
                      .arg(QStringLiteral("RCTypeId"), model(d.master));
        if (!why.isEmpty())
            return why;
    }
    for (const Key &k : d.keys) {
        const std::pair<const char *, const QString *> fields[] = {{"Name", &k.name}, {"ID", &k.id}, {"Nkey", &k.nkey}};
        for (const auto &[name, value] : fields)
            if (!carriable(*value))
                return tr("The %1 of key %2 of model %3 holds characters an XML file cannot carry.")
                    .arg(QLatin1String(name), ExchangeFile::xmlCharacters(k.name), model(d.master));
    }
    for (const Model &m : d.links) {
        const QString why = check(m);
        if (!why.isEmpty())
            return why;
    }
    if (!carriable(d.version))
        return tr("The version text holds characters an XML file cannot carry.");
    return QString();
}

QByteArray ExchangeFile::write(const Document &d)
{
    QString out = QStringLiteral("<?xml version=\"1.0\"?>\n");
    open(out, 0, "Irvanta");
    open(out, 1, "RCDescription");
    leaf(out, 2, "IrvantaVersion", d.version);
    if (d.hasMaster) {
        leaf(out, 2, "Rcid", d.master.rcid);
        leaf(out, 2, "Brand", d.master.brand);
        leaf(out, 2, "Type", d.master.type);
        leaf(out, 2, "Model", d.master.model);
        leaf(out, 2, "RCTypeId", d.rcTypeId);
        leaf(out, 2, "Documentation", d.master.documentation);
        leaf(out, 2, "Correction", d.master.correction);
        leaf(out, 2, "Prot", d.master.prot);
    }
    close(out, 1, "RCDescription");
    if (d.keys.isEmpty()) {
        empty(out, 1, "RCKeys");
    } else {
        open(out, 1, "RCKeys");
        for (const Key &k : d.keys) {
            open(out, 2, "RCKey");
            leaf(out, 3, "Name", k.name);
            leaf(out, 3, "ID", k.id);
            leaf(out, 3, "Nkey", k.nkey);
            close(out, 2, "RCKey");
        }
        close(out, 1, "RCKeys");
    }
    if (d.links.isEmpty()) {
        empty(out, 1, "RCLinks");
    } else {
        open(out, 1, "RCLinks");
        for (const Model &m : d.links) {
            open(out, 2, "RCLink");
            leaf(out, 3, "Rcid", m.rcid);
            leaf(out, 3, "Brand", m.brand);
            leaf(out, 3, "Type", m.type);
            leaf(out, 3, "Model", m.model);
            leaf(out, 3, "Documentation", m.documentation);
            leaf(out, 3, "Correction", m.correction);
            leaf(out, 3, "Prot", m.prot);
            close(out, 2, "RCLink");
        }
        close(out, 1, "RCLinks");
    }
    close(out, 0, "Irvanta");
    return out.toUtf8();
}

bool ExchangeFile::isRcid(const QString &text)
{
    static const QRegularExpression shape(QStringLiteral(
        "\\A(?:[0-9a-f]{8}|\\{[0-9a-fA-F]{8}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{12}\\})\\z"));
    return shape.match(text).hasMatch();
}

int ExchangeFile::fourInOnePosition(int p)
{
    // Position on the 4in1 layout -> key number; -1 where no key sits.
    static const int table[64] = {
        -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, // 0-9
        20, 16, 18, 17, 42, -1, -1, 26, 13, 12, // 10-19
        11, 34, 33, 32, 23, 10, 9,  8,  41, 31, // 20-29
        38, 15, 7,  6,  5,  37, 36, 35, 29, 4,  // 30-39
        3,  2,  27, 19, 30, 25, 40, 39, 28, 24, // 40-49
        21, 22, 1,  0,  -1, 14, -1, -1, -1, -1, // 50-59
        -1, -1, -1, -1,                         // 60-63
    };
    return p >= 0 && p < 64 ? table[p] : -1;
}

int ExchangeFile::nkeyFromPosition(const QString &position, int typeId)
{
    // b is the first character and p the third and fourth, each 0 when it
    // is not a number; blanks around p do not count.
    const int layer = position.isEmpty() ? -1 : ImportValues::integer(position.left(1), 0, 9);
    const int b = layer < 0 ? 0 : layer;
    const int digits = ImportValues::integer(position.mid(2, 2).trimmed(), 0, 99);
    const int p = digits < 0 ? 0 : digits;
    int nkey = -1;
    if (typeId >= 1 && typeId <= 4) {
        nkey = b * 56 + p;
    } else if (typeId == 5) {
        const int key = fourInOnePosition(p);
        if (key < 0)
            return NoKey;
        nkey = b * 43 + key;
    }
    return nkey <= MaxKeyNumber ? nkey : -1;
}

bool ExchangeFile::read(const QByteArray &bytes, Document *document, QString *error)
{
    Document d;
    const QString refusal = refusedBeforeParsing(bytes);
    if (!refusal.isEmpty())
        return fail(error, refusal);
    QDomDocument dom;
    QString parseError;
    int line = 0, column = 0;
    if (!dom.setContent(bytes, false, &parseError, &line, &column))
        return fail(error, tr("not well-formed XML (line %1, column %2: %3)")
                               .arg(line)
                               .arg(column)
                               .arg(parseError));
    const QDomElement root = dom.documentElement();
    const QDomNode description = root.firstChild();
    if (!isElementNamed(description, "RCDescription"))
        return fail(error, tr("the first child of the root is not RCDescription"));

    collect(description, {{QStringLiteral("IrvantaVersion"), &d.version},
                          {QStringLiteral("Rcid"), &d.master.rcid},
                          {QStringLiteral("Brand"), &d.master.brand},
                          {QStringLiteral("Type"), &d.master.type},
                          {QStringLiteral("Model"), &d.master.model},
                          {QStringLiteral("RCTypeId"), &d.rcTypeId},
                          {QStringLiteral("Documentation"), &d.master.documentation},
                          {QStringLiteral("Correction"), &d.master.correction},
                          {QStringLiteral("Prot"), &d.master.prot}});
    if (d.master.rcid.isEmpty() || d.master.brand.isEmpty() || d.master.type.isEmpty() || d.master.model.isEmpty()
        || d.rcTypeId.isEmpty())
        return fail(error, tr("Rcid, Brand, Type, Model or RCTypeId is missing"));
    d.hasMaster = true;
    if (!isRcid(d.master.rcid))
        return fail(error, tr("Rcid \"%1\" is not a model identity").arg(QuotedValue::cut(d.master.rcid)));
    const int typeId = ImportValues::integer(d.rcTypeId, 1, MaxTypeId);
    if (typeId < 0)
        return fail(error, tr("RCTypeId \"%1\" is not a remote type").arg(QuotedValue::cut(d.rcTypeId)));
    d.rcTypeId = QString::number(typeId);
    const QString numbers = modelNumbersError(d.master);
    if (!numbers.isEmpty())
        return fail(error, numbers);

    // Only the first character of the version counts ("10.1" is major 1).
    const QChar first = d.version.isEmpty() ? QChar() : d.version.at(0);
    const int major = first.isDigit() && first.unicode() < 128 ? first.digitValue() : 0;

    const QDomNode keys = description.nextSibling();
    if (!isElementNamed(keys, "RCKeys"))
        return fail(error, tr("no RCKeys group follows RCDescription"));
    int skippedKeys = 0;
    for (QDomNode entry = keys.firstChild(); !entry.isNull(); entry = entry.nextSibling()) {
        Key k;
        QString position, number;
        collect(entry, {{QStringLiteral("Name"), &k.name},
                        {QStringLiteral("ID"), &k.id},
                        {QStringLiteral("PCB"), &position},
                        {QStringLiteral("Nkey"), &number}});
        if (k.id.isEmpty())
            continue;
        int nkey;
        if (major == 1 && typeId <= 5) {
            nkey = nkeyFromPosition(position, typeId);
            if (nkey == NoKey) {
                // A remote-type-5 position without a key: the rest still fits.
                // The first few are named, the rest only counted.
                if (++skippedKeys <= ImportValues::SkippedLines::Shown)
                    d.log << tr("Key \"%1\" skipped: position \"%2\" has no key on remote type %3.")
                                 .arg(QuotedValue::cut(k.name), QuotedValue::cut(position), QString::number(typeId));
                continue;
            }
            if (nkey < 0)
                return fail(error, tr("key position \"%1\" has no key on remote type %2")
                                       .arg(QuotedValue::cut(position))
                                       .arg(typeId));
        } else {
            nkey = ImportValues::integer(number, 0, MaxKeyNumber);
            if (nkey < 0)
                return fail(error,
                            tr("key number \"%1\" is not 0 to %2").arg(QuotedValue::cut(number)).arg(MaxKeyNumber));
        }
        k.nkey = QString::number(nkey);
        d.keys << k;
    }
    if (skippedKeys > ImportValues::SkippedLines::Shown)
        d.log << tr("Keys skipped at positions without a key: %1 in all.").arg(skippedKeys);

    const QDomNode links = keys.nextSibling();
    d.hasLinksGroup = isElementNamed(links, "RCLinks");
    if (d.hasLinksGroup) {
        for (QDomNode entry = links.firstChild(); !entry.isNull(); entry = entry.nextSibling()) {
            Model m;
            collect(entry, {{QStringLiteral("Rcid"), &m.rcid},
                            {QStringLiteral("Brand"), &m.brand},
                            {QStringLiteral("Type"), &m.type},
                            {QStringLiteral("Model"), &m.model},
                            {QStringLiteral("Documentation"), &m.documentation},
                            {QStringLiteral("Correction"), &m.correction},
                            {QStringLiteral("Prot"), &m.prot}});
            if (m.rcid.isEmpty() || m.brand.isEmpty() || m.type.isEmpty() || m.model.isEmpty())
                continue;
            // A copy does not read the links, so a bad link only fails a replace.
            if (!isRcid(m.rcid)) {
                d.linksError = tr("link Rcid \"%1\" is not a model identity").arg(QuotedValue::cut(m.rcid));
                break;
            }
            const QString linkNumbers = modelNumbersError(m);
            if (!linkNumbers.isEmpty()) {
                d.linksError = tr("link %1: %2").arg(m.rcid, linkNumbers);
                break;
            }
            d.links << m;
        }
    }
    *document = d;
    return true;
}
