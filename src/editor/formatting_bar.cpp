#include "editor/formatting_bar.h"

#include "pictures/ToolbarPicture.h"

#include <QMouseEvent>
#include <QPainter>

IconStrip::IconStrip(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void IconStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(rect());
    // The shapes are laid out in design pixels; the painter maps them to the
    // device's pixels, however many there are per design pixel.
    const QSize design = designSize();
    painter.scale(1.0, qreal(height()) / design.height());
    ToolbarPicture::draw(painter, QSizeF(design));
}

ClickArea::ClickArea(int index, QWidget *parent) : QFrame(parent), m_index(index)
{
    setMouseTracking(true);
    setFrameShape(QFrame::NoFrame);
    setAttribute(Qt::WA_NoSystemBackground);
    setCursor(Qt::PointingHandCursor);
}

void ClickArea::setBorder(bool on)
{
    setFrameShape(on ? QFrame::Box : QFrame::NoFrame);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
}

void ClickArea::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    event->accept();
}

void ClickArea::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked(m_index);
}

void ClickArea::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved(m_index);
    event->accept();
}
