#include "VolumePictures.h"

#include "pictures/PictureStyle.h"

#include <QPainter>

#include <algorithm>

namespace VolumePictures {

void drawKnob(QPainter &painter, QSizeF size)
{
    const QRectF body = QRectF(QPointF(0, 0), size).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal round = body.height() / 2;
    painter.setPen(QPen(PictureStyle::sliderRim, PictureStyle::rimStroke));
    painter.setBrush(PictureStyle::paper);
    painter.drawRoundedRect(body, round, round);

    // The level mark across the middle shows exactly where the volume is read.
    const qreal y = body.center().y();
    painter.setPen(
        QPen(PictureStyle::glyph, PictureStyle::iconStroke, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(body.left() + round, y), QPointF(body.right() - round, y));
}

void drawTrack(QPainter &painter, QSizeF size)
{
    const qreal grooveWidth = std::min(size.width() - 1.0, 3.5);
    const QRectF groove((size.width() - grooveWidth) / 2, 0.5, grooveWidth, size.height() - 1.0);
    const qreal round = grooveWidth / 2;
    painter.setPen(QPen(PictureStyle::sliderRim, 0.8));
    painter.setBrush(PictureStyle::sliderGroove);
    painter.drawRoundedRect(groove, round, round);
}

} // namespace VolumePictures
