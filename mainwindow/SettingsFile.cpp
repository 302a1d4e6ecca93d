#include "mainwindow/SettingsFile.h"

#include "app/CheckedFile.h"
#include "app/SettingsText.h"
#include "app/SettingsWriter.h"
#include "app/StartupLanguage.h"

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>

namespace {

QString readText(const QSettings &settings, const char *key, const QString &defaultValue = QString())
{
    return settingsText(settings, QLatin1String(key), defaultValue);
}

bool readBool(const QSettings &settings, const char *key)
{
    return SettingsFile::textToBool(readText(settings, key));
}

QString readFolder(const QSettings &settings, const char *key)
{
    const QString folder = readText(settings, key);
    return folder.isEmpty() ? QStringLiteral("xml") : folder;
}

// The keys a save may write, each with the text the file holds for it.
SettingsWriter::Values userKeys(const SettingsValues &v)
{
    return {
        {QStringLiteral("Settings/customerId"), v.customerId},
        {QStringLiteral("Settings/language"), v.language},
        {QStringLiteral("Settings/company"), v.company},
        {QStringLiteral("Settings/address"), v.address},
        {QStringLiteral("Settings/contact"), v.contact},
        {QStringLiteral("Settings/printOnlyFirstImage"), v.printOnlyFirstImage},
        {QStringLiteral("Settings/advancedFilter"), v.advancedFilter},
        {QStringLiteral("Settings/simpleProgramming"), v.simpleProgramming},
        {QStringLiteral("UpdateInfo/automaticUpdatesCheking"), v.automaticUpdatesCheking},
        {QStringLiteral("Settings/settingsFullVersion"), v.settingsFullVersion},
        {QStringLiteral("Settings/settingsShowRCTypesInSimpleMode"), v.settingsShowRCTypesInSimpleMode},
        {QStringLiteral("Settings/lastImportPath"), v.lastImportPath},
        {QStringLiteral("Settings/lastExportPath"), v.lastExportPath},
        {QStringLiteral("Settings/lastImagesPath"), v.lastImagesPath},
        {QStringLiteral("Settings/rcTypes"), QString(v.rcTypes).replace(QLatin1Char(','), QLatin1Char('_'))},
    };
}

} // namespace

SettingsFile::Environment SettingsFile::systemEnvironment()
{
    return {QLocale::languageToString(QLocale::system().language()),
            [](const QString &path) { return QFileInfo::exists(path); }};
}

bool SettingsFile::textToBool(const QString &text)
{
    return !(text.isEmpty() || text == QLatin1String("0") || text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0);
}

QStringList SettingsFile::parseRcTypes(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("(\\d+)"));
    QStringList ids;
    // A set, not the list, says what was seen: a long hand-made list costs
    // linear time.
    QSet<QString> seen;
    auto it = digits.globalMatch(text);
    while (it.hasNext()) {
        const QString id = it.next().captured(1);
        if (!seen.contains(id)) {
            seen.insert(id);
            ids.append(id);
        }
    }
    return ids;
}

SettingsValues SettingsFile::load(const QSettings &settings, const Environment &environment)
{
    SettingsValues v;
    v.customerId = readText(settings, "Settings/customerId");
    v.defaultCustomerId = readText(settings, "Settings/defaultCustomerId", QStringLiteral("4"));
    v.language = chooseStartupLanguage(readText(settings, "Settings/language"), environment.systemLanguage,
                                       environment.fileExists);
    v.languageShowType = readText(settings, "Settings/languageShowType").toInt();
    v.company = readText(settings, "Settings/company");
    v.address = readText(settings, "Settings/address");
    v.contact = readText(settings, "Settings/contact");
    v.printOnlyFirstImage = readBool(settings, "Settings/printOnlyFirstImage");
    v.advancedFilter = readBool(settings, "Settings/advancedFilter");
    v.simpleProgramming = readBool(settings, "Settings/simpleProgramming");
    v.settingsFullVersion = readBool(settings, "Settings/settingsFullVersion");
    v.settingsShowRCTypesInSimpleMode = readBool(settings, "Settings/settingsShowRCTypesInSimpleMode");
    v.lastImportPath = readFolder(settings, "Settings/lastImportPath");
    v.lastExportPath = readFolder(settings, "Settings/lastExportPath");
    v.lastImagesPath = readFolder(settings, "Settings/lastImagesPath");
    v.automaticUpdatesCheking = readBool(settings, "UpdateInfo/automaticUpdatesCheking");
    v.enableImages = readBool(settings, "Debug/enableImages");
    v.enableMakeOwn = readBool(settings, "Debug/enableMakeOwn");
    v.enableCorrection = readBool(settings, "Debug/enableCorrection");
    v.enableProtocol = readBool(settings, "Debug/enableProtocol");
    v.showHidden = readBool(settings, "Debug/showHidden");
    v.showHidden1 = readBool(settings, "Debug/showHidden1");
    v.showRcidLink = readBool(settings, "Debug/showRcidLink");
    v.showDocumentationIcon = readBool(settings, "Debug/showDocumentationIcon");
    v.saveFlashData = readBool(settings, "Debug/saveFlashData");
    v.convertDBdeleteImages = readBool(settings, "Debug/convertDBdeleteImages");
    v.rcTypesList = parseRcTypes(readText(settings, "Settings/rcTypes"));
    v.rcTypes = v.rcTypesList.join(QLatin1Char(','));
    return v;
}

bool SettingsFile::save(QSettings &settings, const SettingsValues &saved, const SettingsValues &v, QString *error)
{
    return save(settings, settings.fileName(), saved, v, error);
}

bool SettingsFile::save(QSettings &settings, const QString &path, const SettingsValues &saved, const SettingsValues &v,
                        QString *error)
{
    const SettingsWriter::Values before = userKeys(saved);
    const SettingsWriter::Values after = userKeys(v);
    SettingsWriter::Values changed;
    for (qsizetype i = 0; i < after.size(); ++i) {
        if (after.at(i).second != before.at(i).second)
            changed << after.at(i);
    }
    if (changed.isEmpty())
        return true;
    const bool written = SettingsWriter::write(path, changed, error);
    // The object only reads; this makes it see the file as it now is, when
    // that is still a file it may read.
    CheckedFile::sync(settings);
    return written;
}
