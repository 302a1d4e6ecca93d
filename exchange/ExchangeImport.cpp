#include "exchange/ExchangeImport.h"

#include "app/AtomicFile.h"
#include "app/KillPoint.h"
#include "catalogue/ModelRecords.h"
#include "catalogue/PhotoPlaces.h"
#include "exchange/CatalogueWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

using CatalogueWriter::fail;
using CatalogueWriter::run;

// 1 a row, 0 none, -1 failed.
int found(QSqlDatabase db, const QString &sql, const QVariantList &values, QString *error, QVariant *first = nullptr)
{
    QSqlQuery q(db);
    if (!run(q, sql, values, error))
        return -1;
    if (!q.next())
        return 0;
    if (first)
        *first = q.value(0);
    return 1;
}

// An empty value is an empty text, as the other imports store it: a null
// QString would be bound as NULL.
QVariant text(const QString &value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

QVariant number(const QString &value, bool real)
{
    if (value.isEmpty())
        return QStringLiteral("");
    return real ? QVariant(value.toDouble()) : QVariant(value.toInt());
}

// Writes row rcid of a model linked to link: updated in place when it exists
// (Author, Hidden and Hidden1 stay; Flag 0 marks the change), else inserted.
bool writeModel(QSqlDatabase db, const QString &rcid, const QString &link, const ExchangeFile::Model &m,
                const QVariant &own, QString *error)
{
    const int exists = found(db, QStringLiteral("SELECT 1 FROM rcmodels WHERE Rcid=?"), {rcid}, error);
    if (exists < 0)
        return false;
    QSqlQuery q(db);
    if (exists) {
        return run(q,
                   QStringLiteral("UPDATE rcmodels SET Link=?,Brand=?,Type=?,Model=?,Documentation=?,Correction=?,"
                                  "Prot=?,Own=?,Flag=0 WHERE Rcid=?"),
                   {link, m.brand, m.type, m.model, text(m.documentation), number(m.correction, true),
                    number(m.prot, false), own, rcid},
                   error);
    }
    return run(q,
               QStringLiteral("INSERT INTO rcmodels(Rcid,Link,Brand,Type,Model,Documentation,Correction,Prot,Own) "
                              "VALUES(?,?,?,?,?,?,?,?,?)"),
               {rcid, link, m.brand, m.type, m.model, text(m.documentation), number(m.correction, true),
                number(m.prot, false), own},
               error);
}

} // namespace

// Why row rcid may not be rewritten by an import: it is linked to another
// master (or to none). Empty when it is a master row or does not exist;
// *failed when the look-up fails (*error says why).
static QString takenBy(QSqlDatabase db, const QString &rcid, bool *failed, QVariant *own, QString *error)
{
    QSqlQuery q(db);
    *failed = !run(q, QStringLiteral("SELECT Link,Own FROM rcmodels WHERE Rcid=?"), {rcid}, error);
    if (*failed || !q.next())
        return QString();
    if (own)
        *own = q.value(1);
    const QString link = q.value(0).toString();
    if (link == rcid)
        return QString();
    return ExchangeImport::tr("The file's model %1 is linked to the link master %2 in the catalogue; an import "
                              "does not rewrite a model of another link master.")
        .arg(rcid, link);
}

ExchangeImport::Before ExchangeImport::before(QSqlDatabase db, const ExchangeFile::Document &d, QString *why)
{
    bool failed = false;
    QVariant own;
    const QString refusal = takenBy(db, d.master.rcid, &failed, &own, why);
    if (failed)
        return Before::Failed;
    if (!refusal.isEmpty()) {
        fail(why, refusal);
        return Before::Refused;
    }
    // A stored factory master is the catalogue's own data: replaced only
    // when the user says so, keys of the type or not.
    if (own.isValid() && own.toInt() == 0)
        return Before::Ask;
    const int keys = found(db, QStringLiteral("SELECT 1 FROM rckeys WHERE Rcid=? AND RCTypeId=?"),
                           {d.master.rcid, d.rcTypeId.toInt()}, why);
    if (keys < 0)
        return Before::Failed;
    return keys ? Before::Ask : Before::Write;
}

ExchangeImport::Result ExchangeImport::write(QSqlDatabase db, const ExchangeFile::Document &d, Mode mode,
                                             Outcome *outcome, QString *error, PhotosFirst *photos)
{
    Outcome out;
    out.log = d.log;
    if (mode == Mode::Replace && !d.hasLinksGroup) {
        fail(error, QCoreApplication::translate("ExchangeImport", "no RCLinks group follows RCKeys"));
        return Result::WrongFile;
    }
    if (mode == Mode::Replace && !d.linksError.isEmpty()) {
        fail(error, d.linksError);
        return Result::WrongFile;
    }

    QVariant own = 1;
    if (mode == Mode::Copy) {
        out.rcid = CatalogueWriter::freeRcid(db, error);
        if (out.rcid.isEmpty())
            return Result::Failed;
    } else {
        out.rcid = d.master.rcid;
        bool failed = false;
        QVariant stored;
        const QString refusal = takenBy(db, out.rcid, &failed, &stored, error);
        if (failed)
            return Result::Failed;
        if (!refusal.isEmpty()) {
            fail(error, refusal);
            return Result::Refused;
        }
        if (stored.isValid())
            own = stored.isNull() ? QVariant(0) : stored; // a factory record stays factory
    }
    const int typeId = d.rcTypeId.toInt();

    CatalogueWriter::Transaction transaction(db);
    if (!transaction.begin(error))
        return Result::Failed;
    if (!writeModel(db, out.rcid, out.rcid, d.master, own, error))
        return Result::Failed;
    QSqlQuery q(db);
    if (!run(q, QStringLiteral("DELETE FROM rckeys WHERE Rcid=? AND RCTypeId=?"), {out.rcid, typeId}, error))
        return Result::Failed;
    for (const ExchangeFile::Key &k : d.keys)
        if (!CatalogueWriter::writeKey(db, out.rcid, typeId, k.nkey.toInt(), k.name, k.id, error))
            return Result::Failed;

    if (mode == Mode::Replace) {
        for (const ExchangeFile::Model &link : d.links) {
            if (link.rcid == out.rcid) {
                out.log << tr("Link %1 skipped: it is the imported model itself.").arg(link.rcid);
                continue;
            }
            QVariant storedLink;
            const int stored = found(db, QStringLiteral("SELECT Link FROM rcmodels WHERE Rcid=?"), {link.rcid},
                                     error, &storedLink);
            if (stored < 0)
                return Result::Failed;
            if (stored && storedLink.toString() == link.rcid) {
                out.log << tr("Link %1 skipped: it is a link master of the catalogue.").arg(link.rcid);
                continue;
            }
            // A row of another master is that master's, factory or own: the
            // file may not move it over.
            if (stored && storedLink.toString() != out.rcid) {
                out.log << tr("Link %1 skipped: it belongs to master %2 of the catalogue.")
                               .arg(link.rcid, storedLink.toString());
                continue;
            }
            // A linked model has no keys of its own; stray ones go.
            if (!run(q, QStringLiteral("DELETE FROM rckeys WHERE Rcid=?"), {link.rcid}, error))
                return Result::Failed;
            if (!writeModel(db, link.rcid, out.rcid, link, 1, error))
                return Result::Failed;
        }
    }
    if (photos)
        photos->copy(out.rcid);
    if (!transaction.commit(error)) {
        if (photos)
            photos->undo();
        return Result::Failed;
    }
    killPoint("import-committed");
    if (outcome)
        *outcome = out;
    return Result::Written;
}

QStringList ExchangeImport::copyPhotos(const QString &fileDir, const QString &fileRcid, const QString &workDir,
                                       const QString &rcid)
{
    QStringList problems;
    const QDir source(fileDir);
    const PhotoPlaces places(workDir, rcid);
    for (int n = 1; n <= PhotoPlaces::Count; ++n) {
        const QString pattern = QLatin1Char('*') + fileRcid + QLatin1Char('_') + QString::number(n)
            + QStringLiteral(".jpg");
        const QStringList matches =
            source.entryList({pattern}, QDir::Files | QDir::NoSymLinks | QDir::Hidden, QDir::Name);
        for (const QString &name : matches) {
            if (places.isTaken(n))
                break; // the first copy (or a photo already there) wins
            // In pieces, and only a regular file within the photo bound: a
            // larger one is not taken (the model is imported all the same).
            QString reason;
            if (!places.copyIn(n, source.filePath(name), &reason))
                problems << reason;
        }
    }
    return problems;
}
