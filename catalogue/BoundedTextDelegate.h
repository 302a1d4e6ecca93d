#pragma once

#include <QStyledItemDelegate>

// Draws the texts of a catalogue list: a text longer than a screen can show
// is drawn (and measured for the cell's size) as its start and "…", so that
// a brand or code of megabytes paints as fast as an ordinary one. An editor
// still gets the whole text.
class BoundedTextDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QString displayText(const QVariant &value, const QLocale &locale) const override;
};
