// The model list's filter: the text it builds for the filter panel, and the
// models it lists, compared with an evaluation of the same rule that binds
// its values.
#include "CatalogueFixture.h"
#include "TestSupport.h"

#include "catalogue/ModelFilter.h"
#include "catalogue/RCModelsModel.h"

#include <QSqlQuery>
#include <QtTest>

using CatalogueFixture::Model;

class TestModelFilter : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

    QStringList listed(const ModelFilter::Panel &panel)
    {
        RCModelsModel model(nullptr, m_db);
        model.setTable(QStringLiteral("rcmodels"));
        model.setFilter(ModelFilter::filter(panel));
        model.setEditStrategy(QSqlTableModel::OnManualSubmit);
        if (!model.select())
            return {QStringLiteral("select failed")};
        while (model.canFetchMore())
            model.fetchMore();
        QStringList rcids;
        for (int row = 0; row < model.rowCount(); ++row)
            rcids << model.index(row, 0).data().toString();
        return rcids;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = TestSupport::openFixtureCatalogue(m_dir.path());
        QVERIFY(m_db.isOpen());
        const QList<Model> models = {
            {"a0000001", "NORDA", "TV", "KD-55X8000", "", "a0000001", "", 1},
            {"a0000002", "NORDA", "TV", "KD55X", "", "a0000001", "", 1},
            {"a0000003", "NORDA", "DVD", "KDX-55", "", {}, "Irvanta", 0},
            {"a0000004", "O'NEIL", "TV", "A-1", "", {}, "Irvanta", 0},
            {"a0000005", "')OR(1=1", "TV", "X", "", {}, "", 1},
            {"a0000006", "1=1", "TV", "Y", "", {}, "", 1},
            {"a0000007", "100%", "TV", "50%OFF", "", {}, "", 1},
            {"a0000008", "A_B", "SAT", "A_B1", "", {}, "", 1},
            {"a0000009", "AXB", "SAT", "AXB1", "", {}, "", 1},
            {"a0000010", QString::fromUtf8("ÖSTERBERG"), "TV", QString::fromUtf8("ÄÖ-12"), "", {}, "", 0},
            {"a0000011", "NORDA", "O'NEIL", "M1", "", {}, "", 1},
            {"a0000012", "NORDA", "')OR(1=1", "M2", "", {}, "", 1},
            {"a0000013", "NORDA", "TV", "HIDDEN", "", {}, "", 1, 1},
            {"a0000014", "NORDA", "TV", "HIDDEN1", "", {}, "", 1, 0, 1, 1},
            {"a0000015", {}, {}, {}, {}, {}, {}, {}},
            {"a0000016", "ALPHA", "VCR", "KD 55 X", "", "a0000003", "", 0},
            {"a0000017", "NORDA", "TV", "kd-55x lower", "", {}, "", 1},
            {"a0000018", "TV", "DVD", "", "", {}, "", 1},
        };
        for (const Model &m : models)
            QVERIFY(CatalogueFixture::addModel(m_db, m));
    }

    void filterText_data()
    {
        QTest::addColumn<int>("database");
        QTest::addColumn<QString>("brand");
        QTest::addColumn<QString>("types");
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("advanced");
        QTest::addColumn<QString>("expected");
        const QString tail = QStringLiteral("AND(Hidden=0)AND(Hidden1=0) ORDER BY Brand,Model");
        QTest::addRow("masters, brand between spaces")
            << 3 << " norda " << "" << "" << false << "(1)AND(Rcid=Link)AND(Brand ='NORDA')" + tail;
        QTest::addRow("nothing set") << 0 << "" << "" << "" << false << "(1)" + tail;
        QTest::addRow("own") << 1 << "" << "" << "" << false << "(1)AND(Own=1)" + tail;
        QTest::addRow("factory") << 2 << "" << "" << "" << false << "(1)AND(Own=0)" + tail;
        QTest::addRow("brand in parentheses")
            << 0 << "ALPHA (NORDA)" << "" << "" << false << "(1)AND(Brand ='NORDA')" + tail;
        QTest::addRow("parenthesis not closed")
            << 0 << "ALPHA (NORDA" << "" << "" << false << "(1)AND(Brand ='NORDA')" + tail;
        QTest::addRow("closing before opening") << 0 << "A)B(C" << "" << "" << false << "(1)AND(Brand ='C')" + tail;
        QTest::addRow("brand with a quote") << 0 << "o'neil" << "" << "" << false << "(1)AND(Brand ='O''NEIL')" + tail;
        QTest::addRow("two types") << 0 << "" << "TV,DVD" << "" << false << "(1)AND(Type IN ('TV','DVD'))" + tail;
        QTest::addRow("type with a quote") << 0 << "" << "O'NEIL" << "" << false << "(1)AND(Type IN ('O''NEIL'))" + tail;
        QTest::addRow("model runs") << 0 << "" << "" << "KD-55X" << false << "(1)AND(Model LIKE '%KD%55%X%')" + tail;
        QTest::addRow("model advanced")
            << 0 << "" << "" << "KD-55X" << true << "(1)AND(Model LIKE '%K%D%5%5%X%')" + tail;
        QTest::addRow("model of separators") << 0 << "" << "" << "--" << false << "(1)AND(Model LIKE '%')" + tail;
        QTest::addRow("model of spaces") << 0 << "" << "" << "   " << false << "(1)" + tail;
        QTest::addRow("model with a quote") << 0 << "" << "" << "A'B" << false << "(1)AND(Model LIKE '%A%B%')" + tail;
    }
    void filterText()
    {
        QFETCH(int, database);
        QFETCH(QString, brand);
        QFETCH(QString, types);
        QFETCH(QString, model);
        QFETCH(bool, advanced);
        QFETCH(QString, expected);
        ModelFilter::Panel panel;
        panel.database = database;
        panel.brand = brand;
        panel.types = types;
        panel.model = model;
        panel.advancedFilter = advanced;
        QCOMPARE(ModelFilter::filter(panel), expected);
    }

    void brandSpellings_data()
    {
        QTest::addColumn<QString>("brand");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("upper") << "NORDA" << QStringList{"NORDA"};
        QTest::addRow("lower") << "norda" << QStringList{"NORDA"};
        QTest::addRow("outside ASCII") << QString::fromUtf8("östErberg") << QStringList{QString::fromUtf8("ÖSTERBERG")};
        QTest::addRow("quote") << "o'neil" << QStringList{"O'NEIL"};
        QTest::addRow("no such brand") << "NORD" << QStringList();
    }
    void brandSpellings()
    {
        QFETCH(QString, brand);
        QFETCH(QStringList, expected);
        QStringList found{QStringLiteral("stale")};
        QString error;
        QVERIFY2(ModelFilter::brandSpellings(m_db, brand, &found, &error), qPrintable(error));
        QCOMPARE(found, expected);
    }

    void spellingsAreMatchedExactly()
    {
        ModelFilter::Panel panel;
        panel.brand = QStringLiteral("o'neil");
        panel.brandSpellings = QStringList{QStringLiteral("O'Neil"), QStringLiteral("O'NEIL")};
        panel.showHidden = panel.showHidden1 = true;
        QCOMPARE(ModelFilter::conditions(panel), QStringLiteral("(1)AND(Brand IN ('O''Neil','O''NEIL'))"));
        QCOMPARE(listed(panel), QStringList{"a0000004"});
    }

    void hiddenSettingsAndIds()
    {
        ModelFilter::Panel panel;
        panel.showHidden = true;
        QCOMPARE(ModelFilter::conditions(panel), QStringLiteral("(1)AND(Hidden1=0)"));
        panel.showHidden1 = true;
        panel.rcid = QStringLiteral(" a0000001 ");
        panel.link = QStringLiteral("x'y");
        QCOMPARE(ModelFilter::conditions(panel), QStringLiteral("(1)AND(Rcid='a0000001')AND(Link='x''y')"));
    }

    // Each row gives the filter panel and, written out by hand, what the rule
    // makes of it: the exact brand, the type list and the LIKE pattern. The
    // models listed must be those a bound query with these values selects,
    // in the same order.
    void listedModels_data()
    {
        QTest::addColumn<int>("database");
        QTest::addColumn<QString>("brand");
        QTest::addColumn<QString>("types");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("rcid");
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("advanced");
        QTest::addColumn<bool>("showHidden");
        QTest::addColumn<bool>("showHidden1");
        QTest::addColumn<QVariant>("expectBrand");
        QTest::addColumn<QStringList>("expectTypes");
        QTest::addColumn<QVariant>("expectPattern");
        QTest::addColumn<int>("minimum"); // rows the case must list, so it cannot pass empty-handed

        const QVariant none;
        const QStringList noTypes;
        auto row = [&](const char *name, int db, const QString &brand, const QString &types, const QString &model,
                       const QVariant &eb, const QStringList &et, const QVariant &ep, int minimum) {
            QTest::addRow("%s", name) << db << brand << types << model << QString() << QString() << false << false
                                      << false << eb << et << ep << minimum;
        };
        row("everything", 0, "", "", "", none, noTypes, none, 10);
        row("own", 1, "", "", "", none, noTypes, none, 5);
        row("factory", 2, "", "", "", none, noTypes, none, 2);
        row("masters only", 3, "", "", "", none, noTypes, none, 10);
        row("brand trimmed and upper-cased", 0, "  norda ", "", "", "NORDA", noTypes, none, 4);
        row("brand in parentheses", 0, "alpha (norda)", "", "", "NORDA", noTypes, none, 4);
        row("brand parenthesis open", 0, "ALPHA (NORDA", "", "", "NORDA", noTypes, none, 4);
        row("brand with a quote", 0, "O'Neil", "", "", "O'NEIL", noTypes, none, 1);
        row("brand that looks like SQL", 0, "')OR(1=1", "", "", "1=1", noTypes, none, 1);
        row("brand with a quote and no parenthesis", 0, "x' OR 'a'='a", "", "", "X' OR 'A'='A", noTypes, none, 0);
        row("brand with percent", 0, "100%", "", "", "100%", noTypes, none, 1);
        row("brand with underscore", 0, "a_b", "", "", "A_B", noTypes, none, 1);
        row("brand non-ASCII", 0, QString::fromUtf8("österberg"), "", "", QString::fromUtf8("ÖSTERBERG"), noTypes,
            none, 1);
        row("two types", 0, "", "TV,DVD", "", none, {"TV", "DVD"}, none, 10);
        row("type with a quote", 0, "", "O'NEIL", "", none, {"O'NEIL"}, none, 1);
        row("type that looks like SQL", 0, "", "')OR(1=1", "", none, {"')OR(1=1"}, none, 1);
        row("type with a space after the comma", 0, "", "SAT, DVD", "", none, {"SAT", " DVD"}, none, 2);
        row("type with percent and underscore", 0, "", "T_,%", "", none, {"T_", "%"}, none, 0);
        row("model runs", 0, "", "", "kd-55x", none, noTypes, "%KD%55%X%", 4);
        row("model of separators", 0, "", "", "--", none, noTypes, "%", 10);
        row("model with percent", 0, "", "", "50%", none, noTypes, "%50%", 1);
        row("model with underscore", 0, "", "", "A_B", none, noTypes, "%A%B%", 2);
        row("model non-ASCII", 0, "", "", QString::fromUtf8("äö-12"), none, noTypes, "%12%", 1);
        row("model with a quote", 0, "", "", "KD'55", none, noTypes, "%KD%55%", 4);
        row("brand, types and model", 3, "NORDA", "TV,DVD", "KD", "NORDA", {"TV", "DVD"}, "%KD%", 2);

        QTest::addRow("advanced model") << 0 << "" << "" << "kd55" << "" << "" << true << false << false << none
                                        << noTypes << QVariant("%K%D%5%5%") << 4;
        QTest::addRow("hidden shown") << 0 << "NORDA" << "" << "" << "" << "" << false << true << false
                                      << QVariant("NORDA") << noTypes << none << 5;
        QTest::addRow("hidden1 shown") << 0 << "NORDA" << "" << "" << "" << "" << false << false << true
                                       << QVariant("NORDA") << noTypes << none << 5;
        QTest::addRow("rcid") << 0 << "" << "" << "" << " a0000002 " << "" << false << false << false << none
                              << noTypes << none << 1;
        QTest::addRow("link") << 0 << "" << "" << "" << "" << "a0000001" << false << false << false << none
                              << noTypes << none << 2;
        QTest::addRow("rcid that looks like SQL") << 0 << "" << "" << "" << "')OR(1=1" << "" << false << false
                                                  << false << none << noTypes << none << 0;
        QTest::addRow("link with percent") << 0 << "" << "" << "" << "" << "a%" << false << false << false << none
                                           << noTypes << none << 0;
    }
    void listedModels()
    {
        QFETCH(int, database);
        QFETCH(QString, brand);
        QFETCH(QString, types);
        QFETCH(QString, model);
        QFETCH(QString, rcid);
        QFETCH(QString, link);
        QFETCH(bool, advanced);
        QFETCH(bool, showHidden);
        QFETCH(bool, showHidden1);
        QFETCH(QVariant, expectBrand);
        QFETCH(QStringList, expectTypes);
        QFETCH(QVariant, expectPattern);
        QFETCH(int, minimum);

        ModelFilter::Panel panel;
        panel.database = database;
        panel.brand = brand;
        panel.types = types;
        panel.model = model;
        panel.rcid = rcid;
        panel.link = link;
        panel.advancedFilter = advanced;
        panel.showHidden = showHidden;
        panel.showHidden1 = showHidden1;

        static const char *const parts[] = {"1", "Own=1", "Own=0", "Rcid=Link"};
        QString sql = QStringLiteral("SELECT Rcid FROM rcmodels WHERE (%1)").arg(QLatin1String(parts[database]));
        QVariantList values;
        if (expectBrand.isValid()) {
            sql += QStringLiteral(" AND Brand = ?");
            values << expectBrand;
        }
        if (!expectTypes.isEmpty()) {
            sql += QStringLiteral(" AND Type IN (%1)").arg(QStringList(expectTypes.size(), "?").join(','));
            for (const QString &t : expectTypes)
                values << t;
        }
        if (expectPattern.isValid()) {
            sql += QStringLiteral(" AND Model LIKE ?");
            values << expectPattern;
        }
        if (!showHidden)
            sql += QStringLiteral(" AND Hidden = 0");
        if (!showHidden1)
            sql += QStringLiteral(" AND Hidden1 = 0");
        if (!rcid.trimmed().isEmpty()) {
            sql += QStringLiteral(" AND Rcid = ?");
            values << rcid.trimmed();
        }
        if (!link.trimmed().isEmpty()) {
            sql += QStringLiteral(" AND Link = ?");
            values << link.trimmed();
        }
        sql += QStringLiteral(" ORDER BY Brand, Model");
        const QStringList expected = CatalogueFixture::column(m_db, sql, values);

        const QStringList actual = listed(panel);
        QCOMPARE(actual, expected);
        QVERIFY2(actual.size() >= minimum, qPrintable(actual.join(',')));
    }

    // The filter never lets a literal end early: the whole table survives and
    // the count of listed rows never exceeds what an empty filter lists.
    void injectionListsNothingExtra()
    {
        const int all = listed(ModelFilter::Panel()).size();
        ModelFilter::Panel panel;
        panel.rcid = QStringLiteral("x')OR(1=1)--");
        QCOMPARE(listed(panel), QStringList());
        panel = ModelFilter::Panel();
        panel.types = QStringLiteral("TV')OR('1'='1");
        QCOMPARE(listed(panel), QStringList());
        panel = ModelFilter::Panel();
        panel.link = QStringLiteral("'; DROP TABLE rcmodels; --");
        QCOMPARE(listed(panel), QStringList());
        QCOMPARE(listed(ModelFilter::Panel()).size(), all);
    }
};

QTEST_GUILESS_MAIN(TestModelFilter)
#include "tst_modelfilter.moc"
