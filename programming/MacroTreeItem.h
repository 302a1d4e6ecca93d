#pragma once

#include <QList>
#include <QString>

// A node of the macro tree: the invisible root, a macro (macroNumber 1..8,
// its name) or a step of a macro (switch, key, emit and wait times). A node
// owns its children.
class MacroTreeItem
{
public:
    MacroTreeItem(MacroTreeItem *parent, int macroNumber, int switchCode, int keyCode, int emitMs, int waitMs,
                  const QString &name);
    ~MacroTreeItem();
    MacroTreeItem(const MacroTreeItem &) = delete;
    MacroTreeItem &operator=(const MacroTreeItem &) = delete;

    // The child at row; null outside the children.
    MacroTreeItem *child(int row) const;
    int childCount() const;
    // The own row in the parent; 0 without a parent, -1 when the parent does
    // not list it.
    int childNumber() const;
    MacroTreeItem *parent() const;
    // Inserts item (taking it over) at position; false for a position outside
    // 0..childCount, and the item is then not taken. Callers pass count 1.
    bool insertChildren(int position, int count, MacroTreeItem *item);
    // Removes and deletes count children from position; false, removing
    // nothing, when they are not all there.
    bool removeChildren(int position, int count);

    int macroNumber;
    int switchCode;
    int keyCode;
    int emitMs;
    int waitMs;
    QString name;
    QList<MacroTreeItem *> childItems;
    MacroTreeItem *parentItem;
};
