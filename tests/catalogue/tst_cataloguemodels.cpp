// The catalogue's SQL models pass Qt's item-model checks on real queries, on
// rows full of NULLs and on catalogues that lack a table; rows are read back
// by their identity even where the catalogue declares no key.
#include "CatalogueFixture.h"
#include "DamagedCatalogue.h"
#include "TestSupport.h"

#include "catalogue/CatalogueRead.h"
#include "catalogue/ModelFilter.h"
#include "catalogue/RCConvertModel.h"
#include "catalogue/RCKeysModel.h"
#include "catalogue/RCLinksModel.h"
#include "catalogue/RCModelsModel.h"
#include "catalogue/RCSearchModel.h"
#include "catalogue/RCTypesModel.h"

#include <QAbstractItemModelTester>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

using CatalogueFixture::Model;

class TestCatalogueModels : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

    static void fetchAll(QAbstractItemModel &model)
    {
        while (model.canFetchMore(QModelIndex()))
            model.fetchMore(QModelIndex());
    }

    static QSqlQuery query(QSqlDatabase db, const QString &sql)
    {
        QSqlQuery q(db);
        q.exec(sql);
        return q;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = TestSupport::openFixtureCatalogue(m_dir.path());
        QVERIFY(m_db.isOpen());
        // Enough rows that the list is fetched in more than one batch.
        for (int i = 0; i < 600; ++i)
            QVERIFY(CatalogueFixture::addModel(
                m_db, {QString("%1").arg(i, 8, 16, QLatin1Char('0')), QString("BRAND%1").arg(i % 7), "TV",
                       QString("M-%1").arg(i), "doc", i % 3 ? QString("%1").arg(i - i % 3, 8, 16, QLatin1Char('0'))
                                                            : QString("%1").arg(i, 8, 16, QLatin1Char('0')),
                       {}}));
        QVERIFY(CatalogueFixture::addModel(m_db, {"nulls", {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}}));
        for (int n = 0; n < 40; ++n)
            QVERIFY(CatalogueFixture::addKey(m_db, {"00000000", 1, QString("K%1").arg(n), "0014AB", n}));
        QVERIFY(CatalogueFixture::addKey(m_db, {"00000000", 1, {}, {}, {}}));
        QVERIFY(CatalogueFixture::exec(m_db, "INSERT INTO rctypes VALUES (1,'One',40,''),(2,'Two',32,NULL),"
                                             "(3,NULL,NULL,NULL)"));
        QVERIFY(CatalogueFixture::exec(m_db, "INSERT INTO rcconvert VALUES (1,'One to two',1,2),(2,NULL,2,1)"));
    }

    void modelList()
    {
        RCModelsModel model(nullptr, m_db);
        model.setTable(QStringLiteral("rcmodels"));
        ModelFilter::Panel panel;
        panel.showHidden = panel.showHidden1 = true;
        model.setFilter(ModelFilter::filter(panel));
        model.setEditStrategy(QSqlTableModel::OnManualSubmit);
        QVERIFY(model.select());
        QVERIFY(model.rowCount() < 601); // fetched lazily
        // Attached after the first select: QSqlTableModel::select() fetches its
        // first rows inside its own reset, which the tester counts against Qt.
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        fetchAll(model);
        QCOMPARE(model.rowCount(), 601);
        QCOMPARE(model.columnCount(), 13);
        // Ordered by brand, then model: the NULL brand sorts first.
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("nulls"));
        QVERIFY(model.index(0, 1).data().isNull());
        QVERIFY(model.setData(model.index(1, 1), QStringLiteral("X")));
        QVERIFY(model.selectRow(1));
        QVERIFY(!model.isDirty());
    }

    void keyList()
    {
        RCKeysModel model(nullptr, m_db);
        model.setTable(QStringLiteral("rckeys"));
        model.setFilter(QStringLiteral("(Rcid='00000000' AND RCTypeId='1')"));
        QVERIFY(model.select());
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        fetchAll(model);
        QCOMPARE(model.rowCount(), 41);
        // Edits stay in the model until the view writes them.
        QCOMPARE(model.editStrategy(), QSqlTableModel::OnManualSubmit);
    }

    // A read that fails part-way, in the first batch of rows or in one fetched
    // later: the list shows no rows and says why, once.
    void damagedReadShowsNone_data()
    {
        QTest::addColumn<bool>("keyModel"); // the table model, else the query model
        QTest::addColumn<int>("keys");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<bool>("late"); // the damage lies beyond the first batch
        QTest::addRow("key list, whole") << true << 900 << false << false;
        QTest::addRow("key list, damage in the first rows") << true << 360 << true << false;
        QTest::addRow("key list, damage in rows fetched later") << true << 900 << true << true;
        QTest::addRow("query list, whole") << false << 900 << false << false;
        QTest::addRow("query list, damage in the first rows") << false << 360 << true << false;
        QTest::addRow("query list, damage in rows fetched later") << false << 900 << true << true;
    }
    void damagedReadShowsNone()
    {
        QFETCH(bool, keyModel);
        QFETCH(int, keys);
        QFETCH(bool, damaged);
        QFETCH(bool, late);
        const QString link = QStringLiteral("d0000001");
        QTemporaryDir dir;
        {
            QSqlDatabase db = TestSupport::openFixtureCatalogue(dir.path(), QStringLiteral("damaged"));
            QVERIFY(db.isOpen());
            // Without the index the rows come in the order they were written,
            // so the damage lies where the row says.
            QVERIFY(CatalogueFixture::exec(db, "DROP INDEX rckeys_by_model"));
            QVERIFY(DamagedCatalogue::addKeys(db, link, 1, damaged ? DamagedCatalogue::Damage::Middle
                                                                   : DamagedCatalogue::Damage::None, keys));
            RCKeysModel keyList(nullptr, db);
            RCLinksModel queryList;
            QStringList lateFailures;
            const auto failed = [&](const QString &error) { lateFailures << error; };
            QSqlQueryModel *model = nullptr;
            if (keyModel) {
                keyList.setTable(QStringLiteral("rckeys"));
                keyList.setFilter(QStringLiteral("(Rcid='%1' AND RCTypeId='1')").arg(link));
                keyList.setLateFailureHandler(failed);
                QCOMPARE(keyList.select(), !damaged || late);
                model = &keyList;
            } else {
                queryList.setLateFailureHandler(failed);
                queryList.setQuery(query(db, QStringLiteral("SELECT Rcid,Name,ID,Nkey FROM rckeys WHERE Rcid='%1'")
                                                 .arg(link)));
                model = &queryList;
            }
            QCOMPARE(model->rowCount() > 0, !damaged || late);
            QCOMPARE(model->lastError().isValid(), damaged && !late);
            // Attached once the query is set: the tester fetches more rows itself.
            QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
            fetchAll(*model);
            QCOMPARE(model->rowCount(), damaged ? 0 : keys);
            QCOMPARE(model->lastError().isValid(), damaged);
            QVERIFY(!model->canFetchMore(QModelIndex()));
            QVERIFY(model->columnCount() > 0); // the headers stay
            // Told by the handler only where select() and setQuery() had returned.
            QCOMPARE(lateFailures.size(), late ? 1 : 0);
            if (damaged)
                QVERIFY2(CatalogueRead::damaged(model->lastError().text()), qPrintable(model->lastError().text()));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("damaged"));
    }

    void searchModel()
    {
        RCSearchModel model(nullptr, m_db);
        model.setTable(QStringLiteral("rcmodels"));
        model.setFilter(QStringLiteral("(1)AND(Rcid IN(SELECT Rcid FROM rckeys WHERE(rcTypeId='1'))) ORDER BY "
                                       "Brand,Model"));
        QVERIFY(model.select());
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 1);
    }

    void queryModels_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("rows");
        QTest::addRow("links") << "links"
                               << "SELECT Rcid,Brand,Type,Model,(CASE WHEN rcid=link THEN 0 ELSE 1 END) AS sortlink "
                                  "FROM rcmodels WHERE (Link='00000003') ORDER BY sortlink,Brand,Model"
                               << 3;
        QTest::addRow("types") << "types" << "SELECT * FROM rctypes WHERE RCTypeId IN (1,2,3) ORDER BY RCTypeId" << 3;
        QTest::addRow("conversions") << "convert" << "SELECT * FROM rcconvert ORDER BY RCTypeIdFrom" << 2;
        QTest::addRow("missing table") << "types" << "SELECT * FROM rcnothing" << 0;
    }
    void queryModels()
    {
        QFETCH(QString, kind);
        QFETCH(QString, sql);
        QFETCH(int, rows);
        QScopedPointer<QSqlQueryModel> model(kind == "links"   ? static_cast<QSqlQueryModel *>(new RCLinksModel)
                                             : kind == "types" ? static_cast<QSqlQueryModel *>(new RCTypesModel)
                                                               : static_cast<QSqlQueryModel *>(new RCConvertModel));
        QAbstractItemModelTester tester(model.data(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        model->setQuery(query(m_db, sql));
        fetchAll(*model);
        QCOMPARE(model->rowCount(), rows);
        QCOMPARE(model->lastError().isValid(), rows == 0);
    }

    // A catalogue whose tables declare no keys and lack the optional ones.
    void bareCatalogue()
    {
        QTemporaryDir dir;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bare"));
            db.setDatabaseName(dir.filePath(QStringLiteral("rc.db")));
            QVERIFY(db.open());
            QVERIFY(CatalogueFixture::exec(db, "CREATE TABLE rcmodels (Rcid TEXT, Brand TEXT, Type TEXT, Model TEXT, "
                                               "Documentation TEXT, Link TEXT, Author TEXT, Correction REAL, Own "
                                               "INTEGER, Hidden INTEGER, Flag INTEGER, Hidden1 INTEGER, Prot INTEGER)"));
            QVERIFY(CatalogueFixture::exec(db, "CREATE TABLE rckeys (Rcid TEXT, RCTypeId INTEGER, Name TEXT, ID TEXT, "
                                               "Nkey INTEGER)"));
            QVERIFY(CatalogueFixture::addModel(db, {"m1", "NORDA", "TV", "KD-1", "", "m1", "", 1}));
            QVERIFY(CatalogueFixture::addKey(db, {"m1", 1, "POWER", "0014AB", 0}));

            RCModelsModel models(nullptr, db);
            models.setTable(QStringLiteral("rcmodels"));
            QCOMPARE(models.primaryKey().count(), 1);
            QCOMPARE(models.primaryKey().fieldName(0), QStringLiteral("Rcid"));
            models.setEditStrategy(QSqlTableModel::OnManualSubmit);
            QVERIFY(models.select());
            QAbstractItemModelTester tester(&models, QAbstractItemModelTester::FailureReportingMode::QtTest);
            QVERIFY(CatalogueFixture::exec(db, "UPDATE rcmodels SET Brand='ALTORA', Flag=0 WHERE Rcid='m1'"));
            QVERIFY(models.selectRow(0));
            QCOMPARE(models.index(0, 1).data().toString(), QStringLiteral("ALTORA"));

            RCKeysModel keys(nullptr, db);
            keys.setTable(QStringLiteral("rckeys"));
            QCOMPARE(keys.primaryKey().count(), 3);
            QVERIFY(keys.select());
            QVERIFY(CatalogueFixture::exec(db, "UPDATE rckeys SET Name='ON', ID='0022CD' WHERE Rcid='m1'"));
            QVERIFY(keys.selectRow(0));
            QCOMPARE(keys.index(0, 2).data().toString(), QStringLiteral("ON"));
            QCOMPARE(keys.index(0, 3).data().toString(), QStringLiteral("0022CD"));

            // Tables the catalogue does not have: the models stay empty and say why.
            RCModelsModel missing(nullptr, db);
            QAbstractItemModelTester missingTester(&missing, QAbstractItemModelTester::FailureReportingMode::QtTest);
            missing.setTable(QStringLiteral("rcbrands"));
            QVERIFY(!missing.select());
            QCOMPARE(missing.rowCount(), 0);
            QVERIFY(missing.lastError().isValid());
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("bare"));
    }
};

QTEST_GUILESS_MAIN(TestCatalogueModels)
#include "tst_cataloguemodels.moc"
