#include "mainwindow/SettingsDialogImpl.h"

SettingsDialogImpl::SettingsDialogImpl(QWidget *parent, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    setupUi(this);
}
