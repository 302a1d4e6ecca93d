// Adding a photo: the picture is stored as a JPEG file in the lowest free
// place, reduced only when both the file and the picture are large; what
// cannot be stored is said, and nothing half-written stays behind.
#include "FifoWatchdog.h"

#include "app/CheckedFile.h"
#include "catalogue/ModelPhotos.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QtTest>

#include <memory>

class TestModelPhotos : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    const QString m_master = QStringLiteral("5a00001f");

    QString work() const { return m_dir->path(); }

    // A picture that compresses badly (noise) or very well (one colour).
    static QImage picture(int w, int h, bool noisy)
    {
        QImage img(w, h, QImage::Format_RGB32);
        if (!noisy) {
            img.fill(QColor(40, 90, 160));
            return img;
        }
        quint32 s = 12345;
        for (int y = 0; y < h; ++y) {
            auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
            for (int x = 0; x < w; ++x) {
                s = s * 1664525u + 1013904223u;
                line[x] = 0xff000000u | (s >> 8);
            }
        }
        return img;
    }

    QString source(const QString &name, const QImage &img, const char *format)
    {
        const QString path = QDir(work()).filePath(name);
        if (!img.save(path, format))
            return QString();
        return path;
    }

    QStringList photoFiles() const
    {
        return QDir(QDir(work()).filePath(QStringLiteral("RCImages"))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
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

    void storedSizeAndFormat_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("noisy");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<bool>("largeFile");
        QTest::addColumn<QSize>("stored");
        QTest::addRow("large JPEG is reduced") << 3000 << 2000 << true << QByteArray("jpg") << true << QSize(1280, 853);
        QTest::addRow("tall large PNG is reduced") << 1000 << 1600 << true << QByteArray("png") << true << QSize(800, 1280);
        QTest::addRow("small file keeps its size") << 3000 << 2000 << false << QByteArray("png") << false
                                                   << QSize(3000, 2000);
        QTest::addRow("1280 square is never reduced") << 1280 << 1280 << true << QByteArray("png") << true
                                                      << QSize(1280, 1280);
        QTest::addRow("1281 wide is reduced") << 1281 << 100 << true << QByteArray("png") << true << QSize(1280, 99);
        QTest::addRow("BMP becomes JPEG") << 64 << 48 << true << QByteArray("bmp") << false << QSize(64, 48);
    }
    void storedSizeAndFormat()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, noisy);
        QFETCH(QByteArray, format);
        QFETCH(bool, largeFile);
        QFETCH(QSize, stored);
        const QString file = source(QStringLiteral("chosen.") + QString::fromLatin1(format), picture(width, height, noisy),
                                    format.constData());
        QVERIFY(!file.isEmpty());
        QCOMPARE(QFileInfo(file).size() >= ModelPhotos::ScaleFromBytes, largeFile);

        PhotoPlaces places(work(), m_master);
        QImage shown;
        QString error;
        QCOMPARE(ModelPhotos::add(places, file, &shown, &error), 1);
        QVERIFY(error.isEmpty());
        QCOMPARE(photoFiles(), QStringList{QStringLiteral("5a00001f_1.jpg")});
        QImageReader reader(places.path(1));
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QCOMPARE(reader.size(), stored);
        QCOMPARE(shown.size(), stored);
    }

    void fillsLowestFreePlace()
    {
        PhotoPlaces places(work(), m_master);
        QString error;
        for (int n : {1, 3})
            QVERIFY(places.store(n, "old", &error));
        const QString file = source(QStringLiteral("a.png"), picture(32, 32, true), "png");
        QCOMPARE(ModelPhotos::add(places, file, nullptr, &error), 2);
        QCOMPARE(ModelPhotos::add(places, file, nullptr, &error), 4);
        QCOMPARE(ModelPhotos::add(places, file, nullptr, &error), 5);
        // The old photos were not touched.
        for (int n : {1, 3}) {
            QFile f(places.path(n));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), QByteArray("old"));
        }

        // All five taken: the picture is shown, nothing stored, and said so.
        QImage shown;
        const QStringList before = photoFiles();
        QCOMPARE(ModelPhotos::add(places, file, &shown, &error), 0);
        QVERIFY(!error.isEmpty());
        QCOMPARE(shown.size(), QSize(32, 32));
        QCOMPARE(photoFiles(), before);
    }

    void nothingStored_data()
    {
        QTest::addColumn<QString>("case_");
        QTest::addColumn<QString>("errorPart");
        QTest::addRow("unreadable picture") << "unreadable"
                                            << "cannot be read";
        QTest::addRow("missing file") << "missing"
                                      << "Cannot read the file";
        QTest::addRow("named pipe") << "pipe"
                                    << "not a regular file but a named pipe";
        QTest::addRow("link to a device") << "device"
                                          << "not a regular file but a device";
        QTest::addRow("larger than a photo may be") << "huge"
                                                    << "larger than 64 MiB";
        QTest::addRow("photo folder missing") << "nofolder"
                                              << "\"RCImages/\" does not exist";
        QTest::addRow("file in place of the folder") << "fileasfolder"
                                                     << "\"RCImages\" in the working directory is a file";
    }
    void nothingStored()
    {
        QFETCH(QString, case_);
        QFETCH(QString, errorPart);
        QString file = source(QStringLiteral("ok.png"), picture(40, 30, true), "png");
        std::unique_ptr<FifoWatchdog> pipe;
        const QString folder = QDir(work()).filePath(QStringLiteral("RCImages"));
        if (case_ == QLatin1String("unreadable")) {
            file = QDir(work()).filePath(QStringLiteral("notapicture.jpg"));
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("this is text, not a JPEG");
        } else if (case_ == QLatin1String("missing")) {
            file = QDir(work()).filePath(QStringLiteral("nothing-here.png"));
        } else if (case_ == QLatin1String("pipe")) {
            file = QDir(work()).filePath(QStringLiteral("pipe.png"));
            pipe = std::make_unique<FifoWatchdog>(file);
            QVERIFY(pipe->made());
        } else if (case_ == QLatin1String("device")) {
            file = QDir(work()).filePath(QStringLiteral("zero.png"));
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), file));
        } else if (case_ == QLatin1String("huge")) {
            // Sparse: a picture's first bytes, then nothing written up to past the bound.
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.resize(CheckedFile::PhotoBytes + 1));
        } else {
            QVERIFY(QDir(folder).removeRecursively());
            if (case_ == QLatin1String("fileasfolder")) {
                QFile f(folder);
                QVERIFY(f.open(QIODevice::WriteOnly));
            }
        }
        PhotoPlaces places(work(), m_master);
        QString error;
        QCOMPARE(ModelPhotos::add(places, file, nullptr, &error), 0);
        QVERIFY2(error.contains(errorPart), qPrintable(error));
        if (pipe)
            QVERIFY2(!pipe->fired(), "the photo was waited for on the pipe");
        QVERIFY(!QFileInfo::exists(places.path(1)));
        QCOMPARE(photoFiles(), QStringList());
    }
};

QTEST_MAIN(TestModelPhotos)
#include "tst_modelphotos.moc"
