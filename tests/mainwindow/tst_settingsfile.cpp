#include "mainwindow/SettingsFile.h"

#include "FifoWatchdog.h"
#include "FullDisk.h"
#include "TestSupport.h"
#include "tools/samplekit/SampleKit.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <cerrno>
#include <sys/resource.h>
#include <sys/stat.h>
#include <cstring>

namespace {

// The fields of SettingsValues by member name, so one table row can name the
// field it checks.
QVariant field(const SettingsValues &v, const QString &name)
{
    const QHash<QString, QVariant> all = {
        {"customerId", v.customerId},
        {"defaultCustomerId", v.defaultCustomerId},
        {"language", v.language},
        {"languageShowType", v.languageShowType},
        {"company", v.company},
        {"address", v.address},
        {"contact", v.contact},
        {"printOnlyFirstImage", v.printOnlyFirstImage},
        {"advancedFilter", v.advancedFilter},
        {"simpleProgramming", v.simpleProgramming},
        {"settingsFullVersion", v.settingsFullVersion},
        {"settingsShowRCTypesInSimpleMode", v.settingsShowRCTypesInSimpleMode},
        {"lastImportPath", v.lastImportPath},
        {"lastExportPath", v.lastExportPath},
        {"lastImagesPath", v.lastImagesPath},
        {"automaticUpdatesCheking", v.automaticUpdatesCheking},
        {"enableImages", v.enableImages},
        {"enableMakeOwn", v.enableMakeOwn},
        {"enableCorrection", v.enableCorrection},
        {"enableProtocol", v.enableProtocol},
        {"showHidden", v.showHidden},
        {"showHidden1", v.showHidden1},
        {"showRcidLink", v.showRcidLink},
        {"showDocumentationIcon", v.showDocumentationIcon},
        {"saveFlashData", v.saveFlashData},
        {"convertDBdeleteImages", v.convertDBdeleteImages},
        {"rcTypesList", v.rcTypesList},
        {"rcTypes", v.rcTypes},
    };
    if (!all.contains(name))
        qFatal("no field %s", qPrintable(name));
    return all.value(name);
}

// Only "Languages/English.qm" and "Languages/Deutsch.qm" exist; the system speaks French.
SettingsFile::Environment environment(const QStringList &files = {"Languages/English.qm", "Languages/Deutsch.qm"},
                                      const QString &system = "French")
{
    const QSet<QString> present(files.begin(), files.end());
    return {system, [present](const QString &path) { return present.contains(path); }};
}

QString readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

// The keys the program writes, and only these.
const QStringList savedKeys = {
    "Settings/customerId",          "Settings/language",       "Settings/company",
    "Settings/address",             "Settings/contact",        "Settings/printOnlyFirstImage",
    "Settings/advancedFilter",      "Settings/simpleProgramming", "UpdateInfo/automaticUpdatesCheking",
    "Settings/settingsFullVersion", "Settings/settingsShowRCTypesInSimpleMode", "Settings/lastImportPath",
    "Settings/lastExportPath",      "Settings/lastImagesPath", "Settings/rcTypes",
};

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    int round = 0;
    // A fresh folder per test row: QSettings caches a file it has read and
    // would not notice a rewrite of the same size within the same second.
    QString path() const { return dir.filePath(QString::number(round) + "/config.ini"); }

private slots:
    void init()
    {
        ++round;
        QVERIFY(QDir().mkpath(QFileInfo(path()).path()));
    }

    void missingFileGivesDefaults()
    {
        QSettings settings(path(), QSettings::IniFormat);
        const SettingsValues v = SettingsFile::load(settings, environment());
        QCOMPARE(v.customerId, QString());
        QCOMPARE(v.defaultCustomerId, QString("4"));
        QCOMPARE(v.language, QString("English")); // French has no .qm
        QCOMPARE(v.languageShowType, 0);
        QCOMPARE(v.company, QString());
        QCOMPARE(v.address, QString());
        QCOMPARE(v.contact, QString());
        QVERIFY(!v.printOnlyFirstImage);
        QVERIFY(!v.advancedFilter);
        QVERIFY(!v.simpleProgramming);
        QVERIFY(!v.settingsFullVersion);
        QVERIFY(!v.settingsShowRCTypesInSimpleMode);
        QCOMPARE(v.lastImportPath, QString("xml"));
        QCOMPARE(v.lastExportPath, QString("xml"));
        QCOMPARE(v.lastImagesPath, QString("xml"));
        QVERIFY(!v.automaticUpdatesCheking);
        for (const char *debug : {"enableImages", "enableMakeOwn", "enableCorrection", "enableProtocol", "showHidden",
                                  "showHidden1", "showRcidLink", "showDocumentationIcon", "saveFlashData",
                                  "convertDBdeleteImages"})
            QVERIFY2(!field(v, debug).toBool(), debug);
        QVERIFY(v.rcTypesList.isEmpty());
        QCOMPARE(v.rcTypes, QString());
        QVERIFY(!QFile::exists(path())); // reading never creates the file
    }

    void load_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("expected");

        QTest::addRow("customer") << QByteArray("[Settings]\ncustomerId=12\n") << "customerId" << QVariant("12");
        QTest::addRow("default customer missing") << QByteArray("[Settings]\ncustomerId=12\n") << "defaultCustomerId"
                                                  << QVariant("4");
        QTest::addRow("default customer set") << QByteArray("[Settings]\ndefaultCustomerId=7\n") << "defaultCustomerId"
                                              << QVariant("7");
        QTest::addRow("default customer empty") << QByteArray("[Settings]\ndefaultCustomerId=\n")
                                                << "defaultCustomerId" << QVariant("");
        QTest::addRow("label style") << QByteArray("[Settings]\nlanguageShowType=2\n") << "languageShowType"
                                     << QVariant(2);
        QTest::addRow("label style not a number") << QByteArray("[Settings]\nlanguageShowType=two\n")
                                                  << "languageShowType" << QVariant(0);
        QTest::addRow("company") << QByteArray("[Settings]\ncompany=ACME Ltd\n") << "company" << QVariant("ACME Ltd");
        QTest::addRow("company with commas") << QByteArray("[Settings]\ncompany=A,B,C\n") << "company"
                                             << QVariant("A,B,C");
        QTest::addRow("quoted company") << QByteArray("[Settings]\ncompany=\"ACME, Ltd.\"\n") << "company"
                                        << QVariant("ACME, Ltd.");
        QTest::addRow("address") << QByteArray("[Settings]\naddress=Main St 1\n") << "address"
                                 << QVariant("Main St 1");
        QTest::addRow("contact") << QByteArray("[Settings]\ncontact=bob\n") << "contact" << QVariant("bob");
        QTest::addRow("bool true") << QByteArray("[Settings]\nprintOnlyFirstImage=true\n") << "printOnlyFirstImage"
                                   << QVariant(true);
        QTest::addRow("bool TRUE") << QByteArray("[Settings]\nadvancedFilter=TRUE\n") << "advancedFilter"
                                   << QVariant(true);
        QTest::addRow("bool 1") << QByteArray("[Settings]\nsimpleProgramming=1\n") << "simpleProgramming"
                                << QVariant(true);
        QTest::addRow("bool any word") << QByteArray("[Settings]\nsettingsFullVersion=yes\n") << "settingsFullVersion"
                                       << QVariant(true);
        QTest::addRow("bool False") << QByteArray("[Settings]\nsettingsFullVersion=False\n") << "settingsFullVersion"
                                    << QVariant(false);
        QTest::addRow("bool 0") << QByteArray("[Settings]\nsettingsFullVersion=0\n") << "settingsFullVersion"
                                << QVariant(false);
        QTest::addRow("bool empty") << QByteArray("[Settings]\nsettingsFullVersion=\n") << "settingsFullVersion"
                                    << QVariant(false);
        QTest::addRow("bool list") << QByteArray("[Settings]\nsettingsFullVersion=false,false\n")
                                   << "settingsFullVersion" << QVariant(true);
        QTest::addRow("rc types in simple mode") << QByteArray("[Settings]\nsettingsShowRCTypesInSimpleMode=true\n")
                                                 << "settingsShowRCTypesInSimpleMode" << QVariant(true);
        QTest::addRow("update check") << QByteArray("[UpdateInfo]\nautomaticUpdatesCheking=true\n")
                                      << "automaticUpdatesCheking" << QVariant(true);
        QTest::addRow("update check in wrong group") << QByteArray("[Settings]\nautomaticUpdatesCheking=true\n")
                                                     << "automaticUpdatesCheking" << QVariant(false);
        QTest::addRow("import folder") << QByteArray("[Settings]\nlastImportPath=/home/u/in\n") << "lastImportPath"
                                       << QVariant("/home/u/in");
        QTest::addRow("empty import folder") << QByteArray("[Settings]\nlastImportPath=\n") << "lastImportPath"
                                             << QVariant("xml");
        QTest::addRow("empty export folder") << QByteArray("[Settings]\nlastExportPath=\n") << "lastExportPath"
                                             << QVariant("xml");
        QTest::addRow("empty images folder") << QByteArray("[Settings]\nlastImagesPath=\n") << "lastImagesPath"
                                             << QVariant("xml");
        QTest::addRow("images folder") << QByteArray("[Settings]\nlastImagesPath=pics\n") << "lastImagesPath"
                                       << QVariant("pics");
        for (const char *debug : {"enableImages", "enableMakeOwn", "enableCorrection", "enableProtocol", "showHidden",
                                  "showHidden1", "showRcidLink", "showDocumentationIcon", "saveFlashData",
                                  "convertDBdeleteImages"})
            QTest::addRow("debug %s", debug) << QByteArray("[Debug]\n") + debug + "=true\n" << debug << QVariant(true);

        // The remote-type list.
        QTest::addRow("types as saved") << QByteArray("[Settings]\nrcTypes=1_3_5\n") << "rcTypesList"
                                        << QVariant(QStringList{"1", "3", "5"});
        QTest::addRow("types joined for SQL") << QByteArray("[Settings]\nrcTypes=1_3_5\n") << "rcTypes"
                                              << QVariant("1,3,5");
        QTest::addRow("types with duplicates and junk") << QByteArray("[Settings]\nrcTypes=5_1_5_x3\n")
                                                        << "rcTypesList" << QVariant(QStringList{"5", "1", "3"});
        QTest::addRow("types with duplicates, SQL") << QByteArray("[Settings]\nrcTypes=5_1_5_x3\n") << "rcTypes"
                                                    << QVariant("5,1,3");
        QTest::addRow("types by hand with commas") << QByteArray("[Settings]\nrcTypes=1,2\n") << "rcTypesList"
                                                   << QVariant(QStringList{"1", "2"});
        QTest::addRow("types with blanks") << QByteArray("[Settings]\nrcTypes=\" 4  12 \"\n") << "rcTypes"
                                           << QVariant("4,12");
        QTest::addRow("leading zeros are another text") << QByteArray("[Settings]\nrcTypes=007_7\n") << "rcTypesList"
                                                        << QVariant(QStringList{"007", "7"});
        QTest::addRow("types without a digit") << QByteArray("[Settings]\nrcTypes=none\n") << "rcTypesList"
                                               << QVariant(QStringList{});
        QTest::addRow("types without a digit, SQL") << QByteArray("[Settings]\nrcTypes=none\n") << "rcTypes"
                                                    << QVariant("");
    }
    void load()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, name);
        QFETCH(QVariant, expected);
        QVERIFY(writeFile(path(), ini));
        QSettings settings(path(), QSettings::IniFormat);
        const QVariant actual = field(SettingsFile::load(settings, environment()), name);
        if (expected.userType() == QMetaType::QStringList)
            QCOMPARE(actual.toStringList(), expected.toStringList());
        else
            QCOMPARE(actual, expected);
    }

    // 100,000 ids written by hand, each twice: read in linear time, each id
    // once, in the order of its first appearance.
    void longTypeListReadsQuickly()
    {
        QByteArray text;
        for (int round = 0; round < 2; ++round)
            for (int id = 100000; id >= 1; --id)
                text += QByteArray::number(id) + '_';
        QVERIFY(writeFile(path(), "[Settings]\nrcTypes=" + text + "\n"));
        QSettings settings(path(), QSettings::IniFormat);
        QElapsedTimer timer;
        timer.start();
        const SettingsValues v = SettingsFile::load(settings, environment());
        // Some 0.2 s here; a lookup in the list per id took minutes.
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(v.rcTypesList.size(), 100000);
        QCOMPARE(v.rcTypesList.first(), QString("100000"));
        QCOMPARE(v.rcTypesList.at(1), QString("99999"));
        QCOMPARE(v.rcTypesList.last(), QString("1"));
        QVERIFY(v.rcTypes.startsWith("100000,99999,"));
        QVERIFY(v.rcTypes.endsWith(",2,1"));
    }

    void languageRule_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("expected");
        QTest::addRow("configured with file") << QByteArray("[Settings]\nlanguage=Deutsch\n") << "French" << "Deutsch";
        QTest::addRow("configured without file") << QByteArray("[Settings]\nlanguage=Klingon\n") << "Deutsch"
                                                 << "English";
        QTest::addRow("empty takes the system's") << QByteArray("[Settings]\nlanguage=\n") << "Deutsch" << "Deutsch";
        QTest::addRow("missing takes the system's") << QByteArray("[Settings]\n") << "Deutsch" << "Deutsch";
        QTest::addRow("system without file") << QByteArray("[Settings]\n") << "French" << "English";
    }
    void languageRule()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, system);
        QFETCH(QString, expected);
        QVERIFY(writeFile(path(), ini));
        QSettings settings(path(), QSettings::IniFormat);
        QCOMPARE(SettingsFile::load(settings, environment({"Languages/English.qm", "Languages/Deutsch.qm"}, system))
                     .language,
                 expected);
    }

    void unreadableOrMalformedGivesDefaults_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: a directory stands in the file's place
        QTest::addRow("directory") << QByteArray();
        QTest::addRow("binary") << QByteArray("\xff\xfe\x00\x01\x02[[[\n\x80\x81", 11);
        QTest::addRow("unterminated quote") << QByteArray("[Settings]\n\"settingsFullVersion=true\nrcTypes=1_2\n");
    }
    void unreadableOrMalformedGivesDefaults()
    {
        QFETCH(QByteArray, content);
        if (content.isEmpty())
            QVERIFY(QDir().mkpath(path()));
        else
            QVERIFY(writeFile(path(), content));
        QSettings settings(path(), QSettings::IniFormat);
        const SettingsValues v = SettingsFile::load(settings, environment());
        QVERIFY(!v.settingsFullVersion);
        QCOMPARE(v.defaultCustomerId, QString("4"));
        QCOMPARE(v.lastImportPath, QString("xml"));
        QVERIFY(v.rcTypesList.isEmpty());
    }

    void firstSaveWritesTheChangedKeys()
    {
        {
            QSettings settings(path(), QSettings::IniFormat);
            const SettingsValues loaded = SettingsFile::load(settings, environment());
            // Nothing changed: no file comes into being.
            QVERIFY(SettingsFile::save(settings, loaded, loaded));
            QVERIFY(!QFile::exists(path()));
            SettingsValues v = loaded;
            v.settingsFullVersion = true;
            v.automaticUpdatesCheking = true;
            v.lastExportPath = "out";
            v.rcTypesList = QStringList{"3", "1"};
            v.rcTypes = "3,1";
            QVERIFY(SettingsFile::save(settings, loaded, v));
        }
        QSettings check(path(), QSettings::IniFormat);
        QStringList keys = check.allKeys();
        keys.sort();
        QCOMPARE(keys, QStringList({"Settings/lastExportPath", "Settings/rcTypes", "Settings/settingsFullVersion",
                                    "UpdateInfo/automaticUpdatesCheking"}));
        const QString text = readAll(path());
        QVERIFY(!text.contains("@Variant"));
        QVERIFY(text.contains("settingsFullVersion=true\n"));
        QVERIFY(text.contains("lastExportPath=out\n"));
        QVERIFY(text.contains("rcTypes=3_1\n"));
        QVERIFY(text.contains("[UpdateInfo]\nautomaticUpdatesCheking=true\n"));
    }

    // Window A saves the company, window B then switches to the simple
    // version: each writes only its own change, so both survive.
    void twoWritersKeepEachOthersKeys()
    {
        QVERIFY(writeFile(path(), "[Settings]\nsettingsFullVersion=true\ncompany=Old\n"));
        QSettings a(path(), QSettings::IniFormat);
        QSettings b(path(), QSettings::IniFormat);
        SettingsValues savedA = SettingsFile::load(a, environment());
        const SettingsValues savedB = SettingsFile::load(b, environment());

        SettingsValues changedA = savedA;
        changedA.company = "ACME";
        QVERIFY(SettingsFile::save(a, savedA, changedA));
        savedA = changedA;
        SettingsValues changedB = savedB;
        changedB.settingsFullVersion = false;
        QVERIFY(SettingsFile::save(b, savedB, changedB));

        QStringList lines = readAll(path()).split('\n');
        QVERIFY2(lines.contains("company=ACME"), qPrintable(readAll(path())));
        QVERIFY2(lines.contains("settingsFullVersion=false"), qPrintable(readAll(path())));

        // A's next change leaves B's choice alone, though A still holds the old one.
        changedA.contact = "Ann";
        QVERIFY(SettingsFile::save(a, savedA, changedA));
        lines = readAll(path()).split('\n');
        QVERIFY(lines.contains("contact=Ann"));
        QVERIFY(lines.contains("company=ACME"));
        QVERIFY2(lines.contains("settingsFullVersion=false"), qPrintable(readAll(path())));
        QSettings check(path(), QSettings::IniFormat);
        QCOMPARE(check.allKeys().size(), 3);
    }

    // A save that changed nothing leaves the file as it is, hand-written
    // forms and comments included; a save of another key keeps each key's meaning.
    void loadThenSave_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("name");
        QTest::addRow("types with duplicates") << QByteArray("; by hand\n[Settings]\nrcTypes=5_1_5_x3\n") << "rcTypes";
        QTest::addRow("types by hand") << QByteArray("; by hand\n[Settings]\nrcTypes=1,2\n") << "rcTypesList";
        QTest::addRow("types without digits") << QByteArray("; by hand\n[Settings]\nrcTypes=abc\n") << "rcTypes";
        QTest::addRow("leading zeros") << QByteArray("; by hand\n[Settings]\nrcTypes=007_7\n") << "rcTypesList";
        QTest::addRow("empty export folder") << QByteArray("; by hand\n[Settings]\nlastExportPath=\n")
                                             << "lastExportPath";
        QTest::addRow("unknown language") << QByteArray("; by hand\n[Settings]\nlanguage=Klingon\n") << "language";
        QTest::addRow("mode") << QByteArray("; by hand\n[Settings]\nsettingsFullVersion=true\n")
                              << "settingsFullVersion";
        QTest::addRow("rc types in simple mode")
            << QByteArray("; by hand\n[Settings]\nsettingsShowRCTypesInSimpleMode=true\n")
            << "settingsShowRCTypesInSimpleMode";
    }
    void loadThenSave()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, name);
        QVERIFY(writeFile(path(), ini));
        QSettings settings(path(), QSettings::IniFormat);
        const SettingsValues loaded = SettingsFile::load(settings, environment());
        QVERIFY(SettingsFile::save(settings, loaded, loaded));
        QCOMPARE(readAll(path()).toUtf8(), ini);

        SettingsValues v = loaded;
        v.contact = "someone";
        QVERIFY(SettingsFile::save(settings, loaded, v));
        QVERIFY(readAll(path()).split('\n').contains("contact=someone"));
        QSettings again(path(), QSettings::IniFormat);
        const QVariant before = field(loaded, name);
        const QVariant after = field(SettingsFile::load(again, environment()), name);
        if (before.userType() == QMetaType::QStringList)
            QCOMPARE(after.toStringList(), before.toStringList());
        else
            QCOMPARE(after, before);
    }

    void foreignKeysSurviveSaves()
    {
        const QByteArray ini = "[Settings]\n"
                               "defaultCustomerId=9\n"
                               "languageShowType=2\n"
                               "customerId=3\n"
                               "[UpdateInfo]\n"
                               "database=2023-11-21\n"
                               "main=2023-10-01\n"
                               "server=http://127.0.0.1:8080/\n"
                               "distributor=north\n"
                               "[Debug]\n"
                               "showHidden=true\n"
                               "flashData=00112233\n"
                               "allowChangeKeyID=true\n"
                               "[Extra]\n"
                               "note=kept\n";
        QVERIFY(writeFile(path(), ini));
        {
            QSettings settings(path(), QSettings::IniFormat);
            const SettingsValues loaded = SettingsFile::load(settings, environment());
            SettingsValues v = loaded;
            v.company = "changed";
            QVERIFY(SettingsFile::save(settings, loaded, v));
            const SettingsValues saved = v;
            v.settingsFullVersion = true;
            QVERIFY(SettingsFile::save(settings, saved, v));
        }
        const QStringList lines = readAll(path()).split('\n');
        for (const char *line : {"defaultCustomerId=9", "languageShowType=2", "database=2023-11-21", "main=2023-10-01",
                                 "server=http://127.0.0.1:8080/", "distributor=north", "showHidden=true",
                                 "flashData=00112233", "allowChangeKeyID=true", "note=kept", "company=changed",
                                 "customerId=3", "settingsFullVersion=true"})
            QVERIFY2(lines.contains(line), line);
        QSettings check(path(), QSettings::IniFormat);
        // The eleven keys found and the two changed: nothing else was written.
        QCOMPARE(check.allKeys().size(), 13);
    }

    void everyWrittenValueComesBack()
    {
        SettingsValues v;
        v.customerId = "21";
        v.language = "Deutsch";
        v.company = "ACME, Ltd.";
        v.address = "1 Main St; Springfield";
        v.contact = "  spaced  ";
        v.printOnlyFirstImage = true;
        v.advancedFilter = true;
        v.simpleProgramming = true;
        v.automaticUpdatesCheking = true;
        v.settingsFullVersion = true;
        v.settingsShowRCTypesInSimpleMode = true;
        v.lastImportPath = "/data/in";
        v.lastExportPath = "out dir";
        v.lastImagesPath = "C:\\pics";
        v.rcTypesList = QStringList{"2", "9", "14"};
        v.rcTypes = "2,9,14";
        {
            // Every key differs from what a missing file reads as.
            QSettings settings(path(), QSettings::IniFormat);
            QVERIFY(SettingsFile::save(settings, SettingsValues(), v));
        }
        QVERIFY(readAll(path()).split('\n').contains("rcTypes=2_9_14"));
        QSettings written(path(), QSettings::IniFormat);
        QCOMPARE(written.allKeys().size(), savedKeys.size());
        QSettings settings(path(), QSettings::IniFormat);
        const SettingsValues back = SettingsFile::load(settings, environment());
        for (const char *name : {"customerId", "language", "company", "address", "contact", "printOnlyFirstImage",
                                 "advancedFilter", "simpleProgramming", "automaticUpdatesCheking",
                                 "settingsFullVersion", "settingsShowRCTypesInSimpleMode", "lastImportPath",
                                 "lastExportPath", "lastImagesPath", "rcTypes"})
            QVERIFY2(field(back, name) == field(v, name), name);
        QCOMPARE(back.rcTypesList, v.rcTypesList);
    }

    // A config.ini kept private (it holds company, address and contact) and
    // linked from elsewhere stays a private link after a save.
    void linkedPrivateFileStaysLinkedAndPrivate()
    {
        const QString real = dir.filePath(QString::number(round) + "/kept/config.ini");
        QVERIFY(QDir().mkpath(QFileInfo(real).path()));
        QVERIFY(writeFile(real, "[Settings]\ncompany=Old\n[Debug]\nshowHidden=true\n"));
        QVERIFY(QFile::setPermissions(real, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(QFile::link("kept/config.ini", path()));
        QSettings settings(path(), QSettings::IniFormat);
        const SettingsValues loaded = SettingsFile::load(settings, environment());
        QCOMPARE(loaded.company, QString("Old"));
        SettingsValues v = loaded;
        v.company = "ACME";
        v.contact = "Ann";
        QString error;
        QVERIFY2(SettingsFile::save(settings, loaded, v, &error), qPrintable(error));
        QVERIFY(QFileInfo(path()).isSymLink());
        QCOMPARE(QFileInfo(path()).symLinkTarget(), QFileInfo(real).absoluteFilePath());
        const QStringList lines = readAll(real).split('\n');
        QVERIFY2(lines.contains("company=ACME") && lines.contains("contact=Ann") && lines.contains("showHidden=true"),
                 qPrintable(readAll(real)));
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(real).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 07777), 0600);
        QCOMPARE(QDir(QFileInfo(real).path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList{"config.ini"});
    }

    void failedWriteIsReported()
    {
        // Written once, then a directory takes the file's place.
        QSettings settings(path(), QSettings::IniFormat);
        SettingsValues v = SettingsFile::load(settings, environment());
        const SettingsValues loaded = v;
        v.company = "first";
        QVERIFY(SettingsFile::save(settings, loaded, v));
        const SettingsValues saved = v;
        QVERIFY(QFile::remove(path()));
        QVERIFY(QDir().mkpath(path()));
        v.company = "lost";
        QVERIFY(!SettingsFile::save(settings, saved, v));
        QVERIFY(!SettingsFile::save(settings, saved, v));
    }

    // The file is loaded, then something that is no regular file takes its
    // place while the program runs. A save is refused, and the settings
    // object must not then go and read it: QSettings reopens a file whose
    // size changed, and would wait on a pipe for good or read a device
    // without end.
    void fileThatBecameAPipeOrDeviceIsNotReadAgain_data()
    {
        QTest::addColumn<bool>("pipe");
        QTest::addRow("named pipe") << true;
        QTest::addRow("link to /dev/zero") << false;
    }
    void fileThatBecameAPipeOrDeviceIsNotReadAgain()
    {
        QFETCH(bool, pipe);
        {
            QFile file(path());
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.write("[Settings]\ncompany=first\n") > 0);
        }
        QSettings settings(path(), QSettings::IniFormat);
        SettingsValues v = SettingsFile::load(settings, environment());
        const SettingsValues loaded = v;
        QCOMPARE(v.company, QStringLiteral("first"));
        QVERIFY(QFile::remove(path()));
        std::unique_ptr<FifoWatchdog> watchdog;
        if (pipe) {
            watchdog = std::make_unique<FifoWatchdog>(path(), 3000);
            QVERIFY(watchdog->made());
        } else {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path()));
        }
        // Without the fault the /dev/zero case ends at once; with it,
        // QSettings reads until the address space below runs out.
        const rlimit before = [] { rlimit r{}; getrlimit(RLIMIT_AS, &r); return r; }();
        const rlimit cap{rlim_t(4) << 30, before.rlim_max};
        if (!pipe)
            setrlimit(RLIMIT_AS, &cap);
        v.company = "second";
        QString error;
        const bool saved = SettingsFile::save(settings, loaded, v, &error);
        if (!pipe)
            setrlimit(RLIMIT_AS, &before);
        QVERIFY(!saved);
        QVERIFY2(error.contains(QDir::toNativeSeparators(path())), qPrintable(error));
        if (watchdog)
            QVERIFY2(!watchdog->fired(), "the settings waited on the pipe");
        // What was loaded is still what the object holds.
        QCOMPARE(settings.value(QStringLiteral("Settings/company")).toString(), QStringLiteral("first"));
    }

    void fullDiskLeavesTheFileWhole()
    {
        FullDisk disk(256 * 1024);
        QVERIFY(disk.isValid());
        const QString ini = QDir(disk.path()).filePath("config.ini");
        QVERIFY(writeFile(ini, "[Settings]\ncompany=Old Ltd.\n[Debug]\nshowHidden=true\n"));
        QSettings settings(ini, QSettings::IniFormat);
        const SettingsValues loaded = SettingsFile::load(settings, environment());
        SettingsValues v = loaded;
        QString error;
        const QString before = readAll(ini);
        QVERIFY(before.contains("company=Old Ltd."));

        QVERIFY(disk.fill());
        v.company = "New Ltd.";
        v.settingsFullVersion = true;
        QVERIFY(!SettingsFile::save(settings, loaded, v, &error));
        QVERIFY2(error.contains(QDir::toNativeSeparators(ini)), qPrintable(error));
        QVERIFY2(error.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))), qPrintable(error));
        disk.release();
        QCOMPARE(readAll(ini), before);
        QCOMPARE(QDir(disk.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList{"config.ini"});
        QCOMPARE(settings.value("Settings/company").toString(), QString("Old Ltd."));

        // With room again the same save goes through, and the object reads it.
        QVERIFY2(SettingsFile::save(settings, loaded, v, &error), qPrintable(error));
        QCOMPARE(settings.value("Settings/company").toString(), QString("New Ltd."));
        const QStringList lines = readAll(ini).split('\n');
        QVERIFY(lines.contains("settingsFullVersion=true"));
        QVERIFY(lines.contains("showHidden=true"));
    }

    void directoryFromTheStartIsReported()
    {
        QVERIFY(QDir().mkpath(path()));
        QSettings settings(path(), QSettings::IniFormat);
        const SettingsValues loaded = SettingsFile::load(settings, environment());
        SettingsValues v = loaded;
        v.company = "x";
        QVERIFY(!SettingsFile::save(settings, loaded, v));
    }

    void malformedFileIsStillWritten()
    {
        // A read problem is not a write failure: the program's keys are written.
        QVERIFY(writeFile(path(), QByteArray("[Settings\ncompany=x\n")));
        QSettings settings(path(), QSettings::IniFormat);
        const SettingsValues loaded = SettingsFile::load(settings, environment());
        SettingsValues v = loaded;
        v.contact = "written";
        QVERIFY(SettingsFile::save(settings, loaded, v));
        QVERIFY(readAll(path()).split('\n').contains("contact=written"));
    }

    void sampleKitConfigHoldsValidUserKeys()
    {
        const QString sample = dir.filePath(QString::number(round) + "/sample");
        QVERIFY(TestSupport::writeSampleDirectory(sample, 5));
        const QString ini = sample + "/config.ini";
        QSettings settings(ini, QSettings::IniFormat);
        for (const QString &key : savedKeys)
            QVERIFY2(settings.contains(key), qPrintable(key));
        const SettingsValues v =
            SettingsFile::load(settings, {"English", [&](const QString &p) { return QFile::exists(sample + "/" + p); }});
        QVERIFY(!v.rcTypesList.isEmpty());
        QStringList sampleTypes;
        for (const SampleKit::RemoteType &t : SampleKit::remoteTypes())
            sampleTypes << QString::number(t.id);
        for (const QString &id : v.rcTypesList)
            QVERIFY2(sampleTypes.contains(id), qPrintable(id));
        QCOMPARE(v.customerId, SampleKit::customerId());
        // Already in the form a save writes: saving changes none of the user keys.
        QHash<QString, QString> before;
        for (const QString &key : savedKeys)
            before.insert(key, settings.value(key).toString());
        QVERIFY(SettingsFile::save(settings, SettingsValues(), v));
        QSettings again(ini, QSettings::IniFormat);
        for (const QString &key : savedKeys)
            QVERIFY2(again.value(key).toString() == before.value(key), qPrintable(key));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
