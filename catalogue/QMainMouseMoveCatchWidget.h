#pragma once

#include "catalogue/KeyPictureState.h"

#include <QLabel>

// The remote-type picture. It only records the user's gestures in the public
// flags of KeyPictureState; the window's 10 ms key timer carries them out on
// the GUI thread. Any mouse button acts alike.
class QMainMouseMoveCatchWidget : public QLabel, public KeyPictureState
{
    Q_OBJECT
public:
    explicit QMainMouseMoveCatchWidget(QWidget *parent = nullptr);
    ~QMainMouseMoveCatchWidget() override;

signals:
    // The label got another height. The window lays the picture out again on
    // it: a layout change alone (a panel shown or hidden, the first layout
    // after showing) resizes the label without resizing the window, and a
    // picture whose width no longer matches its height would put clicks,
    // circles and markers on different scales.
    void heightChanged();

protected:
    void resizeEvent(QResizeEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
};
