#include "video/video_view.h"

#include "video/mpv_video_renderer.h"

#include <QMouseEvent>
#include <QPainter>

namespace quillory {

VideoView::VideoView(MpvVideoRenderer &renderer, QWidget *parent)
    : QWidget(parent), m_renderer(renderer)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setMinimumSize(64, 48);
    connect(&renderer, &MpvVideoRenderer::frameReady, this, qOverload<>(&QWidget::update));
    connect(&renderer, &MpvVideoRenderer::pictureChanged, this, qOverload<>(&QWidget::update));
}

void VideoView::setNotice(const QString &text)
{
    if (text == m_notice)
        return;
    m_notice = text;
    setToolTip(text);
    update();
}

void VideoView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QImage frame = m_renderer.frame();
    if (!frame.isNull()) {
        // Between a resize and the next frame the old one is stretched, keeping its shape.
        const QSize size = frame.size().scaled(this->size(), Qt::KeepAspectRatio);
        QRect target(QPoint(0, 0), size);
        target.moveCenter(rect().center());
        painter.drawImage(target, frame);
    }
    if (!m_notice.isEmpty()) {
        painter.setPen(Qt::white);
        const QRect line(0, height() - fontMetrics().height() * 2, width(),
                         fontMetrics().height() * 2);
        painter.drawText(line.adjusted(6, 0, -6, 0), Qt::AlignCenter | Qt::TextSingleLine,
                         fontMetrics().elidedText(m_notice, Qt::ElideRight, width() - 12));
    }
}

void VideoView::resizeEvent(QResizeEvent *)
{
    m_renderer.setTargetSize(size() * devicePixelRatioF());
}

void VideoView::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit clicked();
}

} // namespace quillory
