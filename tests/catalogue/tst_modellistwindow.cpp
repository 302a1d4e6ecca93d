// The model list in the main window: the filter panel's widgets, applying and
// clearing the filters, live filtering, keyboard navigation and deleting keys
// by key press, on a fixture catalogue in a sample working directory.
#include "CatalogueFixture.h"
#include "TestSupport.h"

#include "app/MessageBox.h"
#include "app/ShownText.h"
#include "catalogue/KeyReleaseForwarder.h"
#include "catalogue/RCKeysModel.h"
#include "catalogue/RCModelsModel.h"
#include "catalogue/RCTypesModel.h"
#include "catalogue/RemoteTypeQuery.h"
#include "mainwindow/MainWindowImpl.h"

#include <QCompleter>
#include <QHeaderView>
#include <QLineEdit>
#include <QStringListModel>
#include <QtTest>

using CatalogueFixture::Model;

class TestModelListWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;
    MainWindowImpl *w = nullptr;

    QStringList listed()
    {
        RCModelsModel *model = w->modelsModel;
        if (!model || w->ModelsTV->model() != model)
            return {QStringLiteral("no model list")};
        while (model->canFetchMore())
            model->fetchMore();
        QStringList rcids;
        for (int row = 0; row < model->rowCount(); ++row)
            rcids << model->index(row, 0).data().toString();
        return rcids;
    }

    void clearPanel()
    {
        w->comboBoxDatabase->setCurrentIndex(0);
        w->brandLineEdit->clear();
        for (int i = 0; i < w->comboBoxType->count(); ++i)
            w->comboBoxType->setItemCheckState(i, Qt::Unchecked);
        w->comboBoxType->setCurrentIndex(-1);
        w->modelLineEdit->clear();
        w->rcidLineEdit->clear();
        w->linkLineEdit->clear();
        w->showHidden = w->showHidden1 = w->advancedFilter = false;
    }

    int rowOf(QAbstractItemModel *model, const QString &rcid, int nkey = -1)
    {
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->index(row, 0).data().toString() == rcid &&
                (nkey < 0 || model->index(row, 4).data().toInt() == nkey))
                return row;
        return -1;
    }

    // The boxes the key list's deletion shows. Panels of the window that look
    // for the application object complain in boxes of their own when a test
    // runs the window without one; those are not this feature's.
    static QList<MessageBox::Record> catalogueBoxes()
    {
        QList<MessageBox::Record> boxes;
        for (const MessageBox::Record &r : MessageBox::takeLog())
            if (r.title == QLatin1String("information"))
                boxes << r;
        return boxes;
    }

    // Shows the keys of master for type 1 in the key list, as the key panel does.
    void showKeys(const QString &master)
    {
        auto *keys = new RCKeysModel(w->KeysTV);
        keys->setTable(QStringLiteral("rckeys"));
        keys->setFilter(QStringLiteral("(Rcid='%1' AND RCTypeId='1')").arg(master));
        keys->setSort(4, Qt::AscendingOrder);
        QVERIFY(keys->select());
        w->KeysTV->setModel(keys);
        w->keysModel = keys;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(TestSupport::writeSampleDirectory(m_dir.path(), 5));
        QDir::setCurrent(m_dir.path());
        MessageBox::setAutomatic(true);
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        m_db.setDatabaseName(QStringLiteral("rc.db"));
        QVERIFY(m_db.open());
        QVERIFY(CatalogueFixture::exec(m_db, "DELETE FROM rcmodels"));
        QVERIFY(CatalogueFixture::exec(m_db, "DELETE FROM rckeys"));
        QVERIFY(CatalogueFixture::exec(m_db, "DELETE FROM rcbrands"));
        QVERIFY(CatalogueFixture::exec(m_db, "INSERT INTO rcbrands VALUES ('D''ARTOIS'),('NORDA')"));
        const QList<Model> models = {
            {"m1", "NORDA", "TV", "KD-55X", "", "m1", "", 1},
            {"m2", "NORDA", "TV", "KD-55X2", "", "m1", "", 1},
            {"f1", "NORDA", "DVD", "DV-1", "", "f1", "Irvanta", 0},
            {"f2", "O'HARA", "TV", "OH-1", "", "f2", "", 1},
            {"f3", "O'HARA", "SAT", "OH-2", "", "f2", "", 0},
            {"p1", "100%", "TV", "P_1", "", "p1", "", 1},
            {"u1", QString::fromUtf8("ÖSTLUND"), "TV", QString::fromUtf8("ÄÖ-12"), "", "u1", "", 1},
            {"h1", "NORDA", "TV", "HID-1", "", "h1", "", 1, 1},
            {"h2", "NORDA", "TV", "HID-2", "", "h2", "", 1, 0, 1, 1},
            {"q1", "NORDA", "O'TYPE", "Q-1", "", "q1", "", 1},
            {"n1", {}, {}, {}, {}, {}, {}, {}},
        };
        for (const Model &m : models)
            QVERIFY(CatalogueFixture::addModel(m_db, m));
        for (int n = 0; n < 4; ++n)
            QVERIFY(CatalogueFixture::addKey(m_db, {"m1", 1, QString("K%1").arg(n), "0014AAA", n}));
        for (int n = 0; n < 2; ++n)
            QVERIFY(CatalogueFixture::addKey(m_db, {"f1", 1, QString("F%1").arg(n), "0014AAA", n}));
        QVERIFY(CatalogueFixture::addKey(m_db, {"m1", 2, "OTHER TYPE", "0014AAA", 1}));

        w = MainWindowImpl::getInstance();
        // Filling the type box checks nothing, so the first list is the whole one.
        QCOMPARE(w->comboBoxType->currentText(), QString());
        QCOMPARE(listed().size(), 9);
        w->rcTypesModel->setQuery(RemoteTypeQuery::selectTypes({"1", "2"}));
        w->RCTypesTV->selectRow(0);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }

    void init()
    {
        MessageBox::takeLog();
        clearPanel();
        w->setFilters();
    }

    void startsWithTheWholeList()
    {
        // The constructor's refreshes: brands, types, the list with row 0 current.
        QCOMPARE(w->ModelsTV->model(), static_cast<QAbstractItemModel *>(w->modelsModel));
        QCOMPARE(w->ModelsTV->currentIndex().row(), 0);
        QCOMPARE(w->modelsModel->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Brand"));
        QCOMPARE(w->modelsModel->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Type"));
        QCOMPARE(w->modelsModel->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Model"));
        QCOMPARE(w->ModelsTV->selectionBehavior(), QAbstractItemView::SelectRows);
        QVERIFY(w->ModelsTV->isColumnHidden(0) && !w->ModelsTV->isColumnHidden(1) && w->ModelsTV->isColumnHidden(4));
    }

    void filterPanel_data()
    {
        QTest::addColumn<int>("database");
        QTest::addColumn<QString>("brand");
        QTest::addColumn<QStringList>("checked");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("rcid");
        QTest::addColumn<QString>("link");
        QTest::addColumn<QStringList>("expected");
        const QStringList none;
        QTest::addRow("everything") << 0 << "" << none << "" << "" << "" << ""
                                    << QStringList{"n1", "p1", "f1", "m1", "m2", "q1", "f2", "f3", "u1"};
        QTest::addRow("own") << 1 << "" << none << "" << "" << "" << ""
                             << QStringList{"p1", "m1", "m2", "q1", "f2", "u1"};
        QTest::addRow("factory") << 2 << "" << none << "" << "" << "" << "" << QStringList{"f1", "f3"};
        QTest::addRow("without links") << 3 << "" << none << "" << "" << "" << ""
                                       << QStringList{"n1", "p1", "f1", "m1", "q1", "f2", "u1"};
        QTest::addRow("brand between spaces") << 0 << " norda " << none << "" << "" << "" << ""
                                              << QStringList{"f1", "m1", "m2", "q1"};
        QTest::addRow("brand with apostrophe") << 0 << "o'hara" << none << "" << "" << "" << ""
                                               << QStringList{"f2", "f3"};
        QTest::addRow("brand in parentheses") << 0 << "ALPHA (o'hara)" << none << "" << "" << "" << ""
                                              << QStringList{"f2", "f3"};
        QTest::addRow("brand with percent") << 0 << "100%" << none << "" << "" << "" << "" << QStringList{"p1"};
        QTest::addRow("brand non-ASCII") << 0 << QString::fromUtf8("östlund") << none << "" << "" << "" << ""
                                         << QStringList{"u1"};
        QTest::addRow("brand like SQL") << 0 << "x' OR '1'='1" << none << "" << "" << "" << "" << QStringList();
        QTest::addRow("checked types") << 0 << "" << QStringList{"DVD", "SAT"} << "" << "" << "" << ""
                                       << QStringList{"f1", "f3"};
        QTest::addRow("checked type with apostrophe")
            << 0 << "" << QStringList{"O'TYPE"} << "" << "" << "" << "" << QStringList{"q1"};
        QTest::addRow("typed types") << 0 << "" << none << "TV,DVD" << "" << "" << ""
                                     << QStringList{"p1", "f1", "m1", "m2", "f2", "u1"};
        QTest::addRow("model") << 0 << "" << none << "" << "kd-55x" << "" << "" << QStringList{"m1", "m2"};
        QTest::addRow("model with underscore") << 0 << "" << none << "" << "p_1" << "" << "" << QStringList{"p1"};
        QTest::addRow("model non-ASCII") << 0 << "" << none << "" << QString::fromUtf8("äö-12") << "" << ""
                                         << QStringList{"u1"};
        QTest::addRow("rcid") << 0 << "" << none << "" << "" << " m2 " << "" << QStringList{"m2"};
        QTest::addRow("link") << 0 << "" << none << "" << "" << "" << "m1" << QStringList{"m1", "m2"};
        QTest::addRow("link like SQL") << 0 << "" << none << "" << "" << "" << "')OR(1=1" << QStringList();
        QTest::addRow("masters, brand and model") << 3 << "norda" << QStringList{"TV"} << "" << "kd" << "" << ""
                                                  << QStringList{"m1"};
    }
    void filterPanel()
    {
        QFETCH(int, database);
        QFETCH(QString, brand);
        QFETCH(QStringList, checked);
        QFETCH(QString, typed);
        QFETCH(QString, model);
        QFETCH(QString, rcid);
        QFETCH(QString, link);
        QFETCH(QStringList, expected);
        w->comboBoxDatabase->setCurrentIndex(database);
        w->brandLineEdit->setText(brand);
        for (const QString &type : checked) {
            const int index = w->comboBoxType->findText(type);
            QVERIFY2(index >= 0, qPrintable(type));
            w->comboBoxType->setItemCheckState(index, Qt::Checked);
        }
        if (!typed.isEmpty())
            w->comboBoxType->setEditText(typed);
        w->modelLineEdit->setText(model);
        w->rcidLineEdit->setText(rcid);
        w->linkLineEdit->setText(link);
        QTest::mouseClick(w->setFiltersPushButton, Qt::LeftButton);
        QCOMPARE(listed(), expected);
        QCOMPARE(w->ModelsTV->currentIndex().row(), expected.isEmpty() ? -1 : 0);
    }

    // Brands are listed whatever their letter case, typed or stored.
    void brandRegardlessOfCase_data()
    {
        QTest::addColumn<QString>("brand");
        QTest::addColumn<QStringList>("expected");
        const QStringList acme{"c2", "c1"}; // ordered by brand: "ACME" before "Acme"
        QTest::addRow("lower") << "acme" << acme;
        QTest::addRow("upper") << "ACME" << acme;
        QTest::addRow("as stored, between spaces") << " Acme " << acme;
        QTest::addRow("in parentheses") << "Alpha (aCME)" << acme;
        QTest::addRow("stored lower outside ASCII") << QString::fromUtf8("ØRESUND") << QStringList{"c3"};
        QTest::addRow("typed lower outside ASCII") << QString::fromUtf8("östlund") << QStringList{"u1"};
        QTest::addRow("part of a brand") << "acm" << QStringList();
    }
    void brandRegardlessOfCase()
    {
        QFETCH(QString, brand);
        QFETCH(QStringList, expected);
        const QList<Model> models = {
            {"c1", "Acme", "TV", "A-1", "", "c1", "", 1},
            {"c2", "ACME", "TV", "A-2", "", "c2", "", 1},
            {"c3", QString::fromUtf8("øresund"), "TV", "O-1", "", "c3", "", 1},
        };
        for (const Model &m : models)
            QVERIFY(CatalogueFixture::addModel(m_db, m));
        const auto removed = qScopeGuard(
            [&] { CatalogueFixture::exec(m_db, "DELETE FROM rcmodels WHERE Rcid IN ('c1','c2','c3')"); });
        w->brandLineEdit->setText(brand);
        QTest::mouseClick(w->setFiltersPushButton, Qt::LeftButton);
        QCOMPARE(listed(), expected);
        QVERIFY(MessageBox::takeLog().isEmpty());
    }

    void hiddenRowsFollowTheSettings()
    {
        w->brandLineEdit->setText(QStringLiteral("NORDA"));
        w->showHidden = true;
        w->setFilters();
        QCOMPARE(listed(), (QStringList{"f1", "h1", "m1", "m2", "q1"}));
        w->showHidden1 = true;
        w->setFilters();
        QCOMPARE(listed(), (QStringList{"f1", "h1", "h2", "m1", "m2", "q1"}));
    }

    void advancedFilterMatchesSingleCharacters()
    {
        w->modelLineEdit->setText(QStringLiteral("kx"));
        w->setFilters();
        QCOMPARE(listed(), QStringList()); // runs: %KX%
        w->advancedFilter = true;
        w->setFilters();
        QCOMPARE(listed(), (QStringList{"m1", "m2"})); // %K%X% matches KD-55X
    }

    void removeFiltersClearsThePanel()
    {
        w->comboBoxDatabase->setCurrentIndex(2);
        w->brandLineEdit->setText(QStringLiteral("NORDA"));
        w->comboBoxType->setItemCheckState(w->comboBoxType->findText(QStringLiteral("TV")), Qt::Checked);
        w->modelLineEdit->setText(QStringLiteral("x"));
        w->rcidLineEdit->setText(QStringLiteral("y"));
        w->linkLineEdit->setText(QStringLiteral("z"));
        w->setFilters();
        QCOMPARE(listed(), QStringList());
        QTest::mouseClick(w->removeFiltersPushButton, Qt::LeftButton);
        QCOMPARE(w->comboBoxDatabase->currentIndex(), 0);
        QVERIFY(w->brandLineEdit->text().isEmpty() && w->modelLineEdit->text().isEmpty());
        QVERIFY(w->rcidLineEdit->text().isEmpty() && w->linkLineEdit->text().isEmpty());
        QCOMPARE(w->comboBoxType->currentText(), QString());
        QCOMPARE(w->comboBoxType->checkedItems(), QStringList{"TV"}); // the marks stay
        QCOMPARE(listed().size(), 9);
    }

    // Each release in the brand field filters at once.
    void brandFiltersWhileTyping()
    {
        w->brandLineEdit->setFocus();
        QTRY_VERIFY(w->brandLineEdit->hasFocus());
        QTest::keyClicks(w->brandLineEdit, QStringLiteral("o'har"));
        QCOMPARE(listed(), QStringList());
        QTest::keyClick(w->brandLineEdit, Qt::Key_A);
        QCOMPARE(listed(), (QStringList{"f2", "f3"}));
        QTest::keyClick(w->brandLineEdit, Qt::Key_Backspace);
        QCOMPARE(listed(), QStringList());
    }

    // With the completer's popup open the typing passes through the popup.
    void brandFiltersWhileThePopupIsOpen()
    {
        w->brandLineEdit->setFocus();
        QTRY_VERIFY(w->brandLineEdit->hasFocus());
        QTest::keyClicks(w->brandLineEdit, QStringLiteral("o'har"));
        QAbstractItemView *popup = w->brandCompleter->popup();
        QTRY_VERIFY(popup->isVisible());
        QTest::keyClick(popup, Qt::Key_A);
        QCOMPARE(w->brandLineEdit->text(), QStringLiteral("o'hara"));
        QCOMPARE(listed(), (QStringList{"f2", "f3"}));
        popup->hide();
        // A new completer brings its own forwarder; the old one goes with its completer.
        const int before = w->findChildren<KeyReleaseForwarder *>().size();
        w->refreshBrands();
        QCOMPARE(w->findChildren<KeyReleaseForwarder *>().size(), before);
    }

    // The model field filters on Return, not on each typed character.
    void modelFiltersOnReturn()
    {
        w->modelLineEdit->setFocus();
        QTRY_VERIFY(w->modelLineEdit->hasFocus());
        QTest::keyClicks(w->modelLineEdit, QStringLiteral("oh-2"));
        QCOMPARE(listed().size(), 9);
        QTest::keyClick(w->modelLineEdit, Qt::Key_Return);
        QCOMPARE(listed(), QStringList{"f3"});
        QCOMPARE(w->lastKey, 0);
    }

    void upAndDownMoveThroughTheList()
    {
        w->setFilters();
        w->ModelsTV->setFocus();
        QTRY_VERIFY(w->ModelsTV->hasFocus());
        QCOMPARE(w->ModelsTV->currentIndex().row(), 0);
        // The key list follows the current model: refreshRC() ran on the release.
        auto keysShown = [&] {
            const QString link = w->modelsModel->index(w->ModelsTV->currentIndex().row(), 5).data().toString();
            return w->keysModel && w->keysModel->filter().contains(QStringLiteral("Rcid='%1'").arg(link));
        };
        QTest::keyClick(w->ModelsTV, Qt::Key_Down);
        QTest::keyClick(w->ModelsTV, Qt::Key_Down);
        QCOMPARE(w->ModelsTV->currentIndex().row(), 2); // f1
        QVERIFY(keysShown());
        QTest::keyClick(w->ModelsTV, Qt::Key_Down);
        QTest::keyClick(w->ModelsTV, Qt::Key_Down);
        QCOMPARE(w->ModelsTV->currentIndex().row(), 4); // m2: the keys of its master m1
        QVERIFY(keysShown());
        QVERIFY(w->keysModel->filter().contains(QStringLiteral("'m1'")));
        QTest::keyClick(w->ModelsTV, Qt::Key_Up);
        QCOMPARE(w->ModelsTV->currentIndex().row(), 3);
        QVERIFY(keysShown());
    }

    void keyDeletion_data()
    {
        QTest::addColumn<QString>("master");
        QTest::addColumn<int>("nkey");
        QTest::addColumn<bool>("deleted");
        QTest::addRow("own, first key") << "m1" << 0 << true;
        QTest::addRow("own, later key") << "m1" << 2 << true;
        QTest::addRow("factory") << "f1" << 1 << false;
    }
    void keyDeletion()
    {
        QFETCH(QString, master);
        QFETCH(int, nkey);
        QFETCH(bool, deleted);
        QVERIFY(CatalogueFixture::exec(m_db, "UPDATE rcmodels SET Flag=1"));
        // The master and remote type 1 selected, as the key list shows them.
        w->ModelsTV->setCurrentIndex(w->modelsModel->index(rowOf(w->modelsModel, master), 1));
        w->RCTypesTV->selectRow(0);
        QCOMPARE(w->RCTypesTV->model()->index(w->RCTypesTV->currentIndex().row(), 0).data().toInt(), 1);
        showKeys(master);
        const int row = rowOf(w->KeysTV->model(), master, nkey);
        QVERIFY(row >= 0);
        w->KeysTV->setCurrentIndex(w->KeysTV->model()->index(row, 2));
        const int before = CatalogueFixture::value(m_db, "SELECT count(*) FROM rckeys").toInt();

        w->KeysTV->setFocus();
        QTRY_VERIFY(w->KeysTV->hasFocus());
        QTest::keyClick(w->KeysTV, Qt::Key_Delete);

        const int after = CatalogueFixture::value(m_db, "SELECT count(*) FROM rckeys").toInt();
        const QString flag = CatalogueFixture::value(m_db, "SELECT Flag FROM rcmodels WHERE Rcid=?", {master}).toString();
        const QList<MessageBox::Record> log = catalogueBoxes();
        if (deleted) {
            QCOMPARE(after, before - 1);
            QCOMPARE(CatalogueFixture::value(m_db, "SELECT count(*) FROM rckeys WHERE Rcid=? AND Nkey=? AND "
                                                   "RCTypeId=1",
                                             {master, nkey})
                         .toInt(),
                     0);
            QCOMPARE(flag, QStringLiteral("0"));
            QVERIFY(log.isEmpty());
        } else {
            QCOMPARE(after, before);
            QCOMPARE(flag, QStringLiteral("1"));
            QCOMPARE(log.size(), 1);
            QCOMPARE(log[0].kind, QStringLiteral("critical"));
            QCOMPARE(log[0].title, QStringLiteral("information"));
            QCOMPARE(log[0].text, QStringLiteral("cannot delete key from FACTORY database."));
        }
        // The row before the deleted one (or the first) is selected; a refusal
        // leaves the key list alone.
        QCOMPARE(w->KeysTV->currentIndex().row(), deleted ? qMax(row - 1, 0) : row);
    }

    void keyDeletionNeedsACurrentKey()
    {
        showKeys(QStringLiteral("m1"));
        w->KeysTV->setCurrentIndex(QModelIndex());
        const int before = CatalogueFixture::value(m_db, "SELECT count(*) FROM rckeys").toInt();
        w->KeysTV->setFocus();
        QTRY_VERIFY(w->KeysTV->hasFocus());
        QTest::keyClick(w->KeysTV, Qt::Key_Delete);
        QCOMPARE(CatalogueFixture::value(m_db, "SELECT count(*) FROM rckeys").toInt(), before);
        QVERIFY(catalogueBoxes().isEmpty());
    }

    void brandAndTypeLists()
    {
        w->refreshBrands();
        w->refreshTypes();
        QVERIFY(w->brandCompleter);
        QCOMPARE(w->brandLineEdit->completer(), w->brandCompleter);
        auto *brands = qobject_cast<QStringListModel *>(w->brandCompleter->model());
        QVERIFY(brands);
        QCOMPARE(brands->stringList(), (QStringList{"100%", "D'ARTOIS", "NORDA", "O'HARA",
                                                    QString::fromUtf8("ÖSTLUND")}));
        QCOMPARE(w->brandCompleter->caseSensitivity(), Qt::CaseInsensitive);
        QCOMPARE(w->brandCompleter->maxVisibleItems(), 20);

        QStringList items;
        for (int i = 0; i < w->comboBoxType->count(); ++i)
            items << w->comboBoxType->itemText(i);
        QCOMPARE(items, (QStringList{"DVD", "O'TYPE", "SAT", "TV"}));
        QCOMPARE(w->comboBoxType->currentText(), QString());
        QCOMPARE(w->comboBoxType->maxVisibleItems(), 30);
        QVERIFY(w->typeCompleter);
        QCOMPARE(w->typeCompleter->completionMode(), QCompleter::UnfilteredPopupCompletion);
        QCOMPARE(qobject_cast<QStringListModel *>(w->typeCompleter->model())->stringList(), items);

        // Without the optional brand table the models' brands are still offered.
        QVERIFY(CatalogueFixture::exec(m_db, "ALTER TABLE rcbrands RENAME TO rcbrands_away"));
        w->refreshBrands();
        QVERIFY(CatalogueFixture::exec(m_db, "ALTER TABLE rcbrands_away RENAME TO rcbrands"));
        QCOMPARE(qobject_cast<QStringListModel *>(w->brandCompleter->model())->stringList(),
                 (QStringList{"100%", "NORDA", "O'HARA", QString::fromUtf8("ÖSTLUND")}));
    }

    // Refreshing many times leaves one list model under the view.
    void replacedListsAreReleased()
    {
        for (int i = 0; i < 20; ++i)
            w->setFilters();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(w->ModelsTV->findChildren<RCModelsModel *>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    }

    // A checked type longer than a line edit holds (32,767 characters) is
    // shown by its start, and the list still filters on the whole type.
    void longCheckedTypeFiltersWhole()
    {
        const QString longType = QStringLiteral("LONG TYPE ").repeated(4000);
        QVERIFY(CatalogueFixture::addModel(m_db, {"l1", "NORDA", longType, "L-1", "", "l1", "", 1}));
        w->refreshTypes();
        const int index = w->comboBoxType->findData(longType);
        QVERIFY(index >= 0);
        w->comboBoxType->setItemCheckState(index, Qt::Checked);
        const int tv = w->comboBoxType->findText(QStringLiteral("TV"));
        QVERIFY(tv >= 0);
        w->comboBoxType->setItemCheckState(tv, Qt::Checked);
        const QString shown = w->comboBoxType->lineEdit()->text();
        QTest::mouseClick(w->setFiltersPushButton, Qt::LeftButton);
        const QStringList found = listed();
        QVERIFY(CatalogueFixture::exec(m_db, "DELETE FROM rcmodels WHERE Rcid='l1'"));
        clearPanel();
        w->refreshTypes();
        QCOMPARE(found, (QStringList{"p1", "m1", "m2", "l1", "f2", "u1"}));
        QVERIFY(shown.size() <= 2 * ShownText::kMaxChars);
        QVERIFY(shown.startsWith(QStringLiteral("LONG TYPE LONG TYPE")));
        QVERIFY(shown.endsWith(QChar(0x2026)));
    }
};

QTEST_MAIN(TestModelListWindow)
#include "tst_modellistwindow.moc"
