#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>

// The export of the user's own changed models (Own 1, Flag 0) of at most
// ten link groups, with their keys and a block that describes the
// installation, as one XML file.
class OwnDataExport
{
public:
    static constexpr int MaxLinks = 10;

    // The file's text. company, address and contact come from the settings
    // file at settingsPath ("company", "address", "contact" when missing).
    // False when a query fails.
    static bool document(QSqlDatabase db, const QString &settingsPath, QByteArray *xml, QString *error);

    // Writes the document to fileName (replacing it).
    static bool write(QSqlDatabase db, const QString &fileName, const QString &settingsPath, QString *error);
};
