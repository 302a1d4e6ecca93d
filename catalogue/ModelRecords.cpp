#include "catalogue/ModelRecords.h"

#include "catalogue/PhotoPlaces.h"

#include "app/OwnMark.h"

#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>
#include <QVariant>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ModelRecords", text);
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

bool run(QSqlQuery &q, QString *error)
{
    if (q.exec())
        return true;
    setError(error, q.lastError().text());
    return false;
}

// 1: a row exists, 0: none, -1: the query failed.
int exists(QSqlDatabase db, const QString &sql, const QString &value, QString *error)
{
    QSqlQuery q(db);
    q.prepare(sql);
    q.addBindValue(value);
    if (!run(q, error))
        return -1;
    return q.next() ? 1 : 0;
}

} // namespace

QString ModelRecords::newRcid()
{
    // The text form is "{xxxxxxxx-...}": the eight digits after the brace.
    return QUuid::createUuid().toString().mid(1, 8).toLower();
}

QStringList ModelRecords::settleParkedPhotos(QSqlDatabase db, const QString &workDir)
{
    QStringList problems;
    // One master's parked photos are settled together: how many there are
    // tells a deletion of the master from the deletion of one photo.
    QMap<QString, QList<PhotoPlaces::Parked>> byMaster;
    QSet<QString> busy;
    for (const PhotoPlaces::Parked &photo : PhotoPlaces::parked(workDir)) {
        byMaster[photo.master].append(photo);
        // A deletion that another running instance is carrying out is its own.
        if (OwnMark::processRunning(photo.process))
            busy.insert(photo.master);
    }
    for (auto it = byMaster.cbegin(); it != byMaster.cend(); ++it) {
        if (busy.contains(it.key()))
            continue;
        QString error;
        const int there =
            exists(db, QStringLiteral("SELECT 1 FROM rcmodels WHERE Rcid=? AND Link=Rcid"), it.key(), &error);
        if (there < 0) {
            // Unknown is not gone: the photos wait for the next start.
            for (const PhotoPlaces::Parked &photo : it.value())
                problems << tr("The photo %1 was left as it is: %2").arg(photo.path, error);
        } else if (there == 0) {
            for (const PhotoPlaces::Parked &photo : it.value())
                if (!QFile::remove(photo.path))
                    problems << tr("The photo %1 of a deleted model cannot be removed.").arg(photo.path);
        } else if (!PhotoPlaces(workDir, it.key()).settle(it.value(), &error)) {
            problems << error;
        }
    }
    return problems;
}

QString ModelRecords::correctionText(double value)
{
    return QString::number(value, 'g', 6);
}

bool ModelRecords::masterExists(QSqlDatabase db, const QString &rcid, QString *error)
{
    return exists(db, QStringLiteral("SELECT 1 FROM rcmodels WHERE Rcid=? AND Link=Rcid"), rcid, error) == 1;
}

int ModelRecords::linkCount(QSqlDatabase db, const QString &rcid, QString *error)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT count(*) FROM rcmodels WHERE Link=? AND Rcid!=Link"));
    q.addBindValue(rcid);
    if (!run(q, error) || !q.next())
        return -1;
    return q.value(0).toInt();
}

int ModelRecords::factoryCount(QSqlDatabase db, const QString &rcid, QString *error)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT count(*) FROM rcmodels WHERE (Rcid=? OR Link=?) AND Own=0"));
    q.addBindValue(rcid);
    q.addBindValue(rcid);
    if (!run(q, error) || !q.next())
        return -1;
    return q.value(0).toInt();
}

bool ModelRecords::insertModel(QSqlDatabase db, const NewModel &model, QString *rcid, QString *error)
{
    if (!model.link.isEmpty()) {
        const int master = exists(db, QStringLiteral("SELECT 1 FROM rcmodels WHERE Rcid=? AND Link=Rcid"),
                                  model.link, error);
        if (master < 0)
            return false;
        if (master == 0) {
            setError(error, tr("The link master %1 of this model does not exist; nothing was written.")
                                .arg(model.link));
            return false;
        }
    }

    // A random identity can collide with an existing one; draw again then.
    QString id;
    for (int attempt = 0; attempt < 16 && id.isEmpty(); ++attempt) {
        const QString candidate = newRcid();
        const int taken = exists(db, QStringLiteral("SELECT 1 FROM rcmodels WHERE Rcid=?"), candidate, error);
        if (taken < 0)
            return false;
        if (taken == 0)
            id = candidate;
    }
    if (id.isEmpty()) {
        setError(error, tr("No free model identity was found."));
        return false;
    }

    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO rcmodels (Rcid,Brand,Type,Model,Documentation,Own,Link) "
                             "VALUES(?,?,?,?,?,1,?)"));
    q.addBindValue(id);
    q.addBindValue(model.brand);
    q.addBindValue(model.type);
    q.addBindValue(model.model);
    q.addBindValue(model.documentation);
    q.addBindValue(model.link.isEmpty() ? id : model.link);
    if (!run(q, error))
        return false;
    if (rcid)
        *rcid = id;
    return true;
}

bool ModelRecords::updateModel(QSqlDatabase db, const Edit &edit, QString *error)
{
    if (edit.isEmpty())
        return true;

    QStringList sets;
    QVariantList values;
    auto add = [&](const char *column, const QVariant &value) {
        sets << QLatin1String(column) + QStringLiteral("=?");
        values << value;
    };
    if (edit.brand)
        add("Brand", *edit.brand);
    if (edit.type)
        add("Type", *edit.type);
    if (edit.model)
        add("Model", *edit.model);
    if (edit.documentation)
        add("Documentation", *edit.documentation);
    if (edit.own)
        add("Own", *edit.own ? 1 : 0);
    if (edit.correction)
        add("Correction", correctionText(*edit.correction).toDouble());
    if (edit.prot)
        add("Prot", *edit.prot);
    add("Flag", 0);

    QSqlQuery q(db);
    q.prepare(QStringLiteral("UPDATE rcmodels SET %1 WHERE Rcid=?").arg(sets.join(QLatin1Char(','))));
    for (const QVariant &v : std::as_const(values))
        q.addBindValue(v);
    q.addBindValue(edit.rcid);
    if (!run(q, error))
        return false;
    if (q.numRowsAffected() != 1) {
        setError(error, tr("The model %1 no longer exists; nothing was written.").arg(edit.rcid));
        return false;
    }
    return true;
}

ModelRecords::DeleteResult ModelRecords::deleteModel(QSqlDatabase db, const QString &workDir, const QString &rcid,
                                                     QString *error)
{
    if (!db.transaction()) {
        setError(error, db.lastError().text());
        return DeleteResult::Failed;
    }
    auto fail = [&](DeleteResult result) {
        db.rollback();
        return result;
    };

    // The whole group is the model and every model linked to it; factory
    // rows among them are never deleted.
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT count(*), sum(Own=0) FROM rcmodels WHERE Rcid=? OR Link=?"));
    q.addBindValue(rcid);
    q.addBindValue(rcid);
    if (!run(q, error) || !q.next())
        return fail(DeleteResult::Failed);
    if (q.value(0).toInt() == 0) {
        setError(error, tr("The model %1 no longer exists.").arg(rcid));
        return fail(DeleteResult::Failed);
    }
    if (q.value(1).toInt() > 0) {
        setError(error, tr("This remote control cannot be deleted: its links include models of the FACTORY database."));
        return fail(DeleteResult::Refused);
    }

    QSqlQuery models(db);
    models.prepare(QStringLiteral("DELETE FROM rcmodels WHERE Rcid=? OR Link=?"));
    models.addBindValue(rcid);
    models.addBindValue(rcid);
    QSqlQuery keys(db);
    keys.prepare(QStringLiteral("DELETE FROM rckeys WHERE Rcid=?"));
    keys.addBindValue(rcid);
    if (!run(models, error) || !run(keys, error))
        return fail(DeleteResult::Failed);

    // Photos are moved aside first and removed only after the commit, so a
    // failure anywhere leaves them in their places.
    PhotoPlaces photos(workDir, rcid);
    if (!photos.stageAll(error))
        return fail(DeleteResult::Failed);
    if (!db.commit()) {
        setError(error, db.lastError().text());
        photos.restoreStaged();
        return fail(DeleteResult::Failed);
    }
    photos.discardStaged();
    return DeleteResult::Deleted;
}
