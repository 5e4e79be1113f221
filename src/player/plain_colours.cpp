#include "plain_colours.h"

#include <QFrame>
#include <QPainter>

namespace plain_colours {

void setText(QWidget *widget, const QColor &text)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    widget->setPalette(palette);
}

void setFill(QWidget *widget, const QColor &background)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setBoxed(QFrame *frame, const QColor &background, const QColor &border)
{
    setFill(frame, background);
    // A plain box is drawn in the text colour.
    setText(frame, border);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(1);
}

} // namespace plain_colours

void TagLabel::setBackground(const QColor &background)
{
    m_background = background;
    update();
}

void TagLabel::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_background);
        painter.drawRoundedRect(QRectF(rect()), 3, 3);
    }
    QLabel::paintEvent(event);
}
