#include "catalogue/KeyPositionTable.h"

#include "catalogue/CatalogueRead.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// A value from the catalogue as a 32-bit integer; false when it is not one.
bool toInt32(const QVariant &value, qint32 *out)
{
    bool ok = false;
    const qlonglong v = value.toLongLong(&ok);
    if (!ok || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        return false;
    *out = qint32(v);
    return true;
}

} // namespace

void KeyPositionTable::reset()
{
    m_entries.fill(KeyPosition());
    m_present.reset();
}

bool KeyPositionTable::set(int n, const KeyPosition &position)
{
    if (!isKeyNumber(n))
        return false;
    m_entries[size_t(n)] = position;
    m_present.set(size_t(n));
    return true;
}

KeyPositionTable::LoadResult KeyPositionTable::load(QSqlDatabase db, const QString &typeId, const QString &customer)
{
    reset();
    LoadResult result;
    bool typeOk = false, customerOk = false;
    const int type = typeId.trimmed().toInt(&typeOk);
    const qlonglong cust = customer.trimmed().toLongLong(&customerOk);
    if (!typeOk || !customerOk)
        return result;

    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT NKey,X,Y,Shift FROM rctypekeys WHERE(RCTypeId=? and CustomerId=?)"));
    q.addBindValue(type);
    q.addBindValue(cust);
    if (!q.exec()) {
        result.ok = false;
        result.error = q.lastError().text();
        return result;
    }
    const bool whole = CatalogueRead::each(
        q,
        [&](const QSqlQuery &row) {
            ++result.rows;
            qint32 n = -1;
            KeyPosition p; // a NULL Shift reads as the normal layer
            if (!toInt32(row.value(0), &n) || !isKeyNumber(n) || !toInt32(row.value(1), &p.X)
                || !toInt32(row.value(2), &p.Y) || !(row.value(3).isNull() || toInt32(row.value(3), &p.Shift))) {
                ++result.ignored;
                return;
            }
            if (contains(n))
                ++result.duplicates;
            set(n, p);
        },
        &result.error);
    if (!whole) {
        // Half a layout would send clicks to the wrong keys.
        reset();
        result.ok = false;
    }
    return result;
}

int KeyPositionTable::hitTest(int ux, int uy, bool shift) const
{
    const qint32 layer = shift ? 1 : 0;
    for (int i = 0; i < HitTestLimit; ++i) {
        if (!m_present.test(size_t(i)))
            continue;
        const KeyPosition &p = m_entries[size_t(i)];
        if (p.Shift != layer)
            continue;
        // 64-bit so that positions near the int limits cannot overflow.
        const qint64 dx = qint64(ux) - p.X, dy = qint64(uy) - p.Y;
        if (dx >= -HotSpotReach && dx <= HotSpotReach && dy >= -HotSpotReach && dy <= HotSpotReach)
            return i;
    }
    return -1;
}
