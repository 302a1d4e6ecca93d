// MainWindowImpl: update check at start and the update dialog.
#include "mainwindow/MainWindowImpl.h"

#include "app/MessageBox.h"
#include "update/UpdateCheck.h"
#include "update/UpdateDialog.h"

#include <QCoreApplication>
#include <QDebug>

void MainWindowImpl::checkUpdatesAtStart()
{
    // Runs in the background: the window stays usable while the server is
    // asked, and the check gives up on its own time-out.
    auto *check = new UpdateCheck(QStringLiteral("."), UpdateCheck::defaultTimeoutMs, this);
    connect(check, &UpdateCheck::finished, this, [this, check](UpdateCheck::Result result, const QString &detail) {
        check->deleteLater();
        if (result != UpdateCheck::UpdatesAvailable) {
            qDebug().noquote() << "Update check at start:"
                               << (detail.isEmpty() ? QStringLiteral("up to date") : detail);
            return;
        }
        // The user may have opened the update dialog meanwhile.
        if (updateDialog && updateDialog->isVisible())
            return;
        if (MessageBox::question(this, tr("Automatic updates checking"),
                                 tr("Updates are available. Do you want to update?"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            == QMessageBox::Yes)
            updateProgramDialogOpen();
    });
    check->start();
}

void MainWindowImpl::updateProgramDialogOpen()
{
    if (updateDialog && updateDialog->isVisible())
        return;
    // The previous dialog is closed and has stopped its transfers.
    delete updateDialog;
    updateDialog = new UpdateDialog(this);
    updateDialog->exec();
    if (updateDialog->handedOver()) {
        // The updater replaces the program's files: end the event loop so the
        // application shuts down in order, its workers stopped, with status 0.
        QCoreApplication::exit(0);
    }
}
