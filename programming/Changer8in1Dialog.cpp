#include "programming/Changer8in1Dialog.h"

Changer8in1Dialog::Changer8in1Dialog(QWidget *parent, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    setupUi(this);
}
