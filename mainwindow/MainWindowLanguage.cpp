// MainWindowImpl: languages, the language menu and help.
#include "mainwindow/MainWindowImpl.h"

void MainWindowImpl::buildLanguageMenu()
{
    // Fills the Language menu from the translation files in "Languages/".
}

void MainWindowImpl::loadLanguage(QString language)
{
    Q_UNUSED(language);
    // Installs the language's translators and sets the translated texts of the window.
}

void MainWindowImpl::doTran(QAction *action)
{
    Q_UNUSED(action);
    // Switches to the language of the chosen menu entry and saves it.
}

void MainWindowImpl::openHelp()
{
    // Opens the help page of the current language.
}
