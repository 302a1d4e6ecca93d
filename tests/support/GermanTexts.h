#pragma once

#include <QCoreApplication>
#include <QTranslator>

// The program's own German translation, as the build compiles it, installed
// for as long as the object lives.
class GermanTexts
{
public:
    GermanTexts()
    {
        m_installed = m_translator.load(qEnvironmentVariable("IRVANTA_BINARY_DIR")
                                        + QStringLiteral("/languages/German.qm"))
            && QCoreApplication::installTranslator(&m_translator);
    }
    ~GermanTexts()
    {
        if (m_installed)
            QCoreApplication::removeTranslator(&m_translator);
    }
    GermanTexts(const GermanTexts &) = delete;
    GermanTexts &operator=(const GermanTexts &) = delete;

    bool isInstalled() const { return m_installed; }

private:
    QTranslator m_translator;
    bool m_installed = false;
};
