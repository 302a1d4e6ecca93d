#include "programming/MacroDelegates.h"

#include "app/ShownText.h"

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

int EmitWaitDelegate::snapToStep(int value, int minimum, int maximum, int step)
{
    if (step <= 1 || maximum < minimum)
        return value;
    const qint64 offset = qint64(value) - minimum;
    qint64 steps = (offset + step / 2) / step;
    if (offset < 0)
        steps = 0;
    while (steps > 0 && minimum + steps * step > maximum)
        --steps;
    return int(minimum + steps * step);
}

QWidget *EmitWaitDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    Q_UNUSED(option);
    Q_UNUSED(index);
    auto *spin = new QSpinBox(parent);
    spin->setMinimum(minimum);
    spin->setMaximum(maximum);
    spin->setSingleStep(singleStep);
    spin->setToolTip(tr("Times go in steps of %1 ms; a time in between is rounded to the nearest step.")
                         .arg(singleStep));
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
    // The remote keeps times in whole steps: store what will be programmed,
    // so a typed 250 reads 256 here instead of coming back as 240.
    const int value = snapToStep(spin->value(), minimum, maximum, singleStep);
    spin->setValue(value);
    model->setData(index, value, Qt::EditRole);
}

void EmitWaitDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                            const QModelIndex &index) const
{
    Q_UNUSED(index);
    editor->setGeometry(option.rect);
}

SwitchDelegate::SwitchDelegate(const QMap<int, QString> &switchNames, QObject *parent)
    : BoundedTextDelegate(parent), switchNames(switchNames)
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
        combo->addItem(ShownText::bounded(it.value()), it.key());
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
    : BoundedTextDelegate(parent), keyNames(keyNames), keyOrder(keyOrder)
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
        combo->addItem(ShownText::bounded(keyNames.value(code)), code);
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
