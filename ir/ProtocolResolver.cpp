// The key-code resolver's engine: guards, agreement counts, thresholds and
// bit recipes of the data rows, and the walk over the case list.
#include "ir/ProtocolResolver.h"

#include "ir/CaptureStore.h"
#include "ir/Decode.h"
#include "ir/Message.h"
#include "ir/Protocol.h"

#include <QStringList>

#include <algorithm>

namespace KeyCodeResolver {

namespace {
const QString kUnknown = QStringLiteral("UNKNOWN");
} // namespace

bool reaches(Threshold threshold, int count, int n)
{
    const int m = n + 1;
    switch (threshold) {
    case Threshold::Normal:
        return 10 * count >= 7 * m;
    case Threshold::Any:
        return count >= 1;
    case Threshold::ThreeFromThird:
        return n >= 2 ? count >= 3 : 10 * count >= 7 * m;
    case Threshold::SevenTenthsOfN:
        return 10 * count >= 7 * n;
    case Threshold::AtLeastTwo:
        return count >= 2;
    case Threshold::Half:
        return 2 * count >= m;
    case Threshold::FortyNine:
        return 100 * count >= 49 * m;
    case Threshold::TwoFifths:
        return 5 * count > 2 * m;
    }
    return false;
}

QVector<BitPiece> recipe(const char *text)
{
    QVector<BitPiece> pieces;
    const QStringList parts = QString::fromLatin1(text).split(QLatin1Char('+'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        BitPiece p;
        if (part.startsWith(QLatin1Char('\''))) {
            p.kind = BitPiece::Kind::Literal;
            p.literal = part.mid(1, part.size() - 2);
        } else if (part.startsWith(QLatin1Char('N'))) {
            p.kind = BitPiece::Kind::FlagFromN;
            p.fromN = part.mid(1).toInt();
        } else {
            const QStringList fields = part.split(QLatin1Char(':'));
            const QString head = fields.value(0);
            p.kind = head.startsWith(QLatin1Char('A')) ? BitPiece::Kind::Address : BitPiece::Kind::Command;
            p.message = head.mid(1) == QLatin1String("n") ? kNewest : head.mid(1).toInt();
            if (fields.size() == 3) {
                p.start = fields[1].toInt();
                p.length = fields[2].toInt();
            }
        }
        pieces << p;
    }
    return pieces;
}

QString assemble(const QVector<BitPiece> &pieces, const Messages &m)
{
    QString bits;
    for (const BitPiece &p : pieces) {
        switch (p.kind) {
        case BitPiece::Kind::Literal:
            bits += p.literal;
            break;
        case BitPiece::Kind::FlagFromN:
            bits += m.n >= p.fromN ? QLatin1Char('1') : QLatin1Char('0');
            break;
        case BitPiece::Kind::Address:
        case BitPiece::Kind::Command: {
            const int k = p.message == kNewest ? m.n : p.message;
            const QString &text = p.kind == BitPiece::Kind::Address ? m.adr(k) : m.cmd(k);
            bits += p.length < 0 ? text : text.mid(p.start, p.length);
            break;
        }
        }
    }
    return bits;
}

int countOf(const Case &c, const Messages &m)
{
    const Count &k = c.count;
    const int idA = k.ids[0] ? k.ids[0] : c.id;
    const int idB = k.ids[1];
    const int ref = k.reference == Reference::Message1 ? 1 : 0;
    const QString refAddress = k.invertAddress ? Message::invertBits(m.adr(0)) : m.adr(ref);
    const QString &refCommand = m.cmd(ref);

    // The second reference of the alternating kinds, for odd k.
    QString oddAddress = refAddress;
    QString oddCommand = refCommand;
    int oddIdA = idA;
    int oddIdB = idB;
    switch (k.odd) {
    case OddRule::SameAsEven:
        break;
    case OddRule::Command1:
        oddCommand = m.cmd(1);
        break;
    case OddRule::InvertedCommand:
        oddCommand = Message::invertBits(m.cmd(0));
        break;
    case OddRule::InvertedBoth:
        oddAddress = Message::invertBits(m.adr(0));
        oddCommand = Message::invertBits(m.cmd(0));
        break;
    case OddRule::Message1WithOddId:
        oddAddress = m.adr(1);
        oddCommand = m.cmd(1);
        oddIdA = k.oddId;
        oddIdB = 0;
        break;
    }

    const int to = k.leaveNewest ? m.n - 1 : m.n;
    int count = k.base;
    for (int i = k.from; i <= to; ++i) {
        const bool odd = (i % 2) == 1;
        const int a = odd ? oddIdA : idA;
        const int b = odd ? oddIdB : idB;
        if (m.id(i) != a && !(b != 0 && m.id(i) == b))
            continue;
        if (k.compareAddress && m.adr(i) != (odd ? oddAddress : refAddress))
            continue;
        if (k.compareCommand) {
            const QString &want = odd ? oddCommand : refCommand;
            if (m.cmd(i) != want && !k.commandVariants.contains(m.cmd(i)))
                continue;
        }
        ++count;
    }
    return count;
}

bool guardHolds(const Case &c, const Messages &m)
{
    if (m.n < c.minN)
        return false;
    if (c.id != 0 && m.id(0) != c.id && !(c.id0Alt != 0 && m.id(0) == c.id0Alt))
        return false;
    if (c.id1 != 0 && m.id(1) != c.id1)
        return false;
    if (!c.command0Prefix.isEmpty() && m.cmd(0).mid(0, c.command0Prefix.size()) != c.command0Prefix)
        return false;
    return true;
}

namespace {

Outcome tryDataRow(const Case &c, const Messages &m, QString &code)
{
    if (!guardHolds(c, m))
        return Outcome::Pass;
    if (!c.immediate) {
        const int count = c.countFn ? c.countFn(c, m) : countOf(c, m);
        if (!reaches(c.threshold, count, m.n))
            return Outcome::Pass;
    }
    if (!c.prefix)
        return Outcome::AcceptNoCode;
    const QString bits = c.bitsFn ? c.bitsFn(m) : assemble(c.bits, m);
    code = QLatin1String(c.prefix) + Decode::encode(bits);
    return Outcome::Accept;
}

} // namespace

QString resolve(const Messages &m, const char **nameOut)
{
    if (nameOut)
        *nameOut = "";
    if (m.n < 0 || m.n >= CaptureStore::kMessages)
        return kUnknown;
    for (const Case &c : cases()) {
        QString code;
        const Outcome outcome = c.special ? c.special(c, m, code) : tryDataRow(c, m, code);
        if (outcome == Outcome::Pass)
            continue;
        if (nameOut)
            *nameOut = c.name;
        return outcome == Outcome::Accept ? code : kUnknown;
    }
    return kUnknown;
}

namespace {
// 0..15 for a hex digit of either case, -1 otherwise.
int digitValue(QChar ch)
{
    const char c = ch.toLatin1();
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

int hexDigitValue(const QString &digit)
{
    return digit.size() == 1 ? std::max(0, digitValue(digit.at(0))) : 0;
}

QString numberBits(const QString &digits, int base, int width)
{
    quint64 value = 0;
    bool ok = !digits.isEmpty();
    for (QChar ch : digits) {
        const int d = digitValue(ch);
        // A stray character, or more than 64 bits, is not such a number.
        if (d < 0 || d >= base || value > (~quint64(0) - quint64(d)) / quint64(base)) {
            ok = false;
            break;
        }
        value = value * quint64(base) + quint64(d);
    }
    if (!ok)
        value = 0;
    const QString binary = QString::number(value, 2);
    return (QString(width, QLatin1Char('0')) + binary).right(width);
}

} // namespace KeyCodeResolver

QString Protocol::resolveKeyCode(const CaptureStore &store, int n)
{
    const KeyCodeResolver::Messages m{store.messageRecognizerId, store.messageAddressText, store.messageCommandText,
                                      n};
    return KeyCodeResolver::resolve(m);
}
