// MainWindowImpl: keys and links panels, the remote-type picture and the layout on resize.
#include "mainwindow/MainWindowImpl.h"

#include <QResizeEvent>

void MainWindowImpl::resizeEvent(QResizeEvent *e)
{
    Q_UNUSED(e);
    // Re-lays out the panels (formResize()).
}

void MainWindowImpl::refreshKeys()
{
    // Rebuilds the key list of the selected model and type and enables the dependent actions.
}

void MainWindowImpl::refreshLinks()
{
    // Fills the Links tab with the models linked to the selected one.
}

void MainWindowImpl::formResize()
{
    // Re-lays out picture, markers, protocol bar and photo after a resize or tab change.
}

void MainWindowImpl::refreshChangerPosition()
{
    // Loads the key positions of the selected remote type.
}

void MainWindowImpl::refreshChangerPicture()
{
    // Draws the remote-type picture with a mark on every key the model has.
}

void MainWindowImpl::refreshChangerPictureView()
{
    // Sizes the remote-type picture and the protocol bar.
}

void MainWindowImpl::resizeSameKeyMarkers()
{
    // Sizes the same-key markers to the picture.
}

void MainWindowImpl::refreshID()
{
    // Shows the code of the picked key in labelKeyId.
}

void MainWindowImpl::changeShift()
{
    // Switches the picture between the normal and the shift layer.
}
