#include "programming/MacroDialog.h"

#include "app/CheckedPicture.h"

namespace {

constexpr int kMacroColumn = 4;
constexpr int kNewStepMs = 256;

// The macro number of the row of index (0 on a step row and with no row).
int macroNumberOf(const QAbstractItemModel *model, const QModelIndex &index)
{
    return model->index(index.row(), kMacroColumn, index.parent()).data(Qt::EditRole).toInt();
}

} // namespace

MacroDialog::MacroDialog(QWidget *parent, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("MacroDialog"));
    setupUi(this);
    // Read through the checked reader; the main window tells when it is refused.
    setWindowIcon(CheckedPicture::windowIcon());
    connect(insertMacroButton, &QPushButton::pressed, this, &MacroDialog::insertRow);
    connect(removeMacroButton, &QPushButton::pressed, this, &MacroDialog::removeRow);
}

MacroDialog::~MacroDialog() = default;

void MacroDialog::updateActions()
{
    // The buttons stay enabled whatever row is current: insertRow() and
    // removeRow() judge the current row themselves.
}

void MacroDialog::insertRow()
{
    QAbstractItemModel *model = macroTV->model();
    const QModelIndex cur = macroTV->currentIndex();
    // With no current row there is no macro to add a step to.
    if (!model || !cur.isValid())
        return;
    QModelIndex p;
    int r = 0;
    if (macroNumberOf(model, cur) < 1) {
        p = cur.parent();
        r = cur.row() + 1;
    } else {
        // Any cell of a macro row stands for the macro.
        p = cur.siblingAtColumn(0);
        r = model->rowCount(p);
    }
    if (!model->insertRows(r, 1, p))
        return;
    model->setData(model->index(r, 2, p), kNewStepMs, Qt::EditRole);
    model->setData(model->index(r, 3, p), kNewStepMs, Qt::EditRole);
    // A macro that had no steps was not expanded when the tree was shown.
    macroTV->expand(p);
    updateActions();
}

void MacroDialog::removeRow()
{
    QAbstractItemModel *model = macroTV->model();
    if (!model)
        return;
    const QModelIndex cur = macroTV->currentIndex();
    if (macroNumberOf(model, cur) > 0)
        return;
    if (model->removeRows(cur.row(), 1, cur.parent()))
        updateActions();
}
