#pragma once

#include <QPainterPath>
#include <QRectF>

// Shapes shared by more than one picture, each fitted into a given box.
namespace GlyphPaths {

// An open folder: the back panel with its tab, and the front flap tilted
// forward. Filled and outlined separately so the flap overlaps the back.
struct OpenFolder {
    QPainterPath back;
    QPainterPath front;
};
OpenFolder openFolder(const QRectF &box);

// A triangle with its tip on the left or the right, spanning the box.
QPainterPath triangleLeft(const QRectF &box);
QPainterPath triangleRight(const QRectF &box);

// The capital letter A as an open outline (two legs and the crossbar), meant
// to be stroked: drawn as a shape it stays crisp without depending on fonts.
QPainterPath letterA(const QRectF &box);

} // namespace GlyphPaths
