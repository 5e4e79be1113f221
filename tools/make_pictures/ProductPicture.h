#pragma once

#include <QSizeF>

class QPainter;

// The picture shown in the player's file-label area while no file is open:
// a quill whose stroke turns into a waveform, and the product name.
namespace ProductPicture {

void draw(QPainter &painter, QSizeF size);

} // namespace ProductPicture
