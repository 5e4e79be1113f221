#pragma once

#include <QList>
#include <QRect>
#include <QSize>

namespace quillory {

// Where a window of `preferred` size goes inside `available` (the screen less
// panels) without covering any of `occupied` (the other windows' frames). When
// the free room is too small the window is made smaller, down to `minimum`; when
// even that does not fit, it covers as little of them as it can.
QRect placeBeside(const QRect &available, const QList<QRect> &occupied, QSize preferred,
                  QSize minimum);

// A remembered geometry "x,y,width,height"; an empty rectangle when the text is
// no such thing or the window would lie off `available` (a screen since removed).
QRect geometryFromText(const QString &text, const QRect &available);
QString geometryToText(const QRect &geometry);

} // namespace quillory
