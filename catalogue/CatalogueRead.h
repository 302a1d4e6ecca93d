#pragma once

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// Reading the catalogue to its end. A result loop `while (q.next())` also ends
// when SQLite stops on an error (a damaged page, a lock held too long); only
// the query's error tells that end from the real one. Every read that feeds a
// write or an action goes through here, so a part read never passes as whole.
class CatalogueRead
{
    Q_DECLARE_TR_FUNCTIONS(CatalogueRead)

public:
    // Calls row(q) for every row of an executed query. True when the rows
    // were read to the end; false when the query is not active or a step
    // failed (then *error holds the database's reason).
    template <typename Row>
    static bool each(QSqlQuery &q, Row &&row, QString *error = nullptr)
    {
        if (q.isActive()) {
            while (q.next())
                row(q);
        }
        return finished(q, error);
    }

    // After a loop over q: true when it ended at the end of the result.
    static bool finished(const QSqlQuery &q, QString *error = nullptr);

    // Moves to the first row of an executed query that should hold at most
    // one: *found tells whether there was one. False when the step failed.
    static bool first(QSqlQuery &q, bool *found, QString *error = nullptr);

    // How long a statement waits for a lock another program holds on the
    // catalogue before it fails: long enough for a short write to pass, short
    // enough that the window does not seem to hang.
    static constexpr int BusyTimeoutMs = 2000;

    // Sets that wait on a connection; it takes effect when db is opened.
    static void limitBusyWait(QSqlDatabase &db);

    // One small read: false (with the reason) when the catalogue cannot be
    // read now, such as while another program holds it locked. A refresh of
    // several views asks this first, so it waits for a lock only once.
    static bool readable(const QSqlDatabase &db, QString *error);

    // Whether a database error text says the file itself is damaged.
    static bool damaged(const QString &errorText);

    // Whether a database error text says another connection holds a lock.
    static bool locked(const QString &errorText);

    // What the user is told: "The catalogue could not be read: <reason>",
    // and for a damaged file the advice to restore it from a copy, for a
    // locked one that another program holds it.
    static QString message(const QString &errorText);
};
