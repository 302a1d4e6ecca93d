// MainWindowImpl: model records (add, edit, link, delete) and model photos.
#include "mainwindow/MainWindowImpl.h"

void MainWindowImpl::addNewRemoteControlDialog()
{
    // Opens the record dialog to add a model.
}

void MainWindowImpl::editRemoteControlDialog()
{
    // Opens the record dialog on the selected model.
}

void MainWindowImpl::addNewRemoteControlLinkDialog()
{
    // Opens the record dialog to add a model linked to the selected one.
}

void MainWindowImpl::editRemoteControl()
{
    // Writes the record of the dialog, refreshes and closes the dialog.
}

void MainWindowImpl::deleteRemoteControl()
{
    // Deletes the selected own model after confirmation.
}

void MainWindowImpl::refreshImageEnable()
{
    // Sets the Images tab icon and shows photo 1 of the selected model.
}

void MainWindowImpl::refreshImageButtons()
{
    // Enables the photo buttons by the photos that exist.
}

void MainWindowImpl::refreshImageGeometries()
{
    // Fits the shown photo to the Images tab.
}

void MainWindowImpl::imageClick(int place)
{
    Q_UNUSED(place);
    // Shows the photo of a place (1..5).
}

void MainWindowImpl::addNewImage()
{
    // Stores a chosen picture file in the lowest free photo place.
}

void MainWindowImpl::deleteNewImage()
{
    // Deletes the shown photo after confirmation and closes up the places.
}
