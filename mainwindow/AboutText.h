#pragma once

#include <QDate>
#include <QString>

// The rich text of the About box. The words "Version", "Date" and "Database
// Date" are translated in the main window's context; the rest is not.
class AboutText
{
public:
    static QString programVersion() { return QStringLiteral("2.5.10"); }
    static QString programDate() { return QStringLiteral("21.11.2023"); }

    // databaseDate is the catalogue's date from the settings file; an invalid
    // date leaves the catalogue line without a date.
    static QString build(const QString &productName, const QString &authorLine, const QDate &databaseDate);
};
