#pragma once

#include "catalogue/BoundedTextDelegate.h"

#include <QItemDelegate>
#include <QList>
#include <QMap>
#include <QString>

// The editors of the macro tree's step cells: a spin box for the emit and
// wait times, drop-down lists for the switch and the key. A list shows names
// and stores the code of the chosen entry; a code not in the list shows no
// entry, and committing without a choice stores 0. Names come from the
// catalogue and the device: the cells and the lists show a name of megabytes
// by its start (BoundedTextDelegate, ShownText), and the codes stay whole.

class EmitWaitDelegate : public QItemDelegate
{
    Q_OBJECT
public:
    EmitWaitDelegate(int minimum, int maximum, int singleStep, QObject *parent = nullptr);
    ~EmitWaitDelegate() override;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

    // value rounded to the nearest minimum + k * step (halves up) within
    // minimum..maximum: the time the remote will actually hold.
    static int snapToStep(int value, int minimum, int maximum, int step);

    int minimum;
    int maximum;
    int singleStep;
};

class SwitchDelegate : public BoundedTextDelegate
{
    Q_OBJECT
public:
    explicit SwitchDelegate(const QMap<int, QString> &switchNames, QObject *parent = nullptr);
    ~SwitchDelegate() override;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

    QMap<int, QString> switchNames;
};

class KeyDelegate : public BoundedTextDelegate
{
    Q_OBJECT
public:
    KeyDelegate(const QMap<int, QString> &keyNames, const QList<int> &keyOrder, QObject *parent = nullptr);
    ~KeyDelegate() override;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

    QMap<int, QString> keyNames;
    QList<int> keyOrder;
};
