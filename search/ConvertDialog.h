#pragma once

#include "ui_ConvertDialog.h"

#include <QDialog>

// The remote-type conversion dialog; its list comes with the type conversion.
class ConvertDialog : public QDialog, public Ui::ConvertDialog
{
    Q_OBJECT
public:
    explicit ConvertDialog(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
};
