#include "catalogue/QMainMouseMoveCatchWidget.h"

#include <QMouseEvent>
#include <QResizeEvent>
#include <QSqlDatabase>

QMainMouseMoveCatchWidget::QMainMouseMoveCatchWidget(QWidget *parent) : QLabel(parent) {}

QMainMouseMoveCatchWidget::~QMainMouseMoveCatchWidget() = default;

void QMainMouseMoveCatchWidget::resizeEvent(QResizeEvent *e)
{
    QLabel::resizeEvent(e);
    if (e->size().height() != e->oldSize().height())
        emit heightChanged();
}

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
