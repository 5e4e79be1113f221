#include "video/video_placement.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <limits>

namespace quillory {

namespace {

qint64 coveredArea(const QRect &window, const QList<QRect> &occupied)
{
    qint64 area = 0;
    for (const QRect &other : occupied) {
        const QRect common = window.intersected(other);
        if (!common.isEmpty())
            area += qint64(common.width()) * common.height();
    }
    return area;
}

// Places `size` at the edges of the occupied windows and at the corners of the
// available area, kept inside the available area.
QList<QRect> candidates(const QRect &available, const QList<QRect> &occupied, QSize size)
{
    QList<QPoint> corners;
    for (const QRect &other : occupied) {
        corners << QPoint(other.right() + 1, other.top())
                << QPoint(other.left() - size.width(), other.top())
                << QPoint(other.left(), other.bottom() + 1)
                << QPoint(other.right() + 1 - size.width(), other.bottom() + 1)
                << QPoint(other.left(), other.top() - size.height());
    }
    corners << QPoint(available.right() + 1 - size.width(), available.bottom() + 1 - size.height())
            << QPoint(available.right() + 1 - size.width(), available.top())
            << QPoint(available.left(), available.bottom() + 1 - size.height())
            << available.topLeft();
    QList<QRect> result;
    for (QPoint corner : corners) {
        corner.setX(std::clamp(corner.x(), available.left(),
                               std::max(available.left(), available.right() + 1 - size.width())));
        corner.setY(std::clamp(corner.y(), available.top(),
                               std::max(available.top(), available.bottom() + 1 - size.height())));
        result << QRect(corner, size);
    }
    return result;
}

} // namespace

QRect placeBeside(const QRect &available, const QList<QRect> &occupied, QSize preferred,
                  QSize minimum)
{
    preferred = preferred.boundedTo(available.size()).expandedTo(minimum);
    QRect best;
    qint64 bestCovered = std::numeric_limits<qint64>::max();
    // Shrinks by steps, keeping the shape, until a spot is free.
    for (double scale = 1.0; scale > 0.0; scale -= 0.125) {
        QSize size = (QSizeF(preferred) * scale).toSize();
        const bool last = size.width() < minimum.width() || size.height() < minimum.height();
        if (last)
            size = preferred.scaled(minimum, Qt::KeepAspectRatioByExpanding).expandedTo(minimum);
        for (const QRect &spot : candidates(available, occupied, size)) {
            const qint64 covered = coveredArea(spot, occupied);
            if (covered == 0)
                return spot;
            if (covered < bestCovered) {
                bestCovered = covered;
                best = spot;
            }
        }
        if (last)
            break;
    }
    return best;
}

QRect geometryFromText(const QString &text, const QRect &available)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return QRect();
    int values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return QRect();
    }
    const QRect geometry(values[0], values[1], values[2], values[3]);
    if (geometry.width() < 64 || geometry.height() < 48 || geometry.width() > 16384 ||
        geometry.height() > 16384)
        return QRect();
    // At least a good part of it must be on the screen to be grabbed and moved.
    const QRect visible = geometry.intersected(available);
    if (visible.width() < 64 || visible.height() < 48)
        return QRect();
    return geometry;
}

QString geometryToText(const QRect &geometry)
{
    return QStringLiteral("%1,%2,%3,%4")
        .arg(geometry.x())
        .arg(geometry.y())
        .arg(geometry.width())
        .arg(geometry.height());
}

} // namespace quillory
