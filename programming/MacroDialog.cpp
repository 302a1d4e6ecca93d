#include "programming/MacroDialog.h"

MacroDialog::MacroDialog(QWidget *parent, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    setupUi(this);
}
