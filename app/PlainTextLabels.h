#pragma once

#include <QString>

#include <initializer_list>

class QLabel;
class QWidget;

// Labels of a form that show names, codes and captions from the catalogue,
// import files or a device must draw them as plain text: Qt's automatic
// format would render a model named "<img src=...>" as a picture. Sets
// Qt::PlainText on every label below root, except the ones given, which hold
// markup of our own on purpose.
void showLabelsAsPlainText(QWidget *root, std::initializer_list<const QLabel *> keepFormat = {});

// A tooltip's text that shows text as plain text: Qt takes a tooltip whose
// first line holds something like a tag for markup, so a brand such as
// "<b>X</b>" would be drawn bold. Text that Qt would not take for markup
// stays as it is.
QString plainToolTip(const QString &text);
