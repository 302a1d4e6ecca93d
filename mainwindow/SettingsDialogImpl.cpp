#include "mainwindow/SettingsDialogImpl.h"

#include "app/CheckedPicture.h"

SettingsDialogImpl::SettingsDialogImpl(QWidget *parent, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    setupUi(this);
    // Read through the checked reader; the main window tells when it is refused.
    setWindowIcon(CheckedPicture::windowIcon());
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    // Acts as soon as the button goes down, like "Save changes".
    connect(cancelPushButton, &QPushButton::pressed, this, &QWidget::close);
}

SettingsDialogImpl::~SettingsDialogImpl() = default;
