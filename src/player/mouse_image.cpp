#include "mouse_image.h"

#include "platform/geometry/twips.h"

#include <QMouseEvent>

MouseImage::MouseImage(QWidget *parent) : QLabel(parent)
{
    setMouseTracking(true);
}

int MouseImage::buttonState(Qt::MouseButtons buttons)
{
    int state = 0;
    if (buttons & Qt::LeftButton)
        state |= 1;
    if (buttons & Qt::RightButton)
        state |= 2;
    if (buttons & Qt::MiddleButton)
        state |= 4;
    return state;
}

void MouseImage::mousePressEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    emit mouseDown(buttonState(event->button()), pixelsToTwips(p.x()), pixelsToTwips(p.y()));
    event->accept();
}

void MouseImage::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    emit mouseMove(buttonState(event->buttons()), pixelsToTwips(p.x()), pixelsToTwips(p.y()));
    event->accept();
}

void MouseImage::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    emit mouseUp(buttonState(event->button()), pixelsToTwips(p.x()), pixelsToTwips(p.y()));
    event->accept();
}
