#include "picture_button.h"

#include "player/picture_preload.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

PictureButton::PictureButton(const QString &fallbackText, QWidget *parent) : QAbstractButton(parent)
{
    setText(fallbackText);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

bool PictureButton::loadPicture(const QString &path)
{
    m_path = path;
    const QImage image = quillory::PicturePreload::read(path);
    m_pixmap = image.isNull() ? QPixmap() : QPixmap::fromImage(image);
    update();
    return !m_pixmap.isNull();
}

void PictureButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QRect area = rect();
    if (!m_pixmap.isNull()) {
        if (!isEnabled())
            painter.setOpacity(0.45);
        painter.drawPixmap(area, m_pixmap);
        return;
    }
    QStyleOptionButton option;
    option.initFrom(this);
    option.text = text();
    option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
}

void PictureButton::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved();
    QAbstractButton::mouseMoveEvent(event);
}

QSize PictureButton::sizeHint() const
{
    return QSize(32, 32);
}
