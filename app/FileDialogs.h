#pragma once

#include <QString>

class QFileDialog;
class QWidget;

// Qt's own file dialog writes file sizes and dates in the system's locale,
// whatever language the program speaks; these dialogs write them in the
// program's language (the default locale, which a language switch sets).
// A native dialog of the desktop keeps the desktop's forms.
namespace FileDialogs {

// From now on the dialog's list shows sizes and dates in the default locale.
void followLanguage(QFileDialog *dialog);

// As QFileDialog::getOpenFileName: one existing file, or empty when cancelled.
QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter);

} // namespace FileDialogs
