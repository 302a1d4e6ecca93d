#include "mainwindow/SettingsDialogImpl.h"

SettingsDialogImpl::SettingsDialogImpl(QWidget *parent, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    // Acts as soon as the button goes down, like "Save changes".
    connect(cancelPushButton, &QPushButton::pressed, this, &QWidget::close);
}

SettingsDialogImpl::~SettingsDialogImpl() = default;
