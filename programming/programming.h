#pragma once

#include <QLabel>

// Protocol code look-ups for the slot-image builders. A label only so that the
// main form can hold it (hidden); the look-ups come with remote programming.
class programming : public QLabel
{
    Q_OBJECT
public:
    explicit programming(QWidget *parent = nullptr);
};
