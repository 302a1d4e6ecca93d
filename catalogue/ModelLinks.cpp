#include "catalogue/ModelLinks.h"

QString ModelLinks::statement(bool showHidden, bool showHidden1)
{
    QString condition = QStringLiteral("(Link=?)");
    if (!showHidden)
        condition += QStringLiteral("AND(Hidden=0)");
    if (!showHidden1)
        condition += QStringLiteral("AND(Hidden1=0)");
    return QStringLiteral("SELECT Rcid,Brand,Type,Model,(CASE WHEN rcid=link THEN 0 ELSE 1 END) AS sortlink "
                          "FROM rcmodels WHERE ")
        + condition + QStringLiteral(" ORDER BY sortlink,Brand,Model");
}

QSqlQuery ModelLinks::query(QSqlDatabase db, const QString &link, bool showHidden, bool showHidden1)
{
    QSqlQuery q(db);
    if (q.prepare(statement(showHidden, showHidden1))) {
        q.addBindValue(link);
        q.exec();
    }
    return q;
}
