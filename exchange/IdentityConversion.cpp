#include "exchange/IdentityConversion.h"

#include "catalogue/CatalogueRead.h"
#include "catalogue/PhotoPlaces.h"
#include "exchange/CatalogueWriter.h"

#include <QDebug>
#include <QDir>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <QVariant>

using CatalogueWriter::fail;
using CatalogueWriter::run;

QString IdentityConversion::newIdentity(const QString &text)
{
    static const QRegularExpression braced(QStringLiteral(
        "\\A\\{([0-9a-fA-F]{8})-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{12}\\}\\z"));
    const QRegularExpressionMatch m = braced.match(text);
    return m.hasMatch() ? m.captured(1).toLower() : QString();
}

bool IdentityConversion::convert(QSqlDatabase db, const QString &workDir, bool deleteOrphans, Result *result,
                                 QString *error)
{
    Result out;
    // Every old identity anywhere in the two tables, with its new form.
    QMap<QString, QString> newOf;
    QSet<QString> stored; // identities already in the new form
    QSqlQuery q(db);
    if (!run(q,
             QStringLiteral("SELECT Rcid FROM rcmodels UNION SELECT Link FROM rcmodels UNION SELECT Rcid FROM rckeys"),
             {}, error))
        return false;
    // Converting only the identities read before a failed step would split
    // groups between old and new names.
    if (!CatalogueRead::each(
            q,
            [&](const QSqlQuery &row) {
                const QString id = row.value(0).toString();
                const QString converted = newIdentity(id);
                if (!converted.isEmpty())
                    newOf.insert(id, converted);
                else
                    stored.insert(id);
            },
            error))
        return false;
    QMap<QString, QStringList> oldOf;
    for (auto it = newOf.cbegin(); it != newOf.cend(); ++it)
        oldOf[it.value()] << it.key();
    for (auto it = oldOf.cbegin(); it != oldOf.cend(); ++it) {
        if (it.value().size() > 1 || stored.contains(it.key())) {
            out.collision = it.value();
            if (stored.contains(it.key()))
                out.collision << it.key();
            *result = out;
            return fail(error, QStringLiteral("identities collide on %1").arg(it.key()));
        }
    }

    {
        CatalogueWriter::Transaction transaction(db);
        if (!transaction.begin(error))
            return false;
        for (auto it = newOf.cbegin(); it != newOf.cend(); ++it) {
            if (!run(q, QStringLiteral("UPDATE rcmodels SET Rcid=? WHERE Rcid=?"), {it.value(), it.key()}, error)
                || !run(q, QStringLiteral("UPDATE rcmodels SET Link=? WHERE Link=?"), {it.value(), it.key()}, error)
                || !run(q, QStringLiteral("UPDATE rckeys SET Rcid=? WHERE Rcid=?"), {it.value(), it.key()}, error))
                return false;
        }
        if (!transaction.commit(error))
            return false;
    }
    out.identities = newOf.size();
    qDebug() << "DB converted";

    // Photos: exactly an old identity, "_", the photo number and ".jpg".
    static const QRegularExpression photoName(QStringLiteral("\\A(\\{[^}]*\\})(_[0-9]+\\.jpg)\\z"));
    QDir photos(QDir(workDir).filePath(PhotoPlaces::folderName()));
    const QStringList names = photos.entryList({QStringLiteral("*{*}*.jpg")}, QDir::Files | QDir::NoSymLinks);
    for (const QString &name : names) {
        const QRegularExpressionMatch m = photoName.match(name);
        const QString converted = m.hasMatch() ? newIdentity(m.captured(1)) : QString();
        if (converted.isEmpty())
            continue;
        const QString target = converted + m.captured(2);
        if (photos.exists(target) || !photos.rename(name, target)) {
            out.notRenamed << name;
            continue;
        }
        out.renamed << name + QStringLiteral(" -> ") + target;
        qDebug() << name << target;
    }
    qDebug() << "Images converted";

    if (deleteOrphans)
        deleteOrphanPhotos(db, workDir, &out);
    *result = out;
    return true;
}

void IdentityConversion::deleteOrphanPhotos(QSqlDatabase db, const QString &workDir, Result *result)
{
    QDir photos(QDir(workDir).filePath(PhotoPlaces::folderName()));
    const QStringList all = photos.entryList({QStringLiteral("*.jpg")}, QDir::Files | QDir::NoSymLinks);
    for (const QString &name : all) {
        const QString id = name.left(name.size() - 6); // without "_", the number and ".jpg"
        QSqlQuery look(db);
        QString lookError;
        if (!run(look, QStringLiteral("SELECT 1 FROM rcmodels WHERE Rcid=?"), {id}, &lookError)) {
            // Only a look-up that worked can say a photo has no owner.
            result->problems << name;
            continue;
        }
        bool owned = false;
        if (!CatalogueRead::first(look, &owned)) {
            result->problems << name;
            continue;
        }
        if (owned)
            continue;
        if (photos.remove(name)) {
            result->deleted << name;
            qDebug() << "deleted " << name << id;
        } else {
            result->problems << name;
        }
    }
    qDebug() << "Images deleted";
}

QString IdentityConversion::photoReport(const Result &result)
{
    QStringList kept, deleted;
    for (const QString &name : result.notRenamed)
        (result.deleted.contains(name) ? deleted : kept) << name;
    QStringList parts;
    if (!kept.isEmpty())
        parts << tr("These photos could not be renamed and keep their old names:\n%1").arg(kept.join(QLatin1Char('\n')));
    if (!deleted.isEmpty())
        parts << tr("These photos could not be renamed and were deleted, as no model has their identity:\n%1")
                     .arg(deleted.join(QLatin1Char('\n')));
    if (!result.problems.isEmpty())
        parts << tr("These photos could not be deleted:\n%1").arg(result.problems.join(QLatin1Char('\n')));
    return parts.join(QStringLiteral("\n\n"));
}
