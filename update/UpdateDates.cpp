#include "update/UpdateDates.h"

#include "app/SettingsText.h"

#include <QSettings>

QDate UpdateDates::readDate(const QSettings &settings, const QString &key)
{
    return QDate::fromString(settingsText(settings, key).trimmed(), Qt::ISODate);
}

UpdateDates UpdateDates::read(const QSettings &settings)
{
    UpdateDates d;
    d.update = readDate(settings, QStringLiteral("UpdateInfo/update"));
    d.main = readDate(settings, QStringLiteral("UpdateInfo/main"));
    d.database = readDate(settings, QStringLiteral("UpdateInfo/database"));
    d.other = readDate(settings, QStringLiteral("UpdateInfo/other"));
    return d;
}

bool UpdateDates::isNewer(const QDate &server, const QDate &local)
{
    if (!server.isValid())
        return false;
    return !local.isValid() || server > local;
}

bool UpdateDates::anyPackageNewer(const UpdateDates &server, const UpdateDates &local)
{
    return isNewer(server.main, local.main) || isNewer(server.database, local.database)
        || isNewer(server.other, local.other);
}

bool UpdateDates::anyValid() const
{
    return update.isValid() || main.isValid() || database.isValid() || other.isValid();
}
