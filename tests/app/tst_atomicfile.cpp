#include "app/AtomicFile.h"

#include "FullDisk.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
}

// The permission bits of path (links followed), or -1.
int modeOf(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

bool setMode(const QString &path, int mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode_t(mode)) == 0;
}

// What the link at path says, without following it; empty when it is no link.
QString linkText(const QString &path)
{
    char buffer[4096];
    const ssize_t n = ::readlink(QFile::encodeName(path).constData(), buffer, sizeof buffer);
    return n > 0 ? QFile::decodeName(QByteArray(buffer, int(n))) : QString();
}

} // namespace

class TestAtomicFile : public QObject
{
    Q_OBJECT

private slots:
    void writesNewAndReplacesOld();
    void failureKeepsOldFile_data();
    void failureKeepsOldFile();
    void fullDiskKeepsOldFile();
    void reasonEndsTheMessage_data();
    void reasonEndsTheMessage();
    void streamedWritesAndCancel();
    void copyWhole();
    void replacedFileKeepsItsMode_data();
    void replacedFileKeepsItsMode();
    void writesThroughLinks_data();
    void writesThroughLinks();
    void linkLoopIsRefused();
    void deviceOrPipeIsNotReplaced();
    void replacedFileKeepsItsOwner();
    void temporaryNamesKeepTheTargetsName();
};

void TestAtomicFile::writesNewAndReplacesOld()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.txt"));
    QString error;
    QVERIFY2(AtomicFile::writeWhole(path, "first", &error), qPrintable(error));
    QCOMPARE(contents(path), QByteArray("first"));
    QVERIFY2(AtomicFile::writeWhole(path, QByteArray(), &error), qPrintable(error));
    QCOMPARE(contents(path), QByteArray());
    QVERIFY2(AtomicFile::writeWhole(path, QByteArray(300000, 'z'), &error), qPrintable(error));
    QCOMPARE(contents(path), QByteArray(300000, 'z'));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("a.txt")});
}

void TestAtomicFile::failureKeepsOldFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addRow("target is a directory") << "dir";
    QTest::addRow("folder missing") << "nofolder";
    QTest::addRow("injected full disk at byte 0") << "inject0";
    QTest::addRow("injected full disk mid-way") << "inject100";
}

void TestAtomicFile::failureKeepsOldFile()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("config.ini"));
    QVERIFY(AtomicFile::writeWhole(path, "old content"));
    if (kind == QLatin1String("dir")) {
        path = dir.filePath(QStringLiteral("taken"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("taken")));
    } else if (kind == QLatin1String("nofolder")) {
        path = dir.filePath(QStringLiteral("missing/config.ini"));
    } else {
        AtomicFile::setFailAfterBytesForTesting(kind == QLatin1String("inject0") ? 0 : 100);
    }
    QString error;
    const bool ok = AtomicFile::writeWhole(path, QByteArray(1000, 'n'), &error);
    AtomicFile::setFailAfterBytesForTesting(-1);
    QVERIFY(!ok);
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    QCOMPARE(contents(dir.filePath(QStringLiteral("config.ini"))), QByteArray("old content"));
    // No temporary file is left behind.
    QStringList expected{QStringLiteral("config.ini")};
    QCOMPARE(entries(dir.path()), expected);
    if (kind.startsWith(QLatin1String("inject")))
        QVERIFY2(error.contains(QString::fromLocal8Bit(strerror(ENOSPC))), qPrintable(error));
}

void TestAtomicFile::fullDiskKeepsOldFile()
{
    FullDisk disk(256 * 1024);
    QVERIFY(disk.isValid());
    const QString path = QDir(disk.path()).filePath(QStringLiteral("export.xml"));
    QVERIFY(AtomicFile::writeWhole(path, "the old export"));
    QVERIFY(disk.fill());
    QString error;
    QVERIFY(!AtomicFile::writeWhole(path, QByteArray(64 * 1024, 'x'), &error));
    QVERIFY(!AtomicFile::writeWhole(path, "tiny", &error));
    QVERIFY2(error.contains(QString::fromLocal8Bit(strerror(ENOSPC))), qPrintable(error));
    disk.release();
    QCOMPARE(contents(path), QByteArray("the old export"));
    QStringList expected{QStringLiteral("export.xml")};
    QCOMPARE(entries(disk.path()), expected);
    // With room again the same write goes through.
    QVERIFY2(AtomicFile::writeWhole(path, "new", &error), qPrintable(error));
    QCOMPARE(contents(path), QByteArray("new"));
}

void TestAtomicFile::reasonEndsTheMessage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addRow("English") << QString();
    QTest::addRow("German") << "German";
}

// The system's reason closes the message in every language: the file's name
// and the reason do not share a placeholder that a translation puts mid-sentence.
void TestAtomicFile::reasonEndsTheMessage()
{
    QFETCH(QString, language);
    QTranslator translator;
    if (!language.isEmpty()) {
        QVERIFY(translator.load(TestSupport::binaryDir() + "/languages/" + language + ".qm"));
        QVERIFY(QCoreApplication::installTranslator(&translator));
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.ini"));
    AtomicFile::setFailAfterBytesForTesting(0);
    QString error;
    const bool ok = AtomicFile::writeWhole(path, "text", &error);
    AtomicFile::setFailAfterBytesForTesting(-1);
    QCoreApplication::removeTranslator(&translator);
    QVERIFY(!ok);
    QVERIFY2(error.endsWith(QStringLiteral(": ") + QString::fromLocal8Bit(strerror(ENOSPC))), qPrintable(error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    if (!language.isEmpty())
        QVERIFY2(error.startsWith(QStringLiteral("Die Datei ")), qPrintable(error));
}

void TestAtomicFile::streamedWritesAndCancel()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.bin"));
    QVERIFY(AtomicFile::writeWhole(path, "keep"));
    {
        AtomicFile file(path);
        QVERIFY(file.open());
        QVERIFY(QFile::exists(file.temporaryPath()));
        QVERIFY(file.write("abc"));
        QCOMPARE(file.written(), 3);
        // Going out of scope without commit cancels.
    }
    QCOMPARE(contents(path), QByteArray("keep"));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("s.bin")});
    AtomicFile file(path);
    QVERIFY(file.open());
    for (int i = 0; i < 100; ++i)
        QVERIFY(file.write(QByteArray::number(i)));
    QVERIFY(file.commit());
    QVERIFY(contents(path).startsWith("0123456789101112"));
    QVERIFY(!file.commit()); // nothing left to commit
}

void TestAtomicFile::copyWhole()
{
    QTemporaryDir dir;
    const QString from = dir.filePath(QStringLiteral("from.jpg"));
    const QString to = dir.filePath(QStringLiteral("to.jpg"));
    QVERIFY(AtomicFile::writeWhole(from, QByteArray(5000, 'j')));
    QString error;
    QVERIFY2(AtomicFile::copyWhole(from, to, &error), qPrintable(error));
    QCOMPARE(contents(to), QByteArray(5000, 'j'));
    // A source that cannot be read writes nothing.
    QVERIFY(!AtomicFile::copyWhole(dir.filePath(QStringLiteral("none.jpg")), dir.filePath(QStringLiteral("x.jpg")),
                                   &error));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("x.jpg"))));
    QVERIFY(!AtomicFile::copyWhole(dir.path(), dir.filePath(QStringLiteral("y.jpg")), &error));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("y.jpg"))));
}

void TestAtomicFile::replacedFileKeepsItsMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addRow("private") << 0600;
    QTest::addRow("group may read") << 0640;
    QTest::addRow("read-only") << 0444;
    QTest::addRow("executable") << 0755;
}

void TestAtomicFile::replacedFileKeepsItsMode()
{
    QFETCH(int, mode);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.ini"));
    QVERIFY(AtomicFile::writeWhole(path, "old"));
    QVERIFY(setMode(path, mode));
    QString error;
    QVERIFY2(AtomicFile::writeWhole(path, "new", &error), qPrintable(error));
    QCOMPARE(contents(path), QByteArray("new"));
    QCOMPARE(modeOf(path), mode);
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("config.ini")});
}

void TestAtomicFile::writesThroughLinks_data()
{
    QTest::addColumn<QString>("linkTo"); // the link's text; "elsewhere/" is another folder
    QTest::addColumn<int>("hops");        // links in the chain
    QTest::addColumn<bool>("dangling");
    QTest::addRow("relative link") << "elsewhere/real.ini" << 1 << false;
    QTest::addRow("absolute link") << "<absolute>" << 1 << false;
    QTest::addRow("chain of two links") << "elsewhere/real.ini" << 2 << false;
    QTest::addRow("dangling link") << "elsewhere/real.ini" << 1 << true;
}

// A config.ini that links to a file elsewhere stays a link; the file it
// names gets the new content and keeps its mode.
void TestAtomicFile::writesThroughLinks()
{
    QFETCH(QString, linkTo);
    QFETCH(int, hops);
    QFETCH(bool, dangling);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("elsewhere")));
    const QString real = dir.filePath(QStringLiteral("elsewhere/real.ini"));
    if (linkTo == QLatin1String("<absolute>"))
        linkTo = real;
    if (!dangling) {
        QVERIFY(AtomicFile::writeWhole(real, "old"));
        QVERIFY(setMode(real, 0600));
    }
    const QString link = dir.filePath(QStringLiteral("config.ini"));
    if (hops == 2) {
        QVERIFY(QFile::link(linkTo, dir.filePath(QStringLiteral("middle.ini"))));
        QVERIFY(QFile::link(QStringLiteral("middle.ini"), link));
    } else {
        QVERIFY(QFile::link(linkTo, link));
    }
    const QString linkBefore = linkText(link);

    QString error;
    QVERIFY2(AtomicFile::writeWhole(link, "new", &error), qPrintable(error));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(linkText(link), linkBefore);
    QCOMPARE(contents(real), QByteArray("new"));
    QVERIFY(!QFileInfo(real).isSymLink());
    if (!dangling)
        QCOMPARE(modeOf(real), 0600);
    // No temporary file stays on either side.
    QCOMPARE(entries(dir.filePath(QStringLiteral("elsewhere"))), QStringList{QStringLiteral("real.ini")});
    QCOMPARE(entries(dir.path()).size(), hops);
}

void TestAtomicFile::linkLoopIsRefused()
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.ini"));
    QVERIFY(QFile::link(QStringLiteral("b.ini"), a));
    QVERIFY(QFile::link(QStringLiteral("a.ini"), dir.filePath(QStringLiteral("b.ini"))));
    QString error;
    QVERIFY(!AtomicFile::writeWhole(a, "new", &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(a)), qPrintable(error));
    QCOMPARE(linkText(a), QStringLiteral("b.ini"));
    QCOMPARE(entries(dir.path()), QStringList({QStringLiteral("a.ini"), QStringLiteral("b.ini")}));
}

// Renaming over the target of a link to a pipe would put a file in its
// place (as root, even in /dev): such a target is refused.
void TestAtomicFile::deviceOrPipeIsNotReplaced()
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("pipe"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString link = dir.filePath(QStringLiteral("config.ini"));
    QVERIFY(QFile::link(QStringLiteral("pipe"), link));
    QString error;
    QVERIFY(!AtomicFile::writeWhole(link, "new", &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(link)), qPrintable(error));
    struct stat st;
    QCOMPARE(::lstat(QFile::encodeName(pipe).constData(), &st), 0);
    QVERIFY(S_ISFIFO(st.st_mode));
    QCOMPARE(entries(dir.path()), QStringList({QStringLiteral("config.ini"), QStringLiteral("pipe")}));
}

void TestAtomicFile::replacedFileKeepsItsOwner()
{
    if (::geteuid() != 0)
        QSKIP("only the superuser may give a file to another owner");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.ini"));
    QVERIFY(AtomicFile::writeWhole(path, "old"));
    QCOMPARE(::chown(QFile::encodeName(path).constData(), 4321, 4322), 0);
    QVERIFY(setMode(path, 0640));
    QVERIFY(AtomicFile::writeWhole(path, "new"));
    struct stat st;
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(int(st.st_uid), 4321);
    QCOMPARE(int(st.st_gid), 4322);
    QCOMPARE(int(st.st_mode & 07777), 0640);
}

// A temporary name carries the target's name as it is, a "%2" in it too,
// and the process that made it.
void TestAtomicFile::temporaryNamesKeepTheTargetsName()
{
    QTemporaryDir dir;
    QString error;
    const QString folder = AtomicFile::makeTemporaryFolder(dir.filePath(QStringLiteral("a%2b")), &error);
    QVERIFY2(!folder.isEmpty(), qPrintable(error));
    const QString name = QFileInfo(folder).fileName();
    QVERIFY2(name.startsWith(QStringLiteral(".a%2b.irvanta-tmp-")), qPrintable(name));
    QCOMPARE(AtomicFile::temporaryOwner(name), QCoreApplication::applicationPid());
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
