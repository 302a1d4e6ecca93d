#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QSettings;

// What "config.ini" holds for the main window. A default-constructed value is
// what a missing file reads as (language aside, which depends on the system).
struct SettingsValues
{
    QString customerId;
    QString defaultCustomerId = QStringLiteral("4");
    QString language = QStringLiteral("English");
    int languageShowType = 0;
    QString company;
    QString address;
    QString contact;
    bool printOnlyFirstImage = false;
    bool advancedFilter = false;
    bool simpleProgramming = false;
    bool settingsFullVersion = false;
    bool settingsShowRCTypesInSimpleMode = false;
    QString lastImportPath = QStringLiteral("xml");
    QString lastExportPath = QStringLiteral("xml");
    QString lastImagesPath = QStringLiteral("xml");
    bool automaticUpdatesCheking = false;

    // Hand-edited switches of the "Debug" group; the program never writes them.
    bool enableImages = false;
    bool enableMakeOwn = false;
    bool enableCorrection = false;
    bool enableProtocol = false;
    bool showHidden = false;
    bool showHidden1 = false;
    bool showRcidLink = false;
    bool showDocumentationIcon = false;
    bool saveFlashData = false;
    bool convertDBdeleteImages = false;

    // Remote types offered here: one id per entry, and the same ids joined by
    // "," for SQL IN lists. Empty means no list is stored.
    QStringList rcTypesList;
    QString rcTypes;
};

// Reads and writes the main window's keys of "config.ini". Keys it does not
// write (the "Debug" group, the default customer, the update dates, ...) are
// left in the file exactly as they are.
class SettingsFile
{
public:
    // What the language rule asks of the system: the English name of the
    // system locale's language, and whether a relative path exists.
    struct Environment
    {
        QString systemLanguage;
        std::function<bool(const QString &)> fileExists;
    };
    static Environment systemEnvironment();

    static SettingsValues load(const QSettings &settings, const Environment &environment);

    // Writes into settings' file those of the fifteen user-changeable keys
    // whose value in values differs from saved (what the file held of them
    // when it was loaded or last saved), merged into the file as it is now,
    // whole or not at all: keys another writer saved meanwhile stay. With
    // nothing changed the file is not touched. settings itself is only read,
    // then refreshed. False with *error naming the file and the reason when
    // the file was left as it was.
    static bool save(QSettings &settings, const SettingsValues &saved, const SettingsValues &values,
                     QString *error = nullptr);
    // The same into the file at path, for settings that could not read it
    // (CheckedFile::settings) and so name no file.
    static bool save(QSettings &settings, const QString &path, const SettingsValues &saved, const SettingsValues &values,
                     QString *error = nullptr);

    // Every run of digits is an id, anything else separates them; duplicates
    // (as texts) are dropped, the first one kept.
    static QStringList parseRcTypes(const QString &text);

    // How the file reads a boolean: false when empty, "0" or "false" (any case).
    static bool textToBool(const QString &text);
};
