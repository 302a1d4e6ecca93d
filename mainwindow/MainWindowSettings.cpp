// MainWindowImpl: settings file, settings dialog, display modes and About box.
#include "mainwindow/MainWindowImpl.h"

#include <QSettings>

void MainWindowImpl::loadSettings()
{
    // The window's settings object; reading the keys into the members comes with the settings file.
    settings = new QSettings(QStringLiteral("config.ini"), QSettings::IniFormat, this);
}

void MainWindowImpl::saveSettings()
{
    // Writes the user-changeable keys from the members and flushes "config.ini".
}

void MainWindowImpl::editSettings()
{
    // Fills the settings dialog from the members and runs it modally.
}

void MainWindowImpl::updateSettings()
{
    // Takes the dialog values over, saves them and refreshes the simple-programming panel.
}

void MainWindowImpl::fullVersion()
{
    // Stores and saves full mode, then applies it.
}

void MainWindowImpl::simpleVersion()
{
    // Stores and saves simple mode, then applies it.
}

void MainWindowImpl::changeFullSimpleVersion(bool full)
{
    Q_UNUSED(full);
    // Shows or hides the widgets of the full and the simple display mode and shows the window.
}

void MainWindowImpl::openAbout()
{
    // Shows the About box with program and catalogue versions.
}
