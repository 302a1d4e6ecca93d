#pragma once

#include <QDate>
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

// Dates in "config.ini" are ISO text ("yyyy-MM-dd"); anything else, or a
// missing key, reads as an invalid date.
inline QDate settingsDate(const QSettings &settings, const QString &key)
{
    return QDate::fromString(settingsText(settings, key).trimmed(), Qt::ISODate);
}

// The counterpart of settingsDate: plain ISO text, never "@Variant(...)".
inline void setSettingsDate(QSettings &settings, const QString &key, const QDate &date)
{
    settings.setValue(key, date.isValid() ? date.toString(Qt::ISODate) : QString());
}
