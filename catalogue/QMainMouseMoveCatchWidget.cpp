#include "catalogue/QMainMouseMoveCatchWidget.h"

#include <QMouseEvent>
#include <QSqlDatabase>

QMainMouseMoveCatchWidget::QMainMouseMoveCatchWidget(QWidget *parent) : QLabel(parent) {}

QMainMouseMoveCatchWidget::~QMainMouseMoveCatchWidget() = default;

void QMainMouseMoveCatchWidget::mousePressEvent(QMouseEvent *e)
{
    press(e->position().toPoint(), height(), QSqlDatabase::database());
}

void QMainMouseMoveCatchWidget::mouseReleaseEvent(QMouseEvent *)
{
    release();
}

void QMainMouseMoveCatchWidget::mouseDoubleClickEvent(QMouseEvent *e)
{
    doubleClick(e->position().toPoint(), height());
}

void QMainMouseMoveCatchWidget::mouseMoveEvent(QMouseEvent *e)
{
    const Cursor c = hover(e->position().toPoint(), height(), QSqlDatabase::database());
    setCursor(c == Cursor::PointingHand ? Qt::PointingHandCursor : Qt::ArrowCursor);
}
