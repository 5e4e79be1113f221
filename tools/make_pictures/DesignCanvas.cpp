#include "DesignCanvas.h"

#include "pictures/PictureStyle.h"

#include <QPainter>

QImage paintDesignPicture(QSize designSize, const std::function<void(QPainter &)> &draw)
{
    QImage image(designSize * PictureStyle::renderScale, QImage::Format_RGB32);
    image.fill(PictureStyle::windowBackground);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    painter.scale(PictureStyle::renderScale, PictureStyle::renderScale);
    draw(painter);
    return image;
}
