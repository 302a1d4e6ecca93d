#include "programming/Changer8in1Dialog.h"

Changer8in1Dialog::Changer8in1Dialog(QWidget *parent, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    setupUi(this);
    // Set once, in the language of the start: a language switch leaves it.
    setWindowTitle(tr("Remote control replacer"));
}
