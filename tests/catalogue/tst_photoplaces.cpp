// Photo places of a link master: the lowest free place, deletion with the
// later photos moved down, and writes that fail without leaving damage.
#include "catalogue/PhotoPlaces.h"

#include "FullDisk.h"
#include "app/OwnMark.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <cerrno>
#include <cstring>

class TestPhotoPlaces : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    const QString m_master = QStringLiteral("1a2b3c4d");

    QString work() const { return m_dir->path(); }

    // Each place's file holds its original number, so moves can be traced.
    void fill(const QList<int> &places, const QString &master)
    {
        for (int n : places) {
            QFile f(QDir(work()).filePath(PhotoPlaces::relativePath(master, n)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("photo ") + QByteArray::number(n));
        }
    }

    // Place -> original number of the photo now in it (0: empty).
    QList<int> contents(const QString &master) const
    {
        QList<int> out;
        for (int n = 1; n <= PhotoPlaces::Count; ++n) {
            QFile f(QDir(work()).filePath(PhotoPlaces::relativePath(master, n)));
            out << (f.open(QIODevice::ReadOnly) ? f.readAll().mid(6).toInt() : 0);
        }
        return out;
    }

    QStringList folderEntries() const
    {
        return QDir(QDir(work()).filePath(QStringLiteral("RCImages"))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    }

    // The entries of the photos' work folder but its mark.
    QStringList workEntries() const
    {
        QStringList names = QDir(PhotoPlaces(work(), m_master).workFolder())
                                .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
        names.removeOne(OwnMark::markName());
        return names;
    }

    bool makeWorkFolder() const
    {
        QString reason;
        return OwnMark::isMarkedFolder(PhotoPlaces(work(), m_master).workFolder())
               || OwnMark::makeMarkedFolder(PhotoPlaces(work(), m_master).workFolder(), &reason);
    }

    static bool writeBytes(const QString &path, const QByteArray &data)
    {
        QFile f(path);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir(work()).mkpath(QStringLiteral("RCImages")));
    }
    void cleanup()
    {
        delete m_dir;
        m_dir = nullptr;
    }

    void names()
    {
        QCOMPARE(PhotoPlaces::relativePath(m_master, 3), QStringLiteral("RCImages/1a2b3c4d_3.jpg"));
        QCOMPARE(PhotoPlaces(work(), m_master).path(1), QDir(work()).filePath(QStringLiteral("RCImages/1a2b3c4d_1.jpg")));
    }

    void firstFree_data()
    {
        QTest::addColumn<QList<int>>("taken");
        QTest::addColumn<int>("free");
        QTest::addRow("none") << QList<int>{} << 1;
        QTest::addRow("gap at 2") << QList<int>{1, 3} << 2;
        QTest::addRow("only 5") << QList<int>{5} << 1;
        QTest::addRow("1 to 4") << QList<int>{1, 2, 3, 4} << 5;
        QTest::addRow("all") << QList<int>{1, 2, 3, 4, 5} << 0;
    }
    void firstFree()
    {
        QFETCH(QList<int>, taken);
        QFETCH(int, free);
        fill(taken, m_master);
        fill({1}, QStringLiteral("99999999")); // another master's photos do not count
        QCOMPARE(PhotoPlaces(work(), m_master).firstFree(), free);
    }

    void remove_data()
    {
        QTest::addColumn<QList<int>>("taken");
        QTest::addColumn<int>("k");
        QTest::addColumn<QList<int>>("after");
        QTest::addRow("middle of three") << QList<int>{1, 2, 3} << 2 << QList<int>{1, 3, 0, 0, 0};
        QTest::addRow("first with gap behind") << QList<int>{1, 3} << 1 << QList<int>{0, 3, 0, 0, 0};
        QTest::addRow("first of 1,2,4,5") << QList<int>{1, 2, 4, 5} << 1 << QList<int>{2, 0, 4, 5, 0};
        QTest::addRow("last of five") << QList<int>{1, 2, 3, 4, 5} << 5 << QList<int>{1, 2, 3, 4, 0};
        QTest::addRow("first of five") << QList<int>{1, 2, 3, 4, 5} << 1 << QList<int>{2, 3, 4, 5, 0};
        QTest::addRow("only one") << QList<int>{1} << 1 << QList<int>{0, 0, 0, 0, 0};
    }
    void remove()
    {
        QFETCH(QList<int>, taken);
        QFETCH(int, k);
        QFETCH(QList<int>, after);
        fill(taken, m_master);
        fill({1, 2}, QStringLiteral("99999999"));
        QString error;
        QVERIFY2(PhotoPlaces(work(), m_master).remove(k, &error), qPrintable(error));
        QCOMPARE(contents(m_master), after);
        QCOMPARE(contents(QStringLiteral("99999999")), (QList<int>{1, 2, 0, 0, 0}));
        for (const QString &name : folderEntries())
            QVERIFY2(name.endsWith(QLatin1String(".jpg")), qPrintable(name));
    }

    void removeEmptyPlaceChangesNothing()
    {
        fill({1, 3}, m_master);
        QString error;
        QVERIFY(!PhotoPlaces(work(), m_master).remove(2, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(contents(m_master), (QList<int>{1, 0, 3, 0, 0}));
    }

    void removeThatCannotStartChangesNothing()
    {
        // Something that cannot be cleared sits where the removed photo is
        // moved aside: the removal fails before any photo has moved.
        fill({1, 2, 3}, m_master);
        const PhotoPlaces places(work(), m_master);
        QVERIFY(writeBytes(places.workFolder(), "a file where the work folder belongs"));
        QString error;
        QVERIFY(!PhotoPlaces(work(), m_master).remove(1, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(contents(m_master), (QList<int>{1, 2, 3, 0, 0}));
    }

    void stageAllIsAllOrNothing()
    {
        fill({1, 2, 4}, m_master);
        PhotoPlaces places(work(), m_master);
        // A folder where photo 4 would be parked: two photos have moved
        // aside before the third cannot.
        const QString blocked = QDir(places.workFolder())
                                    .filePath(QStringLiteral("1a2b3c4d_4.jpg.irvanta-deleting-%1-all")
                                                  .arg(QCoreApplication::applicationPid()));
        QVERIFY(makeWorkFolder());
        QVERIFY(QDir().mkpath(blocked + QStringLiteral("/blocked")));
        QString error;
        QVERIFY(!places.stageAll(&error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(contents(m_master), (QList<int>{1, 2, 0, 4, 0}));

        QVERIFY(QDir(blocked).removeRecursively());
        QVERIFY(places.stageAll(&error));
        QCOMPARE(contents(m_master), (QList<int>{0, 0, 0, 0, 0}));
        places.restoreStaged();
        QCOMPARE(contents(m_master), (QList<int>{1, 2, 0, 4, 0}));
        QVERIFY(places.stageAll(&error));
        places.discardStaged();
        QCOMPARE(contents(m_master), (QList<int>{0, 0, 0, 0, 0}));
        QVERIFY(folderEntries().isEmpty());
        QCOMPARE(workEntries(), QStringList());
    }

    void store()
    {
        PhotoPlaces places(work(), m_master);
        QString error;
        QVERIFY2(places.store(2, "jpeg bytes", &error), qPrintable(error));
        QFile f(places.path(2));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("jpeg bytes"));
        // A taken place is never overwritten.
        QVERIFY(!places.store(2, "other", &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(folderEntries(), QStringList{QStringLiteral("1a2b3c4d_2.jpg")});
        QCOMPARE(workEntries(), QStringList());
        QVERIFY2(places.copyIn(3, places.path(2), &error), qPrintable(error));
        QCOMPARE(folderEntries(), (QStringList{"1a2b3c4d_2.jpg", "1a2b3c4d_3.jpg"}));
        QVERIFY(!places.copyIn(3, places.path(2), &error));
        QCOMPARE(workEntries(), QStringList());
    }

    void storeOnAFullDiskLeavesNoPhoto()
    {
        FullDisk disk(256 * 1024);
        QVERIFY(disk.isValid());
        QVERIFY(QDir(disk.path()).mkpath(QStringLiteral("RCImages")));
        const PhotoPlaces places(disk.path(), m_master);
        QVERIFY(disk.fill());
        QString error;
        QVERIFY(!places.store(1, QByteArray(300, 'j'), &error));
        QVERIFY2(error.contains(QDir::toNativeSeparators(places.path(1))), qPrintable(error));
        QVERIFY2(error.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))), qPrintable(error));
        disk.release();
        QVERIFY(!places.isTaken(1));
        // Nothing among the photos, nothing in their work folder but its mark.
        QStringList left = QDir(QDir(disk.path()).filePath(QStringLiteral("RCImages")))
                               .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
        if (left.removeOne(OwnMark::workFolderName()))
            QCOMPARE(QDir(places.workFolder()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                     QStringList{OwnMark::markName()});
        QCOMPARE(left, QStringList());
    }

    void earlierParkedPhotoIsNeverOverwritten()
    {
        // A photo parked by a deletion that did not finish is the only copy
        // of it until it is put back: a later deletion must not destroy it.
        fill({1, 2}, m_master);
        const PhotoPlaces places(work(), m_master);
        QVERIFY(makeWorkFolder());
        const QString parkedPath = QDir(places.workFolder()).filePath("1a2b3c4d_1.jpg.irvanta-deleting-99999999-12");
        QVERIFY(writeBytes(parkedPath, "parked photo"));
        QString error;
        QVERIFY(!PhotoPlaces(work(), m_master).remove(1, &error));
        QVERIFY2(error.contains(QStringLiteral("irvanta-deleting")), qPrintable(error));
        QVERIFY(!PhotoPlaces(work(), m_master).stageAll(&error));
        QCOMPARE(contents(m_master), (QList<int>{1, 2, 0, 0, 0}));
        QFile parked(parkedPath);
        QVERIFY(parked.open(QIODevice::ReadOnly));
        QCOMPARE(parked.readAll(), QByteArray("parked photo"));
    }

    // Parked photos are found in the marked work folder only, by the names
    // the program gives them; 99999999 is above any process number.
    void parkedPhotosAreFound()
    {
        fill({1}, m_master);
        for (const char *name : {"1a2b3c4d_3.jpg.deleting", "holiday_1.jpg.deleting"})
            QVERIFY(writeBytes(QDir(work()).filePath(QStringLiteral("RCImages/") + QLatin1String(name)), "x"));
        const QDir parked(PhotoPlaces(work(), m_master).workFolder());
        QVERIFY(QDir().mkpath(parked.path()));
        QVERIFY(writeBytes(parked.filePath("1a2b3c4d_3.jpg.irvanta-deleting-99999999-all"), "x"));
        QVERIFY2(PhotoPlaces::parked(work()).isEmpty(), "a folder without the mark is not the program's");

        QVERIFY(writeBytes(parked.filePath(OwnMark::markName()), "mark"));
        for (const char *name : {"99999999_5.jpg.irvanta-deleting-77-135", "1a2b3c4d_2.jpg.irvanta-deleting-77-21",
                                 "1a2b3c4d_2.jpg.irvanta-deleting-77-13", "1a2b3c4d_6.jpg.irvanta-deleting-77-all",
                                 "1a2b3c4d_2.jpg.irvanta-deleting-0-all", "notes.irvanta-deleting-77-all",
                                 ".1a2b3c4d_2.jpg.irvanta-tmp-77-1"})
            QVERIFY(writeBytes(parked.filePath(QLatin1String(name)), "x"));
        QVERIFY(QFile::link(parked.filePath("1a2b3c4d_3.jpg.irvanta-deleting-99999999-all"),
                            parked.filePath("1a2b3c4d_4.jpg.irvanta-deleting-99999999-all")));
        QStringList found;
        for (const PhotoPlaces::Parked &p : PhotoPlaces::parked(work())) {
            QString before;
            for (int n : p.before)
                before += QString::number(n);
            found << QStringLiteral("%1 %2 %3 %4 %5")
                         .arg(p.master)
                         .arg(p.place)
                         .arg(p.process)
                         .arg(p.whole ? QStringLiteral("all") : before, QFileInfo(p.path).fileName());
        }
        QCOMPARE(found, (QStringList{"1a2b3c4d 3 99999999 all 1a2b3c4d_3.jpg.irvanta-deleting-99999999-all",
                                     "99999999 5 77 135 99999999_5.jpg.irvanta-deleting-77-135"}));
    }

    // What a photo deletion leaves when the program ends in its middle, and
    // how a start settles it: 9 is the parked photo, "before" the places
    // taken before the deletion, as its name records them. Cut short before
    // every later photo had moved, the photos get their numbers before the
    // deletion back; once all had, the deletion is finished.
    void settleOne_data()
    {
        QTest::addColumn<QList<int>>("taken");
        QTest::addColumn<int>("parkedPlace");
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<QList<int>>("after");
        QTest::addColumn<bool>("settled");
        QTest::addRow("parked, nothing moved yet")
            << QList<int>{1, 3} << 2 << QList<int>{1, 2, 3} << QList<int>{1, 9, 3, 0, 0} << true;
        QTest::addRow("first parked, one of three moved") // place 1 holds the old photo 2
            << QList<int>{1, 3, 4} << 1 << QList<int>{1, 2, 3, 4} << QList<int>{9, 1, 3, 4, 0} << true;
        QTest::addRow("second parked, two of three moved")
            << QList<int>{1, 2, 3, 5} << 2 << QList<int>{1, 2, 3, 4, 5} << QList<int>{1, 9, 2, 3, 5} << true;
        QTest::addRow("first parked, all moved: finished")
            << QList<int>{1, 2} << 1 << QList<int>{1, 2, 3} << QList<int>{1, 2, 0, 0, 0} << true;
        QTest::addRow("last parked: finished")
            << QList<int>{1, 2} << 3 << QList<int>{1, 2, 3} << QList<int>{1, 2, 0, 0, 0} << true;
        QTest::addRow("only photo parked: finished")
            << QList<int>{} << 1 << QList<int>{1} << QList<int>{0, 0, 0, 0, 0} << true;
        // Gaps: from {1, 3} photo 1 goes and photo 3 becomes photo 2.
        QTest::addRow("gap, nothing moved yet")
            << QList<int>{3} << 1 << QList<int>{1, 3} << QList<int>{9, 0, 3, 0, 0} << true;
        QTest::addRow("gap, the one later photo moved: finished")
            << QList<int>{2} << 1 << QList<int>{1, 3} << QList<int>{0, 2, 0, 0, 0} << true;
        QTest::addRow("gaps, one of two moved") // {1, 3, 5}: 3 became 2, 5 still waits
            << QList<int>{2, 5} << 1 << QList<int>{1, 3, 5} << QList<int>{9, 0, 2, 0, 5} << true;
        QTest::addRow("gaps, both moved: finished")
            << QList<int>{2, 4} << 1 << QList<int>{1, 3, 5} << QList<int>{0, 2, 0, 4, 0} << true;
        QTest::addRow("gap before, one moved")
            << QList<int>{1, 3, 5} << 3 << QList<int>{1, 3, 4, 5} << QList<int>{1, 0, 9, 3, 5} << true;
        QTest::addRow("all places taken: left")
            << QList<int>{1, 2, 3, 4, 5} << 1 << QList<int>{1, 2, 3, 4, 5} << QList<int>{1, 2, 3, 4, 5} << false;
        QTest::addRow("photos changed since: left")
            << QList<int>{1, 4} << 2 << QList<int>{1, 2, 3} << QList<int>{1, 0, 0, 4, 0} << false;
    }
    void settleOne()
    {
        QFETCH(QList<int>, taken);
        QFETCH(int, parkedPlace);
        QFETCH(QList<int>, before);
        QFETCH(QList<int>, after);
        QFETCH(bool, settled);
        fill(taken, m_master);
        const PhotoPlaces places(work(), m_master);
        QVERIFY(makeWorkFolder());
        const QString parkedPath = QDir(places.workFolder()).filePath("parked");
        QVERIFY(writeBytes(parkedPath, "photo 9"));
        QString error;
        QCOMPARE(places.settle({{parkedPath, m_master, parkedPlace, 99999999, false, before}}, &error), settled);
        QCOMPARE(contents(m_master), after);
        QCOMPARE(QFileInfo::exists(parkedPath), !settled);
        QCOMPARE(error.isEmpty(), settled);
    }

    // Parked by the deletion of the whole master, rolled back: each photo
    // goes back to its own place. Photos of two deletions are left as they are.
    void settleSeveral()
    {
        fill({}, m_master);
        const PhotoPlaces places(work(), m_master);
        QVERIFY(makeWorkFolder());
        QList<PhotoPlaces::Parked> parked;
        for (int n : {1, 2, 4}) {
            const QString path = QDir(places.workFolder()).filePath(QString::number(n));
            QVERIFY(writeBytes(path, "photo " + QByteArray::number(n)));
            parked.append({path, m_master, n, 99999999, true, {}});
        }
        QString error;
        QList<PhotoPlaces::Parked> mixed = parked;
        mixed.append({parked.first().path, m_master, 1, 99999999, false, {1, 2}});
        QVERIFY(!places.settle(mixed, &error));
        QCOMPARE(contents(m_master), (QList<int>{0, 0, 0, 0, 0}));
        QVERIFY2(places.settle(parked, &error), qPrintable(error));
        QCOMPARE(contents(m_master), (QList<int>{1, 2, 0, 4, 0}));
        QCOMPARE(workEntries(), QStringList());
    }

    void storeWithoutFolder_data()
    {
        QTest::addColumn<bool>("fileInPlace");
        QTest::addRow("folder missing") << false;
        QTest::addRow("file in place of the folder") << true;
    }
    void storeWithoutFolder()
    {
        QFETCH(bool, fileInPlace);
        const QString folder = QDir(work()).filePath(QStringLiteral("RCImages"));
        QVERIFY(QDir(folder).removeRecursively());
        if (fileInPlace) {
            QFile f(folder);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        PhotoPlaces places(work(), m_master);
        QVERIFY(!places.folderExists());
        QString error;
        QVERIFY(!places.store(1, "data", &error));
        QCOMPARE(places.folderBlocked(), fileInPlace);
        // The message says what is wrong: no folder, or a file in its place.
        QCOMPARE(error, fileInPlace ? QStringLiteral("\"RCImages\" is a file, not the photo folder.")
                                    : QStringLiteral("The photo folder \"RCImages/\" does not exist."));
        QCOMPARE(QFileInfo(folder).isFile(), fileInPlace);
        QVERIFY(!QFileInfo::exists(places.path(1)));
    }
};

QTEST_GUILESS_MAIN(TestPhotoPlaces)
#include "tst_photoplaces.moc"
