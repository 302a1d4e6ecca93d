#include "programming/MacroTreeItem.h"

MacroTreeItem::MacroTreeItem(MacroTreeItem *parent, int macroNumber, int switchCode, int keyCode, int emitMs,
                             int waitMs, const QString &name)
    : macroNumber(macroNumber), switchCode(switchCode), keyCode(keyCode), emitMs(emitMs), waitMs(waitMs), name(name),
      parentItem(parent)
{
}

MacroTreeItem::~MacroTreeItem()
{
    qDeleteAll(childItems);
}

MacroTreeItem *MacroTreeItem::child(int row) const
{
    return row >= 0 && row < childItems.size() ? childItems.at(row) : nullptr;
}

int MacroTreeItem::childCount() const
{
    return int(childItems.size());
}

int MacroTreeItem::childNumber() const
{
    return parentItem ? int(parentItem->childItems.indexOf(const_cast<MacroTreeItem *>(this))) : 0;
}

MacroTreeItem *MacroTreeItem::parent() const
{
    return parentItem;
}

bool MacroTreeItem::insertChildren(int position, int count, MacroTreeItem *item)
{
    Q_UNUSED(count);
    if (position < 0 || position > childItems.size())
        return false;
    childItems.insert(position, item);
    return true;
}

bool MacroTreeItem::removeChildren(int position, int count)
{
    if (position < 0 || count < 0 || position + count > childItems.size())
        return false;
    for (int i = 0; i < count; ++i)
        delete childItems.takeAt(position);
    return true;
}
