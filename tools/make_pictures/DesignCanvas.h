#pragma once

#include <QImage>
#include <QSize>

#include <functional>

class QPainter;

// Renders a picture whose drawing code works in design pixels: the painter is
// pre-scaled by PictureStyle::renderScale, antialiased, and the image starts
// filled with the window background so that opaque formats blend in.
QImage paintDesignPicture(QSize designSize, const std::function<void(QPainter &)> &draw);
