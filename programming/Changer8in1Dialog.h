#pragma once

#include "ui_Changer8in1Dialog.h"

#include <QDialog>

// The slot dialog ("Remote control replacer"): one program and one clear button per device slot; the slot boxes come with remote programming.
class Changer8in1Dialog : public QDialog, public Ui::Changer8in1Dialog
{
    Q_OBJECT
public:
    explicit Changer8in1Dialog(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
};
