#pragma once

#include <QSizeF>

class QPainter;

// The player's volume slider: a horizontal pill knob and the thin vertical
// track it slides along.
namespace VolumePictures {

void drawKnob(QPainter &painter, QSizeF size);
void drawTrack(QPainter &painter, QSizeF size);

} // namespace VolumePictures
