// MainWindowImpl: device status, receiver signal mode and slot overview.
#include "mainwindow/MainWindowImpl.h"

void MainWindowImpl::initUsb1()
{
    // Shows that no programmable remote is present and disables its actions.
}

void MainWindowImpl::initUsb2()
{
    // Takes device id and remote type from the information block and extends the remote-type list.
}

void MainWindowImpl::initUsb3()
{
    // Shows the connected remote in the status line.
}

void MainWindowImpl::initUsb4()
{
    // Handles an unplugged remote: disables its actions and closes its dialogs.
}

void MainWindowImpl::initUsb5()
{
    // Refreshes the first-generation slot overview.
}

void MainWindowImpl::initUsb6()
{
    // Refreshes the second-generation slot overview.
}

void MainWindowImpl::initUsb7()
{
    // Updates the status after a second-generation write.
}

void MainWindowImpl::initReceiver1()
{
    // Shows that no receiver is present.
}

void MainWindowImpl::initReceiver2()
{
    // Shows the connected receiver.
}

void MainWindowImpl::initFunctions1(QTime start)
{
    Q_UNUSED(start);
    // Logs the duration of a first-generation slot write and refreshes the slot overview.
}

void MainWindowImpl::initFunctions2()
{
    // Refreshes the slot overview after a first-generation slot was cleared.
}

void MainWindowImpl::initFunctions3()
{
    // Reports the end of a request of the request worker.
}

void MainWindowImpl::changeSignal30()
{
    // Posts the receiver's modulated-signal option (9825) and checks its action.
}

void MainWindowImpl::changeSignalITT()
{
    // Posts the receiver's non-modulated option (9805) and checks its action.
}

void MainWindowImpl::refreshInformation1()
{
    // Fills the slot dialog from a first-generation remote's slot headers.
}

void MainWindowImpl::refreshInformation2()
{
    // Fills the slot dialog from a second-generation remote's slot captions.
}
