// The checked reader of files the program did not write itself: what it
// takes, what it refuses without blocking, and copies in pieces.
#include "FifoWatchdog.h"

#include "app/AtomicFile.h"
#include "app/CheckedFile.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <memory>

namespace {

// The most memory this process has held so far, in KiB.
long peakKiB()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

class TestCheckedFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_made = 0;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // A file of size bytes that takes no room on the disk.
    static bool sparse(const QString &file, qint64 size, const QByteArray &head = QByteArray())
    {
        QFile f(file);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(head) == head.size() && f.resize(size);
    }

    // Makes what kind names at name; the path to hand to the reader.
    QString make(const QString &kind, const QString &name, std::unique_ptr<FifoWatchdog> *watchdog)
    {
        // A folder of its own for each: a row's leftovers never stand in the next one's way.
        const QString folder = QString::number(++m_made);
        if (!QDir(m_dir.path()).mkpath(folder))
            return QString();
        const QString at = path(folder + QLatin1Char('/') + name);
        if (kind == QLatin1String("regular") || kind == QLatin1String("link to a regular file")) {
            const QString target = kind == QLatin1String("regular") ? at : at + QStringLiteral(".target");
            if (!AtomicFile::writeWhole(target, "photo bytes"))
                return QString();
            if (target != at && !QFile::link(target, at))
                return QString();
        } else if (kind == QLatin1String("empty")) {
            if (!AtomicFile::writeWhole(at, QByteArray()))
                return QString();
        } else if (kind == QLatin1String("at the bound")) {
            if (!sparse(at, 1024 * 1024))
                return QString();
        } else if (kind == QLatin1String("over the bound") || kind == QLatin1String("over a bound in bytes")) {
            if (!sparse(at, 1024 * 1024 + 1))
                return QString();
        } else if (kind == QLatin1String("named pipe")) {
            *watchdog = std::make_unique<FifoWatchdog>(at);
        } else if (kind == QLatin1String("link to a named pipe")) {
            *watchdog = std::make_unique<FifoWatchdog>(at + QStringLiteral(".target"));
            if (!QFile::link(at + QStringLiteral(".target"), at))
                return QString();
        } else if (kind == QLatin1String("folder")) {
            QDir().mkpath(at);
        } else if (kind == QLatin1String("device")) {
            return QStringLiteral("/dev/zero");
        } else if (kind == QLatin1String("link to a device")) {
            if (!QFile::link(QStringLiteral("/dev/zero"), at))
                return QString();
        } else if (kind == QLatin1String("socket")) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address = {};
            address.sun_family = AF_UNIX;
            const QByteArray native = QFile::encodeName(at);
            if (fd < 0 || size_t(native.size()) >= sizeof(address.sun_path))
                return QString();
            std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
            const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
            ::close(fd);
            if (!bound)
                return QString();
        } else if (kind == QLatin1String("link to nothing")) {
            if (!QFile::link(at + QStringLiteral(".gone"), at))
                return QString();
        }
        return at;
    }

private slots:
    // One row per kind of thing that can stand at a name; check(), read()
    // and copy() judge it alike, and none of them waits on a pipe.
    void judgesWhatIsThere_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<qint64>("bound");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("reason");
        const int done = int(CheckedFile::Result::Done), missing = int(CheckedFile::Result::Missing),
                  refused = int(CheckedFile::Result::Refused);
        const qint64 mib = 1024 * 1024;
        QTest::addRow("regular file") << "regular" << mib << done << QString();
        QTest::addRow("empty file") << "empty" << mib << done << QString();
        QTest::addRow("link to a regular file") << "link to a regular file" << mib << done << QString();
        QTest::addRow("exactly at the bound") << "at the bound" << mib << done << QString();
        QTest::addRow("no bound") << "over the bound" << CheckedFile::Unbounded << done << QString();
        QTest::addRow("one byte over the bound") << "over the bound" << mib << refused << "larger than 1 MiB";
        QTest::addRow("over a bound in bytes") << "over a bound in bytes" << qint64(1000) << refused
                                               << "larger than 1000 bytes";
        QTest::addRow("missing") << "missing" << mib << missing << "No such file";
        QTest::addRow("link to nothing") << "link to nothing" << mib << missing << "No such file";
        QTest::addRow("named pipe") << "named pipe" << mib << refused << "not a regular file but a named pipe";
        QTest::addRow("link to a named pipe") << "link to a named pipe" << mib << refused
                                              << "not a regular file but a named pipe";
        QTest::addRow("folder") << "folder" << mib << refused << "not a regular file but a folder";
        QTest::addRow("device") << "device" << mib << refused << "not a regular file but a device";
        QTest::addRow("link to a device") << "link to a device" << CheckedFile::Unbounded << refused
                                          << "not a regular file but a device";
        QTest::addRow("socket") << "socket" << mib << refused << "not a regular file but a socket";
    }
    void judgesWhatIsThere()
    {
        QFETCH(QString, kind);
        QFETCH(qint64, bound);
        QFETCH(int, result);
        QFETCH(QString, reason);
        std::unique_ptr<FifoWatchdog> watchdog;
        const QString at = make(kind, QStringLiteral("photo.jpg"), &watchdog);
        QVERIFY(!at.isEmpty());
        QVERIFY(!watchdog || watchdog->made());
        const auto expected = CheckedFile::Result(result);

        QString error = QStringLiteral("stale");
        QCOMPARE(CheckedFile::check(at, bound, &error), expected);
        if (expected == CheckedFile::Result::Done) {
            QCOMPARE(error, QStringLiteral("stale"));
        } else {
            // Which file, and why.
            QVERIFY2(error.startsWith(QStringLiteral("Cannot read the file %1: ").arg(QDir::toNativeSeparators(at))),
                     qPrintable(error));
            QVERIFY2(error.contains(reason), qPrintable(error));
        }

        QByteArray data("stale");
        QString readError;
        QCOMPARE(CheckedFile::read(at, bound, &data, &readError), expected);
        if (expected == CheckedFile::Result::Done) {
            QFile plain(at);
            QVERIFY(plain.open(QIODevice::ReadOnly));
            QCOMPARE(data, plain.readAll());
        } else {
            QVERIFY(data.isEmpty());
            QCOMPARE(readError, error);
        }

        const QString copy = path(QStringLiteral("copy.jpg"));
        QFile::remove(copy);
        QString copyError;
        QCOMPARE(CheckedFile::copy(at, copy, bound, &copyError), expected);
        if (expected == CheckedFile::Result::Done) {
            QCOMPARE(QFileInfo(copy).size(), QFileInfo(at).size());
        } else {
            QCOMPARE(copyError, error);
            QVERIFY(!QFileInfo::exists(copy));
        }
        // Nothing stays behind beside the target.
        QVERIFY(QDir(m_dir.path()).entryList({QStringLiteral(".copy.jpg*")}, QDir::Hidden | QDir::Files).isEmpty());
        if (watchdog)
            QVERIFY2(!watchdog->fired(), "the reader waited on the pipe");
    }

    // A copy goes in pieces: a file of tens of MiB never lies in memory
    // whole. The bound is generous; a whole read alone would pass it twice.
    void copyNeverHoldsTheWholeFile()
    {
        const QString from = path(QStringLiteral("large.jpg"));
        const QString to = path(QStringLiteral("large-copy.jpg"));
        const qint64 size = 60 * 1024 * 1024;
        QVERIFY(sparse(from, size, "\xFF\xD8\xFF"));
        const long before = peakKiB();
        QString error;
        QVERIFY2(AtomicFile::copyWhole(from, to, &error), qPrintable(error));
        const long grown = peakKiB() - before;
        QCOMPARE(QFileInfo(to).size(), size);
        QFile copied(to);
        QVERIFY(copied.open(QIODevice::ReadOnly));
        QCOMPARE(copied.read(3), QByteArray("\xFF\xD8\xFF"));
        QVERIFY2(grown < 24 * 1024, qPrintable(QStringLiteral("%1 KiB more at the peak").arg(grown)));
        copied.close();
        QFile::remove(to);
        QFile::remove(from);
    }

    // QSettings opens its file itself: it gets one only after the check, and
    // otherwise reads nothing and says why.
    void settingsOfAFileThatIsNoRegularFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::addRow("named pipe") << "named pipe" << "named pipe";
        QTest::addRow("link to a device") << "link to a device" << "device";
        QTest::addRow("folder") << "folder" << "folder";
        QTest::addRow("missing") << "missing" << "";
        QTest::addRow("regular") << "regular" << "";
    }
    void settingsOfAFileThatIsNoRegularFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        std::unique_ptr<FifoWatchdog> watchdog;
        const QString at = make(kind, QStringLiteral("config.ini"), &watchdog);
        QVERIFY(!at.isEmpty());
        if (kind == QLatin1String("regular"))
            QVERIFY(AtomicFile::writeWhole(at, "[Settings]\ncompany=ACME\n"));
        QString error;
        const std::unique_ptr<QSettings> settings = CheckedFile::settings(at, &error);
        QVERIFY(settings);
        if (reason.isEmpty()) {
            QVERIFY2(error.isEmpty(), qPrintable(error));
            QCOMPARE(settings->fileName(), QFileInfo(at).absoluteFilePath());
            QCOMPARE(settings->value(QStringLiteral("Settings/company")).toString(),
                     kind == QLatin1String("regular") ? QStringLiteral("ACME") : QString());
        } else {
            QVERIFY2(error.contains(QDir::toNativeSeparators(at)) && error.contains(reason), qPrintable(error));
            QVERIFY(settings->allKeys().isEmpty());
            QCOMPARE(settings->status(), QSettings::NoError);
        }
        if (watchdog)
            QVERIFY2(!watchdog->fired(), "QSettings waited on the pipe");
    }
};

QTEST_GUILESS_MAIN(TestCheckedFile)
#include "tst_checkedfile.moc"
