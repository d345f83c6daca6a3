#include "QXBackGroundView.h"

#include <QMouseEvent>

QXBackGroundView::QXBackGroundView(QWidget *parent) : QXBaseView(parent) {}

void QXBackGroundView::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void QXBackGroundView::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

void QXBackGroundView::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}
