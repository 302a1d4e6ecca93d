#pragma once

#include <QLabel>

// The remote-type picture. It only records the user's gestures in public
// flags; the window's 10 ms timer carries them out on the GUI thread.
class QMainMouseMoveCatchWidget : public QLabel
{
    Q_OBJECT
public:
    explicit QMainMouseMoveCatchWidget(QWidget *parent = nullptr);

    bool assignRequest = false; // a double click asks to learn the received code into selectedKey
    bool keyPressed = false;    // transmit mode: a key is held down
    bool sendRequest = false;   // transmit mode: the held key was released
    bool busy = false;          // double clicks are ignored while set
    bool transmitMode = false;  // copy of actionTransmitMode
    bool shift = false;         // shift layer shown
    int selectedKey = -10;      // key of the last hit, -10 for none
};
