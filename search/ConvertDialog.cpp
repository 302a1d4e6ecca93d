#include "search/ConvertDialog.h"

#include "app/CheckedPicture.h"

ConvertDialog::ConvertDialog(QWidget *parent, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    setupUi(this);
    // Read through the checked reader; the main window tells when it is refused.
    setWindowIcon(CheckedPicture::windowIcon());
}
