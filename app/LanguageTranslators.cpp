#include "app/LanguageTranslators.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QPointer>
#include <QTranslator>

namespace LanguageTranslators {

namespace {

// Guarded: the pair dies with its parent (a window in tests), and then it is
// no longer installed.
QList<QPointer<QTranslator>> &inForce()
{
    static QList<QPointer<QTranslator>> pair;
    return pair;
}

// Loads exactly the named file: QTranslator would otherwise try shortened
// names and could pick up another language's file.
QTranslator *makeTranslator(QObject *parent, const QString &path)
{
    auto *translator = new QTranslator(parent);
    if (!QFileInfo(path).isFile() || !translator->load(path))
        qDebug().noquote() << "no translation loaded from" << path;
    return translator;
}

} // namespace

QList<QTranslator *> install(const QString &languagesDir, const QString &language, QObject *parent)
{
    for (const QPointer<QTranslator> &old : std::as_const(inForce())) {
        if (old) {
            QCoreApplication::removeTranslator(old);
            delete old.data();
        }
    }
    inForce().clear();
    QLocale::setDefault(localeOf(language));
    QList<QTranslator *> pair;
    // Installed last, so consulted first: the program's file wins over Qt's.
    for (const QString &path : {languagesDir + QStringLiteral("/qt_") + language + QStringLiteral(".qm"),
                                languagesDir + QLatin1Char('/') + language + QStringLiteral(".qm")}) {
        QTranslator *translator = makeTranslator(parent, path);
        QCoreApplication::installTranslator(translator);
        pair.append(translator);
        inForce().append(translator);
    }
    return pair;
}

QList<QTranslator *> installed()
{
    QList<QTranslator *> pair;
    for (const QPointer<QTranslator> &translator : std::as_const(inForce())) {
        if (translator)
            pair.append(translator.data());
    }
    return pair;
}

QLocale localeOf(const QString &language, const QLocale &system)
{
    const QString name = language.trimmed();
    // Qt gives some languages no own name: an empty name names none.
    for (int l = QLocale::C + 1; !name.isEmpty() && l <= QLocale::LastLanguage; ++l) {
        const auto candidate = static_cast<QLocale::Language>(l);
        const QLocale locale(candidate);
        // An unknown language gives the C locale; some numbers name no language.
        if (locale.language() != candidate)
            continue;
        if (name.compare(QLocale::languageToString(candidate), Qt::CaseInsensitive) != 0 &&
            name.compare(locale.nativeLanguageName(), Qt::CaseInsensitive) != 0)
            continue;
        return system.language() == candidate ? system : locale;
    }
    return system.language() == QLocale::English ? system : QLocale(QLocale::English);
}

} // namespace LanguageTranslators
