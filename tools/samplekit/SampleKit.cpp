#include "tools/samplekit/SampleKit.h"

#include "app/AtomicFile.h"

#include "tools/samplekit/SampleCaptureFile.h"
#include "tools/samplekit/SampleMacros.h"
#include "tools/samplekit/SamplePhotos.h"
#include "tools/samplekit/SampleProtocolLookups.h"
#include "tools/samplekit/SamplePicture.h"
#include "tools/samplekit/SamplePrintTemplate.h"
#include "tools/samplekit/SampleSignals.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// A small linear congruential generator: the kit must not depend on the
// platform's random engines to stay byte-for-byte reproducible.
class Lcg
{
public:
    explicit Lcg(quint32 seed) : m_state(seed) {}
    quint32 next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    int below(int n) { return n <= 0 ? 0 : int(next() % quint32(n)); }

private:
    quint32 m_state;
};

const char *const kKeyNames[] = {"POWER", "1",     "2",     "3",     "4",      "5",     "6",    "7",
                                 "8",     "9",     "0",     "VOL+",  "VOL-",   "CH+",   "CH-",  "MUTE",
                                 "MENU",  "OK",    "UP",    "DOWN",  "LEFT",   "RIGHT", "EXIT", "INFO",
                                 "RED",   "GREEN", "YELLOW", "BLUE", "PLAY",   "STOP",  "PAUSE", "REC",
                                 "FF",    "REW",   "TV/AV", "GUIDE", "TEXT",   "SUBT",  "AUDIO", "SLEEP"};

// UTF-8: one brand has an apostrophe and one a letter outside ASCII, as real
// catalogues do.
const char *const kBrands[] = {"ALTORA",  "BEKKER",   "CORVIN",   "DALMONT", "ELSTRA",
                               "FAROVIA", "GRUNDAHL", "HAVELOCK", "O'HARA",  "\xC3\x98STLUND"};
const int kBrandCount = int(sizeof(kBrands) / sizeof(kBrands[0]));
const char *const kDeviceTypes[] = {"TV", "DVD", "SAT", "AUDIO", "STB"};

bool exec(QSqlQuery &q, QString *error)
{
    if (q.exec())
        return true;
    if (error)
        *error = q.lastError().text();
    return false;
}

bool exec(QSqlDatabase db, const QString &sql, QString *error)
{
    QSqlQuery q(db);
    if (q.exec(sql))
        return true;
    if (error)
        *error = q.lastError().text() + QStringLiteral(" in: ") + sql;
    return false;
}

// Key codes of the sample remotes, remembered per protocol, address and
// command: large catalogues repeat them, and each costs a run of the
// recogniser.
class KeyCodes
{
public:
    QString code(SampleSignals::Kind kind, int address, int command, QString *error)
    {
        const quint64 key = (quint64(kind) << 40) | (quint64(quint32(address)) << 16) | quint64(quint16(command));
        const auto found = m_codes.constFind(key);
        if (found != m_codes.constEnd())
            return found.value();
        const QString code = SampleKit::sampleKeyCode(kind, address, command, error);
        if (!code.isEmpty())
            m_codes.insert(key, code);
        return code;
    }

private:
    QHash<quint64, QString> m_codes;
};

} // namespace

QList<SampleKit::RemoteType> SampleKit::remoteTypes()
{
    return {{1, "Irvanta Eight", 40}, {2, "Irvanta Four", 32}, {3, "Irvanta Slim", 24},
            {4, "Irvanta Senior", 16}, {5, "Irvanta Learner", 36}};
}

void SampleKit::keyPosition(int typeId, int n, int *x, int *y)
{
    // Keys sit on a grid of four columns below the power row; remote types
    // differ in their top margin so that each picture is its own.
    const int top = 260 + 20 * typeId;
    *x = 111 + (n % 4) * 120;
    *y = top + (n / 4) * 170;
}

QByteArray SampleKit::keyName(int n)
{
    const int count = int(sizeof(kKeyNames) / sizeof(kKeyNames[0]));
    return QByteArray(kKeyNames[((n % count) + count) % count]);
}

int SampleKit::searchPositionKey(int order)
{
    // The key search's named positions, in its row order; "CH+" and "CH-" are
    // the sample's names for programme up and down.
    static const char *const kPositions[] = {"POWER", "MUTE", "1",    "2",     "3",    "0",    "VOL+",
                                             "VOL-",  "CH+",  "CH-",  "RED",   "GREEN", "YELLOW", "BLUE",
                                             "EJECT", "PLAY", "STOP", "PAUSE", "MENU", "OK"};
    if (order < 1 || order > 20)
        return -1;
    const int count = int(sizeof(kKeyNames) / sizeof(kKeyNames[0]));
    for (int n = 0; n < count; ++n)
        if (qstrcmp(kKeyNames[n], kPositions[order - 1]) == 0)
            return n;
    return -1;
}

bool SampleKit::fillConversions(QSqlDatabase db, QString *error)
{
    // Sample keys carry one name per key number on every type, so most maps
    // keep the number; they differ where the types do: the shift layer starts
    // at 56 on types 1 to 4 and at 43 on type 5, the Senior has 16 keys and
    // takes the Eight's keys 16 to 31 on its shift layer, and the Slim gets
    // POWER twice, on its first and its last key.
    struct Conversion
    {
        int id;
        const char *description;
        int from, to;
    };
    const Conversion conversions[] = {
        {1, "Irvanta Eight to Irvanta Learner", 1, 5}, {2, "Irvanta Learner to Irvanta Eight", 5, 1},
        {3, "Irvanta Eight to Irvanta Senior", 1, 4},  {4, "Irvanta Four to Irvanta Slim", 2, 3},
        {5, "Irvanta Slim to Irvanta Four", 3, 2},
    };
    QMap<int, int> keyCount;
    for (const RemoteType &t : remoteTypes())
        keyCount[t.id] = t.keyCount;

    QSqlQuery convert(db);
    convert.prepare(QStringLiteral("INSERT INTO rcconvert (ConvertId, Description, RCTypeIdFrom, RCTypeIdTo) "
                                   "VALUES (?,?,?,?)"));
    QSqlQuery map(db);
    map.prepare(QStringLiteral("INSERT INTO rcconvertmap (ConvertId, NkeyFrom, NkeyTo) VALUES (?,?,?)"));
    auto mapKey = [&](int id, int from, int to) {
        map.addBindValue(id);
        map.addBindValue(from);
        map.addBindValue(to);
        return exec(map, error);
    };
    for (const Conversion &c : conversions) {
        convert.addBindValue(c.id);
        convert.addBindValue(QString::fromLatin1(c.description));
        convert.addBindValue(c.from);
        convert.addBindValue(c.to);
        if (!exec(convert, error))
            return false;
        const int common = qMin(keyCount.value(c.from), keyCount.value(c.to));
        for (int n = 0; n < common; ++n) {
            if (c.id == 4 && n == common - 1)
                continue; // the Slim's last key is its second POWER
            if (!mapKey(c.id, n, n))
                return false;
            if (c.id != 3 && !mapKey(c.id, n + shiftOffset(c.from), n + shiftOffset(c.to)))
                return false;
        }
        if (c.id == 3) {
            for (int n = 16; n < 32; ++n)
                if (!mapKey(c.id, n, n - 16 + shiftOffset(c.to)))
                    return false;
        }
        if (c.id == 4 && !mapKey(c.id, 0, common - 1))
            return false;
    }
    return true;
}

int SampleKit::printOrder(int typeId, const QString &customer, int nkey)
{
    int keyCount = -1;
    for (const RemoteType &t : remoteTypes())
        if (t.id == typeId)
            keyCount = t.keyCount;
    const bool shift = nkey >= shiftOffset(typeId);
    const int n = shift ? nkey - shiftOffset(typeId) : nkey;
    if (n < 0 || n >= keyCount)
        return -1;
    if (customer == QLatin1String("0"))
        return shift ? 64 + n : n; // a key's shift layer stands in the column beside it
    if (customer == customerId() && ownPrintTypes().contains(typeId)) {
        // The customer's own sheets list the normal keys only, reading down
        // the handset's four key columns.
        if (shift)
            return -1;
        const int rows = (keyCount + 3) / 4;
        return (n % 4) * rows + n / 4;
    }
    return -1;
}

QStringList SampleKit::schemaStatements()
{
    return {
        QStringLiteral("CREATE TABLE rcmodels (Rcid TEXT PRIMARY KEY, Brand TEXT, Type TEXT, Model TEXT, "
                       "Documentation TEXT, Link TEXT, Author TEXT DEFAULT '', Correction REAL DEFAULT 0, "
                       "Own INTEGER DEFAULT 0, Hidden INTEGER DEFAULT 0, Flag INTEGER DEFAULT 0, "
                       "Hidden1 INTEGER DEFAULT 0, Prot INTEGER DEFAULT 0)"),
        QStringLiteral("CREATE TABLE rckeys (Rcid TEXT, RCTypeId INTEGER, Name TEXT, ID TEXT, Nkey INTEGER)"),
        QStringLiteral("CREATE TABLE rctypes (RCTypeId INTEGER PRIMARY KEY, RCTypeName TEXT, KeyCount INTEGER, "
                       "Note TEXT)"),
        QStringLiteral("CREATE TABLE rcbrands (Brand TEXT)"),
        QStringLiteral("CREATE TABLE rctypesearch (RCTypeId INTEGER, Nkey INTEGER, SearchOrder INTEGER)"),
        QStringLiteral("CREATE TABLE rctypekeys (RCTypeId INTEGER, CustomerId INTEGER, NKey INTEGER, X INTEGER, "
                       "Y INTEGER, Shift INTEGER)"),
        QStringLiteral("CREATE TABLE rccustomers (RCTypeId INTEGER, CustomerIdFrom INTEGER, CustomerIdTo INTEGER)"),
        QStringLiteral("CREATE TABLE rctypeprint (RCTypeId INTEGER, CustomerId INTEGER, Nkey INTEGER, "
                       "PrintOrder INTEGER)"),
        QStringLiteral("CREATE TABLE rctypemacro (RCTypeId INTEGER, Nkey INTEGER, Name TEXT, SortOrder INTEGER)"),
        QStringLiteral("CREATE TABLE rcconfig (Key TEXT, ID INTEGER, Value TEXT)"),
        QStringLiteral("CREATE TABLE rcconvert (ConvertId INTEGER, Description TEXT, RCTypeIdFrom INTEGER, "
                       "RCTypeIdTo INTEGER)"),
        QStringLiteral("CREATE TABLE rcconvertmap (ConvertId INTEGER, NkeyFrom INTEGER, NkeyTo INTEGER)"),
        QStringLiteral("CREATE TABLE prhistory (hid INTEGER, RCTypeId INTEGER, maxdevices INTEGER, rcid1 TEXT, "
                       "rcid2 TEXT, rcid3 TEXT, rcid4 TEXT, rcid5 TEXT, rcid6 TEXT, rcid7 TEXT, rcid8 TEXT)"),
        QStringLiteral("CREATE TABLE usbprotocols (DevID INTEGER, Prot INTEGER, Nrc INTEGER, Code TEXT)"),
        QStringLiteral("CREATE TABLE protocols11 (Prot INTEGER, Code TEXT)"),
        QStringLiteral("CREATE TABLE protocols21 (Prot INTEGER, Nrc INTEGER, Code TEXT)"),
        QStringLiteral("CREATE TABLE protocols41 (Prot INTEGER, Nrc INTEGER, Code TEXT)"),
        QStringLiteral("CREATE TABLE protocolsirt (Prot INTEGER, Code TEXT)"),
        QStringLiteral("CREATE INDEX rckeys_by_model ON rckeys (Rcid, RCTypeId, Nkey)"),
        QStringLiteral("CREATE INDEX rcmodels_by_link ON rcmodels (Link)"),
        QStringLiteral("CREATE INDEX rcmodels_by_name ON rcmodels (Brand, Model)"),
    };
}

bool SampleKit::createSchema(QSqlDatabase db, QString *error)
{
    for (const QString &sql : schemaStatements())
        if (!exec(db, sql, error))
            return false;
    return true;
}

int SampleKit::sampleCommand(int n, bool shift)
{
    // Normal keys take the commands from 0 up, their shift layer those from
    // 64: distinct within every sample protocol's seven or more bits.
    return (shift ? 64 : 0) + (n & 63);
}

QString SampleKit::sampleKeyCode(SampleSignals::Kind kind, int address, int command, QString *error, int frames)
{
    const SampleSignals::SampleProtocol &p = SampleSignals::protocol(kind);
    const QString code =
        SampleSignals::resolvePress(SampleSignals::press(kind, address, command, frames > 0 ? frames : p.frames));
    // A code the program does not produce would find nothing when the remote
    // is pointed at the receiver: that is a fault of the kit, never stored.
    if (code.isEmpty() || code == QLatin1String("UNKNOWN")) {
        if (error)
            *error = QStringLiteral("a key of the sample protocol %1 (address %2, command %3, %4 frames) "
                                    "resolves to \"%5\"")
                         .arg(QLatin1String(p.name))
                         .arg(address)
                         .arg(command)
                         .arg(frames > 0 ? frames : p.frames)
                         .arg(code);
        return QString();
    }
    return code;
}

QList<int> SampleKit::protocolNumbers(QString *error)
{
    QList<int> numbers;
    for (const SampleSignals::SampleProtocol &p : SampleSignals::protocols()) {
        const QString code = sampleKeyCode(p.kind, 0, 0, error);
        if (code.isEmpty())
            return {};
        if (!numbers.contains(code.left(3).toInt()))
            numbers.append(code.left(3).toInt());
    }
    return numbers;
}

bool SampleKit::fillCatalogue(QSqlDatabase db, const Options &options, QString *error, QList<SampleRemote> *remotes)
{
    if (!db.transaction()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    auto fail = [&]() {
        db.rollback();
        return false;
    };

    Lcg rng(options.seed);
    const QList<RemoteType> types = remoteTypes();
    const QString customer = customerId();

    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO rctypes (RCTypeId, RCTypeName, KeyCount, Note) VALUES (?, ?, ?, ?)"));
    for (const RemoteType &t : types) {
        q.addBindValue(t.id);
        q.addBindValue(QString::fromLatin1(t.name));
        q.addBindValue(t.keyCount);
        q.addBindValue(QStringLiteral("sample remote type"));
        if (!exec(q, error))
            return fail();
    }

    QSqlQuery pos(db);
    pos.prepare(QStringLiteral("INSERT INTO rctypekeys (RCTypeId, CustomerId, NKey, X, Y, Shift) VALUES (?,?,?,?,?,?)"));
    QSqlQuery search(db);
    search.prepare(QStringLiteral("INSERT INTO rctypesearch (RCTypeId, Nkey, SearchOrder) VALUES (?,?,?)"));
    QSqlQuery cust(db);
    cust.prepare(QStringLiteral("INSERT INTO rccustomers (RCTypeId, CustomerIdFrom, CustomerIdTo) VALUES (?,?,?)"));
    QSqlQuery hist(db);
    hist.prepare(QStringLiteral("INSERT INTO prhistory (hid, RCTypeId, maxdevices, rcid1, rcid2, rcid3, rcid4, rcid5, "
                                "rcid6, rcid7, rcid8) VALUES (?,?,?,'','','','','','','','')"));
    for (const RemoteType &t : types) {
        for (int n = 0; n < t.keyCount; ++n) {
            int x = 0, y = 0;
            keyPosition(t.id, n, &x, &y);
            for (int shift = 0; shift < 2; ++shift) {
                pos.addBindValue(t.id);
                pos.addBindValue(customer.toInt());
                pos.addBindValue(n + shift * shiftOffset(t.id));
                pos.addBindValue(x);
                pos.addBindValue(y);
                pos.addBindValue(shift);
                if (!exec(pos, error))
                    return fail();
            }
        }
        for (int order = 1; order <= 20; ++order) {
            const int n = searchPositionKey(order);
            if (n < 0 || n >= t.keyCount)
                continue; // the type has no such key
            search.addBindValue(t.id);
            search.addBindValue(n);
            search.addBindValue(order);
            if (!exec(search, error))
                return fail();
        }
        cust.addBindValue(t.id);
        cust.addBindValue(customer.toInt());
        cust.addBindValue(customer.toInt());
        if (!exec(cust, error))
            return fail();
        hist.addBindValue(t.id);
        hist.addBindValue(t.id);
        hist.addBindValue(4);
        if (!exec(hist, error))
            return fail();
    }

    if (!fillConversions(db, error))
        return fail();

    QSqlQuery print(db);
    print.prepare(QStringLiteral("INSERT INTO rctypeprint (RCTypeId, CustomerId, Nkey, PrintOrder) VALUES (?,?,?,?)"));
    for (const RemoteType &t : types) {
        QStringList customers{QStringLiteral("0")};
        if (ownPrintTypes().contains(t.id))
            customers.append(customer);
        for (const QString &c : customers) {
            for (int nkey = 0; nkey < 128; ++nkey) {
                const int order = printOrder(t.id, c, nkey);
                if (order < 0)
                    continue;
                print.addBindValue(t.id);
                print.addBindValue(c.toInt());
                print.addBindValue(nkey);
                print.addBindValue(order);
                if (!exec(print, error))
                    return fail();
            }
        }
    }

    QSqlQuery brand(db);
    brand.prepare(QStringLiteral("INSERT INTO rcbrands (Brand) VALUES (?)"));
    for (const char *b : {"ISOLDE", "JORVIK", "KESTREL AUDIO", "D'ARTOIS"}) {
        brand.addBindValue(QString::fromLatin1(b));
        if (!exec(brand, error))
            return fail();
    }

    QSqlQuery model(db);
    model.prepare(QStringLiteral("INSERT INTO rcmodels (Rcid, Brand, Type, Model, Documentation, Link, Author, "
                                 "Correction, Own, Hidden, Flag, Hidden1, Prot) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    QSqlQuery key(db);
    key.prepare(QStringLiteral("INSERT INTO rckeys (Rcid, RCTypeId, Name, ID, Nkey) VALUES (?,?,?,?,?)"));

    // Each sample protocol's number is the one its codes carry.
    const QList<SampleSignals::SampleProtocol> &sampleProtocols = SampleSignals::protocols();
    KeyCodes codes;
    QList<int> protocolNumbers;
    for (const SampleSignals::SampleProtocol &p : sampleProtocols) {
        const QString code = codes.code(p.kind, 0, 0, error);
        if (code.isEmpty())
            return fail();
        protocolNumbers.append(code.left(3).toInt());
    }
    if (remotes)
        remotes->clear();

    QString master;
    int masters = 0;
    for (int i = 0; i < options.models; ++i) {
        const QString rcid = QStringLiteral("%1").arg(0x5a000000u + quint32(i) * 0x1f3du, 8, 16, QLatin1Char('0'));
        // Every fifth model links to the master before it, and now and then
        // the model before that too (groups of three); the rest are masters.
        const bool linked = (i % 5 == 4 || i % 25 == 23) && !master.isEmpty();
        if (!linked) {
            master = rcid;
            ++masters;
        }
        // A group shares its master's brand; masters take the brands in turn.
        const QString brandName = QString::fromUtf8(kBrands[(masters - 1) % kBrandCount]);
        const QString deviceType = QString::fromLatin1(kDeviceTypes[rng.below(5)]);
        const QString modelName = QStringLiteral("%1-%2").arg(deviceType.left(2)).arg(100 + rng.below(900));
        const bool own = i % 7 == 3;
        const int hidden = i % 13 == 6 ? 1 : 0;
        const int hidden1 = i % 17 == 8 ? 1 : 0;
        // Masters take the sample protocols in turn; a group shares its master's.
        const int protocolIndex = (masters - 1) % int(sampleProtocols.size());
        const SampleSignals::Kind kind = sampleProtocols.at(protocolIndex).kind;
        model.addBindValue(rcid);
        model.addBindValue(brandName);
        model.addBindValue(deviceType);
        model.addBindValue(modelName);
        QString documentation = QStringLiteral("Sample %1 remote for the %2 %3.").arg(deviceType, brandName, modelName);
        if (i == 10) // a master with keys of every type asks for the variant key sheet
            documentation += QStringLiteral("\nprint=") + printVariant();
        model.addBindValue(documentation);
        model.addBindValue(master);
        model.addBindValue(own ? QString() : QStringLiteral("Irvanta sample"));
        model.addBindValue(0.0);
        model.addBindValue(own ? 1 : 0);
        model.addBindValue(hidden);
        model.addBindValue(own && i % 2 ? 0 : 1);
        model.addBindValue(hidden1);
        model.addBindValue(protocolNumbers.at(protocolIndex));
        if (!exec(model, error))
            return fail();
        if (linked)
            continue;
        if (options.keyedMasterEvery > 1 && masters % options.keyedMasterEvery != 1)
            continue;

        // Every tenth model is a master with every key of every type, shift
        // layer included (not when the keys per model are given).
        const bool full = i % 10 == 0 && options.keysPerModel <= 0;
        const int address = rng.below(256);
        // Not every master has keys for every type; all have the first type's,
        // so the model shown at start shows its keys.
        auto hasType = [&](const RemoteType &t) { return full || t.id == 1 || (i + t.id) % 3 != 0; };
        int typesOfMaster = 0;
        for (const RemoteType &t : types)
            typesOfMaster += hasType(t) ? 1 : 0;
        for (const RemoteType &t : types) {
            if (!hasType(t))
                continue;
            // With keys per model given, they are shared out among the master's
            // types, three of each type's share on the shift layer.
            const int count = full                       ? t.keyCount
                              : options.keysPerModel > 0 ? qMin(t.keyCount, qMax(4, options.keysPerModel / typesOfMaster) - 3)
                                                         : qMin(t.keyCount, 10 + rng.below(31));
            if (t.id == 1 && remotes)
                remotes->append({rcid, kind, address, count});
            // A key sends the same code on every remote type it is placed on.
            for (int n = 0; n < count; ++n) {
                const QString code = codes.code(kind, address, sampleCommand(n, false), error);
                if (code.isEmpty())
                    return fail();
                key.addBindValue(rcid);
                key.addBindValue(t.id);
                key.addBindValue(QString::fromLatin1(keyName(n)));
                key.addBindValue(code);
                key.addBindValue(n);
                if (!exec(key, error))
                    return fail();
            }
            // A few shift-layer keys on the second layer of the first keys.
            for (int n = 0; n < (full ? count : 3) && n < count; ++n) {
                const QString code = codes.code(kind, address, sampleCommand(n, true), error);
                if (code.isEmpty())
                    return fail();
                key.addBindValue(rcid);
                key.addBindValue(t.id);
                key.addBindValue(QStringLiteral("SHIFT ") + QString::fromLatin1(keyName(n)));
                key.addBindValue(code);
                key.addBindValue(n + shiftOffset(t.id));
                if (!exec(key, error))
                    return fail();
            }
        }
    }

    QList<int> distinctNumbers;
    for (int number : std::as_const(protocolNumbers))
        if (!distinctNumbers.contains(number))
            distinctNumbers.append(number);
    if (!SampleProtocolLookups::fill(db, distinctNumbers, error))
        return fail();
    if (!SampleMacros::fill(db, error))
        return fail();

    if (!db.commit()) {
        if (error)
            *error = db.lastError().text();
        return fail();
    }
    return true;
}

namespace {

// The window icon "rc.ico": one 32 x 32 image, 32 bits with alpha, written as
// an ICO file by hand so the kit needs no image plug-in. A remote control in
// grey with a red power button and light keys.
QByteArray windowIconFile()
{
    const int size = 32;
    QByteArray pixels;
    for (int row = size - 1; row >= 0; --row) { // bottom-up
        for (int x = 0; x < size; ++x) {
            quint8 r = 0, g = 0, b = 0, a = 0;
            const bool body = x >= 9 && x <= 22 && row >= 2 && row <= 29
                              && !((x == 9 || x == 22) && (row == 2 || row == 29));
            if (body) {
                r = 80; g = 84; b = 100; a = 255;
                const int dx = x - 16, dy = row - 7;
                if (dx * dx + dy * dy <= 5) {
                    r = 220; g = 50; b = 40;
                } else if (row >= 12 && row <= 26 && (row - 12) % 5 < 3 && (x - 11) % 6 < 4 && x >= 11 && x <= 20) {
                    r = 215; g = 218; b = 228;
                }
            }
            pixels.append(char(b)).append(char(g)).append(char(r)).append(char(a));
        }
    }
    const QByteArray mask(size * 4, '\0'); // 1 bit per pixel, rows padded to 32 bits; alpha decides
    auto le16 = [](QByteArray &out, quint16 v) { out.append(char(v & 0xff)).append(char(v >> 8)); };
    auto le32 = [&](QByteArray &out, quint32 v) { le16(out, quint16(v & 0xffff)); le16(out, quint16(v >> 16)); };
    QByteArray image;
    le32(image, 40);        // header size
    le32(image, size);      // width
    le32(image, size * 2);  // height of colour and mask together
    le16(image, 1);         // planes
    le16(image, 32);        // bits per pixel
    le32(image, 0);         // no compression
    le32(image, quint32(pixels.size() + mask.size()));
    for (int i = 0; i < 4; ++i)
        le32(image, 0);
    image += pixels + mask;

    QByteArray file;
    le16(file, 0);          // reserved
    le16(file, 1);          // icon
    le16(file, 1);          // one image
    file.append(char(size)).append(char(size)).append('\0').append('\0');
    le16(file, 1);
    le16(file, 32);
    le32(file, quint32(image.size()));
    le32(file, 6 + 16);     // offset of the image
    return file + image;
}

} // namespace

bool SampleKit::writeWorkingDirectory(const QString &dirPath, const Options &options, QString *error)
{
    QDir dir(dirPath);
    if (!dir.mkpath(QStringLiteral("."))) {
        if (error)
            *error = QStringLiteral("cannot create %1").arg(dirPath);
        return false;
    }
    for (const char *sub : {"images", "RCImages", "Languages", "Languages/flags", "update-tmp", "update", "xml"})
        dir.mkpath(QString::fromLatin1(sub));
    if (!SamplePicture::writeAll(dir.filePath(QStringLiteral("images")), error) ||
        !SamplePrintTemplate::writeAll(dir.filePath(QStringLiteral("images")), error))
        return false;

    const QString dbPath = dir.filePath(QStringLiteral("rc.db"));
    QFile::remove(dbPath);
    bool ok = false;
    QList<SampleRemote> remotes;
    {
        const QString connection = QStringLiteral("samplekit-%1").arg(quintptr(&ok));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(dbPath);
        if (!db.open()) {
            if (error)
                *error = db.lastError().text();
        } else {
            ok = createSchema(db, error) && fillCatalogue(db, options, error, &remotes) &&
                 SamplePhotos::writeAll(db, dir.filePath(QStringLiteral("RCImages")), error);
            db.close();
        }
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection);
    }
    if (!ok)
        return false;
    // Key presses of the sample remotes for the simulator to replay.
    if (!SampleCaptureFile::write(dir.filePath(SampleCaptureFile::fileName()), remotes, error))
        return false;

    QFile icon(dir.filePath(QStringLiteral("rc.ico")));
    if (!icon.open(QIODevice::WriteOnly | QIODevice::Truncate) || icon.write(windowIconFile()) < 0) {
        if (error)
            *error = icon.errorString();
        return false;
    }
    icon.close();

    QFile ini(dir.filePath(QStringLiteral("config.ini")));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        if (error)
            *error = ini.errorString();
        return false;
    }
    ini.write("[Settings]\n"
              "customerId=4\n"
              "defaultCustomerId=4\n"
              "language=English\n"
              "languageShowType=0\n"
              "company=\n"
              "address=\n"
              "contact=\n"
              "printOnlyFirstImage=false\n"
              "advancedFilter=false\n"
              "simpleProgramming=false\n"
              "settingsFullVersion=true\n"
              "settingsShowRCTypesInSimpleMode=false\n"
              "lastImportPath=xml\n"
              "lastExportPath=xml\n"
              "lastImagesPath=xml\n"
              "rcTypes=1_2_3_4_5\n"
              "\n"
              "[UpdateInfo]\n"
              "automaticUpdatesCheking=false\n"
              "database=2026-12-01\n");
    return true;
}

bool SampleKit::writeLanguages(const QString &dirPath, const QString &from, QString *error)
{
    // The largest file carried is Qt's own catalogue, well under this.
    constexpr qint64 kMaxBytes = 16 * 1024 * 1024;
    const QDir source(from);
    const QDir target(QDir(dirPath).filePath(QStringLiteral("Languages")));
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    int written = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = source.relativeFilePath(path);
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly) || in.size() > kMaxBytes) {
            if (error)
                *error = QStringLiteral("cannot read %1").arg(path);
            return false;
        }
        const QByteArray data = in.readAll();
        if (data.size() != in.size()) {
            if (error)
                *error = QStringLiteral("cannot read %1 whole").arg(path);
            return false;
        }
        const QString dest = target.filePath(relative);
        if (!QDir().mkpath(QFileInfo(dest).path())) {
            if (error)
                *error = QStringLiteral("cannot make the folder %1").arg(QFileInfo(dest).path());
            return false;
        }
        if (!AtomicFile::writeWhole(dest, data, error))
            return false;
        ++written;
    }
    if (written == 0) {
        if (error)
            *error = QStringLiteral("no language files in %1").arg(from);
        return false;
    }
    return true;
}
