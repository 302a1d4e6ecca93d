#include "catalogue/QxtCheckComboBox.h"

#include "app/ShownText.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace {
// Where an item added by addWholeItems() keeps its whole text.
constexpr int kWholeTextRole = Qt::UserRole;
} // namespace

QxtCheckComboBox::QxtCheckComboBox(QWidget *parent) : QComboBox(parent)
{
    // Typed text is a filter, never a new item.
    setInsertPolicy(QComboBox::NoInsert);
    view()->viewport()->installEventFilter(this);
    view()->installEventFilter(this);

    connect(model(), &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { makeCheckable(first, last); });
    connect(model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
                // QComboBox has just put the current item's text into the edit
                // field; what the field shows is the checked items.
                showChecked();
                if (!m_updating && (roles.isEmpty() || roles.contains(Qt::CheckStateRole)))
                    emit checkedItemsChanged(checkedItems());
            });
    // QComboBox puts an item's own text into the edit field when the current
    // index moves to it (for instance when the first item is added); the field
    // shows the checked items instead. Index -1 empties the field and leaves
    // the check marks alone.
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            showChecked();
    });
}

void QxtCheckComboBox::makeCheckable(int first, int last)
{
    m_updating = true;
    for (int row = first; row <= last; ++row) {
        const QModelIndex idx = model()->index(row, modelColumn(), rootModelIndex());
        if (auto *standard = qobject_cast<QStandardItemModel *>(model())) {
            if (QStandardItem *item = standard->itemFromIndex(idx))
                item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        }
        if (!idx.data(Qt::CheckStateRole).isValid())
            model()->setData(idx, Qt::Unchecked, Qt::CheckStateRole);
    }
    m_updating = false;
    // Changing the current item's data made QComboBox put that item's text
    // into the edit field; the field shows the checked items.
    if (currentIndex() >= first && currentIndex() <= last)
        showChecked();
}

Qt::CheckState QxtCheckComboBox::itemCheckState(int index) const
{
    return static_cast<Qt::CheckState>(itemData(index, Qt::CheckStateRole).toInt());
}

void QxtCheckComboBox::setItemCheckState(int index, Qt::CheckState state)
{
    if (index < 0 || index >= count())
        return;
    setItemData(index, state, Qt::CheckStateRole);
}

void QxtCheckComboBox::addWholeItems(const QStringList &texts)
{
    // Qt::UserRole is what addItem() stores its data under.
    for (const QString &text : texts)
        addItem(ShownText::bounded(text), text);
}

QString QxtCheckComboBox::wholeText(int index) const
{
    const QVariant whole = itemData(index, kWholeTextRole);
    return whole.isValid() ? whole.toString() : itemText(index);
}

QStringList QxtCheckComboBox::checkedItems() const
{
    QStringList items;
    for (int i = 0; i < count(); ++i) {
        if (itemCheckState(i) == Qt::Checked)
            items << wholeText(i);
    }
    return items;
}

void QxtCheckComboBox::setCheckedItems(const QStringList &items)
{
    m_updating = true;
    for (int i = 0; i < count(); ++i)
        setItemData(i, items.contains(wholeText(i)) ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
    m_updating = false;
    showChecked();
    emit checkedItemsChanged(checkedItems());
}

void QxtCheckComboBox::setSeparator(const QString &separator)
{
    m_separator = separator;
    showChecked();
}

QString QxtCheckComboBox::checkedText() const
{
    return checkedItems().join(m_separator);
}

QString QxtCheckComboBox::filterText() const
{
    const QString checked = checkedText();
    const QLineEdit *edit = lineEdit();
    if (!edit || edit->text() == ShownText::bounded(checked))
        return checked;
    return edit->text();
}

void QxtCheckComboBox::toggle(int index)
{
    setItemCheckState(index, itemCheckState(index) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void QxtCheckComboBox::showChecked()
{
    if (QLineEdit *edit = lineEdit())
        edit->setText(ShownText::bounded(checkedText()));
    else
        update();
}

bool QxtCheckComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view()->viewport()) {
        // A click toggles the item under the mouse; the popup stays open and
        // the current index does not move.
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const QModelIndex idx = view()->indexAt(mouse->position().toPoint());
            if (idx.isValid() && (idx.flags() & Qt::ItemIsEnabled))
                toggle(idx.row());
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            return true;
    } else if (watched == view() && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            const QModelIndex idx = view()->currentIndex();
            if (idx.isValid())
                toggle(idx.row());
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void QxtCheckComboBox::paintEvent(QPaintEvent *event)
{
    if (isEditable()) {
        QComboBox::paintEvent(event);
        return;
    }
    // A non-editable box draws the checked texts in place of the current item.
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText = ShownText::bounded(checkedText());
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}
