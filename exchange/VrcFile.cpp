#include "exchange/VrcFile.h"

#include "app/QuotedValue.h"
#include "catalogue/DocumentationText.h"
#include "catalogue/PhotoPlaces.h"
#include "exchange/ExchangeFile.h"
#include "exchange/ImportValues.h"

#include <QDir>
#include <QFileInfo>

#include <tuple>
#include <utility>

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
        return fail(error, tr("the file is larger than %1 bytes").arg(ImportValues::MaxFileSize));
    ImportValues::LineReader lines(bytes);
    ImportedRemote r;
    QString header, picture;
    // The header line only told the old reader how long its line ends were;
    // each line's own end is taken off here.
    if (!lines.next(&header) || !lines.next(&r.brand) || !lines.next(&r.type) || !lines.next(&r.model)
        || !lines.next(&picture))
        return fail(error, tr("the file ends inside its header"));
    using ImportValues::Field;
    for (const auto &[field, value] : {std::pair(Field::Brand, &r.brand), std::pair(Field::Type, &r.type),
                                       std::pair(Field::Model, &r.model)})
        if (const QString why = ImportValues::tooLong(field, *value); !why.isEmpty())
            return fail(error, why);
    r.typeId = typeOfPicture(picture);
    if (r.typeId == 0)
        return fail(error, tr("unknown remote-type picture \"%1\"").arg(QuotedValue::cut(picture)));

    QString separator;
    ImportValues::SkippedLines skipped;
    for (;;) {
        if (!lines.next(&separator))
            return fail(error, tr("the file has no end marker"));
        if (separator == QLatin1String(EndMarker))
            break;
        ImportedRemote::Key key;
        QString position;
        if (!lines.next(&key.name) || !lines.next(&key.id) || !lines.next(&position))
            return fail(error, tr("the file has no end marker"));
        if (key.id.isEmpty())
            continue;
        key.nkey = ExchangeFile::nkeyFromPosition(position, r.typeId);
        if (key.nkey == ExchangeFile::NoKey) {
            skipped.add(lines.lineNumber(), tr("key \"%1\": position \"%2\" has no key on remote type %3")
                                                .arg(QuotedValue::cut(key.name), QuotedValue::cut(position),
                                                     QString::number(r.typeId)));
            continue;
        }
        if (key.nkey < 0)
            return fail(error, tr("line %1: key \"%2\": position \"%3\" has no key on remote type %4")
                                   .arg(QString::number(lines.lineNumber()), QuotedValue::cut(key.name),
                                        QuotedValue::cut(position), QString::number(r.typeId)));
        // The name and the code stand on the two lines before the position.
        const qsizetype positionLine = lines.lineNumber();
        for (const auto &[field, value, line] : {std::tuple(Field::KeyName, &key.name, positionLine - 2),
                                                 std::tuple(Field::KeyCode, &key.id, positionLine - 1)})
            if (const QString why = ImportValues::tooLong(field, *value); !why.isEmpty())
                return fail(error, ImportValues::onLine(line, why));
        r.keys << key;
    }
    if (skipped.count() > 0)
        r.log << skipped.summary();
    r.documentation = lines.rest();
    if (r.documentation.size() > DocumentationText::kMaxStoredChars)
        return fail(error, tr("the documentation is longer than %1 characters").arg(DocumentationText::kMaxStoredChars));
    *remote = r;
    return true;
}

QStringList VrcFile::copyPhotos(const QString &vrcPath, const QString &workDir, const QString &rcid, QStringList *log)
{
    QStringList problems;
    const PhotoPlaces places(workDir, rcid);
    const QFileInfo file(vrcPath);
    const QString base = file.path() + QLatin1Char('/') + file.completeBaseName();
    for (int n = 1; n <= PhotoPlaces::Count; ++n) {
        const QString photo = base + QLatin1Char('_') + QString::number(n) + QStringLiteral(".jpg");
        // QFileInfo::isFile() follows a link: the link is asked about first,
        // so a file from elsewhere on the disk never becomes a photo.
        const QFileInfo info(photo);
        if (info.isSymLink()) {
            if (log)
                *log << tr("Photo %1 skipped: it is a symbolic link.").arg(QDir::toNativeSeparators(photo));
            continue;
        }
        if (!info.exists())
            continue;
        if (!info.isFile()) {
            if (log)
                *log << tr("Photo %1 skipped: it is not a plain file.").arg(QDir::toNativeSeparators(photo));
            continue;
        }
        QString reason;
        if (!places.isTaken(n) && !places.copyIn(n, photo, &reason))
            problems << reason;
    }
    return problems;
}
