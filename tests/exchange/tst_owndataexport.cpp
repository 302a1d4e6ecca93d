// The export of the user's own changed models: which models and keys go in,
// the installation block, and a file that stays well-formed whatever the
// values hold.
#include "CatalogueFixture.h"
#include "FullDisk.h"
#include "TestSupport.h"

#include "exchange/OwnDataExport.h"

#include <QDir>
#include <QDomDocument>
#include <QSet>
#include <QtTest>

#include <cerrno>
#include <cstring>

class TestOwnDataExport : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    QSqlDatabase m_db;

    QString path(const QString &name) const { return QDir(m_dir->path()).filePath(name); }

    // Writes the file and reads it back as a document.
    QDomDocument exported(const QString &settings = QStringLiteral("missing.ini"))
    {
        QString error;
        if (!OwnDataExport::write(m_db, path(QStringLiteral("simple-modified.xml")), path(settings), &error))
            qWarning("%s", qPrintable(error));
        QFile f(path(QStringLiteral("simple-modified.xml")));
        QDomDocument dom;
        if (!f.open(QIODevice::ReadOnly) || !dom.setContent(&f))
            qWarning("not well-formed");
        return dom;
    }

    static QList<QDomElement> children(const QDomDocument &dom, const QString &group)
    {
        QList<QDomElement> out;
        const QDomElement parent = dom.documentElement().firstChildElement(group);
        for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
            out << e;
        return out;
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        m_db = TestSupport::openFixtureCatalogue(m_dir->path());
        QVERIFY(m_db.isOpen());
    }
    void cleanup()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
        delete m_dir;
    }

    void fullDiskKeepsTheOldFileAndSaysWhy()
    {
        FullDisk disk(256 * 1024);
        QVERIFY(disk.isValid());
        const QString file = QDir(disk.path()).filePath(QStringLiteral("simple-modified.xml"));
        QVERIFY(TestSupport::writeFile(file, "the old export"));
        QVERIFY(disk.fill());
        QString error;
        QVERIFY(!OwnDataExport::write(m_db, file, path(QStringLiteral("missing.ini")), &error));
        QVERIFY2(error.contains(QDir::toNativeSeparators(file))
                     && error.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
                 qPrintable(error));
        disk.release();
        QCOMPARE(TestSupport::readText(file), QStringLiteral("the old export"));
        QCOMPARE(QDir(disk.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList{QStringLiteral("simple-modified.xml")});
    }

    void emptyCatalogueStillGivesTheFile()
    {
        const QDomDocument dom = exported();
        QCOMPARE(dom.documentElement().tagName(), QStringLiteral("rc"));
        QVERIFY(children(dom, "rcmodels").isEmpty());
        QVERIFY(children(dom, "rckeys").isEmpty());
        const QDomElement about = dom.documentElement().firstChildElement("about");
        QCOMPARE(about.attribute("company"), QStringLiteral("company"));
        QCOMPARE(about.attribute("address"), QStringLiteral("address"));
        QCOMPARE(about.attribute("contact"), QStringLiteral("contact"));
        QCOMPARE(about.attribute("version"), QStringLiteral("2.0"));
        QVERIFY(about.attribute("currentMSecsSinceEpoch").toLongLong() > 0);
        QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d-\\d\\d-\\d\\d-\\d\\d$")
                    .match(about.attribute("currentDateTimeUtc"))
                    .hasMatch());
        QVERIFY(about.hasAttribute("macAddress"));
        const QByteArray bytes = TestSupport::readText(path("simple-modified.xml")).toUtf8();
        QVERIFY(bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rc>\n <rcmodels/>"));
    }

    void twelveChangedMastersGiveTenLinks()
    {
        for (int i = 0; i < 12; ++i) {
            const QString rcid = QStringLiteral("0000%1").arg(i, 4, 10, QLatin1Char('0'));
            CatalogueFixture::Model m{rcid, "OWN", "TV", QStringLiteral("M-%1").arg(i), "", {}, {}};
            m.flag = 0;
            QVERIFY(CatalogueFixture::addModel(m_db, m));
            QVERIFY(CatalogueFixture::addKey(m_db, {rcid, 1, "Power", "0013", 1}));
        }
        // Not exported: sent already (Flag 1), and factory.
        QVERIFY(CatalogueFixture::addModel(m_db, {"0000ffff", "OWN", "TV", "SENT", "", {}, {}}));
        CatalogueFixture::Model factory{"ffff0000", "MAKER", "TV", "F", "", {}, {}};
        factory.own = 0;
        factory.flag = 0;
        QVERIFY(CatalogueFixture::addModel(m_db, factory));

        const QDomDocument dom = exported();
        const QList<QDomElement> models = children(dom, "rcmodels");
        const QList<QDomElement> keys = children(dom, "rckeys");
        QSet<QString> links;
        for (const QDomElement &m : models) {
            links.insert(m.attribute("Link"));
            QCOMPARE(m.attribute("Own"), QStringLiteral("1"));
            QCOMPARE(m.attribute("Flag"), QStringLiteral("0"));
        }
        QCOMPARE(links.size(), 10);
        QCOMPARE(models.size(), 10);
        QCOMPARE(keys.size(), 10);
        QCOMPARE(models[0].attributes().count(), 13);
    }

    void quotesInValuesStayValues()
    {
        CatalogueFixture::Model master{"o'link", "A\"B", "T<V>", "M&1", "x'--", {}, {}};
        master.flag = 0;
        QVERIFY(CatalogueFixture::addModel(m_db, master));
        CatalogueFixture::Model linked{"o'two", "C", "TV", "M-2", "", "o'link", {}};
        linked.flag = 0;
        QVERIFY(CatalogueFixture::addModel(m_db, linked));
        QVERIFY(CatalogueFixture::addKey(m_db, {"o'link", 2, "Say \"hi\"", "0013", 3}));

        const QDomDocument dom = exported();
        const QList<QDomElement> models = children(dom, "rcmodels");
        QCOMPARE(models.size(), 2);
        QCOMPARE(models[0].attribute("Brand"), QStringLiteral("A\"B"));
        QCOMPARE(models[0].attribute("Model"), QStringLiteral("M&1"));
        // The key of the shared link is listed once per exported model.
        const QList<QDomElement> keys = children(dom, "rckeys");
        QCOMPARE(keys.size(), 2);
        QCOMPARE(keys[0].attribute("Name"), QStringLiteral("Say \"hi\""));
        QCOMPARE(keys[0].attribute("Rcid"), QStringLiteral("o'link"));
    }

    void installationFromTheSettingsFile()
    {
        QVERIFY(TestSupport::writeFile(path("settings.ini"),
                                       "[Settings]\ncompany=\"Acme, Inc.\"\naddress=Main Street 1\n"));
        const QDomElement about = exported("settings.ini").documentElement().firstChildElement("about");
        QCOMPARE(about.attribute("company"), QStringLiteral("Acme, Inc."));
        QCOMPARE(about.attribute("address"), QStringLiteral("Main Street 1"));
        QCOMPARE(about.attribute("contact"), QStringLiteral("contact"));
    }

    void unwritableFileIsReported()
    {
        QVERIFY(QDir(m_dir->path()).mkdir("simple-modified.xml"));
        QString error;
        QVERIFY(!OwnDataExport::write(m_db, path("simple-modified.xml"), path("none.ini"), &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestOwnDataExport)
#include "tst_owndataexport.moc"
