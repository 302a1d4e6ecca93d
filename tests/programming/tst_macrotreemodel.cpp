// The macro tree: its items, what the model shows and lets edit, inserting
// and removing steps, and reading the macros back out of it.
#include "programming/MacroTreeItem.h"
#include "programming/MacroTreeModel.h"

#include <QAbstractItemModelTester>
#include <QtTest>

#include <memory>

namespace {

// Macro 1 "Watch TV" with three steps, macro 3 without a name or steps,
// macro 4 "Radio" with one step.
std::unique_ptr<MacroTreeModel> sampleModel()
{
    const QList<MacroRecord> macros = {
        {1, 0xA1, {{0, 0, 160, 496}, {1, 0, 160, 496}, {0, 11, 96, 96}}},
        {3, 0xA3, {}},
        {4, 0xA4, {{2, 99, 0, 4000}}},
    };
    auto model = std::make_unique<MacroTreeModel>(
        MacroTreeModel::buildTree(macros, {"Watch TV", "Movie", "", "Radio"}));
    model->switchNames = {{0, "TV"}, {1, "SAT"}, {2, "3rd"}};
    model->keyNames = {{0, "POWER"}, {11, "VOL+"}};
    return model;
}

} // namespace

class TestMacroTreeModel : public QObject
{
    Q_OBJECT

private slots:
    void items()
    {
        MacroTreeItem root(nullptr, 0, 0, 0, 0, 0, "Macro");
        auto *a = new MacroTreeItem(&root, 1, 0, 0, 0, 0, "a");
        auto *b = new MacroTreeItem(&root, 2, 0, 0, 0, 0, "b");
        QVERIFY(root.insertChildren(0, 1, a));
        QVERIFY(root.insertChildren(0, 1, b)); // b before a
        QVERIFY(!root.insertChildren(3, 1, a));
        QVERIFY(!root.insertChildren(-1, 1, a));
        QCOMPARE(root.childCount(), 2);
        QCOMPARE(root.child(0), b);
        QCOMPARE(root.child(1), a);
        QCOMPARE(root.child(2), nullptr);
        QCOMPARE(root.child(-1), nullptr);
        QCOMPARE(a->childNumber(), 1);
        QCOMPARE(root.childNumber(), 0);
        // Made with a parent that does not list it.
        MacroTreeItem stray(&root, 0, 0, 0, 0, 0, "Macro");
        QCOMPARE(stray.childNumber(), -1);
        QVERIFY(a->insertChildren(0, 1, new MacroTreeItem(a, 0, 0, 0, 0, 0, "Macro")));

        QVERIFY(!root.removeChildren(1, 2));
        QVERIFY(!root.removeChildren(-1, 1));
        QCOMPARE(root.childCount(), 2);
        QVERIFY(root.removeChildren(0, 2)); // deletes a with its step
        QCOMPARE(root.childCount(), 0);
    }

    // What each kind of cell shows, gives for editing, and allows.
    void cells_data()
    {
        QTest::addColumn<QList<int>>("path"); // row, then child row
        QTest::addColumn<int>("column");
        QTest::addColumn<QVariant>("display");
        QTest::addColumn<QVariant>("edit");
        QTest::addColumn<int>("flags");
        const int step = Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
        const int macro = Qt::ItemIsEnabled;
        const QString blanks = QStringLiteral("     ");
        QTest::addRow("named macro") << QList<int>{0} << 0 << QVariant("Macro Watch TV") << QVariant() << macro;
        QTest::addRow("unnamed macro") << QList<int>{1} << 0 << QVariant("Macro 3") << QVariant() << macro;
        QTest::addRow("macro key cell") << QList<int>{0} << 1 << QVariant(blanks) << QVariant() << macro;
        QTest::addRow("macro wait cell") << QList<int>{2} << 3 << QVariant(blanks) << QVariant() << macro;
        QTest::addRow("macro number") << QList<int>{2} << 4 << QVariant(4) << QVariant(4) << macro;
        QTest::addRow("switch") << QList<int>{0, 1} << 0 << QVariant("SAT") << QVariant(1) << step;
        QTest::addRow("key") << QList<int>{0, 2} << 1 << QVariant("VOL+") << QVariant(11) << step;
        QTest::addRow("key without name") << QList<int>{2, 0} << 1 << QVariant("") << QVariant(99) << step;
        QTest::addRow("emit") << QList<int>{0, 0} << 2 << QVariant(160) << QVariant(160) << step;
        QTest::addRow("wait") << QList<int>{2, 0} << 3 << QVariant(4000) << QVariant(4000) << step;
        QTest::addRow("step number") << QList<int>{2, 0} << 4 << QVariant() << QVariant() << 0;
    }
    void cells()
    {
        QFETCH(QList<int>, path);
        QFETCH(int, column);
        QFETCH(QVariant, display);
        QFETCH(QVariant, edit);
        QFETCH(int, flags);
        auto model = sampleModel();
        QModelIndex index = model->index(path[0], path.size() > 1 ? 0 : column);
        if (path.size() > 1)
            index = model->index(path[1], column, index);
        QVERIFY(index.isValid());
        QCOMPARE(index.data(Qt::DisplayRole).toString(), display.toString());
        QCOMPARE(index.data(Qt::DisplayRole).isValid(), display.isValid());
        QCOMPARE(index.data(Qt::EditRole), edit);
        QCOMPARE(int(model->flags(index)), flags);
    }

    void sizesAndHeaders()
    {
        auto model = sampleModel();
        const QModelIndex step = model->index(0, 0, model->index(0, 0));
        QCOMPARE(step.siblingAtColumn(1).data(Qt::SizeHintRole).toSize(), QSize(250, 20));
        QCOMPARE(step.siblingAtColumn(3).data(Qt::SizeHintRole).toSize(), QSize(100, 20));
        QVERIFY(!step.siblingAtColumn(4).data(Qt::SizeHintRole).isValid());
        QVERIFY(!step.data(Qt::ToolTipRole).isValid());
        QStringList headers;
        for (int c = 0; c < 6; ++c)
            headers << model->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headers, (QStringList{"Switch", "Key", "Emit, ms", "Wait, ms", "Macro", ""}));
        QVERIFY(!model->headerData(0, Qt::Vertical).isValid());
        QVERIFY(!model->headerData(0, Qt::Horizontal, Qt::EditRole).isValid());
    }

    void setData()
    {
        auto model = sampleModel();
        QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
        const QModelIndex macro = model->index(0, 0);
        const QModelIndex step = model->index(1, 0, macro);
        QVERIFY(!model->setData(macro, 2));
        QVERIFY(!model->setData(macro.siblingAtColumn(4), 7));
        QVERIFY(!model->setData(step.siblingAtColumn(4), 7));
        QVERIFY(!model->setData(step, 2, Qt::DisplayRole));
        QVERIFY(!model->setData(QModelIndex(), 2));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(macro.siblingAtColumn(4).data(Qt::EditRole), QVariant(1));

        QVERIFY(model->setData(step.siblingAtColumn(0), 2));
        QVERIFY(model->setData(step.siblingAtColumn(1), 11));
        QVERIFY(model->setData(step.siblingAtColumn(2), 100));
        QVERIFY(model->setData(step.siblingAtColumn(3), QVariant())); // a list without a choice
        QCOMPARE(changed.count(), 4);
        QCOMPARE(changed.last().at(0).toModelIndex(), step.siblingAtColumn(3));
        const QList<MacroRecord> back = MacroTreeModel::records(*model, DeviceInfo());
        QCOMPARE(back[0].steps[1], (MacroStep{2, 11, 100, 0}));
    }

    // Steps come and go under macros only; a refused request announces
    // nothing, and the model stays consistent throughout.
    void insertAndRemove()
    {
        auto model = sampleModel();
        QAbstractItemModelTester tester(model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy aboutToInsert(model.get(), &QAbstractItemModel::rowsAboutToBeInserted);
        QSignalSpy aboutToRemove(model.get(), &QAbstractItemModel::rowsAboutToBeRemoved);
        const QModelIndex watch = model->index(0, 0);
        const QModelIndex empty = model->index(1, 0);
        const QModelIndex firstStep = model->index(0, 0, watch);

        QVERIFY(!model->insertRows(0, 1));                       // no macro: the root
        QVERIFY(!model->insertRows(0, 1, firstStep));            // under a step
        QVERIFY(!model->insertRows(0, 1, watch.siblingAtColumn(2))); // no children in other columns
        QVERIFY(!model->insertRows(4, 1, watch));                // past the end
        QVERIFY(!model->insertRows(-1, 1, watch));
        QVERIFY(!model->insertRows(0, 0, watch));
        QVERIFY(!model->removeRows(-1, 1));                      // remove with no current row
        QVERIFY(!model->removeRows(3, 1, watch));
        QVERIFY(!model->removeRows(2, 2, watch));
        QVERIFY(!model->removeRows(0, 1, watch.siblingAtColumn(1)));
        QCOMPARE(aboutToInsert.count(), 0);
        QCOMPARE(aboutToRemove.count(), 0);
        QCOMPARE(model->rowCount(watch), 3);

        QVERIFY(model->insertRows(0, 1, empty));
        QVERIFY(model->insertRows(3, 2, watch)); // at the end
        QVERIFY(model->insertRows(1, 1, watch)); // in the middle
        QCOMPARE(model->rowCount(empty), 1);
        QCOMPARE(model->rowCount(watch), 6);
        const QModelIndex added = model->index(1, 0, watch);
        QCOMPARE(added.data(Qt::EditRole), QVariant(0));
        QCOMPARE(added.siblingAtColumn(2).data(Qt::EditRole), QVariant(0));
        QCOMPARE(model->index(2, 2, watch).data(Qt::EditRole), QVariant(160)); // the old second step
        QCOMPARE(model->parent(added), watch);

        QVERIFY(model->removeRows(0, 2, watch));
        QVERIFY(model->removeRows(0, 1, empty));
        QVERIFY(model->removeRows(2, 1)); // a whole macro
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->rowCount(watch), 4);
        QCOMPARE(model->index(0, 0, watch).data(Qt::EditRole), QVariant(1));  // the old second step
        QCOMPARE(model->index(1, 1, watch).data(Qt::EditRole), QVariant(11)); // the old third
    }

    // Reading back: top-level rows that are macros 1..8, their key codes
    // taken from the information block as it is now.
    void records()
    {
        auto *root = new MacroTreeItem(nullptr, 0, 0, 0, 0, 0, "Macro");
        const QList<int> numbers{0, 2, 9, 5};
        for (int n : numbers) {
            auto *row = new MacroTreeItem(root, n, 0, 0, 0, 0, QString());
            root->insertChildren(root->childCount(), 1, row);
            row->insertChildren(0, 1, new MacroTreeItem(row, 0, 1, n, 32 * n, 16, "Macro"));
        }
        MacroTreeModel model(root);
        DeviceInfo info;
        info.entries[48 + 1] = 0x92;
        info.entries[48 + 4] = 0x95;
        const QList<MacroRecord> out = MacroTreeModel::records(model, info);
        QCOMPARE(out.size(), 2);
        QCOMPARE(out[0].number, 2);
        QCOMPARE(out[0].keyCode, 0x92);
        QCOMPARE(out[0].steps, (QList<MacroStep>{{1, 2, 64, 16}}));
        QCOMPARE(out[1].number, 5);
        QCOMPARE(out[1].keyCode, 0x95);
        QCOMPARE(MacroBlock::encode(out), QStringLiteral("070712" "01020401" "FF" "070715" "01050A01" "FF" "FF"));
    }
};

QTEST_GUILESS_MAIN(TestMacroTreeModel)
#include "tst_macrotreemodel.moc"
