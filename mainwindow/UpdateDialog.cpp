#include "mainwindow/UpdateDialog.h"

UpdateDialog::UpdateDialog(QWidget *parent, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    setupUi(this);
}
