#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// The models that share one link master: the master first, then the others by
// brand and model. Columns: Rcid, Brand, Type, Model, sortlink (0 master, 1 others).
class ModelLinks
{
public:
    // The statement with the link as its one bound value; hidden rows are
    // left out unless the matching debug switch shows them.
    static QString statement(bool showHidden, bool showHidden1);
    // The statement prepared, bound and run; check isActive() for success.
    static QSqlQuery query(QSqlDatabase db, const QString &link, bool showHidden, bool showHidden1);
};
