#pragma once

#include <QCoreApplication>
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

    // Whether a database error text says the file itself is damaged.
    static bool damaged(const QString &errorText);

    // What the user is told: "The catalogue could not be read: <reason>",
    // and for a damaged file the advice to restore it from a copy.
    static QString message(const QString &errorText);
};
