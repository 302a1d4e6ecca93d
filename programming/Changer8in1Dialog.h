#pragma once

#include "ui_Changer8in1Dialog.h"

#include <QDialog>

// The slot dialog ("Remote control replacer"): eight slot boxes with what each
// slot holds and a program and a clear button. It has no logic of its own:
// the main window connects the buttons and the slot overview fills the boxes.
class Changer8in1Dialog : public QDialog, public Ui::Changer8in1Dialog
{
    Q_OBJECT
public:
    explicit Changer8in1Dialog(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
};
