#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>

// QSettings turns a value written with commas into a list; every text key of
// "config.ini" is read through here so such a value comes back as written.
inline QString settingsText(const QSettings &settings, const QString &key, const QString &defaultValue = QString())
{
    const QVariant v = settings.value(key, defaultValue);
    if (v.userType() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}
