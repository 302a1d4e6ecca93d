#pragma once

#include <QDate>
#include <QString>

class QSettings;

// The package dates of an update "config.ini" (group "UpdateInfo"), local or
// the server's copy. A missing key or a text that is no ISO date reads as an
// invalid date.
struct UpdateDates
{
    QDate update, main, database, other;

    static UpdateDates read(const QSettings &settings);
    static QDate readDate(const QSettings &settings, const QString &key);

    // True when a server date is strictly later than the local one. An invalid
    // local date is earlier than every valid date; an invalid server date is
    // never newer than anything.
    static bool isNewer(const QDate &server, const QDate &local);

    // True when the program, the catalogue or the other files are newer on the
    // server; a newer updater package alone does not count.
    static bool anyPackageNewer(const UpdateDates &server, const UpdateDates &local);

    // True when at least one of the four dates is valid.
    bool anyValid() const;
};
