// The check-box combo of the type filter: its text is the checked items joined
// by the separator, typed text stays, index -1 empties the text only.
#include "catalogue/QxtCheckComboBox.h"

#include "app/ShownText.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

class TestQxtCheckComboBox : public QObject
{
    Q_OBJECT

    static void fill(QxtCheckComboBox &box, const QStringList &items)
    {
        for (const QString &item : items)
            box.addItem(item);
    }

private slots:
    void itemsAreCheckableAndStartUnchecked()
    {
        QxtCheckComboBox box;
        box.setEditable(true);
        fill(box, {"TV", "DVD", "SAT"});
        for (int i = 0; i < box.count(); ++i) {
            QCOMPARE(box.itemCheckState(i), Qt::Unchecked);
            QVERIFY(box.model()->flags(box.model()->index(i, 0)) & Qt::ItemIsUserCheckable);
        }
        // Adding the first item moves the current index to it; the text stays
        // what the check marks say.
        QCOMPARE(box.currentText(), QString());
        QVERIFY(box.checkedItems().isEmpty());
    }

    void textJoinsCheckedItems_data()
    {
        QTest::addColumn<QList<int>>("checked");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("text");
        QTest::addRow("none") << QList<int>{} << "," << "";
        QTest::addRow("one") << QList<int>{1} << "," << "DVD";
        QTest::addRow("two in item order") << QList<int>{2, 0} << "," << "TV,SAT";
        QTest::addRow("all") << QList<int>{0, 1, 2} << "," << "TV,DVD,SAT";
        QTest::addRow("other separator") << QList<int>{0, 2} << ";" << "TV;SAT";
    }
    void textJoinsCheckedItems()
    {
        QFETCH(QList<int>, checked);
        QFETCH(QString, separator);
        QFETCH(QString, text);
        QxtCheckComboBox box;
        box.setEditable(true);
        fill(box, {"TV", "DVD", "SAT"});
        box.setSeparator(separator);
        QSignalSpy spy(&box, &QxtCheckComboBox::checkedItemsChanged);
        for (int i : checked)
            box.setItemCheckState(i, Qt::Checked);
        QCOMPARE(spy.count(), checked.size());
        QCOMPARE(box.currentText(), text);
        QCOMPARE(box.checkedText(), text);
        QCOMPARE(box.checkedItems().join(separator), text);
    }

    void unchecking()
    {
        QxtCheckComboBox box;
        box.setEditable(true);
        fill(box, {"TV", "DVD"});
        box.setCheckedItems({"TV", "DVD"});
        QCOMPARE(box.currentText(), QStringLiteral("TV,DVD"));
        box.setItemCheckState(0, Qt::Unchecked);
        QCOMPARE(box.currentText(), QStringLiteral("DVD"));
        QCOMPARE(box.checkedItems(), QStringList{"DVD"});
    }

    void indexMinusOneEmptiesTextKeepsChecks()
    {
        QxtCheckComboBox box;
        box.setEditable(true);
        fill(box, {"TV", "DVD"});
        box.setItemCheckState(1, Qt::Checked);
        box.setCurrentIndex(-1);
        QCOMPARE(box.currentText(), QString());
        QCOMPARE(box.checkedItems(), QStringList{"DVD"});
    }

    void typedTextIsTheCurrentText()
    {
        QxtCheckComboBox box;
        box.setEditable(true);
        fill(box, {"TV", "DVD"});
        box.lineEdit()->selectAll();
        QTest::keyClicks(box.lineEdit(), QStringLiteral("SAT,CD"));
        QCOMPARE(box.currentText(), QStringLiteral("SAT,CD"));
        QTest::keyClick(box.lineEdit(), Qt::Key_Return);
        // A typed filter never becomes an item of the list.
        QCOMPARE(box.count(), 2);
        QCOMPARE(box.currentText(), QStringLiteral("SAT,CD"));
    }

    void clearForgetsItems()
    {
        QxtCheckComboBox box;
        box.setEditable(true);
        fill(box, {"TV", "DVD"});
        box.setCheckedItems({"TV"});
        box.clear();
        QCOMPARE(box.count(), 0);
        QVERIFY(box.checkedItems().isEmpty());
        fill(box, {"TV"});
        QCOMPARE(box.itemCheckState(0), Qt::Unchecked);
        QCOMPARE(box.currentText(), QString());
    }

    void clickInPopupTogglesAndStaysOpen()
    {
        QxtCheckComboBox box;
        box.setEditable(true);
        fill(box, {"TV", "DVD", "SAT"});
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        box.showPopup();
        QAbstractItemView *view = box.view();
        QTRY_VERIFY(view->isVisible());
        const QRect second = view->visualRect(box.model()->index(1, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(box.itemCheckState(1), Qt::Checked);
        QVERIFY(view->isVisible());
        QCOMPARE(box.currentText(), QStringLiteral("DVD"));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(box.itemCheckState(1), Qt::Unchecked);
        QCOMPARE(box.currentText(), QString());
        box.hidePopup();
    }

    // Items added whole: a type longer than a screen can show is shown and
    // measured by its start, and checked, set and read back whole.
    void wholeItemsShowTheirStart()
    {
        const QString longType = QStringLiteral("TV ").repeated(ShownText::kMaxChars);
        QxtCheckComboBox box;
        box.setEditable(true);
        box.addWholeItems({"TV", longType});
        QCOMPARE(box.itemText(0), QStringLiteral("TV"));
        QCOMPARE(box.itemText(1), longType.left(ShownText::kMaxChars) + QChar(0x2026));
        box.setCheckedItems({longType});
        QCOMPARE(box.itemCheckState(1), Qt::Checked);
        QCOMPARE(box.checkedItems(), QStringList{longType});
        box.setItemCheckState(0, Qt::Checked);
        QCOMPARE(box.checkedItems(), (QStringList{"TV", longType}));
        // The field shows the join's start; the filter is the whole join.
        QCOMPARE(box.currentText(), ShownText::bounded(QStringLiteral("TV,") + longType));
        QCOMPARE(box.filterText(), QStringLiteral("TV,") + longType);
        // Typed over, the field's own text is the filter.
        box.setEditText(QStringLiteral("DVD"));
        QCOMPARE(box.filterText(), QStringLiteral("DVD"));
        // The box is as wide as for a type a screen wide, not a hundred times that.
        QxtCheckComboBox screenWide;
        screenWide.setEditable(true);
        screenWide.addItem(box.itemText(1));
        QCOMPARE(box.sizeHint(), screenWide.sizeHint());
    }

    void nonEditableShowsCheckedText()
    {
        QxtCheckComboBox box;
        fill(box, {"TV", "DVD"});
        box.setCheckedItems({"DVD", "TV"});
        QCOMPARE(box.checkedText(), QStringLiteral("TV,DVD"));
    }
};

QTEST_MAIN(TestQxtCheckComboBox)
#include "tst_qxtcheckcombobox.moc"
