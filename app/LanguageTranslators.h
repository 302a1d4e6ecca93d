#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

class QObject;
class QTranslator;

// The translators of the language in force, Qt's own texts and the program's.
// One pair at a time: installing a language removes the pair installed before
// (at start or at the last switch), so that no text falls through to the
// language left, and makes the language's locale the default one.
namespace LanguageTranslators {

// Installs languagesDir + "/qt_" + language + ".qm" and then
// languagesDir + "/" + language + ".qm" (exactly these files; one that does not
// load leaves its translator empty, installed all the same) as children of
// parent, and deletes the pair installed before. Returns the new pair. The
// files are read through CheckedFile; each one it refused adds its reason to
// *problems (a missing file is no problem).
QList<QTranslator *> install(const QString &languagesDir, const QString &language, QObject *parent,
                             QStringList *problems = nullptr);

// A translator holding exactly the file at path, read through CheckedFile
// (QTranslator would open it itself, and would try shortened names too).
// Empty when the file is missing or refused; *problem then says why, unless
// it is only missing.
QTranslator *load(const QString &path, QObject *parent, QString *problem = nullptr);

// The pair in force; empty before the first install and once it is deleted.
QList<QTranslator *> installed();

// The locale a language name stands for: the system locale when it speaks
// that language (it keeps the user's region), else the language's main
// locale; English for a name that names no language. Names are Qt's English
// names ("German") or the languages' own ones ("Deutsch"), in any case.
QLocale localeOf(const QString &language, const QLocale &system = QLocale::system());

} // namespace LanguageTranslators
