#pragma once

#include <Qt>

#include <initializer_list>

class QLabel;
class QString;
class QWidget;

// Labels of a form that show names, codes and captions from the catalogue,
// import files or a device must draw them as plain text: Qt's automatic
// format would render a model named "<img src=...>" as a picture. Sets
// Qt::PlainText on every label below root, except the ones given, which hold
// markup of our own on purpose.
void showLabelsAsPlainText(QWidget *root, std::initializer_list<const QLabel *> keepFormat = {});

// A text from the catalogue, an import file or a device as a tooltip or a
// "what's this": Qt draws one whose first line starts with a tag it knows as
// markup (a brand "<img src=...>" would have the picture loaded, a FIFO
// block the window). Such a text comes back escaped (as
// Qt::convertFromPlainText makes it, with mode); any other comes back as it
// is, and an empty one stays empty so that the tip goes away. A status tip
// needs none of this: the status bar shows it as plain text.
QString plainTextTip(const QString &text, Qt::WhiteSpaceMode mode = Qt::WhiteSpaceNormal);
