#include "catalogue/QMainMouseMoveCatchWidget.h"

QMainMouseMoveCatchWidget::QMainMouseMoveCatchWidget(QWidget *parent) : QLabel(parent)
{
}
