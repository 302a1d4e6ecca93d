// The macro editor dialog and its cell editors, on a tree of our own: where
// the step buttons insert and what they remove, and what the drop-down lists
// and the spin box show and store.
#include "programming/MacroDelegates.h"
#include "programming/MacroDialog.h"
#include "programming/MacroTreeItem.h"
#include "programming/MacroTreeModel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QStyleOptionViewItem>
#include <QtTest>

#include <memory>

namespace {

// Macro 1 with three steps (emit 16, 32, 48 ms), macro 2 without steps.
MacroTreeModel *sampleModel(QObject *parent)
{
    const QList<MacroRecord> macros = {
        {1, 0xA1, {{0, 1, 16, 0}, {1, 2, 32, 0}, {2, 3, 48, 0}}},
        {2, 0xA2, {}},
    };
    return new MacroTreeModel(MacroTreeModel::buildTree(macros, {}), parent);
}

// The steps of macro row r as "emit/wait".
QStringList stepTimes(const QAbstractItemModel *model, int r)
{
    QStringList out;
    const QModelIndex macro = model->index(r, 0);
    for (int j = 0; j < model->rowCount(macro); ++j)
        out << QStringLiteral("%1/%2")
                   .arg(model->index(j, 2, macro).data(Qt::EditRole).toInt())
                   .arg(model->index(j, 3, macro).data(Qt::EditRole).toInt());
    return out;
}

} // namespace

class TestMacroDialog : public QObject
{
    Q_OBJECT

    std::unique_ptr<MacroDialog> m_dialog;
    MacroTreeModel *m_model = nullptr;

    // Makes the cell at path (macro row, then step row; empty: none) current.
    void makeCurrent(const QList<int> &path, int column)
    {
        QModelIndex index;
        if (!path.isEmpty()) {
            index = m_model->index(path[0], path.size() > 1 ? 0 : column);
            if (path.size() > 1)
                index = m_model->index(path[1], column, index);
            QVERIFY(index.isValid());
        }
        m_dialog->macroTV->setCurrentIndex(index);
        QCOMPARE(m_dialog->macroTV->currentIndex(), index);
    }

private slots:
    void init()
    {
        m_dialog = std::make_unique<MacroDialog>();
        m_model = sampleModel(m_dialog.get());
        m_dialog->macroTV->setModel(m_model);
        m_dialog->macroTV->expandAll();
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    }
    void cleanup() { m_dialog.reset(); }

    void insert_data()
    {
        QTest::addColumn<QList<int>>("current");
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("macro1");
        QTest::addColumn<QStringList>("macro2");
        const QStringList before{"16/0", "32/0", "48/0"};
        QTest::addRow("after the last step") << QList<int>{0, 2} << 0 << before + QStringList{"256/256"}
                                             << QStringList{};
        QTest::addRow("after a step, from its wait cell")
            << QList<int>{0, 0} << 3 << QStringList{"16/0", "256/256", "32/0", "48/0"} << QStringList{};
        QTest::addRow("macro row") << QList<int>{0} << 0 << before + QStringList{"256/256"} << QStringList{};
        // Any cell of a macro row stands for the macro.
        QTest::addRow("macro row, emit cell") << QList<int>{0} << 2 << before + QStringList{"256/256"}
                                              << QStringList{};
        QTest::addRow("empty macro") << QList<int>{1} << 0 << before << QStringList{"256/256"};
        QTest::addRow("no current row") << QList<int>{} << 0 << before << QStringList{};
    }
    void insert()
    {
        QFETCH(QList<int>, current);
        QFETCH(int, column);
        QFETCH(QStringList, macro1);
        QFETCH(QStringList, macro2);
        makeCurrent(current, column);
        QTest::mouseClick(m_dialog->insertMacroButton, Qt::LeftButton);
        QCOMPARE(stepTimes(m_model, 0), macro1);
        QCOMPARE(stepTimes(m_model, 1), macro2);
        QCOMPARE(m_model->rowCount(), 2); // never a top-level row
        // The macro that got the step shows it.
        if (!macro2.isEmpty())
            QVERIFY(m_dialog->macroTV->isExpanded(m_model->index(1, 0)));
    }

    void remove_data()
    {
        QTest::addColumn<QList<int>>("current");
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("macro1");
        QTest::addRow("a step") << QList<int>{0, 1} << 2 << QStringList{"16/0", "48/0"};
        QTest::addRow("the last step") << QList<int>{0, 2} << 0 << QStringList{"16/0", "32/0"};
        QTest::addRow("macro row stays") << QList<int>{0} << 0 << QStringList{"16/0", "32/0", "48/0"};
        QTest::addRow("no current row") << QList<int>{} << 0 << QStringList{"16/0", "32/0", "48/0"};
    }
    void remove()
    {
        QFETCH(QList<int>, current);
        QFETCH(int, column);
        QFETCH(QStringList, macro1);
        makeCurrent(current, column);
        QTest::mouseClick(m_dialog->removeMacroButton, Qt::LeftButton);
        QCOMPARE(stepTimes(m_model, 0), macro1);
        QCOMPARE(m_model->rowCount(), 2);
    }

    // The switch list in code order; the key list in the catalogue's order,
    // repeats kept; a code that is not listed selects nothing and a commit
    // without a choice stores 0.
    void lists_data()
    {
        QTest::addColumn<bool>("keys");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("selected");
        QTest::addRow("switch") << false << QStringList{"TV", "SAT", "3rd"} << QList<int>{0, 1, 2} << 1 << 1;
        QTest::addRow("switch not listed") << false << QStringList{"TV", "SAT", "3rd"} << QList<int>{0, 1, 2} << 7
                                           << -1;
        QTest::addRow("key") << true << QStringList{"POWER", "", " - 5 - ", "POWER"} << QList<int>{9, 4, 5, 9} << 5
                             << 2;
        QTest::addRow("key not listed") << true << QStringList{"POWER", "", " - 5 - ", "POWER"}
                                        << QList<int>{9, 4, 5, 9} << 0 << -1;
    }
    void lists()
    {
        QFETCH(bool, keys);
        QFETCH(QStringList, texts);
        QFETCH(QList<int>, codes);
        QFETCH(int, value);
        QFETCH(int, selected);
        // Inserted out of order: the switch list sorts by code.
        const QMap<int, QString> switches{{2, "3rd"}, {0, "TV"}, {1, "SAT"}};
        // Key 4 has no name in the map at all.
        const QMap<int, QString> keyNames{{9, "POWER"}, {5, " - 5 - "}};
        std::unique_ptr<QAbstractItemDelegate> delegate;
        if (keys)
            delegate = std::make_unique<KeyDelegate>(keyNames, QList<int>{9, 4, 5, 9});
        else
            delegate = std::make_unique<SwitchDelegate>(switches);

        const QModelIndex step = m_model->index(0, keys ? 1 : 0, m_model->index(0, 0));
        QVERIFY(m_model->setData(step, value));
        std::unique_ptr<QWidget> editor(delegate->createEditor(m_dialog->macroTV, QStyleOptionViewItem(), step));
        auto *combo = qobject_cast<QComboBox *>(editor.get());
        QVERIFY(combo);
        QStringList shownTexts;
        QList<int> shownCodes;
        for (int i = 0; i < combo->count(); ++i) {
            shownTexts << combo->itemText(i);
            shownCodes << combo->itemData(i, Qt::UserRole).toInt();
        }
        QCOMPARE(shownTexts, texts);
        QCOMPARE(shownCodes, codes);

        delegate->setEditorData(combo, step);
        QCOMPARE(combo->currentIndex(), selected);
        delegate->setModelData(combo, m_model, step);
        QCOMPARE(step.data(Qt::EditRole).toInt(), selected < 0 ? 0 : value);

        combo->setCurrentIndex(2);
        delegate->setModelData(combo, m_model, step);
        QCOMPARE(step.data(Qt::EditRole).toInt(), codes[2]);
    }

    // The spin box stores the time the page will hold: the nearest step
    // of 16 ms, so what the cell shows is what is programmed.
    void times()
    {
        EmitWaitDelegate delegate(0, 4000, 16);
        const QModelIndex step = m_model->index(1, 2, m_model->index(0, 0));
        std::unique_ptr<QWidget> editor(delegate.createEditor(m_dialog->macroTV, QStyleOptionViewItem(), step));
        auto *spin = qobject_cast<QSpinBox *>(editor.get());
        QVERIFY(spin);
        QCOMPARE(spin->minimum(), 0);
        QCOMPARE(spin->maximum(), 4000);
        QCOMPARE(spin->singleStep(), 16);
        delegate.setEditorData(spin, step);
        QCOMPARE(spin->value(), 32);

        spin->findChild<QLineEdit *>()->selectAll();
        QTest::keyClicks(spin, QStringLiteral("100"));
        delegate.setModelData(spin, m_model, step);
        QCOMPARE(step.data(Qt::EditRole).toInt(), 96);
        QCOMPARE(spin->value(), 96);
        QVERIFY2(spin->toolTip().contains(QLatin1String("steps of 16 ms")), qPrintable(spin->toolTip()));
        QStyleOptionViewItem option;
        option.rect = QRect(5, 6, 70, 21);
        delegate.updateEditorGeometry(spin, option, step);
        QCOMPARE(spin->geometry(), option.rect);
    }

    void typedTimeSnapsToStep_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stored");
        QTest::newRow("250 rounds up") << "250" << 256;
        QTest::newRow("on a step") << "240" << 240;
        QTest::newRow("below half a step") << "7" << 0;
        QTest::newRow("half a step") << "8" << 16;
        QTest::newRow("near the top") << "3999" << 4000;
        QTest::newRow("top") << "4000" << 4000;
    }

    void typedTimeSnapsToStep()
    {
        QFETCH(QString, typed);
        QFETCH(int, stored);
        EmitWaitDelegate delegate(0, 4000, 16);
        const QModelIndex step = m_model->index(0, 3, m_model->index(0, 0));
        std::unique_ptr<QWidget> editor(delegate.createEditor(m_dialog->macroTV, QStyleOptionViewItem(), step));
        auto *spin = qobject_cast<QSpinBox *>(editor.get());
        QVERIFY(spin);
        delegate.setEditorData(spin, step);
        spin->findChild<QLineEdit *>()->selectAll();
        QTest::keyClicks(spin, typed);
        delegate.setModelData(spin, m_model, step);
        QCOMPARE(step.data(Qt::EditRole).toInt(), stored);
        // What the cell shows is a whole number of steps: written and read
        // back it stays the same.
        QCOMPARE(stored / 16 * 16, stored);
    }

    void snapKeepsToTheRange_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("snapped");
        QTest::newRow("top not on a step") << 4005 << 0 << 4005 << 16 << 4000;
        QTest::newRow("steps from the minimum") << 13 << 5 << 100 << 10 << 15;
        QTest::newRow("below the minimum") << 2 << 5 << 100 << 10 << 5;
        QTest::newRow("step of one") << 251 << 0 << 4000 << 1 << 251;
    }

    void snapKeepsToTheRange()
    {
        QFETCH(int, value);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, step);
        QFETCH(int, snapped);
        QCOMPARE(EmitWaitDelegate::snapToStep(value, minimum, maximum, step), snapped);
    }

    // Editing in the view itself: the wait cell of a step through its spin box.
    void editInTheView()
    {
        EmitWaitDelegate delegate(0, 4000, 16);
        m_dialog->macroTV->setItemDelegateForColumn(3, &delegate);
        const QModelIndex cell = m_model->index(0, 3, m_model->index(0, 0));
        m_dialog->macroTV->setCurrentIndex(cell);
        m_dialog->macroTV->edit(cell);
        auto *spin = m_dialog->macroTV->viewport()->findChild<QSpinBox *>();
        QVERIFY(spin);
        spin->findChild<QLineEdit *>()->selectAll();
        QTest::keyClicks(spin, QStringLiteral("500"));
        QTest::keyClick(spin, Qt::Key_Return);
        // The delegate commits after the key event.
        QTRY_COMPARE(cell.data(Qt::EditRole).toInt(), 496);
        m_dialog->macroTV->setItemDelegateForColumn(3, nullptr);
    }
};

QTEST_MAIN(TestMacroDialog)
#include "tst_macrodialog.moc"
