#pragma once

#include "ui_SettingsDialog.h"

#include <QDialog>

// The settings dialog: company data and four options. The main window fills
// it, runs it and takes the values over when "Save changes" goes down;
// "Cancel", Escape and the title bar close it without touching anything.
class SettingsDialogImpl : public QDialog, public Ui::SettingsDialog
{
    Q_OBJECT
public:
    explicit SettingsDialogImpl(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~SettingsDialogImpl() override;
};
