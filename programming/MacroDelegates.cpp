#include "programming/MacroDelegates.h"

#include <QComboBox>
#include <QSpinBox>

namespace {

// The two drop-down delegates fill and read their lists alike.
void selectCode(QWidget *editor, const QModelIndex &index)
{
    if (auto *combo = qobject_cast<QComboBox *>(editor))
        combo->setCurrentIndex(combo->findData(index.data(Qt::EditRole).toInt(), Qt::UserRole));
}

void commitCode(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index)
{
    if (auto *combo = qobject_cast<QComboBox *>(editor))
        model->setData(index, combo->currentData(Qt::UserRole), Qt::EditRole);
}

} // namespace

EmitWaitDelegate::EmitWaitDelegate(int minimum, int maximum, int singleStep, QObject *parent)
    : QItemDelegate(parent), minimum(minimum), maximum(maximum), singleStep(singleStep)
{
}

EmitWaitDelegate::~EmitWaitDelegate() = default;

QWidget *EmitWaitDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    Q_UNUSED(option);
    Q_UNUSED(index);
    auto *spin = new QSpinBox(parent);
    spin->setMinimum(minimum);
    spin->setMaximum(maximum);
    spin->setSingleStep(singleStep);
    spin->installEventFilter(const_cast<EmitWaitDelegate *>(this));
    return spin;
}

void EmitWaitDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *spin = qobject_cast<QSpinBox *>(editor))
        spin->setValue(index.data(Qt::EditRole).toInt());
}

void EmitWaitDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *spin = qobject_cast<QSpinBox *>(editor);
    if (!spin)
        return;
    spin->interpretText();
    model->setData(index, spin->value(), Qt::EditRole);
}

void EmitWaitDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                            const QModelIndex &index) const
{
    Q_UNUSED(index);
    editor->setGeometry(option.rect);
}

SwitchDelegate::SwitchDelegate(const QMap<int, QString> &switchNames, QObject *parent)
    : QItemDelegate(parent), switchNames(switchNames)
{
}

SwitchDelegate::~SwitchDelegate() = default;

QWidget *SwitchDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                      const QModelIndex &index) const
{
    Q_UNUSED(option);
    Q_UNUSED(index);
    auto *combo = new QComboBox(parent);
    for (auto it = switchNames.cbegin(); it != switchNames.cend(); ++it)
        combo->addItem(it.value(), it.key());
    return combo;
}

void SwitchDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    selectCode(editor, index);
}

void SwitchDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    commitCode(editor, model, index);
}

KeyDelegate::KeyDelegate(const QMap<int, QString> &keyNames, const QList<int> &keyOrder, QObject *parent)
    : QItemDelegate(parent), keyNames(keyNames), keyOrder(keyOrder)
{
}

KeyDelegate::~KeyDelegate() = default;

QWidget *KeyDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                   const QModelIndex &index) const
{
    Q_UNUSED(option);
    Q_UNUSED(index);
    auto *combo = new QComboBox(parent);
    for (int code : keyOrder)
        combo->addItem(keyNames.value(code), code);
    return combo;
}

void KeyDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    selectCode(editor, index);
}

void KeyDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    commitCode(editor, model, index);
}
