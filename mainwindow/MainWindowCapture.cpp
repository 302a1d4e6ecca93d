// MainWindowImpl: received signals: message closing, recognition display, key learning and transmission.
#include "mainwindow/MainWindowImpl.h"

#include <QTimer>

void MainWindowImpl::initDots1(int count)
{
    Q_UNUSED(count);
    // Reacts to the receiver thread's report of new durations.
}

void MainWindowImpl::lastMessage()
{
    receiveTimer->stop();
    captureStore.tick([this](int n) {
        processMessage(n);
        selectSameIdRows();
    });
    receiveTimer->start(50);
}

void MainWindowImpl::processMessage(int n)
{
    protocol.recognizeFrame(captureStore, n);
    protocol.resolveKeyCode(captureStore, n);
    if (tabWidget->currentIndex() == 0)
        drawMessage(n);
    else if (tabWidget->currentIndex() == 3)
        drawMessageOscillograph(n);
}

void MainWindowImpl::insertKey()
{
    // Carries out a key assignment or key transmission requested on the picture.
}

void MainWindowImpl::setTransmit()
{
    // Copies the checked state of actionTransmitMode into the picture widget.
}

void MainWindowImpl::drawMessage(int nmessage)
{
    Q_UNUSED(nmessage);
    // Adds the box of a message to the protocol bar and shows it.
}

void MainWindowImpl::drawMessageOscillograph(int nmessage)
{
    Q_UNUSED(nmessage);
    // Draws one message row of the oscillograph and shows it.
}

void MainWindowImpl::colorSignalFields(int row, const QString &pattern)
{
    Q_UNUSED(row);
    Q_UNUSED(pattern);
    // Colours the oscillograph cells of a row from a field-label pattern.
}

void MainWindowImpl::refreshSameKey()
{
    // Moves the same-key markers onto the keys that carry the shown code.
}

void MainWindowImpl::selectSameIdRows()
{
    // Selects the key-list rows that carry the shown code.
}
