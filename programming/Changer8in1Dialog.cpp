#include "programming/Changer8in1Dialog.h"

#include "app/CheckedPicture.h"
#include "app/PlainTextLabels.h"

Changer8in1Dialog::Changer8in1Dialog(QWidget *parent, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    setupUi(this);
    // Read through the checked reader; the main window tells when it is refused.
    setWindowIcon(CheckedPicture::windowIcon());
    // The boxes show brands, types and models read back from the remote.
    showLabelsAsPlainText(this);
    // Set once, in the language of the start: a language switch leaves it.
    setWindowTitle(tr("Remote control replacer"));
}
