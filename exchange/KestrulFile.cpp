#include "exchange/KestrulFile.h"

#include "app/QuotedValue.h"
#include "exchange/ImportValues.h"
#include "ir/Decode.h"

#include <QDebug>

#include <utility>

namespace {

// Bits first..last of value, least significant first, or from last down to
// first when first > last.
void appendBits(QString &out, quint32 value, int first, int last, bool complement = false)
{
    const int step = first <= last ? 1 : -1;
    for (int bit = first;; bit += step) {
        const bool set = ((value >> bit) & 1u) != complement;
        out += set ? QLatin1Char('1') : QLatin1Char('0');
        if (bit == last)
            break;
    }
}

// The value of a header line: after its first "=", trimmed.
QString headerValue(const QString &line)
{
    const int eq = line.indexOf(QLatin1Char('='));
    return (eq < 0 ? line : line.mid(eq + 1)).trimmed();
}

struct CodeRule
{
    const char *code;
    const char *prefix;
    int numbers; // how many numbers the rule reads
};

// The codes the format uses that have a key code here.
const CodeRule kRules[] = {
    {"0043", "0232", 3}, {"0051", "3155", 3}, {"0093", "0373", 3}, {"0096", "0394", 2}, {"0097", "0394", 2},
    {"0099", "0394", 2}, {"0101", "0103", 2}, {"0176", "0264", 4}, {"0254", "3155", 2}, {"0309", "0217", 6},
    {"0313", "0207", 6}, {"0322", "2325", 4}, {"1018", "2345", 4},
};

} // namespace

int KestrulFile::keyNumber(int n)
{
    static const int table[86] = {
        1,  0,  14, 16, 22, 24, 2,  3,  4,  29, // 0-9
        5,  6,  7,  15, 8,  9,  10, 23, 11, 12, // 10-19
        13, 26, 17, 18, 19, 20, 21, 25, 28, 30, // 20-29
        27, 39, 40, 41, 42, 35, 36, 37, 38, 31, // 30-39
        32, 33, 34, 44, 43, 57, 59, 65, 67, 45, // 40-49
        46, 47, 72, 48, 49, 50, 58, 51, 52, 53, // 50-59
        66, 54, 55, 56, 69, 60, 61, 62, 63, 64, // 60-69
        68, 71, 73, 70, 82, 83, 84, 85, 78, 79, // 70-79
        80, 81, 74, 75, 76, 77,                 // 80-85
    };
    return n >= 0 && n < 86 ? table[n] : -1;
}

bool KestrulFile::codeBits(const QString &code, const QList<quint32> &numbers, QString *prefix, QString *bits)
{
    const CodeRule *rule = nullptr;
    for (const CodeRule &r : kRules)
        if (code == QLatin1String(r.code))
            rule = &r;
    if (!rule || numbers.size() < rule->numbers)
        return false;
    // number(k) is the k-th number of the line, counted from 1.
    auto number = [&](int k) { return numbers.at(k - 1) & 0xffu; };
    QString out;
    const QString c = code;
    if (c == QLatin1String("0043")) {
        out += QLatin1Char('1');
        appendBits(out, number(2), 0, 4);
        appendBits(out, number(3), 0, 5);
    } else if (c == QLatin1String("0051")) {
        appendBits(out, number(1), 0, 7);
        appendBits(out, number(2), 0, 7);
        appendBits(out, number(3), 0, 7);
        appendBits(out, number(3), 0, 7, true);
    } else if (c == QLatin1String("0093")) {
        appendBits(out, number(1), 0, 4);
        appendBits(out, number(2), 0, 7);
        appendBits(out, number(3), 0, 1);
    } else if (c == QLatin1String("0096")) {
        appendBits(out, number(1), 0, 6);
        appendBits(out, number(2), 0, 4);
        out += QStringLiteral("000000000");
    } else if (c == QLatin1String("0097")) {
        appendBits(out, number(1), 0, 6);
        appendBits(out, number(2), 0, 7);
        out += QStringLiteral("0000010");
    } else if (c == QLatin1String("0099")) {
        appendBits(out, number(1), 0, 6);
        appendBits(out, numbers.at(1) & 0xffffu, 0, 12); // the one number taken as 16 bits
        out += QStringLiteral("11");
    } else if (c == QLatin1String("0101")) {
        appendBits(out, number(1), 0, 7);
        appendBits(out, number(2), 0, 7);
    } else if (c == QLatin1String("0176")) {
        appendBits(out, number(3), 7, 0);
        appendBits(out, number(4), 7, 0);
        appendBits(out, number(4), 7, 0);
    } else if (c == QLatin1String("0254")) {
        appendBits(out, number(1), 0, 7);
        appendBits(out, number(1), 0, 7);
        appendBits(out, number(2), 0, 7);
        appendBits(out, number(2), 0, 7, true);
    } else {
        // 0309, 0313, 0322, 1018: numbers 1 to n, each bits 0-7.
        for (int k = 1; k <= rule->numbers; ++k)
            appendBits(out, number(k), 0, 7);
        if (c == QLatin1String("1018"))
            out += QLatin1Char('1');
    }
    *prefix = QLatin1String(rule->prefix);
    *bits = out;
    return true;
}

bool KestrulFile::parse(const QByteArray &bytes, ImportedRemote *remote, QString *error)
{
    if (bytes.size() > ImportValues::MaxFileSize) {
        if (error)
            *error = tr("the file is larger than %1 bytes").arg(ImportValues::MaxFileSize);
        return false;
    }
    ImportValues::LineReader lines(bytes);
    QString line;
    if (!lines.next(&line) || line.trimmed() != QLatin1String("FileFormat=KESTRUL")) {
        if (error)
            *error = tr("the first line is not \"FileFormat=KESTRUL\"");
        return false;
    }
    ImportedRemote r;
    r.typeId = RemoteType;
    // Lines 2 to 8: a missing line reads as empty.
    QString header[8];
    for (int i = 1; i < 8; ++i) {
        QString text;
        lines.next(&text);
        header[i] = headerValue(text.trimmed());
    }
    r.type = header[3];
    r.brand = header[4];
    r.model = header[5];
    using QuotedValue::cut;
    qDebug().noquote() << "FileFormat => " + cut(headerValue(line.trimmed()));
    qDebug().noquote() << "keymap => " + cut(header[2]);
    qDebug().noquote() << "type => " + cut(r.type);
    qDebug().noquote() << "brand => " + cut(r.brand);
    qDebug().noquote() << "model => " + cut(r.model);
    qDebug().noquote() << "Button's counts => " + cut(header[7]);
    using ImportValues::Field;
    for (const auto &[field, value] : {std::pair(Field::Brand, &r.brand), std::pair(Field::Type, &r.type),
                                       std::pair(Field::Model, &r.model)})
        if (const QString why = ImportValues::tooLong(field, *value); !why.isEmpty()) {
            if (error)
                *error = why;
            return false;
        }

    ImportValues::SkippedLines skipped;
    while (lines.next(&line)) {
        line = line.trimmed();
        if (line.isEmpty())
            break;
        const int comma = line.indexOf(QLatin1Char(','));
        const QString first = comma < 0 ? line : line.left(comma);
        bool isNumber = false;
        int n = first.trimmed().toInt(&isNumber);
        if (!isNumber)
            n = 0; // the format's readers took a key without a number as key 0
        const QString rest = comma < 0 ? QString() : line.mid(comma + 1);
        const int eq = rest.lastIndexOf(QLatin1Char('='));
        if (eq < 0) {
            skipped.add(lines.lineNumber(), tr("key line \"%1\" has no code").arg(cut(line)));
            continue;
        }
        ImportedRemote::Key key;
        key.name = rest.left(eq);
        const QString codeText = rest.mid(eq + 1);
        const int space = codeText.indexOf(QLatin1Char(' '));
        const QString code = space < 0 ? codeText : codeText.left(space);
        QList<quint32> numbers;
        if (space >= 0) {
            const QStringList parts = codeText.mid(space + 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            for (const QString &part : parts) {
                bool ok = false;
                const quint32 value = part.toUInt(&ok, 16);
                numbers << (ok ? value : 0u);
            }
        }
        key.nkey = keyNumber(n);
        if (key.nkey < 0) {
            skipped.add(lines.lineNumber(), tr("key %1 is not 0 to 85").arg(n));
            continue;
        }
        QString prefix, bits;
        if (!codeBits(code, numbers, &prefix, &bits)) {
            skipped.add(lines.lineNumber(), tr("code \"%1\" is unknown or has too few numbers").arg(cut(code)));
            continue;
        }
        key.id = prefix + Decode::encode(bits);
        // The code is made here from a few bytes; the name is the file's.
        if (const QString why = ImportValues::tooLong(Field::KeyName, key.name); !why.isEmpty()) {
            if (error)
                *error = ImportValues::onLine(lines.lineNumber(), why);
            return false;
        }
        r.keys << key;
    }
    if (skipped.count() > 0)
        r.log << skipped.summary();
    *remote = r;
    return true;
}
