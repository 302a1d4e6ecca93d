#pragma once

#include "ui_MacroDialog.h"

#include <QDialog>

// The macro dialog; the macro editor comes with macro programming.
class MacroDialog : public QDialog, public Ui::MacroDialog
{
    Q_OBJECT
public:
    explicit MacroDialog(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
};
