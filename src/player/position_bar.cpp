#include "position_bar.h"

#include "platform/geometry/twips.h"

#include <QMouseEvent>

PositionBar::PositionBar(QWidget *parent) : QLabel(parent)
{
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
}

void PositionBar::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    emit mouseMoved(static_cast<int>(event->buttons()), static_cast<int>(event->modifiers()),
                    pixelsToTwips(p.x()), pixelsToTwips(p.y()));
    QLabel::mouseMoveEvent(event);
}

void PositionBar::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    // The press also updates the mouse-over time, so a click without a prior move
    // lands where it was made.
    mouseMoveEvent(event);
}

void PositionBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_pressed && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint()))
        emit clicked();
    m_pressed = false;
}
