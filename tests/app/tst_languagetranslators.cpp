// The pair of translators in force and the locale that goes with a language.
#include "FifoWatchdog.h"
#include "TestSupport.h"
#include "app/CheckedFile.h"
#include "app/LanguageTranslators.h"

#include <QPointer>
#include <QTranslator>
#include <QtTest>

#include <memory>

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

    // The files are read through the checked reader: a named pipe is not
    // waited on, a device not read, a file past the bound not taken. Each is
    // named with its reason; the pair is installed all the same, empty.
    void translationThatIsNoRegularFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::addRow("named pipe") << "pipe" << "not a regular file but a named pipe";
        QTest::addRow("link to a device") << "device" << "not a regular file but a device";
        QTest::addRow("past the bound") << "huge" << "larger than 4 MiB";
    }
    void translationThatIsNoRegularFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        std::unique_ptr<FifoWatchdog> pipes[2];
        const QStringList files{dir.filePath(QStringLiteral("qt_German.qm")), dir.filePath(QStringLiteral("German.qm"))};
        for (int i = 0; i < 2; ++i) {
            if (kind == QLatin1String("pipe")) {
                pipes[i] = std::make_unique<FifoWatchdog>(files[i]);
                QVERIFY(pipes[i]->made());
            } else if (kind == QLatin1String("device")) {
                QVERIFY(QFile::link(QStringLiteral("/dev/zero"), files[i]));
            } else {
                QFile f(files[i]);
                QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(CheckedFile::TranslationBytes + 1));
            }
        }
        QObject window;
        QStringList problems;
        const QList<QTranslator *> pair = LanguageTranslators::install(dir.path(), QStringLiteral("German"), &window,
                                                                       &problems);
        for (const auto &pipe : pipes)
            QVERIFY2(!pipe || !pipe->fired(), "the translator waited on the pipe");
        QCOMPARE(pair.size(), 2);
        QVERIFY(pair.at(0)->isEmpty() && pair.at(1)->isEmpty());
        QCOMPARE(problems, (QStringList{QStringLiteral("Cannot read the file %1: %2").arg(files[0], reason),
                                        QStringLiteral("Cannot read the file %1: %2").arg(files[1], reason)}));
        QCOMPARE(menuFile(), QStringLiteral("File"));
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
