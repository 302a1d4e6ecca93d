// MainWindowImpl: slot programming, simple programming and macros.
#include "mainwindow/MainWindowImpl.h"

#include "catalogue/CurrentRow.h"
#include "programming/KeyImage.h"

#include <QSqlDatabase>

void MainWindowImpl::refreshActionUSBProgramm()
{
    // Rebuilds the remote-type list with the device's type and enables the programming actions.
}

void MainWindowImpl::startProgramming81(int nPult)
{
    Q_UNUSED(nPult);
    // Builds the slot image of the selected model and posts it for device slot nPult.
}

void MainWindowImpl::startDelete81(int nPult)
{
    Q_UNUSED(nPult);
    // Posts the clearing of device slot nPult.
}

QString MainWindowImpl::doStrKeys81(int nPult)
{
    Q_UNUSED(nPult);
    // Builds the slot image of the selected model for the connected remote.
    return QString();
}

QString MainWindowImpl::doStrKeys()
{
    // The fixed-size key image of the selected model, from its link master's keys.
    return KeyImage::forLink(QSqlDatabase::database(), CurrentRow::text(ModelsTV, 5));
}

QString MainWindowImpl::doStrKeys81Simple(int nPult, int RCTypeIdInt, QString Rcid)
{
    Q_UNUSED(nPult);
    Q_UNUSED(RCTypeIdInt);
    Q_UNUSED(Rcid);
    // Builds the slot image of a simple-programming box's model.
    return QString();
}

void MainWindowImpl::refreshSimpleProgram()
{
    // Shows the simple-programming assignments of the selected remote type.
}

void MainWindowImpl::simpleProgramming(int nPult)
{
    Q_UNUSED(nPult);
    // Assigns the selected model to a simple-programming box.
}

void MainWindowImpl::simpleDelete(int nPult)
{
    Q_UNUSED(nPult);
    // Clears a simple-programming box.
}

void MainWindowImpl::startProgramming81Simple()
{
    // Posts the four simple-programming boxes to the device.
}

void MainWindowImpl::macroDialogOpen()
{
    // Fills and runs the macro dialog.
}

void MainWindowImpl::programMacro()
{
    // Posts the macro block to the device.
}
