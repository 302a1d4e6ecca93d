#include "exchange/ExchangeFile.h"

#include "app/QuotedValue.h"
#include "catalogue/DocumentationText.h"
#include "exchange/ImportValues.h"
#include "exchange/XmlInput.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <array>
#include <initializer_list>
#include <memory>
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
        // One from before the bound: the import would refuse the file.
        if (m.documentation.size() > DocumentationText::kMaxStoredChars)
            return tr("The Documentation of model %1 is longer than %2 characters, more than an import takes.")
                .arg(model(m), QString::number(DocumentationText::kMaxStoredChars));
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

namespace {

// Why a model's brand, type or model cannot be stored; empty when they can.
QString namesTooLong(const ExchangeFile::Model &m)
{
    using ImportValues::Field;
    for (const auto &[field, value] : {std::pair(Field::Brand, &m.brand), std::pair(Field::Type, &m.type),
                                       std::pair(Field::Model, &m.model)})
        if (const QString why = ImportValues::tooLong(field, *value); !why.isEmpty())
            return why;
    return QString();
}

// Nested far deeper than the format ever is (four levels): Qt's reader keeps
// every open element, so the depth is bounded too.
constexpr int kMaxDepth = 64;

// Qt's own message names what it read from the file between single quotes
// ("Entity 'x' not declared."), whole: each name, and any other run of
// characters without a blank, is cut as the program cuts its own quotes.
QString cutParseError(const QString &message)
{
    QString out;
    qsizetype at = 0;
    while (at < message.size()) {
        if (message.at(at).isSpace()) {
            out += message.at(at++);
            continue;
        }
        const bool quoted = message.at(at) == QLatin1Char('\'');
        const qsizetype close = quoted ? message.indexOf(QLatin1Char('\''), at + 1) : -1;
        if (close > at) {
            out += QLatin1Char('\'') + QuotedValue::cut(message.mid(at + 1, close - at - 1)) + QLatin1Char('\'');
            at = close + 1;
            continue;
        }
        qsizetype end = at;
        while (end < message.size() && !message.at(end).isSpace())
            ++end;
        out += QuotedValue::cut(message.mid(at, end - at));
        at = end;
    }
    return out;
}

// The file is read once, as a stream, keeping only what the document holds:
// no tree of it is built, so what reading costs follows the values, keys
// and links kept, never how many elements, comments or attributes the file
// has. The result is the one a tree of the file gives: the root's children
// are its nodes as a tree keeps them (text of blanks only is none), a
// field's text is all text inside its element, a later field of the same
// name wins, and the first failure in document order is the one told, a
// file that is not well-formed failing before all others.
class StreamRead
{
public:
    explicit StreamRead(QXmlStreamReader &reader) : m_reader(reader) {}

    bool run(ExchangeFile::Document *document, QString *error);

private:
    enum class Group { Other, Description, Keys, Links };

    void startElement();
    void endElement();
    void rootChild(bool element);
    void descriptionRead();
    void keyRead();
    void linkRead();
    // Gathers the text inside the element just opened into field (none for
    // a name that is not read); a present field is an empty text, not null.
    void gather(QString *field)
    {
        m_field = field;
        m_fieldDepth = m_depth;
        if (field)
            *field = QStringLiteral("");
    }
    // Only the first failure counts; after it nothing more is kept.
    void failWith(const QString &why)
    {
        if (m_failure.isEmpty())
            m_failure = why;
    }

    QXmlStreamReader &m_reader;
    ExchangeFile::Document m_d;
    QString m_failure;
    int m_depth = 0;
    int m_rootChildren = 0;
    Group m_group = Group::Other;
    QString *m_field = nullptr;
    int m_fieldDepth = 0;
    // The entry (key or link) being read and the line it starts on.
    ExchangeFile::Key m_key;
    QString m_position, m_number;
    ExchangeFile::Model m_link;
    qsizetype m_entryLine = 0;
    bool m_linksDone = false;
    int m_typeId = 0;
    int m_major = 0;
    ImportValues::SkippedLines m_skipped;
    // Where each key number's entry stands in the document's keys (-1: none
    // yet). The catalogue holds one key per number and the later one wins
    // there, so a later entry takes the earlier one's place: a file of
    // millions of keys on a few numbers is not written key by key.
    std::array<qsizetype, ExchangeFile::MaxKeyNumber + 1> m_keyAt = filledKeyPlaces();
    static std::array<qsizetype, ExchangeFile::MaxKeyNumber + 1> filledKeyPlaces()
    {
        std::array<qsizetype, ExchangeFile::MaxKeyNumber + 1> places;
        places.fill(-1);
        return places;
    }
};

bool StreamRead::run(ExchangeFile::Document *document, QString *error)
{
    while (!m_reader.atEnd()) {
        switch (m_reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++m_depth > kMaxDepth)
                return fail(error, ExchangeFile::tr("elements nested deeper than %1 levels").arg(kMaxDepth));
            startElement();
            break;
        case QXmlStreamReader::EndElement:
            endElement();
            --m_depth;
            break;
        case QXmlStreamReader::Characters:
            if (m_reader.isWhitespace() && !m_reader.isCDATA())
                break;
            if (m_depth == 1)
                rootChild(false);
            else if (m_field && m_failure.isEmpty())
                m_field->append(m_reader.text());
            break;
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
        case QXmlStreamReader::EntityReference:
            if (m_depth == 1)
                rootChild(false);
            break;
        case QXmlStreamReader::DTD:
            // The scan of the input refuses one first; this stays the rule.
            return fail(error, ExchangeFile::tr("the file has a document type declaration"));
        default:
            break;
        }
    }
    if (m_reader.hasError())
        return fail(error, ExchangeFile::tr("not well-formed XML (line %1, column %2: %3)")
                               .arg(QString::number(m_reader.lineNumber()), QString::number(m_reader.columnNumber()),
                                    cutParseError(m_reader.errorString())));
    if (!m_failure.isEmpty())
        return fail(error, m_failure);
    if (m_skipped.count() > 0)
        m_d.log << m_skipped.summary();
    *document = m_d;
    return true;
}

void StreamRead::rootChild(bool element)
{
    const QStringView name = element ? m_reader.qualifiedName() : QStringView();
    auto named = [&](const char *tag) { return element && name == QLatin1String(tag); };
    m_group = Group::Other;
    switch (++m_rootChildren) {
    case 1:
        if (named("RCDescription"))
            m_group = Group::Description;
        else
            failWith(ExchangeFile::tr("the first child of the root is not RCDescription"));
        break;
    case 2:
        if (named("RCKeys"))
            m_group = Group::Keys;
        else
            failWith(ExchangeFile::tr("no RCKeys group follows RCDescription"));
        break;
    case 3:
        m_d.hasLinksGroup = named("RCLinks");
        if (m_d.hasLinksGroup)
            m_group = Group::Links;
        break;
    default:
        break;
    }
}

void StreamRead::startElement()
{
    if (m_depth == 2)
        rootChild(true);
    if (m_depth < 3 || !m_failure.isEmpty() || m_field)
        return;
    const QStringView name = m_reader.qualifiedName();
    auto field = [&](std::initializer_list<std::pair<const char *, QString *>> fields) -> QString * {
        for (const auto &[tag, target] : fields)
            if (name == QLatin1String(tag))
                return target;
        return nullptr;
    };
    ExchangeFile::Model &master = m_d.master;
    switch (m_group) {
    case Group::Description:
        if (m_depth == 3)
            gather(field({{"IrvantaVersion", &m_d.version},
                          {"Rcid", &master.rcid},
                          {"Brand", &master.brand},
                          {"Type", &master.type},
                          {"Model", &master.model},
                          {"RCTypeId", &m_d.rcTypeId},
                          {"Documentation", &master.documentation},
                          {"Correction", &master.correction},
                          {"Prot", &master.prot}}));
        break;
    case Group::Keys:
        if (m_depth == 3) {
            m_key = ExchangeFile::Key();
            m_position.clear();
            m_number.clear();
            m_entryLine = m_reader.lineNumber();
        } else if (m_depth == 4) {
            gather(field({{"Name", &m_key.name}, {"ID", &m_key.id}, {"PCB", &m_position}, {"Nkey", &m_number}}));
        }
        break;
    case Group::Links:
        if (m_linksDone)
            break;
        if (m_depth == 3)
            m_link = ExchangeFile::Model();
        else if (m_depth == 4)
            gather(field({{"Rcid", &m_link.rcid},
                          {"Brand", &m_link.brand},
                          {"Type", &m_link.type},
                          {"Model", &m_link.model},
                          {"Documentation", &m_link.documentation},
                          {"Correction", &m_link.correction},
                          {"Prot", &m_link.prot}}));
        break;
    case Group::Other:
        break;
    }
}

void StreamRead::endElement()
{
    if (m_field && m_depth == m_fieldDepth) {
        m_field = nullptr;
        return;
    }
    if (m_depth == 1) {
        if (m_rootChildren == 0)
            failWith(ExchangeFile::tr("the first child of the root is not RCDescription"));
        else if (m_rootChildren == 1)
            failWith(ExchangeFile::tr("no RCKeys group follows RCDescription"));
        return;
    }
    if (!m_failure.isEmpty() || m_field)
        return;
    if (m_depth == 2 && m_group == Group::Description)
        descriptionRead();
    else if (m_depth == 3 && m_group == Group::Keys)
        keyRead();
    else if (m_depth == 3 && m_group == Group::Links && !m_linksDone)
        linkRead();
}

void StreamRead::descriptionRead()
{
    ExchangeFile::Model &m = m_d.master;
    if (m.rcid.isEmpty() || m.brand.isEmpty() || m.type.isEmpty() || m.model.isEmpty() || m_d.rcTypeId.isEmpty())
        return failWith(ExchangeFile::tr("Rcid, Brand, Type, Model or RCTypeId is missing"));
    if (const QString why = namesTooLong(m); !why.isEmpty())
        return failWith(why);
    m_d.hasMaster = true;
    if (!ExchangeFile::isRcid(m.rcid))
        return failWith(ExchangeFile::tr("Rcid \"%1\" is not a model identity").arg(QuotedValue::cut(m.rcid)));
    m_typeId = ImportValues::integer(m_d.rcTypeId, 1, ExchangeFile::MaxTypeId);
    if (m_typeId < 0)
        return failWith(ExchangeFile::tr("RCTypeId \"%1\" is not a remote type").arg(QuotedValue::cut(m_d.rcTypeId)));
    m_d.rcTypeId = QString::number(m_typeId);
    const QString numbers = modelNumbersError(m);
    if (!numbers.isEmpty())
        return failWith(numbers);
    // Only the first character of the version counts ("10.1" is major 1).
    const QChar first = m_d.version.isEmpty() ? QChar() : m_d.version.at(0);
    m_major = first.isDigit() && first.unicode() < 128 ? first.digitValue() : 0;
}

void StreamRead::keyRead()
{
    if (m_key.id.isEmpty())
        return;
    int nkey;
    if (m_major == 1 && m_typeId <= 5) {
        nkey = ExchangeFile::nkeyFromPosition(m_position, m_typeId);
        if (nkey == ExchangeFile::NoKey) {
            // A remote-type-5 position without a key: the rest still fits,
            // and one line of the log counts them all.
            m_skipped.add(m_entryLine, ExchangeFile::tr("key \"%1\": position \"%2\" has no key on remote type %3")
                                           .arg(QuotedValue::cut(m_key.name), QuotedValue::cut(m_position),
                                                QString::number(m_typeId)));
            return;
        }
        if (nkey < 0)
            return failWith(ExchangeFile::tr("key position \"%1\" has no key on remote type %2")
                                .arg(QuotedValue::cut(m_position), QString::number(m_typeId)));
    } else {
        nkey = ImportValues::integer(m_number, 0, ExchangeFile::MaxKeyNumber);
        if (nkey < 0)
            return failWith(ExchangeFile::tr("key number \"%1\" is not 0 to %2")
                                .arg(QuotedValue::cut(m_number), QString::number(ExchangeFile::MaxKeyNumber)));
    }
    // The numbers' texts are shared, not made once per key.
    static const QStringList keyNumbers = [] {
        QStringList out;
        for (int n = 0; n <= ExchangeFile::MaxKeyNumber; ++n)
            out << QString::number(n);
        return out;
    }();
    using ImportValues::Field;
    for (const auto &[field, value] : {std::pair(Field::KeyName, &m_key.name), std::pair(Field::KeyCode, &m_key.id)})
        if (const QString why = ImportValues::tooLong(field, *value); !why.isEmpty())
            return failWith(ImportValues::onLine(m_entryLine, why));
    m_key.nkey = keyNumbers.at(nkey);
    qsizetype &at = m_keyAt[size_t(nkey)];
    if (at >= 0) {
        m_d.keys[at] = m_key;
        return;
    }
    at = m_d.keys.size();
    m_d.keys << m_key;
}

void StreamRead::linkRead()
{
    const ExchangeFile::Model &m = m_link;
    if (m.rcid.isEmpty() || m.brand.isEmpty() || m.type.isEmpty() || m.model.isEmpty())
        return;
    // A copy does not read the links, so a bad link only fails a replace.
    if (!ExchangeFile::isRcid(m.rcid)) {
        m_d.linksError = ExchangeFile::tr("link Rcid \"%1\" is not a model identity").arg(QuotedValue::cut(m.rcid));
        m_linksDone = true;
        return;
    }
    QString why = modelNumbersError(m);
    if (why.isEmpty())
        why = namesTooLong(m);
    if (!why.isEmpty()) {
        m_d.linksError = ExchangeFile::tr("link %1: %2").arg(m.rcid, why);
        m_linksDone = true;
        return;
    }
    m_d.links << m;
}

} // namespace

bool ExchangeFile::read(const QByteArray &bytes, Document *document, QString *error)
{
    const XmlInput input(bytes);
    if (!input.refusal().isEmpty())
        return fail(error, input.refusal());
    const std::unique_ptr<QXmlStreamReader> reader = input.reader();
    return StreamRead(*reader).run(document, error);
}
