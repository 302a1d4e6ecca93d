#include "app/LanguageTranslators.h"

#include "app/CheckedFile.h"

#include <QCoreApplication>
#include <QDebug>
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

// QTranslator reads the bytes it is given in place: they live as long as it.
class HeldTranslator : public QTranslator
{
public:
    using QTranslator::QTranslator;
    QByteArray bytes;
};

} // namespace

QTranslator *load(const QString &path, QObject *parent, QString *problem)
{
    auto *translator = new HeldTranslator(parent);
    QString why;
    switch (CheckedFile::read(path, CheckedFile::TranslationBytes, &translator->bytes, &why)) {
    case CheckedFile::Result::Done:
        if (!translator->load(reinterpret_cast<const uchar *>(translator->bytes.constData()),
                              int(translator->bytes.size()))) {
            translator->bytes.clear();
            qDebug().noquote() << "no translation loaded from" << path;
        }
        break;
    case CheckedFile::Result::Refused:
        if (problem)
            *problem = why;
        qDebug().noquote() << why;
        break;
    case CheckedFile::Result::Missing:
        qDebug().noquote() << "no translation loaded from" << path;
        break;
    }
    return translator;
}

QList<QTranslator *> install(const QString &languagesDir, const QString &language, QObject *parent,
                             QStringList *problems)
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
        QString problem;
        QTranslator *translator = load(path, parent, &problem);
        if (!problem.isEmpty() && problems)
            problems->append(problem);
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
