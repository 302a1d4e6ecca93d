#pragma once

#include <QString>
#include <functional>

// The language the two start-up translators load: the configured one, else the
// system locale's language name, and "English" when "Languages/<name>.qm" is
// missing. fileExists is asked with the relative path of the .qm file.
QString chooseStartupLanguage(const QString &configured, const QString &localeLanguageName,
                              const std::function<bool(const QString &)> &fileExists);
