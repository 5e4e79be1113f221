#include "pictures/GlyphPaths.h"

namespace GlyphPaths {

OpenFolder openFolder(const QRectF &box)
{
    const qreal w = box.width();
    const qreal h = box.height();
    const auto at = [&box, w, h](qreal fx, qreal fy) {
        return QPointF(box.left() + fx * w, box.top() + fy * h);
    };

    OpenFolder folder;
    folder.back.moveTo(at(0.0, 1.0));
    folder.back.lineTo(at(0.0, 0.0));
    folder.back.lineTo(at(0.36, 0.0));
    folder.back.lineTo(at(0.44, 0.14));
    folder.back.lineTo(at(0.90, 0.14));
    folder.back.lineTo(at(0.90, 0.34));
    folder.back.lineTo(at(0.90, 1.0));
    folder.back.closeSubpath();

    folder.front.moveTo(at(0.0, 1.0));
    folder.front.lineTo(at(0.14, 0.36));
    folder.front.lineTo(at(1.0, 0.36));
    folder.front.lineTo(at(0.88, 1.0));
    folder.front.closeSubpath();
    return folder;
}

QPainterPath triangleLeft(const QRectF &box)
{
    QPainterPath path;
    path.moveTo(box.left(), box.center().y());
    path.lineTo(box.right(), box.top());
    path.lineTo(box.right(), box.bottom());
    path.closeSubpath();
    return path;
}

QPainterPath triangleRight(const QRectF &box)
{
    QPainterPath path;
    path.moveTo(box.right(), box.center().y());
    path.lineTo(box.left(), box.top());
    path.lineTo(box.left(), box.bottom());
    path.closeSubpath();
    return path;
}

QPainterPath letterA(const QRectF &box)
{
    const QPointF apex(box.center().x(), box.top());
    const QPointF leftFoot(box.left(), box.bottom());
    const QPointF rightFoot(box.right(), box.bottom());
    // The crossbar sits at 62 % of the height, where the legs are that far apart.
    const qreal barY = box.top() + 0.62 * box.height();
    const qreal barHalf = 0.62 * box.width() / 2;

    QPainterPath path;
    path.moveTo(leftFoot);
    path.lineTo(apex);
    path.lineTo(rightFoot);
    path.moveTo(apex.x() - barHalf, barY);
    path.lineTo(apex.x() + barHalf, barY);
    return path;
}

} // namespace GlyphPaths
