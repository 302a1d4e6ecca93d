#include "exchange/VrcFile.h"

#include "exchange/ExchangeFile.h"
#include "exchange/ImportValues.h"

namespace {

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

} // namespace

int VrcFile::typeOfPicture(const QString &picture)
{
    static const char *const kinds[] = {"TV", "DVD", "SAT", "AUX", "4in1"};
    for (int i = 0; i < 5; ++i) {
        const QString base = QStringLiteral("changer ") + QLatin1String(kinds[i]);
        if (picture == base + QStringLiteral(".bmp") || picture == base + QStringLiteral(".png"))
            return i + 1;
    }
    return 0;
}

bool VrcFile::parse(const QByteArray &bytes, ImportedRemote *remote, QString *error)
{
    if (bytes.size() > ImportValues::MaxFileSize)
        return fail(error, QStringLiteral("the file is larger than %1 bytes").arg(ImportValues::MaxFileSize));
    ImportValues::LineReader lines(bytes);
    ImportedRemote r;
    QString header, picture;
    // The header line only told the old reader how long its line ends were;
    // each line's own end is taken off here.
    if (!lines.next(&header) || !lines.next(&r.brand) || !lines.next(&r.type) || !lines.next(&r.model)
        || !lines.next(&picture))
        return fail(error, QStringLiteral("the file ends inside its header"));
    r.typeId = typeOfPicture(picture);
    if (r.typeId == 0)
        return fail(error, QStringLiteral("unknown remote-type picture \"%1\"").arg(picture));

    QString separator;
    for (;;) {
        if (!lines.next(&separator))
            return fail(error, QStringLiteral("the file has no end marker"));
        if (separator == QLatin1String(EndMarker))
            break;
        ImportedRemote::Key key;
        QString position;
        if (!lines.next(&key.name) || !lines.next(&key.id) || !lines.next(&position))
            return fail(error, QStringLiteral("the file has no end marker"));
        if (key.id.isEmpty())
            continue;
        key.nkey = ExchangeFile::nkeyFromPosition(position, r.typeId);
        if (key.nkey == ExchangeFile::NoKey) {
            r.log << QStringLiteral("Key \"%1\" skipped: position \"%2\" has no key on remote type %3.")
                         .arg(key.name, position)
                         .arg(r.typeId);
            continue;
        }
        if (key.nkey < 0)
            return fail(error, QStringLiteral("key \"%1\": position \"%2\" has no key on remote type %3")
                                   .arg(key.name, position)
                                   .arg(r.typeId));
        r.keys << key;
    }
    r.documentation = lines.rest();
    *remote = r;
    return true;
}
