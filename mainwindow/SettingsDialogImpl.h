#pragma once

#include "ui_SettingsDialog.h"

#include <QDialog>

// The settings dialog; its fields and behaviour come with the settings.
class SettingsDialogImpl : public QDialog, public Ui::SettingsDialog
{
    Q_OBJECT
public:
    explicit SettingsDialogImpl(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
};
