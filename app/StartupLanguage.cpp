#include "app/StartupLanguage.h"

QString chooseStartupLanguage(const QString &configured, const QString &localeLanguageName,
                              const std::function<bool(const QString &)> &fileExists)
{
    const QString language = configured.isEmpty() ? localeLanguageName : configured;
    if (!fileExists(QStringLiteral("Languages/") + language + QStringLiteral(".qm")))
        return QStringLiteral("English");
    return language;
}
