#include "programming/programming.h"

programming::programming(QWidget *parent) : QLabel(parent)
{
}
