// The pair of translators in force and the locale that goes with a language.
#include "TestSupport.h"
#include "app/LanguageTranslators.h"

#include <QPointer>
#include <QTranslator>
#include <QtTest>

class TestLanguageTranslators : public QObject
{
    Q_OBJECT

    static QString menuFile() { return QCoreApplication::translate("MainWindowImpl", "File"); }
    static QString qtCancel() { return QCoreApplication::translate("QPlatformTheme", "Cancel"); }

private slots:
    void cleanup()
    {
        qDeleteAll(LanguageTranslators::installed());
        QLocale::setDefault(QLocale::system());
    }

    // Each language replaces the pair before it, the one installed at start
    // too: a text the new language's file lacks falls through to the source
    // text, never to the language left.
    void replacesThePairInForce()
    {
        const QString dir = TestSupport::binaryDir() + QStringLiteral("/languages");
        QObject application, window;
        const QList<QTranslator *> start = LanguageTranslators::install(dir, QStringLiteral("German"), &application);
        QCOMPARE(start.size(), 2);
        QCOMPARE(LanguageTranslators::installed(), start);
        QVERIFY(!start.at(0)->isEmpty() && !start.at(1)->isEmpty());
        QCOMPARE(start.at(0)->parent(), &application);
        QCOMPARE(menuFile(), QStringLiteral("Datei"));
        QCOMPARE(qtCancel(), QStringLiteral("Abbrechen"));
        QCOMPARE(QLocale().language(), QLocale::German);

        const QPointer<QTranslator> qt = start.at(0), own = start.at(1);
        const QList<QTranslator *> english = LanguageTranslators::install(dir, QStringLiteral("English"), &window);
        QVERIFY(!qt && !own);
        QCOMPARE(LanguageTranslators::installed(), english);
        QCOMPARE(menuFile(), QStringLiteral("File"));
        QCOMPARE(qtCancel(), QStringLiteral("Cancel"));
        QCOMPARE(QLocale().language(), QLocale::English);

        LanguageTranslators::install(dir, QStringLiteral("German"), &window);
        QCOMPARE(menuFile(), QStringLiteral("Datei"));
        // Files that do not exist: two empty translators, the source texts.
        const QList<QTranslator *> none = LanguageTranslators::install(dir, QStringLiteral("readme."), &window);
        QCOMPARE(none.size(), 2);
        QVERIFY(none.at(0)->isEmpty() && none.at(1)->isEmpty());
        QCOMPARE(menuFile(), QStringLiteral("File"));
        QCOMPARE(qtCancel(), QStringLiteral("Cancel"));
    }

    // A pair that dies with its parent is no longer in force.
    void pairDiesWithItsParent()
    {
        {
            QObject window;
            LanguageTranslators::install(TestSupport::binaryDir() + QStringLiteral("/languages"),
                                         QStringLiteral("German"), &window);
            QCOMPARE(menuFile(), QStringLiteral("Datei"));
        }
        QVERIFY(LanguageTranslators::installed().isEmpty());
        QCOMPARE(menuFile(), QStringLiteral("File"));
    }

    void localeOf_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("expected");
        QTest::addRow("English name") << "German" << "C" << "de_DE";
        QTest::addRow("own name") << "Deutsch" << "en_US" << "de_DE";
        QTest::addRow("any case") << "german" << "C" << "de_DE";
        QTest::addRow("system's region kept") << "German" << "de_AT" << "de_AT";
        QTest::addRow("English, British system") << "English" << "en_GB" << "en_GB";
        QTest::addRow("English, German system") << "English" << "de_DE" << "en_US";
        QTest::addRow("French") << "French" << "C" << "fr_FR";
        QTest::addRow("no language: English") << "readme." << "de_DE" << "en_US";
        QTest::addRow("empty: English") << "" << "C" << "en_US";
    }
    void localeOf()
    {
        QFETCH(QString, language);
        QFETCH(QString, system);
        QFETCH(QString, expected);
        QCOMPARE(LanguageTranslators::localeOf(language, QLocale(system)).name(), expected);
    }
};

QTEST_GUILESS_MAIN(TestLanguageTranslators)
#include "tst_languagetranslators.moc"
