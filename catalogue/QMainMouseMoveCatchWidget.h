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

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
};
