#pragma once

#include "programming/MacroBlock.h"

#include <QAbstractItemModel>
#include <QMap>
#include <QString>

class MacroTreeItem;

// The macros of a remote as a two-level tree: one row per macro, one child
// row per step. Columns: switch, key, emit ms, wait ms and the macro number
// (hidden; 0 on step rows), by which macro rows and step rows are told apart.
// Only steps are edited; rows are inserted and removed only as steps of a
// macro, so the tree keeps its two levels.
class MacroTreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    static constexpr int kColumns = 5;
    static constexpr int kMacroColumn = 4;

    // Takes over root and the tree below it.
    explicit MacroTreeModel(MacroTreeItem *root, QObject *parent = nullptr);
    ~MacroTreeModel() override;

    QMap<int, QString> switchNames; // switch code to name (column 0)
    QMap<int, QString> keyNames;    // key code to name (column 1)

    // The item of a valid index; the root for an invalid one.
    MacroTreeItem *getItem(const QModelIndex &index) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // New steps (codes and times 0) under a macro row; false, announcing
    // nothing, for another parent or a position outside 0..its step count.
    bool insertRows(int position, int rows, const QModelIndex &parent = QModelIndex()) override;
    // False, announcing nothing, unless all the rows are there.
    bool removeRows(int position, int rows, const QModelIndex &parent = QModelIndex()) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The tree of these macros under a new root: macro m named names[m - 1]
    // (empty when there is none).
    static MacroTreeItem *buildTree(const QList<MacroRecord> &macros, const QStringList &names);
    // The macros a model holds, read through its edit values: every top-level
    // row whose macro number is 1..8, with its key code from info and its
    // steps. Other top-level rows are not macros and are left out.
    static QList<MacroRecord> records(const QAbstractItemModel &model, const DeviceInfo &info);

private:
    MacroTreeItem *rootItem;
};
