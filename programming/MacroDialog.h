#pragma once

#include "ui_MacroDialog.h"

#include <QDialog>

// The macro editor: the macro tree of the connected remote with buttons to
// add and remove steps and to program the remote. The main window fills the
// tree at every opening and handles "Program".
class MacroDialog : public QDialog, public Ui::MacroDialog
{
    Q_OBJECT
public:
    explicit MacroDialog(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~MacroDialog() override;

public slots:
    void updateActions();

private slots:
    // A new step (switch 0, key 0, 256 ms emit and wait) after the current
    // step, or as the last step of the current macro.
    void insertRow();
    // Removes the current step; a macro row stays.
    void removeRow();
};
