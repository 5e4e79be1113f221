#pragma once

#include <QSizeF>

class QPainter;

// The editor's icon strip. The editor lays invisible click areas over it, so
// each icon must sit under its area; the icons after the bulleted list lie
// beyond the part of the strip the window shows.
namespace ToolbarPicture {

void draw(QPainter &painter, QSizeF size);

} // namespace ToolbarPicture
