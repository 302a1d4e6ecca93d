#include "catalogue/CatalogueRead.h"

#include <QSqlError>

bool CatalogueRead::finished(const QSqlQuery &q, QString *error)
{
    const QSqlError e = q.lastError();
    if (e.isValid()) {
        if (error)
            *error = e.text();
        return false;
    }
    if (!q.isActive()) {
        // Never executed: nothing was read, which is no whole result either.
        if (error)
            *error = tr("the query did not run");
        return false;
    }
    return true;
}

bool CatalogueRead::first(QSqlQuery &q, bool *found, QString *error)
{
    *found = q.isActive() && q.next();
    return finished(q, error);
}

void CatalogueRead::limitBusyWait(QSqlDatabase &db)
{
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
}

bool CatalogueRead::readable(const QSqlDatabase &db, QString *error)
{
    // Reading the schema takes the same shared lock as any other read.
    QSqlQuery q(db);
    bool found = false;
    if (!q.exec(QStringLiteral("SELECT 1 FROM sqlite_master LIMIT 1")))
        return finished(q, error);
    return first(q, &found, error);
}

bool CatalogueRead::locked(const QString &errorText)
{
    // SQLite's words for SQLITE_BUSY and SQLITE_LOCKED.
    return errorText.contains(QLatin1String("is locked"), Qt::CaseInsensitive);
}

bool CatalogueRead::damaged(const QString &errorText)
{
    // SQLite's own words for SQLITE_CORRUPT and SQLITE_NOTADB.
    return errorText.contains(QLatin1String("malformed"), Qt::CaseInsensitive)
        || errorText.contains(QLatin1String("file is not a database"), Qt::CaseInsensitive);
}

QString CatalogueRead::message(const QString &errorText)
{
    QString text = tr("The catalogue could not be read: %1").arg(errorText.trimmed());
    if (damaged(errorText))
        text += QLatin1Char('\n')
              + tr("The catalogue file rc.db is damaged. Close the program and restore rc.db from a copy.");
    else if (locked(errorText))
        text += QLatin1Char('\n')
              + tr("Another program is using rc.db. Close it, or wait until it is done, and try again.");
    return text;
}
