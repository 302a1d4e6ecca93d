#include "app/TranslationLookup.h"

#include "app/CheckedFile.h"

#include <QByteArray>

#include <cstring>

namespace TranslationLookup {

namespace {

// The layout QTranslator reads: a magic number, then sections of a tag
// byte and a 32-bit big-endian length; the hash section holds (hash,
// offset) pairs sorted by hash, each offset pointing at a message record
// in the message section, a record being tagged fields up to an end tag.
const unsigned char kMagic[16] = {0x3c, 0xb8, 0x64, 0x18, 0xca, 0xef, 0x9c, 0x95,
                                  0xcd, 0x21, 0x1c, 0xbf, 0x60, 0xa1, 0xbd, 0xdd};
enum : unsigned char { SectionHashes = 0x42, SectionMessages = 0x69 };
enum : unsigned char {
    TagEnd = 1,
    TagTranslation = 3,
    TagObsolete1 = 5,
    TagSourceText = 6,
    TagContext = 7,
    TagComment = 8,
};

// A field of a name's record is short; a longer one is not the name.
constexpr quint32 kFieldBytes = 4096;
// Records sharing the hash that are tried; a file made of collisions
// costs no more than this.
constexpr int kCandidates = 16;
// Sections read: a file has about six kinds; one made of empty sections
// would otherwise cost a read per five bytes.
constexpr int kSections = 32;

quint32 be32(const unsigned char *p)
{
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
}

// The hash QTranslator files messages under (source text, then comment).
quint32 messageHash(const char *sourceText)
{
    quint32 h = 0;
    for (const unsigned char *k = reinterpret_cast<const unsigned char *>(sourceText); *k; ++k) {
        h = (h << 4) + *k;
        const quint32 g = h & 0xf0000000u;
        if (g != 0)
            h ^= g >> 24;
        h &= ~g;
    }
    return h == 0 ? 1 : h;
}

// A stored text equals target; a stored text may carry its closing zero.
bool sameText(const QByteArray &stored, const char *target)
{
    qsizetype length = stored.size();
    if (length > 0 && stored.at(length - 1) == '\0')
        --length;
    return length == qsizetype(std::strlen(target)) && std::memcmp(stored.constData(), target, size_t(length)) == 0;
}

class Reader
{
public:
    Reader(const ReadAt &readAt, qint64 fileSize) : m_readAt(readAt), m_size(fileSize) {}

    // Bytes [offset, offset + size) of the file, refused past its end
    // without asking readAt.
    bool read(qint64 offset, void *data, qint64 size)
    {
        if (offset < 0 || size < 0 || offset > m_size || size > m_size - offset) {
            m_outside = true;
            return false;
        }
        if (size == 0)
            return true;
        if (!m_readAt(offset, static_cast<char *>(data), size)) {
            m_failed = true;
            return false;
        }
        return true;
    }
    bool failed() const { return m_failed; }
    qint64 size() const { return m_size; }

private:
    const ReadAt &m_readAt;
    qint64 m_size;
    bool m_failed = false;
    bool m_outside = false;
};

enum class Record { Match, NoMatch, Failed };

// The record at [at, end): its translation when it is the message asked for.
Record readRecord(Reader &file, qint64 at, qint64 end, const char *context, const char *sourceText,
                  QString *translation)
{
    bool haveTranslation = false;
    QByteArray translated;
    for (;;) {
        unsigned char tag = TagEnd; // a record that runs to the section's end ends there
        if (at < end) {
            if (!file.read(at, &tag, 1))
                return file.failed() ? Record::Failed : Record::NoMatch;
            ++at;
        }
        if (tag == TagEnd)
            break;
        if (tag == TagObsolete1) {
            at += 4;
            continue;
        }
        if (tag != TagTranslation && tag != TagSourceText && tag != TagContext && tag != TagComment)
            return Record::NoMatch;
        unsigned char lengthBytes[4];
        if (at + 4 > end || !file.read(at, lengthBytes, 4))
            return file.failed() ? Record::Failed : Record::NoMatch;
        at += 4;
        const quint32 length = be32(lengthBytes);
        if (tag == TagTranslation && (length & 1u))
            return Record::NoMatch; // untranslated (or not text)
        if (length > kFieldBytes || length > end - at)
            return Record::NoMatch;
        QByteArray field(qsizetype(length), Qt::Uninitialized);
        if (!file.read(at, field.data(), length))
            return file.failed() ? Record::Failed : Record::NoMatch;
        at += length;
        switch (tag) {
        case TagTranslation:
            // The first translation is the one that is not plural.
            if (!haveTranslation) {
                translated = field;
                haveTranslation = true;
            }
            break;
        case TagSourceText:
            if (!sameText(field, sourceText))
                return Record::NoMatch;
            break;
        case TagContext:
            if (!sameText(field, context))
                return Record::NoMatch;
            break;
        case TagComment:
            if (!field.isEmpty() && !sameText(field, ""))
                return Record::NoMatch;
            break;
        }
    }
    if (!haveTranslation)
        return Record::NoMatch;
    QString text(translated.size() / 2, Qt::Uninitialized);
    const auto *bytes = reinterpret_cast<const unsigned char *>(translated.constData());
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(char16_t(bytes[2 * i] << 8 | bytes[2 * i + 1]));
    *translation = text;
    return Record::Match;
}

} // namespace

Result find(const ReadAt &readAt, qint64 fileSize, const char *context, const char *sourceText,
            QString *translation)
{
    translation->clear();
    Reader file(readAt, fileSize);
    auto none = [&] { return file.failed() ? Result::ReadFailed : Result::None; };

    unsigned char magic[sizeof kMagic];
    if (!file.read(0, magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof kMagic) != 0)
        return none();
    qint64 hashesAt = -1, hashesLength = 0, messagesAt = -1, messagesLength = 0;
    qint64 at = sizeof kMagic;
    for (int section = 0; section < kSections && at + 5 <= file.size(); ++section) {
        unsigned char header[5];
        if (!file.read(at, header, 5))
            return none();
        const qint64 length = be32(header + 1);
        at += 5;
        if (length > file.size() - at)
            return Result::None; // QTranslator refuses such a file
        if (header[0] == SectionHashes) {
            hashesAt = at;
            hashesLength = length;
        } else if (header[0] == SectionMessages) {
            messagesAt = at;
            messagesLength = length;
        }
        at += length;
    }
    const qint64 entries = hashesLength / 8;
    if (hashesAt < 0 || messagesAt < 0 || entries == 0)
        return Result::None;

    const quint32 wanted = messageHash(sourceText);
    auto hashAt = [&](qint64 entry, quint32 *hash, quint32 *offset) {
        unsigned char pair[8];
        if (!file.read(hashesAt + entry * 8, pair, 8))
            return false;
        *hash = be32(pair);
        if (offset)
            *offset = be32(pair + 4);
        return true;
    };
    // The first entry of the wanted hash.
    qint64 low = 0, high = entries;
    while (low < high) {
        const qint64 middle = low + (high - low) / 2;
        quint32 hash = 0;
        if (!hashAt(middle, &hash, nullptr))
            return none();
        if (hash < wanted)
            low = middle + 1;
        else
            high = middle;
    }
    for (int tried = 0; low < entries && tried < kCandidates; ++low, ++tried) {
        quint32 hash = 0, offset = 0;
        if (!hashAt(low, &hash, &offset))
            return none();
        if (hash != wanted)
            break;
        if (offset >= messagesLength)
            continue;
        switch (readRecord(file, messagesAt + offset, messagesAt + messagesLength, context, sourceText, translation)) {
        case Record::Match:
            return Result::Found;
        case Record::Failed:
            return Result::ReadFailed;
        case Record::NoMatch:
            break;
        }
    }
    return none();
}

Result find(const QString &path, qint64 maxBytes, const char *context, const char *sourceText,
            QString *translation, QString *problem)
{
    translation->clear();
    CheckedFile::Pieces pieces;
    switch (pieces.open(path, maxBytes, problem)) {
    case CheckedFile::Result::Missing:
        if (problem)
            problem->clear();
        return Result::None;
    case CheckedFile::Result::Refused:
        return Result::ReadFailed;
    case CheckedFile::Result::Done:
        break;
    }
    QString why;
    const ReadAt readAt = [&](qint64 offset, char *data, qint64 size) {
        return pieces.readAt(offset, data, size, &why);
    };
    const Result result = find(readAt, pieces.size(), context, sourceText, translation);
    if (result == Result::ReadFailed && problem)
        *problem = why;
    return result;
}

} // namespace TranslationLookup
