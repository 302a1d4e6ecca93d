#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// The languages installed in a "Languages/" folder: one per translation file,
// each with its own name, flag and help page.
class LanguageFiles
{
public:
    struct Language
    {
        QString baseName; // file name less its last three characters
        QString ownName;  // the file's "LanguageName", else the base name
        QString flagFile; // "flags/<base>.png" when it exists, else empty
    };

    // Every plain file of languagesDir whose name does not begin with "qt_",
    // sorted by name (case-sensitive, capitals first). Each translation file
    // the checked reader refused adds its reason to *problems.
    static QList<Language> scan(const QString &languagesDir, QStringList *problems = nullptr);

    // The translation of "LanguageName" (context "MainWindowImpl") in qmFile,
    // trimmed; the base name when the file gives none or cannot be read
    // (*problem says why when it was refused).
    static QString ownName(const QString &qmFile, const QString &baseName, QString *problem = nullptr);

    // Menu text by label style: 1 own name, 2 base name, anything else both.
    static QString entryText(const Language &language, int showType);

    // The flag of a language, or empty when it has none.
    static QString flagFile(const QString &languagesDir, const QString &language);

    // Absolute path of the help start page of a language; the English one when
    // the language has none (whether that exists is not checked).
    static QString helpPage(const QString &languagesDir, const QString &language);
    static QUrl helpUrl(const QString &languagesDir, const QString &language);
};
