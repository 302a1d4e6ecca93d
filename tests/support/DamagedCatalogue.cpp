#include "DamagedCatalogue.h"

#include <QFile>
#include <QList>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace DamagedCatalogue {

namespace {

qint64 pragma(QSqlDatabase db, const char *name)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA %1").arg(QLatin1String(name))) || !q.next())
        return -1;
    return q.value(0).toLongLong();
}

// The leaf pages of table in key order, by SQLite's own page statistics.
QList<qint64> leaves(QSqlDatabase db, const QString &table)
{
    QList<qint64> pages;
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT pageno FROM dbstat WHERE name=? AND pagetype='leaf' ORDER BY path"));
    q.addBindValue(table);
    if (!q.exec()) {
        qWarning("damaged catalogue: %s", qPrintable(q.lastError().text()));
        return {};
    }
    while (q.next())
        pages << q.value(0).toLongLong();
    return pages;
}

// Overwrites the pages [first, first + count) of db's file with noise.
bool overwritePages(QSqlDatabase db, qint64 first, qint64 count, qint64 pageSize)
{
    const QString path = db.databaseName();
    db.close();
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        qWarning("damaged catalogue: %s", qPrintable(file.errorString()));
        return false;
    }
    QRandomGenerator random(20261211);
    QByteArray noise(int(count * pageSize), '\0');
    for (char &c : noise)
        c = char(random.bounded(256));
    const bool written = file.seek((first - 1) * pageSize) && file.write(noise) == noise.size();
    file.close();
    if (!written || !db.open()) {
        qWarning("damaged catalogue: the damage could not be written");
        return false;
    }
    return true;
}

} // namespace

int leafCount(QSqlDatabase db, const QString &table)
{
    const QList<qint64> pages = leaves(db, table);
    return pages.isEmpty() ? -1 : int(pages.size());
}

bool damageLeaf(QSqlDatabase db, const QString &table, int leaf)
{
    const QList<qint64> pages = leaves(db, table);
    const qint64 pageSize = pragma(db, "page_size");
    if (leaf < 0)
        leaf = int(pages.size()) + leaf;
    if (leaf < 0 || leaf >= pages.size() || pageSize <= 0) {
        qWarning("damaged catalogue: %s has no leaf %d of %d", qPrintable(table), leaf, int(pages.size()));
        return false;
    }
    return overwritePages(db, pages.at(leaf), 1, pageSize);
}

bool damageRow(QSqlDatabase db, const QString &table, qint64 rowid)
{
    // Leaves hold the rows in rowid order: the row's place among them names its leaf.
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT count(*) FROM \"%1\" WHERE rowid < ?").arg(table));
    q.addBindValue(rowid);
    if (!q.exec() || !q.next()) {
        qWarning("damaged catalogue: %s", qPrintable(q.lastError().text()));
        return false;
    }
    qint64 before = q.value(0).toLongLong();
    q.finish();
    QSqlQuery cells(db);
    cells.prepare(QStringLiteral("SELECT ncell FROM dbstat WHERE name=? AND pagetype='leaf' ORDER BY path"));
    cells.addBindValue(table);
    if (!cells.exec()) {
        qWarning("damaged catalogue: %s", qPrintable(cells.lastError().text()));
        return false;
    }
    int leaf = 0;
    while (cells.next()) {
        before -= cells.value(0).toLongLong();
        if (before < 0)
            break;
        ++leaf;
    }
    cells.finish();
    return damageLeaf(db, table, leaf);
}

bool addKeys(QSqlDatabase db, const QString &link, int typeId, Damage damage, int count)
{
    const qint64 pagesBefore = pragma(db, "page_count");
    if (pagesBefore < 0 || !db.transaction()) {
        qWarning("damaged catalogue: %s", qPrintable(db.lastError().text()));
        return false;
    }
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO rckeys (Rcid,RCTypeId,Name,ID,Nkey) VALUES (?,?,?,?,?)"));
    for (int i = 0; i < count; ++i) {
        insert.addBindValue(link);
        insert.addBindValue(typeId);
        insert.addBindValue(QStringLiteral("Key %1").arg(i));
        insert.addBindValue(QStringLiteral("0013%1").arg(i, 60, 16, QLatin1Char('A')));
        insert.addBindValue(i % 112);
        if (!insert.exec()) {
            qWarning("damaged catalogue: %s", qPrintable(insert.lastError().text()));
            db.rollback();
            return false;
        }
    }
    insert.finish();
    if (!db.commit())
        return false;
    const qint64 pagesAfter = pragma(db, "page_count");
    const qint64 pageSize = pragma(db, "page_size");
    if (pagesAfter - pagesBefore < 8 || pageSize <= 0) {
        qWarning("damaged catalogue: the keys took only %lld pages", pagesAfter - pagesBefore);
        return false;
    }
    if (damage == Damage::None)
        return true;
    // Pages are numbered from 1. The middle third of the new pages holds
    // leaves of the table and of its index alike, so reads through either
    // meet the damage after the first rows.
    const qint64 added = pagesAfter - pagesBefore;
    const qint64 firstDamaged = pagesBefore + 1 + added / 3;
    if (!overwritePages(db, firstDamaged, added / 3, pageSize))
        return false;
    return true;
}

} // namespace DamagedCatalogue
