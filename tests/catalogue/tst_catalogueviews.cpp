// The catalogue table views: column layout at several widths, in-place edits
// written through the views, and the model list's read-only factory rows.
#include "CatalogueFixture.h"
#include "TestSupport.h"

#include "app/MessageBox.h"
#include "catalogue/ColumnWidths.h"
#include "catalogue/ModelFilter.h"
#include "catalogue/RCKeysModel.h"
#include "catalogue/RCKeysTableView.h"
#include "catalogue/RCLinksTableView.h"
#include "catalogue/RCModelsModel.h"
#include "catalogue/RCModelsTableView.h"
#include "catalogue/RCTypesTableView.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTextDocument>
#include <QToolTip>
#include <QtTest>

using CatalogueFixture::Model;

class TestCatalogueViews : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

    static void fixScrollBar(QTableView &view)
    {
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.verticalScrollBar()->setStyleSheet(QStringLiteral("QScrollBar:vertical { width: 17px; }"));
    }

    void showAt(QTableView &view, int width)
    {
        view.resize(width, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(view.width(), width);
    }

    QString stored(const QString &sql, const QVariantList &values = {})
    {
        return CatalogueFixture::value(m_db, sql, values).toString();
    }

    // Types text into the view's editor for index and commits it with Return.
    static void editCell(QTableView &view, const QModelIndex &index, const QString &text)
    {
        view.setCurrentIndex(index);
        view.edit(index);
        auto *editor = view.findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->setText(text); // keyClicks takes ASCII only
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!view.findChild<QLineEdit *>() || !view.findChild<QLineEdit *>()->isVisible());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QDir::setCurrent(m_dir.path());
        MessageBox::setAutomatic(true);
        m_db = TestSupport::openFixtureCatalogue(m_dir.path());
        QVERIFY(m_db.isOpen());
        const QList<Model> models = {
            {"m1", "NORDA", "TV", "KD-1", "", "m1", "", 1},
            {"f1", "ALTORA", "DVD", "X-1", "", "f1", "Irvanta", 0},
            {"m2", "BEKKER", "SAT", "S-1", "", "m2", {}, 0},
        };
        for (const Model &m : models)
            QVERIFY(CatalogueFixture::addModel(m_db, m));
        for (int n = 0; n < 4; ++n)
            QVERIFY(CatalogueFixture::addKey(m_db, {"m1", 2, QString("K%1").arg(n), "0014AAA", n}));
    }
    void init()
    {
        MessageBox::takeLog();
        QFile::remove(QStringLiteral("config.ini"));
    }

    // Widths for a 17-pixel scroll bar, worked out by hand from the layout rule.
    void modelAndLinkColumns_data()
    {
        QTest::addColumn<bool>("links");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("side");
        for (bool links : {false, true}) {
            const char *kind = links ? "links" : "models";
            QTest::addRow("%s 400", kind) << links << 400 << 100 << 139;
            QTest::addRow("%s 1000", kind) << links << 1000 << 120 << 429;
            QTest::addRow("%s 480", kind) << links << 480 << 120 << 169;
            QTest::addRow("%s 483", kind) << links << 483 << 120 << 170;
            QTest::addRow("%s 310", kind) << links << 310 << 77 << 105;
            QTest::addRow("%s 311", kind) << links << 311 << 77 << 106;
        }
    }
    void modelAndLinkColumns()
    {
        QFETCH(bool, links);
        QFETCH(int, width);
        QFETCH(int, type);
        QFETCH(int, side);
        QStandardItemModel model(3, 20);
        QScopedPointer<QTableView> view(links ? static_cast<QTableView *>(new RCLinksTableView)
                                              : static_cast<QTableView *>(new RCModelsTableView));
        fixScrollBar(*view);
        view->setModel(&model);
        showAt(*view, width);
        QCOMPARE(view->verticalScrollBar()->width(), 17);
        QCOMPARE(view->columnWidth(2), type);
        QCOMPARE(view->columnWidth(1), side);
        QCOMPARE(view->columnWidth(3), side);
        for (int column = 0; column < 20; ++column) {
            const bool shown = column >= 1 && column <= 3;
            const bool hidden = links ? !shown && column <= 4 : !shown;
            QVERIFY2(view->isColumnHidden(column) == hidden, qPrintable(QString::number(column)));
        }
        QVERIFY(view->alternatingRowColors());
        QCOMPARE(view->gridStyle(), Qt::NoPen);

        // A later resize lays the columns out again.
        view->resize(width + 200, 300);
        QTRY_COMPARE(view->columnWidth(2), qMin((width + 200) / 4, 120));
    }

    void keyColumns_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("header");
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("name");
        QTest::addRow("600, capped code") << 600 << 20 << 220 << 338;
        QTest::addRow("300") << 300 << 20 << 129 << 129;
        QTest::addRow("301, odd room") << 301 << 20 << 129 << 130;
        QTest::addRow("482, cap reached") << 482 << 20 << 220 << 220;
        QTest::addRow("600, wide header") << 600 << 40 << 220 << 318;
    }
    void keyColumns()
    {
        QFETCH(int, width);
        QFETCH(int, header);
        QFETCH(int, id);
        QFETCH(int, name);
        QStandardItemModel model(3, 5);
        RCKeysTableView view;
        fixScrollBar(view);
        view.verticalHeader()->setFixedWidth(header);
        view.setModel(&model);
        showAt(view, width);
        QCOMPARE(view.verticalHeader()->width(), header);
        QCOMPARE(view.columnWidth(3), id);
        QCOMPARE(view.columnWidth(2), name);
        for (int column = 0; column < 5; ++column)
            QCOMPARE(view.isColumnHidden(column), column == 0 || column == 1 || column == 4);
    }

    void keyColumnsWithoutHeader()
    {
        QStandardItemModel model(3, 5);
        RCKeysTableView view;
        fixScrollBar(view);
        view.verticalHeader()->hide();
        view.setModel(&model);
        showAt(view, 600);
        // A header without width counts as 30: (600 - 17 - 30 - 5) / 2 = 274, capped at 220.
        QCOMPARE(view.verticalHeader()->width(), 0);
        QCOMPARE(view.columnWidth(3), 220);
        QCOMPARE(view.columnWidth(2), 328);
    }

    // Widening the code column for long codes: what the codes need, the
    // names keeping their need but at most a quarter of the room, and never
    // less than the plain layout gives.
    void widenForCodes_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("name");
        QTest::addColumn<int>("codeNeeds");
        QTest::addColumn<int>("nameNeeds");
        QTest::addColumn<int>("wideId");
        QTest::addColumn<int>("wideName");
        QTest::addRow("codes fit") << 100 << 100 << 100 << 150 << 100 << 100;
        QTest::addRow("no codes") << 100 << 100 << 0 << 0 << 100 << 100;
        QTest::addRow("short names leave the room") << 89 << 89 << 130 << 40 << 130 << 48;
        QTest::addRow("long names keep a quarter") << 89 << 89 << 150 << 120 << 134 << 44;
        QTest::addRow("names need less than a quarter") << 89 << 89 << 170 << 20 << 158 << 20;
        QTest::addRow("codes wider than the list") << 50 << 50 << 400 << 80 << 75 << 25;
    }
    void widenForCodes()
    {
        QFETCH(int, id);
        QFETCH(int, name);
        QFETCH(int, codeNeeds);
        QFETCH(int, nameNeeds);
        QFETCH(int, wideId);
        QFETCH(int, wideName);
        const ColumnWidths::Keys widths = ColumnWidths::widenForCodes({id, name}, codeNeeds, nameNeeds);
        QCOMPARE(widths.id, wideId);
        QCOMPARE(widths.name, wideName);
    }

    // A narrow key list draws its codes and names in a smaller font: a
    // 19-character code is drawn whole; one that cannot fit even in the
    // smallest font is cut and its tooltip shows the whole code as text.
    void keyListFitsCodes()
    {
        QStandardItemModel model(3, 5);
        const QStringList codes = {QStringLiteral("039401568FD4356AAEA"), QStringLiteral("0394C1BBEDBCFD172E5"),
                                   QStringLiteral("0846<b>F00C3B7E19D42A86C5F0E3B1A5F0")};
        for (int row = 0; row < 3; ++row) {
            model.setItem(row, 2, new QStandardItem(QStringLiteral("SHIFT YELLOW")));
            model.setItem(row, 3, new QStandardItem(codes.at(row)));
        }
        RCKeysTableView view;
        fixScrollBar(view);
        view.verticalHeader()->setFixedWidth(18);
        view.setModel(&model);
        showAt(view, 218);
        QVERIFY2(view.columnWidth(3) > 89, qPrintable(QString::number(view.columnWidth(3))));
        auto fits = [&view](int row) {
            const QModelIndex index = view.model()->index(row, 3);
            QStyleOptionViewItem option;
            option.initFrom(view.viewport());
            option.font = view.font();
            option.fontMetrics = view.fontMetrics();
            option.rect = view.visualRect(index);
            option.widget = &view;
            return view.itemDelegateForIndex(index)->sizeHint(option, index).width() <= option.rect.width();
        };
        QVERIFY(fits(0));
        QVERIFY(fits(1));
        QVERIFY(!fits(2));

        // The tooltip of the cut code: the whole code, shown as text.
        const QModelIndex cut = view.model()->index(2, 3);
        const QPoint at = view.visualRect(cut).center();
        QHelpEvent help(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
        QApplication::sendEvent(view.viewport(), &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), Qt::convertFromPlainText(codes.at(2), Qt::WhiteSpaceNoWrap));
        QToolTip::hideText();

        // A code that now fits after a change of the list's codes.
        model.setItem(2, 3, new QStandardItem(QStringLiteral("0394E198B1ED0E0B730")));
        QVERIFY(fits(2));
    }

    void typeColumns_data()
    {
        QTest::addColumn<int>("width");
        QTest::addRow("160") << 160;
        QTest::addRow("200") << 200;
    }
    void typeColumns()
    {
        QFETCH(int, width);
        QStandardItemModel model(3, 4);
        RCTypesTableView view;
        fixScrollBar(view);
        view.setModel(&model);
        showAt(view, width);
        QCOMPARE(view.columnWidth(1), width - 17);
        for (int column = 0; column < 4; ++column)
            QCOMPARE(view.isColumnHidden(column), column != 1);
    }

    void modelListEdits_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("flag");
        QTest::addRow("brand upper-cased") << 1 << "o'neil" << "O'NEIL" << "0";
        QTest::addRow("own brand in lower case") << 1 << "norda" << "NORDA" << "1";
        QTest::addRow("type as typed") << 2 << QString::fromUtf8("fernseher ä") << QString::fromUtf8("fernseher ä")
                                       << "0";
        QTest::addRow("model as typed") << 3 << "kd-2'x" << "kd-2'x" << "0";
    }
    void modelListEdits()
    {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, flag);
        QVERIFY(CatalogueFixture::exec(m_db, "UPDATE rcmodels SET Brand='NORDA',Type='TV',Model='KD-1',Flag=1 "
                                             "WHERE Rcid='m1'"));
        RCModelsModel model(nullptr, m_db);
        model.setTable(QStringLiteral("rcmodels"));
        ModelFilter::Panel panel;
        panel.rcid = QStringLiteral("m1");
        model.setFilter(ModelFilter::filter(panel));
        model.setEditStrategy(QSqlTableModel::OnManualSubmit);
        QVERIFY(model.select());
        RCModelsTableView view;
        view.setModel(&model);
        view.setEditTriggers(QAbstractItemView::DoubleClicked);
        showAt(view, 600);

        editCell(view, model.index(0, column), typed);
        static const char *const names[] = {"", "Brand", "Type", "Model"};
        QCOMPARE(stored(QStringLiteral("SELECT %1 FROM rcmodels WHERE Rcid='m1'").arg(names[column])), shown);
        QCOMPARE(stored("SELECT Flag FROM rcmodels WHERE Rcid='m1'"), flag);
        // The view shows what is stored, with nothing left to submit.
        QCOMPARE(model.index(0, column).data().toString(), shown);
        QVERIFY(!model.isDirty());
        QVERIFY(MessageBox::takeLog().isEmpty());
    }

    void modelListEditRefusedByTheDatabase()
    {
        QVERIFY(CatalogueFixture::exec(m_db, "CREATE TRIGGER no_update BEFORE UPDATE ON rcmodels BEGIN "
                                             "SELECT RAISE(ABORT, 'read-only catalogue'); END"));
        RCModelsModel model(nullptr, m_db);
        model.setTable(QStringLiteral("rcmodels"));
        model.setFilter(QStringLiteral("Rcid='m2'"));
        model.setEditStrategy(QSqlTableModel::OnManualSubmit);
        QVERIFY(model.select());
        RCModelsTableView view;
        view.setModel(&model);
        showAt(view, 600);
        editCell(view, model.index(0, 1), QStringLiteral("CHANGED"));
        QVERIFY(CatalogueFixture::exec(m_db, "DROP TRIGGER no_update"));

        QCOMPARE(stored("SELECT Brand FROM rcmodels WHERE Rcid='m2'"), QStringLiteral("BEKKER"));
        QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("BEKKER"));
        const QList<MessageBox::Record> log = MessageBox::takeLog();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].kind, QStringLiteral("warning"));
        QVERIFY2(log[0].text.contains("read-only catalogue"), qPrintable(log[0].text));
    }

    void keyListEdits_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("setting"); // contents of config.ini, or empty for no file
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("id");
        const QString allow = QStringLiteral("[Debug]\nallowChangeKeyID=true\n");
        QTest::addRow("name") << 2 << "" << "vol'+" << "vol'+" << "0014AAA";
        QTest::addRow("code without the setting") << 3 << "" << "0022BBB" << "K1" << "0014AAA";
        QTest::addRow("code with the setting off") << 3 << "[Debug]\nallowChangeKeyID=false\n" << "0022BBB" << "K1"
                                                   << "0014AAA";
        QTest::addRow("code with the setting on") << 3 << allow << "0022BBB" << "K1" << "0022BBB";
    }
    void keyListEdits()
    {
        QFETCH(int, column);
        QFETCH(QString, setting);
        QFETCH(QString, typed);
        QFETCH(QString, name);
        QFETCH(QString, id);
        QVERIFY(CatalogueFixture::exec(m_db, "UPDATE rckeys SET Name='K1',ID='0014AAA' WHERE Nkey=1"));
        QVERIFY(CatalogueFixture::exec(m_db, "UPDATE rcmodels SET Flag=1 WHERE Rcid='m1'"));
        if (!setting.isEmpty()) {
            QFile ini(QStringLiteral("config.ini"));
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write(setting.toUtf8());
        }
        RCKeysModel model(nullptr, m_db);
        model.setTable(QStringLiteral("rckeys"));
        model.setFilter(QStringLiteral("(Rcid='m1' AND RCTypeId='2')"));
        QVERIFY(model.select());
        RCKeysTableView view;
        view.setModel(&model);
        view.setEditTriggers(QAbstractItemView::DoubleClicked);
        showAt(view, 600);
        int row = -1;
        for (int r = 0; r < model.rowCount(); ++r)
            if (model.index(r, 4).data().toInt() == 1)
                row = r;
        QVERIFY(row >= 0);

        editCell(view, model.index(row, column), typed);
        QCOMPARE(stored("SELECT Name FROM rckeys WHERE Rcid='m1' AND Nkey=1"), name);
        QCOMPARE(stored("SELECT ID FROM rckeys WHERE Rcid='m1' AND Nkey=1"), id);
        QCOMPARE(model.index(row, 2).data().toString(), name);
        QCOMPARE(model.index(row, 3).data().toString(), id);
        QVERIFY(!model.isDirty());
        // Other keys untouched, model not marked.
        QCOMPARE(stored("SELECT group_concat(Name) FROM rckeys WHERE Rcid='m1' AND Nkey!=1"),
                 QStringLiteral("K0,K2,K3"));
        QCOMPARE(stored("SELECT Flag FROM rcmodels WHERE Rcid='m1'"), QStringLiteral("1"));
    }

    void factoryRowsWithAnAuthorAreReadOnly()
    {
        RCModelsModel model(nullptr, m_db);
        model.setTable(QStringLiteral("rcmodels"));
        model.setFilter(ModelFilter::filter(ModelFilter::Panel()));
        QVERIFY(model.select());
        RCModelsTableView view;
        view.setModel(&model);
        view.setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
        showAt(view, 600);
        auto click = [&](const QString &rcid) {
            for (int r = 0; r < model.rowCount(); ++r)
                if (model.index(r, 0).data().toString() == rcid) {
                    const QModelIndex index = model.index(r, 1);
                    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(index).center());
                    return;
                }
            QFAIL("row not listed");
        };
        click(QStringLiteral("f1"));
        QCOMPARE(view.editTriggers(), QAbstractItemView::NoEditTriggers);
        click(QStringLiteral("m1"));
        QCOMPARE(view.editTriggers(), QAbstractItemView::DoubleClicked);
        click(QStringLiteral("f1"));
        QCOMPARE(view.editTriggers(), QAbstractItemView::NoEditTriggers);
        click(QStringLiteral("m2")); // NULL author
        QCOMPARE(view.editTriggers(), QAbstractItemView::DoubleClicked);
    }
};

QTEST_MAIN(TestCatalogueViews)
#include "tst_catalogueviews.moc"
