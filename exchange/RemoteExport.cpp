#include "exchange/RemoteExport.h"

#include "app/AtomicFile.h"
#include "app/CheckedFile.h"
#include "catalogue/CatalogueRead.h"
#include "catalogue/PhotoPlaces.h"
#include "exchange/CatalogueWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

QString text(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

using CatalogueWriter::fail;
using CatalogueWriter::run;

ExchangeFile::Model modelFrom(const QSqlQuery &q)
{
    ExchangeFile::Model m;
    m.rcid = text(q.value(0));
    m.brand = text(q.value(1));
    m.type = text(q.value(2));
    m.model = text(q.value(3));
    m.documentation = text(q.value(4));
    m.correction = text(q.value(5));
    m.prot = text(q.value(6));
    return m;
}

} // namespace

QString RemoteExport::safeFileName(const QString &name)
{
    static const QRegularExpression removed(QStringLiteral("[:*?<>]"));
    QString out = name;
    out.remove(removed);
    out.replace(QLatin1Char('/'), QLatin1Char('_'));
    out.replace(QLatin1Char('\\'), QLatin1Char('_'));
    // A leading dot would hide the file or, as "..", name the folder above.
    for (int i = 0; i < out.size() && out.at(i) == QLatin1Char('.'); ++i)
        out[i] = QLatin1Char('_');
    return out;
}

bool RemoteExport::proposedName(QSqlDatabase db, const Selection &s, QString *name, QString *error)
{
    QString proposed;
    if (s.rcid == s.link) {
        proposed = s.brand + QStringLiteral("__") + s.model + QStringLiteral("__") + s.rcTypeName;
    } else {
        QSqlQuery q(db);
        if (!run(q, QStringLiteral("SELECT Brand,Type,Model FROM rcmodels WHERE Rcid=?"), {s.link}, error))
            return false;
        if (!q.next())
            return fail(error, QString());
        proposed = text(q.value(0)) + QStringLiteral("__") + text(q.value(2)) + QStringLiteral("__") + s.rcTypeName
            + QStringLiteral(" (") + s.brand + QStringLiteral("__") + s.model + QLatin1Char(')');
    }
    *name = safeFileName(proposed);
    return true;
}

bool RemoteExport::document(QSqlDatabase db, const Selection &s, ExchangeFile::Document *document, QString *error)
{
    ExchangeFile::Document d;
    d.version = QLatin1String(ExchangeFile::ProgramVersion);
    d.rcTypeId = s.rcTypeId;

    QSqlQuery master(db);
    if (!run(master,
             QStringLiteral("SELECT Rcid,Brand,Type,Model,Documentation,Correction,Prot FROM rcmodels WHERE Rcid=?"),
             {s.link}, error))
        return false;
    if (!CatalogueRead::first(master, &d.hasMaster, error))
        return false;
    if (d.hasMaster)
        d.master = modelFrom(master);

    // Ordered, so that the same catalogue always gives the same file.
    QSqlQuery keys(db);
    if (!run(keys, QStringLiteral("SELECT Name,ID,Nkey FROM rckeys WHERE Rcid=? AND RCTypeId=? ORDER BY Nkey"),
             {s.link, s.rcTypeId}, error))
        return false;
    if (!CatalogueRead::each(
            keys,
            [&](const QSqlQuery &row) {
                ExchangeFile::Key k;
                k.name = text(row.value(0));
                k.id = text(row.value(1));
                k.nkey = text(row.value(2));
                d.keys << k;
            },
            error))
        return false;

    QSqlQuery links(db);
    if (!run(links,
             QStringLiteral("SELECT Rcid,Brand,Type,Model,Documentation,Correction,Prot FROM rcmodels "
                            "WHERE Link=? AND Own=1 AND Rcid!=Link ORDER BY Rcid"),
             {s.link}, error))
        return false;
    if (!CatalogueRead::each(links, [&](const QSqlQuery &row) { d.links << modelFrom(row); }, error))
        return false;

    *document = d;
    return true;
}

bool RemoteExport::exportTo(QSqlDatabase db, const QString &workDir, const Selection &s, const QString &proposed,
                            const QString &fileName, QString *error, QStringList *problems)
{
    ExchangeFile::Document d;
    if (!document(db, s, &d, error))
        return false;
    const QString why = ExchangeFile::unwritable(d);
    if (!why.isEmpty())
        return fail(error, why); // a text would lose characters: nothing at all
    if (QString reason; !AtomicFile::writeWhole(fileName, ExchangeFile::write(d), &reason))
        return fail(error, reason);

    // Photos only beside a file that is there: a refused export leaves no
    // trace in the folder.
    const QDir target = QFileInfo(fileName).absoluteDir();
    for (int n = 1; n <= PhotoPlaces::Count; ++n) {
        const QString photo = QDir(workDir).filePath(PhotoPlaces::relativePath(s.link, n));
        if (!QFileInfo::exists(photo))
            continue;
        const QString copy = target.filePath(
            safeFileName(proposed + QLatin1Char(' ') + s.link + QLatin1Char('_') + QString::number(n)
                         + QStringLiteral(".jpg")));
        if (QFileInfo::exists(copy))
            continue; // an earlier copy stays
        // In pieces, and only a regular file within the photo bound: a link
        // to a device or a huge file is left out and named.
        QString reason;
        if (CheckedFile::copy(photo, copy, CheckedFile::PhotoBytes, &reason) != CheckedFile::Result::Done && problems)
            *problems << reason;
    }
    return true;
}
