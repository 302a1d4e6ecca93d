#pragma once

#include "ui_UpdateDialog.h"

#include <QDialog>

// The update download dialog; the download sequence comes with the update feature.
class UpdateDialog : public QDialog, public Ui::UpdateDialog
{
    Q_OBJECT
public:
    explicit UpdateDialog(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
};
