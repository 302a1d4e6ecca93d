#include "mainwindow/LanguageFiles.h"

#include "app/CheckedFile.h"
#include "app/TranslationLookup.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

QList<LanguageFiles::Language> LanguageFiles::scan(const QString &languagesDir, QStringList *problems)
{
    QStringList names = QDir(languagesDir).entryList(QDir::Files);
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return QString::compare(a, b, Qt::CaseSensitive) < 0; });
    QList<Language> languages;
    const QDir dir(languagesDir);
    for (const QString &name : std::as_const(names)) {
        if (name.startsWith(QLatin1String("qt_")))
            continue;
        Language l;
        l.baseName = name.left(name.size() - 3);
        QString problem;
        l.ownName = ownName(dir.filePath(l.baseName + QStringLiteral(".qm")), l.baseName, &problem);
        if (!problem.isEmpty() && problems)
            problems->append(problem);
        l.flagFile = flagFile(languagesDir, l.baseName);
        languages.append(l);
    }
    return languages;
}

QString LanguageFiles::ownName(const QString &qmFile, const QString &baseName, QString *problem)
{
    // Only the name is read: the menu lists every file, and only the chosen
    // language's file is read whole.
    QString name;
    QString why;
    if (TranslationLookup::find(qmFile, CheckedFile::TranslationBytes, "MainWindowImpl", "LanguageName", &name,
                                &why) != TranslationLookup::Result::Found) {
        if (problem)
            *problem = why;
        return baseName;
    }
    name = name.trimmed();
    if (name.isEmpty() || name == QLatin1String("LanguageName"))
        return baseName;
    return name;
}

QString LanguageFiles::entryText(const Language &language, int showType)
{
    switch (showType) {
    case 1:
        return language.ownName;
    case 2:
        return language.baseName;
    default:
        // Each name once: a language that calls itself by its base name
        // would otherwise read "English English".
        if (language.ownName == language.baseName)
            return language.ownName;
        return language.ownName + QStringLiteral(" (") + language.baseName + QLatin1Char(')');
    }
}

QString LanguageFiles::flagFile(const QString &languagesDir, const QString &language)
{
    const QString path = QDir(languagesDir).filePath(QStringLiteral("flags/") + language + QStringLiteral(".png"));
    return QFileInfo::exists(path) ? path : QString();
}

QString LanguageFiles::helpPage(const QString &languagesDir, const QString &language)
{
    const QDir dir(languagesDir);
    const QString candidate = QFileInfo(dir.filePath(language + QStringLiteral("/index.html"))).absoluteFilePath();
    if (!language.isEmpty() && QFileInfo(candidate).isFile())
        return candidate;
    return QFileInfo(dir.filePath(QStringLiteral("English/index.html"))).absoluteFilePath();
}

QUrl LanguageFiles::helpUrl(const QString &languagesDir, const QString &language)
{
    return QUrl::fromLocalFile(helpPage(languagesDir, language));
}
