// Unpacking zip archives: refused entry names, all-or-nothing extraction.
#include "GermanTexts.h"
#include "TestSupport.h"
#include "update/ZipUnpacker.h"

#include <QDir>
#include <QDirIterator>
#include <QtTest>

namespace {
QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Every entry below dir with what it is: a file's bytes, a folder's "/" or
// a link's target.
QStringList contents(const QString &dir)
{
    QStringList out;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString what = info.isSymLink() ? QStringLiteral("-> ") + info.symLinkTarget()
                             : info.isDir()   ? QStringLiteral("/")
                                              : QString::fromUtf8(readAll(path));
        out << QDir(dir).relativeFilePath(path) + QLatin1Char(' ') + what;
    }
    out.sort();
    return out;
}
} // namespace

class TestZipUnpacker : public QObject
{
    Q_OBJECT

private slots:
    void entryNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("safe");
        QTest::addRow("plain") << "v-ivizuziz.exe" << true;
        QTest::addRow("nested") << "data/lib/x.dll" << true;
        QTest::addRow("folder") << "data/" << true;
        QTest::addRow("dots in a name") << "a..b/..c" << true;
        QTest::addRow("parent") << "../x" << false;
        QTest::addRow("parent inside") << "a/../../x" << false;
        QTest::addRow("parent that stays inside") << "a/../x" << false;
        QTest::addRow("backslash parent") << "a\\..\\..\\x" << false;
        QTest::addRow("absolute") << "/etc/passwd" << false;
        QTest::addRow("absolute backslash") << "\\windows\\x" << false;
        QTest::addRow("drive") << "C:/x" << false;
        QTest::addRow("empty") << "" << false;
    }
    void entryNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, safe);
        QCOMPARE(ZipUnpacker::isSafeEntryName(name), safe);
    }

    void unpacksAndReplaces()
    {
        QTemporaryDir dir;
        const QString zip = dir.filePath("p.zip");
        const QFile::Permissions exe = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        QVERIFY(TestSupport::writeZip(zip, {{"tool", "new tool", exe},
                                            {"data/", {}},
                                            {"data/deep/file.txt", "deep"}}));
        const QString target = dir.filePath("update");
        QVERIFY(QDir().mkpath(target));
        QFile old(target + "/tool");
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old tool, longer than the new one");
        old.close();
        QFile keep(target + "/keep.txt");
        QVERIFY(keep.open(QIODevice::WriteOnly));
        keep.close();

        QString error;
        QVERIFY2(ZipUnpacker::unpack(zip, target, &error), qPrintable(error));
        QCOMPARE(readAll(target + "/tool"), QByteArray("new tool"));
        QVERIFY(QFileInfo(target + "/tool").permissions() & QFile::ExeOwner);
        QCOMPARE(readAll(target + "/data/deep/file.txt"), QByteArray("deep"));
        QVERIFY(QFile::exists(target + "/keep.txt"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"update"});
    }

    // The old content of the folder blocks a file of the archive part-way:
    // the folder stays exactly as it was, none of the archive's files in it,
    // and no staging folder is left beside it.
    void blockedUnpackLeavesTheFolderAsItWas_data()
    {
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<QString>("reason");
        QTest::addRow("a folder where a file belongs") << "b.txt/inside.txt" << "b.txt is a folder";
        QTest::addRow("a file where a folder belongs") << "data" << "cannot create the folder data";
        QTest::addRow("a link where a folder belongs") << "link:data" << "cannot create the folder data";
    }
    void blockedUnpackLeavesTheFolderAsItWas()
    {
        QFETCH(QString, blocker);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString zip = dir.filePath("p.zip");
        QVERIFY(TestSupport::writeZip(zip, {{"a.txt", "new a"},
                                            {"b.txt", "new b"},
                                            {"c.txt", "new c"},
                                            {"data/x.txt", "new x"},
                                            {"z.txt", "new z"}}));
        const QString target = dir.filePath("update");
        const QString outside = dir.filePath("outside");
        QVERIFY(QDir().mkpath(outside));
        QVERIFY(QDir().mkpath(target));
        for (const char *name : {"a.txt", "c.txt", "z.txt", "keep.txt"})
            QVERIFY(TestSupport::writeFile(target + "/" + name, QByteArray("old ") + name));
        if (blocker.startsWith("link:")) {
            QVERIFY(QFile::link(outside, target + "/" + blocker.mid(5)));
        } else {
            QVERIFY(QDir(target).mkpath(QFileInfo(blocker).path()));
            QVERIFY(TestSupport::writeFile(target + "/" + blocker, "old blocker"));
        }
        const QStringList before = contents(target);

        QString error;
        QVERIFY(!ZipUnpacker::unpack(zip, target, &error));
        QCOMPARE(contents(target), before);
        QCOMPARE(contents(outside), QStringList());
        QVERIFY2(error.contains(reason), qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"outside", "p.zip", "update"}));
    }

    // What the folder held stays unless the archive replaces it; a link in
    // the folder is replaced, never written through; the folder itself is
    // swapped whole, the old one gone.
    void replacesWithoutFollowingLinks()
    {
        QTemporaryDir dir;
        const QString zip = dir.filePath("p.zip");
        QVERIFY(TestSupport::writeZip(zip, {{"tool", "new tool"}, {"sub/new.txt", "new"}}));
        const QString target = dir.filePath("update");
        QVERIFY(QDir().mkpath(target + "/sub"));
        QVERIFY(TestSupport::writeFile(dir.filePath("elsewhere.txt"), "not the program's"));
        QVERIFY(QFile::link(dir.filePath("elsewhere.txt"), target + "/tool"));
        QVERIFY(QFile::link(dir.filePath("elsewhere.txt"), target + "/sub/kept-link"));
        QVERIFY(TestSupport::writeFile(target + "/sub/old.txt", "old"));
        QString error;
        QVERIFY2(ZipUnpacker::unpack(zip, target, &error), qPrintable(error));
        QCOMPARE(contents(target), (QStringList{"sub /", "sub/kept-link -> " + dir.filePath("elsewhere.txt"),
                                                "sub/new.txt new", "sub/old.txt old", "tool new tool"}));
        QCOMPARE(readAll(dir.filePath("elsewhere.txt")), QByteArray("not the program's"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"elsewhere.txt", "p.zip", "update"}));
    }

    void refusedArchiveWritesNothing()
    {
        QTemporaryDir dir;
        const QString zip = dir.filePath("p.zip");
        QVERIFY(TestSupport::writeZip(zip, {{"first.txt", "first"}, {"sub/../../second.txt", "second"}}));
        const QString target = dir.filePath("update");
        QString error;
        QVERIFY(!ZipUnpacker::unpack(zip, target, &error));
        QVERIFY2(error.contains("sub/../../second.txt"), qPrintable(error));
        QVERIFY(!QFile::exists(target + "/first.txt"));
        QVERIFY(!QFile::exists(dir.filePath("second.txt")));
    }

    // The reasons are the program's texts, German in a German program, and
    // an entry name is quoted by its start only.
    void reasonsInGerman_data()
    {
        QTest::addColumn<QList<TestSupport::ZipEntry>>("entries");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("german");
        QTest::addRow("leaves its folder")
            << QList<TestSupport::ZipEntry>{{"../x", "x"}} << QStringLiteral("the entry \"../x\" leaves its folder")
            << QStringLiteral("der Eintrag \u201e../x\u201c verl\u00e4sst seinen Ordner");
        const QString longName = QStringLiteral("../") + QString(5000, QLatin1Char('n'));
        const QString cut = QStringLiteral("../") + QString(157, QLatin1Char('n')) + QChar(0x2026);
        QTest::addRow("long name") << QList<TestSupport::ZipEntry>{{longName, "x"}}
                                   << QStringLiteral("the entry \"%1\" leaves its folder").arg(cut)
                                   << QStringLiteral("der Eintrag \u201e%1\u201c verl\u00e4sst seinen Ordner").arg(cut);
        QTest::addRow("not an archive") << QList<TestSupport::ZipEntry>{}
                                        << QStringLiteral("not a readable zip archive (error -1000)")
                                        << QStringLiteral("kein lesbares ZIP-Archiv (Fehler -1000)");
    }
    void reasonsInGerman()
    {
        QFETCH(QList<TestSupport::ZipEntry>, entries);
        QFETCH(QString, english);
        QFETCH(QString, german);
        QTemporaryDir dir;
        const QString zip = dir.filePath("p.zip");
        if (entries.isEmpty())
            QVERIFY(TestSupport::writeFile(zip, "not a zip archive"));
        else
            QVERIFY(TestSupport::writeZip(zip, entries));
        QString error;
        QVERIFY(!ZipUnpacker::unpack(zip, dir.filePath("update"), &error));
        QCOMPARE(error, english);
        const GermanTexts texts;
        QVERIFY(texts.isInstalled());
        QVERIFY(!ZipUnpacker::unpack(zip, dir.filePath("update"), &error));
        QCOMPARE(error, german);
    }

    void missingArchive()
    {
        QTemporaryDir dir;
        QString error;
        QVERIFY(!ZipUnpacker::unpack(dir.filePath("none.zip"), dir.filePath("update"), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFileInfo::exists(dir.filePath("update")));
    }
};

QTEST_GUILESS_MAIN(TestZipUnpacker)
#include "tst_zipunpacker.moc"
