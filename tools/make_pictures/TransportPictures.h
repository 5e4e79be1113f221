#pragma once

#include <QSizeF>

class QPainter;

// The player's picture buttons: round transport buttons and the open button.
// Each is drawn filling a picture of the given design size.
namespace TransportPictures {

enum class ButtonState { Normal, Hover };

void drawPlay(QPainter &painter, QSizeF size, ButtonState state);
void drawPause(QPainter &painter, QSizeF size, ButtonState state);
void drawJumpBack(QPainter &painter, QSizeF size, ButtonState state);
void drawStop(QPainter &painter, QSizeF size, ButtonState state);
void drawJumpForward(QPainter &painter, QSizeF size, ButtonState state);
void drawOpen(QPainter &painter, QSizeF size, ButtonState state);

} // namespace TransportPictures
