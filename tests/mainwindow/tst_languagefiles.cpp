// Installed languages: scan order, own names, menu texts, flags, help pages.
#include "PaddedTranslation.h"
#include "app/CheckedFile.h"
#include "mainwindow/LanguageFiles.h"
#include "tools/samplekit/SampleKit.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTranslator>
#include <QtTest>

namespace {

bool touch(const QString &path, const QByteArray &data = QByteArray())
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

bool copyFixture(const QString &fixture, const QString &to)
{
    QDir().mkpath(QFileInfo(to).path());
    return QFile::copy(QStringLiteral(FIXTURE_QM_DIR "/") + fixture + QStringLiteral(".qm"), to);
}

QStringList baseNames(const QList<LanguageFiles::Language> &languages)
{
    QStringList names;
    for (const auto &l : languages)
        names.append(l.baseName);
    return names;
}

} // namespace

class TestLanguageFiles : public QObject
{
    Q_OBJECT

private slots:
    void scanOrderAndFilter()
    {
        QTemporaryDir dir;
        const QDir l(dir.filePath("Languages"));
        QVERIFY(copyFixture("Plain", l.filePath("English.qm")));
        QVERIFY(copyFixture("German", l.filePath("Deutsch.qm")));
        QVERIFY(copyFixture("Plain", l.filePath("qt_de.qm")));
        QVERIFY(copyFixture("Plain", l.filePath("Qt_x.qm")));
        QVERIFY(touch(l.filePath("readme.txt"), "not a translation"));
        QVERIFY(touch(l.filePath("English/index.html")));
        QVERIFY(touch(l.filePath("flags/English.png")));
        QVERIFY(touch(l.filePath("aardvark.qm")));

        const auto languages = LanguageFiles::scan(l.path());
        QCOMPARE(baseNames(languages), (QStringList{"Deutsch", "English", "Qt_x", "aardvark", "readme."}));
        QCOMPARE(languages.at(0).ownName, QStringLiteral("Deutsch"));
        QCOMPARE(languages.at(1).ownName, QStringLiteral("English"));
        QCOMPARE(languages.at(1).flagFile, l.filePath("flags/English.png"));
        QVERIFY(languages.at(0).flagFile.isEmpty());
        // A file that is no translation still gives an entry, named by its base name.
        QCOMPARE(languages.at(3).ownName, QStringLiteral("aardvark"));
        QCOMPARE(languages.at(4).ownName, QStringLiteral("readme."));
    }

    // Listing the languages reads each file's name, not each file: a folder
    // of many translations as large as the bound costs a few pieces of each.
    void scanReadsOnlyNames()
    {
        QTemporaryDir dir;
        const QDir l(dir.filePath("Languages"));
        QVERIFY(l.mkpath("."));
        QFile fixture(QStringLiteral(FIXTURE_QM_DIR "/German.qm"));
        QVERIFY(fixture.open(QIODevice::ReadOnly));
        const QByteArray german = fixture.readAll();
        constexpr int files = 40;
        for (int i = 0; i < files; ++i)
            QVERIFY(writePaddedTranslation(german, l.filePath(QStringLiteral("L%1.qm").arg(i, 2, 10, QLatin1Char('0'))),
                                           CheckedFile::TranslationBytes));
        const qint64 before = CheckedFile::bytesRead();
        QStringList problems;
        const auto languages = LanguageFiles::scan(l.path(), &problems);
        const qint64 read = CheckedFile::bytesRead() - before;
        QVERIFY(problems.isEmpty());
        QCOMPARE(languages.size(), files);
        for (const auto &language : languages)
            QCOMPARE(language.ownName, QStringLiteral("Deutsch"));
        // Read whole, the files would be 160 MiB.
        QVERIFY2(read < files * 16 * 1024, qPrintable(QString::number(read)));
    }

    void missingOrEmptyFolder()
    {
        QTemporaryDir dir;
        QVERIFY(LanguageFiles::scan(dir.filePath("Languages")).isEmpty());
        QVERIFY(QDir(dir.path()).mkdir("Languages"));
        QVERIFY(LanguageFiles::scan(dir.filePath("Languages")).isEmpty());
    }

    void manyLanguages()
    {
        QTemporaryDir dir;
        for (int i = 0; i < 60; ++i)
            QVERIFY(touch(dir.filePath(QStringLiteral("Languages/L%1.qm").arg(i, 2, 10, QLatin1Char('0')))));
        const auto languages = LanguageFiles::scan(dir.filePath("Languages"));
        QCOMPARE(languages.size(), 60);
        QCOMPARE(languages.last().baseName, QStringLiteral("L59"));
    }

    void entryText_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("showType");
        QTest::addColumn<QString>("text");
        QTest::addRow("own and base") << "German" << "German.qm" << 0 << "Deutsch (German)";
        QTest::addRow("own only") << "German" << "German.qm" << 1 << "Deutsch";
        QTest::addRow("base only") << "German" << "German.qm" << 2 << "German";
        QTest::addRow("unknown style") << "German" << "German.qm" << 7 << "Deutsch (German)";
        QTest::addRow("negative style") << "German" << "German.qm" << -1 << "Deutsch (German)";
        QTest::addRow("no name") << "Plain" << "Italiano.qm" << 0 << "Italiano";
        QTest::addRow("no name, own only") << "Plain" << "Italiano.qm" << 1 << "Italiano";
        QTest::addRow("name is the source") << "Echo" << "Echo.qm" << 1 << "Echo";
        QTest::addRow("name only blanks") << "Blank" << "Blank.qm" << 1 << "Blank";
    }
    void entryText()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, fileName);
        QFETCH(int, showType);
        QFETCH(QString, text);
        QTemporaryDir dir;
        QVERIFY(copyFixture(fixture, dir.filePath("Languages/" + fileName)));
        const auto languages = LanguageFiles::scan(dir.filePath("Languages"));
        QCOMPARE(languages.size(), 1);
        QCOMPARE(LanguageFiles::entryText(languages.first(), showType), text);
    }

    void helpPage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("page");
        QTest::addRow("own page") << "German" << "Languages/German/index.html";
        QTest::addRow("folder without page") << "Plain" << "Languages/English/index.html";
        QTest::addRow("no folder") << "Klingon" << "Languages/English/index.html";
        QTest::addRow("English") << "English" << "Languages/English/index.html";
        QTest::addRow("empty") << "" << "Languages/English/index.html";
        QTest::addRow("index.html is a folder") << "Odd" << "Languages/English/index.html";
    }
    void helpPage()
    {
        QFETCH(QString, language);
        QFETCH(QString, page);
        QTemporaryDir dir;
        QVERIFY(touch(dir.filePath("Languages/German/index.html")));
        QVERIFY(touch(dir.filePath("Languages/English/index.html")));
        QVERIFY(QDir().mkpath(dir.filePath("Languages/Plain")));
        QVERIFY(QDir().mkpath(dir.filePath("Languages/Odd/index.html")));
        const QString languages = dir.filePath("Languages");
        QCOMPARE(LanguageFiles::helpPage(languages, language), QFileInfo(dir.filePath(page)).absoluteFilePath());
        const QUrl url = LanguageFiles::helpUrl(languages, language);
        QVERIFY(url.isLocalFile());
        QCOMPARE(url.toLocalFile(), QFileInfo(dir.filePath(page)).absoluteFilePath());
    }

    void helpPageWithoutEnglish()
    {
        // Even a missing English page is what the desktop is asked to open.
        QTemporaryDir dir;
        QCOMPARE(LanguageFiles::helpPage(dir.filePath("Languages"), "German"),
                 QFileInfo(dir.filePath("Languages/English/index.html")).absoluteFilePath());
    }

    // The build writes every language of the program into the sample directory.
    void builtLanguages()
    {
        const QString languages = qEnvironmentVariable("IRVANTA_BINARY_DIR") + QStringLiteral("/sample/Languages");
        const auto found = LanguageFiles::scan(languages);
        QCOMPARE(baseNames(found), (QStringList{"English", "German"}));
        QCOMPARE(found.at(0).ownName, QStringLiteral("English"));
        QCOMPARE(found.at(1).ownName, QStringLiteral("Deutsch"));
        for (const auto &l : found) {
            QVERIFY2(!l.flagFile.isEmpty(), qPrintable(l.baseName));
            QVERIFY(!QImage(l.flagFile).isNull());
            QCOMPARE(LanguageFiles::helpPage(languages, l.baseName),
                     QFileInfo(languages + "/" + l.baseName + "/index.html").absoluteFilePath());
        }
        QTranslator german;
        QVERIFY(german.load(languages + "/German.qm"));
        QCOMPARE(german.translate("MainWindowImpl", "Help"), QStringLiteral("Hilfe"));
        QCOMPARE(german.translate("UpdateDialog", "Update server not found"),
                 QStringLiteral("Update-Server nicht gefunden"));
        // English is the source language: its file only names itself.
        QTranslator english;
        QVERIFY(english.load(languages + "/English.qm"));
        QVERIFY(english.translate("MainWindowImpl", "Help").isEmpty());
    }

    void flagFile()
    {
        QTemporaryDir dir;
        QVERIFY(touch(dir.filePath("Languages/flags/German.png")));
        QCOMPARE(LanguageFiles::flagFile(dir.filePath("Languages"), "German"),
                 dir.filePath("Languages/flags/German.png"));
        QVERIFY(LanguageFiles::flagFile(dir.filePath("Languages"), "English").isEmpty());
    }

    // The sample kit copies every language file, flag and help page it
    // carries into the directory it writes, folders kept, contents whole.
    void sampleKitWritesLanguages()
    {
        QTemporaryDir from;
        QTemporaryDir to;
        const QList<QPair<QString, QByteArray>> files = {
            {"German.qm", QByteArray(5000, 'q')}, {"qt_German.qm", "qt"}, {"German/index.html", "<p>Hilfe</p>"},
            {"flags/German.png", "png"}};
        for (const auto &f : files) {
            QVERIFY(QDir().mkpath(QFileInfo(from.filePath(f.first)).path()));
            QFile out(from.filePath(f.first));
            QVERIFY(out.open(QIODevice::WriteOnly));
            QCOMPARE(out.write(f.second), qint64(f.second.size()));
        }
        QString error;
        QVERIFY2(SampleKit::writeLanguages(to.path(), from.path(), &error), qPrintable(error));
        for (const auto &f : files) {
            QFile in(to.filePath("Languages/" + f.first));
            QVERIFY2(in.open(QIODevice::ReadOnly), qPrintable(f.first));
            QCOMPARE(in.readAll(), f.second);
        }
        // Nothing to carry is an error, not an empty success.
        QTemporaryDir empty;
        QVERIFY(!SampleKit::writeLanguages(to.path(), empty.path(), &error));
        QVERIFY(error.contains(empty.path()));
        // A folder where a file belongs makes the write fail.
        QTemporaryDir blocked;
        QVERIFY(QDir().mkpath(blocked.filePath("Languages/German.qm")));
        QVERIFY(!SampleKit::writeLanguages(blocked.path(), from.path(), &error));
    }
};

QTEST_MAIN(TestLanguageFiles)
#include "tst_languagefiles.moc"
