#include "programming/MacroTreeModel.h"

#include "programming/MacroTreeItem.h"

#include <QSize>

namespace {

const QString kStepName = QStringLiteral("Macro");

bool isMacro(const MacroTreeItem *item)
{
    return item->macroNumber >= 1;
}

MacroTreeItem *newStep(MacroTreeItem *parent)
{
    return new MacroTreeItem(parent, 0, 0, 0, 0, 0, kStepName);
}

} // namespace

MacroTreeModel::MacroTreeModel(MacroTreeItem *root, QObject *parent) : QAbstractItemModel(parent), rootItem(root)
{
}

MacroTreeModel::~MacroTreeModel()
{
    delete rootItem;
}

MacroTreeItem *MacroTreeModel::getItem(const QModelIndex &index) const
{
    if (index.isValid())
        return static_cast<MacroTreeItem *>(index.internalPointer());
    return rootItem;
}

QModelIndex MacroTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if ((parent.isValid() && parent.column() != 0) || column < 0 || column >= kColumns)
        return QModelIndex();
    MacroTreeItem *child = getItem(parent)->child(row);
    return child ? createIndex(row, column, child) : QModelIndex();
}

QModelIndex MacroTreeModel::parent(const QModelIndex &index) const
{
    if (!index.isValid())
        return QModelIndex();
    MacroTreeItem *parentItem = getItem(index)->parent();
    if (!parentItem || parentItem == rootItem)
        return QModelIndex();
    return createIndex(parentItem->childNumber(), 0, parentItem);
}

int MacroTreeModel::rowCount(const QModelIndex &parent) const
{
    // Only column 0 has children, as index() gives them.
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return getItem(parent)->childCount();
}

int MacroTreeModel::columnCount(const QModelIndex &parent) const
{
    Q_UNUSED(parent);
    return kColumns;
}

QVariant MacroTreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const MacroTreeItem *item = getItem(index);
    const int column = index.column();
    switch (role) {
    case Qt::EditRole:
        if (isMacro(item))
            return column == kMacroColumn ? QVariant(item->macroNumber) : QVariant();
        switch (column) {
        case 0: return item->switchCode;
        case 1: return item->keyCode;
        case 2: return item->emitMs;
        case 3: return item->waitMs;
        default: return QVariant();
        }
    case Qt::DisplayRole:
        if (isMacro(item)) {
            if (column == 0)
                return tr("Macro") + QLatin1Char(' ') +
                       (item->name.isEmpty() ? QString::number(item->macroNumber) : item->name);
            if (column == kMacroColumn)
                return item->macroNumber;
            return QStringLiteral("     ");
        }
        switch (column) {
        case 0: return switchNames.value(item->switchCode);
        case 1: return keyNames.value(item->keyCode);
        case 2: return item->emitMs;
        case 3: return item->waitMs;
        default: return QVariant();
        }
    case Qt::SizeHintRole: {
        static const int widths[] = {150, 250, 100, 100};
        return column < kMacroColumn ? QVariant(QSize(widths[column], 20)) : QVariant();
    }
    default:
        return QVariant();
    }
}

bool MacroTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid())
        return false;
    MacroTreeItem *item = getItem(index);
    if (isMacro(item))
        return false;
    const int v = value.toInt();
    switch (index.column()) {
    case 0: item->switchCode = v; break;
    case 1: item->keyCode = v; break;
    case 2: item->emitMs = v; break;
    case 3: item->waitMs = v; break;
    default: return false;
    }
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

QVariant MacroTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case 0: return tr("Switch");
    case 1: return tr("Key");
    case 2: return tr("Emit, ms");
    case 3: return tr("Wait, ms");
    case 4: return tr("Macro");
    default: return QVariant();
    }
}

bool MacroTreeModel::insertRows(int position, int rows, const QModelIndex &parent)
{
    if (!parent.isValid() || parent.column() != 0 || rows < 1)
        return false;
    MacroTreeItem *item = getItem(parent);
    if (!isMacro(item) || position < 0 || position > item->childCount())
        return false;
    beginInsertRows(parent, position, position + rows - 1);
    for (int i = 0; i < rows; ++i)
        item->insertChildren(position + i, 1, newStep(item));
    endInsertRows();
    return true;
}

bool MacroTreeModel::removeRows(int position, int rows, const QModelIndex &parent)
{
    if ((parent.isValid() && parent.column() != 0) || rows < 1)
        return false;
    MacroTreeItem *item = getItem(parent);
    if (position < 0 || position + rows > item->childCount())
        return false;
    beginRemoveRows(parent, position, position + rows - 1);
    const bool done = item->removeChildren(position, rows);
    endRemoveRows();
    return done;
}

Qt::ItemFlags MacroTreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (isMacro(getItem(index)))
        return Qt::ItemIsEnabled;
    if (index.column() >= kMacroColumn)
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
}

MacroTreeItem *MacroTreeModel::buildTree(const QList<MacroRecord> &macros, const QStringList &names)
{
    auto *root = new MacroTreeItem(nullptr, 0, 0, 0, 0, 0, kStepName);
    for (const MacroRecord &macro : macros) {
        auto *row = new MacroTreeItem(root, macro.number, 0, 0, 0, 0, names.value(macro.number - 1));
        root->insertChildren(root->childCount(), 1, row);
        for (const MacroStep &s : macro.steps) {
            row->insertChildren(row->childCount(), 1,
                                new MacroTreeItem(row, 0, s.switchCode, s.keyCode, s.emitMs, s.waitMs, kStepName));
        }
    }
    return root;
}

QList<MacroRecord> MacroTreeModel::records(const QAbstractItemModel &model, const DeviceInfo &info)
{
    QList<MacroRecord> out;
    for (int r = 0; r < model.rowCount(); ++r) {
        const int number = model.index(r, kMacroColumn).data(Qt::EditRole).toInt();
        if (number < 1 || number > MacroBlock::kMacroCount)
            continue;
        MacroRecord macro{number, MacroBlock::keyCodeOf(info, number), {}};
        const QModelIndex row = model.index(r, 0);
        for (int j = 0; j < model.rowCount(row); ++j) {
            const auto value = [&](int column) { return model.index(j, column, row).data(Qt::EditRole).toInt(); };
            macro.steps.append({value(0), value(1), value(2), value(3)});
        }
        out.append(macro);
    }
    return out;
}
